#pragma once

#include "controls/Clock.h"

#include <vector>

class TVirtualTimer;

// Simulated time for tests and batch runs. Time stands still until someone waits:
// WaitProcessing(ms) moves the time forward to each due timer in turn, fires it, handles
// posted Qt events, and finally arrives at now + ms. Nothing sleeps in real time.
class TVirtualClock final : public TClock
{
public:
    explicit TVirtualClock(qint64 startMs = 0);
    ~TVirtualClock() override;

    qint64 NowMs() const override { return m_now; }
    void WaitProcessing(int ms) override;
    std::unique_ptr<TClockTimer> CreateTimer() override;

    // Same as WaitProcessing; reads better in tests.
    void Advance(int ms) { WaitProcessing(ms); }

    // How many waits are running inside one another right now (0 when idle).
    int Depth() const { return m_depth; }

private:
    friend class TVirtualTimer;
    void Register(TVirtualTimer *timer);
    void Unregister(TVirtualTimer *timer);
    TVirtualTimer *NextDue(qint64 until) const;

    qint64 m_now;
    int m_depth = 0;
    std::vector<TVirtualTimer *> m_timers; // not owned
};
