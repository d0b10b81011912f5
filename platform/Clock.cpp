#include "Clock.h"

#include <chrono>
#include <numeric>
#include <thread>

Clock& Clock::system()
{
    static RealClock clock;
    return clock;
}

void RealClock::sleepMs(quint32 ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

qint64 RealClock::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void VirtualClock::sleepMs(quint32 ms)
{
    m_sleeps.push_back(ms);
    m_now += ms;
}

qint64 VirtualClock::nowMs() const
{
    return m_now;
}

void VirtualClock::advance(qint64 ms)
{
    m_now += ms;
}

qint64 VirtualClock::totalSleptMs() const
{
    return std::accumulate(m_sleeps.begin(), m_sleeps.end(), qint64(0));
}
