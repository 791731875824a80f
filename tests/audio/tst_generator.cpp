// Generator blocks against expectations computed here from the signal definitions (not
// from the generator's code paths): rounding halves to even, the phase chain across block
// joins, the counter square wave, chirp beyond the 32-bit k², seeded noise, the MLS
// register for every order, impulse lengths, setters' ignore rules and the error texts.

#include "audio/Generator.h"

#include <QDateTime>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {

using Block = std::vector<qint16>;

constexpr long double PiL = 3.141592653589793238462643383279502884L;
constexpr double Pi = 3.14159265358979323846;

// Nearest integer with halves going to the even neighbour, written out with floor so it
// does not lean on the rounding mode the generator uses.
long long HalfEven(double x)
{
    const double f = std::floor(x);
    const double d = x - f;
    if (d < 0.5)
        return (long long)f;
    if (d > 0.5)
        return (long long)f + 1;
    return ((long long)f % 2 == 0) ? (long long)f : (long long)f + 1;
}

Block Run(TGenerator &g)
{
    Block out(size_t(std::max(0, g.NumSamples())), qint16(0x5A5A));
    int calls = 0, expectedIndex = 0;
    bool ordered = true;
    g.OnGenerate = [&](int index, qint16 value) {
        ordered = ordered && index == expectedIndex++;
        if (index >= 0 && size_t(index) < out.size())
            out[size_t(index)] = value;
        ++calls;
    };
    g.Generate();
    if (!ordered || calls != g.NumSamples())
        out.clear(); // indexes must run 0..N-1 rising, one call each
    return out;
}

double Omega(double f, int fs)
{
    return double(2.0L * PiL * f / fs);
}

// Phase after the block: (1 - frac(N f / fs)) 2π + φ, brought below 2π.
double NextPhase(double phase, int n, double f, int fs)
{
    const long double x = (long double)n * f / fs;
    const long double frac = x - std::floor(x);
    double next = double((1.0L - frac) * 2.0L * PiL + phase);
    while ((long double)next >= 2.0L * PiL)
        next = double((long double)next - 2.0L * PiL);
    return next;
}

Block Periodic(TSignalType s, int n, double f, int fs, double a, double phase)
{
    Block b(static_cast<size_t>(n));
    const double w = Omega(f, fs);
    for (int k = 0; k < n; ++k) {
        double v = 0;
        switch (s) {
        case TSignalType::Sinus:
            v = a * std::sin(w * k - phase);
            break;
        case TSignalType::Cosinus:
            v = a * std::cos(w * k - phase);
            break;
        case TSignalType::Square2: {
            const double x = w * (k + 1) - phase;
            const double sx = std::sin(x);
            v = a * (sx > 0 ? 1.0 : sx < 0 ? -1.0 : (x < Pi ? 1.0 : -1.0));
            break;
        }
        case TSignalType::Triangle: {
            const double x = w * k - phase;
            v = a * (std::fabs(std::sin(x / 2 + Pi / 4)) - std::fabs(std::cos(x / 2 + Pi / 4)));
            break;
        }
        default:
            break;
        }
        b[size_t(k)] = qint16(HalfEven(v));
    }
    return b;
}

// The 32-bit LCG and its index draw, as the noise signals use them.
struct TLcg
{
    quint32 Seed;
    int Next65535()
    {
        Seed = quint32(quint64(Seed) * 134775813u + 1u);
        return int((quint64(Seed) * 65535u) >> 32);
    }
};

// Bit recurrence of the MLS register of length n with its taps (t2 = 0: two taps).
Block Mls(int n)
{
    static const int taps[15][3]
        = { {},          {},    {},    { 2 }, { 3 },        { 3 },         { 5 },       { 6 },
            { 5, 2, 3 }, { 5 }, { 7 }, { 9 }, { 11, 6, 8 }, { 12, 9, 10 }, { 13, 4, 8 } };
    const int length = 1 << n;
    std::vector<int> bits(size_t(length), 0);
    for (int i = length - n; i < length; ++i)
        bits[size_t(i)] = 1;
    for (int i = length - n - 1; i >= 0; --i) {
        int b = bits[size_t(i + taps[n][0])] ^ bits[size_t(i + n)];
        if (taps[n][1])
            b ^= bits[size_t(i + taps[n][1])] ^ bits[size_t(i + taps[n][2])];
        bits[size_t(i)] = b;
    }
    Block out(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        out[size_t(i)] = bits[size_t(i)] ? 32767 : -32767;
    return out;
}

QString FirstDifference(const Block &got, const Block &want)
{
    if (got.size() != want.size())
        return QStringLiteral("size %1, expected %2").arg(got.size()).arg(want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        if (got[i] != want[i])
            return QStringLiteral("sample %1 is %2, expected %3").arg(i).arg(got[i]).arg(want[i]);
    }
    return QString();
}

} // namespace

Q_DECLARE_METATYPE(TSignalType)

class TestGenerator : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void setterIgnoreRules_data();
    void setterIgnoreRules();
    void phaseSetter_data();
    void phaseSetter();
    void errorTexts();
    void periodicBlocks_data();
    void periodicBlocks();
    void autoPhaseJoins_data();
    void autoPhaseJoins();
    void frequencyChangeKeepsTheWaveContinuous();
    void autoPhaseOffUsesThePhaseAsSet();
    void square1Counter_data();
    void square1Counter();
    void square1AboveTwoThirdsOfTheRateHandsOutNothing();
    void chirpBeyondThe32BitSquare();
    void whiteNoiseFromSeed_data();
    void whiteNoiseFromSeed();
    void whiteNoiseReseedsFromTheTimeOfDay();
    void pinkNoiseRows_data();
    void pinkNoiseRows();
    void mlsSequence_data();
    void mlsSequence();
    void mlsIsMaximalLength_data();
    void mlsIsMaximalLength();
    void impulsLength_data();
    void impulsLength();
};

void TestGenerator::defaults()
{
    TGenerator g;
    QCOMPARE(g.NumSamples(), 8192);
    QCOMPARE(g.SignalFrequency(), 1000.0);
    QCOMPARE(g.Signal(), TSignalType::Sinus);
    QCOMPARE(g.VolumeInPercents(), 100.0);
    QCOMPARE(g.Amplitude(), 32767.0);
    QCOMPARE(g.SamplingFrequency(), 44100);
    QCOMPARE(g.Phase(), 0.0);
    QCOMPARE(g.PreviousPhase(), 0.0);
    QVERIFY(!g.AutoPhase());
    QVERIFY(g.RestartPhase());
    QCOMPARE(g.ImpulsLength(), 50.0);
    const long double x = 8192.0L * 1000.0L / 44100.0L;
    QCOMPARE(double(g.CycleFraction()), double(x - std::floor(x)));
}

void TestGenerator::setterIgnoreRules_data()
{
    QTest::addColumn<double>("volume");
    QTest::addColumn<double>("expectedVolume");
    QTest::addColumn<double>("impuls");
    QTest::addColumn<double>("expectedImpuls");
    QTest::newRow("in range") << 10.0 << 10.0 << 25.0 << 25.0;
    QTest::newRow("lower bounds") << 0.0 << 0.0 << 0.0 << 50.0;
    QTest::newRow("upper bounds") << 100.0 << 100.0 << 100.0 << 50.0;
    QTest::newRow("above") << 150.0 << 100.0 << 150.0 << 50.0;
    QTest::newRow("below") << -1.0 << 100.0 << -5.0 << 50.0;
    QTest::newRow("just inside") << 99.5 << 99.5 << 99.999 << 99.999;
    QTest::newRow("not a number") << std::nan("") << 100.0 << std::nan("") << 50.0;
}

void TestGenerator::setterIgnoreRules()
{
    QFETCH(double, volume);
    QFETCH(double, expectedVolume);
    QFETCH(double, impuls);
    QFETCH(double, expectedImpuls);
    TGenerator g;
    g.SetVolumeInPercents(volume);
    QCOMPARE(g.VolumeInPercents(), expectedVolume);
    QCOMPARE(g.Amplitude(), expectedVolume * 32767.0 / 100.0);
    g.SetImpulsLength(impuls);
    QCOMPARE(g.ImpulsLength(), expectedImpuls);
}

void TestGenerator::phaseSetter_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    const double twoPi = 2 * Pi;
    QTest::newRow("7.0") << 7.0 << 7.0 - twoPi;
    QTest::newRow("-1.0 kept") << -1.0 << -1.0;
    QTest::newRow("below 2pi") << 6.0 << 6.0;
    QTest::newRow("three turns") << 3 * twoPi + 0.5 << 0.5;
    QTest::newRow("-7 kept") << -7.0 << -7.0;
}

void TestGenerator::phaseSetter()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    TGenerator g;
    g.SetPhase(value);
    QVERIFY2(std::fabs(g.Phase() - expected) < 1e-12,
             qPrintable(QString::number(g.Phase(), 'g', 17)));
    QVERIFY(g.Phase() < 2 * Pi);
}

void TestGenerator::errorTexts()
{
    TGenerator g;
    try {
        g.Generate();
        QFAIL("Generate without a handler must fail");
    } catch (const EGeneratorError &e) {
        QCOMPARE(e.Message(), QStringLiteral("You must specify an OnGenerate handler"));
    }
    for (double bad : { 0.0, -5.0, std::nan("") }) {
        try {
            g.SetSignalFrequency(bad);
            QFAIL("a frequency of 0 or less must be refused");
        } catch (const EGeneratorError &e) {
            QCOMPARE(e.Message(), QString::fromUtf8("No co ty, chcesz to usłyczeć ???"));
            QCOMPARE(QString::fromUtf8(e.what()),
                     QString::fromUtf8("No co ty, chcesz to usłyczeć ???"));
        }
        QCOMPARE(g.SignalFrequency(), 1000.0);
    }
    QCOMPARE(TGenerator::NoMemoryText(),
             QString::fromUtf8("Brakuje pamięci do zaalokowania teblicy !"));
}

void TestGenerator::periodicBlocks_data()
{
    QTest::addColumn<TSignalType>("signal");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("f");
    QTest::addColumn<int>("fs");
    QTest::addColumn<double>("volume");
    QTest::addColumn<double>("phase");
    const TSignalType kinds[]
        = { TSignalType::Sinus, TSignalType::Cosinus, TSignalType::Square2, TSignalType::Triangle };
    for (TSignalType s : kinds) {
        const QByteArray name = SignalTypeName(s).toLatin1();
        QTest::newRow(name + " 1 kHz") << s << 4096 << 1000.0 << 44100 << 100.0 << 0.0;
        QTest::newRow(name + " 10 %, phase 1.3") << s << 1000 << 440.5 << 48000 << 10.0 << 1.3;
        QTest::newRow(name + " 50 %, negative phase")
            << s << 2048 << 20000.0 << 44100 << 50.0 << -2.0;
        // fs / f = 4: the sine's zero crossings land on samples; Square2's tie rule decides.
        QTest::newRow(name + " quarter rate") << s << 64 << 2000.0 << 8000 << 100.0 << 0.0;
    }
}

void TestGenerator::periodicBlocks()
{
    QFETCH(TSignalType, signal);
    QFETCH(int, n);
    QFETCH(double, f);
    QFETCH(int, fs);
    QFETCH(double, volume);
    QFETCH(double, phase);
    TGenerator g;
    g.SetSignal(signal);
    g.SetNumSamples(n);
    g.SetSignalFrequency(f);
    g.SetSamplingFrequency(fs);
    g.SetVolumeInPercents(volume);
    g.SetPhase(phase);
    const Block got = Run(g);
    const Block want = Periodic(signal, n, f, fs, volume * 32767.0 / 100.0, phase);
    QVERIFY2(got == want, qPrintable(FirstDifference(got, want)));
}

void TestGenerator::autoPhaseJoins_data()
{
    QTest::addColumn<TSignalType>("signal");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("f");
    QTest::addColumn<int>("fs");
    QTest::newRow("sine 1 kHz, 4096") << TSignalType::Sinus << 4096 << 1000.0 << 44100;
    QTest::newRow("sine 997 Hz, 4096 at 48 kHz") << TSignalType::Sinus << 4096 << 997.0 << 48000;
    QTest::newRow("cosine 123.4 Hz, 1000") << TSignalType::Cosinus << 1000 << 123.4 << 22050;
    QTest::newRow("square2 700 Hz") << TSignalType::Square2 << 4096 << 700.0 << 44100;
    QTest::newRow("triangle 300 Hz") << TSignalType::Triangle << 2500 << 300.0 << 44100;
}

void TestGenerator::autoPhaseJoins()
{
    QFETCH(TSignalType, signal);
    QFETCH(int, n);
    QFETCH(double, f);
    QFETCH(int, fs);
    TGenerator g;
    g.SetSignal(signal);
    g.SetNumSamples(n);
    g.SetSignalFrequency(f);
    g.SetSamplingFrequency(fs);
    g.SetPhase(2.5); // forgotten: an AutoPhase start begins at phase 0
    g.SetAutoPhase(true);

    Block stream;
    double phase = 0.0;
    for (int b = 0; b < 4; ++b) {
        const Block got = Run(g);
        const Block want = Periodic(signal, n, f, fs, 32767.0, phase);
        QVERIFY2(got == want,
                 qPrintable(QStringLiteral("block %1: %2").arg(b).arg(FirstDifference(got, want))));
        QCOMPARE(g.PreviousPhase(), phase);
        QVERIFY(!g.RestartPhase());
        stream.insert(stream.end(), got.begin(), got.end());
        phase = NextPhase(phase, n, f, fs);
    }

    // The joined blocks are one wave: the whole stream matches the signal computed over the
    // stream's own sample count (the chain only re-expresses the phase, up to rounding).
    if (signal == TSignalType::Sinus || signal == TSignalType::Cosinus) {
        const double w = Omega(f, fs);
        for (size_t k = 0; k < stream.size(); ++k) {
            const double x = w * double(k);
            const double v = 32767.0 * (signal == TSignalType::Sinus ? std::sin(x) : std::cos(x));
            QVERIFY2(
                std::fabs(stream[k] - v) <= 1.0,
                qPrintable(QStringLiteral("sample %1: %2 vs %3").arg(k).arg(stream[k]).arg(v)));
        }
    }

    // Setting AutoPhase again restarts at phase 0.
    g.SetAutoPhase(true);
    QVERIFY(g.RestartPhase());
    const Block restarted = Run(g);
    QCOMPARE(g.Phase(), 0.0);
    QVERIFY(restarted == Periodic(signal, n, f, fs, 32767.0, 0.0));
}

void TestGenerator::frequencyChangeKeepsTheWaveContinuous()
{
    const int n = 4096, fs = 44100;
    const double f1 = 1000.0, f2 = 1500.0;
    TGenerator g;
    g.SetNumSamples(n);
    g.SetAutoPhase(true);
    g.SetSignalFrequency(f1);
    const Block first = Run(g);
    g.SetSignalFrequency(f2);
    const Block second = Run(g);

    // The second block starts where the first one's wave would have gone on.
    const double expectedPhase = NextPhase(0.0, n, f1, fs);
    QVERIFY(std::fabs(g.Phase() - expectedPhase) < 1e-12);
    const Block want = Periodic(TSignalType::Sinus, n, f2, fs, 32767.0, expectedPhase);
    QVERIFY2(second == want, qPrintable(FirstDifference(second, want)));
    const double continued = 32767.0 * std::sin(Omega(f1, fs) * n);
    QVERIFY2(std::fabs(second[0] - continued) <= 1.0,
             qPrintable(QStringLiteral("%1 vs %2").arg(second[0]).arg(continued)));
    // No step: the first sample of the new block is as close to the last of the old one as
    // two neighbouring samples of the faster wave can be.
    const double maxStep = 32767.0 * Omega(f2, fs) + 2;
    QVERIFY(std::fabs(double(second[0]) - first.back()) <= maxStep);
}

void TestGenerator::autoPhaseOffUsesThePhaseAsSet()
{
    TGenerator g;
    g.SetNumSamples(512);
    g.SetPhase(0.75);
    const Block a = Run(g);
    const Block b = Run(g);
    QVERIFY(a == b);
    QVERIFY(a == Periodic(TSignalType::Sinus, 512, 1000.0, 44100, 32767.0, 0.75));
}

void TestGenerator::square1Counter_data()
{
    QTest::addColumn<int>("fs");
    QTest::addColumn<double>("f");
    QTest::addColumn<int>("period");
    QTest::addColumn<double>("volume");
    QTest::newRow("1 kHz at 44.1 kHz") << 44100 << 1000.0 << 44 << 100.0;
    QTest::newRow("odd 45 becomes 44") << 44100 << 980.0 << 44 << 100.0;
    QTest::newRow("44.5 rounds to even 44") << 89 << 2.0 << 44 << 100.0;
    QTest::newRow("45.5 rounds to even 46") << 91 << 2.0 << 46 << 100.0;
    QTest::newRow("half volume ties to even") << 44100 << 1000.0 << 44 << 50.0;
    QTest::newRow("two samples") << 44100 << 22050.0 << 2 << 100.0;
    QTest::newRow("period longer than the block") << 44100 << 5.0 << 8820 << 100.0;
}

void TestGenerator::square1Counter()
{
    QFETCH(int, fs);
    QFETCH(double, f);
    QFETCH(int, period);
    QFETCH(double, volume);
    TGenerator g;
    g.SetSignal(TSignalType::Square1);
    g.SetNumSamples(1000);
    g.SetSamplingFrequency(fs);
    g.SetSignalFrequency(f);
    g.SetVolumeInPercents(volume);
    g.SetAutoPhase(true);
    const qint16 high = qint16(HalfEven(volume * 32767.0 / 100.0));
    const qint16 low = qint16(HalfEven(-volume * 32767.0 / 100.0));
    for (int block = 0; block < 2; ++block) {
        // Every block starts with a whole positive half period.
        const Block got = Run(g);
        Block want(1000);
        for (int k = 0; k < 1000; ++k)
            want[size_t(k)] = (k % period) < period / 2 ? high : low;
        QVERIFY2(got == want, qPrintable(FirstDifference(got, want)));
    }
}

void TestGenerator::square1AboveTwoThirdsOfTheRateHandsOutNothing()
{
    TGenerator g;
    g.SetSignal(TSignalType::Square1);
    g.SetSignalFrequency(40000.0);
    int calls = 0;
    g.OnGenerate = [&](int, qint16) {
        ++calls;
    };
    g.Generate();
    QCOMPARE(calls, 0);
}

void TestGenerator::chirpBeyondThe32BitSquare()
{
    const int n = 65536, fs = 44100;
    const double f = 5000.0;
    TGenerator g;
    g.SetSignal(TSignalType::Chirp);
    g.SetNumSamples(n);
    g.SetSignalFrequency(f);
    g.SetVolumeInPercents(80.0);
    g.SetAutoPhase(true);
    const double a = 80.0 * 32767.0 / 100.0;
    const double c = double(PiL / fs) * (f / n);
    for (int block = 0; block < 2; ++block) { // each block starts again at 0 Hz
        const Block got = Run(g);
        Block want(static_cast<size_t>(n));
        for (long long k = 0; k < n; ++k)
            want[size_t(k)] = qint16(HalfEven(a * std::sin(c * double(k * k))));
        QVERIFY2(got == want, qPrintable(FirstDifference(got, want)));
    }
}

void TestGenerator::whiteNoiseFromSeed_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<double>("volume");
    QTest::newRow("full volume") << quint32(12345) << 100.0;
    QTest::newRow("half volume, ties to even") << quint32(86399999) << 50.0;
    QTest::newRow("seed 0") << quint32(0) << 33.0;
}

void TestGenerator::whiteNoiseFromSeed()
{
    QFETCH(quint32, seed);
    QFETCH(double, volume);
    const int n = 20000;
    TGenerator g;
    g.SetSignal(TSignalType::WhiteNoise);
    g.SetNumSamples(n);
    g.SetVolumeInPercents(volume);
    int seedCalls = 0;
    g.SetSeedSource([&] {
        ++seedCalls;
        return seed;
    });
    for (int block = 0; block < 2; ++block) {
        const Block got = Run(g);
        QCOMPARE(seedCalls, block + 1); // reseeded at every block
        TLcg lcg { seed };
        Block want(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k) {
            const int r = lcg.Next65535() - 32768; // -32768 .. 32766
            want[size_t(k)] = qint16(HalfEven(r * volume / 100.0));
        }
        QVERIFY2(got == want, qPrintable(FirstDifference(got, want)));
        QVERIFY(*std::max_element(got.begin(), got.end()) < 32767);
    }
}

void TestGenerator::whiteNoiseReseedsFromTheTimeOfDay()
{
    // Without an injected source the seed is the UTC time of day in ms: one of the values
    // between the readings before and after the block reproduces it.
    const int n = 256;
    TGenerator g;
    g.SetSignal(TSignalType::WhiteNoise);
    g.SetNumSamples(n);
    const qint64 before = QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay();
    const Block got = Run(g);
    const qint64 after = QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay();
    if (after < before)
        QSKIP("midnight passed during the block");
    bool found = false;
    for (qint64 s = before; s <= after && !found; ++s) {
        TLcg lcg { quint32(s) };
        Block want(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k)
            want[size_t(k)] = qint16(lcg.Next65535() - 32768);
        found = want == got;
    }
    QVERIFY(found);
}

void TestGenerator::pinkNoiseRows_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("volume");
    QTest::newRow("1024 samples") << 1024 << 100.0;
    QTest::newRow("8192 samples, 30 %") << 8192 << 30.0;
    QTest::newRow("1000: 512 repeated") << 1000 << 100.0;
    QTest::newRow("2 samples, one row") << 2 << 100.0;
}

void TestGenerator::pinkNoiseRows()
{
    QFETCH(int, n);
    QFETCH(double, volume);
    const quint32 seed = 4242;
    TGenerator g;
    g.SetSignal(TSignalType::PinkNoise);
    g.SetNumSamples(n);
    g.SetVolumeInPercents(volume);
    g.SetSeedSource([&] { return seed; });
    const Block got = Run(g);

    int length = 1;
    while (length * 2 <= n)
        length *= 2;
    int rowsCount = 0;
    while ((1 << rowsCount) < length)
        ++rowsCount;
    // Rows of held random values: row j holds one value per 2^j samples.
    TLcg lcg { seed };
    std::vector<std::vector<int>> rows(static_cast<size_t>(rowsCount),
                                       std::vector<int>(static_cast<size_t>(length)));
    for (int j = 0; j < rowsCount; ++j) {
        for (int start = 0; start < length; start += 1 << j) {
            const int r = lcg.Next65535() - 32768;
            for (int i = start; i < start + (1 << j); ++i)
                rows[size_t(j)][size_t(i)] = r;
        }
    }
    Block want(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        int sum = 0;
        for (int j = 0; j < rowsCount; ++j)
            sum += rows[size_t(j)][size_t(k % length)];
        want[size_t(k)] = qint16(HalfEven(double(sum) / rowsCount * volume / 100.0));
    }
    QVERIFY2(got == want, qPrintable(FirstDifference(got, want)));
}

void TestGenerator::mlsSequence_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("order");
    QTest::newRow("65536: order 14 four times") << 65536 << 14;
    QTest::newRow("4096: order 12, four taps") << 4096 << 12;
    QTest::newRow("256: order 8, four taps") << 256 << 8;
    QTest::newRow("8192: order 13, four taps") << 8192 << 13;
    QTest::newRow("8: order 3") << 8 << 3;
    QTest::newRow("1000: order 9 repeated") << 1000 << 9;
    QTest::newRow("5: start of order 3") << 5 << 3;
    QTest::newRow("1") << 1 << 3;
}

void TestGenerator::mlsSequence()
{
    QFETCH(int, n);
    QFETCH(int, order);
    TGenerator g;
    g.SetSignal(TSignalType::MLS);
    g.SetNumSamples(n);
    g.SetVolumeInPercents(10.0); // MLS ignores the volume
    const Block got = Run(g);
    const Block sequence = Mls(order);
    Block want(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        want[size_t(k)] = sequence[size_t(k) % sequence.size()];
    QVERIFY2(got == want, qPrintable(FirstDifference(got, want)));
}

void TestGenerator::mlsIsMaximalLength_data()
{
    QTest::addColumn<int>("order");
    for (int n = 3; n <= 14; ++n)
        QTest::newRow(qPrintable(QStringLiteral("order %1").arg(n))) << n;
}

void TestGenerator::mlsIsMaximalLength()
{
    // Every order's register runs through all 2^n - 1 non-zero states: each n-sample window
    // of one period is different, and the last entry repeats the first.
    QFETCH(int, order);
    TGenerator g;
    g.SetSignal(TSignalType::MLS);
    g.SetNumSamples(1 << order);
    const Block got = Run(g);
    const int period = (1 << order) - 1;
    QCOMPARE(int(got.size()), period + 1);
    QCOMPARE(got[size_t(period)], got[0]);
    std::set<int> windows;
    int ones = 0;
    for (int i = 0; i < period; ++i) {
        QVERIFY(got[size_t(i)] == 32767 || got[size_t(i)] == -32767);
        ones += got[size_t(i)] > 0;
        int w = 0;
        for (int j = 0; j < order; ++j)
            w = (w << 1) | (got[size_t((i + j) % period)] > 0 ? 1 : 0);
        windows.insert(w);
    }
    QCOMPARE(int(windows.size()), period);
    QCOMPARE(ones, 1 << (order - 1));
}

void TestGenerator::impulsLength_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("volume");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("high");
    QTest::newRow("8192 at 50 %") << 8192 << 50.0 << 100.0 << 4096 << 32767;
    QTest::newRow("7 at 50 %: 3.5 to 4") << 7 << 50.0 << 100.0 << 4 << 32767;
    QTest::newRow("5 at 50 %: 2.5 to 2") << 5 << 50.0 << 100.0 << 2 << 32767;
    QTest::newRow("10 % volume peak 3277") << 100 << 10.0 << 10.0 << 10 << 3277;
    QTest::newRow("50 % volume: 16383.5 to 16384") << 100 << 99.0 << 50.0 << 99 << 16384;
}

void TestGenerator::impulsLength()
{
    QFETCH(int, n);
    QFETCH(double, length);
    QFETCH(double, volume);
    QFETCH(int, m);
    QFETCH(int, high);
    TGenerator g;
    g.SetSignal(TSignalType::Impuls);
    g.SetNumSamples(n);
    g.SetImpulsLength(length);
    g.SetVolumeInPercents(volume);
    const Block got = Run(g);
    Block want(size_t(n), 0);
    for (int k = 0; k < m; ++k)
        want[size_t(k)] = qint16(high);
    QVERIFY2(got == want, qPrintable(FirstDifference(got, want)));
}

QTEST_GUILESS_MAIN(TestGenerator)
#include "tst_generator.moc"
