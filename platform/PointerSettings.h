#pragma once

#include <QtGlobal>

#include <optional>

// The desktop's pointer settings for the logged-on user: cursor speed,
// double-click time and wheel scroll lines. Each setter applies the value at
// once and persistently and returns false when it was not applied (the
// desktop has no such setting, refuses the value, or the call failed). Nothing
// is retried; the failure is the caller's to report (an implementation logs
// at most its reason, on the platform category). GUI thread only.
class PointerSettings
{
public:
    virtual ~PointerSettings() = default;

    // Cursor speed on the scale 1 (slowest) .. 20 (fastest).
    virtual bool setSpeed(quint32 speed) = 0;
    virtual bool setDoubleClickTime(quint32 ms) = 0;
    // 1000 stands for one screen per notch.
    virtual bool setWheelScrollLines(quint32 lines) = 0;

    // What the program uses: the one given to setDefault, else the
    // platform's (created on first use, so a test can prepare the
    // environment first): Windows' calls; on Linux KDE Plasma's settings
    // (KdePointerSettings.h) when XDG_CURRENT_DESKTOP names KDE, else GNOME's.
    static PointerSettings& current();
    // Replaces what current() returns (not owned; must outlive its use);
    // nullptr restores the platform's.
    static void setDefault(PointerSettings* settings);

    // The page's steps as values, in 32-bit unsigned arithmetic without any
    // clamping, as the desktop call expects them: cursor speed step × 2, or 1
    // when that is 0 (steps 0..10 give 1, 2, 4 .. 20); double-click time
    // 900 - 70 × step milliseconds (steps 0..10 give 900 .. 200).
    static quint32 speedOfStep(quint32 step);
    static quint32 doubleClickTimeOfStep(quint32 step);
};

#ifdef Q_OS_WIN

// SystemParametersInfoW with SPI_SETMOUSESPEED (the speed as the pointer
// value), SPI_SETDOUBLECLICKTIME and SPI_SETWHEELSCROLLLINES (the value as
// uiParam), each with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE.
class WindowsPointerSettings final : public PointerSettings
{
public:
    bool setSpeed(quint32 speed) override;
    bool setDoubleClickTime(quint32 ms) override;
    bool setWheelScrollLines(quint32 lines) override;
};

#else

// GNOME's settings through GSettings, schema org.gnome.desktop.peripherals.mouse:
// "speed" = (speed - 10) / 10 clamped to [-1, 1], "double-click" = ms. GNOME
// has no wheel lines setting, so setWheelScrollLines always returns false, as
// does every setter when the schema is not installed, the value is outside the
// key's range, the key is not writable, GSettings fell back to its memory
// backend without being asked to (the change would reach no one), or the
// backend dropped the write (dconf without a session bus). Each call waits
// until the backend has stored the value.
class GSettingsPointerSettings final : public PointerSettings
{
public:
    static constexpr const char* schemaId = "org.gnome.desktop.peripherals.mouse";

    bool setSpeed(quint32 speed) override;
    bool setDoubleClickTime(quint32 ms) override;
    bool setWheelScrollLines(quint32 lines) override;

    // Whether the schema is installed (looked up at every call).
    static bool schemaInstalled();
    // The GNOME value of a speed 1..20.
    static double gnomeSpeed(quint32 speed);
};

#endif

// For tests: records the last value given to each setter and returns the
// result set for it (true by default).
class FakePointerSettings final : public PointerSettings
{
public:
    bool setSpeed(quint32 speed) override;
    bool setDoubleClickTime(quint32 ms) override;
    bool setWheelScrollLines(quint32 lines) override;

    bool speedResult = true;
    bool doubleClickResult = true;
    bool wheelLinesResult = true;
    std::optional<quint32> speed;
    std::optional<quint32> doubleClickTime;
    std::optional<quint32> wheelLines;
};
