// The JSON import of orvi-cli, from text to a chart: any text either parses or is refused
// with a reason; nothing crashes or hangs, and a document that parses fits into a chart.
#include "JsonImport.h"

#include "chart/PolarGraph.h"
#include "chart/Series.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TImportDocument document;
    QString error;
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!ParseImportDocument(text, document, error)) {
        if (error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    std::vector<qsizetype> counts;
    for (const TImportSeries &s : document.Series)
        counts.push_back(qsizetype(s.Points.size()));

    TPolarGraph graph;
    FillChartFromImport(document, graph);
    if (graph.SeriesCount() != qsizetype(counts.size()))
        std::abort();
    const QList<TSeries *> series = graph.SeriesList();
    for (qsizetype i = 0; i < series.size(); ++i) {
        if (series[i]->Count() != counts[size_t(i)])
            std::abort();
    }
    return 0;
}
