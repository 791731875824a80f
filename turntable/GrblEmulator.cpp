#include "turntable/GrblEmulator.h"

#include "turntable/GrblProtocol.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

TGrblEmulator *instance = nullptr;
constexpr double HistoryMs = 120000.0;
constexpr int ConnectionPollMs = 20; // real time

double PositionIn(double x, double speed, double acceleration, double dt)
{
    return x + speed * dt + 0.5 * acceleration * dt * dt;
}

} // namespace

TGrblEmulator::TGrblEmulator(TClock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
{
    instance = this;
}

TGrblEmulator::~TGrblEmulator()
{
    Disconnect();
    if (instance == this)
        instance = nullptr;
}

TGrblEmulator *TGrblEmulator::Instance()
{
    return instance;
}

bool TGrblEmulator::Open(QString *error)
{
    const auto fail = [error](const char *what) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QLatin1String(what),
                                                  QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0)
        return fail("posix_openpt");
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail("grantpt");
    const char *name = ::ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_slavePath = QString::fromLocal8Bit(name);
    // Raw from the start, as a USB serial line is: no echo of what the board sends, no
    // translation of line ends. The settings belong to the terminal and outlive this open.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        return fail("open");
    termios raw {};
    if (::tcgetattr(slave, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
    }
    ::close(slave);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_reader = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    m_reader->setEnabled(false);
    connect(m_reader.get(), &QSocketNotifier::activated, this, &TGrblEmulator::ReadAvailable);
    m_connectionPoll = std::make_unique<QTimer>();
    connect(m_connectionPoll.get(), &QTimer::timeout, this, &TGrblEmulator::PollConnection);
    m_connectionPoll->start(ConnectionPollMs);
    return true;
}

void TGrblEmulator::SetFault(EFault fault)
{
    m_fault = fault;
    if (fault == EFault::Drop)
        Disconnect(); // as a pulled cable: the other side's reads fail
}

void TGrblEmulator::Disconnect()
{
    m_reader.reset();
    m_connectionPoll.reset();
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    m_connected = false;
}

void TGrblEmulator::PollConnection()
{
    if (m_master < 0)
        return;
    // The master side hangs up while no one has the terminal open.
    pollfd fd { m_master, POLLIN, 0 };
    if (::poll(&fd, 1, 0) < 0)
        return;
    const bool open = !(fd.revents & POLLHUP);
    if (open == m_connected)
        return;
    m_connected = open;
    m_reader->setEnabled(open);
    m_partial.clear();
    if (open && m_fault != EFault::Silent && m_config.GreetOnOpen)
        Greet(); // opening the port resets an Arduino
}

void TGrblEmulator::ReadAvailable()
{
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            if (m_fault != EFault::Silent)
                for (ssize_t i = 0; i < n; ++i)
                    Byte(buffer[i]);
            if (m_master < 0)
                return; // a fault closed the connection
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EIO) {
            // The last one who had it open closed it; the poll sees it open again.
            m_connected = false;
            m_reader->setEnabled(false);
        }
        return;
    }
}

void TGrblEmulator::Byte(char c)
{
    switch (c) {
    case TGrblProtocol::StatusQuery:
        m_queryTimes.push_back(m_clock.NowMs());
        Send(Report() + "\r\n");
        return;
    case TGrblProtocol::JogCancel:
        CancelJog();
        return;
    case TGrblProtocol::SoftReset:
        Advance();
        if (Moving(double(m_clock.NowMs()))) {
            // Steps stop at once: the position is no longer known.
            StopAt(double(m_clock.NowMs()));
            m_alarm = true;
            Send("ALARM:3\r\n");
        }
        m_queue.clear();
        m_partial.clear();
        Greet();
        return;
    case '\r':
    case '\n':
        Line(m_partial);
        m_partial.clear();
        return;
    default:
        if (m_partial.size() <= TGrblProtocol::MaxLineLength + 1)
            m_partial.append(c);
    }
}

void TGrblEmulator::Line(const QByteArray &raw)
{
    const QByteArray line = raw.trimmed();
    m_lines.append(raw);
    if (raw.size() > TGrblProtocol::MaxLineLength) {
        Send("error:11\r\n");
        return;
    }
    if (line.isEmpty()) {
        Send("ok\r\n");
        return;
    }
    if (line == "$$") {
        const QList<std::pair<int, double>> settings {
            { 10, m_config.StatusMask },        { 20, m_config.SoftLimits ? 1 : 0 },
            { 22, m_config.Homing ? 1 : 0 },    { 100, m_config.StepsPerDegree },
            { 110, m_config.MaxRateDegPerMin }, { 120, m_config.AccelerationDegPerS2 },
            { 130, m_config.MaxTravel },
        };
        for (const auto &[number, value] : settings) {
            const bool whole = number < 100;
            Send("$" + QByteArray::number(number) + "="
                 + QByteArray::number(value, 'f', whole ? 0 : 3) + "\r\n");
        }
        Send("ok\r\n");
        return;
    }
    if (line == "$X") {
        if (m_alarm)
            Send("[MSG:Caution: Unlocked]\r\n");
        m_alarm = false;
        Send("ok\r\n");
        return;
    }
    if (line.startsWith("$J="))
        return Send(Jog(line.mid(3)) + "\r\n");
    Send(line.startsWith('$') ? "error:3\r\n" : "error:20\r\n");
}

QByteArray TGrblEmulator::Jog(const QByteArray &words)
{
    if (m_alarm)
        return "error:8";
    if (m_fault == EFault::JogError9) {
        m_fault = EFault::None;
        return "error:9";
    }
    bool relative = false;
    bool machine = false;
    std::optional<double> x;
    std::optional<double> feed;
    QByteArray text = words.toUpper();
    text.replace(' ', QByteArray());
    for (qsizetype i = 0; i < text.size();) {
        const char letter = text[i++];
        qsizetype end = i;
        while (end < text.size()
               && (std::isdigit(uchar(text[end])) || text[end] == '.' || text[end] == '-'
                   || text[end] == '+'))
            ++end;
        bool ok = false;
        const double value = text.mid(i, end - i).toDouble(&ok);
        i = end;
        if (!ok || !std::isfinite(value))
            return "error:2";
        if (letter == 'G') {
            if (value == 90)
                relative = false;
            else if (value == 91)
                relative = true;
            else if (value == 53)
                machine = true;
            else if (value != 20 && value != 21)
                return "error:16";
        } else if (letter == 'X') {
            x = value;
        } else if (letter == 'F') {
            feed = value;
        } else if (letter != 'Y' && letter != 'Z') {
            return "error:20";
        }
    }
    if (!feed || *feed <= 0)
        return "error:22";
    if (!x)
        return "error:26";
    Advance();
    const double now = double(m_clock.NowMs());
    const bool busy = Moving(now) || !m_queue.empty();
    const double from = busy ? m_restX : MachineXAt(now);
    double target = relative ? from + *x : *x;
    if (!relative && !machine)
        target += m_workOffset;
    if (m_config.SoftLimits && (target > 0.0 || target < -m_config.MaxTravel))
        return "error:15";
    const TJog jog { target, *feed };
    if (busy) {
        m_queue.push_back(jog);
    } else {
        Plan(now, from, jog);
        if (m_fault == EFault::AlarmMidJog && !m_pieces.empty()) {
            m_fault = EFault::None;
            m_alarmAtMs = (now + m_pieces.back().EndMs) / 2;
        }
    }
    return "ok";
}

void TGrblEmulator::Send(const QByteArray &text)
{
    if (m_master < 0 || !m_connected)
        return;
    qsizetype done = 0;
    int tries = 0;
    while (done < text.size() && tries < 100) {
        const ssize_t n = ::write(m_master, text.constData() + done, size_t(text.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
            return;
        } else {
            ++tries;
            ::usleep(1000); // the reader is slow to take what it asked for
        }
    }
}

void TGrblEmulator::Greet()
{
    ++m_greetings;
    Send("\r\nGrbl 1.1h ['$' for help]\r\n");
    if (m_config.Homing) {
        m_alarm = true;
        Send("[MSG:'$H'|'$X' to unlock]\r\n");
    }
}

QByteArray TGrblEmulator::Report()
{
    const QString state = State();
    const double now = double(m_clock.NowMs());
    const double x = MachineXAt(now);
    const bool machine = m_config.StatusMask & 1;
    QByteArray report = "<" + state.toLatin1() + (machine ? "|MPos:" : "|WPos:")
        + QByteArray::number(machine ? x : x - m_workOffset, 'f', 3)
        + ",0.000,0.000|FS:" + QByteArray::number(std::abs(SpeedAt(now)) * 60000.0, 'f', 0) + ",0";
    if (m_reports++ % 10 == 0)
        report += "|WCO:" + QByteArray::number(m_workOffset, 'f', 3) + ",0.000,0.000";
    return report + ">";
}

void TGrblEmulator::Advance()
{
    const double now = double(m_clock.NowMs());
    if (m_alarmAtMs >= 0 && now >= m_alarmAtMs) {
        StopAt(m_alarmAtMs);
        m_alarmAtMs = -1.0;
        m_queue.clear();
        m_alarm = true;
        Send("ALARM:1\r\n");
    }
    while (!m_queue.empty() && (m_pieces.empty() || m_pieces.back().EndMs <= now)) {
        const double start = m_pieces.empty() ? now : m_pieces.back().EndMs;
        Plan(start, m_restX, m_queue.front());
        m_queue.pop_front();
    }
    // Keep the history the loudspeaker may ask for, and the piece under way.
    while (m_pieces.size() > 1 && m_pieces.front().EndMs < now - HistoryMs)
        m_pieces.erase(m_pieces.begin());
}

void TGrblEmulator::Plan(double startMs, double fromX, const TJog &jog)
{
    const double distance = std::abs(jog.Target - fromX);
    m_restX = jog.Target;
    if (distance < 1e-9)
        return;
    const double sign = jog.Target > fromX ? 1.0 : -1.0;
    double speed = std::min(jog.Feed, m_config.MaxRateDegPerMin) / 60000.0; // degrees/ms
    const double acceleration = m_config.AccelerationDegPerS2 / 1e6; // degrees/ms²
    double rampMs = speed / acceleration;
    double cruiseMs = 0.0;
    if (speed * rampMs >= distance) { // no room to reach the speed: a triangle
        speed = std::sqrt(distance * acceleration);
        rampMs = speed / acceleration;
    } else {
        cruiseMs = (distance - speed * rampMs) / speed;
    }
    double t = startMs;
    double x = fromX;
    const auto add = [&](double ms, double v0, double a) {
        m_pieces.push_back({ t, t + ms, x, sign * v0, sign * a });
        x = PositionIn(x, sign * v0, sign * a, ms);
        t += ms;
    };
    add(rampMs, 0.0, acceleration);
    if (cruiseMs > 0)
        add(cruiseMs, speed, 0.0);
    add(rampMs, speed, -acceleration);
    m_pieces.back().EndMs = t;
}

void TGrblEmulator::CancelJog()
{
    Advance();
    m_queue.clear();
    const double now = double(m_clock.NowMs());
    if (!Moving(now))
        return;
    const double speed = SpeedAt(now);
    const double x = MachineXAt(now);
    StopAt(now);
    const double acceleration = m_config.AccelerationDegPerS2 / 1e6;
    const double ms = std::abs(speed) / acceleration;
    const double a = speed > 0 ? -acceleration : acceleration;
    m_pieces.push_back({ now, now + ms, x, speed, a });
    m_restX = PositionIn(x, speed, a, ms);
    m_alarmAtMs = -1.0;
}

void TGrblEmulator::StopAt(double ms)
{
    const double x = MachineXAt(ms);
    while (!m_pieces.empty() && m_pieces.back().StartMs >= ms)
        m_pieces.pop_back();
    if (!m_pieces.empty() && m_pieces.back().EndMs > ms)
        m_pieces.back().EndMs = ms;
    // A piece cut short ends at rest from here on.
    m_pieces.push_back({ ms, ms, x, 0.0, 0.0 });
    m_restX = x;
}

double TGrblEmulator::MachineX()
{
    Advance();
    return MachineXAt(double(m_clock.NowMs()));
}

double TGrblEmulator::MachineXAt(double ms) const
{
    if (m_pieces.empty())
        return m_restX;
    if (ms <= m_pieces.front().StartMs)
        return m_pieces.front().X;
    for (const TPiece &piece : m_pieces) {
        if (ms < piece.StartMs)
            return piece.X; // at rest between two jogs
        if (ms <= piece.EndMs)
            return PositionIn(piece.X, piece.Speed, piece.Acceleration, ms - piece.StartMs);
    }
    const TPiece &last = m_pieces.back();
    return PositionIn(last.X, last.Speed, last.Acceleration, last.EndMs - last.StartMs);
}

double TGrblEmulator::SpeedAt(double ms) const
{
    for (const TPiece &piece : m_pieces)
        if (ms >= piece.StartMs && ms < piece.EndMs)
            return piece.Speed + piece.Acceleration * (ms - piece.StartMs);
    return 0.0;
}

bool TGrblEmulator::Moving(double ms) const
{
    return !m_pieces.empty() && ms < m_pieces.back().EndMs;
}

void TGrblEmulator::SetMachineX(double degrees)
{
    m_pieces.clear();
    m_queue.clear();
    m_restX = degrees;
}

QString TGrblEmulator::State()
{
    Advance();
    if (m_alarm)
        return QStringLiteral("Alarm");
    return Moving(double(m_clock.NowMs())) ? QStringLiteral("Jog") : QStringLiteral("Idle");
}
