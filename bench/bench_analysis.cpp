// Broadband analysis of an 80 s recording at 44.1 kHz (one full turn, MLS with an
// 8192-sample period, frames a quarter period apart: about 1700 frames) on one core: the
// whole TBroadbandAnalysis::Analyse, FFTW planning included, with the automatic gate, then
// the band levels of six bands. The recording is synthetic: the excitation through a short
// loudspeaker-like response, a reflection 3 ms later and a noise floor.
//
// Then what a document with one such measurement costs beside its file: opening it (reading
// the index, the 7 MB WAV and its log, and the analysis again) and saving it where no hard
// link can be made (the recording copied through the checked writer).
//
// And the CTA-2034 spin of two such turns analysed with a 50 ms gate (about 2200 taps a
// frame), unsmoothed: the part the spin window and its exports wait for.
//
// Run: build/bench/bench_analysis

#include "analysis/BroadbandAnalysis.h"
#include "analysis/MeasurementFolder.h"
#include "analysis/Spinorama.h"

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>

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

// One kept measurement of the synthetic turn, its WAV in folder.
TKeptMeasurement KeptTurn(const QString &folder)
{
    TKeptMeasurement kept;
    kept.Log = Log();
    const std::vector<float> y = Recording(kept.Log);
    std::vector<qint16> samples(y.size());
    std::transform(y.begin(), y.end(), samples.begin(), [](float v) {
        return qint16(std::clamp(std::lround(v * 32767.0), -32768L, 32767L));
    });
    kept.Recording = QDir(folder).filePath(QStringLiteral("turn.wav"));
    TWavFile::Write(kept.Recording, samples.data(), qint64(samples.size()), Rate);
    kept.Name = QStringLiteral("Pomiar 1");
    return kept;
}

void BM_OpenDocumentWithTurn(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("b.OvK"));
    if (!TMeasurementFolder::Write(document, { KeptTurn(dir.path()) })) {
        state.SkipWithError("not written");
        return;
    }
    for (auto _ : state) {
        const TMeasurementFolder::TContents contents = TMeasurementFolder::Read(document);
        if (contents.Measurements.size() != 1 || !contents.Measurements.front().Analyse()) {
            state.SkipWithError("not read back");
            return;
        }
    }
}
BENCHMARK(BM_OpenDocumentWithTurn)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveBesideByCopy(benchmark::State &state)
{
    QTemporaryDir dir;
    const TKeptMeasurement kept = KeptTurn(dir.path());
    TMeasurementFolder::RefuseHardLinksForTesting(true);
    int n = 0;
    for (auto _ : state) {
        const QString document = dir.filePath(QStringLiteral("copy%1.OvK").arg(++n));
        if (!TMeasurementFolder::Write(document, { kept })) {
            state.SkipWithError("not written");
            break;
        }
    }
    TMeasurementFolder::RefuseHardLinksForTesting(false);
}
BENCHMARK(BM_SaveBesideByCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SpinOfTwoTurns(benchmark::State &state)
{
    const TMarkerLog log = Log();
    const std::vector<float> y = Recording(log);
    TBroadbandOptions options;
    options.GateMs = 50.0;
    const auto horizontal = TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), log, options);
    options.Vertical = true;
    const auto vertical = TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), log, options);
    if (!horizontal || !vertical) {
        state.SkipWithError("no result");
        return;
    }
    for (auto _ : state) {
        QString error;
        const auto spin = TSpinorama::Compute(*horizontal, *vertical, 0, &error);
        if (!spin) {
            state.SkipWithError(qPrintable(error));
            return;
        }
        benchmark::DoNotOptimize(spin->CurvesDb.data());
    }
    state.counters["frames"] = horizontal->FrameCount();
    state.counters["taps"] = horizontal->GateLength;
}
BENCHMARK(BM_SpinOfTwoTurns)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarks(argc, argv);
}
