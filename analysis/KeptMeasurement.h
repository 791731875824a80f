#pragma once

#include "analysis/BroadbandOptions.h"
#include "analysis/DirectivityResult.h"
#include "analysis/MarkerLog.h"
#include "analysis/WavFile.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

// One broadband measurement of a document as it can be made again: the kept recording, the
// marker log it was analysed with (overrides of an "analyse" included), the analysis
// settings and the names of the series it produced (the level series first). Analysing it
// again gives exactly the result the measurement gave. Plain data; any one thread.
struct TKeptMeasurement
{
    Q_DECLARE_TR_FUNCTIONS(TKeptMeasurement)

public:
    // The plane the table turned in, as FRD file names carry it: "hor" or "ver" (what
    // Options.Vertical says; kept in the measurement index).
    static const QString HorizontalPlane;
    static const QString VerticalPlane;

    QString Recording; // absolute path of the WAV file
    TMarkerLog Log; // as analysed
    TBroadbandOptions Options;
    QString Name; // the measurement's (level) series name
    QStringList SeriesNames; // the level series, then one per band
    QString Plane = HorizontalPlane;
    // The plane of a measurement with these options.
    static QString PlaneOf(const TBroadbandOptions &options)
    {
        return options.Vertical ? VerticalPlane : HorizontalPlane;
    }

    // Reads the recording and analyses it with Log and Options; the result carries Name.
    // std::nullopt with the user's message (Polish, naming the file) in *error.
    std::optional<TDirectivityResult> Analyse(QString *error = nullptr) const;
    // The same on the recording read already.
    std::optional<TDirectivityResult> Analyse(const TWavFile::TRecording &recording,
                                              QString *error = nullptr) const;
};
