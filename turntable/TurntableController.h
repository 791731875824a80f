#pragma once

#include "controls/Clock.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/Turntable.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>

// Drives the turntable's controller through one parallel port: sends its commands as short
// low pulses on the output pins, decodes its state from the input pins, counts its marker
// pulses (one per 10 degrees of rotation) and runs the moves (free running, step, range).
// Headless: the turntable window is a thin view over it and turns its signals into window
// messages and lamps.
//
// Every wait (5 ms pulses, the 1000 ms pause of a range run, the wait loops of a step or
// range run) goes through the injected TClock, which keeps handling events and timers while
// it waits; so the marker timer (50 ms) and the state timer (100 ms) tick inside a running
// move, and the user can stop it. GUI thread only; long operations re-enter the event loop.
class TTurntableController : public TTurntable
{
    Q_OBJECT

public:
    // Output pins: commands are low-going pulses; all of 2..6 rest high.
    static constexpr int PinForward = 2;
    static constexpr int PinBackward = 3;
    static constexpr int PinStop = 4;
    static constexpr int PinHold = 5; // held high, never pulsed
    static constexpr int PinReset = 6; // return to 0 degrees
    // Input pins.
    static constexpr int PinMarker = 10; // low while the table passes a 10-degree marker
    static constexpr int PinForwardOrReset = 11;
    static constexpr int PinBackwardState = 12;
    static constexpr int PinStopped = 13;
    static constexpr int PinPresent = 15; // low: no controller

    static constexpr int PulseMs = 5;
    static constexpr int MarkerIntervalMs = 50;
    static constexpr int StateIntervalMs = 100;
    static constexpr int RangePauseMs = 1000;
    // Slice of the wait loops of a step or range run: how late, at most, they notice the
    // last marker or the stop flag.
    static constexpr int LoopSliceMs = 10;

    // Takes the port; the clock must outlive the controller.
    TTurntableController(std::unique_ptr<TDLPrinterPortIO> port, TClock &clock,
                         QObject *parent = nullptr);
    // Puts pins 1..17 back as Open found them (when the port was available) and closes
    // the driver.
    ~TTurntableController() override;

    // Selects port lptNumber (ignored outside 1..8), opens the driver and reads pin 11 as a
    // test. On failure returns false and stays inert (no timer runs, no pin is touched);
    // OpenFailureMessage then holds the warning for the user. On success saves the levels
    // of pins 1..17, sets pins 2..6 high and starts the state watch.
    bool Open(int lptNumber);
    bool PortAvailable() const override { return m_portAvailable; }
    QString OpenFailureMessage() const override { return m_openFailure; }

    // The turntable state decoded from the inputs right now: 0 no controller (or the port
    // cannot be read), 1 turning backward, 2 turning forward, 3 stopped, 4 returning to 0.
    int State() const override;
    int MotionState() const { return State(); }
    // State last seen by the 100 ms state watch (0 before its first change).
    int ShownState() const override { return m_shownState; }

    // Table angle in degrees (0, 10 .. 350) that the main window shows and steps on each
    // TurntableMark; reset to 0 here when a return to 0 ends.
    int CurrentAngle() const override { return m_angle; }
    void SetCurrentAngle(int degrees) override { m_angle = degrees; }

    // Markers counted since the current move began.
    int MoveCounter() const override { return m_moveCounter; }
    bool StopFlag() const override { return m_stopFlag; }
    bool MarkerTimerActive() const;

    // Dead time after an accepted marker or a move start, in ms. A source is read at each
    // marker tick (so an options change applies at once); a value fixes it.
    void SetMarkUnsensitivityTime(int ms);
    void SetMarkUnsensitivityTimeSource(std::function<int()> source);
    int MarkUnsensitivityTime() const;

    // The commands. MoveForward/MoveBackward clear the stop flag, reset the move counter and
    // start marker counting; StopMove sets the stop flag; ResetMove sets the stop flag and
    // starts marker counting (the return to 0 is counted too). Without an available port
    // the commands, Step and RunRange do nothing.
    void MoveForward() override;
    void MoveBackward() override;
    void StopMove() override;
    void ResetMove() override;

    // Turns by |degrees| div 10 markers (forward, or backward when backward is true) and
    // stops; ends early on the stop flag. A step below 10 degrees stops at once.
    void Step(int degrees, bool backward = false) override;

    // The range run of a measurement: return to 0, position at start, RecordStart, pause
    // 1000 ms, RecordAppend, turn forward over |stop - start| div 10 markers sending
    // RangeProgress, stop, RecordStop. Angles in degrees. start >= stop emits ErrorOccurred
    // ("Nieprawidłowy przedział") and nothing moves. Returns true when the run went through
    // (also when it was stopped by the user while turning over the range).
    bool RunRange(int start, int stop) override;

    // The program is closing: ends any wait loop as a stop would.
    void ProgramClosing() override;

    TDLPrinterPortIO &Port() const { return *m_port; }
    TClock &Clock() const override { return m_clock; }

signals:
    // A command pulse began on this pin (PinForward, PinBackward, PinStop or PinReset).
    void PulseSent(int pin);

private:
    void Pulse(int pin);
    bool ReadPin(int pin, bool fallback) const;
    void WritePin(int pin, bool level);
    void EnableMarkerTimer();
    // Clears the stop flag, arms marker counting from now and sends the command pulse.
    void StartTurning(int commandPin);
    void MarkerTick();
    void StateTick();
    // Waits in LoopSliceMs slices until the move counter reaches target or the stop flag
    // is set; emits RangeProgress on each pass when divisor (markers of the range) > 0.
    void WaitForMarkers(int target, double progressDivisor = 0);

    std::unique_ptr<TDLPrinterPortIO> m_port;
    TClock &m_clock;
    std::unique_ptr<TClockTimer> m_markerTimer;
    std::unique_ptr<TClockTimer> m_stateTimer;
    std::function<int()> m_deadTimeSource;

    bool m_portAvailable = false;
    QString m_openFailure;
    std::array<bool, 18> m_savedPins {}; // index = pin 1..17
    int m_moveCounter = 0;
    bool m_stopFlag = false;
    quint64 m_stopRequests = 0; // every stop, reset or program close adds 1
    bool m_markerArmed = true;
    qint64 m_lastMarkTime = 0;
    int m_shownState = 0;
    int m_previousState = 0;
    int m_angle = 0;
    bool m_portErrorReported = false;
};
