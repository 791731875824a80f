// CPU cost of the simulated loudspeaker in the loopback, 48000 Hz, blocks of 4096 samples as
// an input slot of 8192 bytes brings them, the angle read from a turning simulated
// controller (through its angle history), noise on:
//   Filter/0   the direct sound only (the default rig)
//   Filter/1   with the side-wall reflection
//   BuildTable the first block of a new loudspeaker, with the filter table computed
// items_per_second is samples per second; "core_fraction" is the share of one core the
// filter takes in real time at 48000 Hz (printed with SI prefixes: 2.5m means 0.25 %).

#include "audio/SimulatedLoudspeaker.h"
#include "controls/VirtualClock.h"
#include "turntable/SimulatedController.h"

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int Rate = 48000;
constexpr int Block = 4096;

std::vector<float> Sine()
{
    std::vector<float> s(static_cast<size_t>(Block));
    for (int i = 0; i < Block; ++i)
        s[size_t(i)] = float(0.5 * std::sin(2.0 * std::numbers::pi * 1000.0 * i / Rate));
    return s;
}

// The controller turning forward, as in a measurement.
void StartTurning(TVirtualClock &clock, TSimulatedController &controller)
{
    controller.SetCommandLines(0xFE); // pin 2 low: forward
    clock.Advance(5);
    controller.SetCommandLines(0xFF);
}

void Filter(benchmark::State &state)
{
    TVirtualClock clock;
    TSimulatedController controller(clock);
    StartTurning(clock, controller);
    TSimulatedLoudspeaker::TParams params;
    params.Reflection = state.range(0) != 0;
    TSimulatedLoudspeaker speaker(TSimulatedLoudspeaker::SimulatedControllerAngle(), params);
    const std::vector<float> input = Sine();
    std::vector<float> block = input;
    const double blockMs = Block * 1000.0 / Rate;
    qint64 position = 0;
    double firstMs = double(clock.NowMs());
    speaker.Process(block.data(), Block, Rate, position, firstMs); // builds the table
    for (auto _ : state) {
        // A fresh copy each time (about 1 us): the filter's own output fed back would decay
        // into denormals. The clock keeps up with the blocks, so the table turns.
        block = input;
        position += Block;
        firstMs += blockMs;
        clock.Advance(int(std::ceil(firstMs + blockMs)) - int(clock.NowMs()));
        speaker.Process(block.data(), Block, Rate, position, firstMs);
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * Block);
    state.counters["core_fraction"] = benchmark::Counter(
        blockMs / 1000.0,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel(params.Reflection ? "direct + reflection" : "direct");
}

void BuildTable(benchmark::State &state)
{
    const std::vector<float> input = Sine();
    for (auto _ : state) {
        TSimulatedLoudspeaker speaker;
        std::vector<float> block = input;
        speaker.Process(block.data(), Block, Rate, 0, 0.0);
        benchmark::DoNotOptimize(block.data());
    }
}

} // namespace

BENCHMARK(Filter)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildTable)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return RunBenchmarks(argc, argv);
}
