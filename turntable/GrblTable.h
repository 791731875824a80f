#pragma once

#include "controls/Clock.h"
#include "turntable/GrblLink.h"
#include "turntable/Turntable.h"

#include <QObject>
#include <QString>

#include <memory>

// A turntable driven by a Grbl 1.1 board (a stepper on its X axis, configured in degrees)
// over a serial line. It gives the program the parallel-port table's commands, states and
// messages, from the board's own reported position: forward and backward are one long jog at
// the measurement speed, a stop is a jog cancel followed by the wait for Idle, a step is a
// relative jog, a return to 0° and the positioning of a range are absolute jogs at the board's
// fastest rate ($110). Orvi's 0° is an offset in machine X (nothing is written to the board);
// the return to 0° goes back the way the table came, so a loudspeaker cable never winds up.
//
// Markers: every crossing of a multiple of 10° in the reported position counts as one
// (MarkAccepted), so the status bar, the lamps and the move counter work as with the
// parallel port. Every report is also passed on (PositionReported) for the marker log.
//
// The board is asked for its state every 50 ms while it moves and every 250 ms otherwise,
// on the injected clock; a wait for an answer does not move that clock. GUI thread only; the
// long operations (Step, RunRange, the stop's wait for Idle) re-enter the event loop.
class TGrblTable : public TTurntable
{
    Q_OBJECT

public:
    static constexpr int MovingPollMs = 50;
    static constexpr int IdlePollMs = 250;
    static constexpr int RangePauseMs = 1000;
    static constexpr int LoopSliceMs = 10;
    static constexpr int DefaultTurnSeconds = 80;
    // A free-running move is one jog this long, degrees (ten turns).
    static constexpr double FreeRunDeg = 3600.0;

    explicit TGrblTable(TClock &clock, QObject *parent = nullptr);
    ~TGrblTable() override;

    // Connects to the board on portName. False with the link's message in
    // OpenFailureMessage(); the table stays inert then.
    bool Open(const QString &portName);
    bool PortAvailable() const override { return m_available; }
    QString OpenFailureMessage() const override { return m_openFailure; }
    TGrblLink &Link() { return m_link; }
    TClock &Clock() const override { return m_clock; }

    // The time of one full turn at the measurement speed, s (the board's $110 caps it).
    void SetTurnSeconds(double seconds);
    double SpeedDegPerMin() const;
    // Machine X of Orvi's 0°, degrees.
    void SetZeroOffset(double machineX) { m_zeroOffset = machineX; }
    double ZeroOffset() const { return m_zeroOffset; }
    // Makes where the table stands now Orvi's 0° (the caller stores ZeroOffset()).
    void SetZeroHere() override;
    bool HasSettableZero() const override { return true; }
    bool ReportsPosition() const override { return true; }

    // 0 no answer, 1 jogging backward, 2 jogging forward, 3 Idle (or any other resting
    // state), 4 returning to 0°; from the last report.
    int State() const override;
    int MotionState() const { return State(); }
    int ShownState() const override { return m_shownState; }
    // The table's angle from the last report, degrees (machine X minus the 0° offset; not
    // brought into a turn) and as the main window shows it (0 .. 359, whole degrees).
    double Angle() const { return m_x - m_zeroOffset; }
    int CurrentAngle() const override;
    void SetCurrentAngle(int) override { } // the board knows where it is
    int MoveCounter() const override { return m_moveCounter; }
    bool StopFlag() const override { return m_stopFlag; }

    void MoveForward() override;
    void MoveBackward() override;
    void StopMove() override;
    void ResetMove() override;
    // Turns by |degrees| (backward when backward is true) at the measurement speed and waits
    // for the table to stand; ends early on the stop flag.
    void Step(int degrees, bool backward = false) override;
    // The range run of a measurement, with the table's acceleration: return to 0°, position at
    // start - ramp (ramp = v²/2a, where the table reaches the measurement speed v), RecordStart,
    // the 1000 ms pause, one jog to stop + ramp; RecordAppend when the table reaches start and
    // RecordStop when it passes stop (each at the moment the reports place the crossing), so
    // the recording covers the range at constant speed. False when the board failed (the
    // message went out as ErrorOccurred); true otherwise, also when stopped by the user.
    bool RunRange(int start, int stop) override;
    void ProgramClosing() override;

    // The distance the table needs to reach the measurement speed, degrees.
    double RampDeg() const;

private:
    void Poll();
    void Report(const TGrblProtocol::TStatus &status);
    void CountCrossings(double fromDeg, double toDeg);
    bool Jog(const QByteArray &line, int direction, bool returning);
    // Waits in slices until the board stands (or the stop flag or a failure); false on a
    // failure.
    bool WaitForIdle(bool honourStop);
    // Waits until now is at ms, or the stop flag or a failure comes first.
    void WaitUntilMs(double ms);
    // Clock ms the table needs from the last report to turn `degrees` further forward.
    double TimeToReach(double degrees) const;
    void Fail(const QString &message);
    bool Usable() const { return m_available && !m_failed; }

    TClock &m_clock;
    TGrblLink m_link;
    std::unique_ptr<TClockTimer> m_pollTimer;
    bool m_available = false;
    bool m_failed = false;
    QString m_openFailure;
    double m_turnSeconds = DefaultTurnSeconds;
    double m_zeroOffset = 0.0;
    double m_workOffset = 0.0; // WCO, for boards that report WPos
    double m_x = 0.0; // machine X of the last report, degrees
    double m_feed = 0.0; // degrees/min, of the last report
    qint64 m_reportMs = 0;
    QString m_boardState;
    int m_direction = 0; // of the jog under way: -1, 0, +1
    bool m_returning = false;
    bool m_polling = false;
    int m_shownState = 0;
    int m_moveCounter = 0;
    bool m_stopFlag = false;
    quint64 m_stopRequests = 0;
};
