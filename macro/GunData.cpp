#include "GunData.h"

#include "IniValue.h"
#include "SafeFile.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>

namespace GunData {

namespace {

Q_LOGGING_CATEGORY(skarnGun, "skarn.macro")

const QString group = QStringLiteral("gunData");

QString keyOf(const QString& id)
{
    return group + QLatin1Char('/') + id;
}

bool fileExists(const QString& path)
{
    return QFileInfo(path).isFile();
}

bool isScalar(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// The elements src[first .. first + count - 1] as a record. Positions below
// textFields (counted from first) are texts and default to empty, the rest
// default to 0.
QVariantList recordOf(const QVariantList& src, qsizetype first, qsizetype count, qsizetype textFields)
{
    QVariantList record;
    record.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype at = first + i;
        const QVariant fallback = i < textFields ? QVariant(QString()) : QVariant(0);
        if (at >= src.size()) {
            record << fallback;
        } else if (!isScalar(src.at(at))) {
            qCDebug(skarnGun) << "gun preset element" << at << "is neither a text nor a number:" << src.at(at);
            record << fallback;
        } else {
            record << src.at(at);
        }
    }
    return record;
}

// The identifier at position at of a page list, or empty (with a debug line)
// when it is missing or unusable.
QString identifierAt(const QVariantList& src, qsizetype at)
{
    const QString id = at < src.size() && isScalar(src.at(at)) ? src.at(at).toString() : QString();
    if (!isIdentifier(id)) {
        qCDebug(skarnGun) << "gun preset identifier at" << at << "is missing or invalid:" << id;
        return {};
    }
    return id;
}

void checkSize(const QVariantList& src, qsizetype expected)
{
    if (src.size() != expected)
        qCDebug(skarnGun) << "gun data list has" << src.size() << "elements, expected" << expected;
}

bool written(QSettings& settings)
{
    if (!SafeFile::writeBack(settings)) {
        qCDebug(skarnGun) << "could not write" << settings.fileName();
        return false;
    }
    return true;
}

// The presets file is changed only when its folder can take the change: the
// settings library would otherwise empty it on a full disk (see SafeFile).
bool hasRoom(const QString& path, const QVariantList& values)
{
    if (SafeFile::hasRoomFor(path, SafeFile::textEstimate(QStringLiteral("gunData/preset"), values)))
        return true;
    qCDebug(skarnGun) << "could not write" << path << "- kept as it was";
    return false;
}

} // namespace

bool isIdentifier(const QString& id)
{
    return !id.isEmpty() && !id.contains(QLatin1Char('/')) && !id.contains(QLatin1Char('\\'));
}

QVariantList read(const QString& path, const QString& id)
{
    if (!fileExists(path) || !isIdentifier(id))
        return {};
    QSettings settings(path, QSettings::IniFormat);
    return IniValue::list(settings.value(keyOf(id), 0));
}

QStringList keys(const QString& path)
{
    if (!fileExists(path))
        return {};
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(group);
    return settings.childKeys();
}

bool store(const QString& path, const QString& id, const QVariantList& src6)
{
    if (!fileExists(path))
        return false;
    if (!isIdentifier(id)) {
        qCDebug(skarnGun) << "gun preset identifier is invalid:" << id;
        return false;
    }
    checkSize(src6, presetSize);
    if (!hasRoom(path, src6))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(keyOf(id), recordOf(src6, 0, presetSize, 2));
    return written(settings);
}

bool modify(const QString& path, const QVariant& modifyType, const QVariantList& src)
{
    if (!fileExists(path))
        return false;
    // A type that is not a number must not read as 0, which would delete.
    bool ok = false;
    const int type = modifyType.toInt(&ok);
    if (!ok) {
        qCDebug(skarnGun) << "gun preset modify type is not a number:" << modifyType;
        return false;
    }
    if (type != Delete && type != Rename)
        return false;

    const QString id = identifierAt(src, 0);
    if (id.isEmpty() || !hasRoom(path, src))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    if (type == Delete) {
        settings.remove(keyOf(id));
        return written(settings);
    }
    checkSize(src, renameOldIdPosition + 1);
    const QString oldId = identifierAt(src, renameOldIdPosition);
    if (oldId.isEmpty())
        return false;
    settings.remove(keyOf(oldId));
    settings.setValue(keyOf(id), recordOf(src, 1, presetSize - 1, 1));
    return written(settings);
}

bool isSlot(int slot)
{
    return slot >= 1 && slot <= slotCount;
}

SlotValues slotValues(const QVariantList& values)
{
    checkSize(values, 3);
    const auto byteAt = [&values](qsizetype at) -> std::uint8_t {
        if (at >= values.size())
            return 0;
        bool ok = false;
        const qlonglong v = values.at(at).toLongLong(&ok);
        if (!ok) {
            qCDebug(skarnGun) << "gun slot value" << at << "is not an integer:" << values.at(at);
            return 0;
        }
        return std::uint8_t(v & 0xff);
    };
    return {byteAt(0), byteAt(1), byteAt(2)};
}

void writeSlot(std::array<std::uint8_t, 128>& image, const SlotValues& values)
{
    image[65] &= std::uint8_t(~0x04u);
    image[78] = 0xF0;
    image[79] = values.times;
    image[80] = values.x;
    image[81] = values.y;
}

std::uint8_t deviceY(std::uint8_t y, std::uint8_t optionByte3)
{
    return optionByte3 != 0 ? std::uint8_t(0x100u - y) : y;
}

} // namespace GunData
