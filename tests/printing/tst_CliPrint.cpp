// "orvi-cli print": sheets of three charts (portrait) and four (landscape) read back with
// poppler (pdftoppm, pdftotext): frames where the layout puts them, the grid black on
// white, every series in its colour and every title on the sheet. Bad input: one line on
// stderr, status 1 and no output file.
#include "chart/PolarGraph.h"
#include "document/OvkFile.h"
#include "printing/PrintLayout.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPageSize>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

constexpr int SheetDpi = 600; // what orvi-cli prints at
constexpr int RasterDpi = 100; // for the colours; frames are read at SheetDpi

// The series colours of the four documents (0x00BBGGRR) and how they come back.
const quint32 SeriesColors[4] = { 0x0000FF, 0xFF0000, 0x00C000, 0xFF00FF };
const QRgb SeriesRgb[4] = { qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 192, 0), qRgb(255, 0, 255) };

bool Dark(QRgb c)
{
    return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80;
}

bool Neutral(QRgb c)
{
    return std::abs(qRed(c) - qGreen(c)) < 16 && std::abs(qGreen(c) - qBlue(c)) < 16;
}

// A 600-dpi canvas for the layout: the sheet's own resolution.
QImage SheetCanvas()
{
    QImage canvas(8, 8, QImage::Format_RGB32);
    canvas.setDotsPerMeterX(qRound(SheetDpi / 0.0254));
    canvas.setDotsPerMeterY(qRound(SheetDpi / 0.0254));
    return canvas;
}

} // namespace

class TestCliPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sheet_data();
    void sheet();
    void marginsAreWholeMillimetres();
    void framesAtViewerResolutions_data();
    void framesAtViewerResolutions();
    void badInput_data();
    void badInput();

private:
    struct TResult
    {
        int Status;
        QByteArray Err;
    };
    TResult Run(const QStringList &args);
    // "print" of the first count documents into pdf, portrait or landscape.
    TResult PrintSheet(const QString &pdf, int count, bool portrait);
    // The sheet as an image at dpi: in grey at the sheet's own resolution, so every hairline
    // frame is one whole pixel, in colour otherwise.
    QImage Rasterise(const QString &pdf, int dpi);
    // Fraction of dark pixels along a frame line of the raster, over its middle 80 %.
    static double DarkAlong(const QImage &image, QPoint from, QPoint to);
    // The best fraction of pixels darker than mid-grey along a straight line from `from` to
    // `to` (horizontal or vertical) moved up to 2 pixels across it, over its middle 80 %.
    static double VisibleAlong(const QImage &image, QPoint from, QPoint to);

    QTemporaryDir m_dir;
    QStringList m_documents;
    QStringList m_titles;
};

TestCliPrint::TResult TestCliPrint::Run(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVI_CLI_PATH), QStringList { QStringLiteral("print") } + args);
    if (!p.waitForFinished(60000))
        return { -1, {} };
    QList<QByteArray> lines = p.readAllStandardError().split('\n');
    lines.removeIf(
        [](const QByteArray &l) { return l.isEmpty() || l.startsWith("QStandardPaths"); });
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, lines.join('\n') };
}

QImage TestCliPrint::Rasterise(const QString &pdf, int dpi)
{
    // No anti-aliasing: lines stay whole pixels, colours stay pure.
    const bool grey = dpi == SheetDpi;
    const QString stem = pdf + QStringLiteral(".raster");
    QStringList args { QStringLiteral("-r"),         QString::number(dpi),
                       QStringLiteral("-aa"),        QStringLiteral("no"),
                       QStringLiteral("-aaVector"),  QStringLiteral("no"),
                       QStringLiteral("-singlefile") };
    if (grey)
        args << QStringLiteral("-gray");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), args << pdf << stem);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    const QString file = stem + (grey ? QStringLiteral(".pgm") : QStringLiteral(".ppm"));
    QImage image(file);
    QFile::remove(file);
    return grey ? image : image.convertToFormat(QImage::Format_RGB32);
}

double TestCliPrint::DarkAlong(const QImage &image, QPoint from, QPoint to)
{
    const QPoint step = (to - from) / 10;
    const QPoint start = from + step;
    const QPoint end = to - step;
    const int n = std::max(std::abs(end.x() - start.x()), std::abs(end.y() - start.y()));
    int dark = 0;
    for (int i = 0; i <= n; ++i) {
        const QPoint at = start + (end - start) * i / std::max(n, 1);
        bool hit = false;
        for (int d = -2; d <= 2 && !hit; ++d) {
            const QPoint p = from.x() == to.x() ? at + QPoint(d, 0) : at + QPoint(0, d);
            hit = image.rect().contains(p) && Dark(image.pixel(p));
        }
        dark += hit ? 1 : 0;
    }
    return double(dark) / (n + 1);
}

double TestCliPrint::VisibleAlong(const QImage &image, QPoint from, QPoint to)
{
    const bool vertical = from.x() == to.x();
    const QPoint across = vertical ? QPoint(1, 0) : QPoint(0, 1);
    const QPoint step = (to - from) / 10;
    const QPoint start = from + step;
    const QPoint end = to - step;
    const int n = std::max(std::abs(end.x() - start.x()), std::abs(end.y() - start.y()));
    double best = 0;
    for (int d = -2; d <= 2; ++d) {
        int visible = 0;
        for (int i = 0; i <= n; ++i) {
            const QPoint p = start + (end - start) * i / std::max(n, 1) + across * d;
            visible += image.rect().contains(p) && qGray(image.pixel(p)) < 128 ? 1 : 0;
        }
        best = std::max(best, double(visible) / (n + 1));
    }
    return best;
}

void TestCliPrint::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        // The test script installs them: there, a missing reader is a fault.
        const char *missing
            = "pdftoppm and pdftotext (poppler-utils) are needed to read the printed sheets";
        if (qEnvironmentVariableIntValue("ORVI_REQUIRE_POPPLER") == 1)
            QFAIL(missing);
        QSKIP(missing);
    }
    QVERIFY(m_dir.isValid());
    QImageReader::setAllocationLimit(512); // megabytes: a whole sheet at 600 dpi
    for (int d = 0; d < 4; ++d) {
        TPolarGraph graph;
        TSeries *series = graph.GetSeries(0);
        series->Name = QStringLiteral("Pomiar %1").arg(d + 1);
        series->SetColor(SeriesColors[d]);
        for (int a = 0; a <= 360; a += 5)
            series->Add(a, -12.0 + 10.0 * std::cos(a * M_PI / 180.0));
        const QString path = m_dir.filePath(QStringLiteral("doc%1.OvK").arg(d + 1));
        TOvkFile file(&graph, path);
        file.Title = QStringLiteral("Kolumna%1").arg(QChar(u'A' + d));
        file.Save();
        QVERIFY(QFile::exists(path));
        m_documents << path;
        m_titles << file.Title;
    }
}

void TestCliPrint::sheet_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("portrait");
    QTest::newRow("three charts, portrait") << 3 << true;
    QTest::newRow("four charts, landscape") << 4 << false;
}

TestCliPrint::TResult TestCliPrint::PrintSheet(const QString &pdf, int count, bool portrait)
{
    QStringList args { pdf };
    args << m_documents.mid(0, count);
    if (!portrait)
        args << QStringLiteral("--landscape");
    return Run(args);
}

void TestCliPrint::sheet()
{
    QFETCH(int, count);
    QFETCH(bool, portrait);
    const QString pdf = m_dir.filePath(QStringLiteral("sheet%1.pdf").arg(count));
    const TResult r = PrintSheet(pdf, count, portrait);
    QVERIFY2(r.Status == 0, r.Err.constData());
    QVERIFY(r.Err.isEmpty());

    const QImage sheet = Rasterise(pdf, SheetDpi);
    const QImage colour = Rasterise(pdf, RasterDpi);
    QVERIFY(!sheet.isNull() && !colour.isNull());
    QSize paper = QPageSize(QPageSize::A4).sizePixels(SheetDpi);
    if (!portrait)
        paper.transpose();
    QVERIFY(std::abs(sheet.width() - paper.width()) <= 2);
    QVERIFY(std::abs(sheet.height() - paper.height()) <= 2);

    TPrintLayout layout;
    layout.Portrait = portrait;
    const QImage canvas = SheetCanvas();
    const double scale = double(RasterDpi) / SheetDpi;
    for (int i = 1; i <= count; ++i) {
        const QRect cell = layout.LayoutCell(&canvas, i, false, QRect(QPoint(0, 0), paper), count);
        const QRect frame(cell.topLeft(), cell.size() - QSize(1, 1));
        const QString where = QStringLiteral("cell %1").arg(i);
        QVERIFY2(DarkAlong(sheet, frame.topLeft(), frame.bottomLeft()) > 0.95, qPrintable(where));
        QVERIFY2(DarkAlong(sheet, frame.topRight(), frame.bottomRight()) > 0.95, qPrintable(where));
        QVERIFY2(DarkAlong(sheet, frame.topLeft(), frame.topRight()) > 0.95, qPrintable(where));
        QVERIFY2(DarkAlong(sheet, frame.bottomLeft(), frame.bottomRight()) > 0.95,
                 qPrintable(where));
        // Just outside the frame is the margin or the gap to the next cell: blank paper.
        const QPoint out(8, 0);
        QVERIFY2(DarkAlong(sheet, frame.topLeft() - out, frame.bottomLeft() - out) == 0,
                 qPrintable(where));

        // Inside: white paper, a black grid (the screen's grey grid lines turn black), the
        // series in its own colour and no other colour.
        int white = 0, dark = 0, grey = 0, own = 0, other = 0;
        const QRect inside(
            QPoint(qRound(cell.left() * scale) + 3, qRound(cell.top() * scale) + 3),
            QPoint(qRound(cell.right() * scale) - 3, qRound(cell.bottom() * scale) - 3));
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const QRgb c = colour.pixel(x, y);
                if (c == qRgb(255, 255, 255))
                    ++white;
                else if (Dark(c) && Neutral(c))
                    ++dark;
                else if (Neutral(c))
                    ++grey;
                else if (c == SeriesRgb[i - 1])
                    ++own;
                else
                    ++other;
            }
        const int total = inside.width() * inside.height();
        QVERIFY2(white > total * 0.7, qPrintable(where));
        QVERIFY2(dark > total * 0.01, qPrintable(where));
        QVERIFY2(grey < total * 0.001,
                 qPrintable(QStringLiteral("%1: %2 grey").arg(where).arg(grey)));
        QVERIFY2(own > 100, qPrintable(where));
        QVERIFY2(other < total * 0.001,
                 qPrintable(QStringLiteral("%1: %2 other").arg(where).arg(other)));
    }

    QProcess text;
    text.start(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") });
    QVERIFY(text.waitForFinished(60000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    for (int i = 0; i < count; ++i)
        QVERIFY2(words.contains(m_titles.at(i)), qPrintable(m_titles.at(i)));
    if (count < 4)
        QVERIFY(!words.contains(m_titles.at(3)));
}

void TestCliPrint::marginsAreWholeMillimetres()
{
    // 12.7 mm is printed as 12 mm: the frame's left edge at 12 mm from the paper edge, not
    // 12.7 mm (17 pixels of the sheet further right).
    const QString pdf = m_dir.filePath(QStringLiteral("margins.pdf"));
    const TResult r = Run(
        { pdf, m_documents.first(), QStringLiteral("--margins"), QStringLiteral("12.7,5,5,5") });
    QVERIFY2(r.Status == 0, r.Err.constData());
    const QImage image = Rasterise(pdf, SheetDpi);
    QVERIFY(!image.isNull());
    const int at12 = qRound(12 * SheetDpi / 25.4); // 12.7 mm would be 300
    const QPoint top(at12, image.height() / 3), bottom(at12, 2 * image.height() / 3);
    QVERIFY(DarkAlong(image, top, bottom) > 0.95);
    QCOMPARE(DarkAlong(image, top + QPoint(8, 0), bottom + QPoint(8, 0)), 0.0);
}

void TestCliPrint::framesAtViewerResolutions_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<int>("dpi");
    QTest::newRow("three charts, portrait, 150 dpi") << 3 << true << 150;
    QTest::newRow("four charts, landscape, 150 dpi") << 4 << false << 150;
    QTest::newRow("four charts, landscape, 100 dpi") << 4 << false << 100;
    QTest::newRow("two charts, portrait, 300 dpi") << 2 << true << 300;
}

void TestCliPrint::framesAtViewerResolutions()
{
    // A PDF viewer shows the sheet at its own zoom, anti-aliased: every side of every frame
    // must still be a visible line there, not only at the sheet's 600 dpi.
    QFETCH(int, count);
    QFETCH(bool, portrait);
    QFETCH(int, dpi);
    const QString pdf = m_dir.filePath(QStringLiteral("viewer%1.pdf").arg(count));
    const TResult r = PrintSheet(pdf, count, portrait);
    QVERIFY2(r.Status == 0, r.Err.constData());

    const QString stem = pdf + QStringLiteral(".viewer");
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            { QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
              QStringLiteral("-singlefile"), pdf, stem });
    QVERIFY(p.waitForFinished(60000) && p.exitCode() == 0);
    const QImage sheet(stem + QStringLiteral(".pgm"));
    QVERIFY(!sheet.isNull());

    TPrintLayout layout;
    layout.Portrait = portrait;
    QSize paper = QPageSize(QPageSize::A4).sizePixels(SheetDpi);
    if (!portrait)
        paper.transpose();
    const QImage canvas = SheetCanvas();
    const auto at = [dpi](QPoint sheetPixel) {
        return sheetPixel * dpi / SheetDpi;
    };
    for (int i = 1; i <= count; ++i) {
        const QRect cell = layout.LayoutCell(&canvas, i, false, QRect(QPoint(0, 0), paper), count);
        const QPoint tl = at(cell.topLeft()), tr = at(cell.topRight());
        const QPoint bl = at(cell.bottomLeft()), br = at(cell.bottomRight());
        const struct
        {
            const char *Name;
            QPoint From, To;
        } sides[]
            = { { "left", tl, bl }, { "right", tr, br }, { "top", tl, tr }, { "bottom", bl, br } };
        for (const auto &side : sides) {
            const double seen = VisibleAlong(sheet, side.From, side.To);
            QVERIFY2(seen > 0.95,
                     qPrintable(QStringLiteral("cell %1, %2 side: %3 of it visible")
                                    .arg(i)
                                    .arg(QLatin1String(side.Name))
                                    .arg(seen)));
        }
    }
}

void TestCliPrint::badInput_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("five charts") << QStringList { "1", "2", "3", "4", "1" } << QStringList {};
    QTest::newRow("missing file") << QStringList { "1", "missing.OvK" } << QStringList {};
    QTest::newRow("not a chart") << QStringList { "1", "notachart.OvK" } << QStringList {};
    QTest::newRow("no chart") << QStringList {} << QStringList {};
    QTest::newRow("bad margins") << QStringList { "1" } << QStringList { "--margins", "1,2,3" };
    QTest::newRow("huge margins") << QStringList { "1" }
                                  << QStringList { "--margins", "150,10,150,10" };
    QTest::newRow("bad paper") << QStringList { "1" } << QStringList { "--paper", "A3" };
    QTest::newRow("unknown option") << QStringList { "1" } << QStringList { "--colour" };
    QTest::newRow("margin not a number")
        << QStringList { "1" } << QStringList { "--margins", "nan,0,0,0" };
    QTest::newRow("infinite margin")
        << QStringList { "1" } << QStringList { "--margins", "0,0,-inf,0" };
}

void TestCliPrint::badInput()
{
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, options);
    QFile junk(m_dir.filePath(QStringLiteral("notachart.OvK")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(64, 'x'));
    junk.close();

    const QString pdf = m_dir.filePath(QStringLiteral("bad.pdf"));
    QStringList args { pdf };
    for (const QString &input : inputs) {
        bool number = false;
        const int n = input.toInt(&number);
        args << (number ? m_documents.at(n - 1) : m_dir.filePath(input));
    }
    const TResult r = Run(args + options);
    QCOMPARE(r.Status, 1);
    QVERIFY(!r.Err.isEmpty());
    QVERIFY2(!r.Err.contains('\n'), r.Err.constData());
    QVERIFY2(r.Err.startsWith("orvi-cli print: "), r.Err.constData());
    QVERIFY(!QFile::exists(pdf));
}

QTEST_GUILESS_MAIN(TestCliPrint)
#include "tst_CliPrint.moc"
