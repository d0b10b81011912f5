#include "MacroCodec.h"

#include <QHash>
#include <QLoggingCategory>

#include <algorithm>
#include <cmath>

namespace {

Q_LOGGING_CATEGORY(skarnMacroCodec, "skarn.macro")

constexpr int longWait = 127;       // units from which a wait needs the extension
constexpr int longestWait = 599999; // units

// One action in play order with the wait that follows it in 10 ms units (0
// after the last one).
struct Step
{
    bool release = false;
    QString info;
    int wait = 0;
};

bool isAction(int type)
{
    return type >= MacroCodec::KeyPress && type <= MacroCodec::MouseRelease;
}

// A text read as a number the way the pages' scripts read one: surrounding
// blanks ignored, an empty text is 0, a text that is no number NaN.
double textNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    bool ok = false;
    // 0x, 0o and 0b whole numbers too.
    const QString prefix = trimmed.left(2).toLower();
    if (prefix == u"0x" || prefix == u"0o" || prefix == u"0b") {
        const int base = prefix == u"0x" ? 16 : prefix == u"0o" ? 8 : 2;
        const QString digits = trimmed.mid(2);
        const bool plain = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [base](QChar c) {
            return c >= u'0' && c <= u'9' ? c.unicode() - u'0' < base
                                          : base == 16 && QStringLiteral("abcdef").contains(c.toLower());
        });
        const qulonglong whole = plain ? digits.toULongLong(&ok, base) : 0;
        return ok ? double(whole) : std::nan("");
    }
    const double value = trimmed.toDouble(&ok);
    return ok ? value : std::nan("");
}

double variantNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return textNumber(value.toString());
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        break;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? number : std::nan("");
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The leading whole number of a text ("2", "2.5", " 3x"); -1 when it has none.
int leadingInt(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size() && (trimmed[end] == u'-' || trimmed[end] == u'+'))
        ++end;
    const qsizetype digitsFrom = end;
    while (end < trimmed.size() && isAsciiDigit(trimmed[end]) && end - digitsFrom < 9)
        ++end;
    bool ok = false;
    const int value = trimmed.left(end).toInt(&ok);
    return end > digitsFrom && ok ? value : -1;
}

// The type digit of a stored string: its first character as a number, where
// a blank or absent character counts as 0 (a delay).
int storedType(const QString& text)
{
    if (text.isEmpty() || text[0].isSpace())
        return MacroCodec::Delay;
    return isAsciiDigit(text[0]) ? text[0].unicode() - u'0' : -1;
}

double delayMs(const QString& info)
{
    const double ms = textNumber(info);
    if (!std::isfinite(ms) || ms < 0) {
        qCDebug(skarnMacroCodec) << "delay" << info << "is not a number of milliseconds - taken as 0";
        return 0;
    }
    return ms;
}

QList<Step> stepsOf(const QList<MacroCodec::Action>& actions)
{
    QList<Step> result;
    double pendingMs = 0;
    for (const MacroCodec::Action& action : actions) {
        if (action.type == MacroCodec::Delay) {
            if (!result.isEmpty())
                pendingMs += delayMs(action.info);
        } else if (isAction(action.type)) {
            if (!result.isEmpty())
                result.last().wait = int(std::min(std::floor(pendingMs / 10 + 0.5), double(longestWait)));
            const bool release = action.type == MacroCodec::KeyRelease || action.type == MacroCodec::MouseRelease;
            result.append({release, action.info, 0});
            pendingMs = 0;
        } else {
            qCDebug(skarnMacroCodec) << "action type" << action.type << "skipped";
        }
    }
    return result;
}

int pairLength(const Step& step, bool isLast)
{
    return isLast || step.wait < longWait ? 2 : 6;
}

int lengthOf(const QList<Step>& steps, qsizetype count)
{
    if (count == 0)
        return 2;
    int length = 4;
    for (qsizetype i = 0; i < count; ++i)
        length += pairLength(steps[i], i == count - 1);
    return length;
}

void appendPair(QByteArray& bytes, const Step& step, quint8 code, bool isLast)
{
    const char releaseBit = step.release ? char(0x80) : char(0);
    if (isLast) {
        bytes.append(char(0x01) | releaseBit).append(char(code));
    } else if (step.wait < longWait) {
        bytes.append(char(step.wait == 0 ? 1 : step.wait) | releaseBit).append(char(code));
    } else {
        const int mode = step.wait < 100000 ? 1 : step.wait < 300000 ? 2 : 3;
        const int unit = mode == 1 ? 2 : mode == 2 ? 5 : 10;
        const int count = step.wait / unit;
        bytes.append(releaseBit).append(char(code)).append(char(0)).append(char(mode));
        bytes.append(char(count >> 8 & 0xff)).append(char(count & 0xff));
    }
}

// How many actions of the list go out: all when they fit, else the longest
// run from the start that fits and leaves nothing pressed.
qsizetype fittingCount(const QList<Step>& steps, const QList<quint8>& codes)
{
    if (lengthOf(steps, steps.size()) <= MacroCodec::payloadLimit)
        return steps.size();
    std::array<bool, 256> held{};
    int heldCount = 0;
    qsizetype best = 0;
    for (qsizetype k = 1; k <= steps.size() && lengthOf(steps, k) <= MacroCodec::payloadLimit; ++k) {
        const quint8 code = codes[k - 1];
        if (!steps[k - 1].release && !held[code]) {
            held[code] = true;
            ++heldCount;
        } else if (steps[k - 1].release && held[code]) {
            held[code] = false;
            --heldCount;
        }
        if (heldCount == 0)
            best = k;
    }
    qCDebug(skarnMacroCodec) << steps.size() << "actions do not fit in" << MacroCodec::payloadLimit
                             << "bytes - the first" << best << "are sent";
    return best;
}

int repeatCount(const QVariant& repeat)
{
    const double r = std::floor(variantNumber(repeat));
    if (!std::isfinite(r))
        return 0;
    return int(std::clamp(r, 0.0, 65535.0));
}

} // namespace

namespace MacroCodec {

QList<Action> actionsFromStrings(const QStringList& stored)
{
    QList<Action> result;
    for (qsizetype i = 0; i + 1 < stored.size(); ++i)
        result.append({storedType(stored[i]), stored[i].mid(2)});
    return result;
}

QList<Action> actionsFromVariants(const QVariantList& entries)
{
    QList<Action> result;
    for (const QVariant& entry : entries) {
        const QVariantMap map = entry.toMap();
        const QVariant info = map.value(QStringLiteral("info"));
        result.append(
            {leadingInt(map.value(QStringLiteral("type")).toString()), info.isNull() ? QString() : info.toString()});
    }
    return result;
}

QByteArray encode(const QList<Action>& actions, const QVariant& repeat, const KeyLookup& keyCode)
{
    const int r = repeatCount(repeat);
    QByteArray bytes;
    bytes.append(char(r >> 8 & 0xff)).append(char(r & 0xff));
    const QList<Step> steps = stepsOf(actions);
    QList<quint8> codes;
    for (const Step& step : steps)
        codes.append(keyCode ? keyCode(step.info) : quint8(0));
    const qsizetype count = fittingCount(steps, codes);
    if (count == 0)
        return bytes;
    for (qsizetype j = 0; j < count; ++j)
        appendPair(bytes, steps[j], codes[j], j == count - 1);
    bytes.append(char(0)).append(char(0));
    return bytes;
}

int encodedLength(const QList<Action>& actions)
{
    const QList<Step> steps = stepsOf(actions);
    return lengthOf(steps, steps.size());
}

const std::array<quint8, keyNameCount> keyNameCodes = {
    0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16,
    0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29,
    0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C,
    0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x62,
    0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F, 0x70, 0x71, 0x72, 0x73, 0x85, 0x87,
    0x88, 0x89, 0x8A, 0x8B, 0x90, 0x91, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4};

QStringList builtInKeyNames()
{
    static const QStringList names = {
        "A",       "B",      "C",     "D",    "E",      "F",      "G",     "H",     "I",     "J",     "K",     "L",
        "M",       "N",      "O",     "P",    "Q",      "R",      "S",     "T",     "U",     "V",     "W",     "X",
        "Y",       "Z",      "1",     "2",    "3",      "4",      "5",     "6",     "7",     "8",     "9",     "0",
        "Enter",   "Esc",    "Back",  "Tab",  "Space",  "-",      "=",     "[",     "]",     "\\",    "\\",    ";",
        "'",       "`",      ",",     ".",    "/",      "Caps",   "F1",    "F2",    "F3",    "F4",    "F5",    "F6",
        "F7",      "F8",     "F9",    "F10",  "F11",    "F12",    "Prt",   "Scr",   "Pau",   "Ins",   "Hom",   "Pgu",
        "Del",     "End",    "PgD",   "►",    "◄",      "▼",      "▲",     "Num",   "KP/",   "KP*",   "KP-",   "KP+",
        "KPEnter", "KP1",    "KP2",   "KP3",  "KP4",    "KP5",    "KP6",   "KP7",   "KP8",   "KP9",   "KP0",   "KP.",
        "Eur2",    "App",    "Power", "KP=",  "F13",    "F14",    "F15",   "F16",   "F17",   "F18",   "F19",   "F20",
        "F21",     "F22",    "F23",   "F24",  "Keypad", "Intl1",  "Intl2", "Intl2", "Intl4", "Intl5", "Lang1", "Lang2",
        "LCtrl",   "LShift", "LAlt",  "LWin", "RCtrl",  "RShift", "RAlt",  "RWin",  "MS-L",  "MS-R",  "MS-M",  "MS-B4",
        "MS-B5"};
    return names;
}

KeyLookup keyNameLookup(const QStringList& languageNames)
{
    QStringList names = builtInKeyNames();
    if (languageNames.size() == keyNameCount) {
        for (int i = 0; i < keyNameCount; ++i)
            if (!languageNames[i].isEmpty())
                names[i] = languageNames[i];
    } else {
        qCDebug(skarnMacroCodec) << languageNames.size() << "key names instead of" << keyNameCount
                                 << "- the built-in names stay";
    }
    QHash<QString, quint8> codes;
    for (int i = keyNameCount - 1; i >= 0; --i)
        codes.insert(names[i], keyNameCodes[std::size_t(i)]);
    return [codes](const QString& name) { return codes.value(name, 0); };
}

} // namespace MacroCodec
