#include "turntable/SimulatedController.h"

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

void TSimulatedController::SetTrueAngle(double degrees)
{
    Advance();
    const qint64 turn = UnitsPerTurn();
    const qint64 units = qint64(std::llround(degrees / 360.0 * double(turn)));
    m_position = ((units % turn) + turn) % turn;
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
}
