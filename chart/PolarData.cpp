#include "chart/PolarData.h"

#include <algorithm>
#include <utility>

int TPolarData::Add(double Angle, double Level)
{
    m_points.push_back(TPolarSample { Angle, Level });
    return 0;
}

void TPolarData::Clear()
{
    m_points.clear();
    m_points.shrink_to_fit();
}

void TPolarData::SetPoints(const TPolarSample *Samples, int N)
{
    Clear();
    if (N <= 0 || !Samples)
        return;
    ReservePoints(N);
    for (int i = 0; i < N; ++i)
        Add(Samples[i].Angle, Samples[i].Level);
}

void TPolarData::GetPoints(TPolarSample *Samples) const
{
    if (Samples)
        std::copy(m_points.begin(), m_points.end(), Samples);
}

void TPolarData::AddLevelOffset(double Offset)
{
    for (TPolarSample &p : m_points)
        p.Level += Offset;
}

void TPolarData::ReservePoints(int n)
{
    if (n > 0)
        m_points.reserve(size_t(n));
}

void TPolarData::TakePoints(std::vector<TPolarSample> &&points)
{
    m_points = std::move(points);
    points = std::vector<TPolarSample>();
}
