#pragma once

#include "analysis/DirectivityGrid.h"
#include "analysis/FrequencyPoint.h"

#include <QString>
#include <QStringList>

class TMicCalibration;

#include <complex>
#include <memory>
#include <optional>
#include <vector>

// What one broadband analysis found: for each frame of the recording the table's angle and
// the gated impulse response of loudspeaker and room, from which the response at any
// frequency follows. Time zero of every response is the direct-sound peak of the reference
// frame, so phases of different angles compare. Immutable once made; any thread may read.
class TDirectivityResult
{
public:
    QString Name; // the measurement's series name
    int SampleRate = 0; // Hz
    int StartDeg = 0; // the turned range, degrees as the chart has them
    int StopDeg = 360;
    int PeriodSamples = 0; // of the excitation
    double GateOpenMs = 0.0; // gate start relative to the direct-sound peak (negative), ms
    double GateCloseMs = 0.0; // where the gate's fade ends, ms after the peak
    bool AutomaticGate = true;
    bool Vertical = false; // the turn swept the vertical plane (TBroadbandOptions::Vertical)
    // The calibration every response carries (see CalibrationDb): the microphone's file as
    // read (nullptr: none) and the input's sensitivity, dB FS at 94 dB SPL.
    std::shared_ptr<const TMicCalibration> MicCal;
    std::optional<double> SensitivityDbfs;
    // Why the calibration asked for is not applied (the file could not be read), Polish; empty
    // when it is.
    QString CalibrationProblem;
    double DegreesPerPeriod = 0.0; // the table's turn during one excitation period
    QStringList Warnings; // for the user, Polish
    // Normal findings the user may like to know (Polish): a line of status, never a warning.
    QStringList Notes;

    // Frames, in recording order.
    std::vector<double> FrameAnglesDeg; // at the frame's centre, StartDeg .. StopDeg
    int GateLength = 0; // taps of each gated response
    int GateFirstTap = 0; // sample offset of tap 0 relative to the peak (negative)
    std::vector<float> Responses; // FrameCount() × GateLength, window applied

    int FrameCount() const { return int(FrameAnglesDeg.size()); }
    // The gate's length, ms, and the lowest frequency it resolves (1 / length).
    double GateMs() const { return GateCloseMs - GateOpenMs; }
    double LowestReliableHz() const;
    // The frame whose angle is nearest 0° (the first of equals), -1 without frames.
    int ReferenceFrame() const;
    // The frame nearest `angleDeg` (any turn: -170 and 190 are the same angle) within
    // maxDistanceDeg, or -1.
    int FrameAt(double angleDeg, double maxDistanceDeg) const;

    // Where the response at an angle comes from: the frames on either side of it (the same
    // frame twice when one lies on the angle) and the share of the upper one, for a level in
    // dB and a phase interpolated linearly in angle between them.
    struct TAngleSource
    {
        int Below = -1;
        int Above = -1;
        double AboveShare = 0.0;
    };
    // The frames around angleDeg (any turn), each within reachDeg of it; at a turn's end,
    // where one side has none, the nearest frame when within edgeReachDeg. std::nullopt when
    // the angle was not measured.
    std::optional<TAngleSource> SourceAt(double angleDeg, double reachDeg,
                                         double edgeReachDeg) const;
    // The spectrum at angleDeg from SourceAt's frames: level (dB, smoothed when asked)
    // and phase (degrees, along the shorter way between the two) interpolated in angle.
    std::vector<TFrequencyPoint> SpectrumAt(const TAngleSource &source,
                                            const std::vector<double> &frequencies,
                                            int smoothing = 0) const;

    // What the calibration adds to a measured level at f Hz, dB: minus the microphone's
    // response, and 94 − sensitivity when there is one (the levels are then dB SPL of a
    // full-scale excitation); 0 without a calibration.
    double CalibrationDb(double f) const;
    // "plik „mic.txt” (Sens Factor −1.4 dB), czułość −35.0 dBFS przy 94 dB SPL", or empty
    // without a calibration: what the FRD files say they were made with.
    QString CalibrationText() const;

    // The response of one frame at f Hz (time zero at the reference peak), calibrated.
    std::complex<double> Response(int frame, double f) const;
    // Its level, dB; with smoothing N > 0 the power mean over 1/N octave around f.
    double LevelDb(int frame, double f, int smoothing = 0) const;
    // Level (dB, smoothed when asked) and phase (degrees) at each frequency.
    std::vector<TFrequencyPoint> Spectrum(int frame, const std::vector<double> &frequencies,
                                          int smoothing = 0) const;

    // Log-spaced frequencies from `from` to `to` Hz (both included), perOctave per octave.
    static std::vector<double> LogFrequencies(double from, double to, int perOctave);
    // The map: angles -180 .. 180 every angleStepDeg, frequencies from LowestReliableHz()
    // (at least 20 Hz) to 20 kHz (below Nyquist), perOctave per octave, levels relative to
    // the reference frame.
    TDirectivityGrid Grid(double angleStepDeg = 1.0, int perOctave = 24, int smoothing = 0) const;

private:
    const float *Taps(int frame) const { return &Responses[size_t(frame) * size_t(GateLength)]; }
};
