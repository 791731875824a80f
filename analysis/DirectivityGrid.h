#pragma once

#include <cmath>
#include <vector>

// A directivity map's values: the level at each (frequency, angle) relative to the level at
// 0° at the same frequency, in dB. Columns are angles in degrees (-180 .. 180, rising), rows
// frequencies in Hz (rising, log-spaced). NaN marks an angle that was not measured.
struct TDirectivityGrid
{
    std::vector<double> AnglesDeg;
    std::vector<double> FrequenciesHz;
    std::vector<float> LevelsDb; // row-major: LevelsDb[row * AnglesDeg.size() + column]

    bool Empty() const { return AnglesDeg.empty() || FrequenciesHz.empty(); }
    float At(size_t row, size_t column) const { return LevelsDb[row * AnglesDeg.size() + column]; }
};
