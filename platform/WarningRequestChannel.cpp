#include "WarningRequestChannel.h"

#include "PlatformLog.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMetaObject>

void WarningRequestChannel::deliver(quint32 tag, const QByteArray& data)
{
    if (!m_handler)
        return;
    if (m_pending >= maxPending) {
        if (m_dropped++ == 0)
            qCDebug(skarnPlatform) << "warning requests dropped:" << m_pending << "are waiting already";
        return;
    }
    // Queued, so that the request is answered before anything is shown.
    ++m_pending;
    QMetaObject::invokeMethod(
        this,
        [this, tag, data] {
            if (--m_pending == 0 && m_dropped > 0) {
                qCDebug(skarnPlatform) << m_dropped << "warning requests were dropped";
                m_dropped = 0;
            }
            if (m_handler)
                m_handler(tag, data);
        },
        Qt::QueuedConnection);
}

DBusWarningChannel::DBusWarningChannel(QObject* parent)
    : WarningRequestChannel(parent)
{
}

DBusWarningChannel::~DBusWarningChannel()
{
    if (m_registered) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(QStringLiteral("/"));
        bus.unregisterService(QString::fromLatin1(serviceName));
    }
}

bool DBusWarningChannel::registerOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCDebug(skarnPlatform) << "no session bus: warning requests are not received";
        return false;
    }
    if (!bus.registerObject(QStringLiteral("/"), this, QDBusConnection::ExportScriptableSlots)) {
        qCDebug(skarnPlatform) << "cannot register the warning object on the session bus";
        return false;
    }
    if (!bus.registerService(QString::fromLatin1(serviceName))) {
        qCDebug(skarnPlatform) << "session bus name" << serviceName << "is taken: warning requests are not received";
        bus.unregisterObject(QStringLiteral("/"));
        return false;
    }
    m_registered = true;
    return true;
}

void DBusWarningChannel::ShowWarning(uint tag, const QByteArray& data)
{
    deliver(tag, data);
}
