#pragma once

#include <QString>

#include <array>

class TPolarGraph;

// The default colour (0x00BBGGRR) and name of the next measurement in a chart.
struct TMeasurementProposal
{
    // Default series colours of new measurements, 0x00BBGGRR: maroon, green, navy, purple,
    // grey, red, blue, black.
    static constexpr std::array<quint32, 8> SeriesColors
        = { 0x000080, 0x008000, 0x800000, 0x800080, 0x808080, 0x0000FF, 0xFF0000, 0x000000 };

    int Number; // the Number the new series will get: MaxSeriesNumber + 1
    quint32 Color; // SeriesColors[Number mod 8]
    QString Name; // "Pomiar " + (Number + 1)

    static TMeasurementProposal For(const TPolarGraph &graph);
};
