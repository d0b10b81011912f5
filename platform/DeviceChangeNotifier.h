#pragma once

#include <QObject>

#include <memory>

// Tells the main window that the set of HID devices may have changed. The
// receiver debounces: it only (re)starts its device-check timer, so a burst of
// changes leads to one check.
class DeviceChangeNotifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~DeviceChangeNotifier() override = default;

    // The notifier for this platform: the udev monitor on Linux. Returns a
    // notifier that never fires when the platform has no source of events.
    static std::unique_ptr<DeviceChangeNotifier> createDefault();

Q_SIGNALS:
    void changed();
};

// A notifier driven by hand, for tests and for the virtual mouse.
class FakeDeviceChangeNotifier final : public DeviceChangeNotifier
{
    Q_OBJECT
public:
    using DeviceChangeNotifier::DeviceChangeNotifier;

    void emitChange() { Q_EMIT changed(); }
};
