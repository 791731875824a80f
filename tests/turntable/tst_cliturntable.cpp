// "orvi-cli turntable": the event lines of a move on the simulated controller and the exit
// status for good moves, invalid ranges and bad arguments.

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace {

struct TCliRun
{
    int ExitCode = -1;
    QStringList Lines;
    QString Errors;
};

TCliRun RunCli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(ORVI_CLI_PATH), QStringList { "turntable" } + args);
    TCliRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.ExitCode = process.exitCode();
    run.Lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.Errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList Matching(const QStringList &lines, const QString &kind)
{
    QStringList found;
    for (const QString &line : lines)
        if (line.section(' ', 1, 1) == kind)
            found << line.section(' ', 2);
    return found;
}

} // namespace

class TstCliTurntable : public QObject
{
    Q_OBJECT

private slots:
    void moves_data();
    void moves();
    void failures_data();
    void failures();
    void grblRange();
};

void TstCliTurntable::moves_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("pulses");
    QTest::addColumn<int>("markers");
    QTest::addColumn<QString>("lastProgress");
    QTest::newRow("full") << QStringList { "--simulate", "--full" }
                          << QStringList { "reset", "forward", "stop" } << 36 << "97";
    QTest::newRow("range -90 90, fast table")
        << QStringList { "--simulate", "--range", "-90", "90", "--turn-seconds", "40" }
        << QStringList { "reset", "backward", "stop", "forward", "stop" } << 27 << "94";
    QTest::newRow("step 5") << QStringList { "--simulate", "--step", "5" }
                            << QStringList { "forward", "stop" } << 0 << "";
    QTest::newRow("step -30 turns back") << QStringList { "--simulate", "--step", "-30" }
                                         << QStringList { "backward", "stop" } << 3 << "";
    QTest::newRow("reset") << QStringList { "--simulate", "--reset" } << QStringList { "reset" }
                           << 0 << "";
}

void TstCliTurntable::moves()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, pulses);
    QFETCH(int, markers);
    QFETCH(QString, lastProgress);
    const TCliRun run = RunCli(args);
    QCOMPARE(run.ExitCode, 0);
    static const QRegularExpression line(
        "^\\d+ (pulse (forward|backward|stop|reset)|marker \\d+|message 10[534]|"
        "progress \\d+|state [0-4])$");
    qint64 previous = -1;
    for (const QString &l : run.Lines) {
        QVERIFY2(line.match(l).hasMatch(), qPrintable(l));
        const qint64 ms = l.section(' ', 0, 0).toLongLong();
        QVERIFY(ms >= previous); // time in virtual ms, never going back
        previous = ms;
    }
    QCOMPARE(Matching(run.Lines, "pulse"), pulses);
    QCOMPARE(Matching(run.Lines, "marker").size(), markers);
    const QStringList progress = Matching(run.Lines, "progress");
    QCOMPARE(progress.isEmpty() ? QString() : progress.last(), lastProgress);
    for (qsizetype i = 1; i < progress.size(); ++i)
        QVERIFY(progress[i] != progress[i - 1]); // only changes are printed
    QCOMPARE(Matching(run.Lines, "state").last(), QString("3"));
}

void TstCliTurntable::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("output");
    QTest::newRow("invalid range") << QStringList { "--simulate", "--range", "90", "30" }
                                   << QString::fromUtf8("0 error Nieprawidłowy przedział");
    QTest::newRow("no move") << QStringList { "--simulate" } << "";
    QTest::newRow("two moves") << QStringList { "--simulate", "--full", "--reset" } << "";
    QTest::newRow("hardware") << QStringList { "--full" } << "";
    QTest::newRow("bad number") << QStringList { "--simulate", "--step", "x" } << "";
    // Extreme values would overflow the degree arithmetic or never finish.
    QTest::newRow("huge step") << QStringList { "--simulate", "--step", "-2147483648" } << "";
    QTest::newRow("huge range") << QStringList { "--simulate", "--range", "-2147483648",
                                                 "2147483647" }
                                << "";
    QTest::newRow("huge dead time")
        << QStringList { "--simulate", "--full", "--dead-time", "2147483647" } << "";
    QTest::newRow("bad speed") << QStringList { "--simulate", "--full", "--turn-seconds", "0" }
                               << "";
    QTest::newRow("unknown") << QStringList { "--simulate", "--full", "--fast" } << "";
    QTest::newRow("two tables") << QStringList { "--simulate", "--simulate-grbl", "--full" } << "";
    QTest::newRow("no Grbl board there")
        << QStringList { "--grbl", "/nonexistent/ttyACM0", "--full" } << "";
}

void TstCliTurntable::failures()
{
    QFETCH(QStringList, args);
    QFETCH(QString, output);
    const TCliRun run = RunCli(args);
    QCOMPARE(run.ExitCode, 1);
    if (output.isEmpty()) {
        QVERIFY(run.Lines.isEmpty());
        QVERIFY2(run.Errors.startsWith("orvi-cli turntable: ") && run.Errors.count(u'\n') == 1,
                 qPrintable(run.Errors));
    } else {
        QCOMPARE(run.Lines.first(), output);
        QVERIFY(Matching(run.Lines, "pulse").isEmpty());
    }
}

// The emulated Grbl board: the range run's messages in order, a position for every report,
// rising over the range, and the recording's ends where the positions reach start and stop.
void TstCliTurntable::grblRange()
{
    const TCliRun run
        = RunCli({ "--simulate-grbl", "--range", "-30", "30", "--turn-seconds", "40" });
    QVERIFY2(run.ExitCode == 0, qPrintable(run.Errors));
    QStringList messages = Matching(run.Lines, "message");
    QCOMPARE(messages, (QStringList { "105", "103", "104" }));
    qint64 appendMs = -1, stopMs = -1;
    double last = -1e9;
    int reports = 0;
    for (const QString &line : run.Lines) {
        const qint64 ms = line.section(' ', 0, 0).toLongLong();
        if (line.endsWith(" message 103"))
            appendMs = ms;
        if (line.endsWith(" message 104"))
            stopMs = ms;
        if (line.section(' ', 1, 1) == QLatin1String("position") && appendMs >= 0 && stopMs < 0) {
            const double degrees = line.section(' ', 2).toDouble();
            QVERIFY2(degrees >= last && degrees >= -30.0 && degrees <= 30.0, qPrintable(line));
            last = degrees;
            ++reports;
        }
    }
    // 60° at 9°/s, a report every 50 ms.
    QVERIFY2(qAbs((stopMs - appendMs) - 60.0 / 9.0 * 1000) <= 2,
             qPrintable(QString::number(stopMs - appendMs)));
    QVERIFY2(reports >= 130 && reports <= 135, qPrintable(QString::number(reports)));
    QVERIFY(Matching(run.Lines, "marker").size() >= 6 + 3);
}

QTEST_MAIN(TstCliTurntable)
#include "tst_cliturntable.moc"
