// Runs the Qt Quick tests in tests/qml: the pages' JavaScript libraries, their
// controls, and pages driven against the real view operations.
//
// Every test file gets an engine of its own. For each, the setup below
//  - fails the test that is running on any warning the engine reports (a
//    binding that cannot be assigned, a type error, a reference to a name
//    that does not exist), with the warning's text and place: the QML is
//    expected to run without one. Warnings raised while a file loads reach
//    the engine's signal only when loading ends, so a TestCase whose tests
//    run during loading (no `when: windowShown`) sees them after its last
//    test, and not at all for a binding or object already gone by then;
//  - gives the QML the real operations as the program does: `ui_View` (the
//    view core) and `hid` (the HID worker) of a device session on the virtual
//    mouse, over a scratch copy of modules/ that is the working directory. The
//    session lives as long as the engine, so each file starts from the shipped
//    data;
//  - `ui_Ctl`, a stand-in for the window control that records the moves,
//    minimise and close the QML asks for, and `testRig`, through which a test
//    reads what the virtual mouse received or starts over on other global
//    keys (a command set 560 mouse, say), and reads the pointer settings the
//    view applied (a recording stand-in: the desktop's own stay untouched);
//  - answers the view's file dialogs from `testFiles`: the file a test put
//    in openPath or savePath (empty: the user cancels), with helpers to name
//    a file in the scratch folder and to look at files there.
#include "FileChooser.h"
#include "PointerSettings.h"
#include "ViewRig.h"
#include "WindowControl.h"

#include <QDir>
#include <QFile>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlError>
#include <QtQuickTest>

#include <memory>

// The window control as the QML calls it; every call is kept as text.
class ControlRecorder : public WindowControl
{
    Q_OBJECT
    Q_PROPERTY(QStringList calls MEMBER m_calls NOTIFY callsChanged)
public:
    Q_INVOKABLE void clear() { record({}); }

public Q_SLOTS:
    void onMinimize() override { record(QStringLiteral("minimize")); }
    void onClose() override { record(QStringLiteral("close")); }
    void onXChanged(int x) override { record(QStringLiteral("x%1").arg(x)); }
    void onYChanged(int y) override { record(QStringLiteral("y%1").arg(y)); }

Q_SIGNALS:
    void callsChanged();

private:
    void record(const QString& call)
    {
        if (call.isEmpty())
            m_calls.clear();
        else
            m_calls << call;
        Q_EMIT callsChanged();
    }
    QStringList m_calls;
};

class TestFiles : public QObject, public FileChooser
{
    Q_OBJECT
    Q_PROPERTY(QString openPath MEMBER m_openPath)
    Q_PROPERTY(QString savePath MEMBER m_savePath)

public:
    QString openFileName(const QString&, const QString&, const QString&) override { return m_openPath; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return m_savePath; }

    void reset(const QString& folder)
    {
        m_folder = folder;
        m_openPath.clear();
        m_savePath.clear();
    }

    // name in the scratch folder, which is also the working directory.
    Q_INVOKABLE QString scratchPath(const QString& name) const { return QDir(m_folder).filePath(name); }
    Q_INVOKABLE bool exists(const QString& path) const { return QFile::exists(path); }
    Q_INVOKABLE bool remove(const QString& path) const { return QFile::remove(path); }
    // The file's bytes as text; null when it cannot be read.
    Q_INVOKABLE QString read(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QString m_folder;
    QString m_openPath;
    QString m_savePath;
};

// The rig behind ui_View and hid, as the tests see it.
class TestRig : public QObject
{
    Q_OBJECT
public:
    explicit TestRig(QQmlContext* context)
        : m_context(context)
    {
        restart({});
        PointerSettings::setDefault(&m_pointer);
    }
    ~TestRig() override { PointerSettings::setDefault(nullptr); }

    bool isValid() const { return m_rig && m_rig->data.isValid(); }

    // A new data folder and session whose apConfig.bin [mouse] keys are
    // changed as given ({"icType": "560"}); ui_View and hid become the new
    // session's. Objects made before keep the old ones.
    Q_INVOKABLE void restart(const QVariantMap& mouseKeys)
    {
        ViewRig::MouseKeys keys;
        for (auto it = mouseKeys.begin(); it != mouseKeys.end(); ++it)
            keys.append({it.key(), it.value().toString()});
        // The old folder gives the working directory back when it goes: it
        // goes first.
        m_rig.reset();
        m_rig = std::make_unique<ViewRig>(keys);
        m_files.reset(m_rig->data.path());
        m_rig->view().setFileChooser(&m_files);
        m_context->setContextProperty(QStringLiteral("ui_View"), &m_rig->view());
        m_context->setContextProperty(QStringLiteral("hid"), &m_rig->hid());
        m_context->setContextProperty(QStringLiteral("testFiles"), &m_files);
        m_context->setContextProperty(QStringLiteral("deviceStatus"), &m_rig->session->status());
        m_rig->session->status().setConnected(true);
    }

    // Writes to modules/setting fail while broken, as on a full disk: the
    // folder is moved aside and a file stands in its place.
    Q_INVOKABLE bool breakSettingsFolder(bool broken)
    {
        QDir data(m_rig->data.path());
        const QString folder = data.filePath(QStringLiteral("modules/setting"));
        const QString aside = folder + QStringLiteral(".aside");
        if (!broken)
            return QFile::remove(folder) && QDir().rename(aside, folder);
        QFile standIn(folder);
        return QDir().rename(folder, aside) && standIn.open(QIODevice::WriteOnly);
    }

    // The mouse pulled out, or plugged in and found by a device check (whose
    // frames are cleared); the pages' initUI is the test's to call.
    Q_INVOKABLE void setConnected(bool connected)
    {
        if (!connected) {
            m_rig->mouse->unplug();
            m_rig->session->status().setConnected(false);
            return;
        }
        m_rig->mouse->plug();
        m_rig->session->check();
        m_rig->mouse->clearReceived();
    }

    // The command frames the mouse received, in hex, oldest first.
    Q_INVOKABLE QStringList frames() const
    {
        QStringList out;
        for (const QByteArray& frame : m_rig->mouse->receivedFrames())
            out << QString::fromLatin1(frame.toHex());
        return out;
    }
    Q_INVOKABLE void clearFrames() { m_rig->mouse->clearReceived(); }
    // What the session reports when a file could not be written.
    Q_INVOKABLE void reportUnsaved(const QString& file) { m_rig->session->status().setUnsavedFile(file); }
    // As the writer tells it while changes are on their way to the mouse.
    Q_INVOKABLE void setWriting(bool writing) { m_rig->session->status().setWriting(writing); }
    Q_INVOKABLE QVariantMap mouseState() const { return m_rig->mouse->stateJson().toVariantMap(); }
    // The 560 mouse's current profile block, 0..4.
    Q_INVOKABLE void setMouseProfile(int profile)
    {
        VirtualMouse::State state = m_rig->mouse->state();
        state.profile = std::uint8_t(profile);
        m_rig->mouse->setState(state);
    }

    // The pointer settings applied since the last clear, by their values
    // (speed 1..20, doubleClickTime in ms, wheelLines); one not applied is
    // absent.
    Q_INVOKABLE QVariantMap pointerSettings() const
    {
        QVariantMap out;
        if (m_pointer.speed)
            out.insert(QStringLiteral("speed"), *m_pointer.speed);
        if (m_pointer.doubleClickTime)
            out.insert(QStringLiteral("doubleClickTime"), *m_pointer.doubleClickTime);
        if (m_pointer.wheelLines)
            out.insert(QStringLiteral("wheelLines"), *m_pointer.wheelLines);
        return out;
    }
    Q_INVOKABLE void clearPointerSettings()
    {
        m_pointer.speed.reset();
        m_pointer.doubleClickTime.reset();
        m_pointer.wheelLines.reset();
    }

private:
    QQmlContext* m_context;
    TestFiles m_files;
    FakePointerSettings m_pointer;
    std::unique_ptr<ViewRig> m_rig;
};

class QmlTestSetup : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        connect(engine, &QQmlEngine::warnings, this, &QmlTestSetup::failOnWarnings);
        // The pages' module lives in the resources, under modules/qml.
        engine->addImportPath(QStringLiteral("qrc:/"));

        // The previous file's engine is gone by now, and its session with it.
        QQmlContext* context = engine->rootContext();
        m_rig = std::make_unique<TestRig>(context);
        if (!m_rig->isValid())
            qFatal("tst_qml: no scratch folder for the data files");
        m_control = std::make_unique<ControlRecorder>();
        connect(engine, &QObject::destroyed, this, [this] {
            m_rig.reset();
            m_control.reset();
        });
        context->setContextProperty(QStringLiteral("testRig"), m_rig.get());
        context->setContextProperty(QStringLiteral("ui_Ctl"), m_control.get());
    }

    void cleanupTestCase()
    {
        m_rig.reset();
        m_control.reset();
    }

private:
    void failOnWarnings(const QList<QQmlError>& warnings)
    {
        for (const QQmlError& warning : warnings) {
            const QByteArray text = "QML warning: " + warning.toString().toUtf8();
            const QByteArray file = warning.url().toLocalFile().toUtf8();
            QTest::qFail(text.constData(), file.isEmpty() ? nullptr : file.constData(), warning.line());
        }
    }

    std::unique_ptr<TestRig> m_rig;
    std::unique_ptr<ControlRecorder> m_control;
};

QUICK_TEST_MAIN_WITH_SETUP(skarn, QmlTestSetup)

#include "tst_qml.moc"
