#pragma once

// The part of every benchmark program's main() after its own set-up (application object,
// environment): Google Benchmark's argument handling and the run. prepare, when given, runs
// once the arguments are known to be good and before the benchmarks; false ends with 1.

#include <benchmark/benchmark.h>

#include <functional>

inline int RunBenchmarks(int &argc, char **argv, const std::function<bool()> &prepare = {})
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (prepare && !prepare())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
