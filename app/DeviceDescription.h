#pragma once

#include "DeviceRecord.h"
#include "HidCodec.h"

#include <optional>

class QSettings;

// Reading of apConfig.bin: the device entries and the program-wide keys.
namespace DeviceDescription {

// More entries than any installation has; a larger common/deviceCount comes
// from a broken file and is cut to this (with a debug line).
constexpr int maxDeviceEntries = 256;

// Reads common/deviceCount and then, for each index, the entry group named by
// it, key by key, with each key's encoding and default. Entries missing from
// the file get all defaults. Malformed values read as 0. Paths are left empty.
DeviceList readDeviceRecords(QSettings& settings);

// The same on a fresh settings object for the file at path (absent file: no entries).
DeviceList readDeviceRecords(const QString& path);

// common/scrambleTable (16 hex digits, T[0] first) when present and well
// formed; a malformed value is reported and gives nothing.
std::optional<HidCodec::ScrambleTable> readScrambleTable(QSettings& settings);

// common/name of the file at path; empty when absent.
QString readProductName(const QString& path);

} // namespace DeviceDescription
