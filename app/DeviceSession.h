#pragma once

#include "DeviceStatus.h"
#include "Hid_Thread.h"
#include "ViewCore.h"

#include <functional>
#include <memory>

class Clock;
class DeviceCommands;
class HidBackend;
class HidapiBackend;
class QIODevice;
class TracingHidBackend;
struct DeviceRecord;

// The device stack of one run, built and wired in one place: the transport
// (hidapi, or a backend handed in such as the virtual mouse's), the protocol
// trace around it when asked for, the HID worker on it, the command set's
// unit, the view core and the device check. The device traits are read once,
// when the view core is made (from the data folder that is current then); by
// them the session picks the unit, once, and hands them to the worker and,
// through status(), to the pages.
//
// The tray window, skarnctl, the benches and the test rigs all build one.
// GUI thread only.
class DeviceSession
{
public:
    DeviceSession();
    ~DeviceSession();

    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    Hid_Thread& hid() { return m_hid; }
    ViewCore& view() { return *m_view; }
    const DeviceTraits& traits() const { return m_view->traits; }
    // The command set's unit the view core's operations call.
    DeviceCommands& device() { return *m_device; }
    // Connected after a check that found a mouse, until a check finds none or
    // the listener reports the mouse gone; the last file a change could not
    // be saved to.
    DeviceStatus& status() { return m_status; }

    // What the listener reports (see Hid_Thread::setListenerSink); the
    // session also marks the mouse gone in status() before sink.deviceGone.
    void setListenerSink(Hid_Thread::ListenerSink sink);

    // The clock for the worker's delays and the trace's time column (not
    // owned). The system clock until set; set it before setTransport.
    void setClock(Clock* clock);

    // Where the worker's transfers go: device (not owned; must outlive the
    // session), or, when null, a hidapi backend the session makes (hidapi is
    // initialised then, on this thread). With trace (not owned, open for
    // writing) every transfer is also written there as one line; its time is
    // the injected clock's, or the time since this call.
    void setTransport(HidBackend* device, QIODevice* trace = nullptr);

    // The device check (see DeviceCheck::run): announce runs when a device
    // has connected. Returns whether one did.
    bool check(const std::function<void()>& announce = {});

    // Skips the device check: entry (with the interface paths it names) is
    // the only device and the current one. For benches and test rigs that
    // drive a device they made themselves.
    void useDevice(const DeviceRecord& entry);

private:
    DeviceStatus m_status;
    Clock* m_clock = nullptr;
    std::unique_ptr<HidapiBackend> m_hidapi;
    std::unique_ptr<TracingHidBackend> m_tracing;
    Hid_Thread m_hid;
    std::unique_ptr<ViewCore> m_view;
    std::unique_ptr<DeviceCommands> m_device;
};
