// The command-line conventions of the program and the batch tool: --version, --help and the
// usage error of orvi-cli without a command. The program answers without a display.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TRun
{
    int Status = -1;
    QString Out;
    QString Err;
};

TRun Run(const QString &program, const QStringList &args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // No display at all: a window-system connection would fail the run.
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(env);
    process.start(program, args);
    TRun run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.Status = process.exitCode();
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void versionIsOneLine_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        QTest::newRow("orvi") << QStringLiteral(ORVI_GUI_PATH) << QStringLiteral("orvi");
        QTest::newRow("orvi-cli") << QStringLiteral(ORVI_CLI_PATH) << QStringLiteral("orvi-cli");
    }

    void versionIsOneLine()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        const TRun run = Run(program, { QStringLiteral("--version") });
        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, name + QLatin1Char(' ') + QLatin1String(ORVI_VERSION) + '\n');
        QCOMPARE(run.Err, QString());
    }

    void orviHelpListsOptions()
    {
        const TRun run = Run(QStringLiteral(ORVI_GUI_PATH), { QStringLiteral("--help") });
        QCOMPARE(run.Status, 0);
        QVERIFY(run.Out.startsWith(QLatin1String("usage: orvi ")));
        for (const char *option : { "--simulate", "FILE.OvK", "--version", "--help" })
            QVERIFY2(run.Out.contains(QLatin1String(option)), option);
        QCOMPARE(run.Err, QString());
    }

    void cliWithoutCommandIsUsageError()
    {
        const TRun run = Run(QStringLiteral(ORVI_CLI_PATH), {});
        QCOMPARE(run.Status, 2);
        QCOMPARE(run.Out, QString());
        QVERIFY(run.Err.startsWith(QLatin1String("usage: orvi-cli")));
        QVERIFY(run.Err.contains(QLatin1String("export")));
    }

    void cliHelpGoesToStdout()
    {
        const TRun run = Run(QStringLiteral(ORVI_CLI_PATH), { QStringLiteral("--help") });
        QCOMPARE(run.Status, 0);
        QVERIFY(run.Out.startsWith(QLatin1String("usage: orvi-cli")));
        QCOMPARE(run.Err, QString());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
