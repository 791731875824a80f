#pragma once

// One line of a frequency response: frequency in Hz, level in dB, phase in degrees
// (-180 .. 180).
struct TFrequencyPoint
{
    double FrequencyHz = 0.0;
    double LevelDb = 0.0;
    double PhaseDeg = 0.0;
};
