// Broadband analysis of an 80 s recording at 44.1 kHz (one full turn, MLS with an
// 8192-sample period, frames a quarter period apart: about 1700 frames) on one core: the
// whole TBroadbandAnalysis::Analyse, FFTW planning included, with the automatic gate, then
// the band levels of six bands. The recording is synthetic: the excitation through a short
// loudspeaker-like response, a reflection 3 ms later and a noise floor.
//
// Run: build/bench/bench_analysis

#include "analysis/BroadbandAnalysis.h"

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr int Seconds = 80;

TMarkerLog Log()
{
    TMarkerLog log;
    log.Signal = TSignalType::MLS;
    log.PlayBufferBytes = 16384;
    log.SampleRate = Rate;
    log.LeadMs = 1000;
    log.RecordedSamples = qint64(Rate) * Seconds;
    // 36 markers over the turn, as the turntable counts them.
    for (int k = 1; k <= 36; ++k)
        log.MarkerSamples.push_back(double(log.RecordedSamples) * k / 36.5);
    return log;
}

std::vector<float> Recording(const TMarkerLog &log)
{
    const std::vector<double> x = *TBroadbandAnalysis::Excitation(log, {});
    const int p = int(x.size());
    const std::vector<std::pair<int, double>> taps
        = { { 40, 0.2 }, { 41, 0.5 }, { 42, 0.2 }, { 40 + 132, 0.25 } };
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 3e-5);
    std::vector<float> y(size_t(log.RecordedSamples));
    for (size_t n = 0; n < y.size(); ++n) {
        double sum = noise(random);
        for (const auto &[delay, gain] : taps)
            sum += gain * x[size_t((qint64(n) + 333 - delay) % p)];
        y[n] = float(sum);
    }
    return y;
}

void BM_AnalyseFullTurn(benchmark::State &state)
{
    const TMarkerLog log = Log();
    const std::vector<float> y = Recording(log);
    const TBroadbandOptions options;
    int frames = 0;
    for (auto _ : state) {
        const auto result = TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), log, options);
        if (!result) {
            state.SkipWithError("no result");
            return;
        }
        const auto levels = TBroadbandAnalysis::BandLevels(*result, options);
        benchmark::DoNotOptimize(levels.data());
        frames = result->FrameCount();
    }
    state.counters["frames"] = frames;
}
BENCHMARK(BM_AnalyseFullTurn)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarks(argc, argv);
}
