// The reading of a sound calibrator: the RMS level of a sine against its known amplitude,
// the sensitivity for a 94 and a 114 dB SPL calibrator, and the refused recordings (clipped,
// too quiet, not steady), fed in one piece or many.
#include "measurement/CalibratorReading.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int Rate = 44100;

// seconds of a 1 kHz sine whose peak is peakDb re full scale (32768), rising by stepDb for
// the second half.
std::vector<qint16> Sine(double seconds, double peakDb, double stepDb)
{
    const int count = int(seconds * Rate);
    std::vector<qint16> samples(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n) {
        const double db = n < count / 2 ? peakDb : peakDb + stepDb;
        const double peak = 32768.0 * std::pow(10.0, db / 20.0);
        samples[size_t(n)] = qint16(std::lrint(peak * std::sin(2 * M_PI * 1000.0 * n / Rate)));
    }
    return samples;
}

} // namespace

class TestCalibratorReading : public QObject
{
    Q_OBJECT

private slots:
    void reading_data()
    {
        QTest::addColumn<double>("peakDb"); // of the sine, re full scale
        QTest::addColumn<double>("stepDb"); // added for the second half
        QTest::addColumn<int>("fullScale"); // 0, or a sample forced to this value
        QTest::addColumn<int>("piece"); // samples per Add call
        QTest::addColumn<double>("levelDbfs"); // NaN: not checked
        QTest::addColumn<QString>("problem"); // part of the reason; empty: accepted

        const double any = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("-20 dB sine") << -20.0 << 0.0 << 0 << 1 << -23.0103 << "";
        QTest::newRow("-6 dB sine in odd pieces") << -6.0206 << 0.0 << 0 << 777 << -9.0309 << "";
        QTest::newRow("-0.1 dB sine, not clipping") << -0.1 << 0.0 << 0 << 4096 << -3.1103 << "";
        QTest::newRow("one sample at +full scale")
            << -20.0 << 0.0 << 32767 << 4096 << any << "przesterowane";
        QTest::newRow("one sample at -full scale")
            << -20.0 << 0.0 << -32768 << 4096 << any << "przesterowane";
        QTest::newRow("below -60 dBFS") << -58.0 << 0.0 << 0 << 4096 << -61.0103 << "niższy niż";
        QTest::newRow("1 dB step mid-way") << -20.0 << 1.0 << 0 << 4096 << any << "rozrzut 1.00";
    }
    void reading()
    {
        QFETCH(double, peakDb);
        QFETCH(double, stepDb);
        QFETCH(int, fullScale);
        QFETCH(int, piece);
        QFETCH(double, levelDbfs);
        QFETCH(QString, problem);

        std::vector<qint16> samples = Sine(5.0, peakDb, stepDb);
        if (fullScale != 0)
            samples[samples.size() / 3] = qint16(fullScale);
        TCalibratorReading reading(Rate, qint64(samples.size()));
        for (size_t at = 0; at < samples.size(); at += size_t(piece))
            reading.Add(samples.data() + at, qint64(std::min(size_t(piece), samples.size() - at)));

        QCOMPARE(reading.SampleCount(), qint64(samples.size()));
        QCOMPARE(reading.Clipped(), fullScale != 0);
        if (!std::isnan(levelDbfs)) {
            QVERIFY2(std::abs(reading.LevelDbfs() - levelDbfs) < 0.01,
                     qPrintable(QString::number(reading.LevelDbfs(), 'f', 4)));
            QVERIFY2(std::abs(reading.SensitivityDbfs(94.0) - levelDbfs) < 0.01, "94 dB SPL");
            QVERIFY2(std::abs(reading.SensitivityDbfs(114.0) - (levelDbfs - 20.0)) < 0.01,
                     "114 dB SPL");
        }
        if (problem.isEmpty()) {
            QVERIFY2(reading.Problem().isEmpty(), qPrintable(reading.Problem()));
            QVERIFY2(reading.SpreadDb() < 0.05, qPrintable(QString::number(reading.SpreadDb())));
        } else {
            QVERIFY2(reading.Problem().contains(problem), qPrintable(reading.Problem()));
        }
    }
};

QTEST_GUILESS_MAIN(TestCalibratorReading)
#include "tst_calibratorreading.moc"
