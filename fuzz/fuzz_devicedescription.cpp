// The device description (apConfig.bin): entries, scramble table and name
// from any file.

#include "DeviceDescription.h"
#include "FuzzSupport.h"

#include <QFile>
#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = QStringLiteral("apConfig.bin");
    FuzzSupport::writeInput(path, FuzzSupport::bytes(data, size));
    const DeviceList records = DeviceDescription::readDeviceRecords(path);
    FUZZ_CHECK(records.size() <= DeviceDescription::maxDeviceEntries);
    for (const DeviceRecord& record : records)
        FUZZ_CHECK(record.primaryPath.isEmpty() && record.secondaryPath.isEmpty());
    {
        QSettings settings(path, QSettings::IniFormat);
        DeviceDescription::readScrambleTable(settings);
    }
    DeviceDescription::readProductName(path);
    QFile::remove(path);
    return 0;
}
