#pragma once

#include "analysis/BroadbandOptions.h"
#include "analysis/DirectivityResult.h"
#include "analysis/MarkerLog.h"

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
public:
    // One period of the excitation as the generator plays it (full scale 1.0), or
    // std::nullopt with the user's message in *error.
    static std::optional<std::vector<double>>
    Excitation(const TMarkerLog &log, const std::vector<double> &bands, QString *error = nullptr);

    // Called with 0..100 now and then; returning true stops the analysis (no result).
    using TProgress = std::function<bool(int percent)>;

    // 16-bit samples as the analysis takes them, full scale 1.0.
    static std::vector<float> FullScale(const std::vector<qint16> &samples);

    // Analyses `count` recorded samples (full scale 1.0). std::nullopt with a message in
    // *error when the signal cannot be analysed or the recording holds no usable frame.
    static std::optional<TDirectivityResult> Analyse(const float *samples, qint64 count,
                                                     const TMarkerLog &log,
                                                     const TBroadbandOptions &options,
                                                     QString *error = nullptr,
                                                     const TProgress &progress = {});

    // The band levels of every frame, each band normalised to 0 dB at the reference frame:
    // bands × frames, dB.
    static std::vector<std::vector<double>> BandLevels(const TDirectivityResult &result,
                                                       const TBroadbandOptions &options);
    // Adds one series per band to chart after its last one, named "<name> <f> Hz", in the
    // frames' angles. Returns the new series (owned by chart).
    static std::vector<TSeries *> AddBandSeries(TPolarGraph &chart,
                                                const TDirectivityResult &result,
                                                const TBroadbandOptions &options);
    // "1000" or "12.5": a band's frequency as series names and messages show it.
    static QString BandName(double hz);
};
