// Chart export: format choice, the EMF and WMF files as their readers see them (record
// walk, and LibreOffice's rendering when it is installed), SVG/PDF/PNG, failures.
#include "chart/ChartExporter.h"
#include "chart/PolarGraph.h"
#include "chart/WmfWriter.h"
#include "helpers/PixelProbe.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <optional>

using Format = TChartExporter::Format;
Q_DECLARE_METATYPE(std::optional<TChartExporter::Format>)

class TestChartExporter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void formatFromFileName_data();
    void formatFromFileName();
    void dialogRules_data();
    void dialogRules();
    void emfRecordsAreConsistent();
    void wmfRecordsAreConsistent();
    void wmfTextAdvancesPerByte_data();
    void wmfTextAdvancesPerByte();
    void exportLeavesChartAsItWas();
    void failedExportLeavesNoFile();
    void pngIsWhiteWithCurve();
    void svgAndPdf();
    void libreOfficeReadsMetafile_data();
    void libreOfficeReadsMetafile();

private:
    QTemporaryDir m_dir;
};

namespace {

const QString PolishTitle = QStringLiteral("Żółty głośnik – próba");
constexpr quint32 Red = 0x0000FF;
constexpr quint32 Blue = 0xFF0000;

// The document used by the picture checks: document defaults, a red circle at -5 dB and a
// blue one at -25 dB.
void FillDocument(TPolarGraph &g)
{
    g.ApplyDocumentDefaults();
    g.SetTitle(PolishTitle);
    TSeries *red = g.GetSeries(0);
    red->Name = QStringLiteral("Pomiar 1 – 500 Hz");
    red->SetColor(Red);
    TSeries *blue = g.GetSeries(1);
    blue->Name = QStringLiteral("Pomiar 2 – żółć");
    blue->SetColor(Blue);
    for (int a = 0; a <= 360; ++a) {
        red->Add(a, -5);
        blue->Add(a, -25);
    }
}

quint32 U32(const QByteArray &d, qsizetype at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

quint16 U16(const QByteArray &d, qsizetype at)
{
    return qFromLittleEndian<quint16>(d.constData() + at);
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool IsDark(QRgb c)
{
    return qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110;
}

bool IsRed(QRgb c)
{
    return qRed(c) > 150 && qGreen(c) < 110 && qBlue(c) < 110;
}

bool IsBlue(QRgb c)
{
    return qBlue(c) > 150 && qRed(c) < 110 && qGreen(c) < 110;
}

} // namespace

void TestChartExporter::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestChartExporter::formatFromFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<Format>>("format");
    QTest::newRow("emf") << "a/plot.emf" << std::optional(Format::Emf);
    QTest::newRow("upper case") << "PLOT.WMF" << std::optional(Format::Wmf);
    QTest::newRow("svg") << "x.svg" << std::optional(Format::Svg);
    QTest::newRow("pdf") << "x.Pdf" << std::optional(Format::Pdf);
    QTest::newRow("png") << "x.png" << std::optional(Format::Png);
    QTest::newRow("double extension") << "plot.emf.txt" << std::optional<Format>();
    QTest::newRow("none") << "plot" << std::optional<Format>();
}

void TestChartExporter::formatFromFileName()
{
    QFETCH(QString, name);
    QFETCH(std::optional<Format>, format);
    QCOMPARE(TChartExporter::FormatFromFileName(name), format);
}

void TestChartExporter::dialogRules_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::newRow("emf filter") << "plot" << 0 << "plot.emf";
    QTest::newRow("wmf filter replaces emf") << "plot.emf" << 1 << "plot.wmf";
    QTest::newRow("emf filter replaces wmf") << "/home/a/plot.wmf" << 0 << "/home/a/plot.emf";
    QTest::newRow("last extension only") << "a.b.c" << 1 << "a.b.wmf";
    QTest::newRow("dot in folder") << "/x.y/plot" << 0 << "/x.y/plot.emf";
    QTest::newRow("svg") << "plot.emf" << 2 << "plot.svg";
    QTest::newRow("pdf") << "plot" << 3 << "plot.pdf";
    QTest::newRow("png") << "plot.PNG" << 4 << "plot.png";
}

void TestChartExporter::dialogRules()
{
    QFETCH(QString, typed);
    QFETCH(int, filter);
    QFETCH(QString, written);
    const auto format = TChartExporter::FormatOfFilter(filter);
    QVERIFY(format);
    QCOMPARE(TChartExporter::ApplyExtension(typed, *format), written);
    QCOMPARE(TChartExporter::DialogFilters().size(), 5);
    QVERIFY(TChartExporter::DialogFilters().at(filter).contains(written.section('.', -1)));
    QVERIFY(!TChartExporter::FormatOfFilter(5));
    QCOMPARE(TChartExporter::SuggestedFileName(QStringLiteral("/dane/Głośnik 1.OvK")),
             QStringLiteral("Głośnik 1"));
}

void TestChartExporter::emfRecordsAreConsistent()
{
    TPolarGraph g;
    FillDocument(g);
    const QString path = m_dir.filePath(QStringLiteral("walk.emf"));
    QString error;
    QVERIFY2(g.ExportMetafile(path, true, &error), qPrintable(error));
    const QByteArray d = ReadAll(path);
    QVERIFY(d.size() > 108);
    QCOMPARE(U32(d, 0), 1u); // EMR_HEADER
    QCOMPARE(U32(d, 40), 0x464D4520u); // " EMF"
    QCOMPARE(U32(d, 48), quint32(d.size())); // Bytes
    QCOMPARE(qint32(U32(d, 16)), 799); // Bounds: 800 × 600 units
    QCOMPARE(qint32(U32(d, 20)), 599);
    qsizetype at = 0;
    quint32 records = 0, last = 0, dotted = 0, fonts = 0, texts = 0;
    while (at < d.size()) {
        const quint32 type = U32(d, at);
        const quint32 size = U32(d, at + 4);
        QVERIFY2(size >= 8 && size % 4 == 0 && at + size <= d.size(),
                 qPrintable(QStringLiteral("record %1 at %2 size %3").arg(type).arg(at).arg(size)));
        if (type == 38 && U32(d, at + 12) == 2) // EMR_CREATEPEN, PS_DOT
            ++dotted;
        if (type == 82) { // EMR_EXTCREATEFONTINDIRECTW: charset and face
            ++fonts;
            QCOMPARE(quint8(d.at(at + 12 + 23)), quint8(238));
            QCOMPARE(QString::fromUtf16(
                         reinterpret_cast<const char16_t *>(d.constData() + at + 12 + 28), 5),
                     QStringLiteral("Arial"));
        }
        if (type == 84)
            ++texts;
        last = type;
        ++records;
        at += size;
    }
    QCOMPARE(records, U32(d, 52));
    QCOMPARE(last, 14u); // EMR_EOF
    QVERIFY(dotted > 0);
    QVERIFY(fonts >= 2);
    QVERIFY(texts >= 12 + 5 + 3); // angle labels, level labels, title and entries
    // Polish letters as UTF-16.
    const QByteArray utf16(reinterpret_cast<const char *>(PolishTitle.utf16()),
                           PolishTitle.size() * 2);
    QVERIFY(d.contains(utf16));
}

void TestChartExporter::wmfRecordsAreConsistent()
{
    TPolarGraph g;
    FillDocument(g);
    const QString path = m_dir.filePath(QStringLiteral("walk.wmf"));
    QString error;
    QVERIFY2(g.ExportMetafile(path, false, &error), qPrintable(error));
    const QByteArray d = ReadAll(path);
    QVERIFY(d.size() > 40);
    QCOMPARE(U32(d, 0), 0x9AC6CDD7u);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= U16(d, 2 * i);
    QCOMPARE(U16(d, 20), checksum);
    QCOMPARE(qint16(U16(d, 10)), qint16(800)); // bounding box right, bottom
    QCOMPARE(qint16(U16(d, 12)), qint16(600));
    const qsizetype header = 22;
    QCOMPARE(U16(d, header + 2), quint16(9));
    QCOMPARE(U32(d, header + 6) * 2, quint32(d.size() - header));
    qsizetype at = header + 18;
    quint32 maxRecord = 0, dotted = 0;
    quint16 function = 0xFFFF;
    while (at < d.size()) {
        const quint32 words = U32(d, at);
        function = U16(d, at + 4);
        QVERIFY(words >= 3 && at + 2 * qsizetype(words) <= d.size());
        if (function == 0x02FA && U16(d, at + 6) == 2)
            ++dotted;
        if (function == 0x02FB)
            QCOMPARE(quint8(d.at(at + 6 + 13)), quint8(238)); // Eastern European charset
        maxRecord = std::max(maxRecord, words);
        at += 2 * qsizetype(words);
    }
    QCOMPARE(at, d.size());
    QCOMPARE(function, quint16(0)); // META_EOF last
    QCOMPARE(U32(d, header + 12), maxRecord);
    QVERIFY(dotted > 0);
    QVERIFY(d.contains(TWmfWriter::EncodeCp1250(PolishTitle)));
    QCOMPARE(TWmfWriter::EncodeCp1250(QStringLiteral("żółć°–")),
             QByteArray("\xBF\xF3\xB3\xE6\xB0\x96"));
    QCOMPARE(TWmfWriter::EncodeCp1250(QStringLiteral("a€b😀")),
             QByteArray("a\x80"
                        "b?"));
}

void TestChartExporter::wmfTextAdvancesPerByte_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("advances"); // one per UTF-16 unit, as the engine gives them
    QTest::addColumn<QList<int>>("written"); // one per byte of the record

    QTest::newRow("plain") << QStringLiteral("ab") << QList<int> { 5, 6 } << QList<int> { 5, 6 };
    QTest::newRow("pair is one byte")
        << QStringLiteral("a😀b") << QList<int> { 5, 3, 4, 6 } << QList<int> { 5, 7, 6 };
    // A lone high surrogate is one byte of its own and must not swallow the next character.
    QTest::newRow("lone high surrogate") << (QString(QChar(0xD800)) + QStringLiteral("ab"))
                                         << QList<int> { 5, 6, 7 } << QList<int> { 5, 6, 7 };
    QTest::newRow("two lone high surrogates")
        << (QString(QChar(0xD800)) + u'a' + QChar(0xD801) + u'b') << QList<int> { 1, 2, 3, 4 }
        << QList<int> { 1, 2, 3, 4 };
}

void TestChartExporter::wmfTextAdvancesPerByte()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, advances);
    QFETCH(QList<int>, written);

    TWmfWriter writer(QSize(800, 600));
    writer.TextOut(QPoint(10, 20), text,
                   std::vector<int>(advances.constBegin(), advances.constEnd()));
    const QByteArray d = writer.Finish();
    qsizetype at = 22 + 18; // placeable header, then the metafile header
    bool found = false;
    while (at + 6 <= d.size()) {
        const quint32 words = U32(d, at);
        QVERIFY(words >= 3);
        if (U16(d, at + 4) == 0x0A32) { // META_EXTTEXTOUT
            found = true;
            const int count = qint16(U16(d, at + 10));
            QCOMPARE(count, int(written.size()));
            const qsizetype dx = at + 14 + ((count + 1) & ~1);
            QCOMPARE(qsizetype(words) * 2, dx - at + 2 * count);
            QList<int> got;
            for (int i = 0; i < count; ++i)
                got << qint16(U16(d, dx + 2 * i));
            QCOMPARE(got, written);
        }
        at += 2 * qsizetype(words);
    }
    QVERIFY(found);
}

void TestChartExporter::exportLeavesChartAsItWas()
{
    TPolarGraph g;
    FillDocument(g);
    QImage before(400, 300, QImage::Format_RGB32);
    before.fill(Qt::black);
    {
        QPainter p(&before);
        g.PaintCached(p, before.size(), 96, 96);
    }
    const TPolarPosition probe = g.PointToPolar(300, 100);
    QVERIFY(g.ExportMetafile(m_dir.filePath(QStringLiteral("state.wmf")), false));
    QVERIFY(g.ExportFile(m_dir.filePath(QStringLiteral("state.png")), QSize(640, 480)));
    QVERIFY(!g.MetafileMode());
    QCOMPARE(g.PointToPolar(300, 100).Level, probe.Level);
    g.Refresh();
    QImage after(400, 300, QImage::Format_RGB32);
    {
        QPainter p(&after);
        g.PaintCached(p, after.size(), 96, 96);
    }
    QCOMPARE(after, before); // the screen keeps its colours
}

void TestChartExporter::failedExportLeavesNoFile()
{
    TPolarGraph g;
    FillDocument(g);
    for (const QString &name :
         { QStringLiteral("missing/dir/x.emf"), QStringLiteral("missing/dir/x.wmf"),
           QStringLiteral("missing/dir/x.png") }) {
        const QString path = m_dir.filePath(name);
        QString error;
        QVERIFY(!g.ExportFile(path, QSize(800, 600), &error));
        QVERIFY(error.contains(QStringLiteral("x.")));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!g.MetafileMode());
    }
    QString error;
    QVERIFY(!g.ExportFile(m_dir.filePath(QStringLiteral("x.bmp")), QSize(800, 600), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!g.ExportFile(m_dir.filePath(QStringLiteral("y.png")), QSize(0, 600), &error));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("y.png"))));
}

void TestChartExporter::pngIsWhiteWithCurve()
{
    TPolarGraph g;
    FillDocument(g);
    const QString path = m_dir.filePath(QStringLiteral("chart.png"));
    QVERIFY(g.ExportFile(path, QSize(1000, 700)));
    QImage image(path);
    QCOMPARE(image.size(), QSize(1000, 700));
    QCOMPARE(image.pixel(1, 1), qRgb(255, 255, 255));
    // Center and Radius are those of the export render.
    const QPoint c = g.Center();
    QVERIFY(Near(image, At(c, g.Radius() * 35.0 / 50.0, 45), 1, IsRed));
    QVERIFY(Near(image, At(c, g.Radius() * 15.0 / 50.0, 135), 1, IsBlue));
    QVERIFY(!Near(image, At(c, g.Radius() * 25.0 / 50.0, 45), 1, IsRed));
}

void TestChartExporter::svgAndPdf()
{
    TPolarGraph g;
    FillDocument(g);
    const QString svg = m_dir.filePath(QStringLiteral("chart.svg"));
    const QString pdf = m_dir.filePath(QStringLiteral("chart.pdf"));
    QVERIFY(g.ExportFile(svg, QSize(800, 600)));
    QVERIFY(g.ExportFile(pdf, QSize(800, 600)));
    const QByteArray svgText = ReadAll(svg);
    QVERIFY(svgText.contains("<svg"));
    QVERIFY(svgText.contains(QStringLiteral("Pomiar 2 – żółć").toUtf8()));
    QVERIFY(ReadAll(pdf).startsWith("%PDF"));
}

void TestChartExporter::libreOfficeReadsMetafile_data()
{
    QTest::addColumn<bool>("enhanced");
    QTest::newRow("emf") << true;
    QTest::newRow("wmf") << false;
}

void TestChartExporter::libreOfficeReadsMetafile()
{
    QFETCH(bool, enhanced);
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");

    TPolarGraph g;
    FillDocument(g);
    const QString name = enhanced ? QStringLiteral("lo.emf") : QStringLiteral("lo.wmf");
    const QString path = m_dir.filePath(name);
    QVERIFY(g.ExportMetafile(path, enhanced));
    const QPoint c = g.Center();
    const int radius = g.Radius();

    const QString outDir
        = m_dir.filePath(enhanced ? QStringLiteral("lo-emf") : QStringLiteral("lo-wmf"));
    QDir().mkpath(outDir);
    QProcess lo;
    lo.start(soffice,
             { QStringLiteral("-env:UserInstallation=file://") + m_dir.filePath("lo-profile"),
               QStringLiteral("--headless"), QStringLiteral("--convert-to"),
               QStringLiteral("png:draw_png_Export:{\"PixelWidth\":{\"type\":\"long\",\"value\":"
                              "\"1588\"},\"PixelHeight\":{\"type\":\"long\",\"value\":\"2246\"}}"),
               QStringLiteral("--outdir"), outDir, path });
    QVERIFY(lo.waitForFinished(180000));
    const QImage image(outDir + QStringLiteral("/lo.png"));
    QVERIFY2(!image.isNull(), lo.readAllStandardError().constData());

    // Find the picture on the page: the disc's outline is its top, bottom and right edge.
    int top = -1, bottom = -1, right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsDark(image.pixel(x, y))) {
                if (top < 0)
                    top = y;
                bottom = y;
                right = std::max(right, x);
            }
    QVERIFY(top >= 0);
    // In chart units the disc spans 2·(Radius + LW) + 1 from Margin to the bottom margin.
    const int discTop = 8; // 2 mm at 96 per inch
    const int discOuter = c.y() - discTop; // Radius + LW
    const double scale = double(bottom - top) / (2 * discOuter);
    QVERIFY(scale > 0.5);
    const auto map = [&](QPointF p) {
        return QPointF(right - scale * (c.x() + discOuter - p.x()),
                       top + scale * (p.y() - (c.y() - discOuter)));
    };
    const int reach = qMax(2, qRound(scale * 2));
    // The disc outline at 225° (not used to place the picture).
    QVERIFY(Near(image, map(At(c, discOuter, 225)), reach, IsDark));
    // The curves at known places in their colours, and not elsewhere.
    QVERIFY(Near(image, map(At(c, radius * 35.0 / 50.0, 45)), reach, IsRed));
    QVERIFY(Near(image, map(At(c, radius * 15.0 / 50.0, 135)), reach, IsBlue));
    QVERIFY(!Near(image, map(At(c, radius * 25.0 / 50.0, 45)), reach, IsRed));
    // Text: the merged title at the legend's top-left; blank paper below the legend.
    bool ink = false;
    for (int x = 8; x < 120 && !ink; ++x)
        for (int y = 9; y < 20 && !ink; ++y)
            ink = IsDark(image.pixel(map(QPointF(x, y)).toPoint()));
    QVERIFY(ink);
    QVERIFY(!Near(image, map(QPointF(60, 450)), reach, IsDark));
}

QTEST_MAIN(TestChartExporter)
#include "tst_ChartExporter.moc"
