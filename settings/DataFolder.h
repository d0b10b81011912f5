#pragma once

#include <QString>
#include <QStringList>

// Which folder the programs make their working directory, so that the
// relative paths of DataPaths.h find the data files. Both programs ask here
// and nowhere else.
//
// A modules/ folder beside the executable (the build tree, a portable copy)
// is used as is. An installed program has none beside it (/usr/bin): it works
// in the user's <data home>/skarn-config/, whose modules/ is seeded from the
// installed read-only copy by copying the files that are missing there. A
// file the user already has is never replaced, so a second start, or a newer
// installation, keeps every change; files that a newer installation adds
// arrive at the next start.
namespace DataFolder {

// Where to look, as start-up finds it.
struct Places
{
    // The folder of the running executable.
    QString executableDir;
    // Candidates for the installed modules/ folder, in order; the first that
    // is a folder is used.
    QStringList installedModules;
    // $XDG_DATA_HOME, or ~/.local/share (see userDataHome).
    QString userDataHome;
};

// The places of this process: the installed copy relative to executableDir
// (a moved prefix) and at the prefix the program was built for, and the
// user's data home from the environment.
Places systemPlaces(const QString& executableDir);

// $XDG_DATA_HOME when it is an absolute path (the base directory rules say a
// relative one is ignored), else home + "/.local/share".
QString userDataHome(const QString& xdgDataHome, const QString& home);

// The folder that holds the modules/ to work on:
// 1. executableDir when executableDir/modules is a folder;
// 2. userDataHome/skarn-config, seeded from the first installed copy found
//    (see seed), when that folder can be made;
// 3. the installed copy's own parent when the user's folder cannot be made or
//    still lacks the device description after seeding (a read-only or full
//    disk): the shipped data is shown, and saving fails as on any read-only
//    file;
// 4. without an installed copy: the user's folder when it already has a
//    modules/, else executableDir (every file then takes its defaults).
// Each choice other than 1 writes a debug line saying why.
QString choose(const Places& places);

// Copies every file below installed that is missing below user (a file, a
// folder or a link of that name counts as present), making folders as
// needed. Each copy is written completely to a temporary file first, so a
// full disk leaves no cut file (it is tried again at the next start), and is
// put in place only if its name is still free, so a file that another start
// made meanwhile is not replaced either. The number of files copied, or -1
// when any copy failed (with a debug line per failure).
int seed(const QString& installed, const QString& user);

// Shorthand for choose(systemPlaces(executableDir)).
QString forExecutable(const QString& executableDir);

} // namespace DataFolder
