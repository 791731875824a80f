// The on-screen view: paints the chart's picture, follows its repaint requests, reports the
// mouse.
#include "chart/PolarGraph.h"
#include "chart/ui/PolarGraphView.h"

#include <QSignalSpy>
#include <QTest>

class TestPolarGraphView : public QObject
{
    Q_OBJECT

private slots:
    void showsTheChartsPicture();
    void followsRefreshAndDefaults();
    void reportsMouse();
};

void TestPolarGraphView::showsTheChartsPicture()
{
    TPolarGraph g;
    g.SetColor(0x00FFFF); // yellow disc
    TPolarGraphView view(g);
    QCOMPARE(&view.Graph(), &g);
    QCOMPARE(view.cursor().shape(), Qt::CrossCursor);
    view.resize(300, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage shot = view.grab().toImage();
    QCOMPARE(shot.pixelColor(g.Center() + QPoint(3, -g.Radius() / 2 + 1)).rgb(), qRgb(255, 255, 0));
}

void TestPolarGraphView::followsRefreshAndDefaults()
{
    TPolarGraph g;
    TPolarGraphView view(g);
    view.resize(300, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.repaint();
    const int rendered = g.CachedRenderCount();
    g.GetSeries(0)->Add(0, 50);
    g.Refresh(); // a later paint re-renders
    QTRY_COMPARE(g.CachedRenderCount(), rendered + 1);
    g.ApplyDocumentDefaults();
    QTRY_COMPARE(g.CachedRenderCount(), rendered + 2);
    QCOMPARE(g.Grid().RadiusMin(), -40);
}

void TestPolarGraphView::reportsMouse()
{
    TPolarGraph g;
    TPolarGraphView view(g);
    view.resize(300, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy moved(&view, &TPolarGraphView::MouseMoved);
    QSignalSpy doubleClicked(&view, &TPolarGraphView::DoubleClicked);
    QTest::mouseMove(&view, QPoint(120, 80));
    QTRY_VERIFY(!moved.isEmpty());
    QCOMPARE(moved.last().at(0).toInt(), 120);
    QCOMPARE(moved.last().at(1).toInt(), 80);
    QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(50, 50));
    QCOMPARE(doubleClicked.count(), 1);
}

QTEST_MAIN(TestPolarGraphView)
#include "tst_PolarGraphView.moc"
