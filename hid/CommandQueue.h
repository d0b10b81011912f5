#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <optional>

// The HID worker's pending operations, in the order they were posted.
//
// An operation with a key replaces what an earlier one with the same key
// would send (the DPI stages, the colour table of one type, macro slot 3...):
// when it is posted while such an earlier one still waits, the earlier one is
// dropped, so two saves in a row send the last state once. The one that stays
// goes at the end, after everything posted before it, so that what the mouse
// holds at the end is what sending both would leave. An operation without a
// key (a read, or one whose effect another does not replace) is never
// dropped, and nothing posted before it is superseded by what comes after it:
// it may read what the earlier ones wrote.
class CommandQueue
{
public:
    struct Entry
    {
        QString key;
        std::function<void()> run;
    };

    // Appends entry; returns how many waiting entries it superseded (0 or 1).
    int push(Entry entry);
    std::optional<Entry> pop();
    // Drops everything waiting; returns how many entries that was.
    int clear();
    bool empty() const { return m_entries.empty(); }
    int size() const { return int(m_entries.size()); }
    // The keys waiting, in order (an entry without a key as "-").
    QStringList keys() const;

private:
    std::deque<Entry> m_entries;
};
