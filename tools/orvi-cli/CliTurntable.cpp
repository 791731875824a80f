// orvi-cli turntable: runs one move of the turntable logic against the simulated controller
// on a virtual clock, or of a Grbl table (a board on a serial port on the real clock, or the
// emulated board on a virtual one), and prints what happens, one event per line, time in ms.

#include "CliCommand.h"

#include "controls/VirtualClock.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/GrblEmulator.h"
#include "turntable/GrblTable.h"
#include "turntable/PortBackends.h"
#include "turntable/SimulatedController.h"
#include "turntable/TurntableController.h"

#include <cmath>
#include <memory>

namespace {

enum class EMove { None, Range, Full, Step, Reset };

struct TTurntableArgs
{
    EMove Move = EMove::None;
    int Start = 0;
    int Stop = 0;
    int Step = 0;
    int DeadTimeMs = 1000;
    int TurnMs = TSimulatedController::DefaultTurnMs;
    QString GrblPort; // --grbl DEVICE
    bool SimulateGrbl = false;
};

// Angles beyond ten turns either way are refused: they would overflow the degree
// arithmetic or keep the virtual table turning for practically ever.
constexpr int MaxAngle = 3600; // degrees
// Far above anything the options dialog offers (0..2000 ms), still a finite run.
constexpr int MaxDeadTimeMs = 60000;

bool ParseInt(const QString &text, int &value, int minimum, int maximum)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= minimum && value <= maximum;
}

// False (after a message on stderr) on anything it does not understand.
bool ParseArgs(const QStringList &args, TTurntableArgs &out)
{
    bool simulate = false;
    auto setMove = [&](EMove move) {
        if (out.Move != EMove::None) {
            CliError(
                QStringLiteral("orvi-cli turntable: give exactly one of --range, --full, --step, "
                               "--reset"));
            return false;
        }
        out.Move = move;
        return true;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        auto next = [&](QString &value) {
            if (i + 1 >= args.size()) {
                CliError(QStringLiteral("orvi-cli turntable: %1 needs a value").arg(a));
                return false;
            }
            value = args.at(++i);
            return true;
        };
        QString v1, v2;
        if (a == QLatin1String("--simulate")) {
            simulate = true;
        } else if (a == QLatin1String("--simulate-grbl")) {
            out.SimulateGrbl = true;
        } else if (a == QLatin1String("--grbl")) {
            if (!next(out.GrblPort))
                return false;
        } else if (a == QLatin1String("--range")) {
            if (!setMove(EMove::Range) || !next(v1) || !next(v2))
                return false;
            if (!ParseInt(v1, out.Start, -MaxAngle, MaxAngle)
                || !ParseInt(v2, out.Stop, -MaxAngle, MaxAngle)) {
                CliError(QStringLiteral("orvi-cli turntable: --range needs two whole degrees "
                                        "-%1..%1")
                             .arg(MaxAngle));
                return false;
            }
        } else if (a == QLatin1String("--full")) {
            if (!setMove(EMove::Full))
                return false;
        } else if (a == QLatin1String("--step")) {
            if (!setMove(EMove::Step) || !next(v1))
                return false;
            if (!ParseInt(v1, out.Step, -MaxAngle, MaxAngle)) {
                CliError(QStringLiteral("orvi-cli turntable: --step needs whole degrees -%1..%1")
                             .arg(MaxAngle));
                return false;
            }
        } else if (a == QLatin1String("--reset")) {
            if (!setMove(EMove::Reset))
                return false;
        } else if (a == QLatin1String("--dead-time")) {
            if (!next(v1))
                return false;
            if (!ParseInt(v1, out.DeadTimeMs, 0, MaxDeadTimeMs)) {
                CliError(QStringLiteral("orvi-cli turntable: --dead-time needs milliseconds 0..%1")
                             .arg(MaxDeadTimeMs));
                return false;
            }
        } else if (a == QLatin1String("--turn-seconds")) {
            if (!next(v1))
                return false;
            bool ok = false;
            const double seconds = v1.toDouble(&ok);
            if (!ok || !std::isfinite(seconds) || seconds < 1 || seconds > 86400) {
                CliError(
                    QStringLiteral("orvi-cli turntable: --turn-seconds needs 1..86400 seconds"));
                return false;
            }
            out.TurnMs = int(std::lround(seconds * 1000));
        } else {
            CliError(QStringLiteral("orvi-cli turntable: unknown argument \"%1\"").arg(a));
            return false;
        }
    }
    if (int(simulate) + int(out.SimulateGrbl) + int(!out.GrblPort.isEmpty()) != 1) {
        CliError(QStringLiteral("orvi-cli turntable: give one table: --simulate (the simulated "
                                "parallel-port controller), --grbl DEVICE or --simulate-grbl"));
        return false;
    }
    if (out.Move == EMove::None) {
        CliError(
            QStringLiteral("orvi-cli turntable: give one of --range, --full, --step, --reset"));
        return false;
    }
    return true;
}

const char *PulseName(int pin)
{
    switch (pin) {
    case TTurntableController::PinForward:
        return "forward";
    case TTurntableController::PinBackward:
        return "backward";
    case TTurntableController::PinStop:
        return "stop";
    case TTurntableController::PinReset:
        return "reset";
    default:
        return "other";
    }
}

// Prints the events every table has, one a line with the clock's time: markers, the range
// run's messages, its progress (each value once) and the states.
void PrintEvents(TTurntable &table, TClock &clock)
{
    auto emitLine = [&clock](const QString &text) {
        CliOut(QStringLiteral("%1 %2\n").arg(clock.NowMs()).arg(text));
    };
    QObject::connect(&table, &TTurntable::MarkAccepted, [&table, emitLine] {
        emitLine(QStringLiteral("marker %1").arg(table.MoveCounter()));
    });
    QObject::connect(&table, &TTurntable::RecordStart,
                     [emitLine] { emitLine(QStringLiteral("message 105")); });
    QObject::connect(&table, &TTurntable::RecordAppend,
                     [emitLine] { emitLine(QStringLiteral("message 103")); });
    QObject::connect(&table, &TTurntable::RecordStop,
                     [emitLine] { emitLine(QStringLiteral("message 104")); });
    auto lastProgress = std::make_shared<int>(-1);
    QObject::connect(&table, &TTurntable::RangeProgress, [emitLine, lastProgress](int percent) {
        if (percent != *lastProgress)
            emitLine(QStringLiteral("progress %1").arg(percent));
        *lastProgress = percent;
    });
    QObject::connect(&table, &TTurntable::StateChanged, [emitLine](int state, int) {
        emitLine(QStringLiteral("state %1").arg(state));
    });
}

// One move of a Grbl table; a fault ends it with one line on stderr and status 1.
int RunGrblTurntable(const TTurntableArgs &a)
{
    TVirtualClock virtualClock;
    TClock &clock = a.SimulateGrbl ? static_cast<TClock &>(virtualClock) : TClock::System();
    std::unique_ptr<TGrblEmulator> board;
    QString port = a.GrblPort;
    if (a.SimulateGrbl) {
        board = std::make_unique<TGrblEmulator>(clock);
        QString error;
        if (!board->Open(&error)) {
            CliError(QStringLiteral("orvi-cli turntable: no pseudo-terminal for the emulated "
                                    "board: %1")
                         .arg(error));
            return 1;
        }
        port = board->SlavePath();
    }
    TGrblTable table(clock);
    table.SetTurnSeconds(a.TurnMs / 1000.0);
    QString failure;
    PrintEvents(table, clock);
    QObject::connect(&table, &TGrblTable::PositionReported, [&](double degrees, qint64) {
        CliOut(QStringLiteral("%1 position %2\n").arg(clock.NowMs()).arg(degrees, 0, 'f', 3));
    });
    QObject::connect(&table, &TGrblTable::ErrorOccurred, [&](const QString &text) {
        if (failure.isEmpty())
            failure = text;
    });
    if (!table.Open(port)) {
        CliError(QStringLiteral("orvi-cli turntable: %1").arg(table.OpenFailureMessage()));
        return 1;
    }
    switch (a.Move) {
    case EMove::Range:
        table.RunRange(a.Start, a.Stop);
        break;
    case EMove::Full:
        table.RunRange(0, 360);
        break;
    case EMove::Step:
        table.Step(a.Step, a.Step < 0);
        break;
    case EMove::Reset:
        table.ResetMove();
        while (table.State() == 4)
            clock.WaitProcessing(TGrblTable::LoopSliceMs);
        break;
    case EMove::None:
        break;
    }
    std::fflush(stdout);
    if (!failure.isEmpty()) {
        CliError(QStringLiteral("orvi-cli turntable: %1").arg(failure));
        return 1;
    }
    return 0;
}

int RunTurntable(const QStringList &args)
{
    TTurntableArgs a;
    if (!ParseArgs(args, a))
        return 1;
    if (a.SimulateGrbl || !a.GrblPort.isEmpty())
        return RunGrblTurntable(a);

    TVirtualClock clock;
    std::shared_ptr<TSimulatedController> simulated;
    auto port = std::make_unique<TDLPrinterPortIO>(
        CreateSimulatedPortBackend(clock, &simulated, a.TurnMs));
    TTurntableController controller(std::move(port), clock);
    controller.SetMarkUnsensitivityTime(a.DeadTimeMs);

    bool failed = false;
    auto emitLine = [&](const QString &text) {
        CliOut(QStringLiteral("%1 %2\n").arg(clock.NowMs()).arg(text));
    };
    QObject::connect(&controller, &TTurntableController::PulseSent, [&](int pin) {
        emitLine(QStringLiteral("pulse %1").arg(QLatin1String(PulseName(pin))));
    });
    PrintEvents(controller, clock);
    QObject::connect(&controller, &TTurntableController::ErrorOccurred, [&](const QString &text) {
        failed = true;
        emitLine(QStringLiteral("error %1").arg(text));
    });

    if (!controller.Open(1)) {
        // One event a line: the warning's lines are joined.
        emitLine(QStringLiteral("error %1")
                     .arg(controller.OpenFailureMessage().replace(QLatin1String("\r\n"),
                                                                  QLatin1String("; "))));
        return 1;
    }

    switch (a.Move) {
    case EMove::Range:
        controller.RunRange(a.Start, a.Stop);
        break;
    case EMove::Full:
        controller.RunRange(0, 360);
        break;
    case EMove::Step:
        controller.Step(a.Step, a.Step < 0);
        break;
    case EMove::Reset: {
        controller.ResetMove();
        // A return to 0 takes at most one turn; wait until the state watch sees the table
        // stand again.
        const qint64 limit = clock.NowMs() + 2 * qint64(a.TurnMs);
        do {
            clock.WaitProcessing(TTurntableController::StateIntervalMs);
        } while ((controller.ShownState() != 3 || simulated->State() != 3)
                 && clock.NowMs() < limit);
        break;
    }
    case EMove::None:
        break;
    }
    // Let the state watch report the final state.
    clock.WaitProcessing(2 * TTurntableController::StateIntervalMs);
    std::fflush(stdout);
    return failed ? 1 : 0;
}

} // namespace

ORVI_CLI_COMMAND("turntable",
                 "turntable (--simulate | --grbl DEVICE | --simulate-grbl) (--range START STOP | "
                 "--full | --step DEG | --reset) [--dead-time MS] [--turn-seconds S]",
                 &RunTurntable);
