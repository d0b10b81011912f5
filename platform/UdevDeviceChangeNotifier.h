#pragma once

#include "DeviceChangeNotifier.h"

struct udev;
struct udev_monitor;
class QSocketNotifier;

// Watches the udev event stream for the "hidraw" subsystem and emits changed()
// for every add, remove or change of a hidraw node. Events are read through a
// QSocketNotifier on the GUI thread. In a container udev sends nothing; the
// notifier then simply never fires.
class UdevDeviceChangeNotifier final : public DeviceChangeNotifier
{
    Q_OBJECT
public:
    explicit UdevDeviceChangeNotifier(QObject* parent = nullptr);
    ~UdevDeviceChangeNotifier() override;

    // False when the udev monitor could not be set up.
    bool isActive() const { return m_monitor != nullptr; }

private:
    void readEvents();

    struct udev* m_udev = nullptr;
    struct udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
};
