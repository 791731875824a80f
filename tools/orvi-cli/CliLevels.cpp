// orvi-cli levels: the characteristic a measurement would add for a recording file, as CSV
// "angle,level" lines (degrees, dB), after the shift to 0 dB at the angle nearest 0°.

#include "CliCommand.h"

#include "document/InOutError.h"
#include "measurement/LevelComputation.h"

#include <cstdio>
#include <string>

namespace {

constexpr char Usage[] = "levels RAW [--block BYTES] [--start DEG --stop DEG]  "
                         "angle,level of each block of a 16-bit recording";

// The same bound as the turntable command: ten turns either way.
constexpr int MaxAngle = 3600; // degrees
constexpr int MaxBlockBytes = 1 << 30;

struct TLevelsArgs
{
    QString Raw;
    int BlockBytes = 512;
    int Start = 0;
    int Stop = 360;
};

int Fail(const QString &text)
{
    CliError(QStringLiteral("orvi-cli levels: ") + text);
    return 1;
}

bool ParseInt(const QString &text, int minimum, int maximum, int &value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < minimum || v > maximum)
        return false;
    value = v;
    return true;
}

// Empty on success, otherwise the one-line reason.
QString ParseArgs(const QStringList &args, TLevelsArgs &out)
{
    bool haveStart = false;
    bool haveStop = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool isBlock = a == QLatin1String("--block");
        const bool isStart = a == QLatin1String("--start");
        const bool isStop = a == QLatin1String("--stop");
        if (isBlock || isStart || isStop) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1 needs a value; usage: orvi-cli %2")
                    .arg(a, QLatin1String(Usage));
            const QString &value = args.at(++i);
            if (isBlock && !ParseInt(value, 2, MaxBlockBytes, out.BlockBytes))
                return QStringLiteral("--block must be a whole number of bytes from 2 to %1, "
                                      "not \"%2\"")
                    .arg(MaxBlockBytes)
                    .arg(value);
            if ((isStart || isStop)
                && !ParseInt(value, -MaxAngle, MaxAngle, isStart ? out.Start : out.Stop))
                return QStringLiteral("%1 must be a whole number of degrees from %2 to %3, "
                                      "not \"%4\"")
                    .arg(a)
                    .arg(-MaxAngle)
                    .arg(MaxAngle)
                    .arg(value);
            haveStart = haveStart || isStart;
            haveStop = haveStop || isStop;
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option \"%1\"; usage: orvi-cli %2")
                .arg(a, QLatin1String(Usage));
        } else if (out.Raw.isEmpty()) {
            out.Raw = a;
        } else {
            return QStringLiteral("more than one recording file (\"%1\"); usage: orvi-cli %2")
                .arg(a, QLatin1String(Usage));
        }
    }
    if (out.Raw.isEmpty())
        return QStringLiteral("no recording file; usage: orvi-cli %1").arg(QLatin1String(Usage));
    if (haveStart != haveStop)
        return QStringLiteral("--start and --stop go together");
    if (out.Start >= out.Stop)
        return QStringLiteral("--start (%1) must be below --stop (%2)")
            .arg(out.Start)
            .arg(out.Stop);
    return {};
}

// Writes the points; false when stdout refused them.
bool PrintPoints(const std::vector<TPolarSample> &points)
{
    std::string text;
    constexpr size_t FlushBytes = 1 << 16;
    char line[64];
    for (const TPolarSample &p : points) {
        const int length = std::snprintf(line, sizeof line, "%.17g,%.17g\n", p.Angle, p.Level);
        text.append(line, size_t(length));
        if (text.size() >= FlushBytes) {
            std::fwrite(text.data(), 1, text.size(), stdout);
            text.clear();
        }
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

int RunLevels(const QStringList &args)
{
    TLevelsArgs parsed;
    const QString error = ParseArgs(args, parsed);
    if (!error.isEmpty())
        return Fail(error);
    std::vector<double> levels;
    try {
        TLevelComputation computation;
        levels = computation.Compute(parsed.Raw, parsed.BlockBytes);
    } catch (const EInOutError &e) {
        return Fail(e.Message());
    }
    if (!PrintPoints(TLevelComputation::MeasuredPoints(levels, parsed.Start, parsed.Stop)))
        return Fail(QStringLiteral("cannot write the points to standard output"));
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("levels", Usage, &RunLevels);
