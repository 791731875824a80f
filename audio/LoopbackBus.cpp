#include "audio/LoopbackBus.h"

#include "controls/Clock.h"

#include <algorithm>

TLoopbackBus &TLoopbackBus::Instance()
{
    static TLoopbackBus bus;
    return bus;
}

TLoopbackBus::TLoopbackBus()
{
    m_epochMs = Clock().NowMs();
}

void TLoopbackBus::SetClock(TClock *clock)
{
    m_clock = clock;
    m_epochMs = Clock().NowMs();
    m_rate = 0;
    m_writtenEnd = 0;
}

TClock &TLoopbackBus::Clock() const
{
    return m_clock ? *m_clock : TClock::System();
}

qint64 TLoopbackBus::PositionAt(qint64 ms, int rate) const
{
    return (ms - m_epochMs) * rate / 1000;
}

qint64 TLoopbackBus::MsAt(qint64 position, int rate) const
{
    return m_epochMs + (position * 1000 + rate - 1) / rate;
}

double TLoopbackBus::TimeMsAt(qint64 position, int rate) const
{
    return double(m_epochMs) + double(position) * 1000.0 / double(rate);
}

qint64 TLoopbackBus::NowPosition(int rate) const
{
    return PositionAt(Clock().NowMs(), rate);
}

void TLoopbackBus::Write(qint64 position, const float *samples, int count, int rate)
{
    if (count <= 0 || rate <= 0)
        return;
    if (m_line.empty())
        m_line.assign(size_t(Capacity), 0.0f);
    if (rate != m_rate) {
        m_rate = rate;
        m_writtenEnd = 0;
    }
    const qint64 mask = Capacity - 1;
    // What lies between the last laid sample and this one was silence.
    const qint64 gapFrom = std::max(m_writtenEnd, position + count - Capacity);
    for (qint64 p = gapFrom; p < position; ++p)
        m_line[size_t(p & mask)] = 0.0f;
    const qint64 first = std::max(position, position + count - Capacity);
    for (qint64 p = first; p < position + count; ++p)
        m_line[size_t(p & mask)] = samples[p - position];
    m_writtenEnd = std::max(m_writtenEnd, position + count);
}

void TLoopbackBus::Erase(qint64 position, int rate)
{
    if (rate == m_rate && position < m_writtenEnd)
        m_writtenEnd = std::max<qint64>(position, 0);
}

float TLoopbackBus::SampleAt(qint64 position) const
{
    if (m_rate <= 0 || position < 0 || position >= m_writtenEnd
        || position < m_writtenEnd - Capacity)
        return 0.0f;
    return m_line[size_t(position & (Capacity - 1))];
}

void TLoopbackBus::Read(qint64 position, float *samples, int count, int rate)
{
    for (int i = 0; i < count; ++i) {
        const qint64 p = position + i;
        // Different rates meet by holding the output's sample (zero-order hold).
        const qint64 source = (m_rate == rate || m_rate <= 0) ? p : p * m_rate / rate;
        samples[i] = SampleAt(source);
    }
    if (m_transform && count > 0)
        m_transform(samples, count, rate, position);
}
