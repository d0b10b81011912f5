#pragma once

#include "HidBackend.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

class QIODevice;

// A protocol trace around another backend: one line per call on an
// interface, with the time and exactly the bytes passed to or returned by the
// inner backend:
//
//   <ms since start, one decimal> <cmd|evt> <op> [bytes as lower-case hex]
//
// op is open-ok, open-fail, close, set_feature, get_feature, write, read,
// read-timeout or error (a call that returned -1; the bytes are those that
// were to be sent, none for a read). Lines from the listener thread and the
// GUI thread are written whole, one at a time.
class TracingHidBackend final : public HidBackend
{
public:
    // Writes to out (not owned; must outlive the backend). now gives the
    // milliseconds since start; by default the time since construction.
    TracingHidBackend(HidBackend& inner, QIODevice* out, std::function<double()> now = {});
    ~TracingHidBackend() override;

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

    // One trace line, without its newline (for tests).
    static QByteArray formatLine(double ms, HidRole role, const char* op, const std::uint8_t* data, std::size_t length);

private:
    void line(HidRole role, const char* op, const std::uint8_t* data = nullptr, std::size_t length = 0);
    int traceRead(HidHandle* handle, std::uint8_t* data, int result);

    HidBackend& m_inner;
    QIODevice* m_out;
    std::function<double()> m_now;
    QElapsedTimer m_clock;
    std::mutex m_mutex;
};
