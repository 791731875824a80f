// orvi-cli measure on the simulated rig: the measured curve against the analytic
// directivity of the simulated loudspeaker (a rigid circular piston), and the tool's rules.

#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/OvkFile.h"

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
    env.insert(QStringLiteral("XDG_DATA_HOME"), workDir); // and a working folder
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(ORVI_CLI_PATH), args);
    if (!p.waitForFinished(300000))
        p.kill();
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
             p.readAllStandardError() };
}

// |2 J1(ka sin θ) / (ka sin θ)| in dB, a = 0.1 m, c = 343 m/s.
double PistonDb(double f, double thetaDeg)
{
    const double x = 2 * M_PI * f / 343.0 * 0.1 * std::sin(thetaDeg * M_PI / 180.0);
    const double r
        = std::abs(x) < 1e-9 ? 1.0 : 2 * std::cyl_bessel_j(1.0, std::abs(x)) / std::abs(x);
    return 20 * std::log10(std::max(std::abs(r), 1e-12));
}

// RMS difference (dB) between the points and the piston curve turned by shiftDeg, where
// the curve is above -30 dB.
double RmsError(const std::vector<TPolarSample> &points, double f, double shiftDeg)
{
    double sum = 0;
    int n = 0;
    for (const TPolarSample &p : points) {
        const double expected = PistonDb(f, p.Angle - shiftDeg);
        if (expected > -30) {
            sum += (p.Level - expected) * (p.Level - expected);
            ++n;
        }
    }
    return n > 0 ? std::sqrt(sum / n) : 1e9;
}

} // namespace

class TestCliMeasure : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void fullTurnMatchesPiston_data();
    void fullTurnMatchesPiston();
    void intoExistingAppendsNextSeries();
    void badInput_data();
    void badInput();

private:
    QTemporaryDir m_dir;
};

void TestCliMeasure::fullTurnMatchesPiston_data()
{
    QTest::addColumn<double>("freq");
    QTest::addColumn<double>("limitDb"); // RMS limit
    QTest::addColumn<QString>("rig");
    QTest::addColumn<double>("offsetDeg"); // largest shift that may fit better
    QTest::newRow("1 kHz") << 1000.0 << 0.1 << "--simulate" << 0.5;
    QTest::newRow("4 kHz") << 4000.0 << 0.25 << "--simulate" << 0.5;
    // The Grbl table's reported positions place the recording at the range's ends.
    QTest::newRow("1 kHz, Grbl") << 1000.0 << 0.1 << "--simulate-grbl" << 0.2;
    QTest::newRow("4 kHz, Grbl") << 4000.0 << 0.25 << "--simulate-grbl" << 0.2;
}

void TestCliMeasure::fullTurnMatchesPiston()
{
    QFETCH(double, freq);
    QFETCH(double, limitDb);
    QFETCH(QString, rig);
    QFETCH(double, offsetDeg);
    const QString out = m_dir.filePath(QStringLiteral("piston.OvK"));
    const TRun run = RunCli(
        { "measure", rig, "--full", "--freq", QString::number(freq), "--block", "8192", out },
        m_dir.path());
    QVERIFY2(run.Status == 0, run.Err.constData());
    QVERIFY(run.Out.contains("Gotowe..."));

    TPolarGraph graph;
    TOvkFile file(&graph, out);
    QVERIFY(file.Load());
    QCOMPARE(graph.SeriesCount(), 1);
    const std::vector<TPolarSample> &points = graph.GetSeries(0)->Points();
    // 80 s at 44100 Hz in 4096-sample blocks.
    QVERIFY2(points.size() > 850 && points.size() < 875,
             qPrintable(QString::number(points.size())));
    QCOMPARE(points.front().Level, 0.0);

    const double rms = RmsError(points, freq, 0);
    QVERIFY2(rms < limitDb, qPrintable(QStringLiteral("%1 dB RMS").arg(rms)));
    // The curve sits where it belongs: turning the analytic curve does not fit better by
    // more than the angular tolerance.
    double bestShift = 0;
    double best = rms;
    for (int tenth = -20; tenth <= 20; ++tenth) {
        const double e = RmsError(points, freq, tenth / 10.0);
        if (e < best) {
            best = e;
            bestShift = tenth / 10.0;
        }
    }
    qInfo("%s: %.3f dB RMS, best fit turned by %.1f°", qPrintable(rig), rms, bestShift);
    QVERIFY2(std::abs(bestShift) <= offsetDeg, qPrintable(QString::number(bestShift)));
}

void TestCliMeasure::intoExistingAppendsNextSeries()
{
    const QString existing = m_dir.filePath(QStringLiteral("existing.OvK"));
    {
        TPolarGraph graph;
        graph.GetSeries(0)->Add(0, 0);
        graph.GetSeries(1)->Add(0, 0);
        TOvkFile file(&graph, existing);
        file.SetTitle(QStringLiteral("Kolumna"));
        file.Save();
    }
    const QString out = m_dir.filePath(QStringLiteral("range.OvK"));
    const TRun run = RunCli({ "measure", "--simulate", "--range", "-90", "90", "--name", "Boczny",
                              "--color", "0x0000FF", "--into", existing, out },
                            m_dir.path());
    QVERIFY2(run.Status == 0, run.Err.constData());
    TPolarGraph graph;
    TOvkFile file(&graph, out);
    QVERIFY(file.Load());
    QCOMPARE(file.Title, QStringLiteral("Kolumna"));
    QCOMPARE(graph.SeriesCount(), 3);
    const TSeries *s = graph.GetSeries(2);
    QCOMPARE(s->Name, QStringLiteral("Boczny"));
    QCOMPARE(s->Color(), quint32(0x0000FF));
    QCOMPARE(s->Points().front().Angle, -90.0);
    QVERIFY(s->Points().back().Angle < 90.0);
}

void TestCliMeasure::badInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no --simulate") << QStringList { "--full", "o.OvK" };
    QTest::newRow("invalid range") << QStringList { "--simulate", "--range", "90", "30", "o.OvK" };
    QTest::newRow("both modes") << QStringList { "--simulate", "--full", "--range",
                                                 "0",          "90",     "o.OvK" };
    QTest::newRow("unknown signal")
        << QStringList { "--simulate", "--full", "--signal", "Gwizdek", "o.OvK" };
    QTest::newRow("missing into") << QStringList { "--simulate", "--full", "--into", "nie-ma.OvK",
                                                   "o.OvK" };
    QTest::newRow("reflection half")
        << QStringList { "--simulate", "--full", "--reflection-ms", "3", "o.OvK" };
    QTest::newRow("unknown shape")
        << QStringList { "--simulate", "--full", "--shape", "square", "o.OvK" };
    QTest::newRow("zero width") << QStringList { "--simulate", "--full", "--shape", "rect",
                                                 "--width",    "0",      "o.OvK" };
}

void TestCliMeasure::badInput()
{
    QFETCH(QStringList, args);
    const TRun run = RunCli(QStringList { "measure" } + args, m_dir.path());
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Err.count('\n'), 1);
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("o.OvK"))));
}

QTEST_MAIN(TestCliMeasure)
#include "tst_climeasure.moc"
