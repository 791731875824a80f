#pragma once

#include "controls/Clock.h"

#include <QtGlobal>

#include <deque>

// A model of the turntable's controller for trying the program without hardware. It obeys
// the wiring of the real one: command pulses on pins 2 (forward), 3 (backward), 4 (stop)
// and 6 (return to 0) are low-going and count when they were low for at least
// MinPulseMs (shorter ones are ignored, as the opto-inputs would); the latest command
// wins. It reports its state on pins 11, 12, 13 and 15 and pulls the marker pin 10 low for
// MarkerLowMs each time the table reaches a multiple of 10 degrees. A return to 0 turns
// backward until the table is at 0 and then stops. Switched off, it reports state 0 and
// ignores commands.
//
// The model is evaluated lazily from the clock at each access, so it needs no timer and
// costs nothing while nobody looks. Positions are kept exactly in integer units of 1/36 ms
// of travel (10 degrees = TurnMs units), so marker times do not drift. GUI thread only.
class TSimulatedController
{
public:
    static constexpr int DefaultTurnMs = 80000;
    static constexpr int DefaultMarkerLowMs = 150;
    static constexpr int MinPulseMs = 2;
    static constexpr qint64 HistoryMs = 120000; // motion history kept for TrueAngleAt

    // turnMs: time of one full turn (clamped to >= 360 ms); markerLowMs: marker pulse length.
    explicit TSimulatedController(TClock &clock, int turnMs = DefaultTurnMs,
                                  int markerLowMs = DefaultMarkerLowMs);
    ~TSimulatedController();

    TSimulatedController(const TSimulatedController &) = delete;
    TSimulatedController &operator=(const TSimulatedController &) = delete;

    // The most recently created controller that still exists, or nullptr: lets the
    // simulated acoustic path read the table's true angle.
    static TSimulatedController *Instance();

    // Level of pins 2..9 as the data register holds them (bit 0 = pin 2), at the clock's now.
    void SetCommandLines(quint8 dataRegister);
    // Level on the connector of input pin 10, 11, 12, 13 or 15 now; true for other pins.
    bool PinLevel(int pin);

    // 0 switched off, 1 backward, 2 forward, 3 stopped, 4 returning to 0.
    int State();
    // The table's true angle now, degrees in [0, 360).
    double TrueAngle();
    // The table's true angle at clock time `ms` (may be fractional), degrees in [0, 360):
    // exact between the integer steps of the model. Times after now give the angle now;
    // times older than the kept history (HistoryMs) give the oldest angle kept.
    double TrueAngleAt(double ms);
    // Puts the table at an angle (degrees, any value) without turning it.
    void SetTrueAngle(double degrees);
    // Multiples of 10 degrees the table has reached since creation.
    int MarkersPassed();

    void SetSwitchedOff(bool off);
    bool SwitchedOff() const { return m_switchedOff; }

    int TurnMs() const { return m_turnMs; }
    int MarkerLowMs() const { return m_markerLowMs; }

private:
    // From StartMs on the table moves as State says, starting at Position (units); a
    // return to 0 stays at 0 once it arrives.
    struct TSegment
    {
        qint64 StartMs = 0;
        qint64 Position = 0;
        int State = 3;
    };

    void Advance();
    void Command(int pin);
    void BeginSegment();
    double AngleIn(const TSegment &segment, double ms) const;
    qint64 UnitsPerTurn() const { return 36 * qint64(m_turnMs); }

    TClock &m_clock;
    int m_turnMs;
    int m_markerLowMs;
    qint64 m_time = 0; // ms up to which the model has been evaluated
    qint64 m_position = 0; // units in [0, UnitsPerTurn)
    int m_state = 3;
    bool m_switchedOff = false;
    double m_lastMarkerAt = -1e18; // ms, when the table last reached a marker
    int m_markersPassed = 0;
    quint8 m_lines = 0xFF; // pins 2..9 rest high
    qint64 m_fallTime[8] {}; // when each command line went low
    std::deque<TSegment> m_history; // by StartMs, the last one is the motion now
};
