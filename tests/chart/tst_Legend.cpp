// The legend: strip and band layout, automatic sizes, entry rows, merged title, refresh rules.
#include "helpers/RecordingDevice.h"

#include "chart/PolarGraph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

class TestLegend : public QObject
{
    Q_OBJECT

private slots:
    void leftAutosizeWithoutSeries();
    void leftAutosizeFollowsLongestName();
    void fixedWidthNarrowsGridExactly_data();
    void fixedWidthNarrowsGridExactly();
    void entriesAreRowsWithoutGaps();
    void bottomBandHoldsAllEntries_data();
    void bottomBandHoldsAllEntries();
    void mergedTitle_data();
    void mergedTitle();
    void printModeDoublesSampleWidth();
    void refreshRules();
};

namespace {

struct TLegendFixture
{
    TPolarGraph Graph;
    TRecordingDevice Device { QSize(800, 600) };
    int M = 0, L = 0, H = 0;

    TLegendFixture()
    {
        Graph.SetDrawLegend(true);
        M = TPolarGraph::MmToPixels(&Device, Graph.Margin());
        L = TPolarGraph::MmToPixels(&Device, 10);
        H = QFontMetrics(Graph.Legend().Font(), &Device).height();
    }
    void Render(const QRect &rect = QRect(0, 0, 800, 600))
    {
        QPainter painter(&Device);
        Graph.Render(painter, rect);
    }
};

} // namespace

void TestLegend::leftAutosizeWithoutSeries()
{
    TLegendFixture f;
    f.Graph.Legend().SetAutosize(true);
    f.Render(QRect(10, 0, 800, 600));
    QCOMPARE(f.Graph.Legend().Width(), f.M + f.L + 4);
    QCOMPARE(f.Graph.Legend().Height(), 600);
    // The grid area starts that far right: its centre is the middle of what is left.
    const int left = 10 + f.Graph.Legend().Width();
    QCOMPARE(f.Graph.Center().x(), left + (810 - left) / 2);
}

void TestLegend::leftAutosizeFollowsLongestName()
{
    TLegendFixture f;
    f.Graph.Legend().SetAutosize(true);
    f.Graph.GetSeries(0)->Name = QStringLiteral("krótka");
    f.Graph.GetSeries(1)->Name = QStringLiteral("Pomiar bardzo długi – 1 kHz");
    f.Render();
    const QFontMetrics fm(f.Graph.Legend().Font(), &f.Device);
    const int widest = fm.horizontalAdvance(QStringLiteral("  Pomiar bardzo długi – 1 kHz"));
    QCOMPARE(f.Graph.Legend().Width(), f.M + f.L + widest + 4);
}

void TestLegend::fixedWidthNarrowsGridExactly_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("short") << QStringLiteral("a");
    QTest::newRow("long") << QString(80, QLatin1Char('W'));
}

void TestLegend::fixedWidthNarrowsGridExactly()
{
    QFETCH(QString, name);
    TLegendFixture f;
    f.Graph.Legend().SetWidth(200);
    f.Graph.GetSeries(0)->Name = name;
    f.Render();
    QCOMPARE(f.Graph.Legend().Width(), 200);
    QCOMPARE(f.Graph.Center().x(), 200 + 600 / 2);
    // A long name overruns into the grid area: it is still drawn in full.
    QVERIFY(f.Device.Writer().FindText(QStringLiteral("  ") + name));
}

void TestLegend::entriesAreRowsWithoutGaps()
{
    TLegendFixture f;
    for (int n : { 7, 0, 3 })
        f.Graph.GetSeries(n)->SetColor(quint32(0x10 + n));
    f.Render(QRect(5, 7, 700, 500));
    const int x0 = 5 + f.M;
    const int y0 = 7 + f.M;
    const QFontMetrics fm(f.Graph.Legend().Font(), &f.Device);
    int row = 0;
    for (int n : { 0, 3, 7 }) {
        ++row;
        const TRecordedOp *text = f.Device.Writer().FindText(QStringLiteral("  Series %1").arg(n));
        QVERIFY(text);
        QCOMPARE(text->Points.front(), QPoint(x0 + f.L, y0 + 2 * f.H * row + fm.ascent()));
        bool sample = false;
        for (const TRecordedOp *op : f.Device.Writer().OfType(TRecordedOp::Polyline)) {
            if (op->Pen.Color != quint32(0x10 + n))
                continue;
            const int y = y0 + 2 * f.H * row + f.H / 2;
            QCOMPARE(op->Points.front(), QPoint(x0, y));
            QCOMPARE(op->Points.back(), QPoint(x0 + f.L, y));
            sample = true;
        }
        QVERIFY(sample);
    }
}

void TestLegend::bottomBandHoldsAllEntries_data()
{
    QTest::addColumn<int>("series");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("five") << 5;
}

void TestLegend::bottomBandHoldsAllEntries()
{
    QFETCH(int, series);
    TLegendFixture f;
    f.Graph.Legend().SetPosition(lpBottom);
    f.Graph.Legend().SetAutosize(true);
    for (int i = 0; i < series; ++i)
        f.Graph.GetSeries(i);
    const QRect rect(0, 0, 800, 600);
    f.Render(rect);
    const int band = f.Graph.Legend().Height();
    QCOMPARE(band, (2 * series + 1) * f.H + f.M);
    QCOMPARE(f.Graph.Legend().Width(), 800);
    const QFontMetrics fm(f.Graph.Legend().Font(), &f.Device);
    for (int i = 0; i < series; ++i) {
        const TRecordedOp *text = f.Device.Writer().FindText(QStringLiteral("  Series %1").arg(i));
        QVERIFY(text);
        const int top = text->Points.front().y() - fm.ascent();
        QVERIFY(top >= 600 - band);
        QVERIFY(top + f.H <= 600); // inside the band
    }
    // The grid sits above the band: a wide area centres its disc vertically there.
    QCOMPARE(f.Graph.Center().y(), (600 - band) / 2);
}

void TestLegend::mergedTitle_data()
{
    QTest::addColumn<bool>("drawTitle");
    QTest::addColumn<bool>("drawLegend");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("title off, legend on") << false << true << int(lpLeft) << true;
    QTest::newRow("title on, legend on") << true << true << int(lpLeft) << true;
    QTest::newRow("legend off") << true << false << int(lpLeft) << false;
    QTest::newRow("bottom legend") << false << true << int(lpBottom) << true;
}

void TestLegend::mergedTitle()
{
    QFETCH(bool, drawTitle);
    QFETCH(bool, drawLegend);
    QFETCH(int, position);
    QFETCH(bool, drawn);
    TLegendFixture f;
    f.Graph.SetTitle(QStringLiteral("Charakterystyka głośnika"));
    f.Graph.SetMergeTitleToLegend(true);
    f.Graph.SetDrawTitle(drawTitle);
    f.Graph.SetDrawLegend(drawLegend);
    f.Graph.Legend().SetPosition(TLegendPosition(position));
    f.Render(QRect(3, 4, 800, 600));
    const auto titles = f.Device.Writer().Texts().filter(f.Graph.Title());
    QCOMPARE(titles.size(), drawn ? 1 : 0);
    if (drawn) {
        const QFontMetrics fm(f.Graph.Font(), &f.Device);
        QCOMPARE(f.Device.Writer().FindText(f.Graph.Title())->Points.front(),
                 QPoint(3 + f.M, 4 + f.M + fm.ascent()));
    }
}

void TestLegend::printModeDoublesSampleWidth()
{
    TLegendFixture f;
    f.Graph.GetSeries(0)->SetColor(0x00AA00);
    f.Graph.SetPrintMode(true);
    f.Render();
    f.Graph.SetPrintMode(false);
    bool found = false;
    for (const TRecordedOp *op : f.Device.Writer().OfType(TRecordedOp::Polyline)) {
        if (op->Pen.Color == 0x00AA00 && op->Points.size() == 2
            && op->Points.front().y() == op->Points.back().y()) {
            QCOMPARE(op->Pen.Width, 2);
            found = true;
        }
    }
    QVERIFY(found);
    for (const TRecordedOp *op : f.Device.Writer().OfType(TRecordedOp::Text))
        QCOMPARE(op->TextColor, quint32(0));
}

void TestLegend::refreshRules()
{
    TPolarGraph g;
    QSignalSpy changes(&g, &TPolarGraph::OnChange);
    QSignalSpy refreshes(&g, &TPolarGraph::InvalidateRequested);
    TLegend &legend = g.Legend();

    legend.SetWidth(150); // DrawLegend is off: no redraw
    legend.SetAutosize(true);
    QCOMPARE(refreshes.count(), 0);

    g.SetDrawLegend(true);
    const int base = refreshes.count();
    legend.SetWidth(150); // unchanged
    QCOMPARE(refreshes.count(), base);
    legend.SetAutosize(true); // stored without comparing
    QCOMPARE(refreshes.count(), base + 1);
    legend.SetPosition(lpBottom);
    legend.SetHeight(40);
    legend.SetLeft(3);
    legend.SetTop(4);
    legend.SetFont(legend.Font());
    QCOMPARE(refreshes.count(), base + 6);
    QVERIFY(g.NeedsRender());

    g.SetAutoRepaint(false);
    legend.SetWidth(151);
    QCOMPARE(refreshes.count(), base + 6);
    QCOMPARE(legend.Left(), 3);
    QCOMPARE(legend.Top(), 4);
    QCOMPARE(changes.count(), 1); // only SetDrawLegend: legend changes never fire OnChange
}

QTEST_MAIN(TestLegend)
#include "tst_Legend.moc"
