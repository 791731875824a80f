#include "controls/SystemClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

class TSystemTimer final : public TClockTimer
{
public:
    TSystemTimer()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (OnTimeout)
                OnTimeout();
        });
    }

    void Start(int intervalMs) override { m_timer.start(intervalMs); }
    void Stop() override { m_timer.stop(); }
    bool IsActive() const override { return m_timer.isActive(); }
    int Interval() const override { return m_timer.interval(); }

private:
    QTimer m_timer;
};

} // namespace

TSystemClock::TSystemClock()
{
    m_elapsed.start();
}

qint64 TSystemClock::NowMs() const
{
    return m_elapsed.elapsed();
}

void TSystemClock::WaitProcessing(int ms)
{
    if (ms <= 0 || !QCoreApplication::instance()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // A nested loop sleeps in the event dispatcher until either an event or the deadline
    // comes, so waiting costs no CPU while nothing happens.
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(ms);
    loop.exec(QEventLoop::AllEvents);
}

std::unique_ptr<TClockTimer> TSystemClock::CreateTimer()
{
    return std::make_unique<TSystemTimer>();
}

TClock &TClock::System()
{
    static TSystemClock clock;
    return clock;
}
