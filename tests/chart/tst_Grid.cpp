// The grid drawing: disc placement, rays, circles, labels and their guards.
#include "helpers/RecordingDevice.h"

#include "chart/PolarGraph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTest>

#include <cmath>

class TestGrid : public QObject
{
    Q_OBJECT

private slots:
    void centreAndRadius_data();
    void centreAndRadius();
    void angleLabels_data();
    void angleLabels();
    void rayCounts_data();
    void rayCounts();
    void levelLabels_data();
    void levelLabels();
    void mainCircleRadii();
    void mainCircleCloserThanOneDottedSpacingIsSkipped();
    void equalRangeDrawsNoCircles();
    void hugeSpanStaysBounded();
    void setterRules();
};

namespace {

void RenderInto(TPolarGraph &g, TRecordingDevice &dev, const QRect &rect)
{
    QPainter painter(&dev);
    g.Render(painter, rect);
}

std::vector<const TRecordedOp *> Ellipses(const TRecordingWriter &w, quint16 penStyle)
{
    std::vector<const TRecordedOp *> out;
    for (const TRecordedOp *op : w.OfType(TRecordedOp::Ellipse))
        if (op->Pen.PenStyle == penStyle)
            out.push_back(op);
    return out;
}

int Nearest(double x)
{
    return int(std::nearbyint(x));
}

} // namespace

void TestGrid::centreAndRadius_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<bool>("alignToRight");
    QTest::addColumn<QPoint>("centre");
    QTest::addColumn<bool>("wide");
    QTest::newRow("wide, right") << QRect(10, 20, 300, 200) << true << QPoint(210, 120) << true;
    QTest::newRow("wide, centred") << QRect(10, 20, 300, 200) << false << QPoint(160, 120) << true;
    QTest::newRow("tall, right") << QRect(0, 0, 200, 300) << true << QPoint(100, 150) << false;
    QTest::newRow("tall, centred") << QRect(0, 0, 200, 300) << false << QPoint(100, 150) << false;
    QTest::newRow("odd wide, right") << QRect(0, 0, 301, 201) << true << QPoint(201, 101) << true;
    QTest::newRow("odd wide, centred")
        << QRect(0, 0, 301, 201) << false << QPoint(150, 100) << true;
    QTest::newRow("odd tall, right") << QRect(5, 5, 201, 301) << true << QPoint(106, 156) << false;
    QTest::newRow("square") << QRect(0, 0, 400, 400) << true << QPoint(200, 200) << false;
}

void TestGrid::centreAndRadius()
{
    QFETCH(QRect, area);
    QFETCH(bool, alignToRight);
    QFETCH(QPoint, centre);
    QFETCH(bool, wide);
    TPolarGraph g;
    g.Grid().SetAlignToRight(alignToRight);
    TRecordingDevice dev(QSize(1000, 1000));
    RenderInto(g, dev, area);
    QCOMPARE(g.Center(), centre);

    // The label ring (width of "-180°") and the margin fit exactly into the short side.
    const int lw = QFontMetrics(g.Grid().Font(), &dev).horizontalAdvance(QStringLiteral("-180°"));
    const int m = TPolarGraph::MmToPixels(&dev, g.Margin());
    const int side = wide ? area.height() : area.width();
    QCOMPARE(g.Radius(), side / 2 - m - lw);

    // The disc is the first ellipse: its box reaches Radius + LW around the centre.
    const auto discs = dev.Writer().OfType(TRecordedOp::Ellipse);
    QVERIFY(!discs.empty());
    const QRect disc = discs.front()->Box;
    const int outer = g.Radius() + lw;
    QCOMPARE(disc, QRect(centre.x() - outer, centre.y() - outer, 2 * outer + 1, 2 * outer + 1));
}

void TestGrid::angleLabels_data()
{
    QTest::addColumn<int>("mainStep");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("default 45") << 45 << QStringList { "0°",   "45°",   "90°",  "135°",
                                                       "180°", "-135°", "-90°", "-45°" };
    QTest::newRow("document 30") << 30 << QStringList { "0°",    "30°",  "60°",  "90°",
                                                        "120°",  "150°", "180°", "-150°",
                                                        "-120°", "-90°", "-60°", "-30°" };
    QTest::newRow("100") << 100 << QStringList { "0°", "100°", "-160°", "-60°" };
    QTest::newRow("360: only 0") << 360 << QStringList { "0°" };
    QTest::newRow("none") << 0 << QStringList {};
    QTest::newRow("negative") << -30 << QStringList {};
}

void TestGrid::angleLabels()
{
    QFETCH(int, mainStep);
    QFETCH(QStringList, labels);
    TPolarGraph g;
    g.Grid().SetAngleMainStep(mainStep);
    TRecordingDevice dev(QSize(400, 400));
    RenderInto(g, dev, QRect(0, 0, 400, 400));
    QStringList angles;
    for (const QString &t : dev.Writer().Texts())
        if (t.endsWith(QStringLiteral("°")))
            angles << t;
    QCOMPARE(angles, labels);
}

void TestGrid::rayCounts_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("mainStep");
    QTest::addColumn<int>("dotted");
    QTest::addColumn<int>("main");
    QTest::newRow("defaults") << 15 << 45 << 24 << 8;
    QTest::newRow("document") << 10 << 30 << 36 << 12;
    QTest::newRow("no dotted") << 0 << 90 << 0 << 4;
    QTest::newRow("negative dotted") << -10 << 90 << 0 << 4;
    QTest::newRow("step beyond a turn") << -400 << 90 << 1 << 4;
}

void TestGrid::rayCounts()
{
    QFETCH(int, step);
    QFETCH(int, mainStep);
    QFETCH(int, dotted);
    QFETCH(int, main);
    TPolarGraph g;
    g.Grid().SetAngleStep(step);
    g.Grid().SetAngleMainStep(mainStep);
    TRecordingDevice dev(QSize(400, 400));
    RenderInto(g, dev, QRect(0, 0, 400, 400));
    int dots = 0, solid = 0;
    for (const TRecordedOp *op : dev.Writer().OfType(TRecordedOp::Polyline)) {
        QCOMPARE(op->Points.front(), g.Center()); // every ray starts at the centre
        (op->Pen.PenStyle == TGdiPen::Dot ? dots : solid)++;
    }
    QCOMPARE(dots, dotted);
    QCOMPARE(solid, main);
    // Main rays reach 1 mm beyond the scale radius, dotted ones end on it; 0° points up.
    const int onePx = TPolarGraph::MmToPixels(&dev, 1);
    for (const TRecordedOp *op : dev.Writer().OfType(TRecordedOp::Polyline)) {
        if (op->Pen.PenStyle == TGdiPen::Dot) {
            const QPoint d = op->Points.back() - g.Center();
            QVERIFY(std::abs(std::hypot(d.x(), d.y()) - g.Radius()) <= 1.0);
        }
    }
    if (main > 0) {
        const auto rays = dev.Writer().OfType(TRecordedOp::Polyline);
        QCOMPARE(rays[size_t(dotted)]->Points.back(), g.Center() - QPoint(0, g.Radius() + onePx));
    }
}

void TestGrid::levelLabels_data()
{
    QTest::addColumn<int>("minLevel");
    QTest::addColumn<int>("maxLevel");
    QTest::addColumn<int>("mainStep");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QStringList>("labels"); // from the inside out
    QTest::newRow("defaults") << 0 << 100 << 20 << QString()
                              << QStringList { "20 ", "40 ", "60 ", "80 ", "100 " };
    QTest::newRow("document") << -40 << 10 << 10 << QStringLiteral("dB")
                              << QStringList { "-30 dB", "-20 dB", "-10 dB", "0 dB", "10 dB" };
    QTest::newRow("reversed") << 40 << 0 << 10 << QStringLiteral("dB")
                              << QStringList { "30 dB", "20 dB", "10 dB", "0 dB" };
    QTest::newRow("span not a multiple")
        << 0 << 45 << 20 << QString() << QStringList { "20 ", "40 " };
    QTest::newRow("beyond 16 bits") << -20000 << 20000 << 10000 << QStringLiteral("dB")
                                    << QStringList { "-10000 dB", "0 dB", "10000 dB", "20000 dB" };
}

void TestGrid::levelLabels()
{
    QFETCH(int, minLevel);
    QFETCH(int, maxLevel);
    QFETCH(int, mainStep);
    QFETCH(QString, units);
    QFETCH(QStringList, labels);
    TPolarGraph g;
    g.Grid().SetRadiusMin(minLevel);
    g.Grid().SetRadiusMax(maxLevel);
    g.Grid().SetRadiusMainStep(mainStep);
    g.Grid().SetRadiusStep(mainStep / 2);
    g.Grid().SetUnits(units);
    TRecordingDevice dev(QSize(500, 500));
    RenderInto(g, dev, QRect(0, 0, 500, 500));
    QStringList levels;
    int lastY = INT_MAX;
    for (const TRecordedOp *op : dev.Writer().OfType(TRecordedOp::Text)) {
        if (op->Str.endsWith(QStringLiteral("°")))
            continue;
        levels << op->Str;
        // Each label ends left of the centre line and lies further up than the previous.
        QVERIFY(op->Points.front().x() < g.Center().x());
        QVERIFY(op->Points.front().y() < lastY);
        lastY = op->Points.front().y();
    }
    QCOMPARE(levels, labels);
}

void TestGrid::mainCircleRadii()
{
    TPolarGraph g; // 0…100, main every 20, dotted every 5
    TRecordingDevice dev(QSize(500, 400));
    RenderInto(g, dev, QRect(0, 0, 500, 400));
    const QPoint c = g.Center();
    const int radius = g.Radius();
    const auto dotted = Ellipses(dev.Writer(), TGdiPen::Dot);
    QCOMPARE(int(dotted.size()), 20);
    for (int k = 1; k <= 20; ++k) {
        const int r = Nearest(k * radius * 5 / 100.0);
        QCOMPARE(dotted[size_t(k - 1)]->Box, QRect(c.x() - r, c.y() - r, 2 * r + 1, 2 * r + 1));
        QCOMPARE(dotted[size_t(k - 1)]->Brush.BrushStyle, quint16(TGdiBrush::Null));
    }
    const auto solid = Ellipses(dev.Writer(), TGdiPen::Solid);
    QCOMPARE(int(solid.size()), 1 + 5); // disc + main circles
    QCOMPARE(solid.back()->Box.width(), 2 * radius + 1); // outermost main circle = scale
}

void TestGrid::mainCircleCloserThanOneDottedSpacingIsSkipped()
{
    TPolarGraph g;
    g.Grid().SetRadiusStep(20);
    g.Grid().SetRadiusMainStep(5);
    TRecordingDevice dev(QSize(400, 400));
    RenderInto(g, dev, QRect(0, 0, 400, 400));
    // Main circles at 5, 10, 15 lie inside the first dotted spacing (20): left out.
    QCOMPARE(int(Ellipses(dev.Writer(), TGdiPen::Solid).size()), 1 + 17);
    QVERIFY(!dev.Writer().FindText(QStringLiteral("15 ")));
    QVERIFY(dev.Writer().FindText(QStringLiteral("20 ")));
}

void TestGrid::equalRangeDrawsNoCircles()
{
    TPolarGraph g;
    g.Grid().SetRadiusMin(10);
    g.Grid().SetRadiusMax(10);
    TSeries *s = g.GetSeries(0);
    s->Add(0, 10);
    s->Add(90, 20);
    TRecordingDevice dev(QSize(400, 400));
    RenderInto(g, dev, QRect(0, 0, 400, 400));
    QCOMPARE(int(dev.Writer().OfType(TRecordedOp::Ellipse).size()), 1); // the disc only
    for (const TRecordedOp *op : dev.Writer().OfType(TRecordedOp::Polyline))
        QVERIFY(op->Points.size() == 2 && op->Points.front() == g.Center()); // rays only
    const TPolarPosition p = g.PointToPolar(100, 100);
    QCOMPARE(p.Level, 10.0); // no division by zero
}

void TestGrid::hugeSpanStaysBounded()
{
    TPolarGraph g;
    g.Grid().SetRadiusMin(-2000000000);
    g.Grid().SetRadiusMax(2000000000);
    g.Grid().SetRadiusStep(1);
    g.Grid().SetRadiusMainStep(1);
    TRecordingDevice dev(QSize(300, 300));
    RenderInto(g, dev, QRect(0, 0, 300, 300));
    // At most one circle per pixel of radius (plus the disc) instead of 4·10⁹.
    const int circles = int(dev.Writer().OfType(TRecordedOp::Ellipse).size());
    QVERIFY2(circles <= 2 * (g.Radius() + 2) + 1, qPrintable(QString::number(circles)));
    QVERIFY(circles > 1);
}

void TestGrid::setterRules()
{
    TPolarGraph g;
    int changes = 0, paints = 0;
    connect(&g, &TPolarGraph::OnChange, this, [&] { ++changes; });
    connect(&g, &TPolarGraph::RepaintNow, this, [&] { ++paints; });
    g.Grid().SetAngleStep(15); // unchanged
    g.Grid().SetUnits(QString());
    QCOMPARE(changes, 0);
    QCOMPARE(paints, 0);
    g.Grid().SetRadiusMax(50);
    QCOMPARE(changes, 1);
    QCOMPARE(paints, 1);
    g.SetAutoRepaint(false);
    g.Grid().SetLineColor(0x00FF00);
    g.Grid().SetAlignToRight(true);
    QCOMPARE(changes, 3);
    QCOMPARE(paints, 1); // no repaint without AutoRepaint
    QVERIFY(g.NeedsRender());
    QFont f = g.Grid().Font();
    g.Grid().SetFont(f); // a font assignment always counts
    QCOMPARE(changes, 4);
}

QTEST_MAIN(TestGrid)
#include "tst_Grid.moc"
