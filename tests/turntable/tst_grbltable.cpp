// The Grbl turntable against the Grbl emulator through a real pseudo-terminal, on a virtual
// clock: the range run with the table's acceleration (RecordAppend and RecordStop where the
// table crosses start and stop at constant speed), markers from the reported position, the
// return to 0° the way the table came, the poll rates, and each fault ending the run with one
// message.

#include "controls/VirtualClock.h"
#include "turntable/GrblEmulator.h"
#include "turntable/GrblTable.h"

#include <QSignalSpy>
#include <QtTest>

class TestGrblTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void rangeRunCoversTheRangeAtConstantSpeed_data();
    void rangeRunCoversTheRangeAtConstantSpeed();
    void resetGoesBackTheWayTheTableCame_data();
    void resetGoesBackTheWayTheTableCame();
    void stepCountsMarkersAndPollsFasterWhileMoving();
    void faultEndsTheRunWithOneMessage_data();
    void faultEndsTheRunWithOneMessage();

private:
    TVirtualClock m_clock;
    std::unique_ptr<TGrblEmulator> m_board;
    std::unique_ptr<TGrblTable> m_table;
};

void TestGrblTable::init()
{
    m_table.reset();
    m_board = std::make_unique<TGrblEmulator>(m_clock);
    QVERIFY(m_board->Open());
    m_table = std::make_unique<TGrblTable>(m_clock);
    QVERIFY2(m_table->Open(m_board->SlavePath()), qPrintable(m_table->OpenFailureMessage()));
    QCOMPARE(m_table->State(), 3);
}

void TestGrblTable::rangeRunCoversTheRangeAtConstantSpeed_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::newRow("-90..90") << -90 << 90;
    QTest::newRow("30..90") << 30 << 90;
    QTest::newRow("full turn") << 0 << 360;
}

void TestGrblTable::rangeRunCoversTheRangeAtConstantSpeed()
{
    QFETCH(int, start);
    QFETCH(int, stop);
    // 80 s a turn: 4.5°/s; at the emulator's 90°/s² the ramp is 0.1125°.
    const double ramp = 4.5 * 4.5 / (2 * 90.0);
    QCOMPARE(m_table->RampDeg(), ramp);
    QStringList events;
    double startedAt = 0, appendedAt = 0, appendedMs = 0, stoppedAt = 0, stoppedMs = 0;
    int lastProgress = -1;
    connect(m_table.get(), &TGrblTable::RecordStart, this, [&] {
        events << "start";
        startedAt = m_board->MachineX();
    });
    connect(m_table.get(), &TGrblTable::RecordAppend, this, [&] {
        events << "append";
        appendedAt = m_board->MachineX();
        appendedMs = m_clock.NowMs();
    });
    connect(m_table.get(), &TGrblTable::RecordStop, this, [&] {
        events << "stop";
        stoppedAt = m_board->MachineX();
        stoppedMs = m_clock.NowMs();
    });
    connect(m_table.get(), &TGrblTable::RangeProgress, this, [&](int p) { lastProgress = p; });
    const qint64 began = m_clock.NowMs();
    QVERIFY(m_table->RunRange(start, stop));
    QCOMPARE(events, (QStringList { "start", "append", "stop" }));
    // Jog lines carry three decimals.
    QVERIFY2(qAbs(startedAt - (start - ramp)) < 1e-3, qPrintable(QString::number(startedAt)));
    // Within one clock millisecond of travel (0.0045°) of the range's ends.
    QVERIFY2(qAbs(appendedAt - start) < 0.005, qPrintable(QString::number(appendedAt)));
    QVERIFY2(qAbs(stoppedAt - stop) < 0.005, qPrintable(QString::number(stoppedAt)));
    // At the measurement speed all the way: the range in span / 4.5 s.
    QVERIFY2(qAbs((stoppedMs - appendedMs) - (stop - start) / 4.5 * 1000) <= 2,
             qPrintable(QString::number(stoppedMs - appendedMs)));
    QVERIFY(qAbs(m_board->MachineXAt(appendedMs + 1000) - (appendedAt + 4.5)) < 1e-6);
    QVERIFY(m_table->MoveCounter() >= (stop - start) / 10);
    QVERIFY(lastProgress >= 97 && lastProgress <= 100);
    QCOMPARE(m_table->State(), 3); // stopped after the run
    QVERIFY(m_clock.NowMs() - began < 2 * 80000);
}

void TestGrblTable::resetGoesBackTheWayTheTableCame_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("zero");
    QTest::newRow("two turns back") << 720.0 << 0.0;
    QTest::newRow("to an offset 0°, backward") << -400.0 << 30.0;
}

void TestGrblTable::resetGoesBackTheWayTheTableCame()
{
    QFETCH(double, from);
    QFETCH(double, zero);
    m_board->SetMachineX(from);
    m_table->SetZeroOffset(zero);
    QSignalSpy returned(m_table.get(), &TGrblTable::ReturnedToZero);
    m_table->ResetMove();
    QCOMPARE(m_board->Lines().back(), "$J=G53 X" + QByteArray::number(zero, 'f', 3) + " F1800.0");
    QCOMPARE(m_table->State(), 4);
    const qint64 began = m_clock.NowMs();
    while (m_table->State() == 4)
        m_clock.Advance(10);
    QCOMPARE(returned.count(), 1);
    QVERIFY(qAbs(m_board->MachineX() - zero) < 1e-6);
    QCOMPARE(m_table->CurrentAngle(), 0);
    // Halfway in time it was halfway back: no shortcut through a nearer 0° of a turn.
    const double half = m_board->MachineXAt((began + m_clock.NowMs()) / 2.0);
    QVERIFY2(qAbs(half - (from + zero) / 2) < 1.0, qPrintable(QString::number(half)));
}

void TestGrblTable::stepCountsMarkersAndPollsFasterWhileMoving()
{
    QSignalSpy marks(m_table.get(), &TGrblTable::MarkAccepted);
    m_clock.Advance(1000);
    const size_t idleQueries = m_board->StatusQueryTimes().size();
    m_table->Step(30);
    QCOMPARE(m_board->Lines().back(), QByteArray("$J=G91 X30.000 F270.0"));
    QCOMPARE(marks.count(), 3);
    QCOMPARE(m_table->MoveCounter(), 3);
    QVERIFY(qAbs(m_board->MachineX() - 30.0) < 1e-6);
    const std::vector<qint64> &times = m_board->StatusQueryTimes();
    QVERIFY(idleQueries >= 4);
    QCOMPARE(times[idleQueries - 1] - times[idleQueries - 2], qint64(TGrblTable::IdlePollMs));
    QCOMPARE(times[times.size() - 1] - times[times.size() - 2], qint64(TGrblTable::MovingPollMs));
    // A turn of 30° at 4.5°/s is polled every 50 ms, not more often.
    const size_t moving = times.size() - idleQueries;
    QVERIFY2(moving >= 130 && moving <= 140, qPrintable(QString::number(moving)));

    m_table->Step(20, true);
    QCOMPARE(m_board->Lines().back(), QByteArray("$J=G91 X-20.000 F270.0"));
    QCOMPARE(marks.count(), 5);
    QCOMPARE(m_table->CurrentAngle(), 10);
}

void TestGrblTable::faultEndsTheRunWithOneMessage_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("when"); // "pause", "turning", "idle"
    QTest::addColumn<QString>("says");
    using F = TGrblEmulator::EFault;
    QTest::newRow("silent in the pause") << int(F::Silent) << "pause"
                                         << "przestał odpowiadać";
    QTest::newRow("silent while turning") << int(F::Silent) << "turning"
                                          << "przestał odpowiadać";
    QTest::newRow("silent while idle") << int(F::Silent) << "idle"
                                       << "przestał odpowiadać";
    QTest::newRow("cable pulled while turning") << int(F::Drop) << "turning"
                                                << "przestał odpowiadać";
    QTest::newRow("alarm mid-jog") << int(F::AlarmMidJog) << "pause"
                                   << "ALARM:1";
    QTest::newRow("jog refused") << int(F::JogError9) << "pause"
                                 << "error:9";
}

void TestGrblTable::faultEndsTheRunWithOneMessage()
{
    QFETCH(int, fault);
    QFETCH(QString, when);
    QFETCH(QString, says);
    QStringList errors;
    connect(m_table.get(), &TGrblTable::ErrorOccurred, this,
            [&](const QString &text) { errors << text; });
    const auto inject = [&] {
        m_board->SetFault(TGrblEmulator::EFault(fault));
    };
    if (when == QLatin1String("idle")) {
        inject();
        m_clock.Advance(2 * TGrblTable::IdlePollMs);
        QCOMPARE(m_table->State(), 0);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.front().contains(says), qPrintable(errors.front()));
        return;
    }
    if (when == QLatin1String("pause"))
        connect(m_table.get(), &TGrblTable::RecordStart, this, inject);
    else
        connect(m_table.get(), &TGrblTable::RangeProgress, this, [&](int p) {
            if (p == 50)
                inject();
        });
    QSignalSpy stops(m_table.get(), &TGrblTable::RecordStop);
    const bool ran = m_table->RunRange(-90, 90);
    QCOMPARE(stops.count(), 1); // the measurement closes what it opened
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains(says), qPrintable(errors.front()));
    // A refused line leaves the board usable, the run merely stopped; the others end it.
    QCOMPARE(ran, fault == int(TGrblEmulator::EFault::JogError9));
    QCOMPARE(m_table->State() == 0, fault != int(TGrblEmulator::EFault::JogError9));
}

QTEST_GUILESS_MAIN(TestGrblTable)
#include "tst_grbltable.moc"
