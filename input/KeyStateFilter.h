#pragma once

#include <QtGlobal>

#include <array>

// One report per key change: remembers, for every key code, the state last
// reported. A press of a key already down (auto-repeat, or a second source of
// the same event) and a release of a key that is not down give nothing. Key
// code 0 never passes. Not thread-safe; one filter per event stream.
class KeyStateFilter
{
public:
    // True when (code, pressed) is a change and must be reported; the filter
    // then records the new state.
    bool accept(quint8 code, bool pressed);

    bool isPressed(quint8 code) const { return m_pressed[code]; }

    // Forgets every state: all keys up.
    void reset() { m_pressed.fill(false); }

private:
    std::array<bool, 256> m_pressed{};
};
