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
//    data.
#include "ViewRig.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlError>
#include <QtQuickTest>

#include <memory>

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
        QQmlContext* context = engine->rootContext();
        context->setContextProperty(QStringLiteral("ui_View"), &m_rig->view());
        context->setContextProperty(QStringLiteral("hid"), &m_rig->hid());
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

    std::unique_ptr<ViewRig> m_rig;
};

QUICK_TEST_MAIN_WITH_SETUP(skarn, QmlTestSetup)

#include "tst_qml.moc"
