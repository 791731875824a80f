#include "audio/SimulatedLoudspeaker.h"

#include "audio/LoopbackBus.h"
#include "turntable/GrblEmulator.h"
#include "turntable/SimulatedController.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Half-width of the band-limiting kernel, samples. A Blackman-windowed sinc of this size is
// flat within about 0.002 dB up to 0.4 of the sample rate.
constexpr int KernelHalfWidth = 16;
// Rows of the table per sample of the widest half-ellipse's half-width: fine enough that
// interpolating between rows stays far below 0.01 dB up to several kHz.
constexpr int RowsPerSample = 64;
// Longest stretch filtered at once, samples; the history holds it plus the delays.
constexpr int ChunkSamples = 4096;
// Samples between two readings of the angle source. The table turns at most a few degrees
// per second, so the angle in between is interpolated linearly.
constexpr int AngleStep = 16;

constexpr double Pi = std::numbers::pi;

double DbToGain(double db)
{
    return std::pow(10.0, db / 20.0);
}

// The windowed sinc that band-limits the half-ellipse: 1 at 0, 0 at the other integers, so
// the on-axis filter is a pure delay. t in samples.
double Kernel(double t)
{
    const double x = std::abs(t);
    if (x >= KernelHalfWidth)
        return 0.0;
    const double c = std::cos(Pi * x / KernelHalfWidth);
    const double window = 0.42 + 0.5 * c + 0.08 * (2.0 * c * c - 1.0);
    const double sinc = x < 1e-12 ? 1.0 : std::sin(Pi * x) / (Pi * x);
    return sinc * window;
}

// Right half of the half-ellipse of half-width `halfWidth` samples and unit area, band-limited
// by Kernel, into taps[0..extent]. With τ = R·cosφ the half-ellipse becomes (2/π)·sin²φ dφ
// over [0, π], smooth and periodic, where the midpoint rule converges fast.
void HalfEllipseTaps(double halfWidth, int extent, float *taps)
{
    if (halfWidth < 1e-9) {
        taps[0] = 1.0f;
        return;
    }
    const int points = int(std::ceil(Pi * halfWidth)) + 16;
    std::vector<double> sum(size_t(extent) + 1, 0.0);
    for (int m = 0; m < points; ++m) {
        const double phi = (m + 0.5) * Pi / points;
        const double s = std::sin(phi);
        const double weight = 2.0 * s * s / points;
        const double tau = halfWidth * std::cos(phi);
        for (int j = 0; j <= extent; ++j)
            sum[size_t(j)] += weight * Kernel(j - tau);
    }
    for (int j = 0; j <= extent; ++j)
        taps[j] = float(sum[size_t(j)]);
}

// The same for a box of half-width `halfWidth` samples and unit area: the mean of Kernel over
// the box, by the midpoint rule at eight points a sample (the kernel is smooth).
void BoxTaps(double halfWidth, int extent, float *taps)
{
    if (halfWidth < 1e-9) {
        taps[0] = 1.0f;
        return;
    }
    const int points = int(std::ceil(16.0 * halfWidth)) + 16;
    for (int j = 0; j <= extent; ++j) {
        double sum = 0.0;
        for (int m = 0; m < points; ++m)
            sum += Kernel(j - halfWidth * (2.0 * (m + 0.5) / points - 1.0));
        taps[j] = float(sum / points);
    }
}

} // namespace

TSimulatedLoudspeaker::TSimulatedLoudspeaker(TAngleSource angle)
    : TSimulatedLoudspeaker(std::move(angle), TParams {})
{ }

TSimulatedLoudspeaker::TSimulatedLoudspeaker(TAngleSource angle, const TParams &params)
    : m_angle(std::move(angle))
{
    SetParams(params);
}

TSimulatedLoudspeaker::~TSimulatedLoudspeaker()
{
    Uninstall();
}

void TSimulatedLoudspeaker::SetParams(const TParams &params)
{
    m_params = params;
    m_params.RadiusM = std::clamp(params.RadiusM, 0.001, 1.0);
    m_params.WidthM = std::clamp(params.WidthM, 0.002, 2.0);
    m_params.HeightM = std::clamp(params.HeightM, 0.002, 2.0);
    m_params.LatencyMs = std::clamp(params.LatencyMs, 0.0, 2000.0);
    m_params.ReflectionMs = std::clamp(params.ReflectionMs, 0.0, 1000.0);
    m_gain = float(DbToGain(-m_params.DistanceDropDb));
    m_reflectionGain = m_params.Reflection
        ? float(DbToGain(-m_params.DistanceDropDb + m_params.ReflectionDb))
        : 0.0f;
    // Two uniform parts in [-a, a) add to a triangular noise of RMS a·sqrt(2/3).
    m_noiseAmplitude = m_params.Noise ? float(DbToGain(m_params.NoiseDbfs) * std::sqrt(1.5)) : 0.0f;
    m_noiseState = m_params.NoiseSeed != 0 ? m_params.NoiseSeed : 1u;
    if (m_table.Rate > 0)
        Prepare(m_table.Rate);
}

TSimulatedLoudspeaker::TAngleSource TSimulatedLoudspeaker::SimulatedControllerAngle()
{
    return [](double ms) {
        TSimulatedController *controller = TSimulatedController::Instance();
        return controller ? controller->TrueAngleAt(ms) : 0.0;
    };
}

TSimulatedLoudspeaker::TAngleSource TSimulatedLoudspeaker::GrblEmulatorAngle()
{
    return [](double ms) {
        TGrblEmulator *board = TGrblEmulator::Instance();
        return board ? board->MachineXAt(ms) : 0.0;
    };
}

void TSimulatedLoudspeaker::Install(TLoopbackBus &bus)
{
    Uninstall();
    m_bus = &bus;
    m_nextPosition = -1;
    bus.SetTransform([this, &bus](float *samples, int count, int rate, qint64 position) {
        Process(samples, count, rate, position, bus.TimeMsAt(position, rate));
    });
}

void TSimulatedLoudspeaker::Uninstall()
{
    if (!m_bus)
        return;
    m_bus->ClearTransform();
    m_bus = nullptr;
}

int TSimulatedLoudspeaker::FixedDelaySamples(int rate) const
{
    return KernelHalfWidth + int(std::ceil(HalfExtentM() / SpeedOfSound * rate));
}

double TSimulatedLoudspeaker::HalfExtentM() const
{
    if (m_params.Shape == EShape::Circle)
        return m_params.RadiusM;
    return (m_params.Plane == EPlane::Horizontal ? m_params.WidthM : m_params.HeightM) / 2.0;
}

int TSimulatedLoudspeaker::LatencySamples(int rate) const
{
    return int(std::lround(m_params.LatencyMs * rate / 1000.0));
}

double TSimulatedLoudspeaker::PistonResponse(double f, double radiusM, double thetaDeg)
{
    const double x
        = std::abs(2.0 * Pi * f * radiusM * std::sin(thetaDeg * Pi / 180.0) / SpeedOfSound);
    if (x < 1e-6)
        return 1.0 - x * x / 8.0;
    return 2.0 * std::cyl_bessel_j(1.0, x) / x;
}

double TSimulatedLoudspeaker::LineResponse(double f, double lengthM, double thetaDeg)
{
    const double x = Pi * f * lengthM * std::sin(thetaDeg * Pi / 180.0) / SpeedOfSound;
    if (std::abs(x) < 1e-6)
        return 1.0 - x * x / 6.0;
    return std::sin(x) / x;
}

void TSimulatedLoudspeaker::BuildTable(int rate)
{
    TTable &t = m_table;
    const double widest = HalfExtentM() / SpeedOfSound * rate; // half-width at sinθ = 1
    t.Rate = rate;
    t.Shape = m_params.Shape;
    t.HalfExtentM = HalfExtentM();
    t.Centre = FixedDelaySamples(rate);
    t.Stride = (t.Centre + 1 + 3) / 4 * 4;
    t.Rows = std::max(65, int(std::ceil(RowsPerSample * widest)) + 1);
    t.Taps.assign(size_t(t.Rows) * size_t(t.Stride), 0.0f);
    t.Extent.assign(size_t(t.Rows), 0);
    for (int r = 0; r < t.Rows; ++r) {
        const double halfWidth = widest * r / (t.Rows - 1);
        const int extent = std::min(t.Centre, KernelHalfWidth + int(std::ceil(halfWidth)));
        float *taps = &t.Taps[size_t(r) * size_t(t.Stride)];
        if (t.Shape == EShape::Circle)
            HalfEllipseTaps(halfWidth, extent, taps);
        else
            BoxTaps(halfWidth, extent, taps);
        taps[0] *= 0.5f; // FilterAt adds the centre sample twice
        t.Extent[size_t(r)] = extent;
    }
}

void TSimulatedLoudspeaker::Prepare(int rate)
{
    if (m_table.Rate != rate || m_table.Shape != m_params.Shape
        || m_table.HalfExtentM != HalfExtentM())
        BuildTable(rate);
    m_latency = LatencySamples(rate);
    m_reflectionDelay = int(std::lround(m_params.ReflectionMs * rate / 1000.0));
    const qint64 needed = ChunkSamples + m_latency + m_reflectionDelay + 2 * m_table.Stride + 1;
    qint64 size = 1;
    while (size < needed)
        size *= 2;
    m_history.assign(size_t(2 * size), 0.0f);
    ResetHistory();
}

void TSimulatedLoudspeaker::ResetHistory()
{
    std::fill(m_history.begin(), m_history.end(), 0.0f);
    m_written = 0;
}

float TSimulatedLoudspeaker::NextNoise()
{
    auto next = [this] {
        m_noiseState ^= m_noiseState << 13;
        m_noiseState ^= m_noiseState >> 17;
        m_noiseState ^= m_noiseState << 5;
        return float(qint32(m_noiseState)) * (1.0f / 2147483648.0f);
    };
    const float a = next();
    return (a + next()) * m_noiseAmplitude;
}

double TSimulatedLoudspeaker::RowAt(double ms, double offsetDeg) const
{
    const double theta = (m_angle ? m_angle(ms) : 0.0) + offsetDeg;
    return std::abs(std::sin(theta * Pi / 180.0)) * (m_table.Rows - 1);
}

float TSimulatedLoudspeaker::FilterAt(const float *centre, double row) const
{
    // Both neighbouring rows over the same input, then blended: the filter changes
    // smoothly with the angle.
    const int r = std::min(int(row), m_table.Rows - 2);
    const float w = float(row - r);
    const float *a = &m_table.Taps[size_t(r) * size_t(m_table.Stride)];
    const float *b = a + m_table.Stride;
    const int extent = std::max(m_table.Extent[size_t(r)], m_table.Extent[size_t(r) + 1]);
    float sa[4] = {};
    float sb[4] = {};
    for (int j = 0; j <= extent; j += 4) {
        for (int k = 0; k < 4; ++k) {
            const float pair = centre[j + k] + centre[-(j + k)];
            sa[k] += a[j + k] * pair;
            sb[k] += b[j + k] * pair;
        }
    }
    const float ya = (sa[0] + sa[1]) + (sa[2] + sa[3]);
    const float yb = (sb[0] + sb[1]) + (sb[2] + sb[3]);
    return ya + w * (yb - ya);
}

void TSimulatedLoudspeaker::ProcessChunk(float *samples, int count, double firstMs,
                                         double msPerSample)
{
    const qint64 size = qint64(m_history.size() / 2);
    const qint64 mask = size - 1;
    const qint64 start = m_written;
    for (int i = 0; i < count; ++i) {
        const size_t at = size_t((start + i) & mask);
        m_history[at] = samples[i];
        m_history[at + size_t(size)] = samples[i];
    }
    m_written += count;

    // Contiguous input around history index m: Stride samples either side are readable.
    const int stride = m_table.Stride;
    auto around = [&](qint64 m) {
        return &m_history[size_t(((m - stride) & mask) + stride)];
    };
    const bool reflection = m_reflectionGain != 0.0f;
    for (int i0 = 0; i0 < count; i0 += AngleStep) {
        const double t0 = firstMs + i0 * msPerSample;
        const double t1 = t0 + AngleStep * msPerSample;
        const double direct0 = RowAt(t0, 0.0);
        const double directStep = (RowAt(t1, 0.0) - direct0) / AngleStep;
        // The reflection leaves sideways: the piston's response at θ + 90°.
        const double side0 = reflection ? RowAt(t0, 90.0) : 0.0;
        const double sideStep = reflection ? (RowAt(t1, 90.0) - side0) / AngleStep : 0.0;
        const int end = std::min(count, i0 + AngleStep);
        for (int i = i0; i < end; ++i) {
            const qint64 m = start + i - m_latency - m_table.Centre;
            float y = m_gain * FilterAt(around(m), direct0 + (i - i0) * directStep);
            if (reflection)
                y += m_reflectionGain
                    * FilterAt(around(m - m_reflectionDelay), side0 + (i - i0) * sideStep);
            if (m_noiseAmplitude != 0.0f)
                y += NextNoise();
            samples[i] = y;
        }
    }
}

void TSimulatedLoudspeaker::Process(float *samples, int count, int rate, qint64 position,
                                    double firstMs)
{
    if (!samples || count <= 0 || rate <= 0)
        return;
    if (rate != m_table.Rate)
        Prepare(rate);
    if (position != m_nextPosition)
        ResetHistory();
    m_nextPosition = position + count;
    const double msPerSample = 1000.0 / rate;
    for (int done = 0; done < count; done += ChunkSamples) {
        const int n = std::min(ChunkSamples, count - done);
        ProcessChunk(samples + done, n, firstMs + done * msPerSample, msPerSample);
    }
}
