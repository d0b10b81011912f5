#include "UdevDeviceChangeNotifier.h"

#include "PlatformLog.h"

#include <QSocketNotifier>

#include <libudev.h>

UdevDeviceChangeNotifier::UdevDeviceChangeNotifier(QObject* parent)
    : DeviceChangeNotifier(parent)
{
    m_udev = udev_new();
    if (!m_udev) {
        qCDebug(skarnPlatform) << "udev is not available: device changes are not watched";
        return;
    }
    // The "udev" source delivers events after udev has applied its rules, so a
    // node reported here already carries its final permissions.
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        qCDebug(skarnPlatform) << "cannot monitor udev events: device changes are not watched";
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        return;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevDeviceChangeNotifier::readEvents);
}

UdevDeviceChangeNotifier::~UdevDeviceChangeNotifier()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

void UdevDeviceChangeNotifier::readEvents()
{
    // The monitor socket is non-blocking: drain everything that is queued and
    // report the batch once.
    bool any = false;
    while (udev_device* dev = udev_monitor_receive_device(m_monitor)) {
        qCDebug(skarnPlatform) << "udev" << udev_device_get_action(dev) << udev_device_get_devnode(dev);
        udev_device_unref(dev);
        any = true;
    }
    if (any)
        Q_EMIT changed();
}

std::unique_ptr<DeviceChangeNotifier> DeviceChangeNotifier::createDefault()
{
    return std::make_unique<UdevDeviceChangeNotifier>();
}
