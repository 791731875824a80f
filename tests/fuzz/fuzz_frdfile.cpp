// The frequency response text files: any text is read without harm, and any points (the
// input's bytes taken as doubles, NaN and infinities included) are written so that reading
// gives back exactly the finite ones, in order, within the printed precision.
#include "analysis/FrdFile.h"

#include <QByteArray>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Half a unit of the last printed decimal (4 for frequency and level, 2 for phase), with
// room for the rounding of a double's 17 significant digits.
bool Near(double back, double value, double halfUnit)
{
    return std::fabs(back - value) <= halfUnit * 1.0001 + std::fabs(value) * 1e-15;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    (void)TFrdFile::Parse(text);

    std::vector<TFrequencyPoint> points(size / (3 * sizeof(double)));
    std::vector<TFrequencyPoint> finite;
    for (std::size_t i = 0; i < points.size(); ++i) {
        double values[3];
        std::memcpy(values, data + i * sizeof(values), sizeof(values));
        points[i] = { values[0], values[1], values[2] };
        if (std::isfinite(values[0]) && std::isfinite(values[1]) && std::isfinite(values[2]))
            finite.push_back(points[i]);
    }
    const std::optional<std::vector<TFrequencyPoint>> back
        = TFrdFile::Parse(TFrdFile::Format(points));
    if (!back || back->size() != finite.size())
        std::abort();
    for (std::size_t i = 0; i < finite.size(); ++i) {
        const TFrequencyPoint &a = (*back)[i];
        const TFrequencyPoint &b = finite[i];
        if (!Near(a.FrequencyHz, b.FrequencyHz, 0.5e-4) || !Near(a.LevelDb, b.LevelDb, 0.5e-4)
            || !Near(a.PhaseDeg, b.PhaseDeg, 0.5e-2))
            std::abort();
    }
    return 0;
}
