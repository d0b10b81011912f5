#include "DeviceSession.h"

#include "Clock.h"
#include "DeviceCheck.h"
#include "DeviceCommands.h"
#include "HidapiBackend.h"
#include "TracingHidBackend.h"

DeviceSession::DeviceSession()
    : m_view(std::make_unique<ViewCore>())
{
    m_view->hid = &m_hid;
    m_hid.setTraits(m_view->traits);
    m_device = DeviceCommands::make(m_hid, m_view->traits);
    m_view->device = m_device.get();
    m_status.setTraits(m_view->traits);
    m_status.setPagesStartedHandler([this] { m_hid.post({}, [this] { m_device->pagesStarted(); }); });
    m_hid.setWritingHandler([this](bool writing) { m_status.setWriting(writing); });
    QObject::connect(m_view.get(), &ViewCore::saveFailed, &m_status, &DeviceStatus::noteSaveFailed);
    m_view->store().exported = [this](const QString& file) { Q_EMIT m_status.profileExported(file); };
    setListenerSink({});
}

void DeviceSession::setListenerSink(Hid_Thread::ListenerSink sink)
{
    auto gone = std::move(sink.deviceGone);
    sink.deviceGone = [this, gone = std::move(gone)] {
        m_status.setConnected(false);
        if (gone)
            gone();
    };
    m_hid.setListenerSink(std::move(sink));
}

// The writer sends what is queued while the unit its operations call is still
// there. Then the view core goes, then the unit, then the worker (which waits
// for its listener and closes its handles), then the transports it used.
DeviceSession::~DeviceSession()
{
    m_hid.finishWriter();
}

void DeviceSession::setClock(Clock* clock)
{
    m_clock = clock;
    m_hid.setClock(clock);
}

void DeviceSession::setTransport(HidBackend* device, QIODevice* trace)
{
    if (!device) {
        if (!m_hidapi)
            m_hidapi = std::make_unique<HidapiBackend>();
        device = m_hidapi.get();
    }
    m_tracing.reset();
    if (trace) {
        std::function<double()> now;
        if (Clock* clock = m_clock)
            now = [clock] { return double(clock->nowMs()); };
        m_tracing = std::make_unique<TracingHidBackend>(*device, trace, std::move(now));
        device = m_tracing.get();
    }
    m_hid.setBackend(device);
}

bool DeviceSession::check(const std::function<void()>& announce)
{
    // The check replaces the worker's list: it waits for what was queued.
    bool connected = false;
    m_hid.call([&] { connected = DeviceCheck::run(m_hid, *m_view, announce); });
    m_status.setConnected(connected);
    return connected;
}

void DeviceSession::useDevice(const DeviceRecord& entry)
{
    m_hid.deviceList = {entry};
    m_hid.currentIndex = 0;
}
