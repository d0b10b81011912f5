#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// The value rules of the program's INI files. Each function takes a value as
// QSettings returns it (a string, or a string list when the text held commas)
// and never fails: text that is not a number of the asked kind reads as 0 and
// *ok (when given) is set to false. Absent keys are the caller's business, since
// each key has its own default.
namespace IniValue {

// The value as text: a string as is, a list joined with ", " (the form in which
// QSettings writes lists, so a comma in a text survives), anything else
// converted by QVariant (an invalid value gives an empty text).
QString text(const QVariant& value);

// Hexadecimal, optional "0x" prefix, only the low 16 bits are kept however
// long the number is ("1ffff" reads as 0xffff).
quint16 hex16(const QVariant& value, bool* ok = nullptr);

// Hexadecimal, signed 32-bit, optional leading "-" and "0x" prefix ("-1" is
// -1). A number outside the 32-bit range is malformed.
qint32 hex32(const QVariant& value, bool* ok = nullptr);

// Decimal, signed 32-bit, optional sign. A number outside the range is malformed.
qint32 decimal(const QVariant& value, bool* ok = nullptr);

// True unless the text is empty, "0" or "false" in any letter case.
bool boolean(const QVariant& value);

// The old list meaning of a stored value: a list stays a list (string lists
// become lists of strings), and everything else - an invalid value or a plain
// string, which is how a one-element list is stored - gives an empty list.
QVariantList list(const QVariant& value);

} // namespace IniValue
