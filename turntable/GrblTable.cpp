#include "turntable/GrblTable.h"

#include <algorithm>
#include <cmath>

namespace {

int Sign(double value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

} // namespace

TGrblTable::TGrblTable(TClock &clock, QObject *parent)
    : TTurntable(parent)
    , m_clock(clock)
    , m_pollTimer(clock.CreateTimer())
{
    m_pollTimer->OnTimeout = [this] {
        Poll();
    };
    connect(&m_link, &TGrblLink::ConnectionLost, this, &TGrblTable::Fail);
    connect(&m_link, &TGrblLink::AlarmRaised, this, [this](int code) {
        Fail(tr("Sterownik stolika zgłosił alarm ALARM:%1 (%2). Pomiar został "
                "przerwany; odblokuj sterownik ($X) i połącz się ponownie.")
                 .arg(code)
                 .arg(TGrblProtocol::AlarmMeaning(code)));
    });
    connect(&m_link, &TGrblLink::BoardRestarted, this, [this] {
        Fail(tr("Sterownik stolika na porcie %1 uruchomił się ponownie; pozycja "
                "stolika jest nieznana.")
                 .arg(m_link.PortName()));
    });
}

TGrblTable::~TGrblTable()
{
    m_pollTimer->Stop();
    // A free-running jog would otherwise go on for ten turns. Whatever that write meets
    // (a board already gone at exit) is nobody's news any more.
    m_link.blockSignals(true);
    if (Usable() && m_boardState != QLatin1String("Idle"))
        m_link.SendRealTime(TGrblProtocol::JogCancel);
}

bool TGrblTable::Open(const QString &portName)
{
    m_pollTimer->Stop();
    m_failed = false;
    m_available = m_link.Connect(portName);
    m_openFailure = m_available ? QString() : m_link.ErrorMessage();
    if (!m_available)
        return false;
    m_shownState = 0;
    Poll();
    if (!m_pollTimer->IsActive())
        m_pollTimer->Start(IdlePollMs);
    return Usable();
}

void TGrblTable::SetTurnSeconds(double seconds)
{
    if (seconds > 0 && std::isfinite(seconds))
        m_turnSeconds = seconds;
}

double TGrblTable::SpeedDegPerMin() const
{
    const double wanted = 360.0 / m_turnSeconds * 60.0;
    return std::min(wanted, m_link.Setting(110).value_or(wanted));
}

double TGrblTable::RampDeg() const
{
    const double speed = SpeedDegPerMin() / 60.0; // degrees/s
    const double acceleration = m_link.Setting(120).value_or(0.0); // degrees/s²
    return acceleration > 0 ? speed * speed / (2.0 * acceleration) : 0.0;
}

void TGrblTable::SetZeroHere()
{
    Poll();
    m_zeroOffset = m_x;
}

int TGrblTable::State() const
{
    if (!Usable())
        return 0;
    if (m_boardState == QLatin1String("Jog") || m_boardState == QLatin1String("Run"))
        return m_returning ? 4 : m_direction < 0 ? 1 : 2;
    return 3;
}

int TGrblTable::CurrentAngle() const
{
    const int whole = int(std::lround(Angle())) % 360;
    return whole < 0 ? whole + 360 : whole;
}

void TGrblTable::Poll()
{
    // A report asked for inside the wait for another one (the wait handles the timer) would
    // be a second "?" for the same answer.
    if (m_polling || !Usable())
        return;
    m_polling = true;
    const std::optional<TGrblProtocol::TStatus> status = m_link.Query();
    m_polling = false;
    if (status)
        Report(*status);
}

void TGrblTable::Report(const TGrblProtocol::TStatus &status)
{
    if (status.WorkOffsetX)
        m_workOffset = *status.WorkOffsetX;
    const double before = Angle();
    m_x = status.Machine ? status.X : status.X + m_workOffset;
    m_feed = status.Feed;
    m_reportMs = m_clock.NowMs();
    m_boardState = status.State;
    CountCrossings(before, Angle());
    emit PositionReported(Angle(), m_reportMs);

    const int state = State();
    if (state == 3) {
        m_direction = 0;
        m_returning = false;
    }
    const int now = State();
    if (now != m_shownState) {
        const int previous = m_shownState;
        m_shownState = now;
        emit StateChanged(now, previous);
        if (now == 3 && previous == 4)
            emit ReturnedToZero();
    }
    const int interval = now == 3 || now == 0 ? IdlePollMs : MovingPollMs;
    if (m_pollTimer->Interval() != interval || !m_pollTimer->IsActive())
        m_pollTimer->Start(interval);
}

void TGrblTable::CountCrossings(double fromDeg, double toDeg)
{
    // A marker every 10°: each multiple of 10 reached since the last report counts once.
    const int crossed = toDeg >= fromDeg
        ? int(std::floor(toDeg / 10.0) - std::floor(fromDeg / 10.0))
        : int(std::ceil(fromDeg / 10.0) - std::ceil(toDeg / 10.0));
    for (int i = 0; i < crossed; ++i) {
        ++m_moveCounter;
        emit MarkAccepted();
    }
}

bool TGrblTable::Jog(const QByteArray &line, int direction, bool returning)
{
    if (!Usable())
        return false;
    if (!m_link.Command(line)) {
        if (!m_link.Lost()) {
            // The board refused this line (its number and meaning are in the message); it
            // stays usable.
            m_stopFlag = true;
            ++m_stopRequests;
            emit ErrorOccurred(m_link.ErrorMessage());
        }
        return false;
    }
    m_direction = direction;
    m_returning = returning;
    m_boardState = QStringLiteral("Jog"); // until the next report says otherwise
    m_pollTimer->Start(MovingPollMs);
    return true;
}

void TGrblTable::MoveForward()
{
    if (!Usable())
        return;
    m_stopFlag = false;
    m_moveCounter = 0;
    Jog(TGrblProtocol::JogRelative(FreeRunDeg, SpeedDegPerMin()), 1, false);
}

void TGrblTable::MoveBackward()
{
    if (!Usable())
        return;
    m_stopFlag = false;
    m_moveCounter = 0;
    Jog(TGrblProtocol::JogRelative(-FreeRunDeg, SpeedDegPerMin()), -1, false);
}

void TGrblTable::StopMove()
{
    m_stopFlag = true;
    ++m_stopRequests;
    if (!Usable() || State() == 3)
        return;
    // The cancel decelerates and drops the queued jogs; the stop is done at Idle.
    m_link.SendRealTime(TGrblProtocol::JogCancel);
    WaitForIdle(false);
}

void TGrblTable::ResetMove()
{
    m_stopFlag = true;
    ++m_stopRequests;
    if (!Usable())
        return;
    if (State() != 3) {
        m_link.SendRealTime(TGrblProtocol::JogCancel);
        if (!WaitForIdle(false))
            return;
    }
    // Back to the offset itself, not to the nearest 0° of a turn: the way the table came.
    const double fastest = m_link.Setting(110).value_or(SpeedDegPerMin());
    Jog(TGrblProtocol::JogToMachine(m_zeroOffset, fastest), Sign(m_zeroOffset - m_x), true);
}

void TGrblTable::Step(int degrees, bool backward)
{
    if (!Usable())
        return;
    m_stopFlag = false;
    m_moveCounter = 0;
    const double step = std::abs(degrees) * (backward ? -1.0 : 1.0);
    if (!Jog(TGrblProtocol::JogRelative(step, SpeedDegPerMin()), backward ? -1 : 1, false))
        return;
    WaitForIdle(true);
    if (m_stopFlag)
        StopMove();
}

void TGrblTable::ProgramClosing()
{
    m_stopFlag = true;
    ++m_stopRequests;
}

bool TGrblTable::WaitForIdle(bool honourStop)
{
    while (Usable() && State() != 3 && !(honourStop && m_stopFlag))
        m_clock.WaitProcessing(LoopSliceMs);
    return Usable();
}

void TGrblTable::WaitUntilMs(double ms)
{
    const quint64 stops = m_stopRequests;
    while (Usable() && m_stopRequests == stops && m_clock.NowMs() < qint64(std::ceil(ms)))
        m_clock.WaitProcessing(
            int(std::min<qint64>(LoopSliceMs, qint64(std::ceil(ms)) - m_clock.NowMs())));
}

bool TGrblTable::RunRange(int start, int stop)
{
    if (start >= stop) {
        emit ErrorOccurred(tr("Nieprawidłowy przedział"));
        return false;
    }
    if (!Usable())
        return false;
    ResetMove();
    if (!WaitForIdle(false))
        return false;
    m_moveCounter = 0;
    const quint64 stops = m_stopRequests;
    const double ramp = RampDeg();
    const double fastest = m_link.Setting(110).value_or(SpeedDegPerMin());
    const double from = m_zeroOffset + start - ramp;
    if (!Jog(TGrblProtocol::JogToMachine(from, fastest), Sign(from - m_x), false)
        || !WaitForIdle(false))
        return Usable() && m_stopRequests != stops;
    // Sent in every case, so the measurement opens this run's recording and never goes on
    // with an older one.
    emit RecordStart();
    if (m_stopRequests == stops)
        WaitUntilMs(double(m_clock.NowMs()) + RangePauseMs);
    if (m_stopRequests != stops || !Usable()) {
        emit RecordStop();
        return Usable();
    }
    m_moveCounter = 0;
    const double to = m_zeroOffset + stop + ramp;
    if (!Jog(TGrblProtocol::JogToMachine(to, SpeedDegPerMin()), 1, false)) {
        emit RecordStop();
        return Usable();
    }
    m_stopFlag = false;
    const double span = stop - start;
    const auto progress = [this, start, span] {
        const double done = std::clamp((Angle() - start) / span, 0.0, 1.0);
        emit RangeProgress(int(std::nearbyint(done * 100.0)));
    };
    const auto reached = [this, stops, progress](double angle, bool showProgress) {
        while (Usable() && m_stopRequests == stops) {
            if (showProgress)
                progress();
            if (Angle() >= angle)
                return true;
            // Where the reports place the crossing: from the last position and speed, with
            // the table's acceleration up to the measurement speed.
            const double eta = double(m_reportMs) + TimeToReach(angle - Angle());
            if (eta <= double(m_clock.NowMs()) + MovingPollMs) {
                WaitUntilMs(eta);
                return Usable() && m_stopRequests == stops;
            }
            m_clock.WaitProcessing(LoopSliceMs);
        }
        return false;
    };
    if (reached(start, false)) {
        emit RecordAppend();
        reached(stop, true);
    }
    emit RecordStop();
    const bool usable = Usable();
    StopMove();
    return usable;
}

double TGrblTable::TimeToReach(double degrees) const
{
    const double top = SpeedDegPerMin() / 60000.0; // degrees/ms
    const double speed = std::min(m_feed / 60000.0, top);
    const double acceleration = m_link.Setting(120).value_or(0.0) / 1e6; // degrees/ms²
    if (degrees <= 0)
        return 0.0;
    if (acceleration <= 0 || speed >= top)
        return speed > 0 ? degrees / std::max(speed, 1e-9) : degrees / top;
    const double rampMs = (top - speed) / acceleration;
    const double rampDeg = speed * rampMs + 0.5 * acceleration * rampMs * rampMs;
    if (degrees <= rampDeg)
        return (-speed + std::sqrt(speed * speed + 2.0 * acceleration * degrees)) / acceleration;
    return rampMs + (degrees - rampDeg) / top;
}

void TGrblTable::Fail(const QString &message)
{
    if (m_failed)
        return;
    m_failed = true;
    m_stopFlag = true;
    ++m_stopRequests;
    m_pollTimer->Stop();
    emit ErrorOccurred(message);
    const int previous = m_shownState;
    m_shownState = 0;
    if (previous != 0)
        emit StateChanged(0, previous);
}
