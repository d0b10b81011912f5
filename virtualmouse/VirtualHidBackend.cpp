#include "VirtualHidBackend.h"

#include "VirtualMouse.h"
#include "VirtualMouseLink.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

struct VirtualHandle final : HidHandle
{
    std::shared_ptr<VirtualMouseLink> link;
    VirtualMouseEndpoint endpoint;
};

VirtualHandle* handleOf(HidHandle* handle)
{
    return static_cast<VirtualHandle*>(handle);
}

bool matches(quint16 wanted, quint16 actual)
{
    return wanted == 0 || wanted == actual;
}

} // namespace

VirtualHidBackend::VirtualHidBackend(Clock& clock)
    : m_clock(clock)
{
}

VirtualHidBackend::VirtualHidBackend(std::initializer_list<VirtualMouse*> mice, Clock& clock)
    : m_clock(clock)
{
    for (VirtualMouse* mouse : mice) {
        if (mouse)
            addMouse(*mouse);
    }
}

VirtualHidBackend::~VirtualHidBackend() = default;

void VirtualHidBackend::addMouse(VirtualMouse& mouse)
{
    std::lock_guard lock(m_mutex);
    if (std::find(m_mice.begin(), m_mice.end(), mouse.m_link) == m_mice.end())
        m_mice.push_back(mouse.m_link);
}

void VirtualHidBackend::removeMouse(VirtualMouse& mouse)
{
    std::lock_guard lock(m_mutex);
    m_mice.erase(std::remove(m_mice.begin(), m_mice.end(), mouse.m_link), m_mice.end());
}

std::vector<HidInterfaceInfo> VirtualHidBackend::enumerate(quint16 vendorId, quint16 productId)
{
    std::vector<HidInterfaceInfo> list;
    std::lock_guard lock(m_mutex);
    for (const auto& link : m_mice) {
        std::lock_guard mouseLock(link->mutex);
        const VirtualMouse* mouse = link->mouse;
        if (!mouse || !link->plugged)
            continue;
        const DeviceRecord& r = mouse->m_record;
        if (!matches(vendorId, r.vid) || !matches(productId, r.pid))
            continue;
        list.push_back({mouse->m_pathPrefix + "cmd", r.vid, r.pid, r.usagePage, r.usage});
        list.push_back({mouse->m_pathPrefix + "evt", r.vid, r.pid, r.usagePage2, r.usage2});
    }
    return list;
}

HidHandle* VirtualHidBackend::open(const QByteArray& path, HidRole)
{
    // The interface follows from the path; the caller's role only labels traces.
    std::lock_guard lock(m_mutex);
    for (const auto& link : m_mice) {
        std::lock_guard mouseLock(link->mutex);
        VirtualMouse* mouse = link->mouse;
        if (!mouse)
            continue;
        HidRole interface;
        if (path == mouse->m_pathPrefix + "cmd")
            interface = HidRole::Command;
        else if (path == mouse->m_pathPrefix + "evt")
            interface = HidRole::Event;
        else
            continue;
        if (!link->plugged) {
            m_lastOpenError = QStringLiteral("%1: device unplugged").arg(QLatin1String(path));
            return nullptr;
        }
        if (mouse->takeOpenFailure(interface)) {
            m_lastOpenError = QStringLiteral("%1: injected open failure").arg(QLatin1String(path));
            return nullptr;
        }
        auto* handle = new VirtualHandle;
        handle->link = link;
        handle->endpoint.role = interface;
        handle->endpoint.session = link->session;
        link->endpoints.push_back(&handle->endpoint);
        m_lastOpenError.clear();
        return handle;
    }
    m_lastOpenError = QStringLiteral("%1: no such virtual interface").arg(QLatin1String(path));
    return nullptr;
}

void VirtualHidBackend::close(HidHandle* handle)
{
    if (!handle)
        return;
    VirtualHandle* h = handleOf(handle);
    {
        std::lock_guard lock(h->link->mutex);
        auto& endpoints = h->link->endpoints;
        endpoints.erase(std::remove(endpoints.begin(), endpoints.end(), &h->endpoint), endpoints.end());
    }
    delete h;
}

namespace {

// Runs f with the handle's link locked when the handle is live; -1 otherwise.
template <typename F>
int onLiveHandle(HidHandle* handle, F&& f)
{
    if (!handle)
        return -1;
    VirtualHandle* h = handleOf(handle);
    std::lock_guard lock(h->link->mutex);
    if (!h->link->isLive(h->endpoint))
        return -1;
    return f(*h);
}

} // namespace

int VirtualHidBackend::setNonBlocking(HidHandle* handle, bool nonBlocking)
{
    return onLiveHandle(handle, [&](VirtualHandle& h) {
        h.endpoint.nonBlocking = nonBlocking;
        return 0;
    });
}

int VirtualHidBackend::sendFeatureReport(HidHandle* handle, const std::uint8_t* data, std::size_t length)
{
    if (!data)
        return -1;
    return onLiveHandle(handle,
                        [&](VirtualHandle& h) { return h.link->mouse->hostSetFeature(h.endpoint, data, length); });
}

int VirtualHidBackend::getFeatureReport(HidHandle* handle, std::uint8_t* data, std::size_t length)
{
    if (!data)
        return -1;
    return onLiveHandle(handle,
                        [&](VirtualHandle& h) { return h.link->mouse->hostGetFeature(h.endpoint, data, length); });
}

int VirtualHidBackend::write(HidHandle* handle, const std::uint8_t* data, std::size_t length)
{
    if (!data)
        return -1;
    return onLiveHandle(handle, [&](VirtualHandle& h) { return h.link->mouse->hostWrite(h.endpoint, data, length); });
}

int VirtualHidBackend::readTimeout(HidHandle* handle, std::uint8_t* data, std::size_t length, int timeoutMs)
{
    return readInput(handle, data, length, timeoutMs < 0 ? -1 : timeoutMs);
}

int VirtualHidBackend::read(HidHandle* handle, std::uint8_t* data, std::size_t length)
{
    if (!handle)
        return -1;
    VirtualHandle* h = handleOf(handle);
    bool nonBlocking;
    {
        std::lock_guard lock(h->link->mutex);
        nonBlocking = h->endpoint.nonBlocking;
    }
    return readInput(handle, data, length, nonBlocking ? 0 : -1);
}

int VirtualHidBackend::readInput(HidHandle* handle, std::uint8_t* data, std::size_t length, int timeoutMs)
{
    if (!handle || !data || length == 0)
        return -1;
    VirtualHandle* h = handleOf(handle);
    VirtualMouseLink& link = *h->link;
    VirtualMouseEndpoint& endpoint = h->endpoint;
    std::unique_lock lock(link.mutex);
    if (!link.isLive(endpoint))
        return -1;

    if (endpoint.role == HidRole::Command) {
        const auto outcome = link.mouse->hostReadCommand(endpoint, data, length, timeoutMs);
        lock.unlock();
        if (outcome.waitMs > 0)
            m_clock.sleepMs(quint32(outcome.waitMs));
        return outcome.result;
    }

    // The event interface: only the link and the endpoint are touched from here
    // on, since the mouse may be destroyed while this thread waits.
    const auto ready = [&] { return !link.isLive(endpoint) || !endpoint.input.empty(); };
    if (timeoutMs < 0)
        link.inputArrived.wait(lock, ready);
    else if (timeoutMs > 0)
        link.inputArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    if (!link.isLive(endpoint))
        return -1;
    if (endpoint.input.empty())
        return 0;
    const QByteArray report = endpoint.input.front();
    endpoint.input.pop_front();
    const std::size_t n = std::min(length, std::size_t(report.size()));
    std::memcpy(data, report.constData(), n);
    return int(n);
}

QString VirtualHidBackend::lastOpenError() const
{
    std::lock_guard lock(m_mutex);
    return m_lastOpenError;
}
