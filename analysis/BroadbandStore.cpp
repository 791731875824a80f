#include "analysis/BroadbandStore.h"

#include "chart/PolarGraph.h"

TBroadbandStore &TBroadbandStore::Instance()
{
    static TBroadbandStore store;
    return store;
}

void TBroadbandStore::Set(TPolarGraph *chart, std::shared_ptr<const TDirectivityResult> result,
                          const TBroadbandOptions &options)
{
    if (!chart)
        return;
    Watch(chart);
    TPlanes &planes = m_entries[chart];
    (options.Vertical ? planes.Vertical : planes.Horizontal)
        = TEntry { std::move(result), options };
    planes.NewestVertical = options.Vertical;
    emit Changed(chart);
}

void TBroadbandStore::Watch(TPolarGraph *chart)
{
    if (m_entries.count(chart) || m_kept.count(chart))
        return;
    // The entries go with their chart; the pointer is only a key from then on.
    connect(chart, &QObject::destroyed, this, [this, chart] {
        m_entries.erase(chart);
        m_kept.erase(chart);
        emit Changed(nullptr);
    });
}

void TBroadbandStore::AddKept(TPolarGraph *chart, TKeptMeasurement measurement)
{
    if (!chart)
        return;
    Watch(chart);
    m_kept[chart].push_back(std::move(measurement));
}

void TBroadbandStore::SetKept(TPolarGraph *chart, std::vector<TKeptMeasurement> measurements)
{
    if (!chart)
        return;
    Watch(chart);
    m_kept[chart] = std::move(measurements);
}

std::vector<TKeptMeasurement> TBroadbandStore::Kept(const TPolarGraph *chart) const
{
    const auto it = m_kept.find(chart);
    return it == m_kept.end() ? std::vector<TKeptMeasurement> {} : it->second;
}

TBroadbandStore::TEntry TBroadbandStore::Get(const TPolarGraph *chart) const
{
    const auto it = m_entries.find(chart);
    return it == m_entries.end() ? TEntry {} : Get(chart, it->second.NewestVertical);
}

TBroadbandStore::TEntry TBroadbandStore::Get(const TPolarGraph *chart, bool vertical) const
{
    const auto it = m_entries.find(chart);
    if (it == m_entries.end())
        return {};
    return vertical ? it->second.Vertical : it->second.Horizontal;
}
