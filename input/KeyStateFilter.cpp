#include "KeyStateFilter.h"

bool KeyStateFilter::accept(quint8 code, bool pressed)
{
    if (code == 0 || m_pressed[code] == pressed)
        return false;
    m_pressed[code] = pressed;
    return true;
}
