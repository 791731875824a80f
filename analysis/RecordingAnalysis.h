#pragma once

#include "analysis/DirectivityResult.h"
#include "analysis/KeptMeasurement.h"
#include "analysis/WavFile.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class TPolarGraph;
class TSeries;

// A kept recording analysed again into a chart, as a measurement would have added it: the
// level series (one level per block of the recording, spread over the log's range and 0 dB
// at 0°), then one series per band of the broadband analysis. Used by "Analizuj nagranie…"
// and orvi-cli analyse. GUI thread (it changes the chart).
class TRecordingAnalysis
{
public:
    struct TOutcome
    {
        std::shared_ptr<const TDirectivityResult> Result;
        TSeries *Level = nullptr; // owned by the chart
        std::vector<TSeries *> Bands; // owned by the chart, in band order
        TKeptMeasurement Kept; // the measurement with the names of its series
    };

    // measurement names the WAV (its marker log, with any overrides, in Log), the options
    // and the level series' name. blockBytes: bytes of recording per level (RMSBuffNumber).
    // Nothing is added when the analysis fails: std::nullopt with the user's message.
    static std::optional<TOutcome> AddTo(TPolarGraph &chart, TKeptMeasurement measurement,
                                         quint32 color, int blockBytes, QString *error = nullptr);
    // The same on the recording read already.
    static std::optional<TOutcome> AddTo(TPolarGraph &chart, TKeptMeasurement measurement,
                                         const TWavFile::TRecording &recording, quint32 color,
                                         int blockBytes, QString *error = nullptr);
};
