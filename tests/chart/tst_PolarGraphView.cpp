// The on-screen view: paints the chart's picture, follows its repaint requests, reports the
// mouse.
#include "chart/PolarGraph.h"
#include "chart/ui/PolarGraphView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

class TestPolarGraphView : public QObject
{
    Q_OBJECT

private slots:
    void showsTheChartsPicture();
    void followsRefreshAndDefaults();
    void reportsMouse();
    void pictureAtScreenRatio();
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
    // The shot has device pixels; the chart's geometry is logical.
    const QPoint inside = g.Center() + QPoint(3, -g.Radius() / 2 + 1);
    QCOMPARE(shot.pixelColor(inside * shot.devicePixelRatio()).rgb(), qRgb(255, 255, 0));
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

// Also run under QT_SCALE_FACTOR=2 (tests.cmake), where the screen is high-density.
void TestPolarGraphView::pictureAtScreenRatio()
{
    TPolarGraph g;
    TPolarGraphView view(g);
    view.resize(300, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage shot = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = view.devicePixelRatio();
    QCOMPARE(g.CachedPicture().size(), view.size() * ratio);
    QCOMPARE(g.CachedPicture().devicePixelRatio(), ratio);
    QCOMPARE(shot, g.CachedPicture()); // shown one device pixel per pixel

    // The read-out works in the logical pixels the mouse reports.
    QSignalSpy moved(&view, &TPolarGraphView::MouseMoved);
    const QPointF top = g.Center() - QPoint(0, g.Radius());
    QMouseEvent move(QEvent::MouseMove, top, view.mapToGlobal(top), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    QCOMPARE(moved.count(), 1);
    const TPolarPosition p = g.PointToPolar(moved.last().at(0).toInt(), moved.last().at(1).toInt());
    QCOMPARE(p.Level, double(g.Grid().RadiusMax()));
    QCOMPARE(p.Angle, 0.0);
}

QTEST_MAIN(TestPolarGraphView)
#include "tst_PolarGraphView.moc"
