#pragma once

#include <type_traits>

// One point of a series as it passes to and from arrays and the characteristic file:
// 16 bytes, Angle then Level, nothing between them.
struct TPolarSample
{
    double Angle; // degrees, clockwise from 0° at the top; not normalised
    double Level; // level in the chart's unit (normally dB)
};

static_assert(sizeof(TPolarSample) == 16, "the file format stores 16-byte samples");
static_assert(std::is_standard_layout_v<TPolarSample>);
