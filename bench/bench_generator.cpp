// Time to compute one generator block per signal, for blocks of 4096 and 32768 samples, and
// that time as a fraction of the block's play time at 44100 Hz ("play_fraction", printed with
// SI prefixes: 543u means 0.000543). A block has to be ready well within the play time of the
// buffers still queued, so the fraction should stay far below 1.

#include "audio/Generator.h"

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int PlayRate = 44100;

void GenerateBlock(benchmark::State &state)
{
    const auto signal = TSignalType(state.range(0));
    const int n = int(state.range(1));
    TGenerator generator;
    generator.SetSignal(signal);
    generator.SetNumSamples(n);
    generator.SetSamplingFrequency(PlayRate);
    generator.SetSignalFrequency(1000.0);
    generator.SetAutoPhase(true);
    std::vector<qint16> block(static_cast<size_t>(n));
    generator.OnGenerate = [&](int index, qint16 value) {
        block[size_t(index)] = value;
    };
    for (auto _ : state) {
        generator.Generate();
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
    }
    const double playSeconds = double(n) / PlayRate;
    state.counters["play_fraction"] = benchmark::Counter(
        playSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel(SignalTypeName(signal).toStdString());
}

void Arguments(benchmark::internal::Benchmark *b)
{
    for (int s = 0; s < SignalTypeCount; ++s)
        for (int n : { 4096, 32768 })
            b->Args({ s, n });
}

} // namespace

BENCHMARK(GenerateBlock)->Apply(Arguments)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return RunBenchmarks(argc, argv);
}
