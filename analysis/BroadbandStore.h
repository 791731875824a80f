#pragma once

#include "analysis/BroadbandOptions.h"
#include "analysis/DirectivityResult.h"

#include <QObject>

#include <map>
#include <memory>

class TPolarGraph;

// The last broadband measurement of each open document, for the map window and the FRD
// export. It lives only in memory (the document file keeps series only; the recording is
// kept and can be analysed again). An entry goes when its chart is destroyed. GUI thread.
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

    void Set(TPolarGraph *chart, std::shared_ptr<const TDirectivityResult> result,
             const TBroadbandOptions &options);
    // nullptr Result when the chart has none.
    TEntry Get(const TPolarGraph *chart) const;

signals:
    // A chart got a new result (or lost it).
    void Changed(TPolarGraph *chart);

private:
    std::map<const TPolarGraph *, TEntry> m_entries;
};
