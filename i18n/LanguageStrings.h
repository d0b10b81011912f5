#pragma once

#include <QString>
#include <QStringList>

// The texts of one section of a language file "./modules/i18n/<lang>.ini":
// entries 0..total-1, an absent entry as an empty text; the list ends with
// the last entry the file holds, so that the pages keep their built-in texts
// for the entries after it (a section with a total and no entries gives an
// empty list). An entry that is present but empty stays empty: the file
// says so. Loading the section "other" also sets the DPI tray texts of the
// stages the file names (or the built-in French texts when the language is
// "French"). A language code is a name, not a path: one that contains "/"
// or "\" or starts with "." reads nothing (an empty list, the tray texts
// unchanged, a debug line). GUI thread only.
namespace LanguageStrings {

// More texts than any page has: a larger total comes from a broken file and
// is cut to this, with a debug line.
constexpr int maxTotal = 4096;
// Far more than any label holds: a longer text is cut to this, with a debug
// line, so that one broken entry cannot stall the first frame.
constexpr int maxTextLength = 512;
// A larger file is not read (as if absent: the pages keep their built-in
// texts), with a debug line.
constexpr qint64 maxFileSize = 1024 * 1024;

// The language's file; empty for a code that is refused.
QString filePath(const QString& language);
QStringList load(const QString& section, const QString& language);

// The French texts for DPI stages 1..8.
extern const QStringList frenchDpiTexts;

} // namespace LanguageStrings
