// orvi-cli measure: a whole measurement (turntable, generator, recording, computation) on
// the simulated rig and a virtual clock, so that an 80 s turn takes seconds; the new series
// goes into a new document or one that exists, which is saved to OUT.

#include "CliBroadband.h"
#include "CliCommand.h"
#include "CliKept.h"
#include "CliLoad.h"
#include "CliPaths.h"
#include "CliRig.h"

#include "analysis/BroadbandStore.h"
#include "analysis/DirectivityResult.h"
#include "analysis/MeasurementFolder.h"
#include "analysis/RecordingArchive.h"
#include "app/Settings.h"
#include "audio/AudioBackend.h"
#include "audio/LoopbackBus.h"
#include "audio/RecordSlot.h"
#include "audio/SimulatedLoudspeaker.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "controls/VirtualClock.h"
#include "document/InOutError.h"
#include "document/OvkFile.h"
#include "measurement/MeasurementProposal.h"
#include "measurement/MeasurementRun.h"
#include "turntable/SimulatedController.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <optional>

namespace {

constexpr char Usage[]
    = "measure (--simulate | --simulate-grbl) (--full | --range S T) [--signal NAME --freq HZ "
      "--amp PCT] "
      "[--block BYTES] [--play-buffer BYTES] [--rate HZ] [--shape circle|rect] [--radius M] "
      "[--width M --height M] [--noise DBFS] "
      "[--latency-ms MS] [--reflection-ms MS --reflection-db DB] [--name TEXT --color 0xBBGGRR] "
      "[--bands F1,F2,... [--plane hor|ver] [--smoothing none|1/3|1/6|1/12|1/24] [--gate-ms MS] "
      "[--mic-cal FILE] [--sensitivity DBFS] "
      "[--frd DIR [--frd-step DEG]] [--map OUT.png|.svg|.pdf]] [--into EXISTING.OvK] OUT.OvK";

struct TMeasureArgs
{
    bool Simulate = false;
    bool Grbl = false; // the emulated Grbl board turns the table
    bool Full = false;
    std::optional<std::pair<int, int>> Range;
    QString Signal = QStringLiteral("Sinus");
    double Freq = 1000;
    double Amp = 100;
    int Block = 0; // 0: the setting
    int PlayBuffer = 0;
    int Rate = 0;
    TSimulatedLoudspeaker::TParams Speaker;
    std::optional<double> ReflectionMs;
    std::optional<double> ReflectionDb;
    std::optional<QString> Name;
    std::optional<quint32> Color;
    TCliBroadband Broadband;
    QString Into;
    QString Out;
};

int Fail(const QString &text)
{
    CliError(QStringLiteral("orvi-cli measure: ") + text);
    return 1;
}

bool ToNumber(const QString &text, double minimum, double maximum, double &value)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < minimum || v > maximum)
        return false;
    value = v;
    return true;
}

bool ToInt(const QString &text, int minimum, int maximum, int &value)
{
    double v = 0;
    if (!ToNumber(text, minimum, maximum, v) || v != std::floor(v))
        return false;
    value = int(v);
    return true;
}

// One option with its value; empty on success, otherwise the reason.
QString ParseOption(const QString &a, const QString &v, TMeasureArgs &out)
{
    const auto bad = [&] {
        return QStringLiteral("bad value \"%1\" for %2").arg(v, a);
    };
    double d = 0;
    QString broadbandError;
    if (out.Broadband.Parse(a, v, &broadbandError))
        return broadbandError;
    if (a == QLatin1String("--signal")) {
        if (!SignalTypeFromName(v))
            return QStringLiteral("unknown signal \"%1\"").arg(v);
        out.Signal = v;
    } else if (a == QLatin1String("--freq")) {
        if (!ToNumber(v, 1, 96000, out.Freq))
            return bad();
    } else if (a == QLatin1String("--amp")) {
        if (!ToNumber(v, 0, 100, out.Amp))
            return bad();
    } else if (a == QLatin1String("--block")) {
        QString error;
        const std::optional<int> block = TCliBroadband::ParseBlock(v, &error);
        if (!block)
            return error;
        out.Block = *block;
    } else if (a == QLatin1String("--play-buffer")) {
        if (!ToInt(v, 512, 1 << 22, out.PlayBuffer))
            return bad();
    } else if (a == QLatin1String("--rate")) {
        if (!ToInt(v, 8000, 192000, out.Rate))
            return bad();
    } else if (a == QLatin1String("--radius")) {
        if (!ToNumber(v, 0.001, 1.0, out.Speaker.RadiusM))
            return bad();
    } else if (a == QLatin1String("--shape")) {
        if (v != QLatin1String("circle") && v != QLatin1String("rect"))
            return QStringLiteral("--shape is circle or rect");
        out.Speaker.Shape = v == QLatin1String("rect") ? TSimulatedLoudspeaker::EShape::Rectangle
                                                       : TSimulatedLoudspeaker::EShape::Circle;
    } else if (a == QLatin1String("--width") || a == QLatin1String("--height")) {
        if (!ToNumber(v, 0.002, 2.0,
                      a == QLatin1String("--width") ? out.Speaker.WidthM : out.Speaker.HeightM))
            return bad();
    } else if (a == QLatin1String("--noise")) {
        out.Speaker.Noise = v != QLatin1String("off");
        if (out.Speaker.Noise && !ToNumber(v, -200, 0, out.Speaker.NoiseDbfs))
            return bad();
    } else if (a == QLatin1String("--latency-ms")) {
        if (!ToNumber(v, 0, 1000, out.Speaker.LatencyMs))
            return bad();
    } else if (a == QLatin1String("--reflection-ms")) {
        if (!ToNumber(v, 0, 1000, d))
            return bad();
        out.ReflectionMs = d;
    } else if (a == QLatin1String("--reflection-db")) {
        if (!ToNumber(v, -200, 20, d))
            return bad();
        out.ReflectionDb = d;
    } else if (a == QLatin1String("--name")) {
        out.Name = v;
    } else if (a == QLatin1String("--color")) {
        bool ok = false;
        const uint c = v.toUInt(&ok, 0);
        if (!ok || c > 0xFFFFFF)
            return bad();
        out.Color = c;
    } else if (a == QLatin1String("--into")) {
        out.Into = v;
    } else {
        return QStringLiteral("unknown option %1; usage: orvi-cli %2").arg(a, QLatin1String(Usage));
    }
    return {};
}

QString ParseArgs(const QStringList &args, TMeasureArgs &out)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--simulate")) {
            out.Simulate = true;
        } else if (a == QLatin1String("--simulate-grbl")) {
            out.Simulate = out.Grbl = true;
        } else if (a == QLatin1String("--full")) {
            out.Full = true;
        } else if (a == QLatin1String("--range")) {
            int s = 0;
            int t = 0;
            if (i + 2 >= args.size() || !ToInt(args.at(i + 1), -180, 180, s)
                || !ToInt(args.at(i + 2), -180, 360, t))
                return QStringLiteral("--range needs two whole angles in degrees (S -180..180, "
                                      "T -180..360)");
            out.Range = std::make_pair(s, t);
            i += 2;
        } else if (a.startsWith(QLatin1String("--"))) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1 needs a value").arg(a);
            const QString error = ParseOption(a, args.at(++i), out);
            if (!error.isEmpty())
                return error;
        } else if (out.Out.isEmpty()) {
            out.Out = a;
        } else {
            return QStringLiteral("unexpected argument %1").arg(a);
        }
    }
    if (!out.Simulate)
        return QStringLiteral("only the simulated rigs are supported: give --simulate or "
                              "--simulate-grbl");
    if (out.Full == out.Range.has_value())
        return QStringLiteral("give either --full or --range S T");
    if (out.Range && out.Range->first >= out.Range->second)
        return QStringLiteral("Nieprawidłowy przedział");
    if (out.ReflectionMs.has_value() != out.ReflectionDb.has_value())
        return QStringLiteral("--reflection-ms and --reflection-db go together");
    if (out.Out.isEmpty())
        return QStringLiteral("name the output file; usage: orvi-cli %1").arg(QLatin1String(Usage));
    const QString broadband = out.Broadband.Check();
    if (!broadband.isEmpty())
        return broadband;
    if (out.Broadband.Options) {
        const QString refusal = TBroadbandOptions::SignalRefusal(
            *SignalTypeFromName(out.Signal), out.Freq, out.Broadband.Options->BandsHz);
        if (!refusal.isEmpty())
            return QStringLiteral("--bands with %1: %2").arg(out.Signal, refusal);
        const QString tooLong = TCliBroadband::PlayBufferRefusal(
            out.PlayBuffer > 0 ? out.PlayBuffer : Settings().PlayBuffSize);
        if (!tooLong.isEmpty())
            return tooLong;
        const QString aliased = TBroadbandOptions::BandRefusal(
            out.Broadband.Options->BandsHz, out.Rate > 0 ? out.Rate : Settings().InSampleRate);
        if (!aliased.isEmpty())
            return aliased;
    }
    // A vertical turn on the simulator sweeps the loudspeaker's height.
    if (out.Broadband.Options && out.Broadband.Options->Vertical)
        out.Speaker.Plane = TSimulatedLoudspeaker::EPlane::Vertical;
    if (out.ReflectionMs) {
        out.Speaker.Reflection = true;
        out.Speaker.ReflectionMs = *out.ReflectionMs;
        out.Speaker.ReflectionDb = *out.ReflectionDb;
    }
    return {};
}

TCliRig::TConfig RigConfig(const TMeasureArgs &a, const QString &recordPath)
{
    const TSettings &settings = Settings();
    TCliRig::TConfig c;
    c.Start = a.Range ? a.Range->first : 0;
    c.Stop = a.Range ? a.Range->second : 360;
    c.RecordPath = recordPath;
    c.SampleRate = a.Rate > 0 ? a.Rate : settings.InSampleRate;
    c.PlayBuffBytes = a.PlayBuffer > 0 ? a.PlayBuffer : settings.PlayBuffSize;
    c.RecordBuffBytes = settings.RecordBuffSize;
    c.DeadTimeMs = settings.MarkUnsensitivityTime;
    c.Signal = *SignalTypeFromName(a.Signal);
    c.FrequencyHz = a.Freq;
    c.AmplitudePercent = a.Amp;
    c.Grbl = a.Grbl;
    return c;
}

void PrintBroadband(const TMeasureArgs &a, const TMeasurementRun &run)
{
    for (const TSeries *band : run.BandSeries())
        CliOut(QStringLiteral("series %1 \"%2\": %3 points\n")
                   .arg(band->Number())
                   .arg(band->Name)
                   .arg(band->Count()));
    if (const auto result = run.BroadbandResult())
        CliOut(
            QStringLiteral("gate %1 .. %2 ms (%3), %4 frames, %5° per period\n")
                .arg(result->GateOpenMs, 0, 'f', 2)
                .arg(result->GateCloseMs, 0, 'f', 2)
                .arg(result->AutomaticGate ? QStringLiteral("automatic") : QStringLiteral("asked"))
                .arg(result->FrameCount())
                .arg(result->DegreesPerPeriod, 0, 'f', 3));
    // The warnings came at the run's end; the notes are no warnings.
    for (const QString &note : run.Notes())
        CliError(QStringLiteral("orvi-cli measure: note: ") + note);
    if (!run.KeptRecording().isEmpty())
        CliOut(QStringLiteral("recording kept: %1\n")
                   .arg(QDir::toNativeSeparators(run.KeptRecording())));
    (void)a;
}

// Runs the measurement; the new series, or nullptr (the reason already printed).
TSeries *Measure(const TMeasureArgs &a, TPolarGraph &chart, const QString &recordPath,
                 std::shared_ptr<const TDirectivityResult> &broadband)
{
    TVirtualClock clock;
    TAudioBackend::SetDefault(EAudioBackend::Loopback);
    TLoopbackBus::Instance().SetClock(&clock);
    TCliRig rig(clock, RigConfig(a, recordPath));
    if (!rig.Open()) {
        Fail(rig.OpenFailure());
        return nullptr;
    }
    TSimulatedLoudspeaker speaker(a.Grbl ? TSimulatedLoudspeaker::GrblEmulatorAngle()
                                         : TSimulatedLoudspeaker::SimulatedControllerAngle(),
                                  a.Speaker);
    speaker.Install(TLoopbackBus::Instance());

    const TMeasurementProposal proposal = TMeasurementProposal::For(chart);
    TMeasurementRun run(rig, clock);
    run.Chart = &chart;
    run.SeriesName = a.Name.value_or(proposal.Name);
    run.SeriesColor = a.Color.value_or(proposal.Color);
    run.BlockBytes = a.Block > 0 ? a.Block : Settings().RMSBuffNumber;
    run.Broadband = a.Broadband.Options;
    run.WorkingFolder = Settings().RecordingsFolder();
    TSettings::MakeWorkingFolder(run.WorkingFolder);
    run.ShowWarning = [](const QString &text) {
        for (const QString &line : text.split(QLatin1Char('\n')))
            CliError(QStringLiteral("orvi-cli measure: warning: ") + line);
    };
    QString error;
    run.ShowError = [&error](const QString &text) {
        if (error.isEmpty())
            error = QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    };
    QString shown;
    QObject::connect(&run, &TMeasurementRun::Changed, [&] {
        const QString phase = run.Heading() + QStringLiteral(": ") + run.Status();
        if (phase != shown) {
            shown = phase;
            CliOut(QStringLiteral("%1 ms %2\n").arg(clock.NowMs(), 8).arg(phase));
        }
    });
    run.Start();
    TLoopbackBus::Instance().SetClock(nullptr);
    if (!run.AddedSeries()) {
        Fail(!error.isEmpty()                   ? error
                 : !rig.StreamError().isEmpty() ? rig.StreamError()
                                                : run.Status());
        return nullptr;
    }
    PrintBroadband(a, run);
    broadband = run.BroadbandResult();
    return run.AddedSeries();
}

// Why the outputs cannot be written, checked before the run; empty when they can.
QString OutputProblem(const TMeasureArgs &a)
{
    TCliPaths paths;
    if (!a.Into.isEmpty())
        paths.AddInput(a.Into);
    const bool carried
        = !a.Into.isEmpty() && QFileInfo::exists(TMeasurementFolder::FolderFor(a.Into));
    paths.AddDocument(a.Out, a.Broadband.Options || carried, a.Into);
    a.Broadband.AddOutputs(paths);
    TSettings::MakeWorkingFolder(Settings().RecordingsFolder());
    paths.AddFolder(TRecordingArchive::Folder(Settings().RecordingsFolder()),
                    QStringLiteral("the folder of the kept recordings"), false);
    return paths.Problem();
}

int RunMeasure(const QStringList &args)
{
    TMeasureArgs a;
    const QString error = ParseArgs(args, a);
    if (!error.isEmpty())
        return Fail(error);
    const QString outputProblem = OutputProblem(a);
    if (!outputProblem.isEmpty())
        return Fail(outputProblem);

    TPolarGraph chart;
    TOvkFile file(&chart, a.Out);
    if (!CliStartDocument(QStringLiteral("orvi-cli measure: "), a.Into, file))
        return 1;
    // The recording goes to the working folder, as the program's measurements do, and never
    // into the file of another program recording there at the same time.
    TSettings::MakeWorkingFolder(Settings().TempDir);
    const QString recordPath = TRecordSlot::Program().PathIn(Settings().TempDir);
    std::shared_ptr<const TDirectivityResult> broadband;
    TSeries *series = Measure(a, chart, recordPath, broadband);
    if (!series)
        return 1;
    if (a.Broadband.Options && !broadband)
        return Fail(QStringLiteral("the broadband analysis gave no result"));
    // The document last: when anything before it fails, no document claims a complete run.
    if (broadband && !a.Broadband.WriteOutputs(*broadband, QStringLiteral("orvi-cli measure: ")))
        return 1;
    TCliKept beside(QStringLiteral("orvi-cli measure: "));
    beside.WriteBeside(a.Out, a.Into, TBroadbandStore::Instance().Kept(&chart));
    if (!beside.Report())
        return 1;
    try {
        file.Save();
    } catch (const EInOutError &e) {
        return Fail(e.Message());
    }
    CliOut(QStringLiteral("series %1 \"%2\": %3 points; saved %4\n")
               .arg(series->Number())
               .arg(series->Name)
               .arg(series->Count())
               .arg(QDir::toNativeSeparators(a.Out)));
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("measure", Usage, &RunMeasure);
