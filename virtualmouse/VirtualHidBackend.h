#pragma once

#include "Clock.h"
#include "HidBackend.h"

#include <QString>

#include <initializer_list>
#include <memory>
#include <mutex>
#include <vector>

class VirtualMouse;
struct VirtualMouseLink;

// The HID transport over virtual mice, in place of hidapi.
//
// enumerate(vid, pid) lists, for every plugged mouse with that vendor and
// product id (0 matches any, as in hidapi), its command interface and then its
// event interface. open() finds the interface by path. Reads of the command
// interface deliver the input reports a get command queued, one per call;
// with none queued, readTimeout waits its timeout on the clock and returns 0,
// and a blocking read returns -1 (and counts a protocol error) rather than
// hang. Reads of the event interface deliver DPI events; their waits are real
// time, capped by the timeout, and wake with -1 on unplug or when the mouse is
// destroyed.
//
// The mice are not owned. A mouse may be destroyed before the backend or
// before its handles: it then drops out of enumeration and its handles fail.
//
// Threads: as HidBackend. The clock is used only by command-interface reads,
// which come from one thread at a time.
class VirtualHidBackend final : public HidBackend
{
public:
    explicit VirtualHidBackend(Clock& clock = Clock::system());
    VirtualHidBackend(std::initializer_list<VirtualMouse*> mice, Clock& clock = Clock::system());
    ~VirtualHidBackend() override;
    VirtualHidBackend(const VirtualHidBackend&) = delete;
    VirtualHidBackend& operator=(const VirtualHidBackend&) = delete;

    void addMouse(VirtualMouse& mouse);
    // Open handles of the mouse keep working.
    void removeMouse(VirtualMouse& mouse);

    std::vector<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) override;
    HidHandle* open(const QByteArray& path, HidRole role) override;
    void close(HidHandle* handle) override;
    int setNonBlocking(HidHandle* handle, bool nonBlocking) override;
    int sendFeatureReport(HidHandle* handle, const std::uint8_t* data, std::size_t length) override;
    int getFeatureReport(HidHandle* handle, std::uint8_t* data, std::size_t length) override;
    int write(HidHandle* handle, const std::uint8_t* data, std::size_t length) override;
    int readTimeout(HidHandle* handle, std::uint8_t* data, std::size_t length, int timeoutMs) override;
    int read(HidHandle* handle, std::uint8_t* data, std::size_t length) override;
    QString lastOpenError() const override;

private:
    int readInput(HidHandle* handle, std::uint8_t* data, std::size_t length, int timeoutMs);

    Clock& m_clock;
    mutable std::mutex m_mutex; // guards the two members below; taken before a mouse's lock
    std::vector<std::shared_ptr<VirtualMouseLink>> m_mice;
    QString m_lastOpenError;
};
