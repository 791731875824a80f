// Series and their bookkeeping inside a chart: numbering, ordering, points, notification.
#include "chart/PolarGraph.h"
#include "chart/Series.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

class TestSeries : public QObject
{
    Q_OBJECT

private slots:
    void newGraphHasNoSeries();
    void seriesAreKeptInNumberOrder_data();
    void seriesAreKeptInNumberOrder();
    void getSeriesReturnsExisting();
    void deletingKeepsNumbering();
    void clearSeriesKeepsMaxNumberAndNotifies();
    void pointsKeepInsertionOrder();
    void setPointsAndGetPointsRoundTrip_data();
    void setPointsAndGetPointsRoundTrip();
    void addLevelOffsetIsSilent();
    void addAndClearNotify();
    void setColorAndPenStyleRules();
    void colourAloneMarksForRedrawing();
    void copyToAppendsNextNumber();
    void copyToOwnGraph();
};

static QList<int> Numbers(const TPolarGraph &g)
{
    QList<int> n;
    for (const TSeries *s : g.SeriesList())
        n << s->Number();
    return n;
}

void TestSeries::newGraphHasNoSeries()
{
    TPolarGraph g;
    QCOMPARE(g.SeriesCount(), 0);
    QCOMPARE(g.MaxSeriesNumber(), -1);
    QSignalSpy changes(&g, &TPolarGraph::OnChange);
    TSeries *s = g.GetSeries(g.MaxSeriesNumber() + 1);
    QCOMPARE(s->Number(), 0);
    QCOMPARE(s->Name, QStringLiteral("Series 0"));
    QCOMPARE(s->Color(), quint32(255));
    QCOMPARE(s->PenStyle(), Qt::SolidLine);
    QCOMPARE(&s->Graph(), &g);
    QCOMPARE(g.SeriesCount(), 1);
    QCOMPARE(g.MaxSeriesNumber(), 0);
    QCOMPARE(changes.count(), 0); // creation is silent
}

void TestSeries::seriesAreKeptInNumberOrder_data()
{
    QTest::addColumn<QList<int>>("created");
    QTest::addColumn<QList<int>>("order");
    QTest::addColumn<int>("maxNumber");
    QTest::newRow("5 2 7") << QList<int> { 5, 2, 7 } << QList<int> { 2, 5, 7 } << 7;
    QTest::newRow("descending") << QList<int> { 9, 4, 1, 0 } << QList<int> { 0, 1, 4, 9 } << 9;
    QTest::newRow("duplicates") << QList<int> { 3, 3, 1, 3 } << QList<int> { 1, 3 } << 3;
    QTest::newRow("negative") << QList<int> { 2, -5 } << QList<int> { -5, 2 } << 2;
}

void TestSeries::seriesAreKeptInNumberOrder()
{
    QFETCH(QList<int>, created);
    QFETCH(QList<int>, order);
    QFETCH(int, maxNumber);
    TPolarGraph g;
    for (int n : created)
        g.GetSeries(n);
    QCOMPARE(Numbers(g), order);
    QCOMPARE(g.SeriesCount(), order.size());
    QCOMPARE(g.MaxSeriesNumber(), maxNumber);
    for (int n : order)
        QVERIFY(g.HasSeries(n));
    QVERIFY(!g.HasSeries(maxNumber + 1));
}

void TestSeries::getSeriesReturnsExisting()
{
    TPolarGraph g;
    TSeries *five = g.GetSeries(5);
    five->Name = QStringLiteral("pięć");
    g.GetSeries(2);
    QCOMPARE(g.GetSeries(5), five);
    QCOMPARE(g.SeriesCount(), 2);
    QCOMPARE(g.GetSeries(5)->Name, QStringLiteral("pięć"));
}

void TestSeries::deletingKeepsNumbering()
{
    TPolarGraph g;
    g.GetSeries(0);
    g.GetSeries(1);
    g.GetSeries(2);
    QSignalSpy changes(&g, &TPolarGraph::OnChange);
    g.DeleteSeries(2);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(g.SeriesCount(), 2);
    QCOMPARE(g.MaxSeriesNumber(), 2);
    QVERIFY(!g.HasSeries(2));
    TSeries *next = g.GetSeries(g.MaxSeriesNumber() + 1);
    QCOMPARE(next->Number(), 3);
    g.DeleteSeries(42); // absent: nothing happens
    QCOMPARE(changes.count(), 1);
    QCOMPARE(Numbers(g), (QList<int> { 0, 1, 3 }));
}

void TestSeries::clearSeriesKeepsMaxNumberAndNotifies()
{
    TPolarGraph g;
    g.GetSeries(0);
    g.GetSeries(4);
    QSignalSpy changes(&g, &TPolarGraph::OnChange);
    g.ClearSeries();
    QCOMPARE(g.SeriesCount(), 0);
    QCOMPARE(g.MaxSeriesNumber(), 4);
    QCOMPARE(changes.count(), 3); // one per series, one more at the end
    QCOMPARE(g.GetSeries(g.MaxSeriesNumber() + 1)->Number(), 5);
}

void TestSeries::pointsKeepInsertionOrder()
{
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    s->Add(90, -3);
    s->Add(0, 0);
    s->Add(45, -1);
    QCOMPARE(s->Count(), 3);
    QCOMPARE(s->Points()[0].Angle, 90.0);
    QCOMPARE(s->Points()[1].Angle, 0.0);
    QCOMPARE(s->Points()[2].Level, -1.0);
    s->Clear();
    QCOMPARE(s->Count(), 0);
    s->Add(10, 1);
    QCOMPARE(s->Count(), 1); // the next Index starts again at 1
}

void TestSeries::setPointsAndGetPointsRoundTrip_data()
{
    QTest::addColumn<int>("n");
    QTest::newRow("none") << 0;
    QTest::newRow("negative count") << -3;
    QTest::newRow("one") << 1;
    QTest::newRow("many") << 361;
}

void TestSeries::setPointsAndGetPointsRoundTrip()
{
    QFETCH(int, n);
    std::vector<TPolarSample> in;
    for (int i = 0; i < std::max(n, 0); ++i)
        in.push_back({ i * 1.5 - 90, -0.25 * i });
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    s->Add(1, 2); // replaced by SetPoints
    QSignalSpy changes(&g, &TPolarGraph::OnChange);
    s->SetPoints(in.empty() ? nullptr : in.data(), n);
    QCOMPARE(s->Count(), std::max(n, 0));
    QCOMPARE(changes.count(), 1 + std::max(n, 0)); // Clear, then every Add
    std::vector<TPolarSample> out(size_t(s->Count()) + 1, TPolarSample { 7, 7 });
    s->GetPoints(out.data());
    for (int i = 0; i < s->Count(); ++i) {
        QCOMPARE(out[size_t(i)].Angle, in[size_t(i)].Angle);
        QCOMPARE(out[size_t(i)].Level, in[size_t(i)].Level);
    }
    QCOMPARE(out.back().Angle, 7.0); // nothing written past Count
}

void TestSeries::addLevelOffsetIsSilent()
{
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    s->Add(0, 0);
    s->Add(10, -10);
    QSignalSpy changes(&g, &TPolarGraph::OnChange);
    QSignalSpy repaints(&g, &TPolarGraph::InvalidateRequested);
    s->AddLevelOffset(-3.5);
    QCOMPARE(s->Points()[0].Level, -3.5);
    QCOMPARE(s->Points()[1].Level, -13.5);
    QCOMPARE(s->Points()[1].Angle, 10.0);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(repaints.count(), 0);
}

void TestSeries::addAndClearNotify()
{
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    QSignalSpy changes(&g, &TPolarGraph::OnChange);
    QSignalSpy repaints(&g, &TPolarGraph::InvalidateRequested);
    s->Add(0, 0);
    s->Add(1, 0);
    s->Clear();
    QCOMPARE(changes.count(), 3);
    QCOMPARE(changes.first().first().value<TPolarGraph *>(), &g);
    QCOMPARE(repaints.count(), 0); // adding points does not repaint by itself
    s->Name = QStringLiteral("x");
    QCOMPARE(changes.count(), 3);
}

void TestSeries::setColorAndPenStyleRules()
{
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    QSignalSpy changes(&g, &TPolarGraph::OnChange);
    QSignalSpy repaints(&g, &TPolarGraph::InvalidateRequested);
    s->SetColor(255); // unchanged
    s->SetPenStyle(Qt::SolidLine);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(repaints.count(), 0);

    s->SetColor(0xFF0000);
    QCOMPARE(s->Color(), quint32(0xFF0000));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(repaints.count(), 1);

    g.SetAutoRepaint(false);
    s->SetPenStyle(Qt::DashLine);
    s->SetColor(0x00FF00);
    QCOMPARE(changes.count(), 3); // fired even without AutoRepaint
    QCOMPARE(repaints.count(), 1);
    QVERIFY(g.NeedsRender());
}

void TestSeries::colourAloneMarksForRedrawing()
{
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    s->Add(0, 0);
    QImage screen(200, 200, QImage::Format_RGB32);
    {
        QPainter p(&screen);
        g.PaintCached(p, screen.size(), 96, 96);
    }
    QVERIFY(!g.NeedsRender());
    g.SetAutoRepaint(false);
    s->SetColor(0x00FF00);
    QVERIFY(g.NeedsRender());
}

void TestSeries::copyToAppendsNextNumber()
{
    TPolarGraph source;
    TSeries *s = source.GetSeries(0);
    s->Name = QStringLiteral("Pomiar 1 – 1 kHz");
    s->SetColor(0x123456);
    s->SetPenStyle(Qt::DotLine);
    for (int a = 0; a < 360; a += 10)
        s->Add(a, -a / 36.0);

    TPolarGraph target;
    target.GetSeries(4);
    QSignalSpy changes(&target, &TPolarGraph::OnChange);
    s->CopyTo(target);
    QVERIFY(target.HasSeries(5));
    TSeries *copy = target.GetSeries(5);
    QCOMPARE(copy->Name, s->Name);
    QCOMPARE(copy->Color(), s->Color());
    QCOMPARE(copy->PenStyle(), s->PenStyle());
    QCOMPARE(copy->Count(), s->Count());
    for (int i = 0; i < s->Count(); ++i) {
        QCOMPARE(copy->Points()[size_t(i)].Angle, s->Points()[size_t(i)].Angle);
        QCOMPARE(copy->Points()[size_t(i)].Level, s->Points()[size_t(i)].Level);
    }
    QCOMPARE(changes.count(), 2 + s->Count()); // colour, pen style, every point
    QVERIFY(target.AutoRepaint());
    QCOMPARE(source.SeriesCount(), 1);
}

void TestSeries::copyToOwnGraph()
{
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    s->Add(0, 1);
    s->Add(90, 2);
    s->CopyTo(g);
    QCOMPARE(g.SeriesCount(), 2);
    QCOMPARE(g.GetSeries(1)->Count(), 2);
    QCOMPARE(g.GetSeries(0)->Count(), 2);
}

QTEST_MAIN(TestSeries)
#include "tst_Series.moc"
