#include "VirtualMouseCommands.h"

#include "Hid_Thread.h"
#include "VirtualMouse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cmath>

namespace VirtualMouseCommands {

namespace {

QStringList listing()
{
    return {QStringLiteral("virtual.pressDpiButton([stage 1..8])"), QStringLiteral("virtual.unplug()"),
            QStringLiteral("virtual.plug()"), QStringLiteral("virtual.state()")};
}

// A stage given on the command line: a whole number 1..8, checked on the
// double before it is converted.
bool stageOf(const QJsonValue& v, int* stage)
{
    const double d = v.toDouble();
    if (!v.isDouble() || !std::isfinite(d) || d < 1 || d > 8 || d != std::trunc(d))
        return false;
    *stage = int(d);
    return true;
}

} // namespace

PrefixHandler handler(VirtualMouse& mouse, Hid_Thread& hid, std::function<void()> recheck)
{
    auto call = [&mouse, &hid, recheck = std::move(recheck)](const QString& name, const QJsonArray& arguments,
                                                             QJsonValue* result, QString* error) {
        if (name == QLatin1String("pressDpiButton")) {
            int stage = 0;
            if (arguments.size() > 1 || (arguments.size() == 1 && !stageOf(arguments.at(0), &stage))) {
                *error = QStringLiteral("virtual.pressDpiButton takes an optional stage 1..8");
                return false;
            }
            const bool delivered = stage ? mouse.pressDpiButton(stage) : mouse.pressDpiButton();
            // Let the listener's report reach this thread's queue and run.
            QThread::msleep(50);
            QCoreApplication::processEvents();
            *result = delivered;
            return true;
        }
        const bool known =
            name == QLatin1String("unplug") || name == QLatin1String("plug") || name == QLatin1String("state");
        if (!known) {
            *error = QStringLiteral("unknown operation virtual.%1").arg(name);
            return false;
        }
        if (!arguments.isEmpty()) {
            *error = QStringLiteral("virtual.%1 takes no arguments").arg(name);
            return false;
        }
        *result = QJsonValue();
        if (name == QLatin1String("unplug")) {
            mouse.unplug();
            // The listener notices within one read; wait for it so the next
            // command sees the device gone.
            QElapsedTimer t;
            t.start();
            while (hid.hidListenerRunning && t.elapsed() < 2000)
                QThread::msleep(10);
            QCoreApplication::processEvents();
        } else if (name == QLatin1String("plug")) {
            mouse.plug();
            if (!hid.hidListenerRunning && recheck)
                recheck();
        } else {
            *result = mouse.stateJson();
        }
        return true;
    };
    return {std::move(call), listing()};
}

PrefixHandler unavailable()
{
    auto call = [](const QString& name, const QJsonArray&, QJsonValue*, QString* error) {
        *error = QStringLiteral("virtual.%1 needs --virtual-mouse").arg(name);
        return false;
    };
    return {call, listing()};
}

} // namespace VirtualMouseCommands
