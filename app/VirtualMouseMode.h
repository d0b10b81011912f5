#pragma once

#include <QObject>

#include <memory>

class FakeDeviceChangeNotifier;
class HidBackend;
class QAction;
class QMenu;
class VirtualHidBackend;
class VirtualMouse;
class Widget;

// The program driving the virtual mouse instead of hidapi (--virtual-mouse).
// The mouse takes its identity from the first mouse entry (type 1) of
// apConfig.bin and its command family from mouse/icType, so the device check
// runs its real path. Plugging and unplugging it are device changes, as udev
// would report them. The tray menu gets a "Virtual mouse" submenu.
// GUI thread only.
class VirtualMouseMode : public QObject
{
    Q_OBJECT
public:
    // Nothing when apConfig.bin has no mouse entry (with a debug line).
    static std::unique_ptr<VirtualMouseMode> create(Widget* window);
    ~VirtualMouseMode() override;

    HidBackend* backend() const;
    VirtualMouse* mouse() const { return m_mouse.get(); }

    // Installs the device-change source and the tray submenu on the window.
    void attach();

    // The submenu's actions, for tests.
    QAction* pressAction() const { return m_press; }
    QAction* unplugAction() const { return m_unplug; }
    QAction* plugAction() const { return m_plug; }

private:
    VirtualMouseMode(Widget* window, std::unique_ptr<VirtualMouse> mouse);
    void updateActions();

    Widget* m_window;
    std::unique_ptr<VirtualMouse> m_mouse;
    std::unique_ptr<VirtualHidBackend> m_backend;
    FakeDeviceChangeNotifier* m_notifier = nullptr; // owned by the window
    QMenu* m_menu = nullptr;
    QAction* m_press = nullptr;
    QAction* m_unplug = nullptr;
    QAction* m_plug = nullptr;
};
