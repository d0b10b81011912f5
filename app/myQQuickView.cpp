#include "myQQuickView.h"

#include "AppLog.h"
#include "DialogFileChooser.h"
#include "Globals.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QMetaMethod>
#include <QQmlEngine>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickWindow>

#include <malloc.h>

namespace {
// The root's functions the program calls by name, with the number of
// arguments it passes.
struct RootFunction
{
    const char* name;
    int arguments;
};
constexpr RootFunction rootFunctions[] = {
    {"initUI", 0}, {"run", 0}, {"setProtectUI", 1}, {"setCurrentDPI", 1}, {"detectKeyboard", 2}, {"detectMouse", 4}};

// The root's functions (and slots) of that name, whatever their count, the
// most derived first (a QML root may be a component of its own).
QList<QMetaMethod> rootMethods(const QObject* root, const char* name)
{
    QList<QMetaMethod> found;
    const QMetaObject* meta = root->metaObject();
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if ((method.methodType() == QMetaMethod::Method || method.methodType() == QMetaMethod::Slot) &&
            method.name() == name)
            found << method;
    }
    return found;
}
} // namespace

myQQuickView::myQQuickView(ViewCore& core, QWidget* parent)
    : QQuickWidget(parent)
    , m_core(core)
    , m_dialogs(std::make_unique<DialogFileChooser>(this))
{
    m_core.setRootCaller([this](const char* name, const QVariantList& args, Qt::ConnectionType type) {
        return callRoot(name, args, type);
    });
    m_core.setFileChooser(m_dialogs.get());
    // The pages' module lives in the resources, under modules/qml.
    engine()->addImportPath(QStringLiteral("qrc:/"));
    m_core.setEnableTarget([this](bool enabled) { setEnabled(enabled); });
    connect(this, &QQuickWidget::statusChanged, this, &myQQuickView::onStatusChanged);
    // The first frame that shows the QML root (it starts invisible and
    // initUI() reveals it) marks the end of a cold start.
    m_firstFrame = connect(quickWindow(), &QQuickWindow::afterRendering, this, [this] {
        if (!rootObject() || !rootObject()->isVisible())
            return;
        disconnect(m_firstFrame);
        qCDebug(skarnApp) << "first frame rendered";
    });
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::onStatusChanged(QQuickWidget::Status status)
{
    if (status == QQuickWidget::Ready) {
        checkRootFunctions();
        return;
    }
    if (status != QQuickWidget::Error)
        return;
    for (const QQmlError& error : errors())
        qCWarning(skarnApp).noquote() << error.toString();
}

void myQQuickView::focusInEvent(QFocusEvent* event)
{
    update();
    event->accept();
}

void myQQuickView::hideEvent(QHideEvent* event)
{
    QQuickWidget::hideEvent(event);
    // Hidden in the tray for hours: the scene graph's textures and caches
    // are made again when the window shows.
    quickWindow()->releaseResources();
    ::malloc_trim(0);
}

void myQQuickView::checkRootFunctions()
{
    m_reportedMissing.clear();
    const QObject* root = rootObject();
    if (!root)
        return;
    for (const RootFunction& expected : rootFunctions) {
        QStringList counts;
        bool matches = false;
        for (const QMetaMethod& method : rootMethods(root, expected.name)) {
            matches = matches || method.parameterCount() == expected.arguments;
            counts << QString::number(method.parameterCount());
        }
        if (matches)
            continue;
        reportMissing(expected.name,
                      counts.isEmpty()
                          ? QStringLiteral("has no function %1(), which the program calls with %2 arguments")
                                .arg(QLatin1String(expected.name))
                                .arg(expected.arguments)
                          : QStringLiteral("function %1 takes %2 arguments; the program calls it with %3")
                                .arg(QLatin1String(expected.name), counts.join(QLatin1Char('/')))
                                .arg(expected.arguments));
    }
}

void myQQuickView::reportMissing(const QByteArray& name, const QString& what)
{
    if (m_reportedMissing.contains(name))
        return;
    m_reportedMissing.insert(name);
    qCWarning(skarnApp).noquote() << "QML root" << what;
}

bool myQQuickView::callRoot(const char* name, const QVariantList& args, Qt::ConnectionType type)
{
    QObject* root = rootObject();
    if (!root)
        return false;
    const QList<QMetaMethod> methods = rootMethods(root, name);
    for (const QMetaMethod& method : methods) {
        if (method.parameterCount() != args.size())
            continue;
        // Untyped QML parameters are QVariant; typed ones get the value
        // converted to their type.
        QVariantList converted = args;
        QGenericArgument arguments[10];
        if (args.size() > 10)
            return false;
        for (qsizetype a = 0; a < converted.size(); ++a) {
            const QMetaType paramType = method.parameterMetaType(int(a));
            if (paramType.id() == QMetaType::QVariant) {
                arguments[a] = QGenericArgument("QVariant", &converted[a]);
            } else {
                if (!converted[a].convert(paramType))
                    converted[a] = QVariant(paramType);
                arguments[a] = QGenericArgument(paramType.name(), converted[a].constData());
            }
        }
        return method.invoke(root, type, arguments[0], arguments[1], arguments[2], arguments[3], arguments[4],
                             arguments[5], arguments[6], arguments[7], arguments[8], arguments[9]);
    }
    reportMissing(name, QStringLiteral("has no function %1 taking %2 arguments: the call does nothing")
                            .arg(QLatin1String(name))
                            .arg(args.size()));
    return false;
}
