#pragma once

#include <QString>

// File replacement that never loses the file being replaced.
namespace SafeFile {

// Makes target a byte copy of source. The copy is written completely to a
// temporary file beside target and then renamed over it, so a missing or
// unreadable source, a full disk or an unwritable folder leaves target as it
// was. The replaced file never keeps the old file's size and modification
// time together, so settings objects of this process on target notice the
// change and re-read it. Returns false (with a debug line) when target was not replaced.
bool replaceWithCopy(const QString& source, const QString& target);

} // namespace SafeFile
