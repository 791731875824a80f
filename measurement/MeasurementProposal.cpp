#include "measurement/MeasurementProposal.h"

#include "chart/PolarGraph.h"

TMeasurementProposal TMeasurementProposal::For(const TPolarGraph &graph)
{
    const int n = graph.MaxSeriesNumber() + 1;
    return { n, SeriesColors[size_t(n % int(SeriesColors.size()))],
             QStringLiteral("Pomiar %1").arg(n + 1) };
}
