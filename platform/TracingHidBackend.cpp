#include "TracingHidBackend.h"

#include <QIODevice>

namespace {

struct TracedHandle final : HidHandle
{
    TracedHandle(HidHandle* h, HidRole r)
        : inner(h)
        , role(r)
    {
    }
    HidHandle* inner;
    HidRole role;
};

TracedHandle* traced(HidHandle* handle)
{
    return static_cast<TracedHandle*>(handle);
}

HidHandle* innerOf(HidHandle* handle)
{
    return handle ? traced(handle)->inner : nullptr;
}

HidRole roleOf(HidHandle* handle)
{
    return handle ? traced(handle)->role : HidRole::Command;
}

} // namespace

TracingHidBackend::TracingHidBackend(HidBackend& inner, QIODevice* out, std::function<double()> now)
    : m_inner(inner)
    , m_out(out)
    , m_now(std::move(now))
{
    m_clock.start();
}

TracingHidBackend::~TracingHidBackend() = default;

QByteArray TracingHidBackend::formatLine(double ms, HidRole role, const char* op, const std::uint8_t* data,
                                         std::size_t length)
{
    QByteArray text = QByteArray::number(ms, 'f', 1);
    text += role == HidRole::Event ? " evt " : " cmd ";
    text += op;
    static const char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < length; ++i) {
        text += ' ';
        text += digits[data[i] >> 4];
        text += digits[data[i] & 0x0f];
    }
    return text;
}

void TracingHidBackend::line(HidRole role, const char* op, const std::uint8_t* data, std::size_t length)
{
    const double ms = m_now ? m_now() : double(m_clock.nsecsElapsed()) / 1e6;
    const QByteArray text = formatLine(ms, role, op, data, length) + '\n';
    std::lock_guard lock(m_mutex);
    m_out->write(text);
}

std::vector<HidInterfaceInfo> TracingHidBackend::enumerate(quint16 vendorId, quint16 productId)
{
    return m_inner.enumerate(vendorId, productId);
}

HidHandle* TracingHidBackend::open(const QByteArray& path, HidRole role)
{
    HidHandle* h = m_inner.open(path, role);
    line(role, h ? "open-ok" : "open-fail");
    return h ? new TracedHandle(h, role) : nullptr;
}

void TracingHidBackend::close(HidHandle* handle)
{
    if (!handle)
        return;
    line(roleOf(handle), "close");
    m_inner.close(innerOf(handle));
    delete traced(handle);
}

int TracingHidBackend::setNonBlocking(HidHandle* handle, bool nonBlocking)
{
    return m_inner.setNonBlocking(innerOf(handle), nonBlocking);
}

int TracingHidBackend::sendFeatureReport(HidHandle* handle, const std::uint8_t* data, std::size_t length)
{
    const int result = m_inner.sendFeatureReport(innerOf(handle), data, length);
    line(roleOf(handle), result < 0 ? "error" : "set_feature", data, length);
    return result;
}

int TracingHidBackend::getFeatureReport(HidHandle* handle, std::uint8_t* data, std::size_t length)
{
    const int result = m_inner.getFeatureReport(innerOf(handle), data, length);
    if (result < 0)
        line(roleOf(handle), "error");
    else
        line(roleOf(handle), "get_feature", data, std::size_t(result));
    return result;
}

int TracingHidBackend::write(HidHandle* handle, const std::uint8_t* data, std::size_t length)
{
    const int result = m_inner.write(innerOf(handle), data, length);
    line(roleOf(handle), result < 0 ? "error" : "write", data, length);
    return result;
}

int TracingHidBackend::traceRead(HidHandle* handle, std::uint8_t* data, int result)
{
    if (result < 0)
        line(roleOf(handle), "error");
    else if (result == 0)
        line(roleOf(handle), "read-timeout");
    else
        line(roleOf(handle), "read", data, std::size_t(result));
    return result;
}

int TracingHidBackend::readTimeout(HidHandle* handle, std::uint8_t* data, std::size_t length, int timeoutMs)
{
    return traceRead(handle, data, m_inner.readTimeout(innerOf(handle), data, length, timeoutMs));
}

int TracingHidBackend::read(HidHandle* handle, std::uint8_t* data, std::size_t length)
{
    return traceRead(handle, data, m_inner.read(innerOf(handle), data, length));
}

QString TracingHidBackend::lastOpenError() const
{
    return m_inner.lastOpenError();
}

bool TracingHidBackend::lastOpenDenied() const
{
    return m_inner.lastOpenDenied();
}
