#include "analysis/DirectivityMap.h"
#include "analysis/DirectivityResult.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>

namespace {

constexpr double PistonRadius = 0.1; // m
constexpr double SpeedOfSound = 343.0; // m/s
constexpr double RearLimitDeg = 150.0; // beyond it the synthetic grid is "not measured"

// The far-field level of a rigid piston in a baffle, dB relative to 0°: 2 J1(x) / x.
double PistonDb(double hz, double angleDeg)
{
    const double x = 2 * std::numbers::pi * hz * PistonRadius
        * std::abs(std::sin(angleDeg * std::numbers::pi / 180)) / SpeedOfSound;
    const double ratio = x < 1e-9 ? 1.0 : 2 * std::cyl_bessel_j(1.0, x) / x;
    return 20 * std::log10(std::max(std::abs(ratio), 1e-6));
}

TDirectivityGrid PistonGrid()
{
    TDirectivityGrid grid;
    for (int a = -180; a <= 180; ++a)
        grid.AnglesDeg.push_back(a);
    for (double hz = 20; hz <= 20000 * 1.0001; hz *= std::exp2(1.0 / 24))
        grid.FrequenciesHz.push_back(hz);
    for (double hz : grid.FrequenciesHz)
        for (double a : grid.AnglesDeg)
            grid.LevelsDb.push_back(std::abs(a) > RearLimitDeg
                                        ? std::numeric_limits<float>::quiet_NaN()
                                        : float(PistonDb(hz, a)));
    return grid;
}

// The angle (0 .. 90°) where the piston's level first falls to levelDb at hz.
double AnalyticEdgeDeg(double hz, double levelDb)
{
    double low = 0, high = 90;
    for (int i = 0; i < 60; ++i) {
        const double mid = (low + high) / 2;
        (PistonDb(hz, mid) > levelDb ? low : high) = mid;
    }
    return low;
}

QImage RenderMap(const TDirectivityMap &map, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red); // Render must cover it all
    QPainter painter(&image);
    map.Render(painter, image.rect());
    return image;
}

bool Near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// A pixel of the white line within radius of p.
bool WhiteNear(const QImage &image, QPointF p, int radius)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QColor c = image.pixelColor(int(p.x()) + dx, int(p.y()) + dy);
            if (c.red() > 215 && c.green() > 215 && c.blue() > 215)
                return true;
        }
    return false;
}

} // namespace

class TestDirectivityMap : public QObject
{
    Q_OBJECT

private slots:
    void colourScaleIsMonotoneAndClamped();
    void pixelsShowTheLevel_data();
    void pixelsShowTheLevel();
    void beamwidthFollowsThePiston_data();
    void beamwidthFollowsThePiston();
    void contourIsDrawnAtTheEdge();
    void exportsReadableFiles_data();
    void exportsReadableFiles();
    void refusesBadTargets_data();
    void refusesBadTargets();
    void gridOfAFullTurn_data();
    void gridOfAFullTurn();
};

void TestDirectivityMap::colourScaleIsMonotoneAndClamped()
{
    // Louder must look brighter, so the map reads in grey print too.
    double lastLuma = -1;
    for (double db = TDirectivityMap::FloorDb; db <= TDirectivityMap::TopDb; db += 1) {
        const QColor c = TDirectivityMap::ColorOf(db);
        const double luma = 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF();
        QVERIFY2(luma > lastLuma, qPrintable(QString::number(db)));
        lastLuma = luma;
        QVERIFY(c != TDirectivityMap::NotMeasuredColor());
    }
    QCOMPARE(TDirectivityMap::ColorOf(-45), TDirectivityMap::ColorOf(TDirectivityMap::FloorDb));
    QCOMPARE(TDirectivityMap::ColorOf(4), TDirectivityMap::ColorOf(TDirectivityMap::TopDb));
    QCOMPARE(TDirectivityMap::ColorOf(std::nan("")), TDirectivityMap::NotMeasuredColor());
}

void TestDirectivityMap::pixelsShowTheLevel_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("hz");
    QTest::newRow("on axis") << 0.0 << 3000.0;
    QTest::newRow("side, low") << 90.0 << 700.0;
    QTest::newRow("side, mid") << 90.0 << 1500.0;
    QTest::newRow("left side") << -90.0 << 1500.0;
    QTest::newRow("rear") << 120.0 << 300.0;
    QTest::newRow("not measured") << 170.0 << 1000.0;
    QTest::newRow("not measured, left") << -165.0 << 5000.0;
}

void TestDirectivityMap::pixelsShowTheLevel()
{
    QFETCH(double, angle);
    QFETCH(double, hz);
    TDirectivityMap map;
    map.SetGrid(PistonGrid());
    map.SetTitle(QStringLiteral("Tłok 10 cm"));
    const QSize size(1200, 800);
    const QImage image = RenderMap(map, size);
    const QRectF plot = map.PlotRect(QRect(QPoint(0, 0), size));
    QVERIFY(plot.width() > size.width() / 2 && plot.height() > size.height() / 2);
    const QPointF p = map.MapPoint(plot, angle, hz);
    QVERIFY(plot.contains(p));

    const QColor expected = std::abs(angle) > RearLimitDeg
        ? TDirectivityMap::NotMeasuredColor()
        : TDirectivityMap::ColorOf(PistonDb(hz, angle));
    const QColor seen = image.pixelColor(p.toPoint());
    QVERIFY2(Near(seen, expected, 10),
             qPrintable(QStringLiteral("%1 vs %2").arg(seen.name(), expected.name())));
    QVERIFY(image.pixelColor(0, 0) == QColor(Qt::white));
}

void TestDirectivityMap::beamwidthFollowsThePiston_data()
{
    QTest::addColumn<double>("hz");
    QTest::newRow("2 kHz") << 2000.0;
    QTest::newRow("5 kHz") << 5000.0;
    QTest::newRow("12 kHz") << 12000.0;
}

void TestDirectivityMap::beamwidthFollowsThePiston()
{
    QFETCH(double, hz);
    const TDirectivityGrid grid = PistonGrid();
    const auto edges = TDirectivityMap::BeamwidthEdges(grid);
    QCOMPARE(edges.size(), grid.FrequenciesHz.size());
    size_t row = 0;
    for (size_t r = 0; r < grid.FrequenciesHz.size(); ++r)
        if (std::abs(std::log(grid.FrequenciesHz[r] / hz))
            < std::abs(std::log(grid.FrequenciesHz[row] / hz)))
            row = r;
    const double expected = AnalyticEdgeDeg(grid.FrequenciesHz[row], -6.0);
    QVERIFY(std::abs(edges[row].RightDeg - expected) < 0.25);
    QVERIFY(std::abs(edges[row].LeftDeg + expected) < 0.25);
    // Below about 1.2 kHz the piston never falls to -6 dB before the unmeasured rear.
    QVERIFY(std::isnan(edges[0].LeftDeg) && std::isnan(edges[0].RightDeg));
}

void TestDirectivityMap::contourIsDrawnAtTheEdge()
{
    TDirectivityMap map;
    map.SetGrid(PistonGrid());
    const QSize size(1200, 800);
    const QImage image = RenderMap(map, size);
    const QRectF plot = map.PlotRect(QRect(QPoint(0, 0), size));
    const double hz = 10000;
    const double edge = AnalyticEdgeDeg(hz, -6.0);
    QVERIFY(WhiteNear(image, map.MapPoint(plot, edge, hz), 3));
    QVERIFY(WhiteNear(image, map.MapPoint(plot, -edge, hz), 3));
    // Nowhere else on that frequency: not on axis, not at the side lobes.
    for (const double angle : { 0.0, 2 * edge, 30.0, 60.0, -45.0 })
        QVERIFY2(!WhiteNear(image, map.MapPoint(plot, angle, hz), 3),
                 qPrintable(QString::number(angle)));
}

void TestDirectivityMap::exportsReadableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("png") << "map.png";
    QTest::newRow("PNG upper case") << "MAP.PNG";
    QTest::newRow("svg") << "map.svg";
    QTest::newRow("pdf") << "map.Pdf";
}

void TestDirectivityMap::exportsReadableFiles()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    TDirectivityMap map;
    map.SetGrid(PistonGrid());
    map.SetTitle(QStringLiteral("Tłok"));
    QString error;
    QVERIFY2(TDirectivityMap::Export(map, path, QSize(640, 400), &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString suffix = name.section(QLatin1Char('.'), -1).toLower();
    if (suffix == QLatin1String("png")) {
        const QImage image = QImage::fromData(bytes, "PNG");
        QCOMPARE(image.size(), QSize(640, 400));
    } else if (suffix == QLatin1String("svg")) {
        QSvgRenderer renderer(bytes);
        QVERIFY(renderer.isValid());
        QVERIFY(bytes.contains("<image")); // the map itself, not just the axes
    } else {
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.size() > 2000);
    }
}

void TestDirectivityMap::refusesBadTargets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown extension") << "map.bmp"
                                       << "Nieznany format pliku";
    QTest::newRow("no extension") << "map"
                                  << "Nieznany format pliku";
    QTest::newRow("folder is a file") << "plain.txt/map.png"
                                      << "Nie można zapisać pliku";
}

void TestDirectivityMap::refusesBadTargets()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QTemporaryDir dir;
    {
        QFile plain(dir.filePath(QStringLiteral("plain.txt")));
        QVERIFY(plain.open(QIODevice::WriteOnly)); // a file standing where a folder should be
    }
    const QString path = dir.filePath(name);
    TDirectivityMap map;
    map.SetGrid(PistonGrid());
    QString error;
    QVERIFY(!TDirectivityMap::Export(map, path, QSize(320, 200), &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestDirectivityMap)
// A full turn measured every degree, each frame a plain impulse whose level falls by 0.1 dB
// per degree off 0°: the grid has a column for every step from -180° to +180° (both ends,
// the same direction, measured), each at its frame's level at every frequency.
void TestDirectivityMap::gridOfAFullTurn_data()
{
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("columns");
    QTest::addColumn<double>("last");
    QTest::newRow("1°") << 1.0 << 361 << 180.0;
    QTest::newRow("10°") << 10.0 << 37 << 180.0;
    QTest::newRow("7°, ending short of 180°") << 7.0 << 52 << 177.0;
}

void TestDirectivityMap::gridOfAFullTurn()
{
    QFETCH(double, step);
    QFETCH(int, columns);
    QFETCH(double, last);
    TDirectivityResult result;
    result.SampleRate = 44100;
    result.GateOpenMs = -1.0;
    result.GateCloseMs = 49.0; // reliable from 20 Hz
    result.GateLength = 16;
    const auto levelDb = [](double angle) {
        return -0.1 * std::abs(angle);
    };
    for (int a = -180; a <= 180; ++a) {
        result.FrameAnglesDeg.push_back(a);
        std::vector<float> taps(size_t(result.GateLength), 0.0f);
        taps[0] = float(std::pow(10.0, levelDb(a) / 20.0));
        result.Responses.insert(result.Responses.end(), taps.begin(), taps.end());
    }
    const TDirectivityGrid grid = result.Grid(step, 3);
    QCOMPARE(int(grid.AnglesDeg.size()), columns);
    QCOMPARE(grid.AnglesDeg.front(), -180.0);
    QCOMPARE(grid.AnglesDeg.back(), last);
    QVERIFY(!grid.FrequenciesHz.empty());
    for (size_t r = 0; r < grid.FrequenciesHz.size(); ++r)
        for (size_t c = 0; c < grid.AnglesDeg.size(); ++c)
            QVERIFY2(std::abs(grid.At(r, c) - levelDb(grid.AnglesDeg[c])) < 1e-3,
                     qPrintable(QStringLiteral("%1 Hz, %2°: %3 dB")
                                    .arg(grid.FrequenciesHz[r])
                                    .arg(grid.AnglesDeg[c])
                                    .arg(grid.At(r, c))));
}

#include "tst_directivitymap.moc"
