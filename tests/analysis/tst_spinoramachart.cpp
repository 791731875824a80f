// The spin's picture checked by its pixels, and its exports read back by independent readers.

#include "analysis/DirectivityResult.h"
#include "analysis/SpinoramaChart.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

const QSize Size(1200, 800);
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Each main curve at its own constant level (On Axis 80 dB, then 6 dB lower each, DIs 3 and
// 9 dB), measured from lowestHz; the gap (Hz) leaves On Axis unmeasured there.
std::shared_ptr<TSpinorama> ConstantSpin(double lowestHz, double gapFromHz = 0, double gapToHz = 0)
{
    auto spin = std::make_shared<TSpinorama>();
    spin->FrequenciesHz = TDirectivityResult::LogFrequencies(20, 20000, 20);
    spin->LowestMeasuredHz = lowestHz;
    for (int c = 0; c < TSpinorama::CurveCount; ++c) {
        const double db = c == TSpinorama::EarlyReflectionsDi ? 3.0
            : c == TSpinorama::SoundPowerDi                   ? 9.0
                                                              : 80.0 - 6.0 * c;
        for (const double hz : spin->FrequenciesHz) {
            const bool gap = c == TSpinorama::OnAxis && hz >= gapFromHz && hz <= gapToHz;
            spin->CurvesDb[size_t(c)].push_back(hz < lowestHz || gap ? NaN : db);
        }
    }
    return spin;
}

QImage Render(const TSpinoramaChart &chart)
{
    QImage image(Size, QImage::Format_RGB32);
    image.fill(Qt::black); // Render must cover it all
    QPainter painter(&image);
    chart.Render(painter, image.rect());
    return image;
}

// A pixel of column x within 3 rows of y near the colour.
bool ColourNear(const QImage &image, double x, double y, QColor colour)
{
    for (int dy = -3; dy <= 3; ++dy) {
        const QColor c = image.pixelColor(int(x), int(std::lround(y)) + dy);
        if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                + std::abs(c.blue() - colour.blue())
            < 60)
            return true;
    }
    return false;
}

} // namespace

class TestSpinoramaChart : public QObject
{
    Q_OBJECT

private slots:
    void curvesStandAtTheirLevels_data();
    void curvesStandAtTheirLevels();
    void shadeEndsAtTheLowestMeasuredFrequency_data();
    void shadeEndsAtTheLowestMeasuredFrequency();
    void axesFollowTheData();
    void exports_data();
    void exports();
};

void TestSpinoramaChart::curvesStandAtTheirLevels_data()
{
    QTest::addColumn<int>("curve");
    QTest::addColumn<double>("hz");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("On Axis") << int(TSpinorama::OnAxis) << 500.0 << true;
    QTest::newRow("Sound Power") << int(TSpinorama::SoundPower) << 3000.0 << true;
    QTest::newRow("In-Room") << int(TSpinorama::EstimatedInRoom) << 8000.0 << true;
    QTest::newRow("Sound Power DI, right axis") << int(TSpinorama::SoundPowerDi) << 200.0 << true;
    QTest::newRow("ER DI, right axis") << int(TSpinorama::EarlyReflectionsDi) << 15000.0 << true;
    QTest::newRow("On Axis not measured: no bridge") << int(TSpinorama::OnAxis) << 1400.0 << false;
    QTest::newRow("below 1/gate") << int(TSpinorama::ListeningWindow) << 60.0 << false;
}

void TestSpinoramaChart::curvesStandAtTheirLevels()
{
    QFETCH(int, curve);
    QFETCH(double, hz);
    QFETCH(bool, drawn);
    const auto spin = ConstantSpin(100.0, 1000.0, 2000.0);
    TSpinoramaChart chart;
    chart.SetSpin(spin);
    chart.SetTitle(QStringLiteral("Kolumna"));
    const QImage image = Render(chart);
    const QRectF plot = chart.PlotRect(QRect(QPoint(), Size));
    QVERIFY(plot.width() > Size.width() / 2 && plot.height() > Size.height() / 2);
    const auto c = TSpinorama::TCurve(curve);
    const double x = TSpinoramaChart::XOf(plot, hz);
    const double y = chart.YOf(plot, c, spin->CurvesDb[size_t(c)].back());
    QVERIFY(plot.contains(QPointF(x, y)));
    QCOMPARE(ColourNear(image, x, y, TSpinoramaChart::CurveColor(c)), drawn);
}

void TestSpinoramaChart::shadeEndsAtTheLowestMeasuredFrequency_data()
{
    QTest::addColumn<double>("lowestHz");
    QTest::newRow("100 Hz") << 100.0;
    QTest::newRow("333 Hz") << 333.0;
    QTest::newRow("20 Hz: none") << 20.0;
}

void TestSpinoramaChart::shadeEndsAtTheLowestMeasuredFrequency()
{
    QFETCH(double, lowestHz);
    TSpinoramaChart chart;
    chart.SetSpin(ConstantSpin(lowestHz));
    const QImage image = Render(chart);
    const QRectF plot = chart.PlotRect(QRect(QPoint(), Size));
    const double edge = TSpinoramaChart::XOf(plot, lowestHz);
    const auto shaded = [&](double x) {
        int count = 0;
        for (int y = int(plot.top()) + 2; y < int(plot.bottom()) - 2; ++y)
            count += image.pixelColor(int(x), y) == TSpinoramaChart::NotMeasuredColor();
        return count > plot.height() / 2;
    };
    if (lowestHz > TSpinoramaChart::BottomHz) {
        QVERIFY(shaded(edge - 4));
        QVERIFY(shaded(plot.left() + 4));
    }
    QVERIFY(!shaded(edge + 4));
    QVERIFY(!shaded(plot.right() - 4));
}

void TestSpinoramaChart::axesFollowTheData()
{
    TSpinoramaChart chart;
    const QImage empty = Render(chart); // "Brak danych": words in the middle, white elsewhere
    int dark = 0;
    for (int x = 0; x < Size.width(); ++x)
        dark += empty.pixelColor(x, Size.height() / 2).lightness() < 100;
    QVERIFY(dark > 5 && empty.pixelColor(4, 4) == QColor(Qt::white));
    auto spin = ConstantSpin(20.0);
    // The loudest level anywhere, 2 dB headroom: 94 -> 96 -> 100.
    spin->CurvesDb[TSpinorama::ListeningWindow][100] = 94.0;
    spin->CurvesDb[TSpinorama::SoundPowerDi][10] = -7.0;
    chart.SetSpin(spin);
    QCOMPARE(chart.LevelRange().HighDb, 100.0);
    QCOMPARE(chart.LevelRange().LowDb, 50.0);
    QCOMPARE(chart.DiRange().LowDb, -10.0);
    QCOMPARE(chart.DiRange().HighDb, 40.0);
}

void TestSpinoramaChart::exports_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("message"); // empty: written
    QTest::newRow("png") << "spin.png" << QSize(640, 400) << "";
    QTest::newRow("PNG upper case") << "SPIN.PNG" << QSize(640, 400) << "";
    QTest::newRow("svg") << "spin.svg" << QSize(640, 400) << "";
    QTest::newRow("pdf") << "spin.Pdf" << QSize(640, 400) << "";
    QTest::newRow("unknown extension") << "spin.bmp" << QSize(640, 400) << "Nieznany format";
    QTest::newRow("no size") << "spin.png" << QSize(0, 400) << "Nieprawidłowy rozmiar";
    QTest::newRow("folder is a file") << "plain.txt/spin.png" << QSize(640, 400) << "Nie można";
}

void TestSpinoramaChart::exports()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QString, message);
    QTemporaryDir dir;
    {
        QFile plain(dir.filePath(QStringLiteral("plain.txt")));
        QVERIFY(plain.open(QIODevice::WriteOnly)); // a file standing where a folder should be
    }
    const QString path = dir.filePath(name);
    TSpinoramaChart chart;
    chart.SetSpin(ConstantSpin(100.0));
    chart.SetTitle(QStringLiteral("Kolumna"));
    QString error;
    const bool written = TSpinoramaChart::Export(chart, path, size, &error);
    if (!message.isEmpty()) {
        QVERIFY(!written);
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(!QFile::exists(path));
        return;
    }
    QVERIFY2(written, qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString suffix = name.section(QLatin1Char('.'), -1).toLower();
    if (suffix == QLatin1String("png")) {
        const QImage image = QImage::fromData(bytes, "PNG");
        QCOMPARE(image.size(), size);
    } else if (suffix == QLatin1String("svg")) {
        QVERIFY(QSvgRenderer(bytes).isValid());
        QVERIFY(bytes.contains("Estimated In-Room Response"));
    } else {
        QVERIFY(bytes.startsWith("%PDF"));
    }
}

QTEST_MAIN(TestSpinoramaChart)
#include "tst_spinoramachart.moc"
