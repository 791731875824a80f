#pragma once

#include "analysis/BroadbandOptions.h"

#include <QString>

#include <optional>

class TCliPaths;
class TDirectivityResult;

// The broadband options shared by "measure" and "analyse": --bands, --plane hor|ver,
// --smoothing, --gate-ms,
// --mic-cal FILE, --sensitivity DBFS, --frd DIR, --frd-step DEG and --map OUT.png|.svg|.pdf, and
// writing what they ask for.
struct TCliBroadband
{
    static constexpr int DefaultFrdStep = 10; // degrees between FRD files
    // The smallest block of input from which one point is computed, bytes (as the options
    // dialog offers): "measure" and "analyse" refuse smaller ones.
    static constexpr int SmallestBlockBytes = 512;

    std::optional<TBroadbandOptions> Options; // set by --bands
    std::optional<int> Smoothing;
    std::optional<double> GateMs;
    std::optional<bool> Vertical; // --plane ver
    QString MicCalFile; // --mic-cal, checked by Check()
    std::optional<double> SensitivityDbfs;
    QString FrdFolder;
    std::optional<int> FrdStep;
    QString MapPath;

    // One option with its value. Returns true when a is one of these options; *error then
    // holds the reason when the value is bad (empty otherwise).
    bool Parse(const QString &a, const QString &v, QString *error);
    // After all options: the combination is sound (outputs need --bands, --frd-step needs
    // --frd, the map's extension is known). Empty, or the reason.
    QString Check();
    // The FRD folder and the map as outputs, to be checked before the run.
    void AddOutputs(TCliPaths &paths) const;
    // Writes the FRD set and the map the options ask for, printing one line for each; false
    // after printing the reason (prefix names the command: "orvi-cli measure: ").
    bool WriteOutputs(const TDirectivityResult &result, const QString &prefix) const;
    // The FRD set of result (one file per stepDeg, smoothing as TBroadbandOptions::Smoothing)
    // into folder, then the line "frd: N files in DIR"; false after printing the reason.
    static bool WriteFrd(const TDirectivityResult &result, const QString &folder, int stepDeg,
                         int smoothing, const QString &prefix);
    // The map of result (titled with its name) as path, then the line "map: PATH"; false after
    // printing the reason.
    static bool WriteMap(const TDirectivityResult &result, const QString &path,
                         const QString &prefix);
    // path ends in .png, .svg or .pdf (any case).
    static bool IsMapPath(const QString &path);
    // Empty when a generator block of bytes (16-bit samples) can be analysed; otherwise the
    // reason, naming the largest play buffer that can.
    static QString PlayBufferRefusal(int bytes);
    // The --block value as "measure" and "analyse" take it (SmallestBlockBytes .. 16 MiB), or
    // std::nullopt after *error is set.
    static std::optional<int> ParseBlock(const QString &v, QString *error);
    // Prints the analysis' warnings, then its notes, to stderr, one line each.
    static void PrintWarnings(const TDirectivityResult &result, const QString &prefix);
};
