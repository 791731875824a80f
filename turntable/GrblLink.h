#pragma once

#include "turntable/GrblProtocol.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QSerialPort;

// One Grbl board on a serial line (115200 baud, 8N1): the connection with its greeting and
// settings, one line at a time answered "ok" or "error:N", the real-time bytes, and status
// reports asked for with "?". Unasked lines (ALARM:N, [MSG:…], a greeting after a reset) are
// passed on as signals.
//
// The waits for an answer handle events (the windows keep painting, the board's emulator in
// this process answers) but are bounded in real time and do not move a virtual clock: an
// exchange takes no time on the clock that times the table. GUI thread only; a wait may
// re-enter the event loop, so callers guard against starting a second exchange of the same
// kind inside it (a real-time byte may always be sent).
class TGrblLink : public QObject
{
    Q_OBJECT

public:
    static constexpr int BaudRate = 115200;
    static constexpr int GreetingWaitMs = 3000; // after the open, and again after a reset
    static constexpr int AnswerLimitMs = 1000; // for "ok"/"error" and for a report

    explicit TGrblLink(QObject *parent = nullptr);
    ~TGrblLink() override;

    // Opens the port (a name like "ttyACM0" or a device path), waits for the greeting (a soft
    // reset when none came), reads "$$" and the state. False with a Polish message naming the
    // port in ErrorMessage(): no access (with the group to join), busy, not there, silent, no
    // $110/$120, or a board in Alarm (with what to do).
    bool Connect(const QString &portName);
    void Disconnect();
    bool IsConnected() const;
    QString PortName() const { return m_portName; }
    QString Greeting() const { return m_greeting; }
    std::optional<double> Setting(int number) const;

    // Sends one line and waits for its answer: true for "ok"; false for "error:N"
    // (LastErrorCode() set) or for no answer in AnswerLimitMs (the link is lost then).
    bool Command(const QByteArray &line);
    // Asks for a status report and waits for it; std::nullopt when none came in
    // AnswerLimitMs (the link is lost then).
    std::optional<TGrblProtocol::TStatus> Query();
    // Sends a real-time byte at once, whatever is waiting for an answer.
    void SendRealTime(char byte);

    int LastErrorCode() const { return m_errorCode; }
    // Why the last call failed (Polish, naming the port).
    QString ErrorMessage() const { return m_error; }
    // The board stopped answering or the port failed; every later call fails at once.
    bool Lost() const { return m_lost; }

    // What a user who may not open the device should do: the group that owns it.
    static QString PermissionMessage(const QString &devicePath);

signals:
    void AlarmRaised(int code); // an unasked ALARM:N
    void BoardMessage(const QString &text); // [MSG:…] without the brackets
    void BoardRestarted(); // a greeting nobody asked for: the board was reset
    // Sent once, when the board stops answering or the port fails.
    void ConnectionLost(const QString &message);

private:
    enum class EAnswer { None, Ok, Error };

    void ReadLines();
    void HandleLine(const QByteArray &line);
    bool Write(const QByteArray &bytes);
    // Handles events until done() or limitMs of real time have passed.
    template<typename Done>
    bool WaitUntil(Done done, int limitMs);
    bool WaitForGreeting();
    void Lose(const QString &message);
    QString OpenFailure() const;

    std::unique_ptr<QSerialPort> m_port;
    QString m_portName;
    QByteArray m_buffer;
    QString m_greeting;
    bool m_expectGreeting = false;
    QMap<int, double> m_settings;
    bool m_lineInFlight = false;
    EAnswer m_answer = EAnswer::None;
    int m_answerCode = 0;
    bool m_queryInFlight = false;
    std::optional<TGrblProtocol::TStatus> m_report;
    int m_errorCode = 0;
    QString m_error;
    bool m_lost = false;
};
