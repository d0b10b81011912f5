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
//  - answers the view's file dialogs from `testFiles`: the file a test put
//    in openPath or savePath (empty: the user cancels), with helpers to name
//    a file in the scratch folder and to look at files there.
#include "FileChooser.h"
#include "ViewRig.h"

#include <QDir>
#include <QFile>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlError>
#include <QtQuickTest>

#include <memory>

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

class QmlTestSetup : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        connect(engine, &QQmlEngine::warnings, this, &QmlTestSetup::failOnWarnings);

        // The previous file's engine is gone by now, and its session with it.
        m_rig = std::make_unique<ViewRig>();
        if (!m_rig->data.isValid())
            qFatal("tst_qml: no scratch folder for the data files");
        connect(engine, &QObject::destroyed, this, [this] { m_rig.reset(); });
        m_files.reset(m_rig->data.path());
        m_rig->view().setFileChooser(&m_files);
        QQmlContext* context = engine->rootContext();
        context->setContextProperty(QStringLiteral("ui_View"), &m_rig->view());
        context->setContextProperty(QStringLiteral("hid"), &m_rig->hid());
        context->setContextProperty(QStringLiteral("testFiles"), &m_files);
    }

    void cleanupTestCase() { m_rig.reset(); }

private:
    void failOnWarnings(const QList<QQmlError>& warnings)
    {
        for (const QQmlError& warning : warnings) {
            const QByteArray text = "QML warning: " + warning.toString().toUtf8();
            const QByteArray file = warning.url().toLocalFile().toUtf8();
            QTest::qFail(text.constData(), file.isEmpty() ? nullptr : file.constData(), warning.line());
        }
    }

    TestFiles m_files;
    std::unique_ptr<ViewRig> m_rig;
};

QUICK_TEST_MAIN_WITH_SETUP(skarn, QmlTestSetup)

#include "tst_qml.moc"
