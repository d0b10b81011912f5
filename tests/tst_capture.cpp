#include "InputCapture.h"
#include "ProgramRig.h"
#include "TestSupport.h"
#include "Ui_Controler.h"
#include "Widget.h"
#include "X11InputBackend.h"
#include "myQQuickView.h"

#include <QQuickItem>
#include <QScopeGuard>
#include <QWindow>
#include <qtestspontaneevent.h>

// Key and button capture wired to the main window the way start-up wires it,
// observed in the calls the placeholder QML root records. On a real X server
// (the Xvfb display of tools/dev) synthetic input goes through the server with
// xdotool; without one, only the program's own windows are watched.
class TestCapture : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup()
    {
        m_capture.reset();
        m_window.reset();
        m_data.reset();
    }
    void x11_data();
    void x11();
    void ownWindowsWithoutX11_data() { addDataRows("capture-own.rows"); }
    void ownWindowsWithoutX11();
    void x11ServerGoesAway();

private:
    void startCapture();
    QStringList detections() const
    {
        return m_window->view()->rootObject()->property("calls").toStringList().filter(QStringLiteral("detect"));
    }

    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<Widget> m_window;
    std::unique_ptr<InputCapture> m_capture;
};

namespace {

void forwardKey(quint8 keyCode, bool pressed, void* user)
{
    static_cast<Widget*>(user)->view()->callRoot("detectKeyboard", {pressed, int(keyCode)}, Qt::QueuedConnection);
}

void forwardButton(quint32 buttonCode, bool pressed, quint32 x, quint32 y, void* user)
{
    static_cast<Widget*>(user)->view()->callRoot("detectMouse", {pressed, buttonCode, x, y}, Qt::QueuedConnection);
}

// The calls a row names: k+HH / k-HH for keys, b+HH / b-HH for buttons at a
// position (",x,y").
QStringList calls(const QString& tokens, const QString& at)
{
    QStringList result;
    for (const QString& t : tokens.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool key = t.startsWith(QLatin1Char('k'));
        result << QStringLiteral("%1(%2,%3%4)")
                      .arg(key ? "detectKeyboard" : "detectMouse", t.at(1) == QLatin1Char('+') ? "true" : "false")
                      .arg(t.mid(2).toInt(nullptr, 16))
                      .arg(key ? QString() : at);
    }
    return result;
}

} // namespace

void TestCapture::init()
{
    // The window's own tests watch the calls arrive at a recording root.
    Ui_Controler::setRootSource(QUrl::fromLocalFile(QStringLiteral(SKARN_SOURCE_DIR "/tests/host/RecordingRoot.qml")));
    m_data = std::make_unique<TestDataFolder>();
    QVERIFY(m_data->isValid());
    m_window = std::make_unique<Widget>();
    QVERIFY(m_window->view() && m_window->view()->rootObject());
}

void TestCapture::startCapture()
{
    m_capture = std::make_unique<InputCapture>();
    QVERIFY(m_capture->start());
    m_capture->setKeyboardCallback(forwardKey, m_window.get());
    m_capture->setMouseCallback(forwardButton, m_window.get());
}

void TestCapture::x11_data()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server: run through tools/dev test");
    addDataRows("capture-x11.rows");
}

// Every row runs with the window shown once and hidden again, as it is while
// it sits in the tray: the capture listens on the root window, not on ours.
void TestCapture::x11()
{
    FETCH_DATA_ROW(row);
    m_window->show();
    m_window->hide();
    startCapture();
    QCOMPARE(m_capture->backendName(), QStringLiteral("X11 raw input"));
    // The row's layout, and the US layout again however the test ends.
    auto restoreLayout = qScopeGuard([] { QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("us")}); });
    QCOMPARE(QProcess::execute(QStringLiteral("setxkbmap"), {row.field(1).isEmpty() ? "us" : row.field(1)}), 0);

    // Escape follows the row's input: once its release has come, so has
    // everything before it.
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), (row.field(2) + " key Escape").split(' ', Qt::SkipEmptyParts));
    QVERIFY(xdotool.waitForFinished(10000) && xdotool.exitCode() == 0);
    const QStringList expected = calls(row.field(3) + " k+29 k-29", ",100,200");
    QTRY_VERIFY_WITH_TIMEOUT(detections().contains(expected.last()), 5000);
    QCOMPARE(detections(), expected);
}

// Without an X server only the program's own windows are seen, through the
// native scan code (the X keycode on xcb and Wayland), once per event.
void TestCapture::ownWindowsWithoutX11()
{
    FETCH_DATA_ROW(row);
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

    QObject* receiver = row.field(4) == "window" ? static_cast<QObject*>(window) : m_window.get();
    const QString event = row.field(1);
    const int code = row.field(2).toInt(); // a scan code or a Qt::MouseButton
    const auto button = Qt::MouseButton(code);
    const QPointF local(5, 6);
    std::unique_ptr<QInputEvent> e;
    if (event == "press" || event == "release")
        e = std::make_unique<QKeyEvent>(event == "press" ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_A,
                                        Qt::NoModifier, quint32(code), 0, 0, QString(), row.field(3) == "yes");
    else
        e = std::make_unique<QMouseEvent>(event == "down" ? QEvent::MouseButtonPress
                                          : event == "up" ? QEvent::MouseButtonRelease
                                                          : QEvent::MouseButtonDblClick,
                                          local, window->mapToGlobal(local), button, button, Qt::NoModifier);
    QSpontaneKeyEvent::setSpontaneous(e.get());
    qApp->notify(receiver, e.get()); // sendEvent() would clear the spontaneous flag
    // The sentinel is a real event through the window system, so it also
    // passes Qt's own delivery to the widgets and Qt Quick.
    QTest::mouseClick(window, Qt::MiddleButton, Qt::NoModifier, QPoint(1, 1));
    const QStringList expected = calls(row.field(5), ",15,26") + calls("b+F2 b-F2", ",11,21");
    QTRY_COMPARE(detections().size(), expected.size());
    QCOMPARE(detections(), expected);
}

// A server that goes away ends the capture, not the program.
void TestCapture::x11ServerGoesAway()
{
    if (!XServer::available())
        QSKIP("needs Xvfb");
    auto server = std::make_unique<XServer>();
    const QByteArray display = server->display.toLatin1();
    QVERIFY(!display.isEmpty());
    struct : InputEventSink
    {
        void keyEvent(quint8, bool) override {}
        void buttonEvent(quint8, bool, quint32, quint32) override {}
    } sink;
    std::unique_ptr<X11InputBackend> backend = X11InputBackend::create(sink, display);
    QVERIFY(backend && backend->isConnected());
    server.reset();
    QTRY_VERIFY(!backend->isConnected());
    QVERIFY(!X11InputBackend::create(sink, display));
}

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
