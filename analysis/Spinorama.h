#pragma once

#include "analysis/DirectivityResult.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The ANSI/CTA-2034-A curves ("spinorama") of a loudspeaker from one horizontal and one vertical
// broadband turn. Each plane's response is taken at exactly 0°, ±10°, … 180°, its level in dB
// interpolated linearly in angle between the two frames around that angle; averages are of
// pressure squared (p² = 10^(dB/10)). Levels are absolute (each frame's own level, not relative to
// 0°). In the vertical plane +θ means the microphone θ above the loudspeaker's axis.
//
// Immutable once made; any thread may read. Compute() runs on the caller's thread and touches no
// Qt object beyond the strings of its message.
class TSpinorama
{
    Q_DECLARE_TR_FUNCTIONS(TSpinorama)

public:
    enum TCurve {
        OnAxis,
        ListeningWindow,
        EarlyReflections,
        SoundPower,
        EstimatedInRoom,
        EarlyReflectionsDi,
        SoundPowerDi,
        // The five parts whose mean is Early Reflections.
        FloorBounce,
        CeilingBounce,
        FrontWallBounce,
        SideWallBounce,
        RearWallBounce,
        CurveCount
    };
    // The curves the CSV export and the chart's legend carry, in their order.
    static constexpr int MainCurveCount = SoundPowerDi + 1;

    // 1/20 octave from 20 Hz to 20 kHz, Hz.
    std::vector<double> FrequenciesHz;
    // Per curve, one level per frequency, dB (the DIs are differences, dB). NaN where the
    // frequency is not measured: below 1 / gate of either turn, or at or above Nyquist.
    std::array<std::vector<double>, CurveCount> CurvesDb;
    // The larger of the two turns' lowest reliable frequencies (1 / gate), Hz.
    double LowestMeasuredHz = 0.0;

    // The spin of two turns; smoothing N > 0 takes each frame's level as the power mean over
    // 1/N octave (as TDirectivityResult::LevelDb), 0 none. std::nullopt with a Polish message in
    // *error when the turns are at different sample rates or a plane has no frames near one
    // of its angles −170° … 180°.
    static std::optional<TSpinorama> Compute(const TDirectivityResult &horizontal,
                                             const TDirectivityResult &vertical, int smoothing = 0,
                                             QString *error = nullptr);

    // The frames a plane's response at angleDeg comes from, for the spin and every export
    // made beside it (both sides within 5°, or a turn's end frame within 0.5°).
    static std::optional<TDirectivityResult::TAngleSource>
    SourceOf(const TDirectivityResult &result, int angleDeg);
    // The frequencies at which the curves were measured (the rows without NaN), Hz.
    std::vector<double> MeasuredFrequenciesHz() const;

    // The standard's Sound Power weight of a response at angleDeg from the axis (any sign, any
    // turn; multiples of 10°), 0 for other angles.
    static double SoundPowerWeight(int angleDeg);

    // "Eksportuj krzywe CTA-2034…": the header line, then one row per frequency with the seven
    // main curves in dB, '.' decimals whatever the locale, empty fields where not measured; every
    // line ends in "\n".
    static QString CsvText(const TSpinorama &spin);
};
