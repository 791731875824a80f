// orvi-cli analyse: the broadband analysis of a kept recording (WAV with its marker log
// beside it) into a new document or one that exists, with the same outputs as measure.

#include "CliBroadband.h"
#include "CliCommand.h"
#include "CliKept.h"
#include "CliLoad.h"
#include "CliPaths.h"

#include "analysis/RecordingAnalysis.h"
#include "analysis/RecordingArchive.h"
#include "app/Settings.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/InOutError.h"
#include "document/OvkFile.h"
#include "measurement/MeasurementProposal.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {

constexpr char Usage[]
    = "analyse REC.wav [--range S T | --full] [--bands F1,F2,... [--plane hor|ver]] "
      "[--smoothing none|1/3|1/6|1/12|1/24] [--gate-ms MS] [--mic-cal FILE] "
      "[--sensitivity DBFS] [--frd DIR [--frd-step DEG]] "
      "[--map OUT.png|.svg|.pdf] [--signal NAME] [--freq HZ] [--amp PCT] "
      "[--play-buffer BYTES] [--block BYTES] [--name TEXT] [--into EXISTING.OvK] OUT.OvK";

struct TAnalyseArgs
{
    QString Recording;
    QString Out;
    QString Into;
    std::optional<QString> Name;
    std::optional<std::pair<int, int>> Range;
    bool Full = false;
    std::optional<QString> Signal;
    std::optional<double> Freq;
    std::optional<double> Amp;
    std::optional<int> PlayBuffer;
    int Block = 0;
    TCliBroadband Broadband;
};

int Fail(const QString &text)
{
    CliError(QStringLiteral("orvi-cli analyse: ") + text);
    return 1;
}

std::optional<double> Number(const QString &text, double minimum, double maximum)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < minimum || v > maximum)
        return std::nullopt;
    return v;
}

std::optional<int> Whole(const QString &text, int minimum, int maximum)
{
    const std::optional<double> v = Number(text, minimum, maximum);
    if (!v || *v != std::floor(*v))
        return std::nullopt;
    return int(*v);
}

QString ParseOption(const QString &a, const QString &v, TAnalyseArgs &out)
{
    QString error;
    if (out.Broadband.Parse(a, v, &error))
        return error;
    const QString bad = QStringLiteral("bad value \"%1\" for %2").arg(v, a);
    if (a == QLatin1String("--signal")) {
        if (!SignalTypeFromName(v))
            return QStringLiteral("unknown signal \"%1\"").arg(v);
        out.Signal = v;
    } else if (a == QLatin1String("--freq")) {
        if (!(out.Freq = Number(v, 1, 96000)))
            return bad;
    } else if (a == QLatin1String("--amp")) {
        if (!(out.Amp = Number(v, 0, 100)))
            return bad;
    } else if (a == QLatin1String("--play-buffer")) {
        if (!(out.PlayBuffer = Whole(v, 512, 1 << 22)))
            return bad;
    } else if (a == QLatin1String("--block")) {
        QString blockError;
        const std::optional<int> block = TCliBroadband::ParseBlock(v, &blockError);
        if (!block)
            return blockError;
        out.Block = *block;
    } else if (a == QLatin1String("--name")) {
        out.Name = v;
    } else if (a == QLatin1String("--into")) {
        out.Into = v;
    } else {
        return QStringLiteral("unknown option %1; usage: orvi-cli %2").arg(a, QLatin1String(Usage));
    }
    return {};
}

QString ParseArgs(const QStringList &args, TAnalyseArgs &out)
{
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--full")) {
            out.Full = true;
        } else if (a == QLatin1String("--range")) {
            if (i + 2 >= args.size())
                return QStringLiteral("--range needs two whole angles in degrees");
            const std::optional<int> s = Whole(args.at(i + 1), -180, 180);
            const std::optional<int> t = Whole(args.at(i + 2), -180, 360);
            if (!s || !t)
                return QStringLiteral("--range needs two whole angles in degrees (S -180..180, "
                                      "T -180..360)");
            if (*s >= *t)
                return QStringLiteral("Nieprawidłowy przedział");
            out.Range = std::make_pair(*s, *t);
            i += 2;
        } else if (a.startsWith(QLatin1String("--"))) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1 needs a value").arg(a);
            const QString error = ParseOption(a, args.at(++i), out);
            if (!error.isEmpty())
                return error;
        } else {
            files << a;
        }
    }
    if (files.size() != 2)
        return QStringLiteral("name the recording and the output file; usage: orvi-cli %1")
            .arg(QLatin1String(Usage));
    if (out.Full && out.Range)
        return QStringLiteral("give either --full or --range S T");
    out.Recording = files.at(0);
    out.Out = files.at(1);
    if (!out.Broadband.Options) {
        // The analysis is what this command is for: the default bands unless asked.
        out.Broadband.Options = TBroadbandOptions {};
    }
    return out.Broadband.Check();
}

// The log with the command line's overrides.
TMarkerLog Overridden(TMarkerLog log, const TAnalyseArgs &a)
{
    if (a.Signal)
        log.Signal = *SignalTypeFromName(*a.Signal);
    if (a.Freq)
        log.FrequencyHz = *a.Freq;
    if (a.Amp)
        log.AmplitudePercent = *a.Amp;
    if (a.PlayBuffer)
        log.PlayBufferBytes = *a.PlayBuffer;
    if (a.Full) {
        log.StartDeg = 0;
        log.StopDeg = 360;
    } else if (a.Range) {
        log.StartDeg = a.Range->first;
        log.StopDeg = a.Range->second;
    }
    return log;
}

// Prints the series the analysis added and its gate.
void PrintAdded(const TRecordingAnalysis::TOutcome &outcome)
{
    std::vector<const TSeries *> added { outcome.Level };
    added.insert(added.end(), outcome.Bands.begin(), outcome.Bands.end());
    for (const TSeries *series : added)
        CliOut(QStringLiteral("series %1 \"%2\": %3 points\n")
                   .arg(series->Number())
                   .arg(series->Name)
                   .arg(series->Count()));
    const TDirectivityResult &result = *outcome.Result;
    CliOut(QStringLiteral("gate %1 .. %2 ms (%3), %4 frames, %5° per period\n")
               .arg(result.GateOpenMs, 0, 'f', 2)
               .arg(result.GateCloseMs, 0, 'f', 2)
               .arg(result.AutomaticGate ? QStringLiteral("automatic") : QStringLiteral("asked"))
               .arg(result.FrameCount())
               .arg(result.DegreesPerPeriod, 0, 'f', 3));
}

// Why the outputs cannot be written, checked before anything runs; empty when they can.
QString OutputProblem(const TAnalyseArgs &a)
{
    TCliPaths paths;
    paths.AddInput(a.Recording);
    if (!a.Into.isEmpty())
        paths.AddInput(a.Into);
    paths.AddDocument(a.Out, true, a.Into);
    a.Broadband.AddOutputs(paths);
    return paths.Problem();
}

int RunAnalyse(const QStringList &args)
{
    TAnalyseArgs a;
    const QString parseError = ParseArgs(args, a);
    if (!parseError.isEmpty())
        return Fail(parseError);
    const QString outputProblem = OutputProblem(a);
    if (!outputProblem.isEmpty())
        return Fail(outputProblem);

    QString error;
    const auto loaded = TRecordingArchive::Load(a.Recording, &error);
    if (!loaded)
        return Fail(error);
    const TWavFile::TRecording &recording = loaded->first;
    TMarkerLog log = Overridden(loaded->second, a);
    if (recording.SampleRate != log.SampleRate)
        return Fail(QStringLiteral("the recording's rate (%1 Hz) differs from its log's (%2 Hz)")
                        .arg(recording.SampleRate)
                        .arg(log.SampleRate));
    log.RecordedSamples = qint64(recording.Samples.size());
    if (const QString tooLong = TCliBroadband::PlayBufferRefusal(log.PlayBufferBytes);
        !tooLong.isEmpty())
        return Fail(tooLong);
    const TBroadbandOptions &options = *a.Broadband.Options;
    const QString refusal
        = TBroadbandOptions::SignalRefusal(log.Signal, log.FrequencyHz, options.BandsHz);
    if (!refusal.isEmpty())
        return Fail(refusal);

    TPolarGraph chart;
    TOvkFile file(&chart, a.Out);
    if (!CliStartDocument(QStringLiteral("orvi-cli analyse: "), a.Into, file))
        return 1;

    // What is analysed, so that reopening the document gives these numbers again.
    const TMeasurementProposal proposal = TMeasurementProposal::For(chart);
    TKeptMeasurement measurement;
    measurement.Recording = QFileInfo(a.Recording).absoluteFilePath();
    measurement.Log = log; // with the overrides and the recorded samples
    measurement.Options = options;
    measurement.Plane = TKeptMeasurement::PlaneOf(options);
    measurement.Name = a.Name.value_or(proposal.Name);
    const std::optional<TRecordingAnalysis::TOutcome> outcome
        = TRecordingAnalysis::AddTo(chart, measurement, recording, proposal.Color,
                                    a.Block > 0 ? a.Block : Settings().RMSBuffNumber, &error);
    if (!outcome)
        return Fail(error);
    TCliBroadband::PrintWarnings(*outcome->Result, QStringLiteral("orvi-cli analyse: "));
    PrintAdded(*outcome);
    // The document last: when anything before it fails, no document claims a complete run.
    if (!a.Broadband.WriteOutputs(*outcome->Result, QStringLiteral("orvi-cli analyse: ")))
        return 1;
    TCliKept beside(QStringLiteral("orvi-cli analyse: "));
    beside.WriteBeside(a.Out, a.Into, { outcome->Kept });
    if (!beside.Report())
        return 1;
    try {
        file.Save();
    } catch (const EInOutError &e) {
        return Fail(e.Message());
    }
    CliOut(QStringLiteral("saved %1\n").arg(QDir::toNativeSeparators(a.Out)));
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("analyse", Usage, &RunAnalyse);
