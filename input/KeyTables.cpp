#include "KeyTables.h"

namespace KeyTables {

namespace {

struct CodeRange
{
    quint8 first;
    quint8 last;
};

// The list of key codes, as runs of consecutive codes.
// clang-format off
constexpr std::array<CodeRange, 6> keyCodeRanges{{
    {0x04, 0x73}, // letters .. F24
    {0x85, 0x85}, // keypad comma
    {0x87, 0x8B}, // international 1..5
    {0x90, 0x91}, // language 1 and 2
    {0xE0, 0xE7}, // modifiers
    {mouseLeft, mouseFifth},
}};
// clang-format on

constexpr std::array<quint8, keyCodeCount> buildKeyCodes()
{
    std::array<quint8, keyCodeCount> codes{};
    std::size_t n = 0;
    for (const CodeRange& r : keyCodeRanges)
        for (int c = r.first; c <= r.last; ++c)
            codes[n++] = quint8(c); // overflow here fails the constant evaluation
    return n == keyCodeCount ? codes : std::array<quint8, keyCodeCount>{};
}

constexpr std::array<bool, 256> buildKeyboardCodeSet(const std::array<quint8, keyCodeCount>& codes)
{
    std::array<bool, 256> set{};
    for (quint8 c : codes)
        set[c] = c != noKey && c < mouseLeft;
    return set;
}

} // namespace

constexpr std::array<quint8, keyCodeCount> keyCodes = buildKeyCodes();
static_assert(keyCodes.front() == 0x04 && keyCodes.back() == mouseFifth, "the code list is one entry short or long");

namespace {
constexpr std::array<bool, 256> keyboardCodeSet = buildKeyboardCodeSet(keyCodes);
} // namespace

bool isKeyboardCode(quint8 code)
{
    return keyboardCodeSet[code];
}

// --- Windows -------------------------------------------------------------------------------------

namespace {
constexpr quint16 pk(quint8 scanCode, bool extended = false)
{
    return quint16(scanCode << 8 | (extended ? 1 : 0));
}
constexpr bool E = true;
} // namespace

// clang-format off
constexpr std::array<ScanKeyEntry, scanKeyCount> scanKeyMap{{
    // letters
    {pk(0x1E), 0x41}, {pk(0x30), 0x42}, {pk(0x2E), 0x43}, {pk(0x20), 0x44}, {pk(0x12), 0x45}, {pk(0x21), 0x46},
    {pk(0x22), 0x47}, {pk(0x23), 0x48}, {pk(0x17), 0x49}, {pk(0x24), 0x4A}, {pk(0x25), 0x4B}, {pk(0x26), 0x4C},
    {pk(0x32), 0x4D}, {pk(0x31), 0x4E}, {pk(0x18), 0x4F}, {pk(0x19), 0x50}, {pk(0x10), 0x51}, {pk(0x13), 0x52},
    {pk(0x1F), 0x53}, {pk(0x14), 0x54}, {pk(0x16), 0x55}, {pk(0x2F), 0x56}, {pk(0x11), 0x57}, {pk(0x2D), 0x58},
    {pk(0x15), 0x59}, {pk(0x2C), 0x5A},
    // digits 1..9, 0
    {pk(0x02), 0x31}, {pk(0x03), 0x32}, {pk(0x04), 0x33}, {pk(0x05), 0x34}, {pk(0x06), 0x35}, {pk(0x07), 0x36},
    {pk(0x08), 0x37}, {pk(0x09), 0x38}, {pk(0x0A), 0x39}, {pk(0x0B), 0x30},
    // Enter, Esc, Backspace, Tab, Space, punctuation
    {pk(0x1C), 0x0D}, {pk(0x01), 0x1B}, {pk(0x0E), 0x08}, {pk(0x0F), 0x09}, {pk(0x39), 0x20}, {pk(0x0C), 0xBD},
    {pk(0x0D), 0xBB}, {pk(0x1A), 0xDB}, {pk(0x1B), 0xDD}, {pk(0x2B), 0xDC}, {pk(0x27), 0xBA}, {pk(0x28), 0xDE},
    {pk(0x29), 0xC0}, {pk(0x33), 0xBC}, {pk(0x34), 0xBE}, {pk(0x35), 0xBF},
    // Caps Lock, F1..F12
    {pk(0x3A), 0x14}, {pk(0x3B), 0x70}, {pk(0x3C), 0x71}, {pk(0x3D), 0x72}, {pk(0x3E), 0x73}, {pk(0x3F), 0x74},
    {pk(0x40), 0x75}, {pk(0x41), 0x76}, {pk(0x42), 0x77}, {pk(0x43), 0x78}, {pk(0x44), 0x79}, {pk(0x57), 0x7A},
    {pk(0x58), 0x7B},
    // Print Screen, Scroll Lock, Pause, the navigation block, the arrows
    {pk(0x37, E), 0x2C}, {pk(0x46), 0x91}, {pk(0x45), 0x13}, {pk(0x52, E), 0x2D}, {pk(0x47, E), 0x24},
    {pk(0x49, E), 0x21}, {pk(0x53, E), 0x2E}, {pk(0x4F, E), 0x23}, {pk(0x51, E), 0x22}, {pk(0x4D, E), 0x27},
    {pk(0x4B, E), 0x25}, {pk(0x50, E), 0x28}, {pk(0x48, E), 0x26},
    // the keypad
    {pk(0x45, E), 0x90}, {pk(0x35, E), 0x6F}, {pk(0x37), 0x6A}, {pk(0x4A), 0x6D}, {pk(0x4E), 0x6B},
    {pk(0x1C, E), 0x0E}, {pk(0x4F), 0x61}, {pk(0x50), 0x62}, {pk(0x51), 0x63}, {pk(0x4B), 0x64}, {pk(0x4C), 0x65},
    {pk(0x4D), 0x66}, {pk(0x47), 0x67}, {pk(0x48), 0x68}, {pk(0x49), 0x69}, {pk(0x52), 0x60}, {pk(0x53), 0x6E},
    // the ISO key, Application, F23
    {pk(0x56), 0xE2}, {pk(0x5D, E), 0x5D}, {pk(0x6E), 0x86},
    // modifiers. Right Shift is the one right-hand modifier without the
    // extended flag: its scan code is 0x36 alone (0x36 with the flag only
    // comes from the shift toggles Windows fakes around the navigation keys).
    {pk(0x1D), 0xA2}, {pk(0x2A), 0xA0}, {pk(0x38), 0xA4}, {pk(0x5B, E), 0x5B}, {pk(0x1D, E), 0xA3},
    {pk(0x36), 0xA1}, {pk(0x38, E), 0xA5}, {pk(0x5C, E), 0x5C},
}};
// clang-format on

// clang-format off
constexpr std::array<VirtualKeyEntry, virtualKeyCount> virtualKeyUsageMap{{
    {0x41, 0x04}, {0x42, 0x05}, {0x43, 0x06}, {0x44, 0x07}, {0x45, 0x08}, {0x46, 0x09}, {0x47, 0x0A}, {0x48, 0x0B},
    {0x49, 0x0C}, {0x4A, 0x0D}, {0x4B, 0x0E}, {0x4C, 0x0F}, {0x4D, 0x10}, {0x4E, 0x11}, {0x4F, 0x12}, {0x50, 0x13},
    {0x51, 0x14}, {0x52, 0x15}, {0x53, 0x16}, {0x54, 0x17}, {0x55, 0x18}, {0x56, 0x19}, {0x57, 0x1A}, {0x58, 0x1B},
    {0x59, 0x1C}, {0x5A, 0x1D},
    {0x31, 0x1E}, {0x32, 0x1F}, {0x33, 0x20}, {0x34, 0x21}, {0x35, 0x22}, {0x36, 0x23}, {0x37, 0x24}, {0x38, 0x25},
    {0x39, 0x26}, {0x30, 0x27},
    {0x0D, 0x28}, {0x1B, 0x29}, {0x08, 0x2A}, {0x09, 0x2B}, {0x20, 0x2C}, {0xBD, 0x2D}, {0xBB, 0x2E}, {0xDB, 0x2F},
    {0xDD, 0x30}, {0xDC, 0x31}, {0xBA, 0x33}, {0xDE, 0x34}, {0xC0, 0x35}, {0xBC, 0x36}, {0xBE, 0x37}, {0xBF, 0x38},
    {0x14, 0x39}, {0x70, 0x3A}, {0x71, 0x3B}, {0x72, 0x3C}, {0x73, 0x3D}, {0x74, 0x3E}, {0x75, 0x3F}, {0x76, 0x40},
    {0x77, 0x41}, {0x78, 0x42}, {0x79, 0x43}, {0x7A, 0x44}, {0x7B, 0x45},
    {0x2C, 0x46}, {0x91, 0x47}, {0x13, 0x48}, {0x2D, 0x49}, {0x24, 0x4A}, {0x21, 0x4B}, {0x2E, 0x4C}, {0x23, 0x4D},
    {0x22, 0x4E}, {0x27, 0x4F}, {0x25, 0x50}, {0x28, 0x51}, {0x26, 0x52},
    {0x90, 0x53}, {0x6F, 0x54}, {0x6A, 0x55}, {0x6D, 0x56}, {0x6B, 0x57}, {0x0E, 0x58}, {0x61, 0x59}, {0x62, 0x5A},
    {0x63, 0x5B}, {0x64, 0x5C}, {0x65, 0x5D}, {0x66, 0x5E}, {0x67, 0x5F}, {0x68, 0x60}, {0x69, 0x61}, {0x60, 0x62},
    {0x6E, 0x63},
    {0xE2, 0x64}, {0x5D, 0x65}, {0x86, 0x72},
    {0xA2, 0xE0}, {0xA0, 0xE1}, {0xA4, 0xE2}, {0x5B, 0xE3}, {0xA3, 0xE4}, {0xA1, 0xE5}, {0xA5, 0xE6}, {0x5C, 0xE7},
}};
// clang-format on

// clang-format off
constexpr std::array<MouseButtonEntry, mouseMessageCount> mouseButtonMap{{
    {mouseLeft, true},    // WM_LBUTTONDOWN
    {mouseLeft, false},   // WM_LBUTTONUP
    {noKey, false},       // WM_LBUTTONDBLCLK
    {mouseRight, true},   // WM_RBUTTONDOWN
    {mouseRight, false},  // WM_RBUTTONUP
    {noKey, false},       // WM_RBUTTONDBLCLK
    {mouseMiddle, true},  // WM_MBUTTONDOWN
    {mouseMiddle, false}, // WM_MBUTTONUP
}};
// clang-format on

namespace {

// Dense forms of the two maps, so that a hook event costs two array reads.
// Index of a physical key: scan code * 2 + extended flag.
constexpr std::array<quint8, 512> buildScanIndex()
{
    std::array<quint8, 512> index{};
    for (const ScanKeyEntry& e : scanKeyMap)
        index[std::size_t(e.physicalKey >> 8) << 1 | (e.physicalKey & 1)] = e.virtualKey;
    return index;
}

constexpr std::array<quint8, 256> buildVirtualKeyIndex()
{
    std::array<quint8, 256> index{};
    for (const VirtualKeyEntry& e : virtualKeyUsageMap)
        index[e.virtualKey] = e.keyCode;
    return index;
}

constexpr auto scanIndex = buildScanIndex();
constexpr auto virtualKeyIndex = buildVirtualKeyIndex();

// Every physical key and every virtual key appears once, and every virtual
// key of the scan map leads to a keyboard code.
constexpr bool mapsAreConsistent()
{
    std::size_t scanKeys = 0;
    for (quint8 vk : scanIndex)
        scanKeys += vk != 0;
    std::size_t virtualKeys = 0;
    for (quint8 code : virtualKeyIndex)
        virtualKeys += code != 0;
    for (const ScanKeyEntry& e : scanKeyMap)
        if (!keyboardCodeSet[virtualKeyIndex[e.virtualKey]])
            return false;
    return scanKeys == scanKeyCount && virtualKeys == virtualKeyCount;
}
static_assert(mapsAreConsistent(), "a physical or virtual key is listed twice or leads nowhere");

constexpr quint8 vkPause = 0x13;
constexpr quint8 vkSnapshot = 0x2C;
constexpr quint32 scanBreak = 0x46;
constexpr quint32 scanSysRq = 0x54;

} // namespace

quint16 physicalKey(quint32 scanCode, quint32 flags)
{
    if (scanCode > 0xFF)
        scanCode = 0;
    return quint16(scanCode << 8 | (flags & extendedFlag));
}

quint8 windowsVirtualKey(quint32 scanCode, quint32 flags)
{
    const quint16 key = physicalKey(scanCode, flags);
    const quint32 sc = key >> 8;
    const bool extended = key & extendedFlag;
    // Neither of these is in the scan map: Ctrl turns Pause into Break, which
    // arrives as the extended Scroll Lock code, and Alt turns Print Screen
    // into SysRq with a scan code of its own.
    if (sc == scanBreak && extended)
        return vkPause;
    if (sc == scanSysRq && (flags & altDownFlag))
        return vkSnapshot;
    return scanIndex[std::size_t(sc) << 1 | (extended ? 1 : 0)];
}

quint8 keyCodeForVirtualKey(quint8 virtualKey)
{
    return virtualKeyIndex[virtualKey];
}

quint8 windowsKeyCode(quint32 scanCode, quint32 flags)
{
    const quint8 vk = windowsVirtualKey(scanCode, flags);
    return vk ? keyCodeForVirtualKey(vk) : noKey;
}

MouseButtonEntry windowsMouseButton(quint32 message)
{
    if (message < firstMouseMessage || message >= firstMouseMessage + mouseMessageCount)
        return {noKey, false};
    return mouseButtonMap[message - firstMouseMessage];
}

// --- Linux ---------------------------------------------------------------------------------------

// The kernel's HID keyboard table (drivers/hid/hid-input.c), sixteen usages a
// row starting at the usage in the comment.
// clang-format off
constexpr std::array<quint8, hidUsageCount> hidUsageToEvdev{{
    0,   0,   0,   0,   30,  48,  46,  32,  18,  33,  34,  35,  23,  36,  37,  38,  // 0x00
    50,  49,  24,  25,  16,  19,  31,  20,  22,  47,  17,  45,  21,  44,  2,   3,   // 0x10
    4,   5,   6,   7,   8,   9,   10,  11,  28,  1,   14,  15,  57,  12,  13,  26,  // 0x20
    27,  43,  43,  39,  40,  41,  51,  52,  53,  58,  59,  60,  61,  62,  63,  64,  // 0x30
    65,  66,  67,  68,  87,  88,  99,  70,  119, 110, 102, 104, 111, 107, 109, 106, // 0x40
    105, 108, 103, 69,  98,  55,  74,  78,  96,  79,  80,  81,  75,  76,  77,  71,  // 0x50
    72,  73,  82,  83,  86,  127, 116, 117, 183, 184, 185, 186, 187, 188, 189, 190, // 0x60
    191, 192, 193, 194, 134, 138, 130, 132, 128, 129, 131, 137, 133, 135, 136, 113, // 0x70
    115, 114, 0,   0,   0,   121, 0,   89,  93,  124, 92,  94,  95,  0,   0,   0,   // 0x80
    122, 123, 90,  91,  85,  0,   0,   0,   0,   0,   0,   0,   111, 0,   0,   0,   // 0x90
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   // 0xA0
    0,   0,   0,   0,   0,   0,   179, 180, 0,   0,   0,   0,   0,   0,   0,   0,   // 0xB0
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   // 0xC0
    0,   0,   0,   0,   0,   0,   0,   0,   111, 0,   0,   0,   0,   0,   0,   0,   // 0xD0
    29,  42,  56,  125, 97,  54,  100, 126, 164, 166, 165, 163, 161, 115, 114, 113, // 0xE0
    150, 158, 159, 128, 136, 177, 178, 176, 142, 152, 173, 140, 0,   0,   0,   0,   // 0xF0
}};
// clang-format on

namespace {

// evdev code -> key code. Where several usages share an evdev code the lowest
// one wins (0x31 for the backslash key, 0x4C for Delete); a usage outside the
// code list (media keys and the like) gives no key, since the pages could not
// name it and it would collide with the mouse codes above 0xEF.
constexpr std::array<quint8, 256> buildEvdevIndex()
{
    std::array<quint8, 256> lowest{};
    for (std::size_t usage = hidUsageCount; usage-- > 1;)
        if (hidUsageToEvdev[usage] != 0)
            lowest[hidUsageToEvdev[usage]] = quint8(usage);
    for (quint8& code : lowest)
        if (!keyboardCodeSet[code])
            code = noKey;
    return lowest;
}

constexpr auto evdevIndex = buildEvdevIndex();
constexpr quint32 xKeycodeOffset = 8;

} // namespace

quint8 keyCodeForEvdev(quint32 evdevCode)
{
    return evdevCode < evdevIndex.size() ? evdevIndex[evdevCode] : noKey;
}

quint8 keyCodeForXKeycode(quint32 keycode)
{
    return keycode < xKeycodeOffset ? noKey : keyCodeForEvdev(keycode - xKeycodeOffset);
}

quint8 buttonCodeForXButton(quint32 button)
{
    switch (button) {
    case 1:
        return mouseLeft;
    case 2:
        return mouseMiddle;
    case 3:
        return mouseRight;
    default:
        return noKey;
    }
}

} // namespace KeyTables
