#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

// The key-code vocabulary and the pure translations from physical keys to it.
// A key code is one byte: 0x04..0xE7 are USB HID keyboard usages, 0xF0..0xF4
// the mouse buttons left, right, middle, fourth and fifth, 0 no key. Keys are
// identified by their position, never by what the keyboard layout prints on
// them. Everything here is constant data and allocation-free lookups, usable
// from any thread.
namespace KeyTables {

inline constexpr quint8 noKey = 0x00;
inline constexpr quint8 mouseLeft = 0xF0;
inline constexpr quint8 mouseRight = 0xF1;
inline constexpr quint8 mouseMiddle = 0xF2;
inline constexpr quint8 mouseFourth = 0xF3;
inline constexpr quint8 mouseFifth = 0xF4;

// Every key code the pages know, in the order of their name list (the QML key
// name table lists its names in this order): the keyboard codes, then the
// five mouse buttons.
inline constexpr std::size_t keyCodeCount = 133;
extern const std::array<quint8, keyCodeCount> keyCodes;

// True for a keyboard code of the list above (not 0, not a mouse button).
bool isKeyboardCode(quint8 code);

// --- Windows low-level keyboard hook -------------------------------------------------------------

// A physical key: the hook's scan code (0..255) in the high byte, bit 0 the
// hook's extended-key flag.
inline constexpr quint32 extendedFlag = 0x01; // LLKHF_EXTENDED
inline constexpr quint32 altDownFlag = 0x20;  // LLKHF_ALTDOWN

struct ScanKeyEntry
{
    quint16 physicalKey;
    quint8 virtualKey;
};
// Physical key -> Windows virtual key: the keys of a 104-key US keyboard, the
// extra ISO key and scan code 0x6E.
inline constexpr std::size_t scanKeyCount = 106;
extern const std::array<ScanKeyEntry, scanKeyCount> scanKeyMap;

struct VirtualKeyEntry
{
    quint8 virtualKey;
    quint8 keyCode;
};
// Windows virtual key -> key code. Virtual key 0x0E, which Windows leaves
// unused, stands for keypad Enter so that it stays apart from Enter (0x0D).
inline constexpr std::size_t virtualKeyCount = 106;
extern const std::array<VirtualKeyEntry, virtualKeyCount> virtualKeyUsageMap;

// The physical key of a hook record; a scan code above 255 counts as 0.
quint16 physicalKey(quint32 scanCode, quint32 flags);

// The virtual key the hook uses for a record (scanCode and flags of the
// KBDLLHOOKSTRUCT): the scanKeyMap entry of the physical key, except that
// Ctrl+Break (0x46 extended) gives VK_PAUSE and Alt+Print Screen (0x54 with
// the Alt flag) gives VK_SNAPSHOT. 0 when the key is unknown.
quint8 windowsVirtualKey(quint32 scanCode, quint32 flags);

// The key code of a virtual key; 0 when it has none.
quint8 keyCodeForVirtualKey(quint8 virtualKey);

// The whole chain for one hook record: physical key -> virtual key -> key
// code; 0 when any step is unknown.
quint8 windowsKeyCode(quint32 scanCode, quint32 flags);

// The button code of a mouse hook message (WM_LBUTTONDOWN 0x201 ..
// WM_MBUTTONUP 0x208) and whether it is a press. Double clicks, the X buttons,
// the wheel, movement and anything else give buttonCode 0.
struct MouseButtonEntry
{
    quint8 buttonCode;
    bool pressed;
};
inline constexpr std::size_t mouseMessageCount = 8;
inline constexpr quint32 firstMouseMessage = 0x201;
extern const std::array<MouseButtonEntry, mouseMessageCount> mouseButtonMap;
MouseButtonEntry windowsMouseButton(quint32 message);

// --- Linux ---------------------------------------------------------------------------------------

// The Linux input layer's correspondence of HID keyboard usages to evdev key
// codes (index = usage, value = evdev code, 0 = none). It is not one-to-one:
// several usages share an evdev code, and some have none.
inline constexpr std::size_t hidUsageCount = 256;
extern const std::array<quint8, hidUsageCount> hidUsageToEvdev;

// The key code of an evdev key code: the lowest usage that the correspondence
// maps to it, if that usage is a keyboard code of the list above; 0 otherwise
// (also for codes above 255).
quint8 keyCodeForEvdev(quint32 evdevCode);

// The key code of an X (XKB) keycode, which is the evdev code + 8 with the
// evdev and libinput drivers, under Xvfb and for Wayland's wl_keyboard keys as
// Qt reports them; 0 for keycodes below 8 or unknown keys.
quint8 keyCodeForXKeycode(quint32 keycode);

// The button code of an X pointer button: 1 left, 2 middle, 3 right. The
// wheel (4..7), the side buttons (8, 9) and the rest give 0: they are not
// reported.
quint8 buttonCodeForXButton(quint32 button);

} // namespace KeyTables
