#pragma once

#include "PointerSettings.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// KDE Plasma's pointer settings, written into the user's KConfig files where
// Plasma's own settings pages keep them, then announced to running programs:
// - speed: kcminputrc [Mouse] XLbInptPointerAcceleration, the libinput
//   acceleration -1..1 = (speed - 10) / 10 (as for GNOME), which Plasma on
//   X11 applies to every mouse when the session starts; it is also set on
//   the X server's pointing devices at once (X11PointerSpeed.h). On Wayland
//   the speed is a per-device setting of KWin; there setSpeed applies
//   nothing and returns false.
// - double-click time: kdeglobals [KDE] DoubleClickInterval, in ms;
// - wheel lines: kdeglobals [KDE] WheelScrollLines. Plasma has no "one screen"
//   setting, so 1000 returns false.
// Every other line of the files is kept as it was; the file is replaced
// atomically, and a file or entry the administrator locked ([$i]) or a file
// that cannot be read is left alone (false). After a change KGlobalSettings'
// notifyChange (mouse settings) is sent on the session bus, so running KDE
// programs take the double-click time and wheel lines at once, and for the
// speed KWin is asked to reconfigure; a failure to send is a debug line, not
// a failed setting.
class KdePointerSettings final : public PointerSettings
{
public:
    // What changed, for the announcement.
    enum class Change { Speed, Globals };
    using Announcer = std::function<void(Change)>;
    // Sets an acceleration on the running session's devices; the number of
    // devices changed, or -1 when the session cannot be reached.
    using LiveSpeed = std::function<int(double acceleration)>;

    // configHome: the folder of kcminputrc and kdeglobals. Without an
    // announcer the D-Bus signals are sent; without liveSpeed
    // X11PointerSpeed::apply is used.
    KdePointerSettings(const QString& configHome, bool wayland, Announcer announce = {}, LiveSpeed liveSpeed = {});

    bool setSpeed(quint32 speed) override;
    bool setDoubleClickTime(quint32 ms) override;
    bool setWheelScrollLines(quint32 lines) override;

    // Whether XDG_CURRENT_DESKTOP (a colon-separated list) names KDE.
    static bool isKde(const QByteArray& currentDesktop);
    // $XDG_CONFIG_HOME when absolute, else home + "/.config".
    static QString configHome(const QString& xdgConfigHome, const QString& home);
    // The libinput acceleration of a speed 1..20, as KDE writes it.
    static QByteArray acceleration(quint32 speed);

    // The KConfig text with key=value in group (a header such as "[KDE]"),
    // everything else unchanged: an existing entry of that key in the group
    // gets the value (localised variants "key[de]" are other entries), else
    // the entry is added at the end of the group, else the group at the end
    // of the text. Nothing (nullopt) when the file, the group or the entry
    // is locked with [$i].
    static std::optional<QByteArray> withEntry(const QByteArray& text, const QByteArray& group, const QByteArray& key,
                                               const QByteArray& value);

private:
    bool write(const QString& file, const QByteArray& group, const QByteArray& key, const QByteArray& value,
               Change change);

    QString m_configHome;
    bool m_wayland = false;
    Announcer m_announce;
    LiveSpeed m_liveSpeed;
};
