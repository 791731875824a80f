#include "audio/VUMeterModel.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

void TVUMeterModel::ProcessBuffer(const char *Buffer, int Size, int BlockLength)
{
    const int bytes = std::min(Size, m_BufferSize);
    if (!Buffer || bytes / 4 < 2 || BlockLength <= 0)
        return;
    const int words = bytes / 2;
    int peak = 0;
    for (int i = 2; 2 * i < words; ++i) {
        qint16 raw;
        std::memcpy(&raw, Buffer + 4 * i, sizeof raw);
        raw = qFromLittleEndian(raw);
        // -32768 has no 16-bit magnitude; it counts as full scale, like the clip rule.
        const int v = raw == -32768 ? FullScale : std::abs(int(raw));
        if (v > peak)
            peak = v;
        if (i % BlockLength == 0) {
            SetLevel(peak);
            peak = 0;
        }
    }
}

int TVUMeterModel::NearestInt(double x)
{
    if (std::isnan(x))
        return 0;
    return int(std::clamp(std::nearbyint(x), -2147483648.0, 2147483647.0));
}

void TVUMeterModel::SetLevel(int peak)
{
    m_Level = peak;
    m_NeedlePos = peak;
    if (peak == FullScale && OnClip)
        OnClip();
    UpdateNeedle();
}

void TVUMeterModel::ResetNeedle()
{
    m_Level = 0;
    m_NeedlePos = 0;
    if (OnNeedleChanged)
        OnNeedleChanged();
}

double TVUMeterModel::DecayFactor(int decay)
{
    double c = 0.0001;
    // After some 60 roots the factor is exactly 1; more only costs time.
    const int roots = std::min(decay, 100);
    for (int i = 0; i < roots; ++i)
        c = std::sqrt(c);
    return c;
}

double TVUMeterModel::LinearFloor(int sensitivity)
{
    return FullScale / std::pow(10.0, -sensitivity / 20.0);
}

int TVUMeterModel::MapToScale(double level, int sensitivity, bool logScale)
{
    // A scale that does not reach below 0 dB has no span: the needle shows only full scale.
    if (sensitivity >= 0)
        return level >= FullScale ? FullScale : 0;
    const double s = sensitivity;
    if (logScale) {
        const double db = 20.0 * std::log10(std::max(0.00001, level / FullScale));
        return std::max(0, NearestInt((db - s) * FullScale / (-s)));
    }
    const double floor = LinearFloor(sensitivity);
    return std::max(0, NearestInt((level - floor) * FullScale / (FullScale - floor)));
}

void TVUMeterModel::UpdateNeedle()
{
    m_HeldLevel *= DecayFactor(m_Decay);
    if (m_NeedlePos >= m_HeldLevel)
        m_HeldLevel = m_NeedlePos;
    else
        m_NeedlePos = int(std::trunc(m_HeldLevel));
    m_NeedlePos = MapToScale(m_NeedlePos, m_Sensitivity, m_LogScale);
    if (OnNeedleChanged)
        OnNeedleChanged();
}

int TVUMeterModel::TickLevel(int i, int ticks)
{
    // Integer step: the last tick lies slightly left of full scale (32760 with 41 ticks).
    return i * (FullScale / (ticks - 1));
}

int TVUMeterModel::TickZone(int i, int ticks, int part1, int part2)
{
    const int q = int(std::trunc(double(i) / (ticks - 1) * 100.0));
    if (q <= part1)
        return 1;
    return q > part2 ? 3 : 2;
}

int TVUMeterModel::TickLabel(int i, int ticks, int sensitivity, bool logScale)
{
    if (logScale)
        return NearestInt(double(ticks - i - 1) / (ticks - 1) * sensitivity);
    const double floor = LinearFloor(sensitivity);
    return NearestInt(20.0
                      * std::log10((floor + (FullScale - floor) * i / (ticks - 1)) / FullScale));
}
