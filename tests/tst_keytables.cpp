#include "KeyStateFilter.h"
#include "KeyTables.h"

#include <QTest>

#include <linux/input-event-codes.h>

#include <iterator>
#include <set>

// The translations from physical keys to key codes: the Windows hook chain
// (scan code and flags -> virtual key -> key code), the evdev and X keycodes
// of Linux, the mouse buttons, and the filter that reports one press per hold.
class TestKeyTables : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowsChain_data() { physicalKeys(); }
    void windowsChain();
    void evdevChain_data() { physicalKeys(); }
    void evdevChain();
    void windowsSpecialKeys_data();
    void windowsSpecialKeys();
    void windowsKnowsOnlyItsTable();
    void linuxOnlyKeys_data();
    void linuxOnlyKeys();
    void evdevGivesOnlyKeyboardCodes();
    void mouseButtons_data();
    void mouseButtons();
    void keyState_data();
    void keyState();

private:
    static void physicalKeys();
};

// Every key the Windows capture knows: its scan code with the extended flag,
// the evdev code Linux gives the same position, and the key code both must
// produce.
void TestKeyTables::physicalKeys()
{
    QTest::addColumn<quint32>("scanCode");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<quint32>("evdev");
    QTest::addColumn<int>("code");
    const auto row = [](const char* name, quint32 scanCode, bool extended, quint32 evdev, int code) {
        QTest::addRow("%s", name) << scanCode << extended << evdev << code;
    };
    const bool E = true;
    row("A", 0x1E, 0, KEY_A, 0x04); row("B", 0x30, 0, KEY_B, 0x05); row("C", 0x2E, 0, KEY_C, 0x06);
    row("D", 0x20, 0, KEY_D, 0x07); row("E", 0x12, 0, KEY_E, 0x08); row("F", 0x21, 0, KEY_F, 0x09);
    row("G", 0x22, 0, KEY_G, 0x0A); row("H", 0x23, 0, KEY_H, 0x0B); row("I", 0x17, 0, KEY_I, 0x0C);
    row("J", 0x24, 0, KEY_J, 0x0D); row("K", 0x25, 0, KEY_K, 0x0E); row("L", 0x26, 0, KEY_L, 0x0F);
    row("M", 0x32, 0, KEY_M, 0x10); row("N", 0x31, 0, KEY_N, 0x11); row("O", 0x18, 0, KEY_O, 0x12);
    row("P", 0x19, 0, KEY_P, 0x13); row("Q", 0x10, 0, KEY_Q, 0x14); row("R", 0x13, 0, KEY_R, 0x15);
    row("S", 0x1F, 0, KEY_S, 0x16); row("T", 0x14, 0, KEY_T, 0x17); row("U", 0x16, 0, KEY_U, 0x18);
    row("V", 0x2F, 0, KEY_V, 0x19); row("W", 0x11, 0, KEY_W, 0x1A); row("X", 0x2D, 0, KEY_X, 0x1B);
    row("Y", 0x15, 0, KEY_Y, 0x1C); row("Z", 0x2C, 0, KEY_Z, 0x1D);
    row("1", 0x02, 0, KEY_1, 0x1E); row("2", 0x03, 0, KEY_2, 0x1F); row("3", 0x04, 0, KEY_3, 0x20);
    row("4", 0x05, 0, KEY_4, 0x21); row("5", 0x06, 0, KEY_5, 0x22); row("6", 0x07, 0, KEY_6, 0x23);
    row("7", 0x08, 0, KEY_7, 0x24); row("8", 0x09, 0, KEY_8, 0x25); row("9", 0x0A, 0, KEY_9, 0x26);
    row("0", 0x0B, 0, KEY_0, 0x27);
    row("Enter", 0x1C, 0, KEY_ENTER, 0x28); row("Esc", 0x01, 0, KEY_ESC, 0x29);
    row("Back", 0x0E, 0, KEY_BACKSPACE, 0x2A); row("Tab", 0x0F, 0, KEY_TAB, 0x2B);
    row("Space", 0x39, 0, KEY_SPACE, 0x2C); row("-", 0x0C, 0, KEY_MINUS, 0x2D); row("=", 0x0D, 0, KEY_EQUAL, 0x2E);
    row("[", 0x1A, 0, KEY_LEFTBRACE, 0x2F); row("]", 0x1B, 0, KEY_RIGHTBRACE, 0x30);
    row("\\", 0x2B, 0, KEY_BACKSLASH, 0x31); row(";", 0x27, 0, KEY_SEMICOLON, 0x33);
    row("'", 0x28, 0, KEY_APOSTROPHE, 0x34); row("`", 0x29, 0, KEY_GRAVE, 0x35); row(",", 0x33, 0, KEY_COMMA, 0x36);
    row(".", 0x34, 0, KEY_DOT, 0x37); row("/", 0x35, 0, KEY_SLASH, 0x38); row("Caps", 0x3A, 0, KEY_CAPSLOCK, 0x39);
    row("F1", 0x3B, 0, KEY_F1, 0x3A); row("F2", 0x3C, 0, KEY_F2, 0x3B); row("F3", 0x3D, 0, KEY_F3, 0x3C);
    row("F4", 0x3E, 0, KEY_F4, 0x3D); row("F5", 0x3F, 0, KEY_F5, 0x3E); row("F6", 0x40, 0, KEY_F6, 0x3F);
    row("F7", 0x41, 0, KEY_F7, 0x40); row("F8", 0x42, 0, KEY_F8, 0x41); row("F9", 0x43, 0, KEY_F9, 0x42);
    row("F10", 0x44, 0, KEY_F10, 0x43); row("F11", 0x57, 0, KEY_F11, 0x44); row("F12", 0x58, 0, KEY_F12, 0x45);
    row("Prt", 0x37, E, KEY_SYSRQ, 0x46); row("Scr", 0x46, 0, KEY_SCROLLLOCK, 0x47);
    row("Pau", 0x45, 0, KEY_PAUSE, 0x48); row("Ins", 0x52, E, KEY_INSERT, 0x49);
    row("Hom", 0x47, E, KEY_HOME, 0x4A); row("Pgu", 0x49, E, KEY_PAGEUP, 0x4B); row("Del", 0x53, E, KEY_DELETE, 0x4C);
    row("End", 0x4F, E, KEY_END, 0x4D); row("PgD", 0x51, E, KEY_PAGEDOWN, 0x4E);
    row("Right", 0x4D, E, KEY_RIGHT, 0x4F); row("Left", 0x4B, E, KEY_LEFT, 0x50);
    row("Down", 0x50, E, KEY_DOWN, 0x51); row("Up", 0x48, E, KEY_UP, 0x52);
    row("Num", 0x45, E, KEY_NUMLOCK, 0x53); row("KP/", 0x35, E, KEY_KPSLASH, 0x54);
    row("KP*", 0x37, 0, KEY_KPASTERISK, 0x55); row("KP-", 0x4A, 0, KEY_KPMINUS, 0x56);
    row("KP+", 0x4E, 0, KEY_KPPLUS, 0x57); row("KPEnter", 0x1C, E, KEY_KPENTER, 0x58);
    row("KP1", 0x4F, 0, KEY_KP1, 0x59); row("KP2", 0x50, 0, KEY_KP2, 0x5A); row("KP3", 0x51, 0, KEY_KP3, 0x5B);
    row("KP4", 0x4B, 0, KEY_KP4, 0x5C); row("KP5", 0x4C, 0, KEY_KP5, 0x5D); row("KP6", 0x4D, 0, KEY_KP6, 0x5E);
    row("KP7", 0x47, 0, KEY_KP7, 0x5F); row("KP8", 0x48, 0, KEY_KP8, 0x60); row("KP9", 0x49, 0, KEY_KP9, 0x61);
    row("KP0", 0x52, 0, KEY_KP0, 0x62); row("KP.", 0x53, 0, KEY_KPDOT, 0x63);
    row("Eur2", 0x56, 0, KEY_102ND, 0x64); row("App", 0x5D, E, KEY_COMPOSE, 0x65); row("F23", 0x6E, 0, KEY_F23, 0x72);
    row("LCtrl", 0x1D, 0, KEY_LEFTCTRL, 0xE0); row("LShift", 0x2A, 0, KEY_LEFTSHIFT, 0xE1);
    row("LAlt", 0x38, 0, KEY_LEFTALT, 0xE2); row("LWin", 0x5B, E, KEY_LEFTMETA, 0xE3);
    row("RCtrl", 0x1D, E, KEY_RIGHTCTRL, 0xE4); row("RShift", 0x36, 0, KEY_RIGHTSHIFT, 0xE5);
    row("RAlt", 0x38, E, KEY_RIGHTALT, 0xE6); row("RWin", 0x5C, E, KEY_RIGHTMETA, 0xE7);
}

void TestKeyTables::windowsChain()
{
    QFETCH(quint32, scanCode);
    QFETCH(bool, extended);
    QFETCH(int, code);
    const quint32 flags = extended ? KeyTables::extendedFlag : 0;
    QCOMPARE(KeyTables::windowsKeyCode(scanCode, flags), code);
    // Nor do the injected (0x10), Alt (0x20) and key-up (0x80) flags.
    QCOMPARE(KeyTables::windowsKeyCode(scanCode, flags | 0x10 | 0x80), code);
    QCOMPARE(KeyTables::windowsKeyCode(scanCode, flags | KeyTables::altDownFlag), code);
}

void TestKeyTables::evdevChain()
{
    QFETCH(quint32, evdev);
    QFETCH(int, code);
    QCOMPARE(KeyTables::keyCodeForEvdev(evdev), code);
    QCOMPARE(KeyTables::keyCodeForXKeycode(evdev + 8), code);
}

void TestKeyTables::windowsSpecialKeys_data()
{
    QTest::addColumn<quint32>("scanCode");
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<int>("virtualKey");
    QTest::addColumn<int>("code");
    const quint32 ext = KeyTables::extendedFlag;
    const quint32 alt = KeyTables::altDownFlag;
    QTest::newRow("scan code above 255 counts as 0") << 0x11Eu << 0u << 0 << 0;
    QTest::newRow("scan code 0") << 0u << ext << 0 << 0;
    QTest::newRow("A with the extended flag") << 0x1Eu << ext << 0 << 0;
    QTest::newRow("Ctrl+Break") << 0x46u << ext << 0x13 << 0x48;
    QTest::newRow("Ctrl+Break with Alt") << 0x46u << (ext | alt) << 0x13 << 0x48;
    QTest::newRow("Alt+Print Screen") << 0x54u << alt << 0x2C << 0x46;
    QTest::newRow("Alt+Print Screen, extended") << 0x54u << (alt | ext) << 0x2C << 0x46;
    QTest::newRow("SysRq without Alt") << 0x54u << 0u << 0 << 0;
    QTest::newRow("Print Screen without the flag is KP*") << 0x37u << 0u << 0x6A << 0x55;
    QTest::newRow("faked Right Shift of the navigation keys") << 0x36u << ext << 0 << 0;
    QTest::newRow("F13 is not captured") << 0x64u << 0u << 0 << 0;
}

void TestKeyTables::windowsSpecialKeys()
{
    QFETCH(quint32, scanCode);
    QFETCH(quint32, flags);
    QFETCH(int, virtualKey);
    QFETCH(int, code);
    QCOMPARE(KeyTables::windowsVirtualKey(scanCode, flags), virtualKey);
    QCOMPARE(KeyTables::windowsKeyCode(scanCode, flags), code);
}

// Across every scan code and flag, only the 106 listed keys and Ctrl+Break
// give a code, and only keyboard codes come out.
void TestKeyTables::windowsKnowsOnlyItsTable()
{
    int known = 0;
    std::set<int> codes;
    for (quint32 scanCode = 0; scanCode < 0x100; ++scanCode) {
        for (quint32 flags : {0u, KeyTables::extendedFlag}) {
            const quint8 code = KeyTables::windowsKeyCode(scanCode, flags);
            if (!code)
                continue;
            QVERIFY2(KeyTables::isKeyboardCode(code), qPrintable(QString::number(scanCode, 16)));
            ++known;
            codes.insert(code);
        }
    }
    QCOMPARE(known, 107);
    QCOMPARE(codes.size(), std::size_t(106));
    QCOMPARE(KeyTables::keyCodeForVirtualKey(0xFF), 0);
}

// Keys a Windows keyboard of the table does not have, where Linux names the
// position; and the evdev codes shared by several usages.
void TestKeyTables::linuxOnlyKeys_data()
{
    QTest::addColumn<quint32>("evdev");
    QTest::addColumn<int>("code");
    QTest::newRow("F13") << quint32(KEY_F13) << 0x68;
    QTest::newRow("F24") << quint32(KEY_F24) << 0x73;
    QTest::newRow("Power") << quint32(KEY_POWER) << 0x66;
    QTest::newRow("KP=") << quint32(KEY_KPEQUAL) << 0x67;
    QTest::newRow("keypad comma") << quint32(KEY_KPCOMMA) << 0x85;
    QTest::newRow("Intl1 (Ro)") << quint32(KEY_RO) << 0x87;
    QTest::newRow("Intl5 (Muhenkan)") << quint32(KEY_MUHENKAN) << 0x8B;
    QTest::newRow("Lang2 (Hanja)") << quint32(KEY_HANJA) << 0x91;
    QTest::newRow("mute has no key code") << quint32(KEY_MUTE) << 0;
    QTest::newRow("browser key, usage 0xF0, is no mouse button") << quint32(KEY_WWW) << 0;
    QTest::newRow("reserved") << quint32(KEY_RESERVED) << 0;
    QTest::newRow("beyond the table") << 0x100u << 0;
}

void TestKeyTables::linuxOnlyKeys()
{
    QFETCH(quint32, evdev);
    QFETCH(int, code);
    QCOMPARE(KeyTables::keyCodeForEvdev(evdev), code);
}

void TestKeyTables::evdevGivesOnlyKeyboardCodes()
{
    for (quint32 keycode = 0; keycode < 8; ++keycode)
        QCOMPARE(KeyTables::keyCodeForXKeycode(keycode), 0);
    std::set<int> codes;
    for (quint32 evdev = 0; evdev < 0x100; ++evdev) {
        const quint8 code = KeyTables::keyCodeForEvdev(evdev);
        if (!code)
            continue;
        QVERIFY2(KeyTables::isKeyboardCode(code), qPrintable(QString::number(evdev)));
        QVERIFY2(codes.insert(code).second, qPrintable(QString::number(code, 16)));
    }
    // Every keyboard code of the list but the second backslash (0x32, which
    // Linux reports as the first) has a position.
    QCOMPARE(codes.size(), std::size_t(KeyTables::keyCodeCount - 5 - 1));
    QVERIFY(!codes.count(0x32));
}

// Windows messages 0x200.. and X buttons 0.., with the code they give (0:
// none) and, for Windows, whether it is a press.
void TestKeyTables::mouseButtons_data()
{
    QTest::addColumn<bool>("windows");
    QTest::addColumn<quint32>("event");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("pressed");
    // move, L down/up/double, R down/up/double, M down/up/double, wheel, X button
    const int windowsCodes[] = {0, 0xF0, 0xF0, 0, 0xF1, 0xF1, 0, 0xF2, 0xF2, 0, 0, 0};
    for (quint32 i = 0; i < std::size(windowsCodes); ++i)
        QTest::addRow("message 0x%x", 0x200 + i) << true << 0x200 + i << windowsCodes[i] << (i % 3 == 1);
    // none, left, middle, right, the wheel (4..7), back, forward
    const int xCodes[] = {0, 0xF0, 0xF2, 0xF1, 0, 0, 0, 0, 0, 0};
    for (quint32 i = 0; i < std::size(xCodes); ++i)
        QTest::addRow("X button %u", i) << false << i << xCodes[i] << false;
    QTest::newRow("X button 255") << false << 255u << 0 << false;
}

void TestKeyTables::mouseButtons()
{
    QFETCH(bool, windows);
    QFETCH(quint32, event);
    QFETCH(int, code);
    QFETCH(bool, pressed);
    if (!windows) {
        QCOMPARE(KeyTables::buttonCodeForXButton(event), code);
        return;
    }
    const KeyTables::MouseButtonEntry entry = KeyTables::windowsMouseButton(event);
    QCOMPARE(entry.buttonCode, code);
    if (code)
        QCOMPARE(entry.pressed, pressed);
}

// Events and what passes, written "+04" for a press of 0x04, "-04" for its
// release.
void TestKeyTables::keyState_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("reported");
    QTest::newRow("nothing") << "" << "";
    QTest::newRow("release never seen pressed") << "-04 -E1" << "";
    QTest::newRow("key code 0") << "+00 -00" << "";
    QTest::newRow("press and release") << "+04 -04" << "+04 -04";
    QTest::newRow("held key repeats") << "+04 +04 +04 +04 -04" << "+04 -04";
    QTest::newRow("double release") << "+04 -04 -04" << "+04 -04";
    QTest::newRow("pressed again") << "+04 -04 +04 -04" << "+04 -04 +04 -04";
    QTest::newRow("shift held over a typed key") << "+E1 +04 +E1 -04 +E1 -E1" << "+E1 +04 -04 -E1";
    QTest::newRow("code 0xFF") << "+FF +FF -FF" << "+FF -FF";
}

void TestKeyTables::keyState()
{
    QFETCH(QString, events);
    QFETCH(QString, reported);
    KeyStateFilter filter;
    QStringList passed;
    for (const QString& e : events.split(' ', Qt::SkipEmptyParts)) {
        const quint8 code = quint8(e.mid(1).toUInt(nullptr, 16));
        if (filter.accept(code, e.startsWith('+')))
            passed << e;
    }
    QCOMPARE(passed.join(' '), reported);
}

QTEST_GUILESS_MAIN(TestKeyTables)
#include "tst_keytables.moc"
