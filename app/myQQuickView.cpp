#include "myQQuickView.h"

#include "AppLog.h"
#include "DialogFileChooser.h"
#include "Globals.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QMetaMethod>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickWindow>

#include <malloc.h>

myQQuickView::myQQuickView(ViewCore& core, QWidget* parent)
    : QQuickWidget(parent)
    , m_core(core)
    , m_dialogs(std::make_unique<DialogFileChooser>(this))
{
    m_core.setRootCaller([this](const char* name, const QVariantList& args, Qt::ConnectionType type) {
        return callRoot(name, args, type);
    });
    m_core.setFileChooser(m_dialogs.get());
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

bool myQQuickView::callRoot(const char* name, const QVariantList& args, Qt::ConnectionType type)
{
    QObject* root = rootObject();
    if (!root)
        return false;
    const QMetaObject* meta = root->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Method && method.methodType() != QMetaMethod::Slot)
            continue;
        if (method.name() != name || method.parameterCount() != args.size())
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
    return false;
}
