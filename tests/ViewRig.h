#pragma once

#include "Clock.h"
#include "Device560.h"
#include "DeviceRecord.h"
#include "DeviceSession.h"
#include "TestSupport.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

// The shipped mouse: command interface ff00/ff00, event interface ff01/ff01.
inline DeviceRecord testMouseRecord(bool isEncode = false, const QString& sCode = QStringLiteral("582910"),
                                    int reportLength = 32)
{
    DeviceRecord r = VirtualMouse::shippedEntry();
    r.reportLength = reportLength;
    r.isEncode = isEncode;
    r.sCode = sCode;
    return r;
}

// config (apConfig.bin's text) with key=value in its [mouse] group: the
// key's line replaced where there is one, else added after the group's
// header. The rest of the text stays as it is.
inline QByteArray withMouseKey(const QByteArray& config, const QString& key, const QString& value)
{
    QString text = QString::fromUtf8(config);
    const QString line = key + QLatin1Char('=') + value;
    const QRegularExpression existing(QStringLiteral("^%1=.*$").arg(QRegularExpression::escape(key)),
                                      QRegularExpression::MultilineOption);
    if (text.contains(existing))
        return text.replace(existing, line).toUtf8();
    const qsizetype group = text.indexOf(QLatin1String("[mouse]"));
    if (group < 0)
        return (text + QLatin1String("\n[mouse]\n") + line + QLatin1Char('\n')).toUtf8();
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), group);
    return text.insert(lineEnd < 0 ? text.size() : lineEnd + 1, line + QLatin1Char('\n')).toUtf8();
}

// What the suites that drive the device stack share: a copy of the shipped
// data as the working folder, the virtual clock, a virtual mouse and the
// device session on it, with every transfer traced into `trace`. The worker
// is pointed at the mouse as the device check would point it (the mouse as
// the only and current device); the check itself is for the suites that test
// it.
struct ViewRigOptions
{
    // Values for the copy of apConfig.bin's [mouse] keys, set before the view
    // core reads them: {"icType", "560"}, {"isGun", "true"}, ...
    QList<std::pair<QString, QString>> mouseKeys;
    // Files written below the data folder before the session reads it:
    // {"modules/setting/p1.bin", "..."}.
    QList<std::pair<QString, QByteArray>> files;
    // The virtual mouse's identity, and the entry the worker uses (the
    // mouse's own unless given).
    DeviceRecord device = testMouseRecord();
    std::optional<DeviceRecord> entry;
    // The firmware's command set: the one the data folder names unless given.
    std::optional<CommandSet> family;
    HidCodec::ScrambleTable deviceTable = HidCodec::defaultScrambleTable;
};

class ViewRig
{
public:
    using MouseKeys = QList<std::pair<QString, QString>>;

    // The rig with the shipped mouse, its family that of the data folder.
    explicit ViewRig(const MouseKeys& mouseKeys = {})
        : ViewRig(withKeys(mouseKeys))
    {
    }

    explicit ViewRig(const ViewRigOptions& options)
    {
        const QString config = QStringLiteral("modules/setting/apConfig.bin");
        QByteArray text = data.read(config);
        for (const auto& [key, value] : options.mouseKeys)
            text = withMouseKey(text, key, value);
        data.write(config, text);
        for (const auto& [file, bytes] : options.files)
            data.write(file, bytes);

        session = std::make_unique<DeviceSession>();
        mouse = std::make_unique<VirtualMouse>(options.device, options.family.value_or(session->traits().commandSet),
                                               options.deviceTable);
        backend = std::make_unique<VirtualHidBackend>(std::initializer_list<VirtualMouse*>{mouse.get()}, clock);
        trace.open(QIODevice::WriteOnly);
        session->setClock(&clock);
        session->setTransport(backend.get(), &trace);
        DeviceRecord entry = options.entry.value_or(options.device);
        entry.primaryPath = QString::fromLatin1(mouse->commandPath());
        entry.secondaryPath = QString::fromLatin1(mouse->eventPath());
        session->useDevice(entry);
    }

    Hid_Thread& hid() { return session->hid(); }
    // The profile blocks the command set's unit holds; none for a set without.
    DpiCodes::ProfileImages* images()
    {
        auto* unit = dynamic_cast<Device560*>(&session->device());
        return unit ? &unit->images() : nullptr;
    }
    ViewCore& view() { return session->view(); }

    static ViewRigOptions withKeys(const MouseKeys& mouseKeys, const QByteArray& profile = {})
    {
        ViewRigOptions options;
        options.mouseKeys = mouseKeys;
        if (!profile.isEmpty())
            options.files = {{QStringLiteral("modules/setting/p1.bin"), profile}};
        return options;
    }

    TestDataFolder data;
    VirtualClock clock;
    QBuffer trace;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<VirtualHidBackend> backend;
    std::unique_ptr<DeviceSession> session;
};

// Values as a table row writes them, separated by commas: numbers, 'text',
// true, false, - (no value), a..b (the numbers from a to b), v*n (v, n
// times), xHEX (one number a byte).
inline QVariantList rowValues(const QString& text)
{
    QVariantList out;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString t = item.trimmed();
        if (t.startsWith(QLatin1Char('\'')))
            out << t.mid(1, t.size() - 2);
        else if (t == QLatin1String("-"))
            out << QVariant();
        else if (t == QLatin1String("true") || t == QLatin1String("false"))
            out << (t == QLatin1String("true"));
        else if (t.startsWith(QLatin1Char('x')))
            for (char b : hexBytes(t.mid(1)))
                out << int(uchar(b));
        else if (t.contains(QLatin1String("..")))
            for (int i = t.section(QLatin1String(".."), 0, 0).toInt(); i <= t.section(QLatin1String(".."), 1).toInt();
                 ++i)
                out << i;
        else if (t.contains(QLatin1Char('*')))
            out += QVariantList(t.section(QLatin1Char('*'), 1).toInt(), t.section(QLatin1Char('*'), 0, 0).toInt());
        else if (t.contains(QLatin1Char('.')))
            out << t.toDouble();
        else
            out << t.toInt();
    }
    return out;
}

// A virtual mouse's state as stateJson() gives it, without the command count,
// and with changes applied, in order: "field=values" replaces a field,
// "field@i=values" its values from position i on, "field.n=values" and
// "field.n@i=values" do the same in its block n. Space-separated; a change
// that is none of these leaves a field "" that no state has.
inline QJsonObject changedState(QJsonObject state, const QString& changes)
{
    state.remove(QStringLiteral("commandCount"));
    static const QRegularExpression item(QStringLiteral("^(\\w+)(?:\\.(\\d+))?(?:@(\\d+))?=(.*)$"));
    for (const QString& change : changes.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = item.match(change);
        const QVariantList values = rowValues(m.captured(4));
        const QJsonValue old = state.value(m.captured(1));
        const int block = m.capturedLength(2) ? m.captured(2).toInt() : -1;
        QJsonArray blocks = old.toArray();
        QJsonArray a = m.capturedLength(3) == 0 ? QJsonArray() : block < 0 ? blocks : blocks.at(block).toArray();
        for (qsizetype i = 0, at = m.captured(3).toInt(); i < values.size(); ++i)
            at + i < a.size() ? void(a[at + i] = values[i].toInt()) : a.append(values[i].toInt());
        if (block >= 0)
            blocks[block] = a;
        state[m.captured(1)] = !old.isArray() ? QJsonValue(values.value(0).toInt()) : block < 0 ? a : blocks;
    }
    return state;
}

// Where a state differs from the expected one: for each field, the values
// from the first that differs on (counted through the blocks of a field), or
// "" when they are the same.
inline QString stateDifference(const QJsonObject& expected, QJsonObject actual)
{
    actual.remove(QStringLiteral("commandCount"));
    const auto text = [](const QJsonValue& v) {
        return QString::fromUtf8(QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact))
            .remove(QRegularExpression("[][]"));
    };
    QStringList keys = actual.keys() + expected.keys();
    keys.removeDuplicates();
    QStringList out;
    for (const QString& key : keys) {
        const QStringList want = text(expected.value(key)).split(QLatin1Char(','));
        const QStringList got = text(actual.value(key)).split(QLatin1Char(','));
        qsizetype i = 0;
        while (i < want.size() && i < got.size() && want[i] == got[i])
            ++i;
        if (want != got)
            out << QStringLiteral("%1 from value %2: %3, not %4")
                       .arg(key)
                       .arg(i)
                       .arg(got.mid(i, 8).join(QLatin1Char(',')), want.mid(i, 8).join(QLatin1Char(',')));
    }
    return out.join(QStringLiteral("; "));
}

// The frames the mouse received, in hex, space-separated, each cut to the
// length of the item of expected in its place (16 digits where there is none).
inline QString receivedFrames(const VirtualMouse& mouse, const QString& expected)
{
    const QStringList want = expected.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList out;
    const QList<QByteArray> frames = mouse.receivedFrames();
    for (qsizetype i = 0; i < frames.size(); ++i)
        out << QString::fromLatin1(frames[i].toHex()).left(i < want.size() ? want[i].size() : 16);
    return out.join(QLatin1Char(' '));
}
