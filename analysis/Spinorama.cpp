#include "analysis/Spinorama.h"

#include "analysis/DirectivityResult.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <utility>

namespace {

constexpr double BottomHz = 20.0;
constexpr double TopHz = 20000.0;
constexpr int PointsPerOctave = 20;
constexpr int StepDeg = 10;
// An angle between two frames is interpolated when a frame lies on each side within this many
// degrees (half the curves' angle step); a turn's end may stand a little short of the angle.
constexpr double BracketReachDeg = 5.0;
constexpr double EdgeReachDeg = 0.5;
// Frequencies the level recurrence runs side by side: independent chains keep the FPU busy.
constexpr size_t FrequencyBlock = 8;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The standard's weights by angle from the axis, every 10° from 0° to 180°.
constexpr std::array<double, 19> Weights = {
    0.000604486, 0.004730189, 0.008955027, 0.012387354, 0.014989611, 0.016868154, 0.018165962,
    0.019006744, 0.019477787, 0.019629373, 0.019477787, 0.019006744, 0.018165962, 0.016868154,
    0.014989611, 0.012387354, 0.008955027, 0.004730189, 0.000604486,
};

// |Σ x[n]·e^{−iωn}|² of one frame's taps at each frequency (Goertzel's recurrence, a few
// frequencies at once). The level does not depend on where time zero lies, so this is the power
// of TDirectivityResult::Response at the same frequency (its calibration added).
void UnsmoothedLevels(const TDirectivityResult &result, int frame,
                      const std::vector<double> &frequencies, const std::vector<bool> &measured,
                      std::vector<double> &levelsDb)
{
    const float *taps = &result.Responses[size_t(frame) * size_t(result.GateLength)];
    const double omegaPerHz = 2.0 * std::numbers::pi / result.SampleRate;
    for (size_t k0 = 0; k0 < frequencies.size(); k0 += FrequencyBlock) {
        const size_t count = std::min(FrequencyBlock, frequencies.size() - k0);
        std::array<double, FrequencyBlock> c {}, s1 {}, s2 {};
        for (size_t k = 0; k < count; ++k)
            c[k] = 2.0 * std::cos(omegaPerHz * frequencies[k0 + k]);
        for (int n = 0; n < result.GateLength; ++n) {
            const double x = taps[n];
            for (size_t k = 0; k < FrequencyBlock; ++k) {
                const double s0 = x + c[k] * s1[k] - s2[k];
                s2[k] = s1[k];
                s1[k] = s0;
            }
        }
        for (size_t k = 0; k < count; ++k) {
            if (!measured[k0 + k])
                continue;
            const double power = s1[k] * s1[k] + s2[k] * s2[k] - c[k] * s1[k] * s2[k];
            levelsDb[k0 + k] = 10.0 * std::log10(std::max(power, 1e-30))
                + result.CalibrationDb(frequencies[k0 + k]);
        }
    }
}

std::vector<double> FrameLevels(const TDirectivityResult &result, int frame,
                                const std::vector<double> &frequencies,
                                const std::vector<bool> &measured, int smoothing)
{
    std::vector<double> levels(frequencies.size(), NaN);
    if (smoothing <= 0) {
        UnsmoothedLevels(result, frame, frequencies, measured, levels);
        return levels;
    }
    for (size_t r = 0; r < frequencies.size(); ++r)
        if (measured[r])
            levels[r] = result.LevelDb(frame, frequencies[r], smoothing);
    return levels;
}

// One plane's responses at the angles the curves need, dB per frequency, keyed by angle.
using TPlaneLevels = std::map<int, std::vector<double>>;

QString PlaneName(bool vertical)
{
    return vertical ? QCoreApplication::translate("TSpinorama", "pionowej")
                    : QCoreApplication::translate("TSpinorama", "poziomej");
}

std::optional<TPlaneLevels> PlaneLevels(const TDirectivityResult &result, bool vertical,
                                        const std::vector<double> &frequencies,
                                        const std::vector<bool> &measured, int smoothing,
                                        QString *error)
{
    std::map<int, std::vector<double>> frames;
    TPlaneLevels plane;
    const bool usable = result.GateLength > 0
        && result.Responses.size() >= size_t(result.FrameCount()) * size_t(result.GateLength);
    for (int angle = -180 + StepDeg; angle <= 180; angle += StepDeg) {
        const auto b = usable ? TSpinorama::SourceOf(result, angle) : std::nullopt;
        if (!b) {
            if (error)
                *error
                    = QCoreApplication::translate(
                          "TSpinorama", "Pomiar w płaszczyźnie %1 nie ma ramek w pobliżu kąta %2°.")
                          .arg(PlaneName(vertical))
                          .arg(angle);
            return std::nullopt;
        }
        for (int frame : { b->Below, b->Above })
            if (!frames.count(frame))
                frames.emplace(frame, FrameLevels(result, frame, frequencies, measured, smoothing));
        const std::vector<double> &lo = frames.at(b->Below);
        const std::vector<double> &hi = frames.at(b->Above);
        std::vector<double> levels(frequencies.size());
        for (size_t r = 0; r < levels.size(); ++r)
            levels[r] = lo[r] + b->AboveShare * (hi[r] - lo[r]);
        plane.emplace(angle, std::move(levels));
    }
    return plane;
}

double ToPower(double db)
{
    return std::pow(10.0, db / 10.0);
}

double ToDb(double power)
{
    return 10.0 * std::log10(std::max(power, 1e-30));
}

// A (weighted) mean of p² over some responses at one frequency, back in dB.
struct TTerm
{
    const std::vector<double> *LevelsDb;
    double Weight;
};

double MeanDb(const std::vector<TTerm> &terms, size_t row)
{
    double sum = 0.0, weights = 0.0;
    for (const TTerm &t : terms) {
        sum += t.Weight * ToPower((*t.LevelsDb)[row]);
        weights += t.Weight;
    }
    return ToDb(sum / weights);
}

std::vector<TTerm> Terms(const TPlaneLevels &plane, std::initializer_list<int> angles)
{
    std::vector<TTerm> terms;
    for (int a : angles)
        terms.push_back({ &plane.at(a), 1.0 });
    return terms;
}

std::vector<TTerm> Join(std::vector<TTerm> a, const std::vector<TTerm> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<TTerm> SoundPowerTerms(const TPlaneLevels &horizontal, const TPlaneLevels &vertical)
{
    std::vector<TTerm> terms;
    for (const auto &[angle, levels] : horizontal)
        terms.push_back({ &levels, TSpinorama::SoundPowerWeight(angle) });
    // The vertical plane's 0° and 180° are the horizontal one's.
    for (const auto &[angle, levels] : vertical)
        if (angle != 0 && angle != 180)
            terms.push_back({ &levels, TSpinorama::SoundPowerWeight(angle) });
    return terms;
}

QString Field(double value)
{
    return std::isfinite(value) ? QString::number(value, 'f', 3) : QString();
}

} // namespace

std::optional<TDirectivityResult::TAngleSource>
TSpinorama::SourceOf(const TDirectivityResult &result, int angleDeg)
{
    return result.SourceAt(angleDeg, BracketReachDeg, EdgeReachDeg);
}

std::vector<double> TSpinorama::MeasuredFrequenciesHz() const
{
    std::vector<double> measured;
    const std::vector<double> &onAxis = CurvesDb[OnAxis];
    for (size_t r = 0; r < FrequenciesHz.size() && r < onAxis.size(); ++r)
        if (std::isfinite(onAxis[r]))
            measured.push_back(FrequenciesHz[r]);
    return measured;
}

double TSpinorama::SoundPowerWeight(int angleDeg)
{
    int a = std::abs(angleDeg) % 360;
    if (a > 180)
        a = 360 - a;
    return a % StepDeg == 0 ? Weights[size_t(a / StepDeg)] : 0.0;
}

std::optional<TSpinorama> TSpinorama::Compute(const TDirectivityResult &horizontal,
                                              const TDirectivityResult &vertical, int smoothing,
                                              QString *error)
{
    for (const TDirectivityResult *r : { &horizontal, &vertical })
        if (r->SampleRate <= 0) {
            if (error)
                *error = tr("Pomiar w płaszczyźnie %1 nie ma częstotliwości "
                            "próbkowania.")
                             .arg(PlaneName(r == &vertical));
            return std::nullopt;
        }
    if (horizontal.SampleRate != vertical.SampleRate) {
        if (error)
            *error = tr("Pomiary w płaszczyźnie poziomej i pionowej mają różne "
                        "częstotliwości próbkowania (%1 Hz i %2 Hz).")
                         .arg(horizontal.SampleRate)
                         .arg(vertical.SampleRate);
        return std::nullopt;
    }

    TSpinorama spin;
    spin.FrequenciesHz = TDirectivityResult::LogFrequencies(BottomHz, TopHz, PointsPerOctave);
    spin.LowestMeasuredHz = std::max(horizontal.LowestReliableHz(), vertical.LowestReliableHz());
    const size_t rows = spin.FrequenciesHz.size();
    std::vector<bool> measured(rows);
    for (size_t r = 0; r < rows; ++r)
        measured[r] = spin.FrequenciesHz[r] >= spin.LowestMeasuredHz * (1.0 - 1e-9)
            && spin.FrequenciesHz[r] < 0.5 * horizontal.SampleRate;

    const auto h = PlaneLevels(horizontal, false, spin.FrequenciesHz, measured, smoothing, error);
    if (!h)
        return std::nullopt;
    const auto v = PlaneLevels(vertical, true, spin.FrequenciesHz, measured, smoothing, error);
    if (!v)
        return std::nullopt;

    const std::vector<TTerm> listening
        = Join(Terms(*v, { 0, 10, -10 }), Terms(*h, { 10, -10, 20, -20, 30, -30 }));
    const std::array<std::vector<TTerm>, 5> parts = {
        Terms(*v, { -20, -30, -40 }),
        Terms(*v, { 40, 50, 60 }),
        Terms(*h, { 0, 10, -10, 20, -20, 30, -30 }),
        Terms(*h, { 40, -40, 50, -50, 60, -60, 70, -70, 80, -80 }),
        Terms(*h, { 90, -90, 180 }),
    };
    const std::vector<TTerm> power = SoundPowerTerms(*h, *v);

    for (auto &curve : spin.CurvesDb)
        curve.assign(rows, NaN);
    for (size_t r = 0; r < rows; ++r) {
        if (!measured[r])
            continue;
        const double lw = MeanDb(listening, r);
        double reflections = 0.0;
        for (size_t p = 0; p < parts.size(); ++p) {
            const double part = MeanDb(parts[p], r);
            spin.CurvesDb[size_t(FloorBounce) + p][r] = part;
            reflections += ToPower(part) / double(parts.size());
        }
        const double er = ToDb(reflections);
        const double sp = MeanDb(power, r);
        spin.CurvesDb[OnAxis][r] = h->at(0)[r];
        spin.CurvesDb[ListeningWindow][r] = lw;
        spin.CurvesDb[EarlyReflections][r] = er;
        spin.CurvesDb[SoundPower][r] = sp;
        spin.CurvesDb[EstimatedInRoom][r]
            = ToDb(0.12 * ToPower(lw) + 0.44 * ToPower(er) + 0.44 * ToPower(sp));
        spin.CurvesDb[EarlyReflectionsDi][r] = lw - er;
        spin.CurvesDb[SoundPowerDi][r] = lw - sp;
    }
    return spin;
}

QString TSpinorama::CsvText(const TSpinorama &spin)
{
    QString text = QStringLiteral("Freq[Hz],On Axis,Listening Window,Early Reflections,Sound "
                                  "Power,Estimated In-Room Response,Early Reflections DI,Sound "
                                  "Power DI\n");
    for (size_t r = 0; r < spin.FrequenciesHz.size(); ++r) {
        text += QString::number(spin.FrequenciesHz[r], 'f', 3);
        for (int c = 0; c < MainCurveCount; ++c) {
            const std::vector<double> &curve = spin.CurvesDb[size_t(c)];
            text += QLatin1Char(',') + Field(r < curve.size() ? curve[r] : NaN);
        }
        text += QLatin1Char('\n');
    }
    return text;
}
