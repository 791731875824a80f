// orvi-cli devices / play / record: the sound card through the program's own streams
// (TAudioOut, TAudioIn), with the gap counts at the end.

#include "CliCommand.h"

#include "app/Settings.h"
#include "audio/AudioIn.h"
#include "audio/AudioOut.h"
#include "audio/DeviceList.h"
#include "audio/Generator.h"
#include "controls/Clock.h"
#include "controls/FileWriter.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr char DevicesUsage[] = "devices [--simulate]   lists input and output devices by number";
constexpr char PlayUsage[] = "play --signal NAME --freq HZ --amp PERCENT --seconds S [--device N] "
                             "[--rate HZ] [--simulate]";
constexpr char RecordUsage[] = "record --seconds S [--device N] [--rate HZ] [--simulate] OUT.raw";

// Options shared by the three commands; the rest is left in Positional.
struct TAudioArgs
{
    QString Signal;
    std::optional<double> Freq;
    std::optional<double> Amp;
    std::optional<double> Seconds;
    quint32 Device = TAudioIO::DefaultDevice;
    std::optional<int> Rate;
    bool Simulate = false;
    QStringList Positional;
};

bool ParseArgs(const QString &command, const QStringList &args, TAudioArgs &out)
{
    auto fail = [&](const QString &text) {
        CliError(QStringLiteral("orvi-cli %1: %2").arg(command, text));
        return false;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--simulate")) {
            out.Simulate = true;
            continue;
        }
        if (!a.startsWith(QLatin1String("--"))) {
            out.Positional << a;
            continue;
        }
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value").arg(a));
        const QString value = args.at(++i);
        bool ok = false;
        if (a == QLatin1String("--signal")) {
            out.Signal = value;
            ok = true;
        } else if (a == QLatin1String("--freq")) {
            out.Freq = value.toDouble(&ok);
        } else if (a == QLatin1String("--amp")) {
            out.Amp = value.toDouble(&ok);
        } else if (a == QLatin1String("--seconds")) {
            out.Seconds = value.toDouble(&ok);
            ok = ok && std::isfinite(*out.Seconds) && *out.Seconds > 0 && *out.Seconds <= 3600;
        } else if (a == QLatin1String("--device")) {
            const uint n = value.toUInt(&ok);
            out.Device = n;
        } else if (a == QLatin1String("--rate")) {
            out.Rate = value.toInt(&ok);
            ok = ok && *out.Rate >= 1000 && *out.Rate <= 192000;
        } else {
            return fail(QStringLiteral("unknown option %1").arg(a));
        }
        if (!ok)
            return fail(QStringLiteral("bad value \"%1\" for %2").arg(value, a));
    }
    if (out.Simulate)
        TAudioBackend::SetDefault(EAudioBackend::Loopback);
    return true;
}

// An explicit --device must name a listed device: unlike the windows, the command line does
// not fall back to the default, so a script learns of the wrong number.
bool DeviceListed(quint32 device, EAudioDirection direction)
{
    return device == TAudioIO::DefaultDevice
        || device < quint32(TDeviceList::Names(TAudioBackend::Default(), direction).size());
}

QString NoDeviceText(quint32 device, EAudioDirection direction)
{
    const QString probeError = TAudioBackend::ProbeError(TAudioBackend::Default());
    if (!probeError.isEmpty())
        return probeError;
    return QStringLiteral("there is no %1 device %2 (orvi-cli devices lists them)")
        .arg(direction == EAudioDirection::Output ? QLatin1String("output")
                                                  : QLatin1String("input"))
        .arg(device);
}

QString Counts(const TAudioIO &stream)
{
    // The device's own reports are part of the counts and shown apart as well.
    return QStringLiteral("underruns %1, overruns %2 (reported by the device: %3)\n")
        .arg(stream.Underruns())
        .arg(stream.Overruns())
        .arg(stream.DeviceXruns());
}

// Runs the event loop until the stream has closed or `limitMs` has passed.
bool WaitClosed(const TAudioIO &stream, qint64 limitMs)
{
    TClock &clock = TClock::System();
    const qint64 end = clock.NowMs() + limitMs;
    while (stream.DeviceOpen() && clock.NowMs() < end)
        clock.WaitProcessing(20);
    return !stream.DeviceOpen();
}

int RunDevices(const QStringList &args)
{
    TAudioArgs a;
    if (!ParseArgs(QStringLiteral("devices"), args, a))
        return 1;
    if (!a.Positional.isEmpty()) {
        CliError(
            QStringLiteral("orvi-cli devices: unexpected argument %1").arg(a.Positional.first()));
        return 1;
    }
    const EAudioBackend backend = TAudioBackend::Default();
    QString text = QStringLiteral("backend: %1\n").arg(TAudioBackend::Name(backend));
    const std::pair<const char *, EAudioDirection> lists[]
        = { { "output", EAudioDirection::Output }, { "input", EAudioDirection::Input } };
    for (const auto &[title, direction] : lists) {
        const QStringList names = TDeviceList::Names(backend, direction);
        text += QStringLiteral("%1 devices:\n").arg(QLatin1String(title));
        for (int i = 0; i < names.size(); ++i)
            text += QStringLiteral("  %1: %2\n").arg(i).arg(names.at(i));
        if (names.isEmpty())
            text += QStringLiteral("  (none)\n");
    }
    // A sound server that does not answer is no empty list.
    const QString probeError = TAudioBackend::ProbeError(backend);
    if (!probeError.isEmpty()) {
        CliError(QStringLiteral("orvi-cli devices: ") + probeError);
        return 1;
    }
    CliOut(text);
    return 0;
}

int RunPlay(const QStringList &args)
{
    TAudioArgs a;
    if (!ParseArgs(QStringLiteral("play"), args, a))
        return 1;
    auto fail = [](const QString &text) {
        CliError(QStringLiteral("orvi-cli play: ") + text);
        return 1;
    };
    if (!a.Positional.isEmpty())
        return fail(QStringLiteral("unexpected argument %1").arg(a.Positional.first()));
    const std::optional<TSignalType> signal = SignalTypeFromName(a.Signal);
    if (!signal)
        return fail(QStringLiteral("--signal must name a signal (Sinus, Cosinus, Square1, Square2, "
                                   "Triangle, Chirp, WhiteNoise, PinkNoise, MLS, Impuls)"));
    if (!a.Freq || !(*a.Freq > 0) || !std::isfinite(*a.Freq))
        return fail(QStringLiteral("--freq must be a frequency above 0 Hz"));
    if (!a.Amp || !(*a.Amp >= 0 && *a.Amp <= 100))
        return fail(QStringLiteral("--amp must be 0..100 percent"));
    if (!a.Seconds)
        return fail(QStringLiteral("--seconds is required"));
    if (!DeviceListed(a.Device, EAudioDirection::Output))
        return fail(NoDeviceText(a.Device, EAudioDirection::Output));

    const TSettings &settings = Settings();
    const int rate = a.Rate.value_or(settings.OutSampleRate);
    TAudioOut out;
    out.SetWaveDevice(a.Device);
    out.SetBufferSize(settings.PlayBuffSize);
    out.SetFrameRate(rate);
    out.SetQuantization(16);

    TGenerator generator;
    std::vector<qint16> block(size_t(out.BufferSize() / 2));
    generator.SetSamplingFrequency(rate);
    generator.SetNumSamples(int(block.size()));
    generator.SetSignal(*signal);
    generator.SetSignalFrequency(*a.Freq);
    generator.SetVolumeInPercents(*a.Amp);
    generator.SetAutoPhase(true);
    generator.OnGenerate = [&block](int index, qint16 value) {
        if (index >= 0 && size_t(index) < block.size())
            block[size_t(index)] = value;
    };

    const qint64 total = qint64(std::llround(*a.Seconds * rate)); // samples
    qint64 queued = 0;
    out.OnFillBuffer = [&](char *buffer, int &size) {
        if (queued >= total)
            return false;
        generator.Generate();
        const int samples = int(std::min<qint64>(size / 2, total - queued));
        std::memcpy(buffer, block.data(), size_t(samples) * 2);
        size = samples * 2; // the last buffer plays only what is left
        queued += samples;
        return true;
    };
    if (!out.Start())
        return fail(out.ErrorMessage());
    const qint64 limit = qint64(*a.Seconds * 1000) + 10000;
    if (!WaitClosed(out, limit)) {
        out.StopAtOnce();
        return fail(QStringLiteral("the output device did not finish playing"));
    }
    if (out.DeviceFailed())
        return fail(out.ErrorMessage());
    CliOut(QStringLiteral("played %1 samples at %2 Hz (%3 buffers); ")
               .arg(queued)
               .arg(rate)
               .arg(out.DoneCount())
           + Counts(out));
    return 0;
}

int RunRecord(const QStringList &args)
{
    TAudioArgs a;
    if (!ParseArgs(QStringLiteral("record"), args, a))
        return 1;
    auto fail = [](const QString &text) {
        CliError(QStringLiteral("orvi-cli record: ") + text);
        return 1;
    };
    if (a.Positional.size() != 1)
        return fail(QStringLiteral("name one output file"));
    if (!a.Seconds)
        return fail(QStringLiteral("--seconds is required"));
    if (!DeviceListed(a.Device, EAudioDirection::Input))
        return fail(NoDeviceText(a.Device, EAudioDirection::Input));

    // The level meter window's recorder: two buffers of RecordBuffSize bytes, mono, the
    // input settings; every delivered buffer is appended whole.
    const TSettings &settings = Settings();
    TAudioIn in;
    in.SetNumBuffers(2);
    in.SetWaveDevice(a.Device);
    in.SetBufferSize(settings.RecordBuffSize);
    in.SetFrameRate(a.Rate.value_or(settings.InSampleRate));
    in.SetQuantization(settings.InQuant);

    // The recording appears under its name only when complete: a full disk or a file-size
    // limit leaves no truncated file and an existing one untouched.
    TFileWriter file(a.Positional.first());
    if (!file.Open())
        return fail(file.ErrorMessage());
    const qint64 wanted
        = qint64(std::llround(*a.Seconds * in.FrameRate())) * in.Format().BlockAlign;
    qint64 written = 0;
    in.OnBufferFilled = [&](char *buffer, int &size) {
        file.Write(buffer, size);
        written += size;
        if (written >= wanted || file.Failed())
            in.StopGracefully();
        return true;
    };
    if (!in.Start()) {
        file.Cancel();
        return fail(in.ErrorMessage());
    }
    const qint64 limit = qint64(*a.Seconds * 1000) + 10000;
    if (!WaitClosed(in, limit)) {
        in.StopAtOnce();
        file.Cancel();
        return fail(QStringLiteral("the input device did not deliver its buffers"));
    }
    if (in.DeviceFailed()) {
        file.Cancel(); // what was recorded before the device died is no recording
        return fail(in.ErrorMessage());
    }
    if (!file.Commit())
        return fail(file.ErrorMessage());
    CliOut(QStringLiteral("recorded %1 bytes at %2 Hz (%3 buffers of %4 bytes); ")
               .arg(written)
               .arg(in.FrameRate())
               .arg(in.FilledCount())
               .arg(in.BufferSize())
           + Counts(in));
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("devices", DevicesUsage, &RunDevices);
ORVI_CLI_COMMAND("play", PlayUsage, &RunPlay);
ORVI_CLI_COMMAND("record", RecordUsage, &RunRecord);
