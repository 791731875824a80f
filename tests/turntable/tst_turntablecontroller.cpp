// The turntable logic against the simulated controller on a virtual clock: command pulses,
// marker counting with its dead time, state watch, steps and range runs with their
// messages; pin save and restore and the failed-port path against a fake port.

#include "helpers/FakePort.h"
#include "helpers/TurntableRig.h"

#include "turntable/DLPrinterPortIO.h"

#include <QtTest>

#include <cmath>

class TstTurntableController : public QObject
{
    Q_OBJECT

private slots:
    void rangeRun_data();
    void rangeRun();
    void invalidRange_data();
    void invalidRange();
    void stepCountsMarkers_data();
    void stepCountsMarkers();
    void markerHeldLowCountsAfterEachDeadTime_data();
    void markerHeldLowCountsAfterEachDeadTime();
    void returnToZeroEndResetsAngle();
    void stateWatchDrivesMarkerTimer();
    void stopDuringRangeEndsIt_data();
    void stopDuringRangeEndsIt();
    void programClosingEndsStep();
    void switchedOffControllerCountsNothing();
    void pinsSavedAndRestored();
    void failedPortStaysInert_data();
    void failedPortStaysInert();
};

// Every command pulse is a 5 ms low pulse; pin 5 stays high throughout.
static void CheckPulseShapes(const TTurntableRig &rig)
{
    const QList<TPinPulse> pulses = PulsesOf(*rig.Trace);
    QCOMPARE(pulses.size(), rig.EventsOf("pulse").size());
    for (const TPinPulse &p : pulses) {
        QVERIFY2(p.Pin == 2 || p.Pin == 3 || p.Pin == 4 || p.Pin == 6,
                 qPrintable(QString("pulse on pin %1").arg(p.Pin)));
        QCOMPARE(p.WidthMs, qint64(TTurntableController::PulseMs));
    }
    for (const TTracingPort::TWrite &w : *rig.Trace)
        QVERIFY(w.Data & 0x08); // pin 5
    QCOMPARE(rig.Trace->last().Data & 0x1F, 0x1F); // pins 2..6 rest high
}

void TstTurntableController::rangeRun_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::addColumn<QStringList>("pulses");
    QTest::addColumn<int>("markersBefore");
    QTest::addColumn<int>("markersAfter");
    QTest::addColumn<int>("lastProgress");

    const QStringList positioned = { "reset", "backward", "stop", "forward", "stop" };
    QTest::newRow("-90..90") << -90 << 90 << positioned << 9 << 18 << 94;
    QTest::newRow("30..90") << 30 << 90
                            << QStringList { "reset", "forward", "stop", "forward", "stop" } << 3
                            << 6 << 83;
    QTest::newRow("0..180") << 0 << 180 << QStringList { "reset", "forward", "stop" } << 0 << 18
                            << 94;
    // 8 of 9.5 markers; the division of the range truncates to 9 markers.
    QTest::newRow("0..95") << 0 << 95 << QStringList { "reset", "forward", "stop" } << 0 << 9 << 84;
    // The full turn: no progress is sent once the 36th marker has come.
    QTest::newRow("full turn") << 0 << 360 << QStringList { "reset", "forward", "stop" } << 0 << 36
                               << 97;
}

void TstTurntableController::rangeRun()
{
    QFETCH(int, start);
    QFETCH(int, stop);
    QFETCH(QStringList, pulses);
    QFETCH(int, markersBefore);
    QFETCH(int, markersAfter);
    QFETCH(int, lastProgress);

    TTurntableRig rig;
    QVERIFY(rig.Controller->Open(1));
    rig.Clock.Advance(500);
    rig.Events.clear();
    const qint64 begin = rig.Clock.NowMs();
    QVERIFY(rig.Controller->RunRange(start, stop));
    rig.Clock.Advance(300);

    QCOMPARE(rig.PulseNames(), pulses);
    CheckPulseShapes(rig);
    const qint64 t105 = rig.TimeOf("message", "105");
    const qint64 t103 = rig.TimeOf("message", "103");
    const qint64 t104 = rig.TimeOf("message", "104");
    // The return-to-0 pulse is followed at once by the positioning move, or without one by
    // the pause.
    const QList<TTurntableRig::TEvent> pulseEvents = rig.EventsOf("pulse");
    QCOMPARE(pulseEvents.at(0).TimeMs, begin);
    if (start != 0)
        QCOMPARE(pulseEvents.at(1).TimeMs, begin + TTurntableController::PulseMs);
    else
        QCOMPARE(t105, begin + TTurntableController::PulseMs);
    QVERIFY(t105 >= begin && t103 > t105 && t104 > t103);
    QCOMPARE(t103 - t105, qint64(TTurntableController::RangePauseMs));
    QStringList messages;
    for (const auto &e : rig.EventsOf("message"))
        messages << e.Value;
    QCOMPARE(messages, QStringList({ "105", "103", "104" }));

    QCOMPARE(rig.MarkersBetween(begin, t105), markersBefore);
    QCOMPARE(rig.MarkersBetween(t103, t104 + 1), markersAfter);
    const QList<TTurntableRig::TEvent> markers = rig.EventsOf("marker");
    QCOMPARE(markers.last().Value.toInt(), markersAfter);

    // The forward move is stopped right after its last marker, then 104 follows the stop.
    const TTurntableRig::TEvent lastPulse = pulseEvents.last();
    QCOMPARE(lastPulse.Value, QString("stop"));
    QVERIFY(lastPulse.TimeMs - markers.last().TimeMs <= TTurntableController::LoopSliceMs);
    QVERIFY(t104 >= lastPulse.TimeMs);

    const QList<TTurntableRig::TEvent> progress = rig.EventsOf("progress");
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.first().Value.toInt(), 0);
    QCOMPARE(progress.last().Value.toInt(), lastProgress);
    for (const auto &p : progress)
        QVERIFY(p.TimeMs >= t103 && p.TimeMs < t104);

    // The simulated table ends a little past the stop angle.
    const double stopAngle = std::fmod(double(start) + markersAfter * 10 + 360.0 * 2, 360.0);
    const double trueAngle = rig.Simulated->TrueAngle();
    double error = std::fmod(trueAngle - stopAngle + 540.0, 360.0) - 180.0;
    QVERIFY2(error >= 0 && error < 1.5, qPrintable(QString("table at %1").arg(trueAngle)));
}

void TstTurntableController::invalidRange_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::newRow("equal") << 30 << 30;
    QTest::newRow("both zero") << 0 << 0;
    QTest::newRow("start above stop") << 90 << 30;
    QTest::newRow("negative above") << -10 << -20;
}

void TstTurntableController::invalidRange()
{
    QFETCH(int, start);
    QFETCH(int, stop);
    TTurntableRig rig;
    QVERIFY(rig.Controller->Open(1));
    rig.Clock.Advance(200);
    const qsizetype writes = rig.Trace->size();
    rig.Events.clear();

    QVERIFY(!rig.Controller->RunRange(start, stop));
    rig.Clock.Advance(2000);

    QCOMPARE(rig.EventsOf("error").size(), 1);
    QCOMPARE(rig.EventsOf("error").first().Value, QString::fromUtf8("Nieprawidłowy przedział"));
    QVERIFY(rig.EventsOf("pulse").isEmpty());
    QVERIFY(rig.EventsOf("message").isEmpty());
    QCOMPARE(rig.Trace->size(), writes);
    QCOMPARE(rig.Simulated->State(), 3);
}

void TstTurntableController::stepCountsMarkers_data()
{
    QTest::addColumn<int>("degrees");
    QTest::addColumn<bool>("backward");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<int>("markers");
    QTest::newRow("5 forward: no marker") << 5 << false << "forward" << 0;
    QTest::newRow("0 backward") << 0 << true << "backward" << 0;
    QTest::newRow("30 forward") << 30 << false << "forward" << 3;
    QTest::newRow("25 backward") << 25 << true << "backward" << 2;
    QTest::newRow("negative counts its size") << -40 << false << "forward" << 4;
}

void TstTurntableController::stepCountsMarkers()
{
    QFETCH(int, degrees);
    QFETCH(bool, backward);
    QFETCH(QString, direction);
    QFETCH(int, markers);
    TTurntableRig rig;
    QVERIFY(rig.Controller->Open(1));
    rig.Clock.Advance(200);
    rig.Events.clear();
    const qint64 begin = rig.Clock.NowMs();
    rig.Controller->Step(degrees, backward);

    QCOMPARE(rig.PulseNames(), QStringList({ direction, "stop" }));
    QCOMPARE(rig.EventsOf("marker").size(), markers);
    QVERIFY(rig.Controller->StopFlag());
    if (markers == 0) // stopped at once, right after the move's own pulse
        QCOMPARE(rig.EventsOf("pulse").last().TimeMs, begin + TTurntableController::PulseMs);
    CheckPulseShapes(rig);
    rig.Clock.Advance(300);
    QCOMPARE(rig.Simulated->State(), 3);
    QVERIFY(!rig.Controller->MarkerTimerActive());
}

void TstTurntableController::markerHeldLowCountsAfterEachDeadTime_data()
{
    QTest::addColumn<int>("deadTime");
    QTest::addColumn<QList<qint64>>("countedAt");
    // Ticks every 50 ms from the move start; a marker counts on the first tick that comes
    // more than the dead time after the move start or the previous counted marker.
    QTest::newRow("1000 ms") << 1000 << QList<qint64> { 1050, 2100, 3150 };
    QTest::newRow("300 ms") << 300
                            << QList<qint64> { 350, 700, 1050, 1400, 1750, 2100, 2450, 2800, 3150 };
    // Without a dead time nothing re-arms the marker while it stays low: it counts once.
    QTest::newRow("0 ms: once") << 0 << QList<qint64> { 50 };
}

void TstTurntableController::markerHeldLowCountsAfterEachDeadTime()
{
    QFETCH(int, deadTime);
    QFETCH(QList<qint64>, countedAt);
    TVirtualClock clock;
    auto registers = std::make_shared<TFakeRegisters>();
    TPortTable table;
    table.Base[1] = 0x378;
    table.NumPorts = 1;
    // Controller present (15 high), turning forward (13 low, 12 high, 11 low: bit 7 set),
    // marker (10) low from the start.
    registers->Status = 0x08 | 0x20 | 0x80;
    TTurntableController controller(
        std::make_unique<TDLPrinterPortIO>(std::make_unique<TFakePort>(registers, table, &clock)),
        clock);
    controller.SetMarkUnsensitivityTime(deadTime);
    QVERIFY(controller.Open(1));
    QCOMPARE(controller.State(), 2);

    QList<qint64> counted;
    connect(&controller, &TTurntableController::MarkAccepted, this,
            [&] { counted.append(clock.NowMs()); });
    const qint64 start = clock.NowMs();
    controller.MoveForward();
    clock.Advance(int(countedAt.last() + 40 - (clock.NowMs() - start)));
    for (qint64 &t : counted)
        t -= start;
    QCOMPARE(counted, countedAt);
    QCOMPARE(controller.MoveCounter(), counted.size());
}

void TstTurntableController::returnToZeroEndResetsAngle()
{
    TTurntableRig rig;
    QVERIFY(rig.Controller->Open(1));
    rig.Simulated->SetTrueAngle(90);
    rig.Clock.Advance(200);
    rig.Controller->SetCurrentAngle(90);
    // A stand-in main window: steps the angle on each marker while the table returns.
    int markSeen = 0;
    connect(rig.Controller.get(), &TTurntableController::MarkAccepted, this, [&] {
        ++markSeen;
        if (rig.Controller->MotionState() == 4)
            rig.Controller->SetCurrentAngle(rig.Controller->CurrentAngle() - 10);
    });
    int angleAtZero = -1;
    connect(rig.Controller.get(), &TTurntableController::ReturnedToZero, this,
            [&] { angleAtZero = rig.Controller->CurrentAngle(); });
    rig.Events.clear();
    rig.Controller->ResetMove();
    rig.Clock.Advance(25000);

    QStringList states;
    for (const auto &e : rig.EventsOf("state"))
        states << e.Value;
    QCOMPARE(states, QStringList({ "4", "3" }));
    QCOMPARE(rig.EventsOf("zero").size(), 1);
    QCOMPARE(angleAtZero, 0);
    QCOMPARE(rig.Controller->CurrentAngle(), 0);
    QCOMPARE(rig.Simulated->TrueAngle(), 0.0);
    // 80..10 are counted while returning; the marker at 0 comes when the table already stands.
    QVERIFY(markSeen >= 8 && markSeen <= 9);
    QVERIFY(!rig.Controller->MarkerTimerActive());

    // 3 -> 1 -> 3 is no return to 0: the angle stays.
    rig.Controller->SetCurrentAngle(350);
    rig.Controller->MoveBackward();
    rig.Clock.Advance(500);
    rig.Controller->StopMove();
    rig.Clock.Advance(500);
    QCOMPARE(rig.EventsOf("zero").size(), 1);
    QCOMPARE(rig.Controller->CurrentAngle(), 350);
}

void TstTurntableController::stateWatchDrivesMarkerTimer()
{
    TTurntableRig rig;
    QVERIFY(rig.Controller->Open(1));
    rig.Clock.Advance(150);
    QCOMPARE(rig.Controller->ShownState(), 3);
    QVERIFY(!rig.Controller->MarkerTimerActive());
    // A move started by someone else (the controller's own keys) is counted too.
    rig.Simulated->SetCommandLines(0xFE);
    rig.Clock.Advance(5);
    rig.Simulated->SetCommandLines(0xFF);
    QCOMPARE(rig.Simulated->State(), 2);
    rig.Clock.Advance(100);
    QCOMPARE(rig.Controller->ShownState(), 2);
    QVERIFY(rig.Controller->MarkerTimerActive());
    rig.Clock.Advance(5000);
    QCOMPARE(rig.EventsOf("marker").size(), 2);
}

void TstTurntableController::stopDuringRangeEndsIt_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stopAtMs");
    QTest::addColumn<bool>("closing");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("pulses");
    QTest::newRow("stop while turning over the range")
        << 0 << 5000 << false << QStringList { "105", "103", "104" }
        << QStringList { "reset", "forward", "stop", "stop" };
    QTest::newRow("program closes while turning")
        << 0 << 5000 << true << QStringList { "105", "103", "104" }
        << QStringList { "reset", "forward", "stop" };
    // Stops before the forward move must not be undone by it; the recording is still
    // opened and closed, so a measurement never goes on with an older one.
    QTest::newRow("stop while positioning") << -90 << 3000 << false << QStringList { "105", "104" }
                                            << QStringList { "reset", "backward", "stop", "stop" };
    QTest::newRow("program closes in the pause")
        << 0 << 500 << true << QStringList { "105", "104" } << QStringList { "reset" };
}

void TstTurntableController::stopDuringRangeEndsIt()
{
    QFETCH(int, start);
    QFETCH(int, stopAtMs);
    QFETCH(bool, closing);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, pulses);
    TTurntableRig rig;
    QVERIFY(rig.Controller->Open(1));
    rig.Clock.Advance(200);
    rig.Events.clear();
    std::unique_ptr<TClockTimer> user = rig.Clock.CreateTimer();
    user->OnTimeout = [&] {
        user->Stop();
        if (closing)
            rig.Controller->ProgramClosing();
        else
            rig.Controller->StopMove();
    };
    user->Start(stopAtMs);
    const qint64 begin = rig.Clock.NowMs();
    rig.Controller->RunRange(start, 180);

    QVERIFY(rig.Clock.NowMs() - begin < 20000);
    QStringList seen;
    for (const auto &e : rig.EventsOf("message"))
        seen << e.Value;
    QCOMPARE(seen, messages);
    QCOMPARE(rig.PulseNames(), pulses);
    rig.Clock.Advance(300);
    if (!closing || messages.size() == 3)
        QCOMPARE(rig.Simulated->State(), 3);
}

void TstTurntableController::programClosingEndsStep()
{
    TTurntableRig rig;
    QVERIFY(rig.Controller->Open(1));
    std::unique_ptr<TClockTimer> closing = rig.Clock.CreateTimer();
    closing->OnTimeout = [&] {
        closing->Stop();
        rig.Controller->ProgramClosing();
    };
    closing->Start(3000);
    rig.Controller->Step(360);
    QVERIFY(rig.Clock.NowMs() < 3100);
    QCOMPARE(rig.PulseNames(), QStringList({ "forward", "stop" }));
    QCOMPARE(rig.Controller->MoveCounter(), 1);
}

void TstTurntableController::switchedOffControllerCountsNothing()
{
    TTurntableRig rig;
    QVERIFY(rig.Controller->Open(1));
    rig.Simulated->SetSwitchedOff(true);
    rig.Clock.Advance(200);
    QCOMPARE(rig.Controller->State(), 0);
    QCOMPARE(rig.Controller->ShownState(), 0);
    rig.Controller->MoveForward(); // still sent
    rig.Clock.Advance(10000);
    QCOMPARE(rig.PulseNames(), QStringList({ "forward" }));
    QCOMPARE(rig.Controller->MoveCounter(), 0);
    QCOMPARE(rig.Simulated->TrueAngle(), 0.0);
}

void TstTurntableController::pinsSavedAndRestored()
{
    TVirtualClock clock;
    auto registers = std::make_shared<TFakeRegisters>();
    registers->Data = 0x40; // pins 2..6 low, pin 8 high
    registers->Control = 0x05; // pin 1 low (inverted), 14 high, 16 high, 17 high
    registers->Status = 0x18; // stopped, controller present
    TPortTable table;
    table.Base[1] = 0x278;
    table.NumPorts = 1;
    {
        TTurntableController controller(std::make_unique<TDLPrinterPortIO>(
                                            std::make_unique<TFakePort>(registers, table, &clock)),
                                        clock);
        QVERIFY(controller.Open(1));
        QCOMPARE(registers->Data, quint8(0x40 | 0x1F)); // pins 2..6 set high
        QCOMPARE(registers->Control, quint8(0x05));
        // The program drives the pins in between.
        registers->Data = 0x00;
        registers->Control = 0x0A;
        clock.Advance(300);
    }
    QCOMPARE(registers->Data, quint8(0x40));
    QCOMPARE(registers->Control, quint8(0x05));
    QVERIFY(registers->CloseCalled);
    for (const TFakeRegisters::TWrite &w : registers->Writes)
        QVERIFY(w.Offset != 1); // status is never written
}

void TstTurntableController::failedPortStaysInert_data()
{
    QTest::addColumn<bool>("driverOpens");
    QTest::newRow("driver does not open") << false;
    QTest::newRow("test read fails") << true;
}

void TstTurntableController::failedPortStaysInert()
{
    QFETCH(bool, driverOpens);
    TVirtualClock clock;
    auto registers = std::make_shared<TFakeRegisters>();
    registers->OpenResult = driverOpens;
    registers->FailAccess = true;
    TPortTable table;
    table.Base[2] = 0x278;
    table.NumPorts = 1;
    {
        TTurntableController controller(std::make_unique<TDLPrinterPortIO>(
                                            std::make_unique<TFakePort>(registers, table, &clock)),
                                        clock);
        QVERIFY(!controller.Open(2));
        QVERIFY(!controller.PortAvailable());
        QCOMPARE(controller.OpenFailureMessage(), QString("fake port LPT2 missing"));
        registers->FailAccess = false;
        const int reads = registers->Reads;
        clock.Advance(1000);
        controller.MoveForward();
        clock.Advance(1000);
        QCOMPARE(registers->Reads, reads); // no timer runs, no pulse is sent
        QCOMPARE(controller.State(), 0);
    }
    QVERIFY(registers->Writes.isEmpty());
}

QTEST_MAIN(TstTurntableController)
#include "tst_turntablecontroller.moc"
