// The level computation of a raw recording: any bytes, any block size and any turned range
// give one finite level per whole block, within the range the definition allows, and a
// series that fits into a chart.
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "measurement/LevelComputation.h"

#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// The first bytes of an input choose the block size (bytes) and the turned range
// (degrees); the rest is the recording.
constexpr std::size_t ParameterBytes = 6;
// Block sizes up to this many bytes, so that small inputs still make several blocks.
constexpr int MaxBlockBytes = 4096;
// 20 log10 of the smallest ratio and of the largest possible rms over the smallest
// reference (65535 / 16384), dB.
constexpr double LowestLevel = -120.0;
constexpr double HighestLevel = 12.05;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < ParameterBytes)
        return 0;
    const int blockBytes = qFromLittleEndian<quint16>(data) % (MaxBlockBytes + 1);
    const int startDeg = qFromLittleEndian<qint16>(data + 2);
    const int stopDeg = qFromLittleEndian<qint16>(data + 4);
    const char *raw = reinterpret_cast<const char *>(data + ParameterBytes);
    const qint64 rawBytes = qint64(size - ParameterBytes);

    const std::vector<double> levels = TLevelComputation::LevelsOfBytes(raw, rawBytes, blockBytes);
    const qint64 expected = blockBytes < 2 ? 0 : rawBytes / blockBytes;
    if (qint64(levels.size()) != expected)
        std::abort();
    for (const double level : levels) {
        if (!std::isfinite(level) || level < LowestLevel || level > HighestLevel)
            std::abort();
    }

    TPolarGraph chart;
    const TSeries *series = TLevelComputation::AddMeasuredSeries(chart, QStringLiteral("Pomiar 1"),
                                                                 255, levels, startDeg, stopDeg);
    if (series->Count() != qsizetype(levels.size()))
        std::abort();
    return 0;
}
