// Needle meter: block peaks from recorded buffers, the clip rule, the ballistics, the dB and
// linear mappings, the scale's ticks and labels, and the two cached bitmaps of the widget.

#include "audio/VUMeterModel.h"
#include "audio/ui/QvVUMeter.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int FullScale = 32767;

long long HalfEven(double x)
{
    const double f = std::floor(x);
    const double d = x - f;
    if (d != 0.5)
        return (long long)std::floor(x + 0.5);
    return ((long long)f % 2 == 0) ? (long long)f : (long long)f + 1;
}

// Needle position of a level in the dB mapping, written from its definition: S dB at 0,
// 0 dB at full scale, linear in dB; levels below -100 dB count as -100 dB.
int DbPosition(double level, int s)
{
    const double ratio = std::max(level / FullScale, 1e-5);
    return int(std::max(0LL, HalfEven((20 * std::log10(ratio) - s) / (-s) * FullScale)));
}

QByteArray Samples(const std::vector<qint16> &values)
{
    QByteArray bytes(int(values.size() * 2), '\0');
    for (size_t i = 0; i < values.size(); ++i)
        qToLittleEndian<qint16>(values[i], bytes.data() + 2 * i);
    return bytes;
}

bool NearColour(const QImage &image, QPoint at, QColor colour, int radius = 1)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (image.rect().contains(p) && image.pixelColor(p).rgb() == colour.rgb())
                return true;
        }
    return false;
}

// Point on the arc of the default meter (170 x 100, 90° arc, pivot 30 px below the bottom).
QPoint ArcPoint(double level, int radius, QPoint pivot)
{
    const double a = (45.0 + (1.0 - level / FullScale) * 90.0) * 3.14159265358979323846 / 180.0;
    return QPoint(int(HalfEven(std::cos(a) * radius)) + pivot.x(),
                  pivot.y() - int(HalfEven(std::sin(a) * radius)));
}

} // namespace

class TestVUMeter : public QObject
{
    Q_OBJECT

private slots:
    void decayFactor_data();
    void decayFactor();
    void dbMapping_data();
    void dbMapping();
    void linearMapping_data();
    void linearMapping();
    void processBufferExaminesEverySecondSampleFromWord4();
    void processBufferFeedsFivePeaksPer8192Bytes();
    void processBufferNeverReadsPastTheBuffer();
    void clipAtExactlyFullScale_data();
    void clipAtExactlyFullScale();
    void needleRisesAtOnceAndFallsSlowly();
    void decayZeroFollowsEveryPeak();
    void resetNeedleKeepsTheHeldLevel();
    void scaleLabels_data();
    void scaleLabels();
    void scaleZonesAndTickLevels();
    void widgetDefaults();
    void levelUpdateRedrawsOnlyTheNeedle();
    void renderDrawsTicksInTheirZones();
    void widgetEmitsOnClip();
};

void TestVUMeter::decayFactor_data()
{
    QTest::addColumn<int>("decay");
    QTest::addColumn<double>("expected");
    QTest::newRow("0") << 0 << 0.0001;
    QTest::newRow("1") << 1 << 0.01;
    QTest::newRow("9") << 9 << std::pow(0.0001, 1.0 / 512);
    QTest::newRow("10") << 10 << std::pow(0.0001, 1.0 / 1024);
    QTest::newRow("huge holds") << 1000000 << 1.0;
}

void TestVUMeter::decayFactor()
{
    QFETCH(int, decay);
    QFETCH(double, expected);
    QVERIFY(std::fabs(TVUMeterModel::DecayFactor(decay) - expected) < 1e-12);
}

void TestVUMeter::dbMapping_data()
{
    QTest::addColumn<double>("level");
    QTest::addColumn<int>("sensitivity");
    QTest::newRow("full scale") << 32767.0 << -50;
    QTest::newRow("-6 dB") << 16384.0 << -50;
    QTest::newRow("-25 dB") << 32767.0 * std::pow(10.0, -25.0 / 20) << -50;
    QTest::newRow("at the left end") << 32767.0 * std::pow(10.0, -50.0 / 20) << -50;
    QTest::newRow("below the left end") << 10.0 << -50;
    QTest::newRow("silence") << 0.0 << -50;
    QTest::newRow("-30 dB scale, -12 dB") << 32767.0 * std::pow(10.0, -12.0 / 20) << -30;
    QTest::newRow("one") << 1.0 << -100;
}

void TestVUMeter::dbMapping()
{
    QFETCH(double, level);
    QFETCH(int, sensitivity);
    const int got = TVUMeterModel::MapToScale(level, sensitivity, true);
    QCOMPARE(got, DbPosition(level, sensitivity));
    QVERIFY(got >= 0 && got <= FullScale);
}

void TestVUMeter::linearMapping_data()
{
    QTest::addColumn<double>("level");
    QTest::addColumn<int>("expected");
    // floor = 32767 / 10^(50/20) = 103.6...; the scale runs linearly from there to full.
    const double floor = 32767.0 / std::pow(10.0, 2.5);
    QTest::newRow("full") << 32767.0 << 32767;
    QTest::newRow("floor") << floor << 0;
    QTest::newRow("below floor") << 50.0 << 0;
    QTest::newRow("half") << 16384.0
                          << int(HalfEven((16384.0 - floor) * 32767.0 / (32767.0 - floor)));
}

void TestVUMeter::linearMapping()
{
    QFETCH(double, level);
    QFETCH(int, expected);
    QCOMPARE(TVUMeterModel::MapToScale(level, -50, false), expected);
}

void TestVUMeter::processBufferExaminesEverySecondSampleFromWord4()
{
    TVUMeterModel m;
    m.SetBufferSize(4096);
    m.SetDecay(0);
    std::vector<int> peaks;
    m.OnNeedleChanged = [&] {
        peaks.push_back(m.Level());
    };
    std::vector<qint16> s(2048, 0);
    s[0] = s[2] = 30000; // before word 4: never examined
    for (size_t i = 5; i < 800; i += 2)
        s[i] = -31000; // odd words: never examined
    s[4] = 1000;
    s[798] = -2000; // word 2·399: in the first block
    s[800] = 3000; // word 2·400: the block closes after it
    s[802] = 4000; // first of the second block
    m.ProcessBuffer(Samples(s).constData(), 4096, 400);
    // 1024 words examined positions i = 2..1023: one whole block of 400 only ends at
    // i = 400 and i = 800; the rest is dropped.
    QCOMPARE(peaks, (std::vector<int> { 3000, 4000 }));
}

void TestVUMeter::processBufferFeedsFivePeaksPer8192Bytes()
{
    TVUMeterModel m;
    m.SetBufferSize(8192);
    std::vector<int> peaks;
    m.OnNeedleChanged = [&] {
        peaks.push_back(m.Level());
    };
    std::vector<qint16> s(4096, 0);
    for (int b = 0; b < 5; ++b)
        s.at(size_t(2 * (400 * b + 300))) = qint16(1000 * (b + 1)); // i = 400b + 300
    s.at(2 * 2040) = 6000; // i = 2040: after the last block end
    m.ProcessBuffer(Samples(s).constData(), 8192, 400);
    // Block ends at i = 400..2000; the peak at i = 2040 lies after the last one.
    QCOMPARE(peaks, (std::vector<int> { 1000, 2000, 3000, 4000, 5000 }));
}

void TestVUMeter::processBufferNeverReadsPastTheBuffer()
{
    TVUMeterModel m;
    m.SetBufferSize(8192);
    int updates = 0;
    m.OnNeedleChanged = [&] {
        ++updates;
    };
    // A buffer smaller than BufferSize is scanned only as far as it goes.
    std::vector<qint16> s(1024, 100);
    m.ProcessBuffer(Samples(s).constData(), 2048, 400);
    QCOMPARE(updates, 1); // i = 2..511: one block end at 400
    // Below 8 bytes nothing is examined.
    m.SetBufferSize(7);
    m.ProcessBuffer(Samples(s).constData(), 2048, 400);
    QCOMPARE(updates, 1);
    m.ProcessBuffer(nullptr, 4096, 400);
    QCOMPARE(updates, 1);
}

void TestVUMeter::clipAtExactlyFullScale_data()
{
    QTest::addColumn<int>("sample");
    QTest::addColumn<int>("clips");
    QTest::newRow("32767") << 32767 << 1;
    QTest::newRow("-32767") << -32767 << 1;
    QTest::newRow("-32768 counts as full scale") << -32768 << 1;
    QTest::newRow("32766") << 32766 << 0;
    QTest::newRow("-32766") << -32766 << 0;
}

void TestVUMeter::clipAtExactlyFullScale()
{
    QFETCH(int, sample);
    QFETCH(int, clips);
    TVUMeterModel m;
    m.SetBufferSize(4096);
    int clipCount = 0;
    m.OnClip = [&] {
        ++clipCount;
    };
    std::vector<qint16> s(2048, 0);
    // Two full-scale samples in block 1, one in block 2: one clip per block.
    s[10] = s[12] = qint16(sample);
    s[2 * 500] = qint16(sample);
    m.ProcessBuffer(Samples(s).constData(), 4096, 400);
    QCOMPARE(clipCount, 2 * clips);
    QCOMPARE(m.Level(), std::min(FullScale, std::abs(sample))); // last peak: block 2
}

void TestVUMeter::needleRisesAtOnceAndFallsSlowly()
{
    TVUMeterModel m; // Decay 10, dB scale -50
    const double c = std::pow(0.0001, 1.0 / 1024);
    m.SetLevel(20000);
    QCOMPARE(m.HeldLevel(), 20000.0);
    QCOMPARE(m.NeedlePos(), DbPosition(20000, -50));
    double held = 20000;
    for (int update = 1; update <= 50; ++update) {
        m.SetLevel(100);
        held *= c;
        QVERIFY(std::fabs(m.HeldLevel() - held) < 1e-6 * held);
        QCOMPARE(m.NeedlePos(), DbPosition(std::trunc(held), -50));
    }
    m.SetLevel(30000); // a higher peak takes over at once
    QCOMPARE(m.HeldLevel(), 30000.0);
    QCOMPARE(m.NeedlePos(), DbPosition(30000, -50));
}

void TestVUMeter::decayZeroFollowsEveryPeak()
{
    TVUMeterModel m;
    m.SetDecay(0);
    for (int peak : { 30000, 100, 5000, 0, 12345 }) {
        m.SetLevel(peak);
        QCOMPARE(m.NeedlePos(), DbPosition(peak, -50));
    }
    m.SetLevel(0);
    QCOMPARE(m.NeedlePos(), 0); // silence sits at the left end
}

void TestVUMeter::resetNeedleKeepsTheHeldLevel()
{
    TVUMeterModel m;
    m.SetLevel(25000);
    int updates = 0;
    m.OnNeedleChanged = [&] {
        ++updates;
    };
    m.ResetNeedle();
    QCOMPARE(updates, 1);
    QCOMPARE(m.NeedlePos(), 0);
    QCOMPARE(m.Level(), 0);
    QCOMPARE(m.HeldLevel(), 25000.0);
    m.SetLevel(0); // the fall goes on from the held value
    QCOMPARE(m.NeedlePos(), DbPosition(std::trunc(25000 * std::pow(0.0001, 1.0 / 1024)), -50));
}

void TestVUMeter::scaleLabels_data()
{
    QTest::addColumn<int>("sensitivity");
    QTest::addColumn<bool>("logScale");
    QTest::addColumn<QList<int>>("labels");
    QTest::newRow("default") << -50 << true << QList<int> { -50, -40, -30, -20, -10, 0 };
    QTest::newRow("-30 dB") << -30 << true << QList<int> { -30, -24, -18, -12, -6, 0 };
    // Linear: the amplitude at each labelled tick, in dB.
    QList<int> linear;
    const double floor = FullScale / std::pow(10.0, 2.5);
    for (int i = 0; i <= 40; i += 8)
        linear << int(
            HalfEven(20 * std::log10((floor + (FullScale - floor) * i / 40.0) / FullScale)));
    QTest::newRow("linear") << -50 << false << linear;
}

void TestVUMeter::scaleLabels()
{
    QFETCH(int, sensitivity);
    QFETCH(bool, logScale);
    QFETCH(QList<int>, labels);
    QList<int> got;
    for (int i = 0; i <= 40; i += 8)
        got << TVUMeterModel::TickLabel(i, 41, sensitivity, logScale);
    QCOMPARE(got, labels);
}

void TestVUMeter::scaleZonesAndTickLevels()
{
    QCOMPARE(TVUMeterModel::TickLevel(40, 41), 32760);
    QCOMPARE(TVUMeterModel::TickLevel(1, 41), 819);
    // 41 ticks, zones to 60 % and 80 %: ticks 0..24 green, 25..32 yellow, 33..40 red.
    for (int i = 0; i < 41; ++i) {
        const int percent = i * 100 / 40;
        const int zone = percent <= 60 ? 1 : percent <= 80 ? 2 : 3;
        QCOMPARE(TVUMeterModel::TickZone(i, 41, 60, 80), zone);
    }
}

void TestVUMeter::widgetDefaults()
{
    TQvVUMeter meter;
    QCOMPARE(meter.size(), QSize(170, 100));
    QCOMPARE(meter.PivotX(), 85);
    QCOMPARE(meter.PivotY(), 130);
    QCOMPARE(meter.Title(), QStringLiteral("dB"));
    QCOMPARE(meter.Sensitivity(), -50);
    QCOMPARE(meter.Decay(), 10);
    QCOMPARE(meter.BufferSize(), 4096);
    QVERIFY(meter.LogScale());
    QCOMPARE(meter.ScaleColor1(), QColor(0, 128, 0));
    QCOMPARE(meter.ScaleColor2(), QColor(255, 255, 0));
    QCOMPARE(meter.ScaleColor3(), QColor(255, 0, 0));
    QCOMPARE(meter.NeedleColor(), QColor(192, 192, 192));
    QVERIFY(meter.ScaleDirty());
    meter.SetNeedleOffset(20);
    QCOMPARE(meter.PivotY(), 120);
    meter.resize(177, 105);
    QCOMPARE(meter.PivotX(), 88);
    QCOMPARE(meter.PivotY(), 125);
    meter.SetBevelWidth(0); // ignored
    QCOMPARE(meter.BevelWidth(), 1);
}

void TestVUMeter::levelUpdateRedrawsOnlyTheNeedle()
{
    TQvVUMeter meter;
    meter.SetDecay(0);
    meter.show();
    QVERIFY(QTest::qWaitForWindowExposed(&meter));
    meter.repaint();
    QVERIFY(!meter.ScaleDirty());
    const qint64 scaleKey = meter.ScaleBitmap().cacheKey();
    const QImage before = meter.NeedleBitmap();

    meter.SetLevel(FullScale);
    QCOMPARE(meter.ScaleBitmap().cacheKey(), scaleKey); // the scale was not drawn again
    QVERIFY(meter.NeedleBitmap() != before);
    // The needle ends at the full-scale point of the arc, 114 px from the pivot.
    const QPoint pivot(85, 130);
    const QPoint tip = ArcPoint(meter.NeedlePos(), 114, pivot);
    QVERIFY(NearColour(meter.NeedleBitmap(), tip + QPoint(-1, 1), meter.NeedleColor()));
    // Everything but the needle is the scale: the bitmaps differ only along the line.
    const QImage &scale = meter.ScaleBitmap();
    const QImage &needle = meter.NeedleBitmap();
    for (int y = 0; y < scale.height(); ++y)
        for (int x = 0; x < scale.width(); ++x)
            if (scale.pixel(x, y) != needle.pixel(x, y)) {
                // distance of (x, y) from the line pivot-tip
                const double dx = tip.x() - pivot.x(), dy = tip.y() - pivot.y();
                const double d
                    = std::fabs(dy * (x - pivot.x()) - dx * (y - pivot.y())) / std::hypot(dx, dy);
                QVERIFY2(d < 1.5, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }

    // An appearance change redraws the scale at the next paint.
    meter.SetScaleColor3(Qt::blue);
    QVERIFY(meter.ScaleDirty());
    meter.repaint();
    QVERIFY(meter.ScaleBitmap().cacheKey() != scaleKey);
}

void TestVUMeter::renderDrawsTicksInTheirZones()
{
    TQvVUMeter meter;
    QImage image(170, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    meter.Render(painter, image.rect());
    painter.end();
    // Inner rectangle (1,1)-(168,98): radius 98 + 30 - 1 - 16 = 111; long ticks run from
    // 103 to 111. Tick 4 green, tick 28 yellow, tick 40 red at the right end (tick 0 lies
    // under the resting needle).
    const QPoint pivot(85, 130);
    QVERIFY(NearColour(image, ArcPoint(4 * 819, 107, pivot), QColor(0, 128, 0)));
    QVERIFY(!NearColour(image, ArcPoint(4 * 819, 99, pivot), QColor(0, 128, 0), 0));
    QVERIFY(NearColour(image, ArcPoint(28 * 819, 107, pivot), QColor(255, 255, 0)));
    QVERIFY(NearColour(image, ArcPoint(40 * 819, 107, pivot), QColor(255, 0, 0)));
    // The background is the meter's colour (black), the needle rests at the left end.
    QCOMPARE(image.pixelColor(85, 60), QColor(0, 0, 0));
    QVERIFY(NearColour(image, ArcPoint(0, 60, pivot), QColor(192, 192, 192)));

    // Rendering into a rectangle elsewhere on the page draws the same picture there.
    QImage page(400, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p2(&page);
    meter.Render(p2, QRect(200, 150, 170, 100));
    p2.end();
    QCOMPARE(page.copy(200, 150, 170, 100), image);
    QCOMPARE(page.pixelColor(10, 10), QColor(Qt::white));
}

void TestVUMeter::widgetEmitsOnClip()
{
    TQvVUMeter meter;
    QSignalSpy spy(&meter, &TQvVUMeter::OnClip);
    meter.SetBufferSize(8192);
    std::vector<qint16> s(4096, 0);
    s[2 * 100] = 32767;
    s[2 * 1500] = -32768;
    s[2 * 1600] = 32766;
    meter.ProcessBuffer(Samples(s).constData(), 8192);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).value<TQvVUMeter *>(), &meter);
}

QTEST_MAIN(TestVUMeter)
#include "tst_vumeter.moc"
