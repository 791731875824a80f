// The CTA-2034 curves of two turns: each curve as the standard defines it from the responses at
// 0°, ±10°, … 180° (levels interpolated between frames), the Sound Power weights, what is not
// measured, the refusals and the CSV text. The turns are synthetic: frames at known angles, each
// a response of one or two taps, so every frame's level is known in closed form.

#include "analysis/DirectivityResult.h"
#include "analysis/MicCalibration.h"
#include "analysis/Spinorama.h"
#include "analysis/SpinoramaFolder.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <complex>
#include <functional>
#include <map>
#include <numbers>
#include <random>

namespace {

constexpr int Rate = 44100;

// A frame's taps: a direct tap of gain Direct and, Delay samples later, one of gain Echo.
struct TTaps
{
    double Direct = 1.0;
    double Echo = 0.0;
};
using TPattern = std::function<TTaps(double angleDeg)>;

struct TTurn
{
    double FromDeg = -180.0;
    double ToDeg = 180.0;
    double StepDeg = 3.0;
    double GateMs = 50.0;
    int Rate = 44100;
};

constexpr int Delay = 7; // samples between the two taps
constexpr int GateLength = 32;

TDirectivityResult Turn(const TPattern &pattern, const TTurn &turn = {})
{
    TDirectivityResult result;
    result.Name = QStringLiteral("Syntetyczny");
    result.SampleRate = turn.Rate;
    result.GateOpenMs = -1.0;
    result.GateCloseMs = turn.GateMs - 1.0;
    result.GateLength = GateLength;
    result.GateFirstTap = -3;
    for (double a = turn.FromDeg; a <= turn.ToDeg + 1e-9; a += turn.StepDeg) {
        result.FrameAnglesDeg.push_back(a);
        std::vector<float> taps(GateLength, 0.0f);
        const TTaps t = pattern(a);
        taps[3] = float(t.Direct);
        taps[3 + Delay] = float(t.Echo);
        result.Responses.insert(result.Responses.end(), taps.begin(), taps.end());
    }
    return result;
}

// The level of taps at f Hz, dB (as float taps hold them).
double TapsDb(const TTaps &t, double f)
{
    const double omega = 2.0 * std::numbers::pi * f / Rate;
    const std::complex<double> h
        = double(float(t.Direct)) + double(float(t.Echo)) * std::polar(1.0, -omega * Delay);
    return 10.0 * std::log10(std::norm(h));
}

// The response at angleDeg of a turn with frames every stepDeg from -180°: linear in dB between
// the frames around it.
double AngleDb(const TPattern &pattern, double stepDeg, double angleDeg, double f)
{
    const double below = -180.0 + std::floor((angleDeg + 180.0) / stepDeg + 1e-9) * stepDeg;
    const double share = (angleDeg - below) / stepDeg;
    const double lo = TapsDb(pattern(below), f);
    if (share < 1e-9)
        return lo;
    return lo + share * (TapsDb(pattern(below + stepDeg), f) - lo);
}

double Power(double db)
{
    return std::pow(10.0, db / 10.0);
}

// The standard's Sound Power weights, every 10° from the axis.
double Weight(int angle)
{
    static const std::map<int, double> weights = {
        { 0, 0.000604486 },  { 10, 0.004730189 }, { 20, 0.008955027 }, { 30, 0.012387354 },
        { 40, 0.014989611 }, { 50, 0.016868154 }, { 60, 0.018165962 }, { 70, 0.019006744 },
        { 80, 0.019477787 }, { 90, 0.019629373 },
    };
    const int a = std::abs(angle);
    return weights.at(a > 90 ? 180 - a : a);
}

// The curves at one frequency as the standard defines them, from two planes' responses.
std::map<int, double> Expected(const std::function<double(bool vertical, int angle)> &db)
{
    const auto mean = [&](bool vertical, std::initializer_list<int> angles) {
        double sum = 0;
        for (int a : angles)
            sum += Power(db(vertical, a));
        return sum / angles.size();
    };
    const double lw
        = (3 * mean(true, { 0, 10, -10 }) + 6 * mean(false, { 10, -10, 20, -20, 30, -30 })) / 9.0;
    const double floor = mean(true, { -20, -30, -40 });
    const double ceiling = mean(true, { 40, 50, 60 });
    const double front = mean(false, { 0, 10, -10, 20, -20, 30, -30 });
    const double side = mean(false, { 40, -40, 50, -50, 60, -60, 70, -70, 80, -80 });
    const double rear = mean(false, { 90, -90, 180 });
    const double er = (floor + ceiling + front + side + rear) / 5.0;
    double sp = 0, weights = 0;
    for (int a = -170; a <= 180; a += 10) {
        sp += Weight(a) * Power(db(false, a));
        weights += Weight(a);
        if (a != 0 && a != 180) {
            sp += Weight(a) * Power(db(true, a));
            weights += Weight(a);
        }
    }
    sp /= weights;
    const auto dB = [](double p) {
        return 10.0 * std::log10(p);
    };
    return {
        { TSpinorama::OnAxis, db(false, 0) },
        { TSpinorama::ListeningWindow, dB(lw) },
        { TSpinorama::EarlyReflections, dB(er) },
        { TSpinorama::SoundPower, dB(sp) },
        { TSpinorama::EstimatedInRoom, dB(0.12 * lw + 0.44 * er + 0.44 * sp) },
        { TSpinorama::EarlyReflectionsDi, dB(lw) - dB(er) },
        { TSpinorama::SoundPowerDi, dB(lw) - dB(sp) },
        { TSpinorama::FloorBounce, dB(floor) },
        { TSpinorama::CeilingBounce, dB(ceiling) },
        { TSpinorama::FrontWallBounce, dB(front) },
        { TSpinorama::SideWallBounce, dB(side) },
        { TSpinorama::RearWallBounce, dB(rear) },
    };
}

size_t RowOf(const TSpinorama &spin, double hz)
{
    const auto it = std::lower_bound(spin.FrequenciesHz.begin(), spin.FrequenciesHz.end(), hz);
    return size_t(it - spin.FrequenciesHz.begin());
}

double Sinc(double x)
{
    return std::abs(x) < 1e-12 ? 1.0 : std::sin(x) / x;
}

// A line source's beam, floored at -40 dB so nulls stay finite: a level that bends between frames.
TPattern Beam(double width)
{
    return [width](double a) {
        const double g = std::abs(Sinc(width * std::sin(a * std::numbers::pi / 180.0)));
        return TTaps { std::max(g, 0.01), 0.0 };
    };
}

} // namespace

Q_DECLARE_METATYPE(TPattern)
Q_DECLARE_METATYPE(TTurn)

class TestSpinorama : public QObject
{
    Q_OBJECT

private slots:
    void curvesFollowTheirDefinitions_data();
    void curvesFollowTheirDefinitions();
    void soundPowerWeights_data();
    void soundPowerWeights();
    void lowFrequenciesAreNotMeasured_data();
    void lowFrequenciesAreNotMeasured();
    void refusals_data();
    void refusals();
    void onAxisIsTheFramesOwnLevel_data();
    void onAxisIsTheFramesOwnLevel();
    void csvText();
    void folderNames_data();
    void folderNames();
};

void TestSpinorama::curvesFollowTheirDefinitions_data()
{
    QTest::addColumn<TPattern>("horizontal");
    QTest::addColumn<TPattern>("vertical");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("from");
    const TPattern flat = [](double) {
        return TTaps { 0.5, 0.0 };
    };
    // Louder above the axis than below, so floor and ceiling differ and the sign shows.
    const TPattern tilted = [](double a) {
        const double r = a * std::numbers::pi / 180.0;
        return TTaps { 0.2 + 0.15 * std::cos(r) + 0.1 * std::sin(r), 0.0 };
    };
    // Each angle's own comb: the level depends on frequency and angle.
    const TPattern comb = [](double a) {
        return TTaps { 1.0 - std::abs(a) / 400.0, 0.6 * std::cos(a * std::numbers::pi / 360.0) };
    };
    QTest::newRow("flat, frames on the angles") << flat << flat << 1.0 << -180.0;
    QTest::newRow("beams, frames every 3°") << Beam(3.0) << Beam(1.2) << 3.0 << -180.0;
    QTest::newRow("tilted vertical, frames every 3°") << Beam(2.0) << tilted << 3.0 << -180.0;
    QTest::newRow("combs, frames every 4°") << comb << tilted << 4.0 << -180.0;
    QTest::newRow("combs, frames every 0.25°") << tilted << comb << 0.25 << -180.0;
    // The chart's full turn runs 0° … 360°: -170° is the frame at 190°.
    QTest::newRow("turns 0° … 360°") << Beam(2.5) << tilted << 3.0 << 0.0;
}

void TestSpinorama::curvesFollowTheirDefinitions()
{
    QFETCH(TPattern, horizontal);
    QFETCH(TPattern, vertical);
    QFETCH(double, step);
    QFETCH(double, from);
    TTurn turn;
    turn.StepDeg = step;
    turn.FromDeg = from;
    turn.ToDeg = from + 360.0;
    QString error;
    const auto spin = TSpinorama::Compute(Turn(horizontal, turn), Turn(vertical, turn), 0, &error);
    QVERIFY2(spin, qPrintable(error));
    for (double hz : { 20.0, 250.0, 1000.0, 3150.0, 7000.0, 20000.0 }) {
        const size_t row = RowOf(*spin, hz);
        QVERIFY(row < spin->FrequenciesHz.size());
        const double f = spin->FrequenciesHz[row];
        const auto expected = Expected(
            [&](bool v, int angle) { return AngleDb(v ? vertical : horizontal, step, angle, f); });
        for (const auto &[curve, db] : expected) {
            const double seen = spin->CurvesDb[size_t(curve)][row];
            QVERIFY2(std::abs(seen - db) < 1e-6,
                     qPrintable(QStringLiteral("curve %1 at %2 Hz: %3 dB, expected %4 dB")
                                    .arg(curve)
                                    .arg(f)
                                    .arg(seen)
                                    .arg(db)));
        }
    }
}

void TestSpinorama::soundPowerWeights_data()
{
    // Every response at 0 dB but one, raised by 10 dB.
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("angle");
    QTest::addColumn<bool>("counted");
    QTest::newRow("nothing raised") << false << 1 << false;
    QTest::newRow("horizontal 0°") << false << 0 << true;
    QTest::newRow("horizontal 90°") << false << 90 << true;
    QTest::newRow("horizontal -90°") << false << -90 << true;
    QTest::newRow("horizontal 180°") << false << 180 << true;
    QTest::newRow("horizontal -170°") << false << -170 << true;
    QTest::newRow("horizontal 50°") << false << 50 << true;
    QTest::newRow("vertical 40°") << true << 40 << true;
    QTest::newRow("vertical -120°") << true << -120 << true;
    QTest::newRow("vertical 0° is the horizontal one") << true << 0 << false;
    QTest::newRow("vertical 180° is the horizontal one") << true << 180 << false;
}

void TestSpinorama::soundPowerWeights()
{
    QFETCH(bool, vertical);
    QFETCH(int, angle);
    QFETCH(bool, counted);
    const double raisedDb = 10.0;
    const TPattern flat = [](double) {
        return TTaps { 1.0, 0.0 };
    };
    const TPattern raised = [&](double a) {
        return TTaps { std::abs(std::remainder(a - angle, 360.0)) < 1e-9 ? std::sqrt(10.0) : 1.0,
                       0.0 };
    };
    TTurn turn;
    turn.StepDeg = 1.0;
    const auto spin = TSpinorama::Compute(Turn(vertical ? flat : raised, turn),
                                          Turn(vertical ? raised : flat, turn));
    QVERIFY(spin);
    // The weights of the 70 responses, as the standard lists them by angle from the axis.
    double total = 0;
    for (int a = -170; a <= 180; a += 10)
        total += Weight(a) + (a != 0 && a != 180 ? Weight(a) : 0.0);
    const double expected = counted
        ? 10.0 * std::log10((total + Weight(angle) * (Power(raisedDb) - 1.0)) / total)
        : 0.0;
    for (size_t r = 0; r < spin->FrequenciesHz.size(); r += 20)
        QVERIFY2(std::abs(spin->CurvesDb[TSpinorama::SoundPower][r] - expected) < 1e-6,
                 qPrintable(QStringLiteral("%1 dB, expected %2 dB")
                                .arg(spin->CurvesDb[TSpinorama::SoundPower][r])
                                .arg(expected)));
}

void TestSpinorama::lowFrequenciesAreNotMeasured_data()
{
    QTest::addColumn<double>("horizontalGateMs");
    QTest::addColumn<double>("verticalGateMs");
    QTest::addColumn<double>("lowestHz");
    QTest::addColumn<int>("rate");
    QTest::newRow("both 50 ms: all from 20 Hz") << 50.0 << 50.0 << 20.0 << 44100;
    QTest::newRow("horizontal 10 ms") << 10.0 << 50.0 << 100.0 << 44100;
    QTest::newRow("vertical 4 ms") << 50.0 << 4.0 << 250.0 << 44100;
    QTest::newRow("both short, vertical shorter") << 8.0 << 5.0 << 200.0 << 44100;
    QTest::newRow("32 kHz: nothing from 16 kHz") << 50.0 << 50.0 << 20.0 << 32000;
}

void TestSpinorama::lowFrequenciesAreNotMeasured()
{
    QFETCH(double, horizontalGateMs);
    QFETCH(double, verticalGateMs);
    QFETCH(double, lowestHz);
    QFETCH(int, rate);
    TTurn h, v;
    h.GateMs = horizontalGateMs;
    v.GateMs = verticalGateMs;
    h.Rate = v.Rate = rate;
    const auto spin = TSpinorama::Compute(Turn(Beam(2.0), h), Turn(Beam(1.0), v));
    QVERIFY(spin);
    QCOMPARE(spin->LowestMeasuredHz, lowestHz);
    for (size_t r = 0; r < spin->FrequenciesHz.size(); ++r) {
        const bool measured
            = spin->FrequenciesHz[r] >= lowestHz * (1 - 1e-9) && spin->FrequenciesHz[r] < rate / 2;
        for (const auto &curve : spin->CurvesDb)
            QVERIFY2(std::isfinite(curve[r]) == measured,
                     qPrintable(QString::number(spin->FrequenciesHz[r])));
    }
}

void TestSpinorama::refusals_data()
{
    QTest::addColumn<TTurn>("horizontal");
    QTest::addColumn<TTurn>("vertical");
    QTest::addColumn<QStringList>("words");
    TTurn full, halfTurn, rate48k, sparse, shortOf180;
    halfTurn.FromDeg = -90;
    halfTurn.ToDeg = 90;
    rate48k.Rate = 48000;
    sparse.StepDeg = 12.0; // -170° lies 10° above the frame at -180° and 2° below the next
    shortOf180.ToDeg = 172.0; // 180° has no frame on its upper side
    shortOf180.FromDeg = -171.0;
    QTest::newRow("different rates")
        << full << rate48k
        << QStringList { QStringLiteral("44100 Hz"), QStringLiteral("48000 Hz") };
    QTest::newRow("horizontal half turn")
        << halfTurn << full << QStringList { QStringLiteral("poziomej"), QStringLiteral("-170°") };
    QTest::newRow("vertical half turn")
        << full << halfTurn << QStringList { QStringLiteral("pionowej"), QStringLiteral("-170°") };
    QTest::newRow("horizontal short of 180°")
        << shortOf180 << full << QStringList { QStringLiteral("poziomej"), QStringLiteral("180°") };
    QTest::newRow("vertical frames too sparse")
        << full << sparse << QStringList { QStringLiteral("pionowej"), QStringLiteral("-170°") };
}

void TestSpinorama::refusals()
{
    QFETCH(TTurn, horizontal);
    QFETCH(TTurn, vertical);
    QFETCH(QStringList, words);
    QString error;
    const auto spin
        = TSpinorama::Compute(Turn(Beam(2.0), horizontal), Turn(Beam(1.0), vertical), 0, &error);
    QVERIFY(!spin);
    for (const QString &word : words)
        QVERIFY2(error.contains(word), qPrintable(error));
}

void TestSpinorama::onAxisIsTheFramesOwnLevel_data()
{
    QTest::addColumn<int>("smoothing");
    QTest::addColumn<double>("gateMs");
    QTest::addColumn<bool>("calibrated"); // a microphone's file and a sensitivity
    QTest::newRow("unsmoothed, 50 ms") << 0 << 50.0 << false;
    QTest::newRow("1/6 octave, 10 ms") << 6 << 10.0 << false;
    QTest::newRow("unsmoothed, calibrated") << 0 << 50.0 << true;
    QTest::newRow("1/6 octave, calibrated") << 6 << 10.0 << true;
}

void TestSpinorama::onAxisIsTheFramesOwnLevel()
{
    // Realistic gates of decaying noise: the spin's on-axis curve is the level of the frame at
    // 0°, as every export of the frame has it (calibrated as they are).
    QFETCH(int, smoothing);
    QFETCH(double, gateMs);
    QFETCH(bool, calibrated);
    TDirectivityResult result = Turn(Beam(2.0), TTurn { -180.0, 180.0, 10.0, gateMs, Rate });
    result.GateLength = int(gateMs * Rate / 1000.0);
    result.GateFirstTap = -44;
    std::mt19937 random(3);
    std::normal_distribution<float> noise(0.0f, 1.0f);
    result.Responses.resize(size_t(result.FrameCount()) * size_t(result.GateLength));
    for (size_t i = 0; i < result.Responses.size(); ++i)
        result.Responses[i]
            = noise(random) * std::exp(-float(i % size_t(result.GateLength)) / 300.0f);
    if (calibrated) {
        result.MicCal = std::make_shared<const TMicCalibration>(
            *TMicCalibration::Parse("100 0\n10000 10\n", QStringLiteral("mic.txt")));
        result.SensitivityDbfs = -40.0;
    }
    const auto spin = TSpinorama::Compute(result, result, smoothing);
    QVERIFY(spin);
    const int frame = result.FrameAt(0.0, 0.1);
    for (size_t r = 0; r < spin->FrequenciesHz.size(); r += 7) {
        const double f = spin->FrequenciesHz[r];
        if (f < spin->LowestMeasuredHz)
            continue;
        const double expected = result.LevelDb(frame, f, smoothing);
        QVERIFY2(std::abs(spin->CurvesDb[TSpinorama::OnAxis][r] - expected) < 1e-6,
                 qPrintable(QStringLiteral("%1 Hz: %2 dB, expected %3 dB")
                                .arg(f)
                                .arg(spin->CurvesDb[TSpinorama::OnAxis][r])
                                .arg(expected)));
    }
}

void TestSpinorama::csvText()
{
    TTurn h, v;
    h.GateMs = 20.0; // measured from 50 Hz
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const auto spin = TSpinorama::Compute(Turn(Beam(2.5), h), Turn(Beam(1.5), v));
    QVERIFY(spin);
    const QString text = TSpinorama::CsvText(*spin);
    QLocale::setDefault(saved);

    QVERIFY(text.endsWith(QLatin1Char('\n')));
    const QStringList lines = text.split(QLatin1Char('\n'));
    QCOMPARE(lines.last(), QString()); // after the last newline
    QCOMPARE(lines.first(),
             QStringLiteral("Freq[Hz],On Axis,Listening Window,Early Reflections,Sound Power,"
                            "Estimated In-Room Response,Early Reflections DI,Sound Power DI"));
    // 1/20 octave over the ten octaves from 20 Hz to 20 kHz, and the header.
    QCOMPARE(lines.size() - 2, 201);
    QCOMPARE(int(spin->FrequenciesHz.size()), 201);
    int empty = 0;
    for (int i = 1; i < lines.size() - 1; ++i) {
        const QStringList fields = lines[i].split(QLatin1Char(','));
        QCOMPARE(fields.size(), 8);
        bool ok = false;
        const double hz = fields[0].toDouble(&ok);
        QVERIFY2(ok, qPrintable(lines[i]));
        QVERIFY(std::abs(hz - spin->FrequenciesHz[size_t(i - 1)]) < 1e-3);
        if (hz < 50.0 * (1 - 1e-9)) {
            ++empty;
            for (int c = 1; c < 8; ++c)
                QVERIFY2(fields[c].isEmpty(), qPrintable(lines[i]));
            continue;
        }
        for (int c = 1; c < 8; ++c) {
            QVERIFY2(!fields[c].contains(QLatin1Char(' ')), qPrintable(lines[i]));
            const double db = fields[c].toDouble(&ok);
            QVERIFY2(ok, qPrintable(lines[i]));
            QVERIFY(std::abs(db - spin->CurvesDb[size_t(c - 1)][size_t(i - 1)]) < 1e-3);
        }
    }
    // 20 Hz to just under 50 Hz: 20·log2(2.5) steps.
    QCOMPARE(empty, 27);
    QVERIFY2(lines[100].count(QLatin1Char('.')) == 8, qPrintable(lines[100]));
}

void TestSpinorama::folderNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << QStringLiteral("Kolumna A") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("blank") << QStringLiteral("  ") << false;
    QTest::newRow("_H inside") << QStringLiteral("Kolumna_H2") << false;
    QTest::newRow("_V at the end") << QStringLiteral("Kolumna _V") << false;
}

// "Eksportuj dla spinoramy…" refuses names the tools would misread, writing nothing; an accepted
// name gives 72 files whose horizontal 0° is the spin's On Axis.
void TestSpinorama::folderNames()
{
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    const TDirectivityResult h = Turn(Beam(2.0)), v = Turn(Beam(1.0));
    const auto spin = TSpinorama::Compute(h, v);
    QVERIFY(spin);
    QTemporaryDir dir;
    QString error;
    int written = -1;
    QCOMPARE(TSpinoramaFolder::Write(*spin, h, v, 0, dir.path(), name, &error, &written), accepted);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), written);
    if (!accepted) {
        QVERIFY(!error.isEmpty() && written == 0);
        return;
    }
    QCOMPARE(written, 72);
    QFile file(dir.filePath(name + " _H 0.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    const std::vector<double> &onAxis = spin->CurvesDb[TSpinorama::OnAxis];
    const size_t first = spin->FrequenciesHz.size() - spin->MeasuredFrequenciesHz().size();
    QCOMPARE(size_t(lines.size()), 1 + spin->MeasuredFrequenciesHz().size() + 1);
    for (size_t r = first; r < onAxis.size(); ++r) {
        const QList<QByteArray> fields = lines[qsizetype(r - first + 1)].split(' ');
        QCOMPARE(fields.size(), 3);
        QVERIFY(std::abs(fields[0].toDouble() - spin->FrequenciesHz[r]) < 1e-3);
        QVERIFY2(std::abs(fields[1].toDouble() - onAxis[r]) < 1e-3, fields[1].constData());
    }
}

QTEST_GUILESS_MAIN(TestSpinorama)
#include "tst_spinorama.moc"
