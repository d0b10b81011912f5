#pragma once

#include "DataPaths.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

// The name lists of name.bin: macros in display order (type 0), gun presets
// (1), profiles with their slot digit (2) and a list no page uses (3). A list
// of one name is stored with the filler "loaderfiller" as second element, so
// that it reads back as a list; readers drop it. Each call opens the file,
// acts and closes it. GUI thread only.
namespace NameList {

inline const QString& defaultPath = DataPath::nameList;
inline const QString filler = QStringLiteral("loaderfiller");

// The key of a list type, or empty for an unknown type.
QString keyOf(uint type);

// Stores names under the type's key (an empty list removes the key). True
// when the list was stored; false, with the file as it was, for an unknown
// type or when the file could not be written (full disk, read-only file).
bool update(const QString& path, uint type, QStringList names);

// The stored strings, filler included; empty for an absent key or file or an
// unknown type.
QVariantList get(const QString& path, uint type);

} // namespace NameList
