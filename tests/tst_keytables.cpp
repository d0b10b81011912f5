#include "KeyStateFilter.h"
#include "KeyTables.h"
#include "TestSupport.h"

#include <QTest>

#include <iterator>
#include <set>

// The translations from physical keys to key codes: the Windows hook chain
// (scan code and flags -> virtual key -> key code), the evdev and X keycodes
// of Linux, the mouse buttons, and the filter that reports one press per hold.
// The long tables are rows of tests/data/keytables.rows.

namespace {

// The rows of one table of keytables.rows; none at all is one failing row.
void addRows(const char* table)
{
    QTest::addColumn<DataRow>("row");
    QList<DataRow> rows = readDataRows(QStringLiteral("keytables.rows"));
    rows.removeIf([table](const DataRow& row) { return row.field(0) != QLatin1String(table); });
    for (const DataRow& row : rows)
        QTest::addRow("%s:%d", qPrintable(row.field(1)), row.line) << row;
    if (rows.isEmpty())
        QTest::newRow("no rows") << DataRow{};
}

quint32 hex(const DataRow& row, int i)
{
    return row.field(i).toUInt(nullptr, 16);
}

} // namespace

class TestKeyTables : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void physicalKeys_data() { addRows("key"); }
    void physicalKeys();
    void windowsSpecialKeys_data() { addRows("special"); }
    void windowsSpecialKeys();
    void windowsKnowsOnlyItsTable();
    void linuxOnlyKeys_data() { addRows("linux"); }
    void linuxOnlyKeys();
    void evdevGivesOnlyKeyboardCodes();
    void mouseButtons();
    void keyState_data() { addRows("held"); }
    void keyState();
};

// Both chains give the key's code; the injected (0x10), Alt (0x20) and key-up
// (0x80) flags change nothing.
void TestKeyTables::physicalKeys()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/keytables.rows is missing or has no such table");
    const quint32 scanCode = hex(row, 2), evdev = row.field(4).toUInt();
    const quint32 flags = row.field(3) == QLatin1String("E") ? KeyTables::extendedFlag : 0;
    const int code = int(hex(row, 5));
    QCOMPARE(KeyTables::windowsKeyCode(scanCode, flags), code);
    QCOMPARE(KeyTables::windowsKeyCode(scanCode, flags | 0x10 | 0x80), code);
    QCOMPARE(KeyTables::windowsKeyCode(scanCode, flags | KeyTables::altDownFlag), code);
    QCOMPARE(KeyTables::keyCodeForEvdev(evdev), code);
    QCOMPARE(KeyTables::keyCodeForXKeycode(evdev + 8), code);
}

void TestKeyTables::windowsSpecialKeys()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/keytables.rows is missing or has no such table");
    const quint32 flags = (row.field(3).contains(QLatin1Char('E')) ? KeyTables::extendedFlag : 0) |
                          (row.field(3).contains(QLatin1Char('A')) ? KeyTables::altDownFlag : 0);
    QCOMPARE(KeyTables::windowsVirtualKey(hex(row, 2), flags), int(hex(row, 4)));
    QCOMPARE(KeyTables::windowsKeyCode(hex(row, 2), flags), int(hex(row, 5)));
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
void TestKeyTables::linuxOnlyKeys()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/keytables.rows is missing or has no such table");
    QCOMPARE(KeyTables::keyCodeForEvdev(row.field(2).toUInt()), int(hex(row, 3)));
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

// Windows messages 0x200.. (move, L down/up/double, R and M the same, wheel,
// X button) and X buttons 0.. (none, left, middle, right, the wheel 4..7, back,
// forward), with the code they give (0: none) and, for Windows, whether it is
// a press.
void TestKeyTables::mouseButtons()
{
    const int windowsCodes[] = {0, 0xF0, 0xF0, 0, 0xF1, 0xF1, 0, 0xF2, 0xF2, 0, 0, 0};
    for (quint32 i = 0; i < std::size(windowsCodes); ++i) {
        const KeyTables::MouseButtonEntry entry = KeyTables::windowsMouseButton(0x200 + i);
        QCOMPARE(entry.buttonCode, windowsCodes[i]);
        QVERIFY(!entry.buttonCode || entry.pressed == (i % 3 == 1));
    }
    const int xCodes[] = {0, 0xF0, 0xF2, 0xF1, 0, 0, 0, 0, 0, 0};
    for (quint32 i = 0; i < std::size(xCodes); ++i)
        QCOMPARE(KeyTables::buttonCodeForXButton(i), xCodes[i]);
    QCOMPARE(KeyTables::buttonCodeForXButton(255), 0);
}

void TestKeyTables::keyState()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/keytables.rows is missing or has no such table");
    KeyStateFilter filter;
    QStringList passed;
    for (const QString& e : row.field(2).split(' ', Qt::SkipEmptyParts)) {
        if (filter.accept(quint8(e.mid(1).toUInt(nullptr, 16)), e.startsWith('+')))
            passed << e;
    }
    QCOMPARE(passed.join(' '), row.field(3));
}

QTEST_GUILESS_MAIN(TestKeyTables)
#include "tst_keytables.moc"
