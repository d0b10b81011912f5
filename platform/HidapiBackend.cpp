#include "HidapiBackend.h"

#include "PlatformLog.h"

#include <hidapi.h>

#include <cerrno>

#include <unistd.h>

namespace {

struct HidapiHandle final : HidHandle
{
    explicit HidapiHandle(hid_device* d)
        : device(d)
    {
    }
    ~HidapiHandle() override { hid_close(device); }
    hid_device* device;
};

// The last open() of the calling thread, when it failed.
struct OpenFailure
{
    QString error;
    bool denied = false;
};
thread_local OpenFailure lastOpenFailure;

hid_device* device(HidHandle* handle)
{
    return handle ? static_cast<HidapiHandle*>(handle)->device : nullptr;
}

} // namespace

HidapiBackend::HidapiBackend()
    : m_initialised(hid_init() == 0)
{
    if (!m_initialised)
        qCDebug(skarnPlatform) << "hid_init failed: no HID devices can be used";
}

HidapiBackend::~HidapiBackend()
{
    if (m_initialised)
        hid_exit();
}

std::vector<HidInterfaceInfo> HidapiBackend::enumerate(quint16 vendorId, quint16 productId)
{
    std::vector<HidInterfaceInfo> result;
    if (!m_initialised)
        return result;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (hid_device_info* i = list; i; i = i->next) {
        HidInterfaceInfo info;
        info.path = QByteArray(i->path ? i->path : "");
        info.vendorId = i->vendor_id;
        info.productId = i->product_id;
        info.usagePage = i->usage_page;
        info.usage = i->usage;
        result.push_back(info);
    }
    hid_free_enumeration(list);
    return result;
}

HidHandle* HidapiBackend::open(const QByteArray& path, HidRole)
{
    if (!m_initialised)
        return nullptr;
    hid_device* d = hid_open_path(path.constData());
    if (!d) {
        // hidapi does not keep errno; asking the node itself tells a missing
        // permission (no udev rule) from a device that is gone.
        const bool denied = ::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES;
        lastOpenFailure = {denied ? QStringLiteral("permission denied") : QStringLiteral("cannot open"), denied};
        return nullptr;
    }
    lastOpenFailure = {};
    return new HidapiHandle(d);
}

void HidapiBackend::close(HidHandle* handle)
{
    delete handle;
}

int HidapiBackend::setNonBlocking(HidHandle* handle, bool nonBlocking)
{
    return device(handle) ? hid_set_nonblocking(device(handle), nonBlocking ? 1 : 0) : -1;
}

int HidapiBackend::sendFeatureReport(HidHandle* handle, const std::uint8_t* data, std::size_t length)
{
    return device(handle) ? hid_send_feature_report(device(handle), data, length) : -1;
}

int HidapiBackend::getFeatureReport(HidHandle* handle, std::uint8_t* data, std::size_t length)
{
    return device(handle) ? hid_get_feature_report(device(handle), data, length) : -1;
}

int HidapiBackend::write(HidHandle* handle, const std::uint8_t* data, std::size_t length)
{
    return device(handle) ? hid_write(device(handle), data, length) : -1;
}

int HidapiBackend::readTimeout(HidHandle* handle, std::uint8_t* data, std::size_t length, int timeoutMs)
{
    return device(handle) ? hid_read_timeout(device(handle), data, length, timeoutMs) : -1;
}

int HidapiBackend::read(HidHandle* handle, std::uint8_t* data, std::size_t length)
{
    return device(handle) ? hid_read(device(handle), data, length) : -1;
}

QString HidapiBackend::lastOpenError() const
{
    return lastOpenFailure.error;
}

bool HidapiBackend::lastOpenDenied() const
{
    return lastOpenFailure.denied;
}
