#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <optional>

// Grbl 1.1's serial protocol as a turntable on its X axis (configured in degrees) speaks it:
// reading the lines the board sends and making the lines Orvi sends. Pure functions; any
// thread.
class TGrblProtocol
{
    Q_DECLARE_TR_FUNCTIONS(TGrblProtocol)

public:
    // Real-time bytes: acted on at once, never answered with "ok", never wait behind a line.
    static constexpr char StatusQuery = '?';
    static constexpr char SoftReset = 0x18;
    static constexpr char JogCancel = char(0x85);
    // At most this many characters per line, without its "\n".
    static constexpr int MaxLineLength = 79;

    // One status report: "<Idle|MPos:12.345,0.000,0.000|FS:0,0>".
    struct TStatus
    {
        QString State; // "Idle", "Jog", "Run", "Hold", "Alarm", "Door", "Home", "Check", "Sleep"
        int SubState = -1; // "Hold:0" and the like; -1 without
        bool Machine = true; // X is machine X (MPos); false: work X (WPos)
        double X = 0.0; // degrees
        std::optional<double> WorkOffsetX; // WCO's X when the report carried it, degrees
        double Feed = 0.0; // FS's or F's feed, degrees/min
    };

    // The board's greeting after a reset: "Grbl 1.1h ['$' for help]".
    static bool IsGreeting(const QByteArray &line);
    // A report in angle brackets; std::nullopt for anything else or a report without an X.
    static std::optional<TStatus> ParseStatus(const QByteArray &line);
    // "$110=500.000" (a trailing "(comment)" allowed): the setting's number and value.
    struct TSetting
    {
        int Number = 0;
        double Value = 0.0;
    };
    static std::optional<TSetting> ParseSetting(const QByteArray &line);
    // "error:15" -> 15, "ALARM:1" -> 1; std::nullopt for other lines.
    static std::optional<int> ErrorCode(const QByteArray &line);
    static std::optional<int> AlarmCode(const QByteArray &line);

    // Jog lines, X with three decimals, F (degrees/min) with one: relative to where the
    // table is, or to an absolute machine X (work offsets the user may have set left aside).
    static QByteArray JogRelative(double degrees, double degreesPerMinute);
    static QByteArray JogToMachine(double x, double degreesPerMinute);

    // What an error or alarm number means, for the user (Polish), with what to do where
    // Orvi knows it; unknown numbers give a general sentence.
    static QString ErrorMeaning(int code);
    static QString AlarmMeaning(int code);
};
