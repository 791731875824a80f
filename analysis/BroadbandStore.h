#pragma once

#include "analysis/BroadbandOptions.h"
#include "analysis/DirectivityResult.h"
#include "analysis/KeptMeasurement.h"

#include <QObject>

#include <map>
#include <memory>
#include <vector>

class TPolarGraph;

// The last broadband measurement of each open document, for the map window and the FRD
// export, the last one of each plane for the spin (older ones stay only as series), and every
// broadband measurement of it whose recording was kept, which a save writes beside the
// document file (the file itself keeps series only). It lives in memory; an entry goes when
// its chart is destroyed. GUI thread.
class TBroadbandStore : public QObject
{
    Q_OBJECT

public:
    struct TEntry
    {
        std::shared_ptr<const TDirectivityResult> Result;
        TBroadbandOptions Options;
    };

    static TBroadbandStore &Instance();

    // The chart's newest result, and the newest of its plane (options.Vertical).
    void Set(TPolarGraph *chart, std::shared_ptr<const TDirectivityResult> result,
             const TBroadbandOptions &options);
    // The newest of either plane; nullptr Result when the chart has none.
    TEntry Get(const TPolarGraph *chart) const;
    // The newest of one plane; nullptr Result when the chart has none in it.
    TEntry Get(const TPolarGraph *chart, bool vertical) const;

    // The kept measurements of a chart, oldest first.
    void AddKept(TPolarGraph *chart, TKeptMeasurement measurement);
    void SetKept(TPolarGraph *chart, std::vector<TKeptMeasurement> measurements);
    std::vector<TKeptMeasurement> Kept(const TPolarGraph *chart) const;

signals:
    // A chart got a new result (or lost it).
    void Changed(TPolarGraph *chart);

private:
    // Forgets everything of chart once it is destroyed.
    void Watch(TPolarGraph *chart);

    struct TPlanes
    {
        TEntry Horizontal;
        TEntry Vertical;
        bool NewestVertical = false;
    };
    std::map<const TPolarGraph *, TPlanes> m_entries;
    std::map<const TPolarGraph *, std::vector<TKeptMeasurement>> m_kept;
};
