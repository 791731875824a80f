// The simulated turntable controller: command pulses and their minimum width, states on
// the input pins, markers every 10 degrees, return to 0, latest command wins, switched off.

#include "controls/VirtualClock.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/SimulatedController.h"
#include "turntable/SimulatedPort.h"

#include <QtTest>

namespace {

constexpr quint8 Rest = 0xFF;
constexpr quint8 Forward = 0xFE; // pin 2 low
constexpr quint8 Backward = 0xFD; // pin 3 low
constexpr quint8 Stop = 0xFB; // pin 4 low
constexpr quint8 Reset = 0xEF; // pin 6 low

void Pulse(TVirtualClock &clock, TSimulatedController &sim, quint8 lines, int widthMs = 5)
{
    sim.SetCommandLines(lines);
    clock.Advance(widthMs);
    sim.SetCommandLines(Rest);
}

// The state as the program decodes it from the pins.
int Decoded(TSimulatedController &sim)
{
    if (!sim.PinLevel(15))
        return 0;
    if (sim.PinLevel(13))
        return 3;
    if (!sim.PinLevel(12))
        return 1;
    if (!sim.PinLevel(11))
        return 2;
    return 4;
}

} // namespace

class TstSimulatedController : public QObject
{
    Q_OBJECT

private slots:
    void pulseWidth_data();
    void pulseWidth();
    void statesOnPins_data();
    void statesOnPins();
    void markersEveryTenDegrees_data();
    void markersEveryTenDegrees();
    void returnsToZeroBackward_data();
    void returnsToZeroBackward();
    void latestCommandWins();
    void switchedOff();
    void angleHistoryMatchesTheAngleThen();
    void portShowsStatusThroughPinMap();
};

void TstSimulatedController::pulseWidth_data()
{
    QTest::addColumn<int>("widthMs");
    QTest::addColumn<int>("state");
    QTest::newRow("1 ms is ignored") << 1 << 3;
    QTest::newRow("0 ms is ignored") << 0 << 3;
    QTest::newRow("2 ms counts") << 2 << 2;
    QTest::newRow("5 ms counts") << 5 << 2;
}

void TstSimulatedController::pulseWidth()
{
    QFETCH(int, widthMs);
    QFETCH(int, state);
    TVirtualClock clock;
    TSimulatedController sim(clock);
    QCOMPARE(sim.State(), 3);
    Pulse(clock, sim, Forward, widthMs);
    QCOMPARE(sim.State(), state);
}

void TstSimulatedController::statesOnPins_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("state");
    QTest::newRow("forward") << int(Forward) << 2;
    QTest::newRow("backward") << int(Backward) << 1;
    QTest::newRow("stop") << int(Stop) << 3;
    QTest::newRow("reset away from 0") << int(Reset) << 4;
}

void TstSimulatedController::statesOnPins()
{
    QFETCH(int, command);
    QFETCH(int, state);
    TVirtualClock clock;
    TSimulatedController sim(clock);
    sim.SetTrueAngle(45);
    Pulse(clock, sim, quint8(command));
    QCOMPARE(sim.State(), state);
    QCOMPARE(Decoded(sim), state);
    QVERIFY(sim.PinLevel(10)); // no marker at 45 degrees
}

void TstSimulatedController::markersEveryTenDegrees_data()
{
    QTest::addColumn<int>("turnMs");
    QTest::addColumn<int>("markerLowMs");
    QTest::newRow("default 80 s") << TSimulatedController::DefaultTurnMs
                                  << TSimulatedController::DefaultMarkerLowMs;
    QTest::newRow("36 s, 100 ms marker") << 36000 << 100;
}

void TstSimulatedController::markersEveryTenDegrees()
{
    QFETCH(int, turnMs);
    QFETCH(int, markerLowMs);
    TVirtualClock clock;
    TSimulatedController sim(clock, turnMs, markerLowMs);
    Pulse(clock, sim, Forward, 2); // the command takes effect at the end of the pulse
    const qint64 start = clock.NowMs();

    // Sample the marker pin every millisecond for one whole turn and the last marker.
    QList<qint64> falls;
    qint64 lowMs = 0;
    bool previous = true;
    while (clock.NowMs() - start < turnMs + markerLowMs + 10) {
        clock.Advance(1);
        const bool level = sim.PinLevel(10);
        if (!level)
            ++lowMs;
        if (previous && !level)
            falls.append(clock.NowMs() - start);
        previous = level;
    }
    QCOMPARE(falls.size(), 36);
    QCOMPARE(sim.MarkersPassed(), 36);
    QCOMPARE(lowMs, qint64(36) * markerLowMs);
    for (int k = 0; k < falls.size(); ++k) {
        const double expected = (k + 1) * turnMs / 36.0;
        QVERIFY2(qAbs(falls.at(k) - expected) <= 1.0,
                 qPrintable(QString("marker %1 at %2 ms").arg(k + 1).arg(falls.at(k))));
    }
    const double expectedAngle = (markerLowMs + 10) * 360.0 / turnMs;
    QVERIFY2(qAbs(sim.TrueAngle() - expectedAngle) < 0.01,
             qPrintable(QString::number(sim.TrueAngle())));
}

void TstSimulatedController::returnsToZeroBackward_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<int>("markers");
    QTest::newRow("from 90") << 90.0 << 9;
    QTest::newRow("from 275 (-85)") << 275.0 << 28;
    QTest::newRow("from 5") << 5.0 << 1;
}

void TstSimulatedController::returnsToZeroBackward()
{
    QFETCH(double, from);
    QFETCH(int, markers);
    TVirtualClock clock;
    TSimulatedController sim(clock);
    sim.SetTrueAngle(from);
    Pulse(clock, sim, Reset);
    QCOMPARE(sim.State(), 4);
    clock.Advance(1000);
    QVERIFY(sim.TrueAngle() < from); // turning backward
    const qint64 travelMs = qint64(from / 360.0 * sim.TurnMs() + 0.5);
    clock.Advance(int(travelMs) - 1000 + 100);
    QCOMPARE(sim.State(), 3);
    QCOMPARE(sim.TrueAngle(), 0.0);
    QCOMPARE(sim.MarkersPassed(), markers);
    // The marker at 0 is reached, then the table stands.
    clock.Advance(1000);
    QCOMPARE(sim.TrueAngle(), 0.0);
    QVERIFY(sim.PinLevel(10));

    // A return to 0 when already there just stops.
    Pulse(clock, sim, Reset);
    QCOMPARE(sim.State(), 3);
}

void TstSimulatedController::latestCommandWins()
{
    TVirtualClock clock;
    TSimulatedController sim(clock);
    sim.SetTrueAngle(180);
    Pulse(clock, sim, Forward);
    clock.Advance(2000);
    Pulse(clock, sim, Backward);
    QCOMPARE(sim.State(), 1);
    clock.Advance(2000);
    Pulse(clock, sim, Reset);
    QCOMPARE(sim.State(), 4);
    clock.Advance(1000);
    Pulse(clock, sim, Stop);
    QCOMPARE(sim.State(), 3);
    const double at = sim.TrueAngle();
    clock.Advance(5000);
    QCOMPARE(sim.TrueAngle(), at);
    // Each command acts at the end of its pulse: forward 2005 ms, backward 2005 ms,
    // returning 1005 ms, at 4.5 degrees per second.
    QVERIFY(qAbs(at - (180 + (2005 - 2005 - 1005) * 360.0 / 80000)) < 0.05);
}

void TstSimulatedController::switchedOff()
{
    TVirtualClock clock;
    TSimulatedController sim(clock);
    Pulse(clock, sim, Forward);
    sim.SetSwitchedOff(true);
    QCOMPARE(sim.State(), 0);
    QCOMPARE(Decoded(sim), 0);
    const double at = sim.TrueAngle();
    Pulse(clock, sim, Forward);
    clock.Advance(10000);
    QCOMPARE(sim.State(), 0);
    QCOMPARE(sim.TrueAngle(), at);
    QCOMPARE(sim.MarkersPassed(), 0);
    sim.SetSwitchedOff(false);
    QCOMPARE(sim.State(), 3);
}

void TstSimulatedController::angleHistoryMatchesTheAngleThen()
{
    // Forward, backward through 0, forward again and a return to 0, with the angle read
    // every millisecond as it happens.
    TVirtualClock clock(1000);
    TSimulatedController sim(clock);
    sim.SetTrueAngle(3);
    QList<QPair<qint64, double>> seen;
    auto run = [&](int ms) {
        for (int i = 0; i < ms; ++i) {
            clock.Advance(1);
            seen.append({ clock.NowMs(), sim.TrueAngle() });
        }
    };
    run(10);
    for (quint8 command : { Forward, Backward, Forward, Reset }) {
        Pulse(clock, sim, command);
        run(command == Backward ? 4000 : 2000);
    }
    QCOMPARE(sim.State(), 3);
    QCOMPARE(sim.TrueAngle(), 0.0);

    for (int i = 0; i < seen.size(); ++i) {
        const auto [ms, angle] = seen.at(i);
        QCOMPARE(sim.TrueAngleAt(double(ms)), angle);
        if (i + 1 == seen.size() || seen.at(i + 1).first != ms + 1)
            continue;
        // Between two steps the table moves evenly (away from the wrap and the arrival).
        const double next = seen.at(i + 1).second;
        if (angle != 0.0 && next != 0.0 && qAbs(next - angle) < 1.0)
            QVERIFY2(qAbs(sim.TrueAngleAt(ms + 0.5) - (angle + next) / 2) < 1e-9,
                     qPrintable(QString("at %1.5 ms").arg(ms)));
    }
    // Later than now is now.
    QCOMPARE(sim.TrueAngleAt(double(clock.NowMs()) + 5000.0), sim.TrueAngle());
}

void TstSimulatedController::portShowsStatusThroughPinMap()
{
    TVirtualClock clock;
    auto sim = std::make_shared<TSimulatedController>(clock);
    TDLPrinterPortIO port(std::make_unique<TSimulatedPort>(sim));
    QCOMPARE(port.LPTNumPorts(), 1);
    QCOMPARE(port.LPTBasePort(), TSimulatedPort::BaseAddress);
    port.OpenDriver();
    QVERIFY(port.ActiveHW());
    QCOMPARE(TSimulatedController::Instance(), sim.get());

    port.SetPin(2, false);
    clock.Advance(5);
    port.SetPin(2, true);
    QCOMPARE(sim->State(), 2);
    // Forward: 11 low, 12 high, 13 low, 15 high.
    QCOMPARE(port.GetPin(11), false);
    QCOMPARE(port.GetPin(12), true);
    QCOMPARE(port.GetPin(13), false);
    QCOMPARE(port.GetPin(15), true);
    QCOMPARE(port.GetPin(10), true);
    // Status register bit 7 is the complement of pin 11.
    QVERIFY(port.ReadPortByte(TSimulatedPort::BaseAddress + 1) & 0x80);
}

QTEST_MAIN(TstSimulatedController)
#include "tst_simulatedcontroller.moc"
