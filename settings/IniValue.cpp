#include "IniValue.h"

#include <QStringList>

#include <limits>

namespace IniValue {

QString text(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        return value.toStringList().join(QLatin1String(", "));
    case QMetaType::QVariantList: {
        QStringList parts;
        for (const QVariant& v : value.toList())
            parts << v.toString();
        return parts.join(QLatin1String(", "));
    }
    default:
        return value.isValid() ? value.toString() : QString();
    }
}

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Splits off an optional sign and "0x" prefix; returns the digits.
QStringView hexDigits(QStringView s, bool* negative)
{
    *negative = false;
    if (s.startsWith(u'-')) {
        *negative = true;
        s = s.mid(1);
    } else if (s.startsWith(u'+')) {
        s = s.mid(1);
    }
    if (s.startsWith(u"0x", Qt::CaseInsensitive))
        s = s.mid(2);
    return s;
}

void setOk(bool* ok, bool value)
{
    if (ok)
        *ok = value;
}

} // namespace

quint16 hex16(const QVariant& value, bool* ok)
{
    const QString t = text(value).trimmed();
    bool negative = false;
    const QStringView digits = hexDigits(t, &negative);
    if (digits.isEmpty() || negative) {
        setOk(ok, false);
        return 0;
    }
    quint16 result = 0;
    for (QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0) {
            setOk(ok, false);
            return 0;
        }
        result = quint16((result << 4) | d); // keeps the low 16 bits as it goes
    }
    setOk(ok, true);
    return result;
}

qint32 hex32(const QVariant& value, bool* ok)
{
    const QString t = text(value).trimmed();
    bool negative = false;
    const QStringView digits = hexDigits(t, &negative);
    qint64 result = 0;
    bool good = !digits.isEmpty();
    for (QChar c : digits) {
        const int d = hexDigit(c);
        if (d < 0 || result > (qint64(1) << 31)) {
            good = false;
            break;
        }
        result = (result << 4) | d;
    }
    if (negative)
        result = -result;
    if (!good || result > std::numeric_limits<qint32>::max() || result < std::numeric_limits<qint32>::min()) {
        setOk(ok, false);
        return 0;
    }
    setOk(ok, true);
    return qint32(result);
}

qint32 decimal(const QVariant& value, bool* ok)
{
    bool good = false;
    const int result = text(value).trimmed().toInt(&good, 10);
    setOk(ok, good);
    return good ? result : 0;
}

bool boolean(const QVariant& value)
{
    const QString t = text(value).trimmed();
    return !(t.isEmpty() || t == QLatin1String("0") || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
}

QVariantList list(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QVariantList:
        return value.toList();
    case QMetaType::QStringList: {
        QVariantList result;
        for (const QString& s : value.toStringList())
            result << QVariant(s);
        return result;
    }
    default:
        return {};
    }
}

} // namespace IniValue
