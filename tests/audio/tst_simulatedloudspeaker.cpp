// The simulated loudspeaker in the loopback: the piston's directivity at fixed angles, the
// sign beyond a null, latency and fixed delay through the bus, the sideways reflection, a
// turning table without clicks, a restarted input and the noise floor.

#include "audio/LoopbackBus.h"
#include "audio/SimulatedLoudspeaker.h"
#include "controls/VirtualClock.h"

#include <QtTest>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Radius = 0.1; // m
constexpr double DropDb = 12.0;

// J1 by its power series, independent of the library the filter uses.
double J1(double x)
{
    double term = x / 2.0;
    double sum = term;
    for (int k = 1; k < 60; ++k) {
        term *= -(x * x / 4.0) / (k * (k + 1.0));
        sum += term;
    }
    return sum;
}

double Piston(double f, double thetaDeg)
{
    const double x = std::abs(2.0 * Pi * f * Radius * std::sin(thetaDeg * Pi / 180.0) / 343.0);
    return x < 1e-9 ? 1.0 : 2.0 * J1(x) / x;
}

TSimulatedLoudspeaker::TParams Quiet()
{
    TSimulatedLoudspeaker::TParams p;
    p.RadiusM = Radius;
    p.DistanceDropDb = DropDb;
    p.Noise = false;
    return p;
}

std::vector<float> Sine(double f, int rate, int count, double amplitude = 0.5)
{
    std::vector<float> s(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        s[size_t(i)] = float(amplitude * std::sin(2.0 * Pi * f * i / rate));
    return s;
}

// A sine through the loudspeaker at a fixed angle, then the part after the transient: a
// whole number of periods of 1 and 4 kHz (0.1 s).
std::vector<float> SteadyOutput(TSimulatedLoudspeaker &speaker, double f, int rate)
{
    std::vector<float> s = Sine(f, rate, rate / 4);
    speaker.Process(s.data(), int(s.size()), rate, 0, 0.0);
    return { s.begin() + rate / 20, s.begin() + rate / 20 + rate / 10 };
}

double Rms(const std::vector<float> &s)
{
    double sum = 0.0;
    for (float v : s)
        sum += double(v) * v;
    return std::sqrt(sum / double(s.size()));
}

double Db(double ratio)
{
    return 20.0 * std::log10(ratio);
}

} // namespace

class TestSimulatedLoudspeaker : public QObject
{
    Q_OBJECT

private slots:
    void followsThePiston_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<double>("f");
        QTest::addColumn<double>("theta");
        for (double f : { 1000.0, 4000.0 }) {
            for (double theta : { 0.0, 15.0, 29.0, 30.0, 31.5, 45.0, 60.0, 90.0, 135.0, 180.0 })
                QTest::addRow("48000 Hz, %g Hz at %g deg", f, theta) << 48000 << f << theta;
            QTest::addRow("44100 Hz, %g Hz at 60 deg", f) << 44100 << f << 60.0;
        }
    }
    void followsThePiston()
    {
        QFETCH(int, rate);
        QFETCH(double, f);
        QFETCH(double, theta);
        TSimulatedLoudspeaker speaker([theta](double) { return theta; }, Quiet());
        const double measured = Db(Rms(SteadyOutput(speaker, f, rate)) / (0.5 / std::sqrt(2.0)));
        const double analytic = Db(std::abs(Piston(f, theta))) - DropDb;
        if (analytic > -30.0 - DropDb)
            QVERIFY2(std::abs(measured - analytic) < 0.05,
                     qPrintable(QString("%1 dB, expected %2 dB").arg(measured).arg(analytic)));
        else
            QVERIFY2(measured < -25.0 - DropDb, qPrintable(QString::number(measured)));
        QVERIFY(std::abs(TSimulatedLoudspeaker::PistonResponse(f, Radius, theta) - Piston(f, theta))
                < 1e-9);
    }

    // A rectangular piston 0.2 m wide and 0.08 m high: along the swept plane a line source of
    // that side, sin(x)/x with x = πfL·sinθ/c.
    void rectangleFollowsItsSweptSide_data()
    {
        QTest::addColumn<int>("plane");
        QTest::addColumn<double>("f");
        QTest::addColumn<double>("theta");
        for (int plane : { 0, 1 })
            for (double f : { 1000.0, 4000.0, 8000.0 })
                for (double theta : { 0.0, 20.0, 45.0, 90.0, 160.0 })
                    QTest::addRow("%s, %g Hz at %g deg", plane ? "vertical" : "horizontal", f,
                                  theta)
                        << plane << f << theta;
    }
    void rectangleFollowsItsSweptSide()
    {
        QFETCH(int, plane);
        QFETCH(double, f);
        QFETCH(double, theta);
        TSimulatedLoudspeaker::TParams params = Quiet();
        params.Shape = TSimulatedLoudspeaker::EShape::Rectangle;
        params.WidthM = 0.2;
        params.HeightM = 0.08;
        params.Plane = plane ? TSimulatedLoudspeaker::EPlane::Vertical
                             : TSimulatedLoudspeaker::EPlane::Horizontal;
        TSimulatedLoudspeaker speaker([theta](double) { return theta; }, params);
        const double length = plane ? 0.08 : 0.2;
        const double x = Pi * f * length * std::sin(theta * Pi / 180.0) / 343.0;
        const double line = std::abs(x) < 1e-9 ? 1.0 : std::sin(x) / x;
        const double measured = Db(Rms(SteadyOutput(speaker, f, 48000)) / (0.5 / std::sqrt(2.0)));
        const double analytic = Db(std::abs(line)) - DropDb;
        if (analytic > -30.0 - DropDb)
            QVERIFY2(std::abs(measured - analytic) < 0.05,
                     qPrintable(QString("%1 dB, expected %2 dB").arg(measured).arg(analytic)));
        else
            QVERIFY2(measured < -25.0 - DropDb, qPrintable(QString::number(measured)));
        QVERIFY(std::abs(TSimulatedLoudspeaker::LineResponse(f, length, theta) - line) < 1e-9);
    }

    void signFlipsBeyondANull_data()
    {
        QTest::addColumn<double>("theta");
        QTest::newRow("20 deg, before the first null") << 20.0;
        QTest::newRow("45 deg, beyond it") << 45.0;
        QTest::newRow("135 deg, behind, beyond it") << 135.0;
        QTest::newRow("80 deg, beyond the second null") << 80.0;
    }
    void signFlipsBeyondANull()
    {
        QFETCH(double, theta);
        constexpr double f = 4000.0;
        constexpr int rate = 48000;
        TSimulatedLoudspeaker onAxis({}, Quiet());
        TSimulatedLoudspeaker turned([theta](double) { return theta; }, Quiet());
        const std::vector<float> a = SteadyOutput(onAxis, f, rate);
        const std::vector<float> b = SteadyOutput(turned, f, rate);
        double correlation = 0.0;
        for (size_t i = 0; i < a.size(); ++i)
            correlation += double(a[i]) * b[i];
        correlation /= Rms(a) * Rms(b) * double(a.size());
        // In phase or in opposition, nothing in between: the response is real.
        const double expected = Piston(f, theta) > 0 ? 1.0 : -1.0;
        QVERIFY2(std::abs(correlation - expected) < 1e-3, qPrintable(QString::number(correlation)));
    }

    void impulseArrivesAfterLatencyAndFixedDelay_data()
    {
        QTest::addColumn<double>("latencyMs");
        QTest::addColumn<int>("rate");
        QTest::newRow("default 10 ms") << 10.0 << 48000;
        QTest::newRow("none") << 0.0 << 48000;
        QTest::newRow("3.7 ms at 44100 Hz") << 3.7 << 44100;
    }
    void impulseArrivesAfterLatencyAndFixedDelay()
    {
        QFETCH(double, latencyMs);
        QFETCH(int, rate);
        TVirtualClock clock(500);
        TLoopbackBus bus;
        bus.SetClock(&clock);
        TSimulatedLoudspeaker::TParams params = Quiet();
        params.LatencyMs = latencyMs;
        std::vector<double> asked;
        TSimulatedLoudspeaker speaker(
            [&asked](double ms) {
                asked.push_back(ms);
                return 0.0;
            },
            params);
        speaker.Install(bus);
        constexpr int At = 1000;
        const float one = 1.0f;
        bus.Write(At, &one, 1, rate);
        std::vector<float> heard(4000);
        bus.Read(0, heard.data(), int(heard.size()), rate);

        // On axis the loudspeaker is a pure delay with the distance's drop.
        const int expected
            = At + int(std::lround(latencyMs * rate / 1000.0)) + speaker.FixedDelaySamples(rate);
        const float gain = float(std::pow(10.0, -DropDb / 20.0));
        for (int i = 0; i < int(heard.size()); ++i)
            QVERIFY2(std::abs(heard[size_t(i)] - (i == expected ? gain : 0.0f)) < 1e-6f,
                     qPrintable(QString("sample %1: %2").arg(i).arg(heard[size_t(i)])));
        // The angle is asked at the samples' clock times.
        QVERIFY(!asked.empty());
        QCOMPARE(asked.front(), bus.TimeMsAt(0, rate));
        QVERIFY(asked.back() >= bus.TimeMsAt(3999, rate));

        speaker.Uninstall();
        bus.Read(0, heard.data(), int(heard.size()), rate);
        QCOMPARE(heard[At], 1.0f);
    }

    void reflectionLeavesSideways_data()
    {
        QTest::addColumn<double>("theta");
        QTest::newRow("0 deg") << 0.0;
        QTest::newRow("60 deg") << 60.0;
        QTest::newRow("90 deg") << 90.0;
    }
    void reflectionLeavesSideways()
    {
        QFETCH(double, theta);
        constexpr double f = 4000.0;
        constexpr double reflectionDb = -6.0;
        TSimulatedLoudspeaker::TParams params = Quiet();
        params.Reflection = true;
        params.ReflectionMs = 5.0; // 20 periods: the reflection adds in phase
        params.ReflectionDb = reflectionDb;
        TSimulatedLoudspeaker speaker([theta](double) { return theta; }, params);
        const double measured = Rms(SteadyOutput(speaker, f, 48000)) / (0.5 / std::sqrt(2.0));
        const double r = std::pow(10.0, reflectionDb / 20.0);
        const double expected = std::pow(10.0, -DropDb / 20.0)
            * std::abs(Piston(f, theta) + r * Piston(f, theta + 90.0));
        QVERIFY2(std::abs(Db(measured / expected)) < 0.05,
                 qPrintable(QString("%1, expected %2").arg(measured).arg(expected)));
    }

    void turningTableGivesNoClick()
    {
        // A full turn in 4 s, 20 times as fast as the table, played in uneven stretches.
        constexpr int rate = 48000;
        constexpr double f = 4000.0;
        auto turning = [](double ms) {
            return ms * 360.0 / 4000.0;
        };
        const std::vector<float> input = Sine(f, rate, 4 * rate);
        std::vector<float> whole = input;
        TSimulatedLoudspeaker once(turning, Quiet());
        once.Process(whole.data(), int(whole.size()), rate, 0, 0.0);

        std::vector<float> pieces = input;
        TSimulatedLoudspeaker inPieces(turning, Quiet());
        const int sizes[] = { 1000, 37, 4999, 256, 1 };
        for (int at = 0, k = 0; at < int(pieces.size()); ++k) {
            const int n = std::min(sizes[k % 5], int(pieces.size()) - at);
            inPieces.Process(pieces.data() + at, n, rate, at, at * 1000.0 / rate);
            at += n;
        }

        // The steepest step of a sine at the on-axis level, with a little room.
        const double gain = std::pow(10.0, -DropDb / 20.0);
        const double bound = 2.0 * gain * 0.5 * std::sin(Pi * f / rate) * 1.01;
        double steepest = 0.0;
        double difference = 0.0;
        for (size_t i = 1; i < pieces.size(); ++i) {
            steepest = std::max(steepest, std::abs(double(pieces[i]) - pieces[i - 1]));
            difference = std::max(difference, std::abs(double(pieces[i]) - whole[i]));
        }
        QVERIFY2(steepest <= bound, qPrintable(QString("%1 > %2").arg(steepest).arg(bound)));
        QVERIFY2(difference < 1e-5, qPrintable(QString::number(difference)));
        // It did turn: near 90 degrees the level is far below the level on axis.
        const std::vector<float> side(pieces.begin() + rate, pieces.begin() + rate + 480);
        QVERIFY(Rms(side) < 0.1 * gain * 0.5);
    }

    void restartedInputStartsFromSilence()
    {
        constexpr int rate = 48000;
        TSimulatedLoudspeaker speaker({}, Quiet());
        const int latency = speaker.LatencySamples(rate);
        std::vector<float> first(2000, 0.5f);
        speaker.Process(first.data(), int(first.size()), rate, 0, 0.0);
        std::vector<float> next(2000, 0.5f);
        speaker.Process(next.data(), int(next.size()), rate, 2000, 2000 * 1000.0 / rate);
        QVERIFY(std::abs(next[0]) > 0.1f); // continues: still hears the first stretch

        std::vector<float> restarted(2000, 0.5f);
        speaker.Process(restarted.data(), int(restarted.size()), rate, 100000, 5000.0);
        for (int i = 0; i < latency; ++i)
            QCOMPARE(restarted[size_t(i)], 0.0f);
        QVERIFY(std::abs(restarted.back()) > 0.1f);
    }

    void noiseFloor()
    {
        constexpr int rate = 48000;
        auto noiseOf = [](const TSimulatedLoudspeaker::TParams &p) {
            TSimulatedLoudspeaker speaker({}, p);
            std::vector<float> s(size_t(rate), 0.0f);
            speaker.Process(s.data(), int(s.size()), rate, 0, 0.0);
            return s;
        };
        TSimulatedLoudspeaker::TParams p;
        const std::vector<float> a = noiseOf(p);
        QVERIFY2(std::abs(Db(Rms(a)) - -90.0) < 0.2, qPrintable(QString::number(Db(Rms(a)))));
        QVERIFY(a == noiseOf(p)); // the same seed, the same noise
        p.NoiseSeed = 7;
        QVERIFY(a != noiseOf(p));
        p.Noise = false;
        QCOMPARE(Rms(noiseOf(p)), 0.0);
    }
};

QTEST_MAIN(TestSimulatedLoudspeaker)
#include "tst_simulatedloudspeaker.moc"
