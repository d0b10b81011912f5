#pragma once

#include <QtGlobal>

#include <atomic>
#include <vector>

// Time source for the fixed delays of the HID link. Production code uses the
// real clock; tests inject a VirtualClock so that no unit test sleeps for real
// and the delays can be asserted afterwards.
class Clock
{
public:
    virtual ~Clock() = default;

    // Blocks the calling thread for ms milliseconds (a virtual clock only
    // records the request and advances its time).
    virtual void sleepMs(quint32 ms) = 0;

    // Milliseconds since an arbitrary, fixed epoch; never goes backwards.
    virtual qint64 nowMs() const = 0;

    // The process-wide real clock.
    static Clock& system();
};

class RealClock final : public Clock
{
public:
    void sleepMs(quint32 ms) override;
    qint64 nowMs() const override;
};

// Records every sleep and advances time by it. Safe to use from one thread at a
// time; the recorded list is not meant to be read while another thread sleeps.
class VirtualClock final : public Clock
{
public:
    void sleepMs(quint32 ms) override;
    qint64 nowMs() const override;

    void advance(qint64 ms);
    const std::vector<quint32>& sleeps() const { return m_sleeps; }
    qint64 totalSleptMs() const;
    void clearSleeps() { m_sleeps.clear(); }

private:
    std::atomic<qint64> m_now{0};
    std::vector<quint32> m_sleeps;
};
