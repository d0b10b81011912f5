#pragma once

#include <QString>
#include <QVariant>

class QSettings;

// File replacement that never loses the file being replaced.
namespace SafeFile {

// Makes target a byte copy of source. The copy is written completely to a
// temporary file beside target, flushed and checked, and only then renamed
// over it, so a missing or unreadable source, a full disk or an unwritable
// folder leaves target as it was and no temporary file behind. The replaced
// file never keeps the old file's size and modification time together, so
// settings objects of this process on target notice the change and re-read
// it. Returns false (with a debug line) when target was not replaced.
bool replaceWithCopy(const QString& source, const QString& target);

// Whether the folder of path can take a rewrite of path that adds up to
// addedBytes: a scratch file of the file's size plus addedBytes (and some
// slack) is written, flushed and removed again. False (with a debug line)
// on a full disk or an unwritable folder.
//
// QSettings writes its stores through QSaveFile without checking the flush,
// so on a full disk it renames an empty or cut temporary file over the store
// and still reports no error. Its stores are therefore changed only after
// this check has passed, and written back at once with writeBack.
bool hasRoomFor(const QString& path, qint64 addedBytes);

// A generous upper bound of the INI text that key and value add to a store.
qint64 textEstimate(const QString& key, const QVariant& value);

// Writes the store's pending changes now; false (with a debug line naming
// the file) when they are not on disk. The settings library renames its
// written file over the store without checking that the write was complete,
// so the old file is kept under a second name (path + ".keep": a hard link,
// or a checked copy where links are not supported) during the write, and
// the written file is read back: it must hold every key of the store with
// the same value. If it does not, the old file is renamed back (which needs
// no room) and the store reads it again, dropping the unsaved values. A kept
// file left by a process stopped during a write is put back when the store
// is missing or empty, and removed otherwise, at the next write.
bool writeBack(QSettings& store);

// The settings library and the instance lock guard a file with a lock file
// made by QLockFile, which holds an flock() on it from the moment it made it
// and then writes its owner into it (process id, program, host name on
// lines). QLockFile removes a lock whose owner is gone only through a second
// lock file (lockPath + ".rmlock"), and where that name cannot be made, or
// where it cannot judge the lock, it waits without limit with the event loop
// stopped. A regular file at lockPath that no one holds and that is empty,
// names no process, or names a process of this machine that is not running
// is such a leftover and is removed (with a debug line); true when it was. A
// lock of a running process or of another machine is left to QLockFile.
bool removeAbandonedLock(const QString& lockPath);

} // namespace SafeFile
