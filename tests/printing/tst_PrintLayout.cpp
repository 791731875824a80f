// The cells of a printed sheet: every row of the layout table in both orientations, the
// sketch's fixed margins, counts outside 1..4 and the whole-millimetre margins.
#include "printing/PrintLayout.h"

#include <QImage>
#include <QTest>

Q_DECLARE_METATYPE(QList<int>)

class TestPrintLayout : public QObject
{
    Q_OBJECT

private slots:
    void layoutCell_data();
    void layoutCell();
    void wholeMillimetres_data();
    void wholeMillimetres();
};

// A canvas of 254 dots per inch: one millimetre is exactly 10 pixels.
static QImage TenPixelsPerMm()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    return image;
}

void TestPrintLayout::layoutCell_data()
{
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<bool>("sketch");
    QTest::addColumn<QRect>("page");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("edges"); // left, top, right, bottom (exclusive)

    // Margins 1, 2, 3, 4 mm = 10, 20, 30, 40 px on a 1000 × 1300 page: L 10, T 20, R 970,
    // B 1260, W 960, H 1240, Xm 490, Ym 640, H div 3 = 413, W div 3 = 320, gap 10.
    const QRect page(0, 0, 1000, 1300);
    auto row = [&](const char *name, bool portrait, int count, int index, QList<int> edges) {
        QTest::newRow(name) << portrait << false << page << count << index << edges;
    };
    for (bool portrait : { true, false }) {
        const QByteArray o = portrait ? "portrait " : "landscape ";
        row(o + "1/1", portrait, 1, 1, { 10, 20, 970, 1260 });
        row(o + "4/1", portrait, 4, 1, { 10, 20, 480, 630 });
        row(o + "4/2", portrait, 4, 2, { 500, 20, 970, 630 });
        row(o + "4/3", portrait, 4, 3, { 10, 650, 480, 1260 });
        row(o + "4/4", portrait, 4, 4, { 500, 650, 970, 1260 });
        row(o + "count 0", portrait, 0, 1, { 0, 0, 0, 0 });
        row(o + "count 5", portrait, 5, 1, { 0, 0, 0, 0 });
        row(o + "index 0", portrait, 1, 0, { 0, 0, 0, 0 });
        row(o + "index beyond count", portrait, 2, 3, { 0, 0, 0, 0 });
    }
    row("portrait 2/1", true, 2, 1, { 10, 20, 970, 630 });
    row("portrait 2/2", true, 2, 2, { 10, 650, 970, 1260 });
    row("portrait 3/1", true, 3, 1, { 10, 20, 970, 423 });
    row("portrait 3/2", true, 3, 2, { 10, 443, 970, 836 });
    row("portrait 3/3", true, 3, 3, { 10, 856, 970, 1260 });
    row("landscape 2/1", false, 2, 1, { 10, 20, 480, 1260 });
    row("landscape 2/2", false, 2, 2, { 500, 20, 970, 1260 });
    row("landscape 3/1", false, 3, 1, { 10, 20, 320, 1260 });
    row("landscape 3/2", false, 3, 2, { 340, 20, 640, 1260 });
    row("landscape 3/3", false, 3, 3, { 660, 20, 970, 1260 });
    // The page need not start at the origin.
    QTest::newRow("landscape 4/4 moved page") << false << false << QRect(100, 50, 1000, 1300) << 4
                                              << 4 << QList<int> { 600, 700, 1070, 1310 };
    // The sketch: 2-pixel margins and a 1-pixel half gap whatever the margins are.
    // 90 × 130: L 2, T 2, R 88, B 128, H 126, Ym 65, H div 3 = 42.
    const QRect sketch(0, 0, 90, 130);
    QTest::newRow("sketch 2/1") << true << true << sketch << 2 << 1 << QList<int> { 2, 2, 88, 64 };
    QTest::newRow("sketch 3/2") << true << true << sketch << 3 << 2 << QList<int> { 2, 45, 88, 85 };
    QTest::newRow("sketch 3/3") << true << true << sketch << 3 << 3
                                << QList<int> { 2, 87, 88, 128 };
}

void TestPrintLayout::layoutCell()
{
    QFETCH(bool, portrait);
    QFETCH(bool, sketch);
    QFETCH(QRect, page);
    QFETCH(int, count);
    QFETCH(int, index);
    QFETCH(QList<int>, edges);

    TPrintLayout layout;
    layout.Left = 1;
    layout.Top = 2;
    layout.Right = 3;
    layout.Bottom = 4;
    layout.Portrait = portrait;
    const QImage canvas = TenPixelsPerMm();
    const QRect cell = layout.LayoutCell(&canvas, index, sketch, page, count);
    const QList<int> got { cell.left(), cell.top(), cell.left() + cell.width(),
                           cell.top() + cell.height() };
    QCOMPARE(got, edges);
}

void TestPrintLayout::wholeMillimetres_data()
{
    QTest::addColumn<double>("typed");
    QTest::addColumn<int>("used");
    QTest::newRow("12.7 is cut to 12") << 12.7 << 12;
    QTest::newRow("whole") << 10.0 << 10;
    QTest::newRow("below one") << 0.9 << 0;
    QTest::newRow("negative") << -3.5 << 0;
}

void TestPrintLayout::wholeMillimetres()
{
    QFETCH(double, typed);
    QFETCH(int, used);
    QCOMPARE(TPrintLayout::WholeMillimetres(typed), used);
}

QTEST_GUILESS_MAIN(TestPrintLayout)
#include "tst_PrintLayout.moc"
