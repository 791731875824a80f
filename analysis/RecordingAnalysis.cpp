#include "analysis/RecordingAnalysis.h"

#include "analysis/BroadbandAnalysis.h"
#include "analysis/WavFile.h"
#include "chart/Series.h"
#include "measurement/LevelComputation.h"

std::optional<TRecordingAnalysis::TOutcome> TRecordingAnalysis::AddTo(TPolarGraph &chart,
                                                                      TKeptMeasurement measurement,
                                                                      quint32 color, int blockBytes,
                                                                      QString *error)
{
    const std::optional<TWavFile::TRecording> recording
        = TWavFile::Read(measurement.Recording, error);
    if (!recording)
        return std::nullopt;
    return AddTo(chart, std::move(measurement), *recording, color, blockBytes, error);
}

std::optional<TRecordingAnalysis::TOutcome>
TRecordingAnalysis::AddTo(TPolarGraph &chart, TKeptMeasurement measurement,
                          const TWavFile::TRecording &recording, quint32 color, int blockBytes,
                          QString *error)
{
    // A recording that gives no level series gives no measurement at all.
    const std::vector<double> levels
        = TLevelComputation::LevelsOfSamples(recording.Samples, blockBytes);
    if (const QString refusal = TLevelComputation::MeasurementRefusal(levels); !refusal.isEmpty()) {
        if (error)
            *error = refusal;
        return std::nullopt;
    }
    std::optional<TDirectivityResult> result = measurement.Analyse(recording, error);
    if (!result)
        return std::nullopt;

    TOutcome outcome;
    // The level series first, as a measurement adds it; a recording that ended early spreads
    // its levels over the angles it covers, as its band series do.
    TMarkerLog covered = measurement.Log;
    covered.RecordedSamples = qint64(recording.Samples.size());
    const std::optional<int> earlyEnd = covered.EarlyEndDeg();
    if (earlyEnd)
        result->Warnings << TLevelComputation::EarlyEndWarning(*earlyEnd, covered.StopDeg);
    outcome.Level = TLevelComputation::AddMeasuredSeries(chart, measurement.Name, color, levels,
                                                         covered.StartDeg,
                                                         earlyEnd.value_or(covered.StopDeg));
    outcome.Bands = TBroadbandAnalysis::AddBandSeries(chart, *result, measurement.Options);
    measurement.SeriesNames = QStringList { outcome.Level->Name };
    for (const TSeries *band : outcome.Bands)
        measurement.SeriesNames << band->Name;
    measurement.Log.RecordedSamples = qint64(recording.Samples.size());
    outcome.Kept = std::move(measurement);
    outcome.Result = std::make_shared<const TDirectivityResult>(std::move(*result));
    return outcome;
}
