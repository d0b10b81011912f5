#include "VirtualMouseMode.h"

#include "DeviceChangeNotifier.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"
#include "VirtualMouseSetup.h"
#include "Widget.h"

#include <QAction>
#include <QMenu>

std::unique_ptr<VirtualMouseMode> VirtualMouseMode::create(Widget* window)
{
    std::unique_ptr<VirtualMouse> mouse = VirtualMouseSetup::fromConfig();
    if (!mouse)
        return nullptr;
    return std::unique_ptr<VirtualMouseMode>(new VirtualMouseMode(window, std::move(mouse)));
}

VirtualMouseMode::VirtualMouseMode(Widget* window, std::unique_ptr<VirtualMouse> mouse)
    : QObject(window)
    , m_window(window)
    , m_mouse(std::move(mouse))
    , m_backend(std::make_unique<VirtualHidBackend>(std::initializer_list<VirtualMouse*>{m_mouse.get()}))
{
}

VirtualMouseMode::~VirtualMouseMode() = default;

HidBackend* VirtualMouseMode::backend() const
{
    return m_backend.get();
}

void VirtualMouseMode::attach()
{
    auto notifier = std::make_unique<FakeDeviceChangeNotifier>();
    m_notifier = notifier.get();
    m_window->setDeviceChangeNotifier(std::move(notifier));
    connect(m_mouse.get(), &VirtualMouse::pluggedChanged, this, [this] {
        m_notifier->emitChange();
        updateActions();
    });

    QMenu* trayMenu = m_window->trayIcon->contextMenu();
    m_menu = new QMenu(tr("Virtual mouse"), trayMenu);
    m_press = m_menu->addAction(tr("Press DPI button"));
    m_unplug = m_menu->addAction(tr("Unplug"));
    m_plug = m_menu->addAction(tr("Plug in"));
    connect(m_press, &QAction::triggered, this, [this] { m_mouse->pressDpiButton(); });
    connect(m_unplug, &QAction::triggered, m_mouse.get(), &VirtualMouse::unplug);
    connect(m_plug, &QAction::triggered, m_mouse.get(), &VirtualMouse::plug);
    trayMenu->insertMenu(trayMenu->actions().value(0), m_menu);
    trayMenu->insertSeparator(trayMenu->actions().value(1));
    updateActions();
}

void VirtualMouseMode::updateActions()
{
    const bool plugged = m_mouse->isPlugged();
    m_press->setEnabled(plugged);
    m_unplug->setEnabled(plugged);
    m_plug->setEnabled(!plugged);
}
