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
    std::optional<TDirectivityResult> result = measurement.Analyse(recording, error);
    if (!result)
        return std::nullopt;

    TOutcome outcome;
    // The level series first, as a measurement adds it.
    const std::vector<double> levels
        = TLevelComputation::LevelsOfBytes(reinterpret_cast<const char *>(recording.Samples.data()),
                                           qint64(recording.Samples.size()) * 2, blockBytes);
    outcome.Level = TLevelComputation::AddMeasuredSeries(
        chart, measurement.Name, color, levels, measurement.Log.StartDeg, measurement.Log.StopDeg);
    outcome.Bands = TBroadbandAnalysis::AddBandSeries(chart, *result, measurement.Options);
    measurement.SeriesNames = QStringList { outcome.Level->Name };
    for (const TSeries *band : outcome.Bands)
        measurement.SeriesNames << band->Name;
    measurement.Log.RecordedSamples = qint64(recording.Samples.size());
    outcome.Kept = std::move(measurement);
    outcome.Result = std::make_shared<const TDirectivityResult>(std::move(*result));
    return outcome;
}
