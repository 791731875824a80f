// Save and load of a characteristic file with 100 series of 15000 points each (about 24 MB),
// reported as bytes per second of file (MB/s in the output). Load includes putting every
// point into the chart, as opening a document does; save includes reading them out.
//
// Run: build/bench/bench_ovkfile   (the file goes to the system temp folder)

#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/OvkFile.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int SeriesCount = 100;
constexpr int PointsPerSeries = 15000;

void FillChart(TPolarGraph &graph)
{
    graph.SetAutoRepaint(false);
    std::vector<TPolarSample> points(PointsPerSeries);
    for (int s = 0; s < SeriesCount; ++s) {
        for (int i = 0; i < PointsPerSeries; ++i)
            points[size_t(i)]
                = { i * 360.0 / PointsPerSeries, -20.0 + 10.0 * std::sin(0.001 * i + s) };
        TSeries *series = graph.GetSeries(s);
        series->Name = QStringLiteral("Pomiar %1").arg(s + 1);
        series->SetPoints(points.data(), PointsPerSeries);
    }
}

void SaveDocument(benchmark::State &state)
{
    QTemporaryDir dir;
    TPolarGraph graph;
    FillChart(graph);
    TOvkFile file(&graph, dir.filePath(QStringLiteral("bench.OvK")));
    file.Title = QStringLiteral("Benchmark");
    for (auto _ : state)
        file.Save();
    const qint64 bytes = QFileInfo(file.FullPath()).size();
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_MB"] = double(bytes) / 1e6;
}

void LoadDocument(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.OvK"));
    {
        TPolarGraph graph;
        FillChart(graph);
        TOvkFile file(&graph, path);
        file.Save();
    }
    const qint64 bytes = QFileInfo(path).size();
    for (auto _ : state) {
        // A fresh chart each time, as a newly opened document window has.
        TPolarGraph graph;
        TOvkFile file(&graph, path);
        file.Load();
        benchmark::DoNotOptimize(graph.SeriesCount());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_MB"] = double(bytes) / 1e6;
}

} // namespace

BENCHMARK(SaveDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
