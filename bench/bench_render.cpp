// Chart rendering cost: a full render of a document-sized chart with 8 series of 15000
// points, and a repaint from the valid cached picture (one bitmap copy).
#include "chart/PolarGraph.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

constexpr QSize ChartSize(780, 580);

std::unique_ptr<TPolarGraph> MakeChart()
{
    auto g = std::make_unique<TPolarGraph>();
    g->ApplyDocumentDefaults();
    g->SetAutoRepaint(false);
    const quint32 colors[]
        = { 0x0000FF, 0x00A000, 0xFF0000, 0x00A0A0, 0xA000A0, 0xA0A000, 0x404040, 0x0080FF };
    for (int s = 0; s < 8; ++s) {
        TSeries *series = g->GetSeries(s);
        series->SetColor(colors[s]);
        series->Name = QStringLiteral("Pomiar %1").arg(s + 1);
        std::vector<TPolarSample> points(15000);
        for (int i = 0; i < 15000; ++i) {
            const double a = i * 360.0 / 15000.0;
            points[size_t(i)]
                = { a,
                    -3.0 * s - 12.0 * (1 - std::cos(a * M_PI / 180.0)) + 0.5 * std::sin(i * 0.37) };
        }
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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
