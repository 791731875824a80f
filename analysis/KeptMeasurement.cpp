#include "analysis/KeptMeasurement.h"

#include "analysis/BroadbandAnalysis.h"
#include "analysis/WavFile.h"

#include <QDir>

const QString TKeptMeasurement::HorizontalPlane = QStringLiteral("hor");
const QString TKeptMeasurement::VerticalPlane = QStringLiteral("ver");

std::optional<TDirectivityResult> TKeptMeasurement::Analyse(QString *error) const
{
    const std::optional<TWavFile::TRecording> recording = TWavFile::Read(Recording, error);
    if (!recording)
        return std::nullopt;
    return Analyse(*recording, error);
}

std::optional<TDirectivityResult> TKeptMeasurement::Analyse(const TWavFile::TRecording &recording,
                                                            QString *error) const
{
    if (recording.SampleRate != Log.SampleRate) {
        if (error)
            *error = tr("Nagranie \"%1\" ma częstotliwość próbkowania %2 Hz, a jego "
                        "dziennik znaczników %3 Hz.")
                         .arg(QDir::toNativeSeparators(Recording))
                         .arg(recording.SampleRate)
                         .arg(Log.SampleRate);
        return std::nullopt;
    }
    const QString refusal
        = TBroadbandOptions::SignalRefusal(Log.Signal, Log.FrequencyHz, Options.BandsHz);
    if (!refusal.isEmpty()) {
        if (error)
            *error = tr("Nagrania \"%1\" nie da się przeanalizować: %2")
                         .arg(QDir::toNativeSeparators(Recording), refusal);
        return std::nullopt;
    }
    TMarkerLog log = Log;
    log.RecordedSamples = qint64(recording.Samples.size());
    QString reason;
    std::optional<TDirectivityResult> result
        = TBroadbandAnalysis::Analyse(recording.Samples, log, Options, &reason);
    if (!result) {
        if (error)
            *error = tr("Nagrania \"%1\" nie da się przeanalizować: %2")
                         .arg(QDir::toNativeSeparators(Recording), reason);
        return std::nullopt;
    }
    result->Name = Name;
    return result;
}
