#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

class TClockTimer;

// Source of time for everything that waits or polls: the turntable's pulses and timers,
// the settle pauses, the simulated controller and the loopback audio. The program uses the
// system clock; tests and orvi-cli use a TVirtualClock so a full turn runs in no real time.
// All members are called on the GUI thread only.
class TClock
{
public:
    virtual ~TClock() = default;

    // Milliseconds since an arbitrary, fixed start; never goes backwards.
    virtual qint64 NowMs() const = 0;

    // Waits ms milliseconds while pending events and this clock's timers are handled
    // (the program's message loop keeps running). Never spins a CPU core. ms <= 0 only
    // handles what is pending. May be re-entered from a handler that runs inside it.
    virtual void WaitProcessing(int ms) = 0;

    // A new stopped timer driven by this clock; the caller owns it. It must not outlive
    // the clock.
    virtual std::unique_ptr<TClockTimer> CreateTimer() = 0;

    // The process-wide real clock.
    static TClock &System();
};

// A repeating timer. OnTimeout runs on the GUI thread, from the event loop (system clock)
// or from inside TVirtualClock::WaitProcessing (virtual clock).
class TClockTimer
{
public:
    virtual ~TClockTimer() = default;
    virtual void Start(int intervalMs) = 0; // (re)starts; first timeout after intervalMs
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    virtual int Interval() const = 0;

    std::function<void()> OnTimeout;
};
