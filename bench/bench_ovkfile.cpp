// Save and load of a characteristic file with 100 series of 15000 points each (about 24 MB),
// each beside a plain C reader or writer of the same bytes, the practical limit: the reader
// reads the file with one fread and copies each series' points into an array of its own, the
// writer writes the same bytes with one fwrite. Load includes putting every point into the
// chart, as opening a document does; save includes reading them out and the safe replace.
// Reported per run: load_MBps / plain_MBps and the ratio of the times (ours / plain; 1 is
// the limit, the load must stay within 2).
//
// Run: build/bench/bench_ovkfile   (the file goes to the system temp folder)

#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/OvkFile.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int SeriesCount = 100;
constexpr int PointsPerSeries = 15000;

using TClockNow = std::chrono::steady_clock;

double SecondsSince(TClockNow::time_point start)
{
    return std::chrono::duration<double>(TClockNow::now() - start).count();
}

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

// The plain reader: one read of the whole file, then each series' points copied into an
// array of its own (layout: 332-byte header, records of 58 bytes plus 16 per point).
// Returns the number of points read.
long PlainRead(const char *path)
{
    FILE *f = std::fopen(path, "rb");
    if (!f)
        return -1;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    char *bytes = static_cast<char *>(std::malloc(size_t(size)));
    const size_t got = std::fread(bytes, 1, size_t(size), f);
    std::fclose(f);
    long total = 0;
    if (got == size_t(size) && size >= 332) {
        std::uint16_t count;
        std::memcpy(&count, bytes + 330, 2);
        std::vector<double *> arrays;
        long at = 332;
        for (int i = 0; i < count && at + 58 <= size; ++i) {
            std::int32_t n;
            std::memcpy(&n, bytes + at + 54, 4);
            at += 58;
            auto *points = static_cast<double *>(std::malloc(size_t(n) * 16));
            std::memcpy(points, bytes + at, size_t(n) * 16);
            arrays.push_back(points);
            at += long(n) * 16;
            total += n;
        }
        for (double *a : arrays)
            std::free(a);
    }
    std::free(bytes);
    return total;
}

// The plain writer: the same bytes in one fwrite.
bool PlainWrite(const char *path, const QByteArray &bytes)
{
    FILE *f = std::fopen(path, "wb");
    if (!f)
        return false;
    const bool ok
        = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f) == size_t(bytes.size());
    return std::fclose(f) == 0 && ok;
}

void Report(benchmark::State &state, qint64 bytes, double ours, double plain, const char *name)
{
    const double n = double(state.iterations());
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_MB"] = double(bytes) / 1e6;
    state.counters[std::string(name) + "_MBps"] = double(bytes) * n / ours / 1e6;
    state.counters["plain_MBps"] = double(bytes) * n / plain / 1e6;
    state.counters["ratio"] = ours / plain;
}

void SaveDocument(benchmark::State &state)
{
    QTemporaryDir dir;
    TPolarGraph graph;
    FillChart(graph);
    TOvkFile file(&graph, dir.filePath(QStringLiteral("bench.OvK")));
    file.Title = QStringLiteral("Benchmark");
    file.Save();
    QFile saved(file.FullPath());
    saved.open(QIODevice::ReadOnly);
    const QByteArray bytes = saved.readAll();
    const QByteArray plainPath = QFile::encodeName(dir.filePath(QStringLiteral("plain.OvK")));
    double ours = 0, plain = 0;
    for (auto _ : state) {
        auto start = TClockNow::now();
        file.Save();
        const double one = SecondsSince(start);
        ours += one;
        start = TClockNow::now();
        PlainWrite(plainPath.constData(), bytes);
        plain += SecondsSince(start);
        state.SetIterationTime(one);
    }
    Report(state, bytes.size(), ours, plain, "save");
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
    const QByteArray cpath = QFile::encodeName(path);
    const qint64 bytes = QFileInfo(path).size();
    double ours = 0, plain = 0;
    for (auto _ : state) {
        auto start = TClockNow::now();
        benchmark::DoNotOptimize(PlainRead(cpath.constData()));
        plain += SecondsSince(start);
        start = TClockNow::now();
        {
            // A fresh chart each time, as a newly opened document window has; its
            // destruction counts, as the plain reader's frees do.
            TPolarGraph graph;
            TOvkFile file(&graph, path);
            file.Load();
            benchmark::DoNotOptimize(graph.SeriesCount());
        }
        const double one = SecondsSince(start);
        ours += one;
        state.SetIterationTime(one);
    }
    Report(state, bytes, ours, plain, "load");
}

} // namespace

BENCHMARK(SaveDocument)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(LoadDocument)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
