#include "analysis/BroadbandAnalysis.h"

#include "analysis/BandPalette.h"
#include "analysis/Deconvolver.h"
#include "analysis/MicCalibration.h"
#include "audio/Generator.h"
#include "chart/AutoRepaintRestorer.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The gate opens this long before the direct-sound peak, fading in over the first
// GateFadeInMs: a loudspeaker's direct sound spreads around its peak (a 0.1 m piston off
// axis by ±0.3 ms, and the band limit adds its own tails).
constexpr double GateOpenMs = 0.7;
constexpr double GateFadeInMs = 0.2;
// The closing fade, ms; it ends before the reflection's onset.
constexpr double GateFadeOutMs = 0.25;
// An automatic gate is at least this long after the peak, ms.
constexpr double MinimumGateMs = 1.0;
// The automatic gate looks for the first reflection up to this far after the peak, ms.
constexpr double SearchMs = 50.0;
// A reflection begins where the mean energy of the responses rises again above this level
// relative to the direct-sound peak's, dB, after the direct sound has fallen below it.
constexpr double OnsetThresholdDb = -45.0;
// Samples kept clear between the fade's end and a reflection's onset.
constexpr int OnsetGuard = 2;
// Warn when the table turns more than this during one excitation period, degrees.
constexpr double SmearWarningDeg = 1.0;
// Every how many frames the progress is reported.
constexpr int ProgressEvery = 64;

constexpr double Pi = std::numbers::pi;

QString Number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

// The shortest P dividing the block with every sample equal to the one P later.
int PeriodOf(const std::vector<qint16> &block)
{
    int period = int(block.size());
    while (period % 2 == 0 && period > 2) {
        const int half = period / 2;
        bool repeats = true;
        for (size_t i = 0; i + size_t(half) < block.size() && repeats; ++i)
            repeats = block[i] == block[i + size_t(half)];
        if (!repeats)
            break;
        period = half;
    }
    return period;
}

double HalfHann(int i, int length)
{
    return 0.5 - 0.5 * std::cos(Pi * (i + 0.5) / length);
}

struct TGate
{
    int Before = 0; // taps before the peak
    int After = 0; // taps from the peak on, the peak included
    int FadeIn = 0;
    int FadeOut = 0;
};

// Where the mean energy rises again above the threshold after the direct sound fell below it:
// index into energy (peak at `peak`), or -1.
int ReflectionOnset(const std::vector<double> &energy, int peak, int minimumAfter)
{
    const double threshold = energy[size_t(peak)] * std::pow(10.0, OnsetThresholdDb / 10.0);
    bool fallen = false;
    for (size_t i = size_t(peak) + 1; i < energy.size(); ++i) {
        if (!fallen) {
            fallen = energy[i] < threshold;
            continue;
        }
        if (energy[i] >= threshold && int(i) - peak >= minimumAfter)
            return int(i);
        if (energy[i] >= threshold)
            fallen = false; // still the direct sound's own tail
    }
    return -1;
}

} // namespace

std::optional<std::vector<double>> TBroadbandAnalysis::Excitation(const TMarkerLog &log,
                                                                  const std::vector<double> &bands,
                                                                  QString *error)
{
    const auto fail = [error](const QString &text) -> std::optional<std::vector<double>> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    const QString refusal = TBroadbandOptions::SignalRefusal(log.Signal, log.FrequencyHz, bands);
    if (!refusal.isEmpty())
        return fail(refusal);
    const QString bandRefusal = TBroadbandOptions::BandRefusal(bands, log.SampleRate);
    if (!bandRefusal.isEmpty())
        return fail(bandRefusal);
    const int blockSamples = log.PlayBufferBytes / 2;
    if (blockSamples < 16)
        return fail(tr("Blok generatora jest za krótki do analizy szerokopasmowej."));

    // As the rig plays it: blocks joined with the phase carried over.
    TGenerator generator;
    const size_t blockSize = size_t(blockSamples);
    std::vector<qint16> first(blockSize);
    std::vector<qint16> second(blockSize);
    std::vector<qint16> *target = &first;
    generator.OnGenerate = [&target](int index, qint16 value) {
        if (index >= 0 && size_t(index) < target->size())
            (*target)[size_t(index)] = value;
    };
    try {
        generator.SetSamplingFrequency(log.SampleRate);
        generator.SetNumSamples(blockSamples);
        generator.SetSignal(log.Signal);
        generator.SetSignalFrequency(log.FrequencyHz);
        generator.SetVolumeInPercents(log.AmplitudePercent);
        generator.SetAutoPhase(true);
        generator.Generate();
        target = &second;
        generator.Generate();
    } catch (const EGeneratorError &e) {
        return fail(e.Message());
    }
    if (first != second)
        return fail(tr("Sygnał nie powtarza się w kolejnych blokach generatora."));
    const int period = std::min(PeriodOf(first), LongestPeriod);
    if (blockSamples % period != 0)
        return fail(tr("Sygnał nie powtarza się w kolejnych blokach generatora."));
    std::vector<double> excitation(first.begin(), first.begin() + period);
    double energy = 0.0;
    for (int i = 0; i < period; ++i) {
        excitation[size_t(i)] /= 32768.0;
        energy += excitation[size_t(i)] * excitation[size_t(i)];
    }
    if (energy <= 0.0)
        return fail(tr("Sygnał generatora jest cichy (amplituda 0%)."));
    return excitation;
}

std::vector<float> TBroadbandAnalysis::FullScale(const std::vector<qint16> &samples)
{
    std::vector<float> result(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        result[i] = float(samples[i] / 32768.0);
    return result;
}

std::optional<TDirectivityResult> TBroadbandAnalysis::Analyse(const float *samples, qint64 count,
                                                              const TMarkerLog &log,
                                                              const TBroadbandOptions &options,
                                                              QString *error,
                                                              const TProgress &progress)
{
    const auto read = [samples](qint64 start, int length, float *out) {
        std::copy(samples + start, samples + start + length, out);
    };
    return AnalyseFrames(count, read, log, options, error, progress);
}

std::optional<TDirectivityResult> TBroadbandAnalysis::Analyse(const std::vector<qint16> &samples,
                                                              const TMarkerLog &log,
                                                              const TBroadbandOptions &options,
                                                              QString *error,
                                                              const TProgress &progress)
{
    const auto read = [&samples](qint64 start, int length, float *out) {
        for (int i = 0; i < length; ++i)
            out[i] = float(samples[size_t(start + i)] / 32768.0);
    };
    return AnalyseFrames(qint64(samples.size()), read, log, options, error, progress);
}

void TBroadbandAnalysis::Calibrate(TDirectivityResult &result, const TBroadbandOptions &options)
{
    result.SensitivityDbfs = options.SensitivityDbfs;
    if (options.MicCalFile.isEmpty())
        return;
    QString error;
    if (std::optional<TMicCalibration> file = TMicCalibration::Load(options.MicCalFile, &error)) {
        result.MicCal = std::make_shared<const TMicCalibration>(std::move(*file));
        return;
    }
    // The measurement itself is still there; the user is told it is not corrected.
    result.CalibrationProblem = tr("%1 Charakterystyki podano bez korekcji mikrofonu.").arg(error);
    result.Warnings << result.CalibrationProblem;
}

std::optional<TDirectivityResult>
TBroadbandAnalysis::AnalyseFrames(qint64 count, const TFrameReader &read, const TMarkerLog &log,
                                  const TBroadbandOptions &options, QString *error,
                                  const TProgress &progress)
{
    const auto fail = [error](const QString &text) -> std::optional<TDirectivityResult> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    const std::optional<std::vector<double>> excitation = Excitation(log, options.BandsHz, error);
    if (!excitation)
        return std::nullopt;
    // Angles squeezed between markers the recording never reached would mean nothing.
    const QString beyond = log.MarkerRefusal(count);
    if (!beyond.isEmpty())
        return fail(beyond);
    const int period = int(excitation->size());
    const int rate = log.SampleRate;
    const int hop = std::max(1, period / 4);

    // Frames that lie in the turned range, from the first in steady state on.
    const qint64 leadSamples = log.LeadMs >= 0 ? qint64(log.LeadMs * rate / 1000.0) : 0;
    const qint64 first = std::max<qint64>(0, period - leadSamples);
    std::vector<qint64> starts;
    std::vector<double> angles;
    for (qint64 s = first; s + period <= count; s += hop) {
        const double angle = log.AngleAt(double(s) + period / 2.0);
        if (angle < log.StartDeg - 1e-9 || angle > log.StopDeg + 1e-9)
            continue;
        starts.push_back(s);
        angles.push_back(angle);
    }
    // One frame is one point: no polar to draw.
    if (starts.size() < 2)
        return fail(tr("Nagranie zawiera %1 pełnych okresów sygnału w obracanym "
                       "zakresie; potrzeba co najmniej dwóch.")
                        .arg(starts.size()));

    TDirectivityResult result;
    result.Vertical = options.Vertical;
    Calibrate(result, options);
    result.SampleRate = rate;
    result.StartDeg = log.StartDeg;
    result.StopDeg = log.StopDeg;
    result.PeriodSamples = period;
    result.FrameAnglesDeg = angles;
    result.DegreesPerPeriod = std::fabs(log.MeanSpeed()) * period;
    const int reference = result.ReferenceFrame();

    TDeconvolver divider(*excitation);
    std::vector<double> response(excitation->size());
    std::vector<float> frame(excitation->size());
    const auto aligned = [&](qint64 start) {
        read(start, period, frame.data());
        divider.Deconvolve(frame.data(), response.data());
        // Frame-aligned: the frame's own start taken out, so every frame shares one shift.
        std::rotate(response.begin(), response.begin() + qint64((period - start % period) % period),
                    response.end());
    };

    // The direct-sound peak of the reference frame fixes time zero for every frame.
    aligned(starts[size_t(reference)]);
    int peak = 0;
    for (int i = 1; i < period; ++i)
        if (std::fabs(response[size_t(i)]) > std::fabs(response[size_t(peak)]))
            peak = i;

    // Every frame's response in a window around the peak, wide enough for any gate.
    const int before = int(std::lround(GateOpenMs * rate / 1000.0));
    const int searchAfter = std::min(period / 2, int(std::lround(SearchMs * rate / 1000.0)));
    const int askedAfter
        = options.GateMs > 0 ? int(std::lround(options.GateMs * rate / 1000.0)) : 0;
    const int windowAfter = std::clamp(std::max(searchAfter, askedAfter + 1), 2, period - before);
    const int window = before + windowAfter;
    std::vector<float> wide(starts.size() * size_t(window));
    std::vector<double> energy(size_t(window), 0.0);
    for (size_t f = 0; f < starts.size(); ++f) {
        if (progress && f % ProgressEvery == 0 && progress(int(f * 100 / starts.size())))
            return fail(QString());
        aligned(starts[f]);
        float *row = &wide[f * size_t(window)];
        for (int j = 0; j < window; ++j) {
            const double v = response[size_t((peak - before + j + period) % period)];
            row[j] = float(v);
            energy[size_t(j)] += v * v;
        }
    }

    TGate gate;
    gate.Before = before;
    gate.FadeIn = std::max(1, int(std::lround(GateFadeInMs * rate / 1000.0)));
    const int minimumAfter = std::max(2, int(std::lround(MinimumGateMs * rate / 1000.0)));
    if (options.GateMs > 0) {
        gate.After = std::clamp(askedAfter, 2, windowAfter);
        result.AutomaticGate = false;
    } else {
        const int onset = ReflectionOnset(energy, before, minimumAfter);
        gate.After = onset < 0 ? windowAfter : std::max(minimumAfter, onset - before - OnsetGuard);
        if (onset < 0)
            result.Notes << tr("Nie znaleziono odbicia w odpowiedzi; bramka "
                               "zamyka się po %1 ms.")
                                .arg(Number(gate.After * 1000.0 / rate, 1));
    }
    gate.FadeOut = std::clamp(int(std::lround(GateFadeOutMs * rate / 1000.0)), 1, gate.After / 2);

    result.GateFirstTap = -gate.Before;
    result.GateLength = gate.Before + gate.After;
    result.GateOpenMs = -gate.Before * 1000.0 / rate;
    result.GateCloseMs = gate.After * 1000.0 / rate;
    std::vector<float> shape(size_t(result.GateLength), 1.0f);
    for (int i = 0; i < gate.FadeIn; ++i)
        shape[size_t(i)] = float(HalfHann(i, gate.FadeIn));
    for (int i = 0; i < gate.FadeOut; ++i)
        shape[size_t(result.GateLength - 1 - i)] = float(HalfHann(i, gate.FadeOut));
    result.Responses.resize(starts.size() * size_t(result.GateLength));
    for (size_t f = 0; f < starts.size(); ++f) {
        const float *row = &wide[f * size_t(window)];
        float *out = &result.Responses[f * size_t(result.GateLength)];
        for (int j = 0; j < result.GateLength; ++j)
            out[j] = row[j] * shape[size_t(j)];
    }

    const double lowest = result.LowestReliableHz();
    QStringList unreliable;
    for (double hz : options.BandsHz)
        if (hz < lowest)
            unreliable << BandName(hz) + QStringLiteral(" Hz");
    if (!unreliable.isEmpty())
        result.Warnings << tr("Bramka %1 ms nie rozróżnia częstotliwości poniżej "
                              "%2 Hz; niepewne pasma: %3.")
                               .arg(Number(result.GateMs(), 2), Number(lowest, 0),
                                    unreliable.join(QStringLiteral(", ")));
    if (result.DegreesPerPeriod > SmearWarningDeg)
        result.Warnings << tr("Stolik obraca się o %1° w czasie jednego okresu "
                              "sygnału; odpowiedzi są rozmyte (zwolnij obrót lub "
                              "skróć bufor odtwarzania).")
                               .arg(Number(result.DegreesPerPeriod, 2));
    if (progress)
        progress(100);
    return result;
}

std::vector<std::vector<double>> TBroadbandAnalysis::BandLevels(const TDirectivityResult &result,
                                                                const TBroadbandOptions &options)
{
    std::vector<std::vector<double>> levels;
    const int reference = result.ReferenceFrame();
    for (double hz : options.BandsHz) {
        std::vector<double> band(size_t(result.FrameCount()));
        for (int f = 0; f < result.FrameCount(); ++f)
            band[size_t(f)] = result.LevelDb(f, hz, options.Smoothing);
        const double l0 = reference >= 0 ? band[size_t(reference)] : 0.0;
        for (double &l : band)
            l -= l0;
        levels.push_back(std::move(band));
    }
    return levels;
}

std::vector<TSeries *> TBroadbandAnalysis::AddBandSeries(TPolarGraph &chart,
                                                         const TDirectivityResult &result,
                                                         const TBroadbandOptions &options)
{
    const std::vector<std::vector<double>> levels = BandLevels(result, options);
    std::vector<TSeries *> added;
    const TAutoRepaintRestorer restorer(chart);
    QList<quint32> inUse;
    for (const TSeries *series : chart.SeriesList())
        inUse << series->Color();
    for (size_t b = 0; b < levels.size(); ++b) {
        TSeries *series = chart.GetSeries(chart.MaxSeriesNumber() + 1);
        series->Name = result.Name
            + (options.Vertical ? QStringLiteral(" pion ") : QStringLiteral(" "))
            + BandName(options.BandsHz[b]) + QStringLiteral(" Hz");
        const quint32 color = TBandPalette::Next(inUse);
        series->SetColor(color);
        inUse << color;
        for (int f = 0; f < result.FrameCount(); ++f)
            series->Add(result.FrameAnglesDeg[size_t(f)], levels[b][size_t(f)]);
        added.push_back(series);
    }
    return added;
}

QString TBroadbandAnalysis::BandName(double hz)
{
    return QString::number(hz, 'g', 10);
}
