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
    if (m_entries.find(chart) == m_entries.end()) {
        // The entry goes with its chart; the pointer is only a key from then on.
        connect(chart, &QObject::destroyed, this, [this, chart] {
            m_entries.erase(chart);
            emit Changed(nullptr);
        });
    }
    m_entries[chart] = TEntry { std::move(result), options };
    emit Changed(chart);
}

TBroadbandStore::TEntry TBroadbandStore::Get(const TPolarGraph *chart) const
{
    const auto it = m_entries.find(chart);
    return it == m_entries.end() ? TEntry {} : it->second;
}
