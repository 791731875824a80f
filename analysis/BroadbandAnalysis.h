#pragma once

#include "analysis/BroadbandOptions.h"
#include "analysis/DirectivityResult.h"
#include "analysis/MarkerLog.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TPolarGraph;
class TSeries;

// Broadband directivity from one continuous turn. The excitation (one period of a signal
// that repeats every generator block) is made again by the program's generator, so it is
// known exactly. Frames of one period hop along the recording a quarter period apart; each
// is deconvolved by circular spectral division with the excitation period (regularised where
// the excitation is weak). With each frame's own start taken out, the unknown card latency
// is one circular shift, found once from the direct-sound peak of the reference frame. The
// response is gated around the direct sound: opened 0.5 ms before the peak and closed, with a
// short fade, before the first reflection (automatic) or after the asked length. The angle of
// each frame comes from the marker log.
//
// Headless; one thread. FFTW plans are made once per analysis.
class TBroadbandAnalysis
{
    Q_DECLARE_TR_FUNCTIONS(TBroadbandAnalysis)

public:
    // The longest excitation period the analysis takes (the generator's longest MLS),
    // samples; a generator block longer than this cannot be analysed.
    static constexpr int LongestPeriod = 16384;

    // One period of the excitation as the generator plays it (full scale 1.0), or
    // std::nullopt with the user's message in *error.
    static std::optional<std::vector<double>>
    Excitation(const TMarkerLog &log, const std::vector<double> &bands, QString *error = nullptr);

    // Called with 0..100 now and then; returning true stops the analysis (no result).
    using TProgress = std::function<bool(int percent)>;

    // 16-bit samples as the analysis takes them, full scale 1.0.
    static std::vector<float> FullScale(const std::vector<qint16> &samples);

    // Analyses `count` recorded samples (full scale 1.0). std::nullopt with a message in
    // *error when the signal cannot be analysed, a band lies at or above half the sample
    // rate, a marker lies beyond the recording or the recording holds fewer than two usable
    // frames.
    static std::optional<TDirectivityResult> Analyse(const float *samples, qint64 count,
                                                     const TMarkerLog &log,
                                                     const TBroadbandOptions &options,
                                                     QString *error = nullptr,
                                                     const TProgress &progress = {});
    // The same on 16-bit samples, scaled frame by frame (no full-scale copy of the recording).
    static std::optional<TDirectivityResult> Analyse(const std::vector<qint16> &samples,
                                                     const TMarkerLog &log,
                                                     const TBroadbandOptions &options,
                                                     QString *error = nullptr,
                                                     const TProgress &progress = {});

    // The band levels of every frame, each band normalised to 0 dB at the reference frame:
    // bands × frames, dB.
    static std::vector<std::vector<double>> BandLevels(const TDirectivityResult &result,
                                                       const TBroadbandOptions &options);
    // Adds one series per band to chart after its last one, named "<name> <f> Hz", in the
    // frames' angles, each in the next TBandPalette colour beside every series colour the
    // chart holds by then. Returns the new series (owned by chart).
    static std::vector<TSeries *> AddBandSeries(TPolarGraph &chart,
                                                const TDirectivityResult &result,
                                                const TBroadbandOptions &options);
    // "1000" or "12.5": a band's frequency as series names and messages show it.
    static QString BandName(double hz);

private:
    // Fills out with the length samples from start on (full scale 1.0); start >= 0 and
    // start + length <= count.
    using TFrameReader = std::function<void(qint64 start, int length, float *out)>;
    static std::optional<TDirectivityResult>
    AnalyseFrames(qint64 count, const TFrameReader &read, const TMarkerLog &log,
                  const TBroadbandOptions &options, QString *error, const TProgress &progress);
    // The options' calibration into result: its file read (a file that cannot be read leaves
    // the responses uncorrected, said in CalibrationProblem and the warnings).
    static void Calibrate(TDirectivityResult &result, const TBroadbandOptions &options);
};
