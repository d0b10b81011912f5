#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>

// Delivers "show a warning" requests from other programs to the main window:
// a tag and a block of bytes whose length is the request's byte count. On
// Windows these arrive as WM_COPYDATA; on Linux as a session-bus call.
class WarningRequestChannel : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(quint32 tag, const QByteArray& data)>;

    using QObject::QObject;
    ~WarningRequestChannel() override = default;

    // The handler runs on the GUI thread, after the request has been answered,
    // so that the sender never waits for what the handler shows.
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Requests handed on but not yet handled; beyond this many a request is
    // dropped with a debug line, so a flood cannot pile up in memory.
    static constexpr int maxPending = 8;

protected:
    void deliver(quint32 tag, const QByteArray& data);

private:
    Handler m_handler;
    int m_pending = 0;
    int m_dropped = 0; // since the queue was last empty
};

// The session-bus channel: service and interface "org.talvorn.SkarnConfig",
// object "/", method ShowWarning(u tag, ay data).
class DBusWarningChannel final : public WarningRequestChannel
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.talvorn.SkarnConfig")
public:
    static constexpr const char* serviceName = "org.talvorn.SkarnConfig";

    explicit DBusWarningChannel(QObject* parent = nullptr);
    ~DBusWarningChannel() override;

    // Registers the object and claims the service name on the session bus.
    // False (with a debug line) when there is no session bus or the name is
    // taken; the program then runs without the channel.
    bool registerOnSessionBus();

public Q_SLOTS:
    Q_SCRIPTABLE void ShowWarning(uint tag, const QByteArray& data);

private:
    bool m_registered = false;
};
