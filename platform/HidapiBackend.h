#pragma once

#include "HidBackend.h"

#include <QString>

// The real transport: hidapi's hidraw backend. Construct it once, on the GUI
// thread, before anything opens a device (it calls hid_init()). Why an open
// failed is kept per thread: the listener reopens the event interface while
// the writer opens the command interface, and each asks about its own.
class HidapiBackend final : public HidBackend
{
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

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
    bool lastOpenDenied() const override;

private:
    bool m_initialised = false;
};
