#include "VirtualMouseMode.h"

#include "AppLog.h"
#include "DeviceChangeNotifier.h"
#include "DeviceDescription.h"
#include "Globals.h"
#include "IniValue.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"
#include "Widget.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QTimer>

#include <algorithm>

std::unique_ptr<VirtualMouseMode> VirtualMouseMode::create(Widget* window)
{
    QSettings settings(DataPath::apConfig, QSettings::IniFormat);
    const DeviceList entries = DeviceDescription::readDeviceRecords(settings);
    const auto mouseEntry =
        std::find_if(entries.begin(), entries.end(), [](const DeviceRecord& r) { return r.type == 1; });
    if (mouseEntry == entries.end()) {
        qCDebug(skarnApp) << "virtual mouse: apConfig.bin has no mouse entry (type 1)";
        return nullptr;
    }
    const QString family = IniValue::text(settings.value(QStringLiteral("mouse/icType")));
    const auto table = DeviceDescription::readScrambleTable(settings).value_or(HidCodec::defaultScrambleTable);
    auto mouse = std::make_unique<VirtualMouse>(*mouseEntry, family == QLatin1String("560") ? family : QStringLiteral("553"),
                                                table);
    qCDebug(skarnApp).noquote() << QStringLiteral("virtual mouse %1:%2, command set %3")
                                       .arg(mouseEntry->vid, 4, 16, QLatin1Char('0'))
                                       .arg(mouseEntry->pid, 4, 16, QLatin1Char('0'))
                                       .arg(mouse->family());
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
    connect(m_press, &QAction::triggered, this, [this] { pressDpiButton(nextStage(), 20); });
    connect(m_unplug, &QAction::triggered, m_mouse.get(), &VirtualMouse::unplug);
    connect(m_plug, &QAction::triggered, m_mouse.get(), &VirtualMouse::plug);
    trayMenu->insertMenu(trayMenu->actions().value(0), m_menu);
    trayMenu->insertSeparator(trayMenu->actions().value(1));
    updateActions();
}

int VirtualMouseMode::nextStage() const
{
    const VirtualMouse::State s = m_mouse->state();
    const int count = std::clamp(int(s.dpiCount), 1, 8);
    const int current = m_mouse->family() == QLatin1String("560") ? s.dpiStages[0] : s.dpiStage;
    return current >= count ? 1 : current + 1;
}

void VirtualMouseMode::pressDpiButton(int stage, int attemptsLeft)
{
    // The listener closes and reopens the event interface between its reads;
    // a press that lands in that gap finds no reader and is tried again.
    if (m_mouse->pressDpiButton(stage) || attemptsLeft <= 0)
        return;
    QTimer::singleShot(5, this, [this, stage, attemptsLeft] { pressDpiButton(stage, attemptsLeft - 1); });
}

void VirtualMouseMode::updateActions()
{
    const bool plugged = m_mouse->isPlugged();
    m_press->setEnabled(plugged);
    m_unplug->setEnabled(plugged);
    m_plug->setEnabled(!plugged);
}
