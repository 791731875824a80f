#include "controls/VirtualClock.h"

#include <QCoreApplication>

#include <algorithm>

class TVirtualTimer final : public TClockTimer
{
public:
    explicit TVirtualTimer(TVirtualClock &clock)
        : m_clock(clock)
    {
        m_clock.Register(this);
    }
    ~TVirtualTimer() override
    {
        if (m_destroyed)
            *m_destroyed = true;
        m_clock.Unregister(this);
    }

    void Start(int intervalMs) override
    {
        m_interval = std::max(0, intervalMs);
        m_active = true;
        m_due = m_clock.NowMs() + std::max(1, m_interval);
        m_sequence = ++s_sequence;
    }
    void Stop() override { m_active = false; }
    bool IsActive() const override { return m_active; }
    int Interval() const override { return m_interval; }

    qint64 Due() const { return m_due; }
    quint64 Sequence() const { return m_sequence; }

    bool Firing() const { return m_firing; }

    // Re-arms before the handler runs, so a handler may stop or restart its own timer.
    // Like a QTimer, the timer does not fire again while its own handler runs (a handler
    // that waits lets the other timers tick), and intervals missed meanwhile are skipped
    // instead of fired in a burst.
    void Fire()
    {
        m_due += std::max(1, m_interval);
        m_sequence = ++s_sequence;
        m_firing = true;
        bool destroyed = false; // the handler may delete its own timer
        m_destroyed = &destroyed;
        if (OnTimeout)
            OnTimeout();
        if (destroyed)
            return;
        m_destroyed = nullptr;
        m_firing = false;
        if (m_active && m_due < m_clock.NowMs())
            m_due = m_clock.NowMs() + std::max(1, m_interval);
    }

private:
    TVirtualClock &m_clock;
    int m_interval = 0;
    bool m_active = false;
    qint64 m_due = 0;
    quint64 m_sequence = 0;
    bool m_firing = false;
    bool *m_destroyed = nullptr;
    static inline quint64 s_sequence = 0;
};

TVirtualClock::TVirtualClock(qint64 startMs)
    : m_now(startMs)
{ }

TVirtualClock::~TVirtualClock() = default;

void TVirtualClock::Register(TVirtualTimer *timer)
{
    m_timers.push_back(timer);
}

void TVirtualClock::Unregister(TVirtualTimer *timer)
{
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), timer), m_timers.end());
}

TVirtualTimer *TVirtualClock::NextDue(qint64 until) const
{
    TVirtualTimer *best = nullptr;
    for (TVirtualTimer *t : m_timers) {
        if (!t->IsActive() || t->Firing() || t->Due() > until)
            continue;
        if (!best || t->Due() < best->Due()
            || (t->Due() == best->Due() && t->Sequence() < best->Sequence()))
            best = t;
    }
    return best;
}

void TVirtualClock::WaitProcessing(int ms)
{
    const qint64 target = m_now + std::max(0, ms);
    ++m_depth;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    while (TVirtualTimer *timer = NextDue(target)) {
        m_now = std::max(m_now, timer->Due());
        timer->Fire();
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
    // A nested wait may already have carried the time past our target.
    m_now = std::max(m_now, target);
    --m_depth;
}

std::unique_ptr<TClockTimer> TVirtualClock::CreateTimer()
{
    return std::make_unique<TVirtualTimer>(*this);
}
