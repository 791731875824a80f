#include "turntable/SimulatedController.h"

#include <algorithm>
#include <cmath>

namespace {
TSimulatedController *s_instance = nullptr;

// Data register bit of each command pin.
constexpr int BitForward = 0; // pin 2
constexpr int BitBackward = 1; // pin 3
constexpr int BitStop = 2; // pin 4
constexpr int BitReset = 4; // pin 6
} // namespace

TSimulatedController::TSimulatedController(TClock &clock, int turnMs, int markerLowMs)
    : m_clock(clock)
    , m_turnMs(qMax(360, turnMs))
    , m_markerLowMs(qMax(0, markerLowMs))
    , m_time(clock.NowMs())
{
    s_instance = this;
    BeginSegment();
}

TSimulatedController::~TSimulatedController()
{
    if (s_instance == this)
        s_instance = nullptr;
}

TSimulatedController *TSimulatedController::Instance()
{
    return s_instance;
}

void TSimulatedController::Advance()
{
    const qint64 now = m_clock.NowMs();
    if (now <= m_time)
        return;
    const qint64 elapsed = now - m_time;
    const qint64 travel = elapsed * 36;
    const qint64 turn = UnitsPerTurn();
    const qint64 mark = m_turnMs; // units between markers (10 degrees)
    const double start = double(m_time);

    if (m_state == 2) {
        // Markers k * mark with position < k * mark <= position + travel.
        const qint64 end = m_position + travel;
        const qint64 lastMark = (end / mark) * mark;
        if (lastMark > m_position) {
            m_markersPassed += int((lastMark - m_position - 1) / mark + 1);
            m_lastMarkerAt = start + double(lastMark - m_position) / 36.0;
        }
        m_position = end % turn;
    } else if (m_state == 1 || m_state == 4) {
        // Going down: markers k * mark with position - travel <= k * mark < position.
        // A return to 0 ends at the first multiple of a full turn it reaches.
        qint64 end = m_position - travel;
        bool arrived = false;
        if (m_state == 4 && end <= 0) {
            end = 0;
            arrived = true;
        }
        const qint64 firstMark
            = end >= 0 ? ((end + mark - 1) / mark) * mark : -((-end) / mark) * mark;
        if (firstMark < m_position) {
            m_markersPassed += int((m_position - 1 - firstMark) / mark + 1);
            m_lastMarkerAt = start + double(m_position - firstMark) / 36.0;
        }
        m_position = ((end % turn) + turn) % turn;
        if (arrived) {
            m_state = 3;
            m_position = 0;
        }
    }
    m_time = now;
}

void TSimulatedController::Command(int bit)
{
    switch (bit) {
    case BitForward:
        m_state = 2;
        break;
    case BitBackward:
        m_state = 1;
        break;
    case BitStop:
        m_state = 3;
        break;
    case BitReset:
        m_state = m_position == 0 ? 3 : 4;
        break;
    default:
        break;
    }
    BeginSegment();
}

void TSimulatedController::BeginSegment()
{
    // Called after Advance, so m_time is now and the last segment led up to m_position.
    if (!m_history.empty() && m_history.back().StartMs == m_time)
        m_history.pop_back(); // it lasted no time
    m_history.push_back({ m_time, m_position, m_state });
    while (m_history.size() > 1 && m_history[1].StartMs <= m_time - HistoryMs)
        m_history.pop_front();
}

double TSimulatedController::AngleIn(const TSegment &segment, double ms) const
{
    // Whole milliseconds in integer units exactly as Advance moves; the fraction of the
    // last millisecond on top.
    const double elapsed = std::max(0.0, ms - double(segment.StartMs));
    const double whole = std::floor(elapsed);
    const qint64 travel = 36 * qint64(whole);
    const double fraction = 36.0 * (elapsed - whole);
    qint64 units = segment.Position;
    double extra = 0.0;
    if (segment.State == 2) {
        units += travel;
        extra = fraction;
    } else if (segment.State == 1) {
        units -= travel;
        extra = -fraction;
    } else if (segment.State == 4) {
        units -= travel;
        extra = -fraction;
        if (double(units) + extra <= 0.0) {
            units = 0; // arrived at 0 and stopped there
            extra = 0.0;
        }
    }
    const qint64 turn = UnitsPerTurn();
    units = ((units % turn) + turn) % turn;
    double angle = (double(units) + extra) * 360.0 / double(turn);
    if (angle < 0.0)
        angle += 360.0;
    if (angle >= 360.0)
        angle -= 360.0;
    return angle;
}

void TSimulatedController::SetCommandLines(quint8 dataRegister)
{
    Advance();
    const qint64 now = m_clock.NowMs();
    for (int bit : { BitForward, BitBackward, BitStop, BitReset }) {
        const quint8 mask = quint8(1u << bit);
        const bool wasHigh = (m_lines & mask) != 0;
        const bool isHigh = (dataRegister & mask) != 0;
        if (wasHigh && !isHigh)
            m_fallTime[bit] = now;
        else if (!wasHigh && isHigh && !m_switchedOff && now - m_fallTime[bit] >= MinPulseMs)
            Command(bit);
    }
    m_lines = dataRegister;
}

bool TSimulatedController::PinLevel(int pin)
{
    Advance();
    if (m_switchedOff)
        return pin != 15;
    switch (pin) {
    case 10:
        return !(m_clock.NowMs() >= m_lastMarkerAt
                 && m_clock.NowMs() < m_lastMarkerAt + m_markerLowMs);
    case 11:
        return m_state != 2;
    case 12:
        return m_state != 1;
    case 13:
        return m_state == 3;
    case 15:
        return true;
    default:
        return true;
    }
}

int TSimulatedController::State()
{
    Advance();
    return m_switchedOff ? 0 : m_state;
}

double TSimulatedController::TrueAngle()
{
    Advance();
    return double(m_position) * 360.0 / double(UnitsPerTurn());
}

double TSimulatedController::TrueAngleAt(double ms)
{
    Advance();
    ms = std::min(ms, double(m_time));
    auto after
        = std::upper_bound(m_history.begin(), m_history.end(), ms,
                           [](double t, const TSegment &s) { return t < double(s.StartMs); });
    if (after == m_history.begin())
        return AngleIn(*after, double(after->StartMs));
    return AngleIn(*(after - 1), ms);
}

void TSimulatedController::SetTrueAngle(double degrees)
{
    Advance();
    const qint64 turn = UnitsPerTurn();
    const qint64 units = qint64(std::llround(degrees / 360.0 * double(turn)));
    m_position = ((units % turn) + turn) % turn;
    BeginSegment();
}

int TSimulatedController::MarkersPassed()
{
    Advance();
    return m_markersPassed;
}

void TSimulatedController::SetSwitchedOff(bool off)
{
    Advance();
    if (off == m_switchedOff)
        return;
    m_switchedOff = off;
    m_state = 3; // switched off the table stands; switched on it starts stopped
    BeginSegment();
}
