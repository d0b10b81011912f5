#include "DeviceChangeNotifier.h"
#include "Globals.h"
#include "TestSupport.h"
#include "Ui_Controler.h"
#include "UserEvent.h"
#include "ViewRig.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QQmlContext>
#include <QQmlExpression>
#include <QQuickItem>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

#include <thread>

// The main window, its tray, the controller and the view against the
// placeholder QML, all offscreen and in a temporary data folder.
class TestWidget : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void windowAndTray();
    void restoreOnlyWhileConnected_data() { addDataRows("widget.rows"); }
    void restoreOnlyWhileConnected();
    void changesIgnoredWhileListening();
    void controllerMovesHidesAndBusies();
    void rootCallsByName();
    void rootFunctionsChecked_data();
    void rootFunctionsChecked();
    void qmlReachesOperations();
    void viewReadsFlagsOnce();
    void resetApconfig();
    void otherUserEventsIgnored();
    void closeWithOrWithoutTray_data();
    void closeWithOrWithoutTray();

private:
    static QStringList rootCalls(Widget& w) { return w.view()->rootObject()->property("calls").toStringList(); }
    std::unique_ptr<TestDataFolder> m_data;
};

void TestWidget::init()
{
    // The window's own tests watch the calls arrive at a recording root.
    Ui_Controler::setRootSource(QUrl::fromLocalFile(QStringLiteral(SKARN_SOURCE_DIR "/tests/host/RecordingRoot.qml")));
    m_data = std::make_unique<TestDataFolder>();
    QVERIFY(m_data->isValid());
    // A desktop with a notification area, whatever the test platform says.
    Widget::setTrayCheck([] { return true; });
}

void TestWidget::cleanup()
{
    m_data.reset();
    Widget::setTrayCheck({});
}

// What the rest of the program relies on: the view loaded on the session's
// operations, hidden until run(); the check timer idle; a tray with both
// icon sizes from logo.ico and a menu that holds Quit only.
void TestWidget::windowAndTray()
{
    Widget w;
    QCOMPARE(&w.view()->core(), &w.session.view());
    QCOMPARE(w.session.view().hid, &w.session.hid());
    QCOMPARE(w.view()->status(), QQuickWidget::Ready);
    QVERIFY(!w.view()->rootObject()->isVisible());
    QVERIFY(w.checkTimer.isSingleShot() && !w.checkTimer.isActive());
    QVERIFY(w.trayIcon && w.trayIcon->isVisible());
    const QList<QSize> sizes = w.trayIcon->icon().availableSizes();
    QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)), "logo.ico holds 16 and 32 px images");
    QCOMPARE(w.trayIcon->contextMenu()->actions().size(), 1);
    // Only the window and the view are see-through: a dialog over the view
    // (the file dialogs) keeps its opaque colours.
    QFileDialog dialog(w.view());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    w.ensurePolished();
    dialog.ensurePolished();
    QCOMPARE(w.palette().window().color().alpha(), 0);
    QCOMPARE(dialog.palette().window().color().alpha(), 255);
    QCOMPARE(dialog.findChild<QAbstractItemView*>()->palette().base().color().alpha(), 255);
}

void TestWidget::restoreOnlyWhileConnected()
{
    ROW_FIELDS(f, 4);
    const QString trigger = f[1];
    const bool restored = f[3] == "true";
    Widget w;
    w.showNormal();
    QTRY_VERIFY(w.isVisible());
    w.controller->onClose(); // the QML's close button
    QVERIFY(!w.isVisible());
    w.session.status().setConnected(f[2] == "true");
    if (trigger == "message") {
        w.receiveMessage(QString());
    } else {
        const QStringList reasons{"Unknown", "Context", "DoubleClick", "Trigger", "MiddleClick"}; // enum order
        w.trayIconActivated(QSystemTrayIcon::ActivationReason(reasons.indexOf(trigger)));
    }
    QVERIFY(!w.isVisible()); // posted, not immediate
    QCoreApplication::sendPostedEvents();
    QCOMPARE(w.isVisible(), restored);

    if (restored) {
        // A minimised window comes back as well.
        w.controller->onMinimize();
        QTRY_VERIFY(w.isMinimized());
        w.receiveMessage(QStringLiteral("ignored text"));
        QTRY_VERIFY(!w.isMinimized());
        QVERIFY(w.isVisible());
    }
}

// A device change while the listener runs starts no check.
void TestWidget::changesIgnoredWhileListening()
{
    Widget w;
    auto fake = std::make_unique<FakeDeviceChangeNotifier>();
    FakeDeviceChangeNotifier* notifier = fake.get();
    w.setDeviceChangeNotifier(std::move(fake));
    for (bool listening : {true, false}) {
        w.session.hid().hidListenerRunning = listening;
        notifier->emitChange();
        QCOMPARE(w.checkTimer.isActive(), !listening);
    }
    w.checkTimer.stop();
}

void TestWidget::controllerMovesHidesAndBusies()
{
    Widget w;
    w.showNormal();
    w.move(100, 100);
    const QPoint start = w.pos();
    // Dragging: a pair of calls per mouse move, each relative to the last.
    for (const auto& [x, y] : {std::pair{5, 3}, std::pair{-2, 7}}) {
        w.controller->onXChanged(x);
        w.controller->onYChanged(y);
    }
    QCOMPARE(w.pos(), start + QPoint(3, 10));

    w.controller->setBusy();
    w.controller->setBusy(250);
    w.view()->core().setBusy(40);
    QCOMPARE(rootCalls(w), (QStringList{"setProtectUI(0)", "setProtectUI(250)", "setProtectUI(40)"}));

    // Without a window the controller's window slots do nothing.
    Ui_Controler lone;
    lone.onMinimize();
    lone.onClose();
    lone.onXChanged(3);
    lone.onYChanged(3);
    lone.setBusy();
}

void TestWidget::rootCallsByName()
{
    Widget w;
    myQQuickView* v = w.view();
    QVERIFY(!v->callRoot("noSuchFunction", {}, Qt::DirectConnection));
    QVERIFY(!v->callRoot("run", {1}, Qt::DirectConnection)); // wrong argument count
    QVERIFY(v->callRoot("detectKeyboard", {true, 4}, Qt::QueuedConnection));
    QVERIFY(v->callRoot("detectMouse", {false, 0xF0u, 10u, 20u}, Qt::QueuedConnection));
    QCOMPARE(rootCalls(w), QStringList());
    QTRY_COMPARE(rootCalls(w), (QStringList{"detectKeyboard(true,4)", "detectMouse(false,240,10,20)"}));
    // setCurrentDPI runs at once on the GUI thread, and is carried there from
    // another thread.
    v->core().setCurrentDPI(3);
    QCOMPARE(rootCalls(w).last(), QStringLiteral("setCurrentDPI(3)"));
    std::thread other([v] { v->core().setCurrentDPI(5); });
    other.join();
    QTRY_COMPARE(rootCalls(w).last(), QStringLiteral("setCurrentDPI(5)"));
    QCOMPARE(w.view()->rootObject()->property("currentDpiStage").toInt(), 5);
}

void TestWidget::rootFunctionsChecked_data()
{
    QTest::addColumn<QString>("functions");
    QTest::addColumn<QStringList>("warnings");
    const QString all = QStringLiteral("function initUI() {} function run() {} function setProtectUI(i) {} "
                                       "function setCurrentDPI(d) {} function detectKeyboard(d, c) {} "
                                       "function detectMouse(d, b, x, y) {}");
    const QString typo = QStringLiteral("QML root has no function tpyo taking 0 arguments: the call does nothing");
    QTest::addRow("complete") << all << QStringList{typo};
    QTest::addRow("run missing") << QString(all).remove(QStringLiteral("function run() {}"))
                                 << QStringList{"QML root has no function run(), which the program calls with 0 "
                                                "arguments",
                                                typo};
    QTest::addRow("setProtectUI without its argument")
        << QString(all).replace(QStringLiteral("setProtectUI(i)"), QStringLiteral("setProtectUI()"))
        << QStringList{"QML root function setProtectUI takes 0 arguments; the program calls it with 1", typo};
}

// A root without one of the functions the program calls, or with another
// argument count, is named once when it loads; a call to a function that is
// not there is named once, however often it comes, and does nothing.
void TestWidget::rootFunctionsChecked()
{
    QFETCH(QString, functions);
    QFETCH(QStringList, warnings);
    m_data->write(QStringLiteral("root.qml"), "import QtQuick\nItem { " + functions.toUtf8() + " }\n");
    for (const QString& warning : warnings)
        QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^QML root")));
    ViewCore core;
    myQQuickView view(core);
    view.setSource(QUrl::fromLocalFile(m_data->filePath(QStringLiteral("root.qml"))));
    QCOMPARE(view.status(), QQuickWidget::Ready);
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(view.callRoot("run", {}, Qt::DirectConnection), functions.contains(QStringLiteral("run()")));
        QCOMPARE(view.callRoot("setProtectUI", {1}, Qt::DirectConnection), functions.contains(QStringLiteral("(i)")));
        QVERIFY(!view.callRoot("tpyo", {}, Qt::DirectConnection));
    }
}

// The pages' QML's ui_View is the operations object: the global data, the
// worker's busy flag, and its setEnabled, which locks the widget that shows
// the pages.
void TestWidget::qmlReachesOperations()
{
    Ui_Controler::setRootSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
    Widget w;
    QVERIFY(w.view()->rootObject() && w.view()->rootObject()->property("mainLang").isValid());
    QQmlContext* context = w.view()->rootContext();
    auto eval = [&](const char* js) {
        return QQmlExpression(context, w.view()->rootObject(), QString::fromLatin1(js)).evaluate();
    };
    QCOMPARE(context->contextProperty(QStringLiteral("ui_View")).value<QObject*>(), &w.view()->core());
    // X11 and the offscreen platform let the window place itself.
    QCOMPARE(eval("shellWindow.placesItself").toBool(), true);
    QCOMPARE(eval("ui_View.getGlobalData('mouse/keyCount')").toString(), QStringLiteral("8"));
    QVERIFY(eval("ui_View.getGlobalData('mouse/noSuchKey')").isNull());
    eval("ui_View.setGlobalData('mouse/profileNo', 3)");
    w.view()->core().store().global().sync();
    QVERIFY(m_data->read("modules/setting/apConfig.bin").contains("profileNo=3"));
    w.session.hid().hidReady = false;
    eval("ui_View.clearHidBusy()");
    QVERIFY(w.session.hid().hidReady);
    for (bool enabled : {false, true}) {
        eval(enabled ? "ui_View.setEnabled(true)" : "ui_View.setEnabled(false)");
        QCOMPARE(w.view()->isEnabled(), enabled);
    }
}

void TestWidget::viewReadsFlagsOnce()
{
    m_data->write("modules/setting/apConfig.bin",
                  "[mouse]\nisColorful=true\nisGun=0\nicType=560\nis55328=TRUE\nis571=false\n");
    {
        Widget w;
        myQQuickView* v = w.view();
        DeviceTraits expected;
        expected.commandSet = CommandSet::Set560;
        expected.isColorful = expected.is55328 = true;
        QVERIFY(v->core().traits == expected);
        v->core().setGlobalData("mouse/icType", "553");
        QVERIFY(v->core().traits == expected);
        // The worker was handed the same traits.
        QVERIFY(w.session.hid().traits() == expected);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    m_data->write("modules/setting/apConfig.bin", "");
    Widget bare;
    QVERIFY(bare.view()->core().traits == DeviceTraits{});
    QCOMPARE(bare.windowTitle(), QString());
}

// The factory file replaces apConfig.bin and the store reads it again; the
// old store, deleted later, writes nothing over it. Without a factory file
// apConfig.bin is kept as it is.
void TestWidget::resetApconfig()
{
    Widget w;
    ViewCore* v = &w.view()->core();
    const QByteArray factory = m_data->read("modules/setting/apConfigD.bin");
    v->setGlobalData("common/name", "changed");
    v->setGlobalData("mouse/extra", "1");
    v->resetApconfig();
    QCOMPARE(m_data->read("modules/setting/apConfig.bin"), factory);
    QCOMPARE(v->getGlobalData("common/name").toString(), QStringLiteral("TALVORN SKARN MOUSE R410"));
    QVERIFY(!v->getGlobalData("mouse/extra").isValid());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCOMPARE(m_data->read("modules/setting/apConfig.bin"), factory);

    QVERIFY(QFile::remove(m_data->filePath("modules/setting/apConfigD.bin")));
    v->setGlobalData("common/name", "mine");
    v->resetApconfig();
    QCOMPARE(v->getGlobalData("common/name").toString(), QStringLiteral("mine"));
    const QByteArray kept = m_data->read("modules/setting/apConfig.bin");
    QVERIFY(kept.contains("name=mine") && kept.contains("deviceCount=1"));
    QVERIFY(!QFile::exists(m_data->filePath("modules/setting/apConfigD.bin")));
}

void TestWidget::otherUserEventsIgnored()
{
    Widget w;
    QCoreApplication::postEvent(&w, new UserEvent(1));
    QCoreApplication::postEvent(&w, new QEvent(QEvent::Type(QEvent::User + 5)));
    QCoreApplication::sendPostedEvents();
    QCOMPARE(rootCalls(w), QStringList());
    QCoreApplication::postEvent(&w, new UserEvent(UserEvent::runUiValue));
    QTRY_COMPARE(rootCalls(w), QStringList{"run"});
}

void TestWidget::closeWithOrWithoutTray_data()
{
    QTest::addColumn<bool>("tray");
    QTest::addRow("tray: hidden") << true;
    QTest::addRow("no tray: ended like Quit") << false;
}

// The close button hides the window in the tray; with no tray to bring it
// back from it ends the program as Quit does (listener stopped, exit code 0).
void TestWidget::closeWithOrWithoutTray()
{
    QFETCH(bool, tray);
    Widget::setTrayCheck([tray] { return tray; });
    Widget w;
    QCOMPARE(w.trayAvailable(), tray);
    w.showNormal();
    QTRY_VERIFY(w.isVisible());
    w.session.hid().hidListenerRunning = true;
    if (tray) {
        w.controller->onClose();
        QVERIFY(!w.isVisible());
        QVERIFY(w.session.hid().hidListenerRunning);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(0, w.controller, &Ui_Controler::onClose);
    // Reached only when the close button did not end the loop.
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(42); });
    QCOMPARE(loop.exec(), 0);
    QVERIFY(!w.session.hid().hidListenerRunning);
}

QTEST_MAIN(TestWidget)
#include "tst_widget.moc"
