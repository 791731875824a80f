// The chart: level/angle mapping both ways, curve drawing, black-on-white modes, the
// screen cache and the setter side effects.
#include "helpers/RecordingDevice.h"

#include "chart/PolarGraph.h"
#include "chart/WinColor.h"
#include "chart/ui/PolarGraphView.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

class TestPolarGraph : public QObject
{
    Q_OBJECT

private slots:
    void mmToPixels_data();
    void mmToPixels();
    void polarToPoint_data();
    void polarToPoint();
    void pointToPolar_data();
    void pointToPolar();
    void pointToPolarIgnoresPrintRenders();
    void pointToPolarBeforeAnyRender();
    void longCurveIsDrawnInRuns_data();
    void longCurveIsDrawnInRuns();
    void curveNeedsPositiveRadius();
    void pointsWithoutValueAreLeftOut();
    void printModeIsBlackOnWhiteWithWideCurves();
    void screenRenderAfterPrintKeepsColours();
    void titleAboveChart();
    void cachedRepaintDoesNotRender();
    void cachedPictureAtDeviceRatio_data();
    void cachedPictureAtDeviceRatio();
    void setterSideEffects_data();
    void setterSideEffects();
    void documentDefaults();
};

namespace {

void RenderInto(TPolarGraph &g, QPaintDevice &dev, const QRect &rect)
{
    QPainter painter(&dev);
    g.Render(painter, rect);
}

// A chart rendered once into a 400 × 300 area with the document's level range.
void PrepareDocumentScale(TPolarGraph &g, TRecordingDevice &dev)
{
    g.Grid().SetRadiusMin(-40);
    g.Grid().SetRadiusMax(10);
    RenderInto(g, dev, QRect(0, 0, 400, 300));
}

std::vector<const TRecordedOp *> Curves(const TRecordingWriter &w, quint32 color)
{
    std::vector<const TRecordedOp *> out;
    for (const TRecordedOp *op : w.OfType(TRecordedOp::Polyline))
        if (op->Pen.Color == color)
            out.push_back(op);
    return out;
}

} // namespace

void TestPolarGraph::mmToPixels_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<double>("mm");
    QTest::addColumn<int>("pixels");
    QTest::newRow("96 dpi, 5 mm") << 96 << 5.0 << 19; // 18.90
    QTest::newRow("96 dpi, 10 mm") << 96 << 10.0 << 38; // 37.80
    QTest::newRow("96 dpi, 2 mm") << 96 << 2.0 << 8; // 7.56
    QTest::newRow("600 dpi, 10 mm") << 600 << 10.0 << 236; // 236.22
    QTest::newRow("127 dpi, half down to even") << 127 << 0.5 << 2; // 2.5
    QTest::newRow("127 dpi, half up to even") << 127 << 1.5 << 8; // 7.5
    QTest::newRow("zero") << 300 << 0.0 << 0;
}

void TestPolarGraph::mmToPixels()
{
    QFETCH(int, dpi);
    QFETCH(double, mm);
    QFETCH(int, pixels);
    TRecordingDevice dev(QSize(10, 10), dpi);
    QCOMPARE(TPolarGraph::MmToPixels(&dev, mm), pixels);
}

void TestPolarGraph::polarToPoint_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("level");
    QTest::addColumn<double>("distance"); // in units of Radius
    QTest::addColumn<double>("dirX");
    QTest::addColumn<double>("dirY");
    QTest::newRow("90° at max") << 90.0 << 10.0 << 1.0 << 1.0 << 0.0;
    QTest::newRow("0° up") << 0.0 << 10.0 << 1.0 << 0.0 << -1.0;
    QTest::newRow("180° down") << 180.0 << -15.0 << 0.5 << 0.0 << 1.0;
    QTest::newRow("-90° left") << -90.0 << 10.0 << 1.0 << -1.0 << 0.0;
    QTest::newRow("270° left") << 270.0 << 10.0 << 1.0 << -1.0 << 0.0;
    QTest::newRow("min at centre") << 33.0 << -40.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("below min mirrored") << 0.0 << -50.0 << 0.2 << 0.0 << -1.0;
    QTest::newRow("above max outside") << 0.0 << 20.0 << 1.2 << 0.0 << -1.0;
}

void TestPolarGraph::polarToPoint()
{
    QFETCH(double, angle);
    QFETCH(double, level);
    QFETCH(double, distance);
    QFETCH(double, dirX);
    QFETCH(double, dirY);
    TPolarGraph g;
    TRecordingDevice dev(QSize(400, 300));
    PrepareDocumentScale(g, dev);
    const QPoint c = g.Center();
    const double r = distance * g.Radius();
    const QPoint expected(int(std::nearbyint(c.x() + dirX * r)),
                          int(std::nearbyint(c.y() + dirY * r)));
    QCOMPARE(g.PolarToPoint(angle, level), expected);
    // -50 and -30 lie at the same distance on the same ray.
    QCOMPARE(g.PolarToPoint(0, -50), g.PolarToPoint(0, -30));
}

void TestPolarGraph::pointToPolar_data()
{
    QTest::addColumn<QPoint>("offset"); // from the centre, pixels
    QTest::addColumn<bool>("reversed");
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("levelFraction"); // of the span, from RadiusMin
    QTest::newRow("centre") << QPoint(0, 0) << false << 0.0 << 0.0;
    QTest::newRow("right of centre: angle 0") << QPoint(50, 0) << false << 0.0 << -1.0;
    QTest::newRow("left of centre: angle 0") << QPoint(-50, 0) << false << 0.0 << -1.0;
    QTest::newRow("up") << QPoint(0, -50) << false << 0.0 << -1.0;
    QTest::newRow("down") << QPoint(0, 50) << false << 180.0 << -1.0;
    QTest::newRow("up right") << QPoint(30, -30) << false << 45.0 << -1.0;
    QTest::newRow("down left") << QPoint(-30, 30) << false << -135.0 << -1.0;
    QTest::newRow("one pixel up") << QPoint(0, -1) << false << 0.0 << -1.0;
    QTest::newRow("reversed up") << QPoint(0, -50) << true << 0.0 << -1.0;
}

void TestPolarGraph::pointToPolar()
{
    QFETCH(QPoint, offset);
    QFETCH(bool, reversed);
    QFETCH(double, angle);
    TPolarGraph g;
    g.Grid().SetRadiusMin(reversed ? 10 : -40);
    g.Grid().SetRadiusMax(reversed ? -40 : 10);
    TPolarGraphView view(g);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.repaint();
    QVERIFY(g.Radius() > 0);
    const QPoint p = g.Center() + offset;
    const TPolarPosition pos = g.PointToPolar(p.x(), p.y());
    QCOMPARE(pos.Angle, angle);
    const double d = std::hypot(offset.x(), offset.y());
    const double delta = 50.0 * d / g.Radius();
    QCOMPARE(pos.Level, reversed ? 10.0 - delta : -40.0 + delta);
    // The inverse of PolarToPoint for points off the horizontal line.
    if (offset.y() != 0)
        QCOMPARE(g.PolarToPoint(pos.Angle, pos.Level), p);
}

void TestPolarGraph::pointToPolarIgnoresPrintRenders()
{
    TPolarGraph g;
    TPolarGraphView view(g);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.repaint();
    const QPoint c = g.Center();
    const TPolarPosition before = g.PointToPolar(c.x() + 40, c.y() - 30);

    // A print or export in between renders elsewhere with another scale.
    TRecordingDevice page(QSize(2000, 3000), 600);
    g.SetPrintMode(true);
    RenderInto(g, page, QRect(100, 100, 1500, 1000));
    g.SetPrintMode(false);
    QVERIFY(g.Center() != c);
    const TPolarPosition after = g.PointToPolar(c.x() + 40, c.y() - 30);
    QCOMPARE(after.Level, before.Level);
    QCOMPARE(after.Angle, before.Angle);
}

void TestPolarGraph::pointToPolarBeforeAnyRender()
{
    TPolarGraph g;
    const TPolarPosition p = g.PointToPolar(10, 20);
    QCOMPARE(p.Level, double(g.Grid().RadiusMin()));
    QVERIFY(std::isfinite(p.Angle));
}

void TestPolarGraph::longCurveIsDrawnInRuns_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("runs"); // points per drawn polyline
    // The third run of 30001 points is a single point: a polyline of one point draws
    // nothing, and it is not joined to the run before it.
    QTest::newRow("30001") << 30001 << QList<int> { 15000, 15000 };
    QTest::newRow("30002") << 30002 << QList<int> { 15000, 15000, 2 };
    QTest::newRow("15000") << 15000 << QList<int> { 15000 };
    QTest::newRow("15001") << 15001 << QList<int> { 15000 };
}

void TestPolarGraph::longCurveIsDrawnInRuns()
{
    QFETCH(int, count);
    QFETCH(QList<int>, runs);
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    s->SetColor(0x0000FF);
    std::vector<TPolarSample> points;
    for (int i = 0; i < count; ++i)
        points.push_back({ i * 360.0 / 30000.0, 50.0 + 40.0 * std::sin(i * 0.01) });
    s->SetPoints(points.data(), int(points.size()));
    TRecordingDevice dev(QSize(600, 600));
    RenderInto(g, dev, QRect(0, 0, 600, 600));
    const auto drawn = Curves(dev.Writer(), 0x0000FF);
    QCOMPARE(int(drawn.size()), runs.size());
    for (int i = 0; i < runs.size(); ++i) {
        QCOMPARE(int(drawn[size_t(i)]->Points.size()), runs[i]);
        // Each run starts with its own first point and ends with its own last point: no
        // segment joins two runs.
        const TPolarSample &first = points[size_t(i) * 15000];
        const TPolarSample &last = points[size_t(i) * 15000 + size_t(runs[i]) - 1];
        QCOMPARE(drawn[size_t(i)]->Points.front(), g.PolarToPoint(first.Angle, first.Level));
        QCOMPARE(drawn[size_t(i)]->Points.back(), g.PolarToPoint(last.Angle, last.Level));
        QCOMPARE(drawn[size_t(i)]->Pen.Width, 1);
    }
}

void TestPolarGraph::curveNeedsPositiveRadius()
{
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    s->SetColor(0x00FF00);
    s->Add(0, 50);
    s->Add(90, 60);
    TRecordingDevice dev(QSize(100, 100));
    RenderInto(g, dev, QRect(0, 0, 60, 60)); // smaller than margins and label ring
    QVERIFY(g.Radius() <= 0);
    QVERIFY(Curves(dev.Writer(), 0x00FF00).empty());
}

void TestPolarGraph::pointsWithoutValueAreLeftOut()
{
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    s->SetColor(0x00FF00);
    s->Add(0, 50);
    s->Add(std::nan(""), 60);
    s->Add(45, std::numeric_limits<double>::infinity());
    s->Add(90, 70);
    TRecordingDevice dev(QSize(400, 400));
    RenderInto(g, dev, QRect(0, 0, 400, 400));
    const auto curve = Curves(dev.Writer(), 0x00FF00);
    QCOMPARE(int(curve.size()), 1);
    QCOMPARE(curve.front()->Points,
             (std::vector<QPoint> { g.PolarToPoint(0, 50), g.PolarToPoint(90, 70) }));
}

void TestPolarGraph::printModeIsBlackOnWhiteWithWideCurves()
{
    TPolarGraph g;
    g.SetColor(0x00FFFF);
    g.SetMarginColor(0x808000);
    g.Grid().SetLineColor(0x0000C0);
    g.Grid().SetLineMainColor(0x00C000);
    TSeries *s = g.GetSeries(0);
    s->SetColor(0xFF0000);
    for (int a = 0; a <= 90; a += 10)
        s->Add(a, 80);
    g.SetPrintMode(true);
    TRecordingDevice dev(QSize(400, 400));
    RenderInto(g, dev, QRect(0, 0, 400, 400));
    g.SetPrintMode(false);
    const TRecordingWriter &w = dev.Writer();
    // Background, disc fill and label backgrounds white.
    for (const TRecordedOp *op : w.OfType(TRecordedOp::Rectangle))
        QCOMPARE(op->Brush.Color, quint32(0xFFFFFF));
    const auto ellipses = w.OfType(TRecordedOp::Ellipse);
    QCOMPARE(ellipses.front()->Brush.Color, quint32(0xFFFFFF));
    QCOMPARE(ellipses.front()->Pen.Color, quint32(0x00C000)); // the outline keeps its colour
    for (size_t i = 1; i < ellipses.size(); ++i)
        QCOMPARE(ellipses[i]->Pen.Color, quint32(0));
    for (const TRecordedOp *op : w.OfType(TRecordedOp::Text))
        QCOMPARE(op->TextColor, quint32(0));
    // The curve: its own colour, 2 units wide, as single segments.
    const auto segments = Curves(w, 0xFF0000);
    QCOMPARE(int(segments.size()), 9);
    for (const TRecordedOp *op : segments) {
        QCOMPARE(op->Pen.Width, 2);
        QCOMPARE(int(op->Points.size()), 2);
    }
    QCOMPARE(segments[0]->Points.back(), segments[1]->Points.front());
}

void TestPolarGraph::screenRenderAfterPrintKeepsColours()
{
    TPolarGraph g;
    g.SetColor(0x00FFFF); // yellow disc
    g.SetMarginColor(0x000080);
    TSeries *s = g.GetSeries(0);
    s->SetColor(0xFF0000);
    for (int a = 0; a <= 90; a += 10)
        s->Add(a, 80);
    TRecordingDevice page(QSize(400, 400));
    g.SetPrintMode(true);
    RenderInto(g, page, QRect(0, 0, 400, 400));
    g.SetPrintMode(false);
    TRecordingDevice screen(QSize(400, 400));
    RenderInto(g, screen, QRect(0, 0, 400, 400));
    const TRecordingWriter &w = screen.Writer();
    QCOMPARE(w.OfType(TRecordedOp::Rectangle).front()->Brush.Color, quint32(0x000080));
    QCOMPARE(w.OfType(TRecordedOp::Ellipse).front()->Brush.Color, quint32(0x00FFFF));
    const auto curve = Curves(w, 0xFF0000);
    QCOMPARE(int(curve.size()), 1);
    QCOMPARE(curve.front()->Pen.Width, 1);
    QCOMPARE(int(curve.front()->Points.size()), 10);
}

void TestPolarGraph::titleAboveChart()
{
    TPolarGraph g;
    g.SetTitle(QStringLiteral("Wykres próbny"));
    TRecordingDevice dev(QSize(400, 400));
    RenderInto(g, dev, QRect(0, 0, 400, 400));
    const TRecordedOp *title = dev.Writer().FindText(g.Title());
    QVERIFY(title);
    const QFontMetrics fm(g.Font(), &dev);
    const QPoint expected((400 - fm.horizontalAdvance(g.Title())) / 2, fm.height() + fm.ascent());
    QCOMPARE(title->Points.front(), expected);
    // The grid takes what is below three title lines.
    QCOMPARE(g.Center().y(), 3 * fm.height() + (400 - 3 * fm.height()) / 2);

    g.SetMergeTitleToLegend(true); // merged but no legend: no title at all
    TRecordingDevice again(QSize(400, 400));
    RenderInto(g, again, QRect(0, 0, 400, 400));
    QVERIFY(!again.Writer().FindText(g.Title()));
}

void TestPolarGraph::cachedRepaintDoesNotRender()
{
    TPolarGraph g;
    TPolarGraphView view(g);
    view.resize(300, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.repaint();
    const int rendered = g.CachedRenderCount();
    QVERIFY(rendered >= 1);
    view.repaint();
    view.repaint();
    QCOMPARE(g.CachedRenderCount(), rendered);
    g.Refresh();
    view.repaint();
    QCOMPARE(g.CachedRenderCount(), rendered + 1);
    view.resize(320, 300);
    view.repaint();
    QCOMPARE(g.CachedRenderCount(), rendered + 2);
}

void TestPolarGraph::cachedPictureAtDeviceRatio_data()
{
    QTest::addColumn<int>("ratio");
    QTest::newRow("standard screen") << 1;
    QTest::newRow("high density") << 2;
    QTest::newRow("triple") << 3;
}

void TestPolarGraph::cachedPictureAtDeviceRatio()
{
    QFETCH(int, ratio);
    const QSize logical(300, 300);
    const auto paint = [&logical](TPolarGraph &g, int r) {
        g.SetColor(WinColor::clWhite);
        g.SetMarginColor(WinColor::clWhite);
        QImage target(logical * r, QImage::Format_RGB32);
        target.setDevicePixelRatio(r);
        QPainter p(&target);
        g.PaintCached(p, logical, 96, 96);
        return target;
    };
    TPolarGraph plain;
    paint(plain, 1);
    TPolarGraph g;
    const QImage shown = paint(g, ratio);
    QCOMPARE(g.CachedPicture().size(), logical * ratio);
    QCOMPARE(g.CachedPicture().devicePixelRatio(), qreal(ratio));

    // Geometry and the mouse read-out stay in logical pixels.
    const QPoint c = g.Center();
    QCOMPARE(c, plain.Center());
    QCOMPARE(g.Radius(), plain.Radius());
    const QPoint top(c.x(), c.y() - g.Radius());
    QCOMPARE(g.PointToPolar(top.x(), top.y()).Level, double(g.Grid().RadiusMax()));
    QCOMPARE(g.PointToPolar(c.x() + 40, c.y() - 30).Level,
             plain.PointToPolar(c.x() + 40, c.y() - 30).Level);

    // The solid 0° ray, one logical pixel wide, crosses a row between two level circles as
    // `ratio` device pixels of pure black on white: sharp, not smeared by scaling.
    const int y = ratio * TPolarGraph::Nearest(c.y() - g.Radius() * 0.525);
    int first = -1, last = -1;
    for (int x = ratio * (c.x() - 4); x < ratio * (c.x() + 4); ++x) {
        const QRgb pixel = shown.pixel(x, y);
        if (pixel == qRgb(255, 255, 255))
            continue;
        QCOMPARE(pixel, qRgb(0, 0, 0));
        if (first < 0)
            first = x;
        QCOMPARE(x, last < 0 ? first : last + 1); // one unbroken run
        last = x;
    }
    QVERIFY(first >= 0);
    QCOMPARE(last - first + 1, ratio);
}

using TSetter = std::function<void(TPolarGraph &)>;
Q_DECLARE_METATYPE(TSetter)

void TestPolarGraph::setterSideEffects_data()
{
    QTest::addColumn<bool>("autoRepaint");
    QTest::addColumn<TSetter>("setter");
    QTest::addColumn<int>("renders"); // synchronous renders of the view
    QTest::addColumn<int>("changes"); // OnChange
    QTest::addColumn<bool>("stale"); // picture marked for re-rendering

    auto add = [](const char *name, bool autoRepaint, TSetter setter, int renders, int changes,
                  bool stale) {
        QTest::newRow(name) << autoRepaint << setter << renders << changes << stale;
    };
    add(
        "Title changed", true, [](TPolarGraph &g) { g.SetTitle("x"); }, 1, 1, false);
    add(
        "Title changed, no AutoRepaint", false, [](TPolarGraph &g) { g.SetTitle("x"); }, 1, 1,
        false);
    add(
        "Title equal", true, [](TPolarGraph &g) { g.SetTitle(g.Title()); }, 0, 0, false);
    add(
        "DrawTitle", true, [](TPolarGraph &g) { g.SetDrawTitle(false); }, 1, 1, false);
    add(
        "DrawLegend equal", true, [](TPolarGraph &g) { g.SetDrawLegend(false); }, 1, 1, false);
    add(
        "DrawLegend, no AutoRepaint", false, [](TPolarGraph &g) { g.SetDrawLegend(true); }, 0, 0,
        true);
    add(
        "Margin", true, [](TPolarGraph &g) { g.SetMargin(7); }, 1, 0, false);
    add(
        "Margin equal", true, [](TPolarGraph &g) { g.SetMargin(5); }, 0, 0, false);
    add(
        "MergeTitleToLegend, no AutoRepaint", false,
        [](TPolarGraph &g) { g.SetMergeTitleToLegend(true); }, 0, 0, true);
    add(
        "Color", true, [](TPolarGraph &g) { g.SetColor(0x123456); }, 0, 0, true);
    add(
        "MarginColor equal still marks", true,
        [](TPolarGraph &g) { g.SetMarginColor(g.MarginColor()); }, 0, 0, true);
    add(
        "grid value", true, [](TPolarGraph &g) { g.Grid().SetRadiusMin(-10); }, 1, 1, false);
    add(
        "grid value, no AutoRepaint", false, [](TPolarGraph &g) { g.Grid().SetRadiusMin(-10); }, 0,
        1, true);
    add(
        "grid value equal", true, [](TPolarGraph &g) { g.Grid().SetRadiusMin(0); }, 0, 0, false);
    add(
        "series colour", true, [](TPolarGraph &g) { g.GetSeries(0)->SetColor(1); }, 0, 1, true);
    add(
        "point added", true, [](TPolarGraph &g) { g.GetSeries(0)->Add(1, 2); }, 0, 1, false);
    add(
        "level offset", true, [](TPolarGraph &g) { g.GetSeries(0)->AddLevelOffset(3); }, 0, 0,
        false);
    add(
        "legend, hidden legend", true, [](TPolarGraph &g) { g.Legend().SetWidth(99); }, 0, 0,
        false);
}

void TestPolarGraph::setterSideEffects()
{
    QFETCH(bool, autoRepaint);
    QFETCH(TSetter, setter);
    QFETCH(int, renders);
    QFETCH(int, changes);
    QFETCH(bool, stale);
    TPolarGraph g;
    g.GetSeries(0);
    TPolarGraphView view(g);
    view.resize(300, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.repaint();
    QVERIFY(!g.NeedsRender());
    const int before = g.CachedRenderCount();
    QSignalSpy changeSpy(&g, &TPolarGraph::OnChange);
    g.SetAutoRepaint(autoRepaint);
    setter(g);
    QCOMPARE(g.CachedRenderCount() - before, renders);
    QCOMPARE(changeSpy.count(), changes);
    QCOMPARE(g.NeedsRender(), stale);
}

void TestPolarGraph::documentDefaults()
{
    TPolarGraph g;
    QSignalSpy changes(&g, &TPolarGraph::OnChange);
    g.ApplyDocumentDefaults();
    QCOMPARE(changes.count(), 0); // a new document is not modified by its defaults
    QCOMPARE(g.Grid().RadiusMin(), -40);
    QCOMPARE(g.Grid().RadiusMax(), 10);
    QCOMPARE(g.Grid().AngleStep(), 10);
    QCOMPARE(g.Grid().AngleMainStep(), 30);
    QCOMPARE(g.Grid().RadiusStep(), 2);
    QCOMPARE(g.Grid().RadiusMainStep(), 10);
    QCOMPARE(g.Grid().Units(), QStringLiteral("dB"));
    QVERIFY(g.Grid().AlignToRight());
    QVERIFY(g.Legend().Autosize());
    QCOMPARE(g.Legend().Position(), lpLeft);
    QCOMPARE(g.Title(), QStringLiteral("Graph"));
    QVERIFY(g.DrawLegend() && g.DrawTitle() && g.MergeTitleToLegend());
    QCOMPARE(g.Margin(), 2);
    QVERIFY(g.Font().bold());
    QCOMPARE(g.Color(), WinColor::clWindow);
    QCOMPARE(g.MarginColor(), WinColor::clWindow);
    // Character heights 9 and 11 pixels at 96 per inch.
    TRecordingDevice dev(QSize(10, 10), 96);
    QCOMPARE(QFontInfo(g.Grid().Font()).family().isEmpty(), false);
    QCOMPARE(qRound(g.Grid().Font().pointSizeF() * 96 / 72), 9);
    QCOMPARE(qRound(g.Legend().Font().pointSizeF() * 96 / 72), 11);
    QVERIFY(g.AutoRepaint());
}

QTEST_MAIN(TestPolarGraph)
#include "tst_PolarGraph.moc"
