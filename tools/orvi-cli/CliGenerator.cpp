// orvi-cli generate: writes blocks of the test signal exactly as the generator window
// hands them to the output stream.

#include "CliCommand.h"

#include "audio/Generator.h"
#include "controls/FileWriter.h"

#include <QtEndian>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr char Usage[] = "generate --signal NAME --freq HZ --amp PERCENT --rate HZ --block N "
                         "--blocks K OUT(.wav|.raw)";

int Fail(const QString &text)
{
    CliError(QStringLiteral("orvi-cli generate: ") + text);
    return 1;
}

QString SignalNames()
{
    QStringList names;
    for (int i = 0; i < SignalTypeCount; ++i)
        names << SignalTypeName(TSignalType(i));
    return names.join(QStringLiteral(", "));
}

// 44-byte header of a 16-bit mono PCM WAV file holding dataBytes bytes of samples.
QByteArray WavHeader(int rate, quint32 dataBytes)
{
    QByteArray h(44, '\0');
    char *p = h.data();
    auto put32 = [&](int at, quint32 v) {
        qToLittleEndian<quint32>(v, p + at);
    };
    auto put16 = [&](int at, quint16 v) {
        qToLittleEndian<quint16>(v, p + at);
    };
    std::memcpy(p, "RIFF", 4);
    put32(4, 36 + dataBytes);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    put32(16, 16); // fmt chunk size
    put16(20, 1); // PCM
    put16(22, 1); // mono
    put32(24, quint32(rate)); // samples per second
    put32(28, quint32(rate) * 2); // bytes per second
    put16(32, 2); // block align
    put16(34, 16); // bits per sample
    std::memcpy(p + 36, "data", 4);
    put32(40, dataBytes);
    return h;
}

int RunGenerate(const QStringList &args)
{
    QString signalName, freqText, ampText, rateText, blockText, blocksText, out;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        QString *target = nullptr;
        if (a == QLatin1String("--signal"))
            target = &signalName;
        else if (a == QLatin1String("--freq"))
            target = &freqText;
        else if (a == QLatin1String("--amp"))
            target = &ampText;
        else if (a == QLatin1String("--rate"))
            target = &rateText;
        else if (a == QLatin1String("--block"))
            target = &blockText;
        else if (a == QLatin1String("--blocks"))
            target = &blocksText;
        if (target) {
            if (i + 1 >= args.size())
                return Fail(
                    QStringLiteral("%1 needs a value; usage: %2").arg(a, QLatin1String(Usage)));
            *target = args[++i];
        } else if (a.startsWith(QLatin1String("--"))) {
            return Fail(
                QStringLiteral("unknown option %1; usage: %2").arg(a, QLatin1String(Usage)));
        } else if (out.isEmpty()) {
            out = a;
        } else {
            return Fail(QStringLiteral("more than one output file (%1); usage: %2")
                            .arg(a, QLatin1String(Usage)));
        }
    }
    const struct
    {
        const QString &value;
        const char *name;
    } required[]
        = { { signalName, "--signal" }, { freqText, "--freq" },   { ampText, "--amp" },
            { rateText, "--rate" },     { blockText, "--block" }, { blocksText, "--blocks" } };
    for (const auto &r : required) {
        if (r.value.isEmpty())
            return Fail(QStringLiteral("%1 is missing; usage: %2")
                            .arg(QLatin1String(r.name), QLatin1String(Usage)));
    }
    if (out.isEmpty())
        return Fail(QStringLiteral("no output file; usage: %1").arg(QLatin1String(Usage)));

    const std::optional<TSignalType> signal = SignalTypeFromName(signalName);
    if (!signal)
        return Fail(
            QStringLiteral("unknown signal \"%1\" (one of %2)").arg(signalName, SignalNames()));
    bool ok = false;
    const double freq = freqText.toDouble(&ok);
    if (!ok || !std::isfinite(freq) || freq <= 0)
        return Fail(
            QStringLiteral("--freq must be a frequency above 0 Hz, not \"%1\"").arg(freqText));
    const double amp = ampText.toDouble(&ok);
    if (!ok || !(amp >= 0 && amp <= 100))
        return Fail(QStringLiteral("--amp must be a percentage 0..100, not \"%1\"").arg(ampText));
    const int rate = rateText.toInt(&ok);
    if (!ok || rate < 1 || rate > 1000000)
        return Fail(QStringLiteral("--rate must be a whole number of Hz 1..1000000, not \"%1\"")
                        .arg(rateText));
    const int block = blockText.toInt(&ok);
    if (!ok || block < 1 || block > (1 << 24))
        return Fail(QStringLiteral("--block must be a sample count 1..16777216, not \"%1\"")
                        .arg(blockText));
    const qint64 blocks = blocksText.toLongLong(&ok);
    if (!ok || blocks < 1)
        return Fail(QStringLiteral("--blocks must be a block count of 1 or more, not \"%1\"")
                        .arg(blocksText));

    const bool wav = out.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive);
    const qint64 dataBytes = qint64(block) * blocks * 2;
    if (wav && dataBytes > qint64(0xFFFFFFFFu) - 36)
        return Fail(QStringLiteral("%1 samples do not fit in a WAV file; write raw samples instead")
                        .arg(qint64(block) * blocks));

    TGenerator generator;
    generator.SetAutoPhase(true);
    generator.SetSignal(*signal);
    generator.SetSamplingFrequency(rate);
    generator.SetNumSamples(block);
    generator.SetVolumeInPercents(amp);
    generator.SetSignalFrequency(freq);
    std::vector<qint16> samples(size_t(block), 0);
    generator.OnGenerate = [&](int index, qint16 value) {
        samples[size_t(index)] = value;
    };

    TFileWriter file(out);
    if (!file.Open())
        return Fail(file.ErrorMessage());
    if (wav)
        file.Write(WavHeader(rate, quint32(dataBytes)));
    QByteArray bytes(block * 2, '\0');
    for (qint64 b = 0; b < blocks && !file.Failed(); ++b) {
        try {
            generator.Generate();
        } catch (const EGeneratorError &error) {
            file.Cancel();
            return Fail(error.Message());
        }
        qToLittleEndian<qint16>(samples.data(), block, bytes.data());
        file.Write(bytes);
    }
    if (!file.Commit())
        return Fail(file.ErrorMessage());
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("generate", Usage, &RunGenerate);
