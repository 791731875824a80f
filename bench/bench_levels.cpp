// Level computation of a 512 MiB recording (16-bit mono, 512-byte blocks) by TLevelComputation
// against a plain C loop of the same definition over the same file read with fread, as bytes
// of recording per second. The file is written once to a temporary folder of the system temp
// directory and removed at the end; it was just written, so it is normally in the page cache
// (warm) for both.
//
// Run: build/bench/bench_levels

#include "controls/FileWriter.h"
#include "measurement/LevelComputation.h"

#include <QTemporaryDir>
#include <QtEndian>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr qint64 FileBytes = qint64(512) << 20;
constexpr int BlockBytes = 512;

QString g_path;

// Noise with a slowly moving level and a small DC offset, like a microphone in a turning room.
bool WriteRecording(const QString &path)
{
    TFileWriter writer(path);
    if (!writer.Open())
        return false;
    std::mt19937 random(12345);
    std::normal_distribution<double> noise(0.0, 1.0);
    std::vector<qint16> chunk(size_t(1) << 19);
    QByteArray bytes(qsizetype(chunk.size() * 2), '\0');
    qint64 written = 0;
    for (qint64 n = 0; written < FileBytes; ++n) {
        const double amplitude = 3000.0 * (1.5 + std::sin(double(n) * 0.01));
        for (qint16 &x : chunk)
            x = qint16(std::clamp(std::lround(40 + amplitude * noise(random)), -32768L, 32767L));
        qToLittleEndian<qint16>(chunk.data(), qsizetype(chunk.size()), bytes.data());
        if (!writer.Write(bytes))
            return false;
        written += bytes.size();
    }
    return writer.Commit();
}

// The definition written as directly as C allows: two passes per block, stdio reads.
double PlainLevels(const char *path, double *levels)
{
    FILE *file = std::fopen(path, "rb");
    if (!file)
        return -1;
    const size_t chunkBytes = size_t(1) << 20;
    auto *buffer = static_cast<short *>(std::malloc(chunkBytes));
    const int n = BlockBytes / 2;
    long long count = 0;
    size_t got;
    while ((got = std::fread(buffer, 1, chunkBytes, file)) > 0) {
        for (size_t b = 0; b + BlockBytes <= got; b += BlockBytes) {
            const short *x = buffer + b / 2;
            long long sum = 0;
            for (int i = 0; i < n; ++i)
                sum += x[i];
            const long long m = std::llrint(double(sum) / n);
            long long s = 0;
            for (int i = 0; i < n; ++i) {
                const long long d = x[i] - m;
                s += d * d;
            }
            const double rms = std::sqrt(double(s) / n);
            const double ref = double(std::llabs(32768 - m / 2));
            levels[count++] = 20.0 * std::log10(std::fmax(0.000001, rms / ref));
        }
    }
    std::free(buffer);
    std::fclose(file);
    return double(count);
}

void LevelComputation(benchmark::State &state)
{
    TLevelComputation computation;
    int progressCalls = 0;
    computation.SetProgress([&](int) { ++progressCalls; });
    double last = 0;
    for (auto _ : state) {
        const std::vector<double> levels = computation.Compute(g_path, BlockBytes);
        last = levels.empty() ? 0 : levels.back();
        benchmark::DoNotOptimize(levels.data());
    }
    state.SetBytesProcessed(state.iterations() * FileBytes);
    state.counters["last_dB"] = last;
    state.counters["progress_calls"]
        = benchmark::Counter(progressCalls, benchmark::Counter::kAvgIterations);
}

void PlainCLoop(benchmark::State &state)
{
    std::vector<double> levels(size_t(FileBytes / BlockBytes));
    const QByteArray path = g_path.toLocal8Bit();
    double count = 0;
    for (auto _ : state) {
        count = PlainLevels(path.constData(), levels.data());
        benchmark::DoNotOptimize(levels.data());
    }
    state.SetBytesProcessed(state.iterations() * FileBytes);
    state.counters["levels"] = count;
    state.counters["last_dB"] = levels.back();
}

} // namespace

BENCHMARK(LevelComputation)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(PlainCLoop)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    return RunBenchmarks(argc, argv, [&dir] {
        g_path = dir.filePath(QStringLiteral("temp.raw"));
        if (dir.isValid() && WriteRecording(g_path))
            return true;
        std::fprintf(stderr, "bench_levels: cannot write the recording in %s\n",
                     qPrintable(dir.path()));
        return false;
    });
}
