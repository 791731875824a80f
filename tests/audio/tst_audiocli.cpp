// orvi-cli devices / play / record on the simulated (loopback) sound device.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestAudioCli : public QObject
{
    Q_OBJECT

private:
    struct TRun
    {
        int Exit = -1;
        QString Out;
        QString Err;
    };

    static TRun Run(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral(ORVI_CLI_PATH), args);
        TRun r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.Exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.Out = QString::fromUtf8(p.readAllStandardOutput());
        r.Err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

private slots:
    void devicesListsBothDirections()
    {
        const TRun r = Run({ QStringLiteral("devices"), QStringLiteral("--simulate") });
        QCOMPARE(r.Exit, 0);
        QVERIFY(r.Out.contains(QLatin1String("backend: loopback")));
        const qsizetype outAt = r.Out.indexOf(QLatin1String("output devices:"));
        const qsizetype inAt = r.Out.indexOf(QLatin1String("input devices:"));
        QVERIFY(outAt >= 0 && inAt > outAt);
        QVERIFY(r.Out.mid(outAt, inAt - outAt).contains(QLatin1String("  0: ")));
        QVERIFY(r.Out.mid(inAt).contains(QLatin1String("  0: ")));
    }

    void playPlaysExactlyTheAskedLength()
    {
        const TRun r
            = Run({ QStringLiteral("play"), QStringLiteral("--simulate"),
                    QStringLiteral("--signal"), QStringLiteral("Sinus"), QStringLiteral("--freq"),
                    QStringLiteral("1000"), QStringLiteral("--amp"), QStringLiteral("50"),
                    QStringLiteral("--seconds"), QStringLiteral("0.3") });
        QCOMPARE(r.Exit, 0);
        QVERIFY2(r.Out.contains(QLatin1String("played 13230 samples at 44100 Hz")),
                 qPrintable(r.Out));
        QVERIFY(QRegularExpression(QStringLiteral("underruns \\d+, overruns \\d+"))
                    .match(r.Out)
                    .hasMatch());
    }

    void recordWritesWholeBuffers()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("rec.raw"));
        const TRun r = Run({ QStringLiteral("record"), QStringLiteral("--simulate"),
                             QStringLiteral("--seconds"), QStringLiteral("0.25"), file });
        QCOMPARE(r.Exit, 0);
        // 0.25 s at 44100 Hz, 16-bit: 22050 bytes, written as whole 8192-byte buffers.
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        QCOMPARE(data.size(), qsizetype(3 * 8192));
        QCOMPARE(data.count('\0'), data.size()); // nothing played: silence
        QVERIFY(r.Out.contains(QLatin1String("recorded 24576 bytes")));
        QVERIFY(QRegularExpression(QStringLiteral("underruns \\d+, overruns \\d+"))
                    .match(r.Out)
                    .hasMatch());
    }

    void badArgumentsFail_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("prefix");
        const QString play = QStringLiteral("orvi-cli play: ");
        const QString record = QStringLiteral("orvi-cli record: ");
        QTest::newRow("no signal")
            << QStringList { "play", "--freq", "1000", "--amp", "50", "--seconds", "1" } << play;
        QTest::newRow("unknown signal")
            << QStringList { "play",  "--signal", "Sine",      "--freq", "1000",
                             "--amp", "50",       "--seconds", "1" }
            << play;
        QTest::newRow("amp above 100")
            << QStringList { "play",  "--signal", "Sinus",     "--freq", "1000",
                             "--amp", "101",      "--seconds", "1" }
            << play;
        QTest::newRow("zero freq") << QStringList { "play",  "--signal", "Sinus",     "--freq", "0",
                                                    "--amp", "50",       "--seconds", "1" }
                                   << play;
        QTest::newRow("negative seconds")
            << QStringList { "record", "--seconds", "-1", "x.raw" } << record;
        QTest::newRow("no file") << QStringList { "record", "--seconds", "1" } << record;
        QTest::newRow("unknown option")
            << QStringList { "record", "--loud", "1", "x.raw" } << record;
        QTest::newRow("bad device")
            << QStringList { "record", "--simulate", "--device", "abc", "--seconds", "1", "x.raw" }
            << record;
        QTest::newRow("missing device")
            << QStringList { "record", "--simulate", "--device", "3", "--seconds", "1", "x.raw" }
            << record;
    }
    void badArgumentsFail()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, prefix);
        QTemporaryDir dir;
        QDir::setCurrent(dir.path());
        const TRun r = Run(args);
        QCOMPARE(r.Exit, 1);
        QVERIFY2(r.Err.contains(prefix), qPrintable(r.Err));
        QVERIFY(r.Out.isEmpty());
    }
};

QTEST_MAIN(TestAudioCli)
#include "tst_audiocli.moc"
