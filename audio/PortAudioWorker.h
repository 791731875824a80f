#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

// The one thread that makes PortAudio's calls which may wait for the sound server: opening,
// starting, stopping and closing streams. A frozen server then holds up this thread, never
// the caller for longer than a limit: a call that does not return in time is given up (what
// it did is undone on this thread once it returns), and while a call has been running
// longer than the limit the worker counts as stuck, so later calls fail at once.
//
// Jobs run one after another in the order they were given, so a stream closed before the
// next one is opened is gone when the open runs. The worker lives for the whole process
// (its thread may be stuck in the server at exit) and is used from the GUI thread.
class TPortAudioWorker
{
public:
    // How long a caller waits for one call, and after how long a running call makes the
    // worker stuck (ms).
    static constexpr int LimitMs = 5000;

    enum class EWait {
        Blocking, // the caller's thread sleeps; for calls made from destructors and stops
        Processing, // the caller's window keeps painting and its timers run (no user input)
    };

    static TPortAudioWorker &Instance();

    // Runs job on the worker and waits at most LimitMs for it. True when it returned in
    // time. Otherwise undo runs on the worker right after job returns (job and undo share
    // whatever the caller gave them; the caller must not touch it any more).
    bool Run(std::function<void()> job, std::function<void()> undo, EWait wait);
    // Queues job and returns at once.
    void Post(std::function<void()> job);
    // True while the job running now was given up on or has run longer than LimitMs.
    bool IsStuck() const;

private:
    struct TJob
    {
        std::function<void()> Work;
        std::function<void()> Undo;
        bool Done = false; // under m_mutex
        bool GivenUp = false; // under m_mutex
    };

    TPortAudioWorker();
    void Loop();
    bool WaitFor(const std::shared_ptr<TJob> &job, EWait wait);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake; // a job was queued
    std::condition_variable m_finished; // a job returned
    std::deque<std::shared_ptr<TJob>> m_queue;
    std::shared_ptr<TJob> m_running; // null while idle
    qint64 m_runningSinceMs = -1; // steady clock
};
