#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

class TLoopbackBus;

// The loudspeaker and room of the simulated rig, as the loopback's transform: what the
// outputs play becomes what the microphone hears. The loudspeaker is a rigid piston in the far
// field turned by the table, front and back alike:
// - circular (radius a): at angle θ its response at frequency f is 2·J1(ka·sinθ)/(ka·sinθ),
//   k = 2πf/c, real and changing sign beyond each null. Its impulse response is the disc
//   projected on the direction of sound, a half-ellipse 2a·sinθ/c wide;
// - rectangular (width × height): along the plane the turn sweeps it acts as a line source of
//   that dimension L, response sinc(kL/2·sinθ) = sin(x)/x; its impulse response is a box of
//   unit area L·|sinθ|/c long.
// Either way the filter is a short FIR: that shape band-limited by a windowed sinc,
// precomputed over |sinθ| and interpolated between neighbouring entries sample by sample as
// the table turns. All angles share one fixed delay (FixedDelaySamples), on axis
// the filter passes the sound unchanged.
//
// On top: a level drop for the distance, the latency of a sound card, an optional noise
// floor and an optional side-wall reflection that leaves the loudspeaker at θ + 90°.
//
// The filter keeps its history across consecutive stretches; a stretch that does not follow
// the previous one (a recording started anew) starts from silence. GUI thread only (the bus
// calls the transform there).
class TSimulatedLoudspeaker
{
public:
    enum class EShape { Circle, Rectangle };
    enum class EPlane { Horizontal, Vertical }; // which dimension of a rectangle the turn sweeps

    struct TParams
    {
        EShape Shape = EShape::Circle;
        double RadiusM = 0.1; // circular piston's radius, m (clamped to 0.001..1)
        double WidthM = 0.2; // rectangular piston's width and height, m (clamped to 0.002..2)
        double HeightM = 0.08;
        EPlane Plane = EPlane::Horizontal;
        double DistanceDropDb = 12.0; // level drop of the direct sound, dB
        double LatencyMs = 10.0; // output -> input, ms (clamped to 0..2000)
        bool Noise = true; // white noise floor on the input
        double NoiseDbfs = -90.0; // its RMS, dB relative to full scale (1.0)
        quint32 NoiseSeed = 1; // the noise repeats for the same seed
        bool Reflection = false; // one reflection from a side wall
        double ReflectionMs = 5.0; // its delay after the direct sound, ms (clamped to 0..1000)
        double ReflectionDb = -6.0; // its level relative to the direct sound, dB
    };

    // Angle of the table in degrees at clock time `ms` (fractional), e.g. the simulated
    // controller's TrueAngleAt on the same clock as the bus.
    using TAngleSource = std::function<double(double ms)>;

    static constexpr double SpeedOfSound = 343.0; // m/s

    explicit TSimulatedLoudspeaker(TAngleSource angle = {});
    TSimulatedLoudspeaker(TAngleSource angle, const TParams &params);
    // Takes the transform off the bus it was installed on.
    ~TSimulatedLoudspeaker();

    TSimulatedLoudspeaker(const TSimulatedLoudspeaker &) = delete;
    TSimulatedLoudspeaker &operator=(const TSimulatedLoudspeaker &) = delete;

    // No source: the table stands at 0°.
    void SetAngleSource(TAngleSource angle) { m_angle = std::move(angle); }
    // Takes effect at once; the history starts from silence and the noise from its seed.
    void SetParams(const TParams &params);
    const TParams &Params() const { return m_params; }

    // An angle source that reads the simulated controller alive at each call (0° when there
    // is none), so the controller may be created and destroyed while this is installed.
    static TAngleSource SimulatedControllerAngle();
    // The same for the emulated Grbl board's true machine X (TGrblEmulator::Instance()).
    static TAngleSource GrblEmulatorAngle();

    // Becomes `bus`'s transform (replacing any other) until Uninstall or destruction; the
    // bus keeps a pointer to this object, which must outlive the installation.
    void Install(TLoopbackBus &bus);
    void Uninstall();

    // In place: `count` samples at `rate` Hz as played, the first at input position
    // `position`, clock time `firstMs` (the others follow at 1000/rate ms each) become what
    // the microphone hears. Full scale is 1.0. The angle is θ at each sample's own time (the
    // source is read every 16 samples and interpolated linearly in between).
    void Process(float *samples, int count, int rate, qint64 position, double firstMs);

    // The delay every angle shares, samples at `rate`, and the latency, samples at `rate`;
    // an impulse played arrives their sum later.
    int FixedDelaySamples(int rate) const;
    int LatencySamples(int rate) const;

    // The analytic response 2·J1(x)/x, x = 2πf·a·sinθ/c: f in Hz, radius in m, θ in degrees.
    static double PistonResponse(double f, double radiusM, double thetaDeg);
    // The analytic response sin(x)/x, x = πf·L·sinθ/c, of a line source L metres long.
    static double LineResponse(double f, double lengthM, double thetaDeg);
    // Half the projected extent the turn sweeps, m: the radius, or half the swept side.
    double HalfExtentM() const;

private:
    // One precomputed filter per |sinθ| = Row / (rows - 1): its right half (centre first;
    // the filter is symmetric) and how many of those taps are not zero.
    struct TTable
    {
        int Rate = 0;
        EShape Shape = EShape::Circle;
        double HalfExtentM = 0.0;
        int Centre = 0; // taps each side of the centre, the fixed delay in samples
        int Stride = 0; // floats per row
        int Rows = 0;
        std::vector<float> Taps;
        std::vector<int> Extent; // taps right of the centre that matter, per row
    };

    void Prepare(int rate);
    void ResetHistory();
    void BuildTable(int rate);
    float FilterAt(const float *centre, double row) const;
    float NextNoise();
    void ProcessChunk(float *samples, int count, double firstMs, double msPerSample);
    double RowAt(double ms, double offsetDeg) const;

    TAngleSource m_angle;
    TParams m_params;
    TTable m_table;
    TLoopbackBus *m_bus = nullptr; // installed on, not owned
    std::vector<float> m_history; // played samples, twice over so any window is contiguous
    qint64 m_written = 0; // samples written into m_history since the last reset
    qint64 m_nextPosition = -1; // position that continues the last stretch
    int m_latency = 0; // samples
    int m_reflectionDelay = 0; // samples
    float m_gain = 1.0f; // of the direct sound
    float m_reflectionGain = 0.0f;
    float m_noiseAmplitude = 0.0f; // of each of the two uniform parts of the noise
    quint32 m_noiseState = 1;
};
