#include "CommandQueue.h"

#include <QStringList>

int CommandQueue::push(Entry entry)
{
    int superseded = 0;
    if (!entry.key.isEmpty()) {
        for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
            if (it->key.isEmpty())
                break;
            if (it->key == entry.key) {
                m_entries.erase(std::next(it).base());
                superseded = 1;
                break;
            }
        }
    }
    m_entries.push_back(std::move(entry));
    return superseded;
}

std::optional<CommandQueue::Entry> CommandQueue::pop()
{
    if (m_entries.empty())
        return std::nullopt;
    Entry entry = std::move(m_entries.front());
    m_entries.pop_front();
    return entry;
}

int CommandQueue::clear()
{
    const int dropped = size();
    m_entries.clear();
    return dropped;
}

QStringList CommandQueue::keys() const
{
    QStringList out;
    for (const Entry& e : m_entries)
        out << (e.key.isEmpty() ? QStringLiteral("-") : e.key);
    return out;
}
