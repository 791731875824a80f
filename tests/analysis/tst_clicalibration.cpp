// orvi-cli with a microphone's calibration: --mic-cal takes the microphone's response off every
// FRD file, --sensitivity makes the levels dB SPL, both are kept with the measurement so the
// saved document gives the same files again; bad input writes nothing.

#include "analysis/FrdFile.h"
#include "controls/FileWriter.h"
#include "helpers/IsolatedCli.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// The tilt the test's calibration file describes: 0 dB up to 200 Hz, then 3 dB per octave up
// to +12 dB at 3.2 kHz, held above.
double TiltDb(double hz)
{
    return std::clamp(3.0 * std::log2(hz / 200.0), 0.0, 12.0);
}

constexpr char TiltFile[] = "\"Sens Factor =-.7716dB, AGain =18dB, SERNO: 7001234\"\n"
                            "* Freq(Hz)\tSPL(dB)\tPhase(degrees)\n"
                            "200\t0\t0\n"
                            "800, 6, 0\n"
                            "3200 12\n";

TRun RunCli(const QStringList &args, const QTemporaryDir &dir)
{
    return RunIsolatedCli(args, dir.path());
}

const QStringList Quick { "measure", "--simulate",    "--range", "-30",     "30",  "--signal",
                          "MLS",     "--play-buffer", "16384",   "--bands", "1000" };

std::vector<TFrequencyPoint> Points(const QString &path, QByteArray *text = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (text)
        *text = bytes;
    return TFrdFile::Parse(bytes).value_or(std::vector<TFrequencyPoint> {});
}

QString KeptRecording(const TRun &run)
{
    return run.Out.section(QStringLiteral("recording kept: "), 1).section(u'\n', 0, 0);
}

} // namespace

class TestCliCalibration : public QObject
{
    Q_OBJECT

private slots:
    void frdFilesFollowTheCalibration_data();
    void frdFilesFollowTheCalibration();
    void badInputWritesNothing_data();
    void badInputWritesNothing();
};

void TestCliCalibration::frdFilesFollowTheCalibration_data()
{
    QTest::addColumn<bool>("file");
    QTest::addColumn<QString>("sensitivity"); // empty: none
    QTest::newRow("file") << true << QString();
    QTest::newRow("sensitivity") << false << QStringLiteral("-30");
    QTest::newRow("file and sensitivity") << true << QStringLiteral("-42.5");
}

void TestCliCalibration::frdFilesFollowTheCalibration()
{
    QFETCH(bool, file);
    QFETCH(QString, sensitivity);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("ref") && QDir(dir.path()).mkpath("cal")
            && QDir(dir.path()).mkpath("again") && QDir(dir.path()).mkpath("gone"));
    const QString micFile = dir.filePath("mic 7001234.txt");
    QVERIFY(TFileWriter::WriteFile(micFile, TiltFile));
    TRun run = RunCli(Quick + QStringList { "--frd", "ref", "m.OvK" }, dir);
    QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
    QStringList calibration;
    if (file)
        calibration << "--mic-cal" << micFile;
    if (!sensitivity.isEmpty())
        calibration << "--sensitivity" << sensitivity;
    run = RunCli(QStringList { "analyse", KeptRecording(run), "--bands", "1000", "--frd", "cal" }
                     + calibration + QStringList { "c.OvK" },
                 dir);
    QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));

    const double shift = sensitivity.isEmpty() ? 0.0 : 94.0 - sensitivity.toDouble();
    const QStringList names = QDir(dir.filePath("ref")).entryList(QDir::Files);
    QCOMPARE(names.size(), 7); // -30° .. 30°
    for (const QString &name : names) {
        QByteArray text;
        const std::vector<TFrequencyPoint> ref = Points(dir.filePath("ref/" + name));
        const std::vector<TFrequencyPoint> cal = Points(dir.filePath("cal/" + name), &text);
        QCOMPARE(cal.size(), ref.size());
        QVERIFY(ref.size() > 100 && ref.front().FrequencyHz < 200 && ref.back().FrequencyHz > 3200);
        // Exactly minus the microphone's response, plus what the sensitivity adds.
        for (size_t k = 0; k < ref.size(); ++k) {
            const double expected = (file ? -TiltDb(ref[k].FrequencyHz) : 0.0) + shift;
            QVERIFY2(std::abs(cal[k].LevelDb - ref[k].LevelDb - expected) <= 0.01,
                     qPrintable(QStringLiteral("%1 at %2 Hz").arg(name).arg(ref[k].FrequencyHz)));
        }
        QVERIFY(text.startsWith("* Kalibracja: "));
        QCOMPARE(text.contains("mic 7001234.txt"), file);
        QCOMPARE(text.contains("Sens Factor -0.772 dB"), file);
        QCOMPARE(text.contains(" dBFS przy 94 dB SPL"), !sensitivity.isEmpty());
    }
    // On axis at 1 kHz the simulator's piston is 12 dB below full scale.
    for (const TFrequencyPoint &p : Points(dir.filePath("cal/Pomiar 1 hor 0.frd")))
        if (std::abs(p.FrequencyHz - 1000) < 15)
            QVERIFY2(std::abs(p.LevelDb - (-12.0 - (file ? TiltDb(p.FrequencyHz) : 0) + shift))
                         < 0.1,
                     qPrintable(QString::number(p.LevelDb)));

    // The saved document gives the same files; without the microphone's file, the files lose
    // its correction and the user is told.
    run = RunCli({ "frd", "c.OvK", "again" }, dir);
    QVERIFY2(run.Status == 0 && run.Err.isEmpty(), qPrintable(run.Err.join(u'\n')));
    for (const QString &name : names)
        QCOMPARE(Points(dir.filePath("again/" + name)).size(),
                 Points(dir.filePath("cal/" + name)).size());
    QVERIFY(QFile::remove(micFile));
    run = RunCli({ "frd", "c.OvK", "gone" }, dir);
    QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
    QCOMPARE(run.Err.size(), file ? 1 : 0);
    const std::vector<TFrequencyPoint> gone = Points(dir.filePath("gone/Pomiar 1 hor 0.frd"));
    const std::vector<TFrequencyPoint> ref = Points(dir.filePath("ref/Pomiar 1 hor 0.frd"));
    QCOMPARE(gone.size(), ref.size());
    for (size_t k = 0; k < ref.size(); ++k)
        QVERIFY(std::abs(gone[k].LevelDb - ref[k].LevelDb - shift) <= 0.01);
}

void TestCliCalibration::badInputWritesNothing_data()
{
    QTest::addColumn<QByteArray>("fileText"); // empty: no file
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("words");
    const QStringList cal { "--bands", "1000", "--mic-cal", "mic.txt" };
    QTest::newRow("not numbers") << QByteArray("100 0\nabc 1\n") << cal << "wiersz 2";
    QTest::newRow("not rising") << QByteArray("100 0\n100 1\n") << cal << "mic.txt";
    QTest::newRow("one row") << QByteArray("* one\n100 0\n") << cal << "mic.txt";
    QTest::newRow("binary") << QByteArray("100 0\n\0\0\0 1\n", 12) << cal << "mic.txt";
    QTest::newRow("missing") << QByteArray() << cal << "mic.txt";
    QTest::newRow("without --bands")
        << QByteArray("100 0\n200 1\n") << QStringList { "--mic-cal", "mic.txt" } << "--bands";
    QTest::newRow("sensitivity not a number")
        << QByteArray() << QStringList { "--bands", "1000", "--sensitivity", "x" }
        << "--sensitivity";
    QTest::newRow("sensitivity out of range")
        << QByteArray() << QStringList { "--bands", "1000", "--sensitivity", "-500" }
        << "--sensitivity";
}

void TestCliCalibration::badInputWritesNothing()
{
    QFETCH(QByteArray, fileText);
    QFETCH(QStringList, options);
    QFETCH(QString, words);
    QTemporaryDir dir;
    if (!fileText.isEmpty())
        QVERIFY(TFileWriter::WriteFile(dir.filePath("mic.txt"), fileText));
    const TRun run
        = RunCli(Quick.mid(0, Quick.size() - 2) + options + QStringList { "m.OvK" }, dir);
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Err.size(), 1);
    QVERIFY2(run.Err.front().startsWith("orvi-cli measure: ") && run.Err.front().contains(words),
             qPrintable(run.Err.front()));
    QVERIFY(!QFile::exists(dir.filePath("m.OvK")));
    QVERIFY(!QFile::exists(dir.filePath("m.pomiary")));
}

QTEST_GUILESS_MAIN(TestCliCalibration)
#include "tst_clicalibration.moc"
