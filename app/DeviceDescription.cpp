#include "DeviceDescription.h"

#include "AppLog.h"
#include "IniValue.h"

#include <QSettings>

namespace DeviceDescription {

namespace {

class EntryReader
{
public:
    EntryReader(QSettings& settings, const QString& group)
        : m_settings(settings)
        , m_group(group)
    {
    }

    quint16 hex16(const char* key, quint16 fallback) const
    {
        return number(key, fallback, IniValue::hex16, "a hexadecimal number");
    }

    qint32 hex32(const char* key, qint32 fallback) const
    {
        return number(key, fallback, IniValue::hex32, "a hexadecimal number");
    }

    qint32 decimal(const char* key, qint32 fallback) const
    {
        return number(key, fallback, IniValue::decimal, "a decimal number");
    }

    bool boolean(const char* key, bool fallback) const
    {
        const QVariant v = value(key);
        return v.isValid() ? IniValue::boolean(v) : fallback;
    }

    QString text(const char* key, const QString& fallback) const
    {
        const QVariant v = value(key);
        return v.isValid() ? IniValue::text(v) : fallback;
    }

private:
    // An absent key gives its fallback; a malformed one reads as 0 and is
    // reported.
    template <typename T>
    T number(const char* key, T fallback, T (*parse)(const QVariant&, bool*), const char* what) const
    {
        const QVariant v = value(key);
        if (!v.isValid())
            return fallback;
        bool ok = false;
        const T result = parse(v, &ok);
        if (!ok)
            malformed(key, v, what);
        return result;
    }

    QVariant value(const char* key) const { return m_settings.value(m_group + QLatin1Char('/') + QLatin1String(key)); }

    void malformed(const char* key, const QVariant& v, const char* what) const
    {
        qCDebug(skarnApp).noquote() << QStringLiteral("%1: %2/%3 = \"%4\" is not %5, read as 0")
                                           .arg(m_settings.fileName(), m_group, QLatin1String(key), IniValue::text(v),
                                                QLatin1String(what));
    }

    QSettings& m_settings;
    QString m_group;
};

} // namespace

DeviceList readDeviceRecords(QSettings& settings)
{
    int count = EntryReader(settings, QStringLiteral("common")).decimal("deviceCount", 0);
    if (count > maxDeviceEntries) {
        qCDebug(skarnApp) << settings.fileName() << "common/deviceCount" << count
                          << "is beyond any installation: only the first" << maxDeviceEntries << "entries are read";
        count = maxDeviceEntries;
    }
    const QStringList groups = settings.childGroups();
    DeviceList list;
    for (int i = 0; i < count; ++i) {
        const QString group = QString::number(i);
        if (!groups.contains(group))
            qCDebug(skarnApp) << settings.fileName() << "has no device entry" << group << "- it gets all defaults";
        const EntryReader r(settings, group);
        DeviceRecord rec;
        rec.type = r.hex32("type", -1);
        rec.vid = r.hex16("vid", 0);
        rec.pid = r.hex16("pid", 0);
        rec.usagePage = r.hex16("usagePage", 0);
        rec.usage = r.hex16("usage", 0);
        rec.usagePage2 = r.hex16("usagePage2", 0);
        rec.usage2 = r.hex16("usage2", 0);
        rec.reportLength = r.decimal("reportLength", 32);
        rec.isEncode = r.boolean("isEncode", false);
        rec.sCode = r.text("sCode", QStringLiteral("582910"));
        if (rec.sCode.size() != 6)
            qCDebug(skarnApp) << settings.fileName() << "entry" << group << "sCode" << rec.sCode
                              << "is not six characters: the secrecy code in use stays as it is";
        list.append(rec);
    }
    return list;
}

DeviceList readDeviceRecords(const QString& path)
{
    QSettings settings(path, QSettings::IniFormat);
    return readDeviceRecords(settings);
}

std::optional<HidCodec::ScrambleTable> readScrambleTable(QSettings& settings)
{
    const QVariant v = settings.value(QStringLiteral("common/scrambleTable"));
    if (!v.isValid())
        return std::nullopt;
    const auto table = HidCodec::parseScrambleTable(IniValue::text(v));
    if (!table)
        qCDebug(skarnApp) << settings.fileName() << "common/scrambleTable" << IniValue::text(v)
                          << "is not 16 hexadecimal digits: the built-in table stays in use";
    return table;
}

QString readProductName(const QString& path)
{
    QSettings settings(path, QSettings::IniFormat);
    return EntryReader(settings, QStringLiteral("common")).text("name", QString());
}

} // namespace DeviceDescription
