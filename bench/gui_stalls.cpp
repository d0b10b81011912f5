// How long the window stops running its event loop while the mouse is
// written: the shipped pages (qrc:/modules/qml/main.qml) in an offscreen
// window, on the virtual mouse with the real clock (the link's delays as on
// a device), each action started from the event loop by the function a click
// calls:
//   save-keys     Save after two buttons swapped their assignments
//   save-dpi      Save after the first DPI stage moved
//   save-light    Save after another lighting effect was chosen
//   profile       a profile chosen in the top bar
//   reset         factory reset, OK
//   macro-edit    a step inserted into (or removed from) a macro a button uses
// A 1 ms timer ticks on the GUI thread meanwhile; the longest gap between two
// ticks is the stall. The total runs from the start of the action to its end
// or to the last frame or output report the mouse received, whichever is
// later. Frames (feature reports) and output reports are those the mouse
// received for the action. The busy sign is the time from the start of the
// action to the first frame the window drew with the busy indicator shown
// (with how many frames the window drew before it; "-" for an action that
// shows none). The device is written by the HID worker's writer thread, as
// in the tray program.
//
// Usage: bench_gui_stalls [--runs N] [--gaps]
//   --runs N   runs of each action, the median shown (default 3)
//   --gaps     also lists every gap over 50 ms of each action's last run, as
//              start+length in ms from the action's start

#include "Clock.h"
#include "DeviceSession.h"
#include "PointerSettings.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"
#include "WindowControl.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMetaMethod>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// Copies a folder tree; false on the first failure.
bool copyTree(const QString& from, const QString& to)
{
    QDir source(from);
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo& info : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + info.fileName();
        if (info.isDir() ? !copyTree(info.filePath(), target) : !QFile::copy(info.filePath(), target))
            return false;
    }
    return true;
}

// The view core's calls into the root (setProtectUI, setCurrentDPI, initUI):
// the pages' functions take untyped (QVariant) parameters.
bool callRoot(QObject* root, const char* name, const QVariantList& args, Qt::ConnectionType type)
{
    if (!root || args.size() > 2)
        return false;
    const QMetaObject* meta = root->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.name() != name || method.parameterCount() != args.size())
            continue;
        QVariantList values = args;
        QGenericArgument arguments[2];
        for (qsizetype a = 0; a < values.size(); ++a)
            arguments[a] = QGenericArgument("QVariant", &values[a]);
        return method.invoke(root, type, arguments[0], arguments[1]);
    }
    return false;
}

// The desktop's pointer settings stay as they are: a profile change applies
// the profile's, which are of no interest here.
class KeptPointerSettings : public PointerSettings
{
public:
    bool setSpeed(quint32) override { return true; }
    bool setDoubleClickTime(quint32) override { return true; }
    bool setWheelScrollLines(quint32) override { return true; }
};

struct Figures
{
    double stall = 0;
    double total = 0;
    int frames = 0;
    int reports = 0;
    double sign = -1;
    int framesBeforeSign = 0;
    // Every gap of more than 50 ms: where it started (ms) and how long it was.
    QList<std::pair<double, double>> gaps;
};

double msSince(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// The frames and output reports the mouse received since it was last cleared.
int traffic(const VirtualMouse& mouse)
{
    return int(mouse.receivedFrames().size() + mouse.receivedOutputReports().size());
}

// Runs action from the event loop and measures it; the device counts as idle
// once no frame has come for quietMs after the action returned.
Figures measure(VirtualMouse& mouse, QQuickWindow& window, QQuickItem& indicator, const std::function<void()>& action)
{
    // Longer than the macro editor's settling time, after which it sends.
    constexpr double quietMs = 1000;
    mouse.clearReceived();
    Figures out;
    QElapsedTimer clock;
    QEventLoop loop;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    double lastTick = 0;
    double returned = -1;
    double lastFrame = 0;
    int received = 0;
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        const double now = msSince(clock);
        out.stall = std::max(out.stall, now - lastTick);
        if (now - lastTick > 50)
            out.gaps.append({lastTick, now - lastTick});
        lastTick = now;
        const int seen = traffic(mouse);
        if (seen != received) {
            received = seen;
            lastFrame = now;
        }
        if (returned >= 0 && now - std::max(returned, lastFrame) > quietMs)
            loop.quit();
    });
    int drawn = 0;
    const QMetaObject::Connection swaps = QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, [&] {
        if (out.sign >= 0 || returned < 0)
            return;
        if (indicator.isVisible()) {
            out.sign = msSince(clock);
            out.framesBeforeSign = drawn;
        }
        ++drawn;
    });
    QTimer::singleShot(0, &loop, [&] {
        action();
        returned = msSince(clock);
        // Frames sent before the action returned belong to it, not to the
        // next tick.
        if (traffic(mouse) != received) {
            received = traffic(mouse);
            lastFrame = returned;
        }
    });
    clock.start();
    ticker.start();
    loop.exec();
    QObject::disconnect(swaps);
    out.total = std::max(returned, lastFrame);
    out.frames = int(mouse.receivedFrames().size());
    out.reports = int(mouse.receivedOutputReports().size());
    return out;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    KeptPointerSettings pointer;
    PointerSettings::setDefault(&pointer);
    // The pages' and the link's debug lines would drown the table.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    int runs = 3;
    bool listGaps = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--gaps") == 0) {
            listGaps = true;
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] [--gaps]\n", argv[0]);
            return 2;
        }
    }

    // A scratch copy of the shipped data as the working folder.
    QTemporaryDir data;
    const QString modules = QCoreApplication::applicationDirPath() + QStringLiteral("/modules");
    if (!data.isValid() || !copyTree(modules, data.filePath(QStringLiteral("modules")))) {
        std::fprintf(stderr, "cannot copy %s to a scratch folder\n", qPrintable(modules));
        return 2;
    }
    QDir::setCurrent(data.path());

    DeviceSession session;
    VirtualMouse mouse(VirtualMouse::shippedEntry(), session.traits().commandSet);
    VirtualHidBackend backend({&mouse}, Clock::system());
    session.setClock(&Clock::system());
    session.setTransport(&backend);
    session.hid().startWriter();
    DeviceRecord entry = VirtualMouse::shippedEntry();
    entry.primaryPath = QString::fromLatin1(mouse.commandPath());
    entry.secondaryPath = QString::fromLatin1(mouse.eventPath());
    session.useDevice(entry);
    session.status().setConnected(true);

    QQuickView view;
    // The window control: none of these actions moves the window.
    struct StillWindow : WindowControl
    {
        void onMinimize() override {}
        void onClose() override {}
        void onXChanged(int) override {}
        void onYChanged(int) override {}
    } control;
    view.engine()->addImportPath(QStringLiteral("qrc:/"));
    QQmlContext* context = view.engine()->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), &session.view());
    context->setContextProperty(QStringLiteral("hid"), &session.hid());
    context->setContextProperty(QStringLiteral("ui_Ctl"), &control);
    context->setContextProperty(QStringLiteral("deviceStatus"), &session.status());
    session.view().setRootCaller([&view](const char* name, const QVariantList& args, Qt::ConnectionType type) {
        return callRoot(view.rootObject(), name, args, type);
    });
    // A second profile for the top bar to change to.
    session.view().updataNameList(2, {QStringLiteral("Standard0"), QStringLiteral("profile_01")});
    view.setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
    QObject* root = view.rootObject();
    if (!root) {
        std::fprintf(stderr, "main.qml did not load\n");
        return 2;
    }
    view.resize(1024, 640);
    view.show();

    const auto run = [&](const QString& script) {
        QQmlExpression expression(qmlContext(root), root, QStringLiteral("(function () { %1 })()").arg(script));
        expression.evaluate();
        if (expression.hasError())
            std::fprintf(stderr, "%s: %s\n", qPrintable(script), qPrintable(expression.error().toString()));
    };
    const auto settle = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };

    // The pages as after start-up, with a macro of one click.
    session.view().initUI();
    session.view().runUI();
    settle(100);
    run(QStringLiteral("mainIten.setProtectUI(0)"));
    run(QStringLiteral("macroEditorMain.newMacro(); macroEditorMain.actionCommand(3)"));
    settle(300);
    QObject* effects = root->findChild<QObject*>(QStringLiteral("lightModel"));
    if (!effects) {
        std::fprintf(stderr, "no lighting effect list\n");
        return 2;
    }

    struct Action
    {
        const char* name;
        std::function<void(int run)> prepare;
        QString script;
    };
    const std::vector<Action> actions = {
        {"save-keys",
         [&](int) {
             run(QStringLiteral("var k = keyMatrixMain.modKeys;"
                                "var row = i => { var e = k.get(i); return { keyCode0: e.keyCode0, keyCode1: "
                                "e.keyCode1, keyCode2: e.keyCode2, keyCode3: e.keyCode3, keyText: e.keyText } };"
                                "var a = row(2), b = row(3); k.set(2, b); k.set(3, a); keyMatrixMain.isSave = true"));
         },
         QStringLiteral("mainIten.save()")},
        {"save-dpi",
         [&](int i) {
             run(QStringLiteral("dpiSettingMain.setStageValue(0, %1); dpiSettingMain.isSave = true")
                     .arg(i % 2 ? 1600 : 800));
         },
         QStringLiteral("mainIten.save()")},
        {"save-light",
         [&](int i) {
             const int effect = i % 2 ? 1 : 2;
             effects->setProperty("currentSelect", effect);
             run(QStringLiteral("lightControlMain.chooseEffect(%1)").arg(effect));
         },
         QStringLiteral("mainIten.save()")},
        {"profile", [&](int) {}, QStringLiteral("profileMain.changeProfile(profileMain.profileNo === 0 ? 1 : 0)")},
        {"reset", [&](int) {}, QStringLiteral("mainIten.factoryReset()")},
        // Button 5 plays the macro (again: the reset before took it away).
        {"macro-edit",
         [&](int) {
             run(QStringLiteral("var name = macroEditorMain.currentName();"
                                "keyMatrixMain.modKeys.set(5, { keyCode0: 4, keyCode1: 0, keyCode2: 5, keyCode3: 0,"
                                "                               keyText: name });"
                                "ui_View.setData('mouseMacroKey/5', name)"));
         },
         QStringLiteral("macroEditorMain.actionCommand(macroEditorMain.macroActionModel.count > 2 ? 0 : 1)")},
    };

    auto* indicator = root->findChild<QQuickItem*>(QStringLiteral("protectUIItem"));
    if (!indicator) {
        std::fprintf(stderr, "no busy indicator\n");
        return 2;
    }
    std::printf("%-12s %12s %12s %8s %8s %14s\n", "action", "stall (ms)", "total (ms)", "frames", "reports",
                "sign (ms, fr)");
    for (const Action& action : actions) {
        std::vector<double> stalls;
        std::vector<double> totals;
        std::vector<double> frames;
        std::vector<double> reports;
        std::vector<double> signs;
        std::vector<double> signFrames;
        QStringList gaps;
        for (int i = 0; i < runs; ++i) {
            action.prepare(i);
            settle(50);
            const Figures f = measure(mouse, view, *indicator, [&] { run(action.script); });
            signs.push_back(f.sign);
            signFrames.push_back(f.framesBeforeSign);
            stalls.push_back(f.stall);
            totals.push_back(f.total);
            frames.push_back(f.frames);
            reports.push_back(f.reports);
            gaps.clear();
            for (const auto& [start, length] : f.gaps)
                gaps << QStringLiteral("%1+%2").arg(start, 0, 'f', 0).arg(length, 0, 'f', 0);
        }
        const double sign = median(signs);
        const QString signText =
            sign < 0 ? QStringLiteral("-") : QStringLiteral("%1, %2").arg(sign, 0, 'f', 0).arg(median(signFrames));
        std::printf("%-12s %12.0f %12.0f %8.0f %8.0f %14s\n", action.name, median(stalls), median(totals),
                    median(frames), median(reports), qPrintable(signText));
        if (listGaps)
            std::printf("  gaps: %s\n", qPrintable(gaps.join(QLatin1Char(' '))));
        std::fflush(stdout);
    }
    if (mouse.protocolErrors() != 0)
        std::fprintf(stderr, "%d protocol errors: %s\n", mouse.protocolErrors(),
                     qPrintable(mouse.protocolErrorMessages().join(QStringLiteral("; "))));
    return 0;
}
