#pragma once

#include "controls/Clock.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QSocketNotifier;
class QTimer;

// A Grbl 1.1 board driving a turntable on its X axis, behind a pseudo-terminal: the program's
// own serial code opens SlavePath() as it would /dev/ttyACM0. It greets when the port is
// opened (as an Arduino resets then) and on a soft reset, answers "$$", "$X", jog lines
// ("$J=" with G90/G91/G53, X and F), empty lines and the real-time bytes "?", 0x85 and 0x18;
// anything else gets "error:N" as Grbl gives it. Jogs move along a trapezoidal profile from
// $110 (degrees/min) and $120 (degrees/s²), timed by the injected clock, so a table turn on a
// virtual clock takes no real time. Faults can be asked for.
//
// GUI thread only: bytes are read by a socket notifier on the master side; a 20 ms real
// timer notices the port being opened and closed.
class TGrblEmulator : public QObject
{
    Q_OBJECT

public:
    enum class EFault {
        None,
        Silent, // reads everything and answers nothing from now on
        Drop, // the connection goes away at once (the master side is closed)
        AlarmMidJog, // the next jog ends in ALARM:1 halfway (a hard limit), position lost
        JogError9, // the next jog line is answered error:9
    };

    struct TConfig
    {
        double StepsPerDegree = 88.889; // $100: 200 steps × 16 microsteps × 10:1 / 360°
        double MaxRateDegPerMin = 1800.0; // $110
        double AccelerationDegPerS2 = 90.0; // $120
        bool SoftLimits = false; // $20
        bool Homing = false; // $22: the board starts in Alarm until $X or $H
        int StatusMask = 1; // $10: bit 0 set reports MPos, clear WPos
        double MaxTravel = 360.0; // $130, degrees (soft limits: 0 .. -MaxTravel as Grbl has it)
        // Boards whose USB chip resets them when the port opens greet then; others only after
        // a soft reset.
        bool GreetOnOpen = true;
    };

    explicit TGrblEmulator(TClock &clock, QObject *parent = nullptr);
    ~TGrblEmulator() override;

    // Makes the pseudo-terminal; false with the system's reason in *error.
    bool Open(QString *error = nullptr);
    QString SlavePath() const { return m_slavePath; }

    // The board's settings, as "$$" reports them; before the port is opened.
    void SetConfig(const TConfig &config) { m_config = config; }
    void SetFault(EFault fault);
    // The work coordinate offset reports carry (WCO), degrees: work X = machine X - offset.
    void SetWorkOffset(double degrees) { m_workOffset = degrees; }

    // Machine X (degrees) now, and at clock time ms (fractional; the history of the last
    // 120 s is kept, older times give the oldest position kept).
    double MachineX();
    double MachineXAt(double ms) const;
    // Puts the table at machine X without moving it.
    void SetMachineX(double degrees);
    QString State();

    // What the board received, for tests: every line, and the clock time of every "?".
    const QList<QByteArray> &Lines() const { return m_lines; }
    const std::vector<qint64> &StatusQueryTimes() const { return m_queryTimes; }
    int Greetings() const { return m_greetings; }

    // The emulator that exists now (the last made), or nullptr: lets the simulated
    // loudspeaker follow the table's true angle.
    static TGrblEmulator *Instance();

private:
    // Motion at constant acceleration from StartMs until EndMs.
    struct TPiece
    {
        double StartMs = 0.0;
        double EndMs = 0.0;
        double X = 0.0; // degrees at StartMs
        double Speed = 0.0; // degrees/ms at StartMs
        double Acceleration = 0.0; // degrees/ms²
    };
    struct TJog
    {
        double Target = 0.0; // machine X
        double Feed = 0.0; // degrees/min
    };

    void PollConnection();
    void ReadAvailable();
    void Byte(char c);
    void Line(const QByteArray &line);
    QByteArray Jog(const QByteArray &words);
    void Send(const QByteArray &text);
    void Greet();
    QByteArray Report();
    // Brings the motion up to now: starts queued jogs as the previous one ends.
    void Advance();
    void Plan(double startMs, double fromX, const TJog &jog);
    void CancelJog();
    void StopAt(double ms); // an instant stop: what is planned after ms is dropped
    double SpeedAt(double ms) const;
    bool Moving(double ms) const;
    void Disconnect();

    TClock &m_clock;
    TConfig m_config;
    EFault m_fault = EFault::None;
    int m_master = -1;
    QString m_slavePath;
    std::unique_ptr<QSocketNotifier> m_reader;
    std::unique_ptr<QTimer> m_connectionPoll;
    bool m_connected = false;
    QByteArray m_partial;
    bool m_alarm = false;
    double m_alarmAtMs = -1.0; // AlarmMidJog: when the jog stops
    std::vector<TPiece> m_pieces; // rising in time; the last may lie in the future
    std::deque<TJog> m_queue; // accepted jogs waiting for the one under way
    double m_restX = 0.0; // where the table stands after the last piece
    double m_workOffset = 0.0;
    int m_reports = 0;
    int m_greetings = 0;
    QList<QByteArray> m_lines;
    std::vector<qint64> m_queryTimes;
};
