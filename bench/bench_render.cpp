// Chart rendering cost: a full render of a document-sized chart with 8 series of 15000
// points, and a repaint from the valid cached picture (one bitmap copy). When Qt Charts is
// there, the same points are also drawn with its QPolarChart into the same 780 x 580 image,
// once with every point mapped again (Full, beside our full render) and once as a repaint of
// its laid-out scene (Repaint, beside our cached repaint); "ratio" is its time over ours
// (above 1: ours is faster).
#include "chart/PolarGraph.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#ifdef ORVI_BENCH_QTCHARTS
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPolarChart>
#include <QValueAxis>
#endif

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace {

constexpr QSize ChartSize(780, 580);
constexpr int SeriesCount = 8;
constexpr int PointsPerSeries = 15000;
constexpr quint32 Colors[SeriesCount]
    = { 0x0000FF, 0x00A000, 0xFF0000, 0x00A0A0, 0xA000A0, 0xA0A000, 0x404040, 0x0080FF };

std::vector<TPolarSample> SeriesPoints(int s)
{
    std::vector<TPolarSample> points(PointsPerSeries);
    for (int i = 0; i < PointsPerSeries; ++i) {
        const double a = i * 360.0 / PointsPerSeries;
        points[size_t(i)]
            = { a, -3.0 * s - 12.0 * (1 - std::cos(a * M_PI / 180.0)) + 0.5 * std::sin(i * 0.37) };
    }
    return points;
}

std::unique_ptr<TPolarGraph> MakeChart()
{
    auto g = std::make_unique<TPolarGraph>();
    g->ApplyDocumentDefaults();
    g->SetAutoRepaint(false);
    for (int s = 0; s < SeriesCount; ++s) {
        TSeries *series = g->GetSeries(s);
        series->SetColor(Colors[s]);
        series->Name = QStringLiteral("Pomiar %1").arg(s + 1);
        const std::vector<TPolarSample> points = SeriesPoints(s);
        series->SetPoints(points.data(), int(points.size()));
    }
    return g;
}

void BM_FullRender(benchmark::State &state)
{
    auto g = MakeChart();
    QImage target(ChartSize, QImage::Format_RGB32);
    for (auto _ : state) {
        g->Refresh();
        QPainter painter(&target);
        g->PaintCached(painter, ChartSize, 96, 96);
    }
    state.counters["renders"] = g->CachedRenderCount();
}
BENCHMARK(BM_FullRender)->Unit(benchmark::kMillisecond);

void BM_CachedRepaint(benchmark::State &state)
{
    auto g = MakeChart();
    QImage target(ChartSize, QImage::Format_RGB32);
    {
        QPainter painter(&target);
        g->PaintCached(painter, ChartSize, 96, 96);
    }
    for (auto _ : state) {
        QPainter painter(&target);
        g->PaintCached(painter, ChartSize, 96, 96);
    }
    state.counters["renders"] = g->CachedRenderCount(); // stays 1
}
BENCHMARK(BM_CachedRepaint)->Unit(benchmark::kMicrosecond);

#ifdef ORVI_BENCH_QTCHARTS

// The same chart as a Qt Charts polar chart: 0° up, clockwise, levels -40…10 dB from the
// centre out, angle ticks every 30°, level ticks every 10 dB, a legend.
std::unique_ptr<QPolarChart> MakePeerChart()
{
    auto chart = std::make_unique<QPolarChart>();
    auto *angle = new QValueAxis;
    angle->setRange(0, 360);
    angle->setTickCount(13);
    auto *level = new QValueAxis;
    level->setRange(-40, 10);
    level->setTickCount(6);
    chart->addAxis(angle, QPolarChart::PolarOrientationAngular);
    chart->addAxis(level, QPolarChart::PolarOrientationRadial);
    for (int s = 0; s < SeriesCount; ++s) {
        auto *series = new QLineSeries;
        series->setName(QStringLiteral("Pomiar %1").arg(s + 1));
        const quint32 c = Colors[s];
        series->setColor(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
        QList<QPointF> points;
        points.reserve(PointsPerSeries);
        for (const TPolarSample &p : SeriesPoints(s))
            points.append(QPointF(p.Angle, p.Level));
        series->replace(points);
        chart->addSeries(series);
        series->attachAxis(angle);
        series->attachAxis(level);
    }
    chart->setTitle(QStringLiteral("Graph"));
    chart->resize(ChartSize);
    return chart;
}

using TClockNow = std::chrono::steady_clock;

// One pass of each side, timed apart. With relayout, ours renders its picture again from the
// points and the peer draws its scene after a change of its level range by 0.001 dB
// (invisible), so that it maps every point again too; without, both repaint what they have
// laid out (ours: the cached picture).
void PeerPass(benchmark::State &state, bool relayout)
{
    auto ours = MakeChart();
    QGraphicsScene scene;
    QPolarChart *chart = MakePeerChart().release();
    scene.addItem(chart); // the scene owns the chart from here
    scene.setSceneRect(QRectF(QPointF(0, 0), ChartSize));
    auto *level
        = qobject_cast<QValueAxis *>(chart->axes(QPolarChart::PolarOrientationRadial).first());
    QImage target(ChartSize, QImage::Format_RGB32);
    {
        // Lays both out once.
        QPainter painter(&target);
        scene.render(&painter);
        ours->PaintCached(painter, ChartSize, 96, 96);
    }
    double peerSeconds = 0, ourSeconds = 0;
    bool toggle = false;
    for (auto _ : state) {
        auto start = TClockNow::now();
        {
            if (relayout) {
                toggle = !toggle;
                level->setMax(toggle ? 10.001 : 10.0);
            }
            QPainter painter(&target);
            scene.render(&painter, QRectF(QPointF(0, 0), ChartSize));
        }
        const double peer = std::chrono::duration<double>(TClockNow::now() - start).count();
        start = TClockNow::now();
        {
            if (relayout)
                ours->Refresh();
            QPainter painter(&target);
            ours->PaintCached(painter, ChartSize, 96, 96);
        }
        ourSeconds += std::chrono::duration<double>(TClockNow::now() - start).count();
        peerSeconds += peer;
        state.SetIterationTime(peer);
    }
    state.counters["ours_ms"] = 1e3 * ourSeconds / double(state.iterations());
    state.counters["ratio"] = peerSeconds / ourSeconds;
}

void BM_PeerQtChartsPolarFull(benchmark::State &state)
{
    PeerPass(state, true);
}
BENCHMARK(BM_PeerQtChartsPolarFull)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_PeerQtChartsPolarRepaint(benchmark::State &state)
{
    PeerPass(state, false);
}
BENCHMARK(BM_PeerQtChartsPolarRepaint)->Unit(benchmark::kMillisecond)->UseManualTime();

#endif

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A widget application: Qt Charts draws through the graphics view.
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
