#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <vector>

// One HID interface (top-level collection) of a device, as enumeration lists it.
struct HidInterfaceInfo
{
    QByteArray path; // platform path, 8-bit ASCII ("/dev/hidraw3", "virtual:cmd")
    quint16 vendorId = 0;
    quint16 productId = 0;
    quint16 usagePage = 0;
    quint16 usage = 0;
};

// Which of a device's two interfaces a handle is for. Only the protocol trace
// looks at it (it tells command traffic from event reports).
enum class HidRole { Command, Event };

// An open interface. Opaque to callers: each backend has its own concrete type.
class HidHandle
{
public:
    virtual ~HidHandle() = default;
};

// The HID transport, modelled on hidapi's device API so that the hidapi
// backend is a thin layer and other backends (the virtual mouse, the trace)
// stand in for it without the callers noticing.
//
// Buffers: byte 0 of every feature and output report is the report id (0 for
// an unnumbered device) and is counted in the length. Input reports of an
// unnumbered device start with the data (no report id byte).
//
// Return values follow hidapi: the number of bytes transferred, 0 for a read
// that timed out, -1 for an error (also when the device went away).
//
// Threads: one handle is used by one thread at a time; different handles may
// be used on different threads at once (the listener reads the event
// interface while the GUI thread sends commands).
class HidBackend
{
public:
    virtual ~HidBackend() = default;

    // All interfaces with the given vendor and product id, in the platform's
    // order. A device may list several interfaces, and nested collections.
    virtual std::vector<HidInterfaceInfo> enumerate(quint16 vendorId, quint16 productId) = 0;

    // Opens an interface by its path; nullptr on failure. The caller owns the
    // handle and gives it back through close().
    virtual HidHandle* open(const QByteArray& path, HidRole role) = 0;
    virtual void close(HidHandle* handle) = 0;

    virtual int setNonBlocking(HidHandle* handle, bool nonBlocking) = 0;
    virtual int sendFeatureReport(HidHandle* handle, const std::uint8_t* data, std::size_t length) = 0;
    // data[0] holds the report id on entry; returns the count including it.
    virtual int getFeatureReport(HidHandle* handle, std::uint8_t* data, std::size_t length) = 0;
    virtual int write(HidHandle* handle, const std::uint8_t* data, std::size_t length) = 0;
    // timeoutMs -1 blocks.
    virtual int readTimeout(HidHandle* handle, std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
    virtual int read(HidHandle* handle, std::uint8_t* data, std::size_t length) = 0;

    // Why the last open() failed (empty when unknown), and whether it failed
    // for lack of permission. Diagnostics only; same thread as the open().
    virtual QString lastOpenError() const { return {}; }
    virtual bool lastOpenDenied() const { return false; }
};

// No devices at all: enumeration is empty and every open fails. What the HID
// worker uses until it is given a real transport.
class NullHidBackend final : public HidBackend
{
public:
    std::vector<HidInterfaceInfo> enumerate(quint16, quint16) override { return {}; }
    HidHandle* open(const QByteArray&, HidRole) override { return nullptr; }
    void close(HidHandle*) override {}
    int setNonBlocking(HidHandle*, bool) override { return -1; }
    int sendFeatureReport(HidHandle*, const std::uint8_t*, std::size_t) override { return -1; }
    int getFeatureReport(HidHandle*, std::uint8_t*, std::size_t) override { return -1; }
    int write(HidHandle*, const std::uint8_t*, std::size_t) override { return -1; }
    int readTimeout(HidHandle*, std::uint8_t*, std::size_t, int) override { return -1; }
    int read(HidHandle*, std::uint8_t*, std::size_t) override { return -1; }

    static NullHidBackend& instance()
    {
        static NullHidBackend backend;
        return backend;
    }
};
