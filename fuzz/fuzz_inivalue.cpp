// The value rules of the INI files, on values as the settings library reads
// them from a file: every key of the input file goes through every rule.

#include "FuzzSupport.h"
#include "IniValue.h"

#include <QFile>
#include <QSettings>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = QStringLiteral("value.bin");
    FuzzSupport::writeInput(path, FuzzSupport::bytes(data, size));
    {
        QSettings settings(path, QSettings::IniFormat);
        for (const QString& key : settings.allKeys()) {
            const QVariant value = settings.value(key);
            IniValue::text(value);
            IniValue::boolean(value);
            IniValue::list(value);
            bool ok = false;
            IniValue::hex16(value, &ok);
            const qint32 hex = IniValue::hex32(value, &ok);
            if (ok) // a number read is read again the same from its own text
                FUZZ_CHECK(IniValue::hex32(QString::number(hex, 16)) == hex);
            const qint32 number = IniValue::decimal(value, &ok);
            if (ok)
                FUZZ_CHECK(IniValue::decimal(QString::number(number)) == number);
        }
    }
    QFile::remove(path);
    return 0;
}
