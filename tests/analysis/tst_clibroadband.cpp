// orvi-cli measure --bands and orvi-cli analyse on the simulated rig: the band polars and the
// FRD files against the analytic directivity of the simulated loudspeaker (a rigid circular
// piston, 0.1 m) in a room with a -6 dB reflection 3 ms after the direct sound, and the
// command-line rules.

#include "analysis/FrdFile.h"
#include "analysis/MarkerLog.h"
#include "analysis/RecordingArchive.h"
#include "audio/SimulatedLoudspeaker.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/OvkFile.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

struct TRun
{
    int Status = -1;
    QByteArray Out;
    QByteArray Err;
};

TRun RunCli(const QStringList &args, const QString &workDir)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), workDir); // settings of its own
    env.insert(QStringLiteral("XDG_DATA_HOME"), workDir); // the working folder's default
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(ORVI_CLI_PATH), args);
    if (!p.waitForFinished(300000))
        p.kill();
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
             p.readAllStandardError() };
}

double PistonDb(double f, double thetaDeg)
{
    return 20
        * std::log10(
               std::max(std::abs(TSimulatedLoudspeaker::PistonResponse(f, 0.1, thetaDeg)), 1e-12));
}

// RMS difference (dB) between the points and the piston curve turned by shiftDeg, where the
// curve is above -20 dB.
double RmsError(const std::vector<TPolarSample> &points, double f, double shiftDeg)
{
    double sum = 0;
    int n = 0;
    for (const TPolarSample &p : points) {
        const double expected = PistonDb(f, p.Angle - shiftDeg);
        if (expected > -20) {
            sum += (p.Level - expected) * (p.Level - expected);
            ++n;
        }
    }
    return n > 0 ? std::sqrt(sum / n) : 1e9;
}

// The turn of the analytic curve (degrees, 0.02° steps within ±2°) that fits best.
double BestShift(const std::vector<TPolarSample> &points, double f)
{
    double best = 0;
    for (double s = -2; s <= 2; s += 0.02)
        if (RmsError(points, f, s) < RmsError(points, f, best))
            best = s;
    return best;
}

std::optional<std::vector<TFrequencyPoint>> ReadFrd(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return TFrdFile::Parse(file.readAll());
}

double LevelAt(const std::vector<TFrequencyPoint> &points, double f)
{
    // Linear between the two points around f, in log frequency.
    for (size_t i = 1; i < points.size(); ++i) {
        if (points[i].FrequencyHz >= f) {
            const TFrequencyPoint &a = points[i - 1];
            const TFrequencyPoint &b = points[i];
            const double t = std::log(f / a.FrequencyHz) / std::log(b.FrequencyHz / a.FrequencyHz);
            return a.LevelDb + t * (b.LevelDb - a.LevelDb);
        }
    }
    return NAN;
}

const QStringList RigArgs = { QStringLiteral("measure"), QStringLiteral("--simulate"),
                              QStringLiteral("--full"),  QStringLiteral("--signal"),
                              QStringLiteral("MLS"),     QStringLiteral("--play-buffer"),
                              QStringLiteral("16384"),   QStringLiteral("--radius"),
                              QStringLiteral("0.1"),     QStringLiteral("--reflection-ms"),
                              QStringLiteral("3"),       QStringLiteral("--reflection-db"),
                              QStringLiteral("-6") };

} // namespace

class TestCliBroadband : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void bandPolarsMatchThePiston_data();
    void bandPolarsMatchThePiston();
    void frdFilesHoldThePistonsOffAxisDrop();
    void analyseOfTheKeptRecordingGivesTheSameBands();
    void refusals_data();
    void refusals();
    void grblTableFramesFollowItsReportedPositions();

private:
    QTemporaryDir m_dir;
    TPolarGraph m_chart;
    QString m_kept;
};

void TestCliBroadband::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("frd")));
    const TRun run = RunCli(
        RigArgs
            + QStringList { QStringLiteral("--bands"), QStringLiteral("1000,2000,4000,8000"),
                            QStringLiteral("--frd"), QStringLiteral("frd"), QStringLiteral("--map"),
                            QStringLiteral("map.svg"), QStringLiteral("out.OvK") },
        m_dir.path());
    QVERIFY2(run.Status == 0, run.Err.constData());
    const QString out = QString::fromUtf8(run.Out);
    qInfo().noquote() << out;
    const qsizetype kept = out.indexOf(QLatin1String("recording kept: "));
    QVERIFY(kept >= 0);
    m_kept = out.mid(kept + 16).section(QLatin1Char('\n'), 0, 0);
    QVERIFY(QFile::exists(m_kept));
    QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("map.svg"))));
    TOvkFile file(&m_chart, m_dir.filePath(QStringLiteral("out.OvK")));
    QVERIFY(file.Load());
    QCOMPARE(m_chart.SeriesCount(), 5);
}

void TestCliBroadband::bandPolarsMatchThePiston_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<double>("frequency");
    QTest::newRow("1 kHz") << 1 << 1000.0;
    QTest::newRow("2 kHz") << 2 << 2000.0;
    QTest::newRow("4 kHz") << 3 << 4000.0;
    QTest::newRow("8 kHz") << 4 << 8000.0;
}

void TestCliBroadband::bandPolarsMatchThePiston()
{
    QFETCH(int, number);
    QFETCH(double, frequency);
    QVERIFY(m_chart.HasSeries(number));
    TSeries *band = m_chart.GetSeries(number);
    QCOMPARE(band->Name, QStringLiteral("Pomiar 1 %1 Hz").arg(frequency));
    const std::vector<TPolarSample> &points = band->Points();
    QVERIFY(points.size() > 1500);
    const double rms = RmsError(points, frequency, 0.0);
    const double shift = BestShift(points, frequency);
    qInfo("%g Hz: %.4f dB RMS, best-fitting turn %.2f°", frequency, rms, shift);
    QVERIFY(rms < 0.25);
    QVERIFY(std::abs(shift) <= 0.5);
}

void TestCliBroadband::frdFilesHoldThePistonsOffAxisDrop()
{
    const QDir frd(m_dir.filePath(QStringLiteral("frd")));
    QCOMPARE(frd.entryList({ QStringLiteral("*.frd") }).size(), 36);
    const auto front = ReadFrd(frd.filePath(QStringLiteral("Pomiar 1 hor 0.frd")));
    const auto side = ReadFrd(frd.filePath(QStringLiteral("Pomiar 1 hor 90.frd")));
    const auto back = ReadFrd(frd.filePath(QStringLiteral("Pomiar 1 hor -170.frd")));
    QVERIFY(front && side && back);
    QVERIFY(front->size() > 100);
    for (size_t i = 1; i < front->size(); ++i)
        QVERIFY((*front)[i].FrequencyHz > (*front)[i - 1].FrequencyHz);
    const double drop = LevelAt(*side, 1000) - LevelAt(*front, 1000);
    qInfo("FRD 90° - 0° at 1 kHz: %.4f dB (piston %.4f dB)", drop, PistonDb(1000, 90));
    QVERIFY(std::abs(drop - PistonDb(1000, 90)) < 0.25);
}

void TestCliBroadband::analyseOfTheKeptRecordingGivesTheSameBands()
{
    const TRun run = RunCli({ QStringLiteral("analyse"), m_kept, QStringLiteral("--bands"),
                              QStringLiteral("2000,8000"), QStringLiteral("--smoothing"),
                              QStringLiteral("1/3"), QStringLiteral("again.OvK") },
                            m_dir.path());
    QVERIFY2(run.Status == 0, run.Err.constData());
    TPolarGraph chart;
    TOvkFile file(&chart, m_dir.filePath(QStringLiteral("again.OvK")));
    QVERIFY(file.Load());
    QCOMPARE(chart.SeriesCount(), 3); // the level series and two bands
    // Smoothed over a third of an octave, the 2 kHz polar still follows the piston closely
    // (its lobe changes little within the band).
    const std::vector<TPolarSample> &smoothed = chart.GetSeries(1)->Points();
    QCOMPARE(smoothed.size(), m_chart.GetSeries(2)->Points().size());
    QVERIFY(RmsError(smoothed, 2000, 0.0) < 0.5);
    // Unsmoothed, the kept recording gives the measurement's own band exactly.
    const TRun plain = RunCli({ QStringLiteral("analyse"), m_kept, QStringLiteral("--bands"),
                                QStringLiteral("8000"), QStringLiteral("plain.OvK") },
                              m_dir.path());
    QVERIFY2(plain.Status == 0, plain.Err.constData());
    TPolarGraph again;
    TOvkFile plainFile(&again, m_dir.filePath(QStringLiteral("plain.OvK")));
    QVERIFY(plainFile.Load());
    const std::vector<TPolarSample> &a = again.GetSeries(1)->Points();
    const std::vector<TPolarSample> &b = m_chart.GetSeries(4)->Points();
    QCOMPARE(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        QCOMPARE(a[i].Angle, b[i].Angle);
        QVERIFY(std::abs(a[i].Level - b[i].Level) < 1e-3);
    }
}

void TestCliBroadband::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("Sinus") << QStringList { QStringLiteral("--signal"), QStringLiteral("Sinus") };
    QTest::newRow("Impuls") << QStringList { QStringLiteral("--signal"), QStringLiteral("Impuls") };
    QTest::newRow("Chirp below the bands")
        << QStringList { QStringLiteral("--signal"), QStringLiteral("Chirp"),
                         QStringLiteral("--freq"), QStringLiteral("4000") };
    QTest::newRow("bad bands") << QStringList { QStringLiteral("--bands"),
                                                QStringLiteral("2000,1000") };
    QTest::newRow("unreadable bands")
        << QStringList { QStringLiteral("--bands"), QStringLiteral("x") };
    // 8000 Hz is half of 16 kHz: the recording holds nothing there.
    QTest::newRow("band at half the rate")
        << QStringList { QStringLiteral("--signal"),      QStringLiteral("MLS"),
                         QStringLiteral("--play-buffer"), QStringLiteral("16384"),
                         QStringLiteral("--rate"),        QStringLiteral("16000") };
}

void TestCliBroadband::refusals()
{
    QFETCH(QStringList, args);
    QStringList all
        = { QStringLiteral("measure"), QStringLiteral("--simulate"), QStringLiteral("--full"),
            QStringLiteral("--bands"), QStringLiteral("1000,8000") };
    all << args << QStringLiteral("refused.OvK");
    const TRun run = RunCli(all, m_dir.path());
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Err.count('\n'), 1);
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("refused.OvK"))));
}

// The same measurement turned by the emulated Grbl board: the kept log holds the board's
// reported positions, the frames are placed from them, and the 8 kHz polar lies on the
// piston's as closely as on the parallel-port table.
void TestCliBroadband::grblTableFramesFollowItsReportedPositions()
{
    QStringList args = RigArgs;
    args[1] = QStringLiteral("--simulate-grbl");
    const TRun run = RunCli(args
                                + QStringList { QStringLiteral("--bands"),
                                                QStringLiteral("1000,2000,4000,8000"),
                                                QStringLiteral("grbl.OvK") },
                            m_dir.path());
    QVERIFY2(run.Status == 0, run.Err.constData());
    const QString out = QString::fromUtf8(run.Out);
    const QString kept = out.section(QStringLiteral("recording kept: "), 1).section(u'\n', 0, 0);
    QString error;
    const std::optional<TMarkerLog> log
        = TRecordingArchive::ReadLog(TMarkerLog::PathFor(kept), &error);
    QVERIFY2(log, qPrintable(error));
    // A report every 50 ms through the 80 s turn.
    QVERIFY2(log->Positions.size() > 1550, qPrintable(QString::number(log->Positions.size())));

    TPolarGraph chart;
    TOvkFile file(&chart, m_dir.filePath(QStringLiteral("grbl.OvK")));
    QVERIFY(file.Load());
    QCOMPARE(chart.SeriesCount(), 5);
    const std::vector<TPolarSample> &points = chart.GetSeries(4)->Points();
    const double rms = RmsError(points, 8000.0, 0.0);
    const double shift = BestShift(points, 8000.0);
    qInfo("Grbl, 8000 Hz: %.4f dB RMS, best-fitting turn %.2f°", rms, shift);
    QVERIFY(rms < 0.1);
    QVERIFY(std::abs(shift) <= 0.1);
}

QTEST_MAIN(TestCliBroadband)
#include "tst_clibroadband.moc"
