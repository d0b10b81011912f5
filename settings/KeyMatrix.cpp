#include "KeyMatrix.h"

#include <cmath>

namespace KeyMatrix {

namespace {

// Page classes (byte 0 of a page-form entry).
enum PageClass : std::uint8_t {
    MouseFunction = 0x00,
    Fire = 0x01,
    Combination = 0x02,
    Media = 0x03,
    Macro = 0x04,
    DpiFunction = 0x05,
    WindowsFunction = 0x06,
    Shortcut = 0x07,
    GunFunction = 0x08,
    FixedEntry = 0xFF,
};

// Device function types (byte 0 of a device-form entry).
enum DeviceType : std::uint8_t {
    Keys = 0x00,
    Button = 0x01,
    Consumer = 0x03,
    Fixed = 0x04,
    Dpi = 0x07,
    Gun = 0x08,
    MacroRun = 0x09,
    Repeat = 0x0A,
    Extended = 0x0B,
};

constexpr std::uint8_t sniper = 4;

// The entries the user cannot change.
constexpr Entry fixedEntry5{0x0F, 0x00, 0x03, 0x00};
constexpr Entry fixedEntry8{0x0C, 0x00, 0x00, 0x00};
constexpr Entry fixedEntry9{0x0D, 0x00, 0x00, 0x00};

// Windows functions that the mouse sends as consumer usages: my computer,
// home and search.
bool isConsumerUsage(const Entry& e)
{
    return ((e[2] == 0x21 || e[2] == 0x23) && e[3] == 0x02) || (e[2] == 0x94 && e[3] == 0x01);
}

bool isGunCount(std::uint8_t guns)
{
    return guns >= 1 && guns <= 3;
}

constexpr std::uint8_t leftButton = 0xF0;
constexpr std::uint8_t lastButton = 0xF4;
constexpr std::uint8_t macroSlots = 12;
constexpr std::uint8_t lastMacroMode = 2;

// A value as a whole number: an integer, a text of one, or a double without
// a fraction (the pages' numbers arrive as doubles).
std::optional<qint64> wholeNumber(const QVariant& value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double d = value.toDouble();
        if (!std::isfinite(d) || std::trunc(d) != d || std::fabs(d) > 1e12)
            return std::nullopt;
        return qint64(d);
    }
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

// Four whole numbers 0..255, or nothing with *fault set.
std::optional<Entry> byteEntry(const QVariantList& values, QString* fault)
{
    auto refuse = [fault](const QString& why) -> std::optional<Entry> {
        if (fault)
            *fault = why;
        return std::nullopt;
    };
    if (values.size() != 4)
        return refuse(QStringLiteral("holds %1 values instead of 4").arg(values.size()));
    Entry e{};
    for (qsizetype k = 0; k < 4; ++k) {
        const std::optional<qint64> number = wholeNumber(values.at(k));
        if (!number)
            return refuse(QStringLiteral("value %1 is not a whole number").arg(k + 1));
        if (*number < 0 || *number > 0xFF)
            return refuse(QStringLiteral("value %1 (%2) is not a byte").arg(k + 1).arg(*number));
        e[std::size_t(k)] = std::uint8_t(*number);
    }
    return e;
}

// Whether a page-form entry's parameters are in the range of its class.
bool inClassRange(const Entry& e)
{
    switch (e[0]) {
    case MouseFunction:
        return (e[1] == 0 && e[3] == 0 && (e[2] == 0 || (e[2] >= leftButton && e[2] <= lastButton))) ||
               (e[1] == 0xF0 && e[2] == 0x1E && e[3] == 0x02)     // double click
               || (e[1] == 0xF0 && e[2] == 0xF0 && e[3] == 0xF0); // hidden option
    case Fire:
    case Combination:
    case Media:
    case WindowsFunction:
    case Shortcut:
        return true;
    case Macro:
        return e[1] <= lastMacroMode && e[2] < macroSlots;
    case DpiFunction:
        return e[2] >= 1 && e[2] <= sniper;
    case GunFunction:
        return isGunCount(e[2]);
    case FixedEntry:
        return e[2] == 1 || e[2] == 2;
    default:
        return false;
    }
}

} // namespace

QVariantList entryValues(const QVariantList& values, int index)
{
    QVariantList entry;
    for (int k = 0; k < 4; ++k) {
        const qsizetype at = qsizetype(index) * 4 + k;
        entry << (at >= 0 && at < values.size() ? values.at(at) : QVariant(0));
    }
    return entry;
}

Periods periodsFromValues(const QVariantList& values, bool* ok)
{
    Periods periods{};
    bool allGood = values.size() >= qsizetype(periods.size());
    for (std::size_t k = 0; k < periods.size() && qsizetype(k) < values.size(); ++k) {
        bool good = false;
        const uint number = values.at(qsizetype(k)).toUInt(&good);
        periods[k] = good ? std::uint8_t(number & 0xFF) : 0;
        allGood = allGood && good;
    }
    if (ok)
        *ok = allGood;
    return periods;
}

Block toBlock(const Matrix& matrix)
{
    Block block{};
    for (std::size_t i = 0; i < matrix.size(); ++i)
        for (std::size_t k = 0; k < 4; ++k)
            block[4 * i + k] = matrix[i][k];
    return block;
}

const Matrix shippedPage{{{0, 0, 0xF0, 0},
                          {0, 0, 0xF1, 0},
                          {0, 0, 0xF2, 0},
                          {0, 0, 0xF4, 0},
                          {0, 0, 0xF3, 0},
                          {5, 0, 1, 0},
                          {5, 0, 2, 0},
                          {0, 0xF0, 0x1E, 0x02},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {},
                          {0xFF, 0, 1, 0},
                          {0xFF, 0, 2, 0}}};

std::optional<Entry> pageEntry(const QVariantList& values, QString* fault)
{
    const std::optional<Entry> e = byteEntry(values, fault);
    if (e && !inClassRange(*e)) {
        if (fault)
            *fault = QStringLiteral("is outside the range of its class");
        return std::nullopt;
    }
    return e;
}

std::optional<Entry> deviceEntry(const QVariantList& values, QString* fault)
{
    return byteEntry(values, fault);
}

bool isLeftClick(const Entry& page)
{
    return page[0] == MouseFunction && page[1] == 0 && page[2] == leftButton;
}

bool sendsLeftClick(const Matrix& page)
{
    for (std::size_t i = 0; i < page.size(); ++i)
        if ((i < 7 || i > 9) && isLeftClick(page[i]))
            return true;
    return false;
}

Entry toDeviceEntry(const Entry& page, const DeviceForm& form)
{
    Entry e = page;
    switch (page[0]) {
    case MouseFunction:
        if (e[2] == 0x1E && e[3] == 0x02)
            e[0] = Repeat; // double click
        else if (e[2] == 0xF0 && e[3] == 0xF0)
            e = {Extended, 0, 0, 0}; // the page's hidden option
        else
            e[0] = Button;
        break;
    case Fire:
        e[0] = Repeat;
        break;
    case Combination:
    case WindowsFunction:
    case Shortcut:
        e[0] = Keys;
        break;
    case Media:
        break;
    case Macro:
        e[0] = MacroRun;
        e[2] = std::uint8_t(e[2] + 1); // the device numbers macros from 1
        break;
    case DpiFunction:
        e[0] = Dpi;
        if (e[2] == sniper)
            e = form.sniper;
        break;
    case GunFunction:
        break;
    case FixedEntry:
        e[0] = Fixed;
        break;
    default:
        break;
    }
    if (page[0] == WindowsFunction && isConsumerUsage(e))
        e[0] = Consumer;
    return e;
}

Matrix toDevice(const Matrix& page, const DeviceForm& form)
{
    Matrix m{};
    for (std::size_t i = 0; i < page.size(); ++i)
        m[i] = toDeviceEntry(page[i], form);
    m[7] = m[6];
    m[6] = m[5];
    m[5] = fixedEntry5;
    m[8] = fixedEntry8;
    m[9] = fixedEntry9;
    return m;
}

bool hasGunEntry(const Matrix& device)
{
    for (const Entry& e : device)
        if (e[0] == Gun)
            return true;
    return false;
}

std::optional<std::uint8_t> gunMask(std::uint8_t guns)
{
    static constexpr std::array<std::uint8_t, 3> masks{0x07, 0x0F, 0x1F};
    if (!isGunCount(guns))
        return std::nullopt;
    return masks[guns - 1u];
}

Transfer transfer(const Matrix& page, const DeviceForm& form, const Periods& periods)
{
    Transfer t;
    const Matrix m1 = toDevice(page, form);
    t.matrices.fill(m1);
    t.gun = hasGunEntry(m1);
    if (!t.gun) {
        if (form.entry5Type)
            t.matrices[0][5][0] = *form.entry5Type;
        return t;
    }

    for (std::size_t j = 0; j < m1.size(); ++j) {
        if (m1[j][0] != Gun)
            continue;
        const std::uint8_t guns = m1[j][2];
        for (std::size_t k = 0; k < t.matrices.size(); ++k) {
            Entry& e = t.matrices[k][j];
            if (form.countMoves) {
                e[1] = 0;
                e[2] = 1;
            }
            if (isGunCount(guns))
                e[form.gunByte & 3u] = form.gunValues[guns - 1u][k];
        }
        if (form.imageMask && isGunCount(guns))
            t.imageMask = gunMask(guns);
    }

    // Entry 0 of each gun matrix names its gun slot and fire period.
    for (std::size_t k = 1; k < t.matrices.size(); ++k)
        t.matrices[k][0] = {Extended, std::uint8_t(k - 1), periods[k - 1], 0};

    if (form.entry5Type)
        for (Matrix& m : t.matrices)
            m[5][0] = *form.entry5Type;
    return t;
}

} // namespace KeyMatrix
