// The virtual clock: time moves only inside waits, timers fire in due order at their
// times, nested waits, a timer never re-enters its own handler, missed ticks are skipped,
// and posted events are handled while waiting.

#include "controls/VirtualClock.h"

#include <QtTest>

class TstVirtualClock : public QObject
{
    Q_OBJECT

private slots:
    void timeMovesOnlyInWaits();
    void timersFireInDueOrder();
    void stopAndRestartFromHandler();
    void nestedWaitCarriesTimeOn();
    void timerDoesNotReenterItsHandler();
    void handlerMayDeleteItsTimer();
    void postedEventsAreHandled();
};

void TstVirtualClock::timeMovesOnlyInWaits()
{
    TVirtualClock clock(1000);
    QCOMPARE(clock.NowMs(), qint64(1000));
    clock.WaitProcessing(0);
    QCOMPARE(clock.NowMs(), qint64(1000));
    clock.WaitProcessing(-5);
    QCOMPARE(clock.NowMs(), qint64(1000));
    clock.Advance(250);
    QCOMPARE(clock.NowMs(), qint64(1250));
    QCOMPARE(clock.Depth(), 0);
}

void TstVirtualClock::timersFireInDueOrder()
{
    TVirtualClock clock;
    QStringList log;
    auto a = clock.CreateTimer();
    auto b = clock.CreateTimer();
    a->OnTimeout = [&] {
        log << QString("a%1").arg(clock.NowMs());
    };
    b->OnTimeout = [&] {
        log << QString("b%1").arg(clock.NowMs());
    };
    a->Start(50);
    b->Start(100);
    QVERIFY(a->IsActive());
    QCOMPARE(a->Interval(), 50);
    clock.Advance(200);
    // At 100 both are due; as with QTimer, the one armed earlier goes first: b (armed at 0)
    // before a (re-armed at 50).
    QCOMPARE(log, QStringList({ "a50", "b100", "a100", "a150", "b200", "a200" }));
    a->Stop();
    clock.Advance(100);
    QCOMPARE(log.last(), QString("b300"));
}

void TstVirtualClock::stopAndRestartFromHandler()
{
    TVirtualClock clock;
    auto t = clock.CreateTimer();
    QList<qint64> fired;
    t->OnTimeout = [&] {
        fired << clock.NowMs();
        if (fired.size() == 1)
            t->Start(30); // new interval from now
        else if (fired.size() == 3)
            t->Stop();
    };
    t->Start(10);
    clock.Advance(500);
    QCOMPARE(fired, QList<qint64>({ 10, 40, 70 }));
    QVERIFY(!t->IsActive());
}

void TstVirtualClock::nestedWaitCarriesTimeOn()
{
    TVirtualClock clock;
    auto t = clock.CreateTimer();
    int depthInside = 0;
    t->OnTimeout = [&] {
        t->Stop();
        depthInside = clock.Depth();
        clock.WaitProcessing(300); // from 100 to 400
    };
    t->Start(100);
    clock.Advance(200); // target 200 lies inside the nested wait
    QCOMPARE(depthInside, 1);
    QCOMPARE(clock.NowMs(), qint64(400));
}

void TstVirtualClock::timerDoesNotReenterItsHandler()
{
    // As with QTimer: while a handler waits, its own timer does not fire, the others do;
    // afterwards it goes on from the end of the handler instead of firing a burst.
    TVirtualClock clock;
    auto slow = clock.CreateTimer();
    auto other = clock.CreateTimer();
    int depth = 0, maxDepth = 0;
    QList<qint64> slowAt, otherAt;
    slow->OnTimeout = [&] {
        slowAt << clock.NowMs();
        maxDepth = qMax(maxDepth, ++depth);
        if (slowAt.size() == 1)
            clock.WaitProcessing(200);
        --depth;
    };
    other->OnTimeout = [&] {
        otherAt << clock.NowMs();
    };
    slow->Start(50);
    other->Start(100);
    clock.Advance(400);
    QCOMPARE(maxDepth, 1);
    QCOMPARE(slowAt, QList<qint64>({ 50, 300, 350, 400 }));
    QCOMPARE(otherAt, QList<qint64>({ 100, 200, 300, 400 }));
}

void TstVirtualClock::handlerMayDeleteItsTimer()
{
    TVirtualClock clock;
    std::unique_ptr<TClockTimer> t = clock.CreateTimer();
    int fired = 0;
    t->OnTimeout = [&] {
        ++fired;
        t.reset();
    };
    t->Start(10);
    clock.Advance(100);
    QCOMPARE(fired, 1);
    QVERIFY(!t);
}

void TstVirtualClock::postedEventsAreHandled()
{
    TVirtualClock clock;
    bool called = false;
    QMetaObject::invokeMethod(
        qApp, [&] { called = true; }, Qt::QueuedConnection);
    QVERIFY(!called);
    clock.Advance(1);
    QVERIFY(called);
}

QTEST_MAIN(TstVirtualClock)
#include "tst_virtualclock.moc"
