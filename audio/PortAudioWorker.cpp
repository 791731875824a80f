#include "audio/PortAudioWorker.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <thread>

namespace {

qint64 SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Most calls return within this many ms; only slower ones let the caller's events in.
constexpr int QuickMs = 200;

} // namespace

TPortAudioWorker &TPortAudioWorker::Instance()
{
    static TPortAudioWorker *worker = new TPortAudioWorker; // its thread may outlive main
    return *worker;
}

TPortAudioWorker::TPortAudioWorker()
{
    std::thread([this] { Loop(); }).detach();
}

void TPortAudioWorker::Loop()
{
    for (;;) {
        std::shared_ptr<TJob> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return !m_queue.empty(); });
            job = m_queue.front();
            m_queue.pop_front();
            m_runningSinceMs = SteadyMs();
            m_running = job;
        }
        if (job->Work)
            job->Work();
        bool givenUp = false;
        {
            std::lock_guard lock(m_mutex);
            job->Done = true;
            givenUp = job->GivenUp;
            m_runningSinceMs = -1;
            m_running.reset();
        }
        m_finished.notify_all();
        if (givenUp && job->Undo)
            job->Undo();
    }
}

bool TPortAudioWorker::Run(std::function<void()> job, std::function<void()> undo, EWait wait)
{
    auto entry = std::make_shared<TJob>();
    entry->Work = std::move(job);
    entry->Undo = std::move(undo);
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(entry);
    }
    m_wake.notify_one();
    return WaitFor(entry, wait);
}

void TPortAudioWorker::Post(std::function<void()> job)
{
    auto entry = std::make_shared<TJob>();
    entry->Work = std::move(job);
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(entry);
    }
    m_wake.notify_one();
}

bool TPortAudioWorker::IsStuck() const
{
    std::lock_guard lock(m_mutex);
    return m_running && (m_running->GivenUp || SteadyMs() - m_runningSinceMs > LimitMs);
}

bool TPortAudioWorker::WaitFor(const std::shared_ptr<TJob> &job, EWait wait)
{
    const qint64 deadline = SteadyMs() + LimitMs;
    std::unique_lock lock(m_mutex);
    const qint64 quick = wait == EWait::Processing ? QuickMs : LimitMs;
    m_finished.wait_for(lock, std::chrono::milliseconds(quick), [&job] { return job->Done; });
    // A slow call: the window goes on painting and its timers run, but no click or key
    // reaches it while the call is under way.
    while (!job->Done && SteadyMs() < deadline && QCoreApplication::instance()) {
        lock.unlock();
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        lock.lock();
    }
    if (!job->Done)
        m_finished.wait_until(
            lock, std::chrono::steady_clock::time_point(std::chrono::milliseconds(deadline)),
            [&job] { return job->Done; });
    if (!job->Done)
        job->GivenUp = true;
    return job->Done;
}
