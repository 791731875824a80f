#pragma once

#include <QList>

#include <array>

// The colours of a broadband measurement's band series. They are taken in order from Kelly's
// twenty-two colours of maximum contrast, without white (the paper) and black (the level
// series' eighth colour and the printed grid), so that the bands of one measurement differ
// from each other and from the series already in the chart, the level series included.
// Colours are 0x00BBGGRR. Pure functions; any thread.
class TBandPalette
{
public:
    static const std::array<quint32, 20> Colors;

    // Palette colours closer than this to a colour in use are passed over while others remain
    // (a weighted RGB distance, 0..765: Kelly's grey beside the level series' grey reads as
    // the same curve).
    static constexpr double NearDistance = 60.0;

    // The colour of the next band series beside the series colours inUse: the first palette
    // colour that is not near any of them; failing that, the first one that none of them has;
    // only when every palette colour is in use, the first of the least used ones.
    static quint32 Next(const QList<quint32> &inUse);

    // Weighted RGB distance ("redmean") of two 0x00BBGGRR colours, 0 for equal ones.
    static double Distance(quint32 a, quint32 b);
};
