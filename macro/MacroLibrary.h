#pragma once

#include "DataPaths.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class FileChooser;
class QSettings;

// The user's macros on disk: one INI file per macro, folder + "/" + name +
// ".bin", with group config (index, total, repeat, did) and group macro
// (entries 0..total-1, one action string each: a type digit, a comma and the
// information). The library keeps no state: each call opens the file, acts
// and closes it. Action strings are stored and returned as text, never
// interpreted.
//
// A macro name is used as the file's base name. A name that is empty, longer
// than maxStoredNameBytes bytes in UTF-8 (maxNameBytes for new names, see
// below), that contains
// "/", "\", a control character, a bidirectional override or isolate
// (U+202A..U+202E, U+2066..U+2069) or a line or paragraph separator (U+2028,
// U+2029), or that is not valid Unicode names no macro; on Windows also the
// reserved device names and any of : * ? " < > |. Every operation refuses such
// a name (false, an empty list or nothing done, nothing read or written, a
// debug line). Dots are fine anywhere ("Wait...", "Burst..2", ".x"): without
// a separator and with ".bin" appended, no name leaves the folder.
//
// Writes never leave a file emptied or cut: a store is changed only when its
// folder can take the change, and is written back at once.
//
// Profiles refer to macros by name (mouseMacroKey/<slot>) and through key
// matrix rows (4, mode, slot, 0). Rename and delete keep them in step over the
// first profilesUsed stores of the list given (null entries are skipped); they
// write through those stores and leave syncing to them. GUI thread only.
namespace MacroLibrary {

inline const QString& defaultFolder = DataPath::macroFolder;
// File names have at most 255 bytes. The macro's file adds ".bin", and the
// longest names made beside it while it is written add 12 more: the lock's
// ".lock.rmlock" and the kept old file's copy ".keep.XXXXXX".
constexpr int maxNameBytes = 255 - 4 - 12;
// Earlier versions allowed names up to here (only the write's temporary file
// ".XXXXXX" was counted). Macros with such names are still read, exported,
// renamed to a shorter name and deleted, but never written through settings:
// creating, saving, importing or renaming to such a name is refused.
constexpr int maxStoredNameBytes = 255 - 4 - 7;
constexpr int maxEntries = 4096; // loadMacroIni never reads more entries than this
constexpr int profilesUsed = 6;
constexpr int buttonCount = 16;

bool isValidName(const QString& name);
// The macro's file; empty for a refused name.
QString filePath(const QString& folder, const QString& name);

// Opens the file (creating it and the folder if absent) and sets config/index,
// total 0, repeat 1, did -1; other keys, old macro entries included, stay.
// False for a refused name or a file that could not be written.
bool createMacroIni(const QString& folder, const QString& name, uint macroIndex);

// Replaces the macro group by the given strings and sets config/total and
// config/repeat (stored as passed; an invalid value is stored as 0). False,
// with nothing written, when the file does not exist or cannot be written.
bool saveMacroIni(const QString& folder, const QString& name, const QStringList& macros, const QVariant& repeat);

// The action strings followed by the repeat count (absent entries read "0",
// an absent repeat "0"); empty when the file does not exist. A total above
// maxEntries is capped there.
QStringList loadMacroIni(const QString& folder, const QString& name);

// Removes the file; true when one was removed.
bool deleteMacroIni(const QString& folder, const QString& name);

// Renames the file of oldName to newName, then points every mouseMacroKey
// entry that names oldName at newName and writes those stores back. When the
// rename cannot happen (no file of oldName, a file of newName exists, a
// refused name, the rename fails) nothing changes and the result is false.
// When a profile cannot be saved (full disk, read-only file) the rename is
// undone: the file gets its old name back, the profiles keep the old name,
// and the result is false.
bool modifyMacroNameUpdateProfile(const QString& folder, const QString& oldName, const QString& newName,
                                  const QList<QSettings*>& profiles);

// Every button whose row assigns a macro slot named name gets the factory's
// row for that button. mouseMacroKey entries stay. A malformed row, or a
// button without a factory row, is left as it is (debug line). The changed
// stores are written back; returns the files that could not be saved (those
// keep their old rows).
QStringList deleteMacroUpdateProfile(const QString& name, const QList<QSettings*>& profiles, const QSettings& factory);

// Export: asks for a target (Save File, name + ".mc" in the desktop or home
// folder, see ExportFile, Macro(*.mc)) and makes it a
// byte copy of the macro's file; a cancel does nothing and a missing or
// unreadable macro file keeps the target as it was. Returns the chosen target
// when it could not be written, else an empty string.
QString exportMacroFile(const QString& folder, const QString& name, FileChooser& chooser);

// Import: asks for a file (Open File, in ExportFile::startFolder(),
// Macro(*.mc)) and copies it to
// the macro's file, complete or not at all. An existing macro file is kept.
// True when a file was chosen and the macro file exists afterwards; false on
// cancel, a refused name or a copy that failed.
bool importMacroFile(const QString& folder, const QString& name, FileChooser& chooser);

} // namespace MacroLibrary
