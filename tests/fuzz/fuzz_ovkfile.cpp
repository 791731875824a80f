// The characteristic-file reader from bytes to a chart: any input either loads or is refused
// with EInOutError; nothing crashes, hangs or takes memory the input cannot justify.
// (fuzz_ovkrender goes on to draw what was loaded.)
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/InOutError.h"
#include "document/OvkFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

// Layout sizes in bytes: header, record head, one sample.
constexpr qint64 HeaderBytes = 332;
constexpr qint64 RecordBytes = 58;
constexpr qint64 SampleBytes = 16;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TPolarGraph graph;
    int notices = 0;
    QObject::connect(&graph, &TPolarGraph::OnChange, [&notices] { ++notices; });
    TOvkFile file(&graph, QStringLiteral("/fuzz/input.OvK"));
    try {
        file.LoadBytes(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const EInOutError &) {
        // Refused: the chart must be as it was.
        if (graph.SeriesCount() != 0 || notices != 0)
            std::abort();
        return 0;
    }

    // What was loaded is backed by bytes of the input, series by series, and every series
    // was announced to listeners.
    qint64 justified = HeaderBytes;
    for (const TSeries *s : graph.SeriesList())
        justified += RecordBytes + SampleBytes * s->Count();
    if (graph.SeriesCount() != file.SeriesCount || justified > qint64(size)
        || notices < graph.SeriesCount())
        std::abort();
    return 0;
}
