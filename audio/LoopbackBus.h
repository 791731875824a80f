#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

class TClock;

// The wire between loopback outputs and loopback inputs: what an output plays is laid on a
// time line (mono, 1.0 = full scale, at the playing output's rate); an input reads the
// stretch of time it records, passes it through the transform and converts it to its own
// format. Time comes from the bus clock, so with a TVirtualClock a whole play+record runs in
// no real time, and with the system clock it runs in real time.
//
// One bus per process (Instance()). GUI thread only, like the streams that use it.
class TLoopbackBus
{
public:
    // Turns what was played into what the microphone hears, in place: `count` samples at
    // `sampleRate` Hz, the first at input position `position` (TimeMsAt gives its clock
    // time); consecutive calls of one recording carry consecutive positions, a recording
    // started anew jumps. Silence (zeros) arrives while nothing plays.
    using TTransform
        = std::function<void(float *samples, int count, int sampleRate, qint64 position)>;

    static TLoopbackBus &Instance();

    TLoopbackBus();

    // The clock that paces every loopback device opened from now on (null: the system
    // clock). It must outlive those devices. Resets the time line.
    void SetClock(TClock *clock);
    TClock &Clock() const;

    // While set, loopback devices refuse to open, as a sound card held by another program
    // does; devices already open go on.
    void SetUnavailable(bool unavailable) { m_unavailable = unavailable; }
    bool Unavailable() const { return m_unavailable; }
    // While set, open loopback devices return no slot, as a sound server that died or froze:
    // a device that stalled stays silent until it is closed. Tests only.
    void SetStalled(bool stalled) { m_stalled = stalled; }
    bool Stalled() const { return m_stalled; }

    void SetTransform(TTransform transform) { m_transform = std::move(transform); }
    void ClearTransform() { m_transform = nullptr; }

    // Sample position at `rate` Hz of clock time `ms` (ms since the bus epoch), rounded down,
    // and the first clock millisecond at which position `position` has been reached.
    qint64 PositionAt(qint64 ms, int rate) const;
    qint64 MsAt(qint64 position, int rate) const;
    // Clock time in ms (fractional, not rounded) of sample position `position` at `rate` Hz.
    double TimeMsAt(qint64 position, int rate) const;
    qint64 NowPosition(int rate) const;

    // Output side: lays `count` samples at `position` (output rate `rate`). A new rate
    // starts a new time line.
    void Write(qint64 position, const float *samples, int count, int rate);
    // Output side: forgets everything laid at or after `position` (play was held or cut).
    void Erase(qint64 position, int rate);

    // Input side: the `count` samples from input position `position` at `rate` Hz, after
    // the transform. Samples the output did not lay (or that fell off the time line) are 0.
    void Read(qint64 position, float *samples, int count, int rate);

    // Samples the time line keeps (about 47 s at 44100 Hz).
    static constexpr qint64 Capacity = qint64(1) << 21;

private:
    float SampleAt(qint64 position) const;

    TClock *m_clock = nullptr;
    qint64 m_epochMs = 0;
    TTransform m_transform;
    bool m_unavailable = false;
    bool m_stalled = false;
    std::vector<float> m_line; // Capacity samples once something played
    int m_rate = 0; // Hz of the time line; 0 while nothing was laid
    qint64 m_writtenEnd = 0; // one past the last laid position
};
