#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A temporary copy of the shipped modules/ folder that a test makes its
// working directory, so nothing touches the source tree or the user's files.
// The previous working directory is restored on destruction.
class TestDataFolder
{
public:
    // Copies modules/ except modules/qml (compiled into the resources).
    TestDataFolder();
    ~TestDataFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }

    // Writes text to a file below the folder, creating folders on the way.
    void write(const QString& relative, const QByteArray& text) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Collects the lines written through Qt's message handler while it lives.
class MessageLog
{
public:
    MessageLog();
    ~MessageLog();

    QStringList lines() const;
    int count(const QString& line) const;
    void clear();
};

// Copies a directory tree; false on the first failure.
bool copyTree(const QString& from, const QString& to, const QStringList& skipRelative = {});

// The source tree's shipped data.
QString sourceModulesPath();

// One row of a table kept in tests/data/: its fields, split on '|' and
// trimmed, and the line it came from (for the row's name in test output).
struct DataRow
{
    int line = 0;
    QStringList fields;

    QString field(qsizetype i) const { return fields.value(i); }
    // "name:LINE", the first field and the line number: unique and findable.
    QByteArray name() const;
};

// The rows of tests/data/NAME. Blank lines and lines starting with '#' are
// skipped. A missing or unreadable file is a test fault: it yields no rows
// and a warning, and tables that must not be empty check for that.
QList<DataRow> readDataRows(const QString& name);

// Bytes written as hex pairs, spaces allowed ("06 07 00 03").
QByteArray hexBytes(const QString& text);

Q_DECLARE_METATYPE(DataRow)

// For a _data function: one Qt Test row per row of tests/data/NAME, in a
// column "row"; with a table, only the rows whose first field names it. A
// missing or empty table gives one row that fails the test.
void addDataRows(const QString& name, const QString& table = {});

// The current row; fails the test for the stand-in row of an empty table.
#define FETCH_DATA_ROW(row)                                                                                            \
    QFETCH(DataRow, row);                                                                                              \
    QVERIFY2(row.line > 0, "no rows")

// The current row's fields as name, padded with empty fields to count.
#define ROW_FIELDS(name, count)                                                                                        \
    FETCH_DATA_ROW(row);                                                                                               \
    QStringList name = row.fields;                                                                                     \
    while (name.size() < (count))                                                                                      \
    name << QString()
