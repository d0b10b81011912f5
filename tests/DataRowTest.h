#pragma once

#include "TestSupport.h"

#include <QTest>

Q_DECLARE_METATYPE(DataRow)

// For a _data function: one Qt Test row per row of tests/data/NAME, in a
// column "row". A missing or empty table gives one row that fails the test.
inline void addDataRows(const QString& name)
{
    QTest::addColumn<DataRow>("row");
    const QList<DataRow> rows = readDataRows(name);
    for (const DataRow& row : rows)
        QTest::newRow(row.name().constData()) << row;
    if (rows.isEmpty())
        QTest::newRow(qPrintable(QStringLiteral("no rows in tests/data/") + name)) << DataRow{};
}

// The current row; fails the test for the stand-in row of an empty table.
#define FETCH_DATA_ROW(row)                                                                                            \
    QFETCH(DataRow, row);                                                                                              \
    QVERIFY2(row.line > 0, "no rows")
