#pragma once

#include "controls/Clock.h"

#include <QObject>
#include <QString>

// What the program asks of a turntable, whatever drives it: a controller on the parallel port
// (TTurntableController) or a Grbl board on a serial line (TGrblTable). The turntable window,
// the measurement run, the main window's angle read-out and orvi-cli talk to this.
//
// States: 0 no controller (or no answer), 1 turning backward, 2 turning forward, 3 stopped,
// 4 returning to 0°. A marker is counted every 10° of turn (MarkAccepted, MoveCounter). The
// range run sends RecordStart, RecordAppend, RangeProgress and RecordStop to the measurement,
// synchronously. GUI thread only; the long operations (Step, RunRange) re-enter the event
// loop through the clock.
class TTurntable : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool PortAvailable() const = 0;
    // Why the table could not be opened, for a warning box.
    virtual QString OpenFailureMessage() const = 0;

    virtual int State() const = 0;
    // The state last shown (0 before the first change).
    virtual int ShownState() const = 0;
    // The angle the main window shows, degrees (0 .. 359).
    virtual int CurrentAngle() const = 0;
    virtual void SetCurrentAngle(int degrees) = 0;
    virtual int MoveCounter() const = 0;
    virtual bool StopFlag() const = 0;

    virtual void MoveForward() = 0;
    virtual void MoveBackward() = 0;
    virtual void StopMove() = 0;
    virtual void ResetMove() = 0;
    // Turns by |degrees| (backward when backward is true) and stops; ends early on a stop.
    virtual void Step(int degrees, bool backward = false) = 0;
    // The range run of a measurement over start .. stop (degrees, start < stop, otherwise
    // ErrorOccurred("Nieprawidłowy przedział") and nothing moves). False when it could not go
    // through (the reason went out as ErrorOccurred).
    virtual bool RunRange(int start, int stop) = 0;
    // The program is closing: ends every wait as a stop would.
    virtual void ProgramClosing() = 0;
    // The clock every wait and timer of the table runs on.
    virtual TClock &Clock() const = 0;

    // True for a table that reports its own position (PositionReported); the marker log then
    // keeps those positions.
    virtual bool ReportsPosition() const { return false; }
    // True for a table whose 0° the user sets where it stands ("Ustaw 0°").
    virtual bool HasSettableZero() const { return false; }
    // Makes where the table stands now its 0°; tables without a settable zero ignore it.
    virtual void SetZeroHere() { }

signals:
    void MarkAccepted();
    void StateChanged(int state, int previous);
    // A return to 0° ended and the angle is 0 now; only the main window needs to be told.
    void ReturnedToZero();
    void RecordStart();
    void RecordAppend();
    void RangeProgress(int percent);
    void RecordStop();
    // A message for an error box (caption "Orvi").
    void ErrorOccurred(const QString &text);
    // The table's reported angle (degrees as the range counts them, not brought into a turn)
    // at clock time ms; only from tables that ReportsPosition().
    void PositionReported(double degrees, qint64 ms);
};
