#include "analysis/DirectivityResult.h"

#include "analysis/MicCalibration.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;
// The level a sensitivity is given at, dB SPL.
constexpr double CalibratorReferenceDbSpl = 94.0;
// Points of the power mean over a smoothing band: the gated response changes over about
// 1 / gate Hz, and the band is sampled several times per such step.
constexpr int SmoothingPointsPerStep = 8;
constexpr int FewestSmoothingPoints = 8;
constexpr int MostSmoothingPoints = 512;
// Highest frequency of the map, Hz.
constexpr double MapTopHz = 20000.0;
constexpr double MapBottomHz = 20.0;

double Wrap360(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a < 0)
        a += 360.0;
    return a;
}

// Distance between two angles on the circle, degrees (0 .. 180).
double AngleDistance(double a, double b)
{
    const double d = Wrap360(a - b);
    return std::min(d, 360.0 - d);
}

double PowerToDb(double power)
{
    return 10.0 * std::log10(std::max(power, 1e-30));
}

} // namespace

double TDirectivityResult::LowestReliableHz() const
{
    const double ms = GateMs();
    return ms > 0 ? 1000.0 / ms : 0.0;
}

int TDirectivityResult::ReferenceFrame() const
{
    // As the level series chooses its reference: the smallest |angle| below 180°.
    double smallest = 180.0;
    int reference = -1;
    for (int i = 0; i < FrameCount(); ++i) {
        const double distance = std::fabs(FrameAnglesDeg[size_t(i)]);
        if (distance < smallest) {
            smallest = distance;
            reference = i;
        }
    }
    if (reference < 0 && FrameCount() > 0)
        reference = 0;
    return reference;
}

int TDirectivityResult::FrameAt(double angleDeg, double maxDistanceDeg) const
{
    int best = -1;
    double bestDistance = maxDistanceDeg;
    for (int i = 0; i < FrameCount(); ++i) {
        const double d = AngleDistance(FrameAnglesDeg[size_t(i)], angleDeg);
        if (d <= bestDistance && (best < 0 || d < bestDistance)) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

std::complex<double> TDirectivityResult::Response(int frame, double f) const
{
    if (frame < 0 || frame >= FrameCount() || GateLength <= 0 || SampleRate <= 0)
        return {};
    const float *taps = Taps(frame);
    // e^{-iωn} by recurrence, refreshed every 64 taps against rounding drift.
    const double omega = 2.0 * Pi * f / SampleRate;
    std::complex<double> sum;
    for (int j0 = 0; j0 < GateLength; j0 += 64) {
        const double phase = -omega * (GateFirstTap + j0);
        std::complex<double> w(std::cos(phase), std::sin(phase));
        const std::complex<double> step(std::cos(omega), -std::sin(omega));
        const int end = std::min(GateLength, j0 + 64);
        for (int j = j0; j < end; ++j) {
            sum += double(taps[j]) * w;
            w *= step;
        }
    }
    if (MicCal || SensitivityDbfs)
        sum *= std::pow(10.0, CalibrationDb(f) / 20.0);
    return sum;
}

double TDirectivityResult::CalibrationDb(double f) const
{
    double db = 0.0;
    if (MicCal)
        db -= MicCal->CorrectionDb(f);
    if (SensitivityDbfs)
        db += CalibratorReferenceDbSpl - *SensitivityDbfs;
    return db;
}

QString TDirectivityResult::CalibrationText() const
{
    QStringList parts;
    if (MicCal) {
        QString file
            = QStringLiteral("plik \u201E%1\u201D").arg(QFileInfo(MicCal->Path()).fileName());
        if (const std::optional<double> sens = MicCal->SensFactorDb())
            file += QStringLiteral(" (Sens Factor %1 dB)").arg(*sens, 0, 'f', 3);
        parts << file;
    }
    if (SensitivityDbfs)
        parts << QStringLiteral("czułość %1 dBFS przy 94 dB SPL").arg(*SensitivityDbfs, 0, 'f', 2);
    return parts.join(QStringLiteral(", "));
}

double TDirectivityResult::LevelDb(int frame, double f, int smoothing) const
{
    if (smoothing <= 0)
        return PowerToDb(std::norm(Response(frame, f)));
    // Power mean over the band f·2^(±1/2N), at points evenly spread in log frequency.
    const double half = 0.5 / smoothing;
    const double bandHz = f * (std::exp2(half) - std::exp2(-half));
    const int points
        = std::clamp(int(std::ceil(SmoothingPointsPerStep * bandHz * GateMs() / 1000.0)),
                     FewestSmoothingPoints, MostSmoothingPoints);
    double power = 0.0;
    for (int k = 0; k < points; ++k) {
        const double octave = -half + (k + 0.5) * (2.0 * half / points);
        power += std::norm(Response(frame, f * std::exp2(octave)));
    }
    return PowerToDb(power / points);
}

std::vector<TFrequencyPoint>
TDirectivityResult::Spectrum(int frame, const std::vector<double> &frequencies, int smoothing) const
{
    std::vector<TFrequencyPoint> points;
    points.reserve(frequencies.size());
    for (double f : frequencies) {
        const std::complex<double> h = Response(frame, f);
        TFrequencyPoint p;
        p.FrequencyHz = f;
        p.LevelDb = smoothing > 0 ? LevelDb(frame, f, smoothing) : PowerToDb(std::norm(h));
        p.PhaseDeg = std::arg(h) * 180.0 / Pi;
        points.push_back(p);
    }
    return points;
}

namespace {

// frameDeg − angleDeg on the circle, degrees in (−180, 180].
double SignedDistance(double frameDeg, double angleDeg)
{
    double d = std::fmod(frameDeg - angleDeg, 360.0);
    if (d <= -180.0)
        d += 360.0;
    else if (d > 180.0)
        d -= 360.0;
    return d;
}

} // namespace

std::optional<TDirectivityResult::TAngleSource>
TDirectivityResult::SourceAt(double angleDeg, double reachDeg, double edgeReachDeg) const
{
    TAngleSource s;
    double below = -reachDeg - 1.0, above = reachDeg + 1.0;
    for (int i = 0; i < FrameCount(); ++i) {
        const double d = SignedDistance(FrameAnglesDeg[size_t(i)], angleDeg);
        if (d <= 0 && d > below) {
            below = d;
            s.Below = i;
        }
        if (d >= 0 && d < above) {
            above = d;
            s.Above = i;
        }
    }
    const bool hasBelow = s.Below >= 0 && below >= -reachDeg;
    const bool hasAbove = s.Above >= 0 && above <= reachDeg;
    if (hasBelow && hasAbove) {
        s.AboveShare = above - below > 0 ? -below / (above - below) : 0.0;
        return s;
    }
    if (hasBelow && below >= -edgeReachDeg)
        return TAngleSource { s.Below, s.Below, 0.0 };
    if (hasAbove && above <= edgeReachDeg)
        return TAngleSource { s.Above, s.Above, 0.0 };
    return std::nullopt;
}

std::vector<TFrequencyPoint> TDirectivityResult::SpectrumAt(const TAngleSource &source,
                                                            const std::vector<double> &frequencies,
                                                            int smoothing) const
{
    std::vector<TFrequencyPoint> points = Spectrum(source.Below, frequencies, smoothing);
    if (source.Above == source.Below || source.AboveShare <= 0.0)
        return points;
    const std::vector<TFrequencyPoint> upper = Spectrum(source.Above, frequencies, smoothing);
    const double share = source.AboveShare;
    for (size_t k = 0; k < points.size(); ++k) {
        TFrequencyPoint &p = points[k];
        p.LevelDb += share * (upper[k].LevelDb - p.LevelDb);
        const double turn = SignedDistance(upper[k].PhaseDeg, p.PhaseDeg); // the shorter way
        p.PhaseDeg = SignedDistance(p.PhaseDeg + share * turn, 0.0);
    }
    return points;
}

std::vector<double> TDirectivityResult::LogFrequencies(double from, double to, int perOctave)
{
    std::vector<double> result;
    if (!(from > 0) || !(to >= from) || perOctave <= 0)
        return result;
    const int steps = int(std::floor(std::log2(to / from) * perOctave + 1e-9));
    for (int i = 0; i <= steps; ++i)
        result.push_back(from * std::exp2(double(i) / perOctave));
    if (result.back() < to * (1.0 - 1e-9))
        result.push_back(to);
    return result;
}

TDirectivityGrid TDirectivityResult::Grid(double angleStepDeg, int perOctave, int smoothing) const
{
    TDirectivityGrid grid;
    const int reference = ReferenceFrame();
    if (reference < 0 || !(angleStepDeg > 0))
        return grid;
    const double top = std::min(MapTopHz, 0.45 * SampleRate);
    const double bottom = std::max(MapBottomHz, LowestReliableHz());
    grid.FrequenciesHz = LogFrequencies(bottom, top, perOctave);
    const int columns = int(std::floor(360.0 / angleStepDeg + 1e-9)) + 1;
    for (int c = 0; c < columns; ++c)
        grid.AnglesDeg.push_back(-180.0 + c * angleStepDeg);

    // A column is measured when a frame lies within the larger of half a step and the
    // frames' own spacing.
    double spacing = 0.0;
    for (int i = 1; i < FrameCount(); ++i)
        spacing = std::max(spacing,
                           std::fabs(FrameAnglesDeg[size_t(i)] - FrameAnglesDeg[size_t(i) - 1]));
    const double reach = std::max(angleStepDeg / 2.0, spacing);
    std::vector<double> referenceDb;
    for (double f : grid.FrequenciesHz)
        referenceDb.push_back(LevelDb(reference, f, smoothing));

    const size_t rows = grid.FrequenciesHz.size();
    grid.LevelsDb.assign(rows * size_t(columns), std::numeric_limits<float>::quiet_NaN());
    for (int c = 0; c < columns; ++c) {
        const int frame = FrameAt(grid.AnglesDeg[size_t(c)], reach);
        if (frame < 0)
            continue;
        for (size_t r = 0; r < rows; ++r)
            grid.LevelsDb[r * size_t(columns) + size_t(c)]
                = float(LevelDb(frame, grid.FrequenciesHz[r], smoothing) - referenceDb[r]);
    }
    return grid;
}
