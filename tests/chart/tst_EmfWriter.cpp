// The EMF writer's brushes as a reader plays them back: unfilled shapes under the stock
// hollow brush, filled ones under their created solid brushes, a consistent object table;
// and Inkscape's rendering of an exported chart where Inkscape is installed.
#include "helpers/PixelProbe.h"
#include "helpers/RecordingDevice.h"

#include "chart/EmfWriter.h"
#include "chart/PolarGraph.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <map>

class TestEmfWriter : public QObject
{
    Q_OBJECT

private slots:
    void brushesAsPlayedBack();
    void chartShapesUseStockHollowBrush();
    void inkscapeShowsGridInsideDisc();
};

namespace {

constexpr quint32 StockBit = 0x80000000;
constexpr quint32 StockNullBrush = 0x80000005;
constexpr quint32 BS_NULL = 1;

// A shape record and the brush selected when a reader draws it.
struct TPlayedShape
{
    quint32 Type = 0;
    bool StockHollow = false; // NULL_BRUSH selected
    bool CreatedSolid = false; // a created BS_SOLID brush selected
    quint32 Color = 0; // of the created brush
};

// What a playback device keeps of one created object.
struct TTableEntry
{
    bool Brush = false;
    quint32 Style = 0;
    quint32 Color = 0;
};

quint32 U32(const QByteArray &d, qsizetype at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

bool IsShape(quint32 type)
{
    return type == 3 || type == 42 || type == 43 || type == 86; // polygon, ellipse, rectangle
}

// Plays the records back as a device would, failing on any use of the object table a
// device would refuse (an index out of range or taken, a missing object, deleting the
// selected brush) and on any created hollow brush.
std::vector<TPlayedShape> PlayBack(const QByteArray &d)
{
    std::vector<TPlayedShape> shapes;
    const quint32 handles = qFromLittleEndian<quint16>(d.constData() + 56);
    std::map<quint32, TTableEntry> table;
    quint32 selected = 0; // brush: stock index or table index; 0 = none yet
    for (qsizetype at = 0; at + 8 <= d.size();) {
        const quint32 type = U32(d, at);
        const quint32 size = U32(d, at + 4);
        if (size < 8 || at + size > d.size()) {
            QTest::qFail("record overruns the file", __FILE__, __LINE__);
            return {};
        }
        const quint32 index = size >= 12 ? U32(d, at + 8) : 0;
        if (type == 38 || type == 39 || type == 82) { // pen, brush, font created
            if (index == 0 || index >= handles || table.count(index)) {
                QTest::qFail("object created at a bad or taken index", __FILE__, __LINE__);
                return {};
            }
            TTableEntry entry;
            entry.Brush = type == 39;
            if (entry.Brush) {
                entry.Style = U32(d, at + 12);
                entry.Color = U32(d, at + 16);
                if (entry.Style == BS_NULL) {
                    QTest::qFail("a created BS_NULL brush", __FILE__, __LINE__);
                    return {};
                }
            }
            table[index] = entry;
        } else if (type == 37) { // select
            if (index & StockBit) {
                if (index <= StockNullBrush)
                    selected = index;
            } else if (!table.count(index)) {
                QTest::qFail("selects a missing object", __FILE__, __LINE__);
                return {};
            } else if (table[index].Brush) {
                selected = index;
            }
        } else if (type == 40) { // delete
            if (!table.count(index) || index == selected) {
                QTest::qFail("deletes a missing or the selected object", __FILE__, __LINE__);
                return {};
            }
            table.erase(index);
        } else if (IsShape(type)) {
            TPlayedShape shape;
            shape.Type = type;
            shape.StockHollow = selected == StockNullBrush;
            if (table.count(selected) && table[selected].Style == 0) {
                shape.CreatedSolid = true;
                shape.Color = table[selected].Color;
            }
            shapes.push_back(shape);
        }
        at += size;
    }
    return shapes;
}

quint32 EmfTypeOf(TRecordedOp::Kind kind)
{
    switch (kind) {
    case TRecordedOp::Ellipse:
        return 42;
    case TRecordedOp::Rectangle:
        return 43;
    default:
        return 86; // polygons of the chart fit 16-bit points
    }
}

// The chart of the picture checks: document defaults and one curve at -5 dB.
void FillDocument(TPolarGraph &g)
{
    g.ApplyDocumentDefaults();
    TSeries *red = g.GetSeries(0);
    red->SetColor(0x0000FF);
    for (int a = 0; a <= 360; ++a)
        red->Add(a, -5);
}

bool IsInk(QRgb c)
{
    return qAlpha(c) > 128 && qRed(c) < 200 && qGreen(c) < 200 && qBlue(c) < 200;
}

bool InkNear(const QImage &image, QPointF at, int reach)
{
    return Near(image, at, reach, IsInk);
}

} // namespace

void TestEmfWriter::brushesAsPlayedBack()
{
    constexpr quint32 Red = 0x0000FF, Blue = 0xFF0000;
    const TGdiBrush hollow { TGdiBrush::Null, 0 };
    const TGdiBrush red { TGdiBrush::Solid, Red };
    const TGdiBrush blue { TGdiBrush::Solid, Blue };
    const std::vector<TGdiBrush> brushes { red, hollow, hollow, blue, hollow, red, blue };
    TEmfWriter w(QSize(100, 100));
    const std::vector<QPoint> triangle { { 1, 1 }, { 50, 1 }, { 1, 50 } };
    for (size_t i = 0; i < brushes.size(); ++i) {
        TGdiPen pen;
        pen.Color = quint32(i); // pens change in between, taking their own slots
        w.SetPen(pen);
        w.SetBrush(brushes[i]);
        if (i % 2)
            w.Polygon(triangle);
        else
            w.Ellipse(QRect(10, 10, 30, 30));
    }
    const std::vector<TPlayedShape> shapes = PlayBack(w.Finish());
    QCOMPARE(shapes.size(), brushes.size());
    for (size_t i = 0; i < brushes.size(); ++i) {
        const bool filled = brushes[i].BrushStyle == TGdiBrush::Solid;
        QCOMPARE(shapes[i].StockHollow, !filled);
        QCOMPARE(shapes[i].CreatedSolid, filled);
        if (filled)
            QCOMPARE(shapes[i].Color, brushes[i].Color);
    }
}

void TestEmfWriter::chartShapesUseStockHollowBrush()
{
    TPolarGraph g;
    FillDocument(g);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.emf"));
    QVERIFY(g.ExportMetafile(path, true));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const std::vector<TPlayedShape> played = PlayBack(f.readAll());

    // The same chart drawn into a recorder says which shapes are filled.
    TRecordingDevice dev(QSize(800, 600));
    {
        QPainter p(&dev);
        g.Render(p, QRect(0, 0, 800, 600));
    }
    std::vector<const TRecordedOp *> drawn;
    for (const TRecordedOp &op : dev.Writer().Ops)
        if (op.Type == TRecordedOp::Ellipse || op.Type == TRecordedOp::Rectangle
            || op.Type == TRecordedOp::Polygon)
            drawn.push_back(&op);
    QCOMPARE(played.size(), drawn.size());
    int hollowEllipses = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
        QCOMPARE(played[i].Type, EmfTypeOf(drawn[i]->Type));
        const bool filled = drawn[i]->Brush.BrushStyle == TGdiBrush::Solid;
        QCOMPARE(played[i].StockHollow, !filled);
        QCOMPARE(played[i].CreatedSolid, filled);
        hollowEllipses += !filled && drawn[i]->Type == TRecordedOp::Ellipse;
    }
    // Grid circles every 2 dB over 50 dB, and the disc drawn filled.
    QVERIFY(hollowEllipses >= 25);
    QVERIFY(std::any_of(played.begin(), played.end(),
                        [](const TPlayedShape &s) { return s.Type == 42 && s.CreatedSolid; }));
}

void TestEmfWriter::inkscapeShowsGridInsideDisc()
{
    const QString inkscape = QStandardPaths::findExecutable(QStringLiteral("inkscape"));
    if (inkscape.isEmpty())
        QSKIP("Inkscape is not installed");
    TPolarGraph g;
    FillDocument(g);
    QTemporaryDir dir;
    const QString emf = dir.filePath(QStringLiteral("chart.emf"));
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    QVERIFY(g.ExportMetafile(emf, true));
    const QPoint c = g.Center();
    const int radius = g.Radius();

    QProcess ink;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path()); // a profile of its own
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    ink.setProcessEnvironment(env);
    ink.start(inkscape,
              { emf, QStringLiteral("--export-type=png"), QStringLiteral("--export-area-page"),
                QStringLiteral("--export-background=white"),
                QStringLiteral("--export-background-opacity=1"),
                QStringLiteral("--export-width=1600"),
                QStringLiteral("--export-filename=") + png });
    QVERIFY(ink.waitForFinished(180000));
    const QImage image(png);
    QVERIFY2(!image.isNull(), ink.readAllStandardError().constData());

    // The page is the 800 × 600 picture.
    const double scale = image.width() / 800.0;
    const auto map = [scale](QPointF p) {
        return p * scale;
    };
    const int reach = qMax(1, qRound(scale * 1.5));
    // Main rays between the curve and the centre, and a main circle between rays: the
    // grid inside the disc is not painted over by the circles drawn after it.
    QVERIFY(InkNear(image, map(At(c, radius * 0.5, 120)), reach));
    QVERIFY(InkNear(image, map(At(c, radius * 0.5, 240)), reach));
    QVERIFY(InkNear(image, map(At(c, radius * 0.4, 75)), reach));
    QVERIFY(InkNear(image, map(At(c, radius * 0.2, 195)), reach));
    // Blank disc between two dotted circles and two dotted rays.
    QVERIFY(!InkNear(image, map(At(c, radius * 0.5, 75)), reach));
}

QTEST_MAIN(TestEmfWriter)
#include "tst_EmfWriter.moc"
