#include "myQQuickView.h"

#include "AppLog.h"
#include "Globals.h"
#include "Hid_Thread.h"
#include "IniValue.h"
#include "SafeFile.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QMetaMethod>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QThread>

myQQuickView::myQQuickView(QWidget* parent)
    : QQuickWidget(parent)
    , m_global(std::make_unique<QSettings>(DataPath::apConfig, QSettings::IniFormat))
{
    connect(this, &QQuickWidget::statusChanged, this, &myQQuickView::onStatusChanged);
    // The first frame that shows the QML root (it starts invisible and
    // initUI() reveals it) marks the end of a cold start.
    m_firstFrame = connect(quickWindow(), &QQuickWindow::afterRendering, this, [this] {
        if (!rootObject() || !rootObject()->isVisible())
            return;
        disconnect(m_firstFrame);
        qCDebug(skarnApp) << "first frame rendered";
    });

    isColorful = IniValue::boolean(getGlobalData(QStringLiteral("mouse/isColorful")));
    isGun = IniValue::boolean(getGlobalData(QStringLiteral("mouse/isGun")));
    icType = IniValue::text(getGlobalData(QStringLiteral("mouse/icType")));
    is55328 = IniValue::boolean(getGlobalData(QStringLiteral("mouse/is55328")));
    is571 = IniValue::boolean(getGlobalData(QStringLiteral("mouse/is571")));
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
        return method.invoke(root, type, arguments[0], arguments[1], arguments[2], arguments[3],
                             arguments[4], arguments[5], arguments[6], arguments[7], arguments[8],
                             arguments[9]);
    }
    return false;
}

void myQQuickView::clearHidBusy()
{
    if (hid)
        hid->hidReady = true;
}

void myQQuickView::initUI()
{
    callRoot("initUI", {}, Qt::QueuedConnection);
}

void myQQuickView::runUI()
{
    callRoot("run", {}, Qt::QueuedConnection);
}

void myQQuickView::resetApconfig()
{
    // The old store's pending writes go to disk first, so nothing queued in it
    // lands on the restored file afterwards.
    const QString fileName = m_global->fileName();
    m_global->sync();
    m_global.release()->deleteLater();
    // Replaced in one step: a missing or unreadable factory copy leaves the
    // current file as it is.
    SafeFile::replaceWithCopy(DataPath::apConfigFactory, fileName);
    m_global = std::make_unique<QSettings>(DataPath::apConfig, QSettings::IniFormat);
}

void myQQuickView::mouseReadProfile(uint profileNo)
{
    if (profileNo >= profileImages.size()) {
        qCDebug(skarnApp) << "mouseReadProfile: no profile image" << profileNo;
        return;
    }
    if (hid)
        hid->hid560_8CH_readProfile(profileImages[profileNo].data(), uchar(profileNo));
}

QVariant myQQuickView::getGlobalData(QVariant key)
{
    return m_global->value(key.toString());
}

void myQQuickView::setGlobalData(QVariant key, QVariant tmpdata)
{
    m_global->setValue(key.toString(), tmpdata);
}

void myQQuickView::setBusy(int busyTime)
{
    callRoot("setProtectUI", {busyTime}, Qt::DirectConnection);
}

void myQQuickView::setCurrentDPI(int dpiValue)
{
    // The listener calls this from its pool thread; the QML engine lives on
    // the GUI thread, so the call is carried there.
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, dpiValue] { callRoot("setCurrentDPI", {dpiValue}, Qt::DirectConnection); },
            Qt::QueuedConnection);
        return;
    }
    callRoot("setCurrentDPI", {dpiValue}, Qt::DirectConnection);
}
