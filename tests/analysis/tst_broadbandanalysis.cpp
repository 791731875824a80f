// The broadband analysis on synthetic recordings whose responses are known exactly: the
// deconvolution, the gate, the angles from the markers and the smoothing.

#include "analysis/BroadbandAnalysis.h"

#include <QtTest>

#include <cmath>
#include <complex>
#include <numbers>

namespace {

constexpr int Rate = 44100;
constexpr double Pi = std::numbers::pi;

TMarkerLog MlsLog()
{
    TMarkerLog log;
    log.Signal = TSignalType::MLS;
    log.PlayBufferBytes = 16384;
    log.SampleRate = Rate;
    log.StartDeg = 0;
    log.StopDeg = 360;
    log.LeadMs = 1000;
    return log;
}

// A steady-state recording of `periods` excitation periods through the FIR `taps` (taps[k]
// at delay k), starting `offset` samples into the excitation, as a card with unknown
// latency delivers it.
std::vector<float> Record(const std::vector<double> &x, const std::vector<double> &taps,
                          int periods, int offset)
{
    const int p = int(x.size());
    std::vector<float> y(size_t(p) * size_t(periods));
    for (size_t n = 0; n < y.size(); ++n) {
        double sum = 0.0;
        for (size_t k = 0; k < taps.size(); ++k)
            if (taps[k] != 0.0)
                sum += taps[k] * x[size_t(((qint64(n) + offset - qint64(k)) % p + p) % p)];
        y[n] = float(sum);
    }
    return y;
}

// Markers at a constant speed: one every `spacing` samples, the first at `first`.
void EvenMarkers(TMarkerLog &log, qint64 count, double first, double spacing)
{
    log.RecordedSamples = count;
    for (double s = first; s < count; s += spacing)
        log.MarkerSamples.push_back(s);
}

std::complex<double> Dtft(const std::vector<double> &taps, double f, int zeroTap)
{
    std::complex<double> sum;
    for (size_t k = 0; k < taps.size(); ++k)
        sum += taps[k] * std::polar(1.0, -2 * Pi * f * (double(k) - zeroTap) / Rate);
    return sum;
}

double Db(std::complex<double> h)
{
    return 20 * std::log10(std::abs(h));
}

} // namespace

class TestBroadbandAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void excitationRefusals_data();
    void excitationRefusals();
    void deconvolvesKnownResponses_data();
    void deconvolvesKnownResponses();
    void automaticGateStopsBeforeReflection();
    void anglesFollowTheMarkers();
    void smoothingIsThePowerMeanOverTheBand();
    void meaninglessAnalysisRefused_data();
    void meaninglessAnalysisRefused();
};

void TestBroadbandAnalysis::excitationRefusals_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<int>("playBuffer");
    QTest::addColumn<int>("period"); // 0: refused
    QTest::newRow("MLS 8192") << int(TSignalType::MLS) << 1000.0 << 16384 << 8192;
    // Above 16384 samples a block holds several periods of the longest sequence.
    QTest::newRow("MLS 32768") << int(TSignalType::MLS) << 1000.0 << 65536 << 16384;
    QTest::newRow("Chirp to 20 kHz") << int(TSignalType::Chirp) << 20000.0 << 16384 << 8192;
    QTest::newRow("Chirp below the bands") << int(TSignalType::Chirp) << 8000.0 << 16384 << 0;
    QTest::newRow("Impuls") << int(TSignalType::Impuls) << 1000.0 << 16384 << 0;
    QTest::newRow("Sinus") << int(TSignalType::Sinus) << 1000.0 << 16384 << 0;
    QTest::newRow("white noise") << int(TSignalType::WhiteNoise) << 1000.0 << 16384 << 0;
}

void TestBroadbandAnalysis::excitationRefusals()
{
    QFETCH(int, signal);
    QFETCH(double, frequency);
    QFETCH(int, playBuffer);
    QFETCH(int, period);
    TMarkerLog log = MlsLog();
    log.Signal = TSignalType(signal);
    log.FrequencyHz = frequency;
    log.PlayBufferBytes = playBuffer;
    QString error;
    const auto x = TBroadbandAnalysis::Excitation(log, { 1000, 16000 }, &error);
    QCOMPARE(x ? int(x->size()) : 0, period);
    QCOMPARE(error.isEmpty(), period != 0);
}

void TestBroadbandAnalysis::deconvolvesKnownResponses_data()
{
    QTest::addColumn<std::vector<double>>("taps");
    QTest::addColumn<int>("offset");
    std::vector<double> delay(41, 0.0);
    delay[40] = 0.5;
    QTest::newRow("pure delay") << delay << 1234;
    std::vector<double> fir(60, 0.0);
    fir[50] = 1.0;
    fir[51] = -0.6;
    fir[52] = 0.25;
    fir[49] = 0.1;
    QTest::newRow("FIR") << fir << 5000;
    // A response longer than the period's quarter hop still comes back whole.
    QTest::newRow("FIR, other latency") << fir << 8191;
}

void TestBroadbandAnalysis::deconvolvesKnownResponses()
{
    QFETCH(std::vector<double>, taps);
    QFETCH(int, offset);
    TMarkerLog log = MlsLog();
    const auto x = TBroadbandAnalysis::Excitation(log, {});
    QVERIFY(x);
    const std::vector<float> y = Record(*x, taps, 12, offset);
    EvenMarkers(log, qint64(y.size()), 2000, 2600);
    TBroadbandOptions options;
    options.GateMs = 2.0;
    QString error;
    const auto result
        = TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), log, options, &error);
    QVERIFY2(result, qPrintable(error));
    QVERIFY(result->FrameCount() > 10);
    int peak = 0;
    for (size_t k = 0; k < taps.size(); ++k)
        if (std::abs(taps[k]) > std::abs(taps[size_t(peak)]))
            peak = int(k);
    for (int frame : { 0, result->FrameCount() / 2, result->FrameCount() - 1 }) {
        for (double f : { 500.0, 1000.0, 4000.0, 12000.0 }) {
            const std::complex<double> expected = Dtft(taps, f, peak);
            const std::complex<double> got = result->Response(frame, f);
            QVERIFY2(std::abs(Db(got) - Db(expected)) < 0.01,
                     qPrintable(QStringLiteral("%1 Hz: %2 dB, expected %3 dB")
                                    .arg(f)
                                    .arg(Db(got))
                                    .arg(Db(expected))));
            // Time zero is the peak, whatever the latency.
            QVERIFY(std::abs(std::arg(got / expected)) < 0.01);
        }
    }
}

void TestBroadbandAnalysis::automaticGateStopsBeforeReflection()
{
    TMarkerLog log = MlsLog();
    const auto x = TBroadbandAnalysis::Excitation(log, {});
    QVERIFY(x);
    // Direct sound at 30 samples, a -6 dB reflection 3 ms later.
    const int reflection = int(std::lround(0.003 * Rate));
    std::vector<double> taps(size_t(30 + reflection + 1), 0.0);
    taps[30] = 1.0;
    taps[size_t(30 + reflection)] = 0.5;
    const std::vector<float> y = Record(*x, taps, 8, 777);
    EvenMarkers(log, qint64(y.size()), 1000, 2000);
    QString error;
    const auto gated = TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), log,
                                                   TBroadbandOptions {}, &error);
    QVERIFY2(gated, qPrintable(error));
    QVERIFY(gated->AutomaticGate);
    QVERIFY(gated->GateCloseMs < 3.0);
    QVERIFY(gated->GateCloseMs > 2.5);
    // Gated: the direct sound alone, flat; a long gate shows the comb (±3.5 dB).
    TBroadbandOptions longGate;
    longGate.GateMs = 10;
    const auto comb = TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), log, longGate);
    QVERIFY(comb);
    double gatedSpread = 0.0;
    double combSpread = 0.0;
    for (double f = 1000; f < 2000; f += 37) {
        gatedSpread = std::max(gatedSpread, std::abs(gated->LevelDb(0, f)));
        combSpread = std::max(combSpread, std::abs(comb->LevelDb(0, f)));
    }
    QVERIFY2(gatedSpread < 0.05, qPrintable(QString::number(gatedSpread)));
    QVERIFY(combSpread > 3.0);
    // What the gate cannot resolve is named.
    QVERIFY(gated->Warnings.join(QLatin1Char(' ')).contains(QLatin1String("250 Hz")) == false);
    TBroadbandOptions low;
    low.BandsHz = { 100, 1000 };
    const auto warned = TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), log, low);
    QVERIFY(warned);
    QVERIFY(warned->Warnings.join(QLatin1Char(' ')).contains(QLatin1String("100 Hz")));
}

void TestBroadbandAnalysis::anglesFollowTheMarkers()
{
    TMarkerLog log = MlsLog();
    const auto x = TBroadbandAnalysis::Excitation(log, {});
    QVERIFY(x);
    std::vector<double> taps(11, 0.0);
    taps[10] = 1.0;
    const std::vector<float> y = Record(*x, taps, 40, 0);
    // The table speeds up: markers ever closer, so an even spread would be wrong by degrees.
    log.RecordedSamples = qint64(y.size());
    log.StartDeg = 0;
    log.StopDeg = 120;
    double s = 0;
    for (int k = 1; k <= 12; ++k) {
        s += 40000.0 - 2000.0 * k;
        log.MarkerSamples.push_back(s);
    }
    const auto result
        = TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), log, TBroadbandOptions {});
    QVERIFY(result);
    // Frame centres a quarter period apart, those inside the range kept.
    const int period = result->PeriodSamples;
    std::vector<double> expected;
    for (qint64 s = 0; s + period <= qint64(y.size()); s += period / 4) {
        const double angle = log.AngleAt(double(s) + period / 2.0);
        if (angle >= 0 && angle <= 120)
            expected.push_back(angle);
    }
    QCOMPARE(result->FrameCount(), int(expected.size()));
    double worst = 0.0;
    double worstEven = 0.0;
    for (int i = 0; i < result->FrameCount(); ++i) {
        worst = std::max(worst, std::abs(result->FrameAnglesDeg[size_t(i)] - expected[size_t(i)]));
        const double even = 120.0 * (i + 0.5) / result->FrameCount();
        worstEven = std::max(worstEven, std::abs(result->FrameAnglesDeg[size_t(i)] - even));
    }
    QVERIFY(worst < 1e-9);
    QVERIFY2(worstEven > 3.0, qPrintable(QString::number(worstEven)));
    // Marker k sits at 10·k degrees.
    QCOMPARE(log.AngleAt(log.MarkerSamples[4]), 50.0);
}

void TestBroadbandAnalysis::smoothingIsThePowerMeanOverTheBand()
{
    TMarkerLog log = MlsLog();
    const auto x = TBroadbandAnalysis::Excitation(log, {});
    QVERIFY(x);
    // A comb from a reflection 2 ms late, inside a long gate.
    const int d = int(std::lround(0.002 * Rate));
    std::vector<double> taps(size_t(20 + d + 1), 0.0);
    taps[20] = 1.0;
    taps[size_t(20 + d)] = 0.5;
    const std::vector<float> y = Record(*x, taps, 6, 99);
    EvenMarkers(log, qint64(y.size()), 1000, 3000);
    TBroadbandOptions options;
    options.GateMs = 8;
    const auto result = TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), log, options);
    QVERIFY(result);
    for (int n : { 3, 6, 24 }) {
        for (double f : { 1000.0, 3000.0 }) {
            // |H|² = 1.25 + cos(2πf·d/rate), averaged densely over f·2^(±1/2n) in log f.
            double sum = 0.0;
            const int points = 4000;
            for (int i = 0; i < points; ++i) {
                const double octave = -0.5 / n + (i + 0.5) / points / n;
                const double fi = f * std::exp2(octave);
                sum += 1.25 + std::cos(2 * Pi * fi * d / Rate);
            }
            const double expected = 10 * std::log10(sum / points);
            QVERIFY2(std::abs(result->LevelDb(0, f, n) - expected) < 0.05,
                     qPrintable(QStringLiteral("1/%1 at %2 Hz: %3, expected %4")
                                    .arg(n)
                                    .arg(f)
                                    .arg(result->LevelDb(0, f, n))
                                    .arg(expected)));
        }
    }
}

void TestBroadbandAnalysis::meaninglessAnalysisRefused_data()
{
    QTest::addColumn<QString>("bands");
    QTest::addColumn<int>("periods"); // recording length in excitation periods
    QTest::addColumn<int>("markers"); // markers 1.. one every 10000 samples
    QTest::addColumn<double>("extra"); // one marker more at this sample; negative: none
    QTest::addColumn<QString>("reason"); // part of the message
    QTest::newRow("band at half the rate") << "1000, 22050" << 40 << 30 << -1.0 << "22050 Hz";
    QTest::newRow("band above half the rate") << "1000, 30000" << 40 << 30 << -1.0 << "30000 Hz";
    // Marker 31 sits on line 5 + 31 of the log.
    QTest::newRow("marker beyond the end")
        << "1000" << 40 << 30 << 1e7 << "Znacznik 31 (wiersz 36) leży poza nagraniem";
    QTest::newRow("one frame") << "1000" << 1 << 0 << -1.0 << "co najmniej dwóch";
}

void TestBroadbandAnalysis::meaninglessAnalysisRefused()
{
    QFETCH(QString, bands);
    QFETCH(int, periods);
    QFETCH(int, markers);
    QFETCH(double, extra);
    QFETCH(QString, reason);
    QByteArray text = "# Orvi marker log 1\nsignal = MLS\nplay-buffer = 16384\nrate = 44100\n"
                      "lead-ms = 1000\n";
    for (int k = 1; k <= markers; ++k)
        text += "marker " + QByteArray::number(k) + ' ' + QByteArray::number(k * 10000) + '\n';
    if (extra >= 0)
        text
            += "marker " + QByteArray::number(markers + 1) + ' ' + QByteArray::number(extra) + '\n';
    QString error;
    const std::optional<TMarkerLog> log = TMarkerLog::FromText(text, &error);
    QVERIFY2(log, qPrintable(error));
    const auto x = TBroadbandAnalysis::Excitation(*log, {});
    QVERIFY(x);
    std::vector<double> taps(11, 0.0);
    taps[10] = 1.0;
    const std::vector<float> y = Record(*x, taps, periods, 0);
    TBroadbandOptions options;
    options.BandsHz = *TBroadbandOptions::ParseBands(bands);
    QVERIFY(!TBroadbandAnalysis::Analyse(y.data(), qint64(y.size()), *log, options, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

QTEST_APPLESS_MAIN(TestBroadbandAnalysis)
#include "tst_broadbandanalysis.moc"
