// CPU used by the program during a real-time measurement on the simulated rig: the main
// window with its tool windows as `orvi --simulate` makes them (offscreen), one document,
// "&Dodaj" with a full turn of the simulated table (80 s) while the generator plays a
// 1 kHz sine through the simulated loudspeaker and the level meter records "temp.raw".
//   BM_MeasurementRealTime   counters: cpu_percent (of one core), points
// Run by hand: QT_QPA_PLATFORM=offscreen build/bench/bench_measurement
#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/MeasurementAction.h"
#include "app/ui/ToolWindows.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "controls/Clock.h"
#include "document/ui/FrmChild.h"
#include "measurement/ui/FrmParametry.h"
#include "measurement/ui/FrmPomiar.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

double CpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_MeasurementRealTime(benchmark::State &state)
{
    QTemporaryDir dir;
    TFrmMain main(TClock::System());
    Settings().TempDir = dir.path(); // after the store was read
    CreateToolWindows(main, TStartOptions { true, nullptr });
    main.Actions().acNowy->trigger();
    TFrmChild *doc = main.ActiveDocument();

    double cpu = 0;
    double wall = 0;
    int points = 0;
    for (auto _ : state) {
        TMeasurementAction::Exec() = [&](QDialog &dialog) {
            if (auto *p = qobject_cast<TFrmParametry *>(&dialog)) {
                p->btnOK().click();
                return p->result();
            }
            auto *pomiar = qobject_cast<TFrmPomiar *>(&dialog);
            const double cpuBefore = CpuSeconds();
            const qint64 wallBefore = TClock::System().NowMs();
            pomiar->BitBtn1().click();
            cpu = CpuSeconds() - cpuBefore;
            wall = double(TClock::System().NowMs() - wallBefore) / 1000.0;
            pomiar->BitBtn2().click();
            return pomiar->result();
        };
        main.Actions().acDodaj->trigger();
        const int n = doc->Graph().MaxSeriesNumber();
        points = n >= 0 ? doc->Graph().GetSeries(n)->Count() : 0;
        state.SetIterationTime(wall);
    }
    state.counters["cpu_percent"] = wall > 0 ? 100.0 * cpu / wall : 0;
    state.counters["wall_s"] = wall;
    state.counters["points"] = points;
}
BENCHMARK(BM_MeasurementRealTime)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    // A settings store of its own, so the user's stays untouched.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
