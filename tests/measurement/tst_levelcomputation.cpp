// Level computation of a recording and the series a measurement builds from it, checked
// against the level definition evaluated here independently in long double; plus
// "orvi-cli levels".
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "controls/Clock.h"
#include "controls/FileWriter.h"
#include "document/InOutError.h"
#include "measurement/LevelComputation.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <random>

#include <sys/stat.h>

using TSamples = std::vector<qint16>;

namespace {

// The level of samples[first .. first + n - 1] straight from its definition.
long double ExpectedLevel(const TSamples &samples, qint64 first, qint64 n)
{
    long double sum = 0;
    for (qint64 i = 0; i < n; ++i)
        sum += samples[size_t(first + i)];
    const long double m = std::nearbyintl(sum / n); // default rounding: halves to even
    long double s = 0;
    for (qint64 i = 0; i < n; ++i)
        s += (samples[size_t(first + i)] - m) * (samples[size_t(first + i)] - m);
    const long double ref = std::fabs(32768.0L - std::trunc(m / 2));
    return 20 * std::log10(std::max(0.000001L, std::sqrt(s / n) / ref));
}

// Levels of every whole block; a block keeps the whole samples inside its byte range.
std::vector<long double> ExpectedLevels(const TSamples &samples, qint64 fileBytes, int block)
{
    std::vector<long double> levels;
    for (qint64 start = 0; start + block <= fileBytes; start += block)
        levels.push_back(ExpectedLevel(samples, (start + 1) / 2, block / 2));
    return levels;
}

TSamples Noise(qint64 count, int amplitude, int offset, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(offset - amplitude, offset + amplitude);
    TSamples samples = TSamples(size_t(count));
    for (qint16 &x : samples)
        x = qint16(std::clamp(value(random), -32768, 32767));
    return samples;
}

// A counting clock: every reading is step ms later than the one before.
class TSteppingClock final : public TClock
{
public:
    explicit TSteppingClock(qint64 step)
        : m_step(step)
    { }
    qint64 NowMs() const override { return m_now += m_step; }
    void WaitProcessing(int) override { }
    std::unique_ptr<TClockTimer> CreateTimer() override { return nullptr; }

private:
    qint64 m_step;
    mutable qint64 m_now = 0;
};

} // namespace

class TestLevelComputation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void levelsFollowTheDefinition_data();
    void levelsFollowTheDefinition();
    void fullTurnOfEightySeconds();
    void silentRecordingIsZeroDb();
    void shortRecordingGivesEmptySeries();
    void referenceNearestZero_data();
    void referenceNearestZero();
    void progressIsPacedAndAbortStops();
    void unreadableInputThrows_data();
    void unreadableInputThrows();
    void cliPrintsWhatARunAdds();
    void cliRefusesBadInput_data();
    void cliRefusesBadInput();

private:
    QString Write(const QString &name, const TSamples &samples, qint64 bytes = -1);
    QTemporaryDir m_dir;
};

QString TestLevelComputation::Write(const QString &name, const TSamples &samples, qint64 bytes)
{
    QByteArray data(qsizetype(samples.size() * 2), '\0');
    qToLittleEndian<qint16>(samples.data(), qsizetype(samples.size()), data.data());
    if (bytes >= 0)
        data.truncate(qsizetype(bytes));
    const QString path = m_dir.filePath(name);
    if (!TFileWriter::WriteFile(path, data))
        qFatal("cannot write the fixture %s", qPrintable(path));
    return path;
}

void TestLevelComputation::levelsFollowTheDefinition_data()
{
    QTest::addColumn<TSamples>("samples");
    QTest::addColumn<qint64>("fileBytes");
    QTest::addColumn<int>("block");
    QTest::newRow("noise, 512-byte blocks, part block at the end")
        << Noise(4000, 20000, 0, 1) << qint64(7999) << 512;
    QTest::newRow("full scale, offset clipped")
        << Noise(2048, 40000, -3000, 2) << qint64(4096) << 256;
    QTest::newRow("odd block keeps the sample grid")
        << Noise(3000, 9000, 700, 3) << qint64(6000) << 513;
    QTest::newRow("one-sample blocks") << Noise(64, 30000, 0, 4) << qint64(128) << 2;
    QTest::newRow("more than 15000 blocks") << Noise(40000, 100, 5, 5) << qint64(80000) << 4;
    // Constant offset d on a zero-mean signal: rms stays, ref = |32768 - d div 2| (truncating).
    for (int d : { 1001, -1001, 30001, -30001 }) {
        TSamples s(512);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = qint16(d + (i % 2 ? 700 : -700));
        QTest::addRow("constant offset %d", d) << s << qint64(1024) << 1024;
    }
    // Means of exactly a + 0.5 where m div 2 (hence ref) tells a from a + 1, so rounding
    // down, up, or toward zero would show.
    for (int a : { 1, 3, -2, -4, 30001 }) {
        TSamples s(256);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = qint16(a + int(i % 2));
        QTest::addRow("mean %s", qPrintable(QString::number(a + 0.5))) << s << qint64(512) << 512;
    }
}

void TestLevelComputation::levelsFollowTheDefinition()
{
    QFETCH(TSamples, samples);
    QFETCH(qint64, fileBytes);
    QFETCH(int, block);
    const QString path = Write(QStringLiteral("levels.raw"), samples, fileBytes);
    TLevelComputation computation;
    const std::vector<double> levels = computation.Compute(path, block);
    const std::vector<long double> expected = ExpectedLevels(samples, fileBytes, block);
    QCOMPARE(levels.size(), size_t(fileBytes / block));
    QCOMPARE(levels.size(), expected.size());
    QVERIFY(!computation.Aborted());
    for (size_t i = 0; i < levels.size(); ++i) {
        if (std::fabs(levels[i] - expected[i]) > 1e-9L)
            QFAIL(qPrintable(QStringLiteral("block %1: %2 dB, expected %3 dB")
                                 .arg(i)
                                 .arg(levels[i], 0, 'g', 17)
                                 .arg(double(expected[i]), 0, 'g', 17)));
    }
}

void TestLevelComputation::fullTurnOfEightySeconds()
{
    const qint64 bytes = 7056000; // 80 s at 44100 samples per second
    const TSamples samples = Noise(bytes / 2, 12000, 0, 6);
    TLevelComputation computation;
    const std::vector<double> levels
        = computation.Compute(Write(QStringLiteral("turn.raw"), samples), 512);
    QCOMPARE(levels.size(), size_t(13781)); // the last 128 bytes give none
    TPolarGraph chart;
    const TSeries *series = TLevelComputation::AddMeasuredSeries(chart, QStringLiteral("Pomiar 1"),
                                                                 0x00FF00, levels, 0, 360);
    const auto &points = series->Points();
    QCOMPARE(points.size(), size_t(13781));
    const long double l0 = ExpectedLevel(samples, 0, 256);
    for (size_t i : { size_t(0), size_t(1), size_t(6890), size_t(13780) }) {
        QVERIFY(std::fabs(points[i].Angle - 360.0L * i / 13781) < 1e-12L);
        const long double level = ExpectedLevel(samples, qint64(i) * 256, 256) - l0;
        QVERIFY(std::fabs(points[i].Level - level) < 1e-9L);
    }
    QCOMPARE(points[0].Level, 0.0);
}

void TestLevelComputation::silentRecordingIsZeroDb()
{
    TLevelComputation computation;
    const std::vector<double> levels
        = computation.Compute(Write(QStringLiteral("silent.raw"), TSamples(5000, -77)), 512);
    QCOMPARE(levels.size(), size_t(19));
    for (double level : levels)
        QVERIFY(std::fabs(level + 120.0) < 1e-9);
    TPolarGraph chart;
    const TSeries *series
        = TLevelComputation::AddMeasuredSeries(chart, QStringLiteral("Cisza"), 1, levels, 0, 360);
    for (const TPolarSample &p : series->Points())
        QCOMPARE(p.Level, 0.0);
}

void TestLevelComputation::shortRecordingGivesEmptySeries()
{
    TLevelComputation computation;
    const std::vector<double> levels
        = computation.Compute(Write(QStringLiteral("short.raw"), TSamples(150, 9000)), 512);
    QVERIFY(levels.empty());
    QVERIFY(!computation.Aborted());
    TPolarGraph chart;
    chart.GetSeries(4);
    const TSeries *series = TLevelComputation::AddMeasuredSeries(chart, QStringLiteral("Pomiar 2"),
                                                                 0x123456, levels, 0, 360);
    QCOMPARE(series->Number(), 5);
    QCOMPARE(series->Name, QStringLiteral("Pomiar 2"));
    QCOMPARE(series->Color(), quint32(0x123456));
    QCOMPARE(series->Count(), 0);
}

void TestLevelComputation::referenceNearestZero_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("reference"); // index of the 0 dB point, -1 for no shift
    QTest::addColumn<bool>("autoRepaint");
    QTest::newRow("full turn: the first") << 0 << 360 << 7 << 0 << true;
    QTest::newRow("-90..90, n even: exactly 0") << -90 << 90 << 6 << 3 << false;
    QTest::newRow("-90..90, n odd: -18 before 18") << -90 << 90 << 5 << 2 << true;
    QTest::newRow("30..90: 30") << 30 << 90 << 4 << 0 << true;
    QTest::newRow("-180..180: -180 never") << -180 << 180 << 2 << 1 << true;
    QTest::newRow("180..360: no point below 180") << 180 << 360 << 1 << -1 << false;
}

void TestLevelComputation::referenceNearestZero()
{
    QFETCH(int, start);
    QFETCH(int, stop);
    QFETCH(int, count);
    QFETCH(int, reference);
    QFETCH(bool, autoRepaint);
    std::vector<double> levels;
    for (int i = 0; i < count; ++i)
        levels.push_back(-3.25 * (i + 1));
    TPolarGraph chart;
    chart.SetAutoRepaint(autoRepaint);
    bool autoRepaintWhileAdding = false;
    connect(&chart, &TPolarGraph::OnChange, this,
            [&] { autoRepaintWhileAdding = autoRepaintWhileAdding || chart.AutoRepaint(); });
    QSignalSpy invalidated(&chart, &TPolarGraph::InvalidateRequested);
    const TSeries *series
        = TLevelComputation::AddMeasuredSeries(chart, QStringLiteral("R"), 7, levels, start, stop);
    QVERIFY(!autoRepaintWhileAdding);
    QCOMPARE(chart.AutoRepaint(), autoRepaint);
    QCOMPARE(invalidated.count() > 0, autoRepaint); // shown at once only when it was on
    const double l0 = reference < 0 ? 0.0 : levels[size_t(reference)];
    const auto &points = series->Points();
    QCOMPARE(points.size(), size_t(count));
    for (int i = 0; i < count; ++i) {
        QVERIFY(
            std::fabs(points[size_t(i)].Angle - (start + (stop - start) * i / (long double)count))
            < 1e-12L);
        QCOMPARE(points[size_t(i)].Level, levels[size_t(i)] - l0);
    }
    // The points without a chart are the same numbers.
    const auto pure = TLevelComputation::MeasuredPoints(levels, start, stop);
    for (int i = 0; i < count; ++i) {
        QVERIFY(pure[size_t(i)].Angle == points[size_t(i)].Angle);
        QVERIFY(pure[size_t(i)].Level == points[size_t(i)].Level);
    }
}

void TestLevelComputation::progressIsPacedAndAbortStops()
{
    const qint64 blocks = 32768; // 16 MiB of 512-byte blocks
    const QString path = Write(QStringLiteral("long.raw"), Noise(blocks * 256, 5000, 0, 7));

    // Real clock: far fewer calls than blocks, the last one at 100 %.
    QList<int> calls;
    TLevelComputation computation;
    computation.SetProgress([&](int percent) { calls << percent; });
    QCOMPARE(qint64(computation.Compute(path, 512).size()), blocks);
    QVERIFY2(calls.size() >= 1 && calls.size() < blocks / 100,
             qPrintable(QString::number(calls.size())));
    QCOMPARE(calls.last(), 100);

    // Work that seems slow: progress comes during the computation too, rising.
    TSteppingClock slow(1000);
    computation.SetClock(slow);
    calls.clear();
    QCOMPARE(qint64(computation.Compute(path, 512).size()), blocks);
    QVERIFY(calls.size() > 2);
    QVERIFY(std::is_sorted(calls.begin(), calls.end()));
    QVERIFY(calls.first() < 100);

    // A cancel seen at the second call stops at once and returns nothing.
    int checks = 0;
    computation.SetAbortCheck([&] { return ++checks == 2; });
    calls.clear();
    QVERIFY(computation.Compute(path, 512).empty());
    QVERIFY(computation.Aborted());
    QCOMPARE(calls.size(), 2);
    QVERIFY(calls.last() < 100);

    // A cancel at the very end still counts.
    computation.SetClock(TClock::System());
    computation.SetAbortCheck([] { return true; });
    QVERIFY(computation.Compute(Write(QStringLiteral("one.raw"), TSamples(256)), 512).empty());
    QVERIFY(computation.Aborted());
}

void TestLevelComputation::unreadableInputThrows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("block");
    QTest::newRow("missing file") << "missing.raw" << 512;
    QTest::newRow("a folder") << "." << 512;
    QTest::newRow("block of one byte") << "short.raw" << 1;
    QTest::newRow("block of no bytes") << "short.raw" << 0;
    // Neither may be read: a FIFO blocks its reader, a device never ends.
    QTest::newRow("a FIFO") << "fifo.raw" << 512;
    QTest::newRow("a device") << "zero.raw" << 512;
}

void TestLevelComputation::unreadableInputThrows()
{
    QFETCH(QString, name);
    QFETCH(int, block);
    Write(QStringLiteral("short.raw"), TSamples(10));
    const QString path = m_dir.filePath(name);
    if (name == QLatin1String("fifo.raw"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (name == QLatin1String("zero.raw"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    TLevelComputation computation;
    QVERIFY_THROWS_EXCEPTION(EInOutError, computation.Compute(path, block));
    try {
        computation.Compute(path, block);
    } catch (const EInOutError &e) {
        QVERIFY2(e.Message().contains(QDir::toNativeSeparators(path)), qPrintable(e.Message()));
    }
}

void TestLevelComputation::cliPrintsWhatARunAdds()
{
    const TSamples samples = Noise(4 * 5 + 3, 20000, 0, 8);
    const QString path = Write(QStringLiteral("cli.raw"), samples);
    QProcess p;
    p.start(QStringLiteral(ORVI_CLI_PATH),
            { QStringLiteral("levels"), path, QStringLiteral("--block"), QStringLiteral("8"),
              QStringLiteral("--start"), QStringLiteral("-90"), QStringLiteral("--stop"),
              QStringLiteral("90") });
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QByteArray out = p.readAllStandardOutput();

    TLevelComputation computation;
    TPolarGraph chart;
    const TSeries *series = TLevelComputation::AddMeasuredSeries(
        chart, QStringLiteral("x"), 1, computation.Compute(path, 8), -90, 90);
    QByteArray expected;
    for (const TPolarSample &s : series->Points())
        expected += QString::asprintf("%.17g,%.17g\n", s.Angle, s.Level).toLatin1();
    QCOMPARE(series->Count(), 5);
    QCOMPARE(out, expected);
    QVERIFY(out.startsWith("-90,"));
}

void TestLevelComputation::cliRefusesBadInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("named");
    QTest::newRow("missing file") << QStringList { "nowhere.raw" } << "nowhere.raw";
    QTest::newRow("bad block") << QStringList { "cli.raw", "--block", "12x" } << "12x";
    QTest::newRow("start not below stop")
        << QStringList { "cli.raw", "--start", "90", "--stop", "90" } << "--start";
    QTest::newRow("unknown option") << QStringList { "cli.raw", "--blok", "8" } << "--blok";
}

void TestLevelComputation::cliRefusesBadInput()
{
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    Write(QStringLiteral("cli.raw"), TSamples(64, 5));
    QProcess p;
    p.setWorkingDirectory(m_dir.path());
    p.start(QStringLiteral(ORVI_CLI_PATH), QStringList { QStringLiteral("levels") } + args);
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(p.readAllStandardOutput().isEmpty());
    const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    QVERIFY2(!err.contains(QLatin1Char('\n')) && err.contains(named), qPrintable(err));
}

QTEST_MAIN(TestLevelComputation)
#include "tst_levelcomputation.moc"
