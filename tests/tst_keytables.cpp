#include "KeyStateFilter.h"
#include "KeyTables.h"
#include "TestSupport.h"

#include <QTest>

#include <set>

// The translations from physical keys to key codes: the Windows hook chain
// (scan code and flags -> virtual key -> key code), the evdev and X keycodes
// of Linux, the mouse buttons, and the filter that reports one press per hold.
// The tables are rows of tests/data/keytables.rows.

using namespace KeyTables;

class TestKeyTables : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rows_data() { addDataRows(QStringLiteral("keytables.rows")); }
    void rows();
    void onlyTheTablesGiveCodes();
};

void TestKeyTables::rows()
{
    FETCH_DATA_ROW(row);
    const QString table = row.field(0);
    const auto hex = [&row](int i) { return row.field(i).toUInt(nullptr, 16); };
    const quint32 flags = (row.field(3).contains(QLatin1Char('E')) ? extendedFlag : 0) |
                          (row.field(3).contains(QLatin1Char('A')) ? altDownFlag : 0);
    if (table == QLatin1String("key")) {
        // Both chains give the key's code; the injected (0x10), Alt and
        // key-up (0x80) flags change nothing.
        const quint32 evdev = row.field(4).toUInt();
        const int code = int(hex(5));
        QCOMPARE(windowsKeyCode(hex(2), flags), code);
        QCOMPARE(windowsKeyCode(hex(2), flags | 0x10 | 0x80), code);
        QCOMPARE(windowsKeyCode(hex(2), flags | altDownFlag), code);
        QCOMPARE(keyCodeForEvdev(evdev), code);
        QCOMPARE(keyCodeForXKeycode(evdev + 8), code);
    } else if (table == QLatin1String("special")) {
        QCOMPARE(windowsVirtualKey(hex(2), flags), int(hex(4)));
        QCOMPARE(windowsKeyCode(hex(2), flags), int(hex(5)));
    } else if (table == QLatin1String("linux")) {
        QCOMPARE(keyCodeForEvdev(row.field(2).toUInt()), int(hex(3)));
    } else if (table == QLatin1String("windows button")) {
        const MouseButtonEntry entry = windowsMouseButton(hex(2));
        QCOMPARE(int(entry.buttonCode), int(hex(3)));
        QVERIFY(!entry.buttonCode || entry.pressed == (row.field(4) == QLatin1String("press")));
    } else if (table == QLatin1String("X button")) {
        QCOMPARE(buttonCodeForXButton(row.field(2).toUInt()), int(hex(3)));
    } else {
        QCOMPARE(table, QStringLiteral("held"));
        KeyStateFilter filter;
        QStringList passed;
        for (const QString& e : row.field(2).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (filter.accept(quint8(e.mid(1).toUInt(nullptr, 16)), e.startsWith(QLatin1Char('+'))))
                passed << e;
        }
        QCOMPARE(passed.join(QLatin1Char(' ')), row.field(3));
    }
}

// Across every scan code (with and without the extended flag) only the 106
// keys of the table and Ctrl+Break give a code; across every evdev code each
// keyboard code of the list comes out once, but the second backslash (0x32,
// which Linux reports as the first). Only keyboard codes come out of either.
void TestKeyTables::onlyTheTablesGiveCodes()
{
    std::multiset<int> windows, evdev;
    for (quint32 n = 0; n < 0x100; ++n) {
        for (quint32 flags : {0u, extendedFlag})
            windows.insert(windowsKeyCode(n, flags));
        evdev.insert(keyCodeForEvdev(n));
        if (n < 8)
            QCOMPARE(keyCodeForXKeycode(n), 0);
    }
    windows.erase(0);
    evdev.erase(0);
    for (const std::multiset<int>* codes : {&windows, &evdev}) {
        for (int code : *codes)
            QVERIFY2(isKeyboardCode(quint8(code)), qPrintable(QString::number(code, 16)));
    }
    QCOMPARE(windows.size(), std::size_t(107));
    QCOMPARE(std::set<int>(windows.begin(), windows.end()).size(), std::size_t(106));
    QCOMPARE(std::set<int>(evdev.begin(), evdev.end()).size(), evdev.size());
    QCOMPARE(evdev.size(), keyCodeCount - 5 - 1); // less the five mouse buttons
    QVERIFY(!evdev.count(0x32));
    QCOMPARE(keyCodeForVirtualKey(0xFF), 0);
}

QTEST_GUILESS_MAIN(TestKeyTables)
#include "tst_keytables.moc"
