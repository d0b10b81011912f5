#pragma once

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
// than maxNameLength characters, starts with ".", or contains "/", "\", ".."
// or a control character names no macro: every operation refuses it (false,
// an empty list or nothing done, nothing read or written, a debug line).
//
// Profiles refer to macros by name (mouseMacroKey/<slot>) and through key
// matrix rows (4, mode, slot, 0). Rename and delete keep them in step over the
// first profilesUsed stores of the list given (null entries are skipped); they
// write through those stores and leave syncing to them. GUI thread only.
namespace MacroLibrary {

inline const QString defaultFolder = QStringLiteral("./modules/macro");
constexpr int maxNameLength = 100;
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
// entry that names oldName at newName. When the rename cannot happen (no file
// of oldName, a file of newName exists, a refused name, the rename fails)
// nothing changes and the result is false.
bool modifyMacroNameUpdateProfile(const QString& folder, const QString& oldName, const QString& newName,
                                  const QList<QSettings*>& profiles);

// Every button whose row assigns a macro slot named name gets the factory's
// row for that button. mouseMacroKey entries stay. A malformed row, or a
// button without a factory row, is left as it is (debug line).
void deleteMacroUpdateProfile(const QString& name, const QList<QSettings*>& profiles, const QSettings& factory);

// Export: asks for a target (Save File, desktop, Macro(*.mc)) and makes it a
// byte copy of the macro's file; a cancel does nothing and a missing or
// unreadable macro file keeps the target as it was.
void exportMacroFile(const QString& folder, const QString& name, FileChooser& chooser);

// Import: asks for a file (Open File, desktop, Macro(*.mc)) and copies it to
// the macro's file, complete or not at all. An existing macro file is kept.
// True when a file was chosen and the macro file exists afterwards; false on
// cancel, a refused name or a copy that failed.
bool importMacroFile(const QString& folder, const QString& name, FileChooser& chooser);

} // namespace MacroLibrary
