#include "InputCapture.h"
#include "TestSupport.h"
#include "X11InputBackend.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QProcess>
#include <QQuickItem>
#include <QStandardPaths>
#include <QTest>
#include <QWindow>
#include <qtestspontaneevent.h>

#include <optional>

// Key and button capture wired to the main window the way start-up wires it,
// observed in the calls the placeholder QML root records. On a real X server
// (the Xvfb display of tools/dev) synthetic input goes through the server with
// xdotool; without one, only the program's own windows are watched.
class TestCapture : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void x11_data();
    void x11();
    void ownWindowsWithoutX11_data();
    void ownWindowsWithoutX11();
    void x11ServerGoesAway();

private:
    void startCapture();
    QStringList detections() const;
    // Runs xdotool, then presses and releases Escape, and waits for that
    // release: whatever the commands produced has arrived by then.
    void xdotoolAndSettle(const QString& commands);
    static bool xdotool(const QString& commands);

    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<Widget> m_window;
    std::unique_ptr<InputCapture> m_capture;
};

namespace {

const QString sentinelRelease = QStringLiteral("detectKeyboard(false,41)");

void forwardKey(quint8 keyCode, bool pressed, void* user)
{
    static_cast<Widget*>(user)->view()->callRoot("detectKeyboard", {pressed, int(keyCode)}, Qt::QueuedConnection);
}

void forwardButton(quint32 buttonCode, bool pressed, quint32 x, quint32 y, void* user)
{
    static_cast<Widget*>(user)->view()->callRoot("detectMouse", {pressed, buttonCode, x, y}, Qt::QueuedConnection);
}

// Restores the US layout however the test ends.
struct LayoutGuard
{
    ~LayoutGuard() { QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("us")}); }
};

} // namespace

void TestCapture::init()
{
    m_data = std::make_unique<TestDataFolder>();
    QVERIFY(m_data->isValid());
    m_window = std::make_unique<Widget>();
    QVERIFY(m_window->view() && m_window->view()->rootObject());
}

void TestCapture::cleanup()
{
    m_capture.reset();
    m_window.reset();
    m_data.reset();
}

void TestCapture::startCapture()
{
    m_capture = std::make_unique<InputCapture>();
    QVERIFY(m_capture->start());
    m_capture->setKeyboardCallback(forwardKey, m_window.get());
    m_capture->setMouseCallback(forwardButton, m_window.get());
}

QStringList TestCapture::detections() const
{
    return m_window->view()->rootObject()->property("calls").toStringList().filter(QStringLiteral("detect"));
}

bool TestCapture::xdotool(const QString& commands)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), commands.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void TestCapture::xdotoolAndSettle(const QString& commands)
{
    QVERIFY2(xdotool(commands + QStringLiteral(" key Escape")), qPrintable(commands));
    QTRY_VERIFY_WITH_TIMEOUT(detections().contains(sentinelRelease), 5000);
}

void TestCapture::x11_data()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server: run through tools/dev test");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QStringList>("expected");
    const auto key = [](bool down, int code) {
        return QStringLiteral("detectKeyboard(%1,%2)").arg(down ? "true" : "false").arg(code);
    };
    const auto button = [](bool down, int code) {
        return QStringLiteral("detectMouse(%1,%2,100,200)").arg(down ? "true" : "false").arg(code);
    };
    QTest::newRow("press and release") << "" << "keydown a keyup a" << QStringList{key(1, 0x04), key(0, 0x04)};
    QTest::newRow("held key") << "" << "keydown a keydown a keydown a keyup a keyup a"
                              << QStringList{key(1, 0x04), key(0, 0x04)};
    QTest::newRow("Shift over a key") << "" << "keydown Shift_L key b keyup Shift_L"
                                      << QStringList{key(1, 0xE1), key(1, 0x05), key(0, 0x05), key(0, 0xE1)};
    QTest::newRow("keypad Enter, Enter") << "" << "key KP_Enter key Return"
                                         << QStringList{key(1, 0x58), key(0, 0x58), key(1, 0x28), key(0, 0x28)};
    QTest::newRow("left and right Windows keys") << "" << "key 133 key 134"
                                                 << QStringList{key(1, 0xE3), key(0, 0xE3), key(1, 0xE7), key(0, 0xE7)};
    QTest::newRow("Pause, Print") << "" << "key Pause key Print"
                                  << QStringList{key(1, 0x48), key(0, 0x48), key(1, 0x46), key(0, 0x46)};
    QTest::newRow("French: the key left of S") << "fr" << "key q" << QStringList{key(1, 0x04), key(0, 0x04)};
    QTest::newRow("French: A is where Q is") << "fr" << "key a" << QStringList{key(1, 0x14), key(0, 0x14)};
    QTest::newRow("left button") << "" << "mousemove 100 200 click 1" << QStringList{button(1, 0xF0), button(0, 0xF0)};
    QTest::newRow("right, middle button")
        << "" << "mousemove 100 200 click 3 click 2"
        << QStringList{button(1, 0xF1), button(0, 0xF1), button(1, 0xF2), button(0, 0xF2)};
    QTest::newRow("double click") << "" << "mousemove 100 200 click --repeat 2 --delay 10 1"
                                  << QStringList{button(1, 0xF0), button(0, 0xF0), button(1, 0xF0), button(0, 0xF0)};
    QTest::newRow("wheel, fourth and fifth buttons")
        << "" << "mousemove 100 200 click 4 click 5 click 6 click 7 click 8 click 9" << QStringList{};
}

// Every row runs with the window shown once and hidden again, as it is while
// it sits in the tray: the capture listens on the root window, not on ours.
void TestCapture::x11()
{
    QFETCH(QString, layout);
    QFETCH(QString, commands);
    QFETCH(QStringList, expected);
    m_window->show();
    m_window->hide();
    startCapture();
    QCOMPARE(m_capture->backendName(), QStringLiteral("X11 raw input"));
    std::optional<LayoutGuard> guard;
    if (!layout.isEmpty()) {
        guard.emplace();
        QCOMPARE(QProcess::execute(QStringLiteral("setxkbmap"), {layout}), 0);
    }

    xdotoolAndSettle(commands);
    expected << QStringLiteral("detectKeyboard(true,41)") << sentinelRelease;
    QCOMPARE(detections(), expected);
}

void TestCapture::ownWindowsWithoutX11_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("scanCodeOrButton");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<bool>("toWindow");
    QTest::addColumn<QString>("expected");
    const int press = QEvent::KeyPress;
    const int release = QEvent::KeyRelease;
    QTest::newRow("no scan code") << press << 0 << false << true << "";
    QTest::newRow("key press") << press << 38 << false << true << "detectKeyboard(true,4)";
    QTest::newRow("release of a key never pressed") << release << 38 << false << true << "";
    QTest::newRow("auto-repeat") << press << 38 << true << true << "";
    QTest::newRow("the copy handed to a widget") << press << 38 << false << false << "";
    const int mousePress = QEvent::MouseButtonPress;
    QTest::newRow("left button") << mousePress << int(Qt::LeftButton) << false << true << "detectMouse(true,240,15,26)";
    QTest::newRow("right button") << mousePress << int(Qt::RightButton) << false << true
                                  << "detectMouse(true,241,15,26)";
    QTest::newRow("middle release") << int(QEvent::MouseButtonRelease) << int(Qt::MiddleButton) << false << true
                                    << "detectMouse(false,242,15,26)";
    QTest::newRow("back button") << mousePress << int(Qt::BackButton) << false << true << "";
    QTest::newRow("double click") << int(QEvent::MouseButtonDblClick) << int(Qt::LeftButton) << false << true << "";
}

// Without an X server only the program's own windows are seen, through the
// native scan code (the X keycode on xcb and Wayland), once per event.
void TestCapture::ownWindowsWithoutX11()
{
    QFETCH(int, type);
    QFETCH(int, scanCodeOrButton);
    QFETCH(bool, autoRepeat);
    QFETCH(bool, toWindow);
    QFETCH(QString, expected);
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    startCapture();
    if (!display.isEmpty())
        qputenv("DISPLAY", display);
    QCOMPARE(m_capture->backendName(), QStringLiteral("own windows only"));
    m_window->move(10, 20);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QWindow* window = m_window->windowHandle();

    QObject* receiver = toWindow ? static_cast<QObject*>(window) : m_window.get();
    const auto eventType = QEvent::Type(type);
    if (eventType == QEvent::KeyPress || eventType == QEvent::KeyRelease) {
        QKeyEvent event(eventType, Qt::Key_A, Qt::NoModifier, quint32(scanCodeOrButton), 0, 0, QString(), autoRepeat);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(receiver, &event); // sendEvent() would clear the spontaneous flag
    } else {
        const auto button = Qt::MouseButton(scanCodeOrButton);
        const QPointF local(5, 6);
        QMouseEvent event(eventType, local, window->mapToGlobal(local), button, button, Qt::NoModifier);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(receiver, &event);
    }
    // The sentinel is a real event through the window system, so it also
    // passes Qt's own delivery to the widgets and Qt Quick.
    QTest::mouseClick(window, Qt::MiddleButton, Qt::NoModifier, QPoint(1, 1));
    QTRY_COMPARE(detections().size(), (expected.isEmpty() ? 0 : 1) + 2);
    QCOMPARE(detections().mid(0, detections().size() - 2), expected.isEmpty() ? QStringList{} : QStringList{expected});
    QCOMPARE(detections().mid(detections().size() - 2),
             (QStringList{"detectMouse(true,242,11,21)", "detectMouse(false,242,11,21)"}));
}

// A server that goes away ends the capture, not the program.
void TestCapture::x11ServerGoesAway()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        QSKIP("needs Xvfb");
    QProcess server;
    server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
    QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);
    const QByteArray display = ':' + server.readLine().trimmed();

    struct : InputEventSink {
        void keyEvent(quint8, bool) override {}
        void buttonEvent(quint8, bool, quint32, quint32) override {}
    } sink;
    std::unique_ptr<X11InputBackend> backend = X11InputBackend::create(sink, display);
    QVERIFY(backend && backend->isConnected());
    server.terminate();
    server.waitForFinished();
    QTRY_VERIFY(!backend->isConnected());
    QVERIFY(!X11InputBackend::create(sink, display));
}

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
