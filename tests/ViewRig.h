#pragma once

#include "Clock.h"
#include "DeviceRecord.h"
#include "DeviceSession.h"
#include "TestSupport.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"

#include <QBuffer>
#include <QRegularExpression>

#include <memory>
#include <optional>

// The shipped mouse: command interface ff00/ff00, event interface ff01/ff01.
inline DeviceRecord testMouseRecord(bool isEncode = false, const QString& sCode = QStringLiteral("582910"),
                                    int reportLength = 32)
{
    DeviceRecord r;
    r.type = 1;
    r.vid = 0x04d9;
    r.pid = 0xa1ee;
    r.usagePage = r.usage = 0xff00;
    r.usagePage2 = r.usage2 = 0xff01;
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
    // The firmware's family: that of the command set the data folder names
    // unless given ("553", "560", or anything else for a mouse that knows no
    // command).
    QString family;
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
        const QString family = !options.family.isNull() ? options.family
                               : session->traits().uses560() ? QStringLiteral("560")
                                                             : QStringLiteral("553");
        mouse = std::make_unique<VirtualMouse>(options.device, family, options.deviceTable);
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
