#include "analysis/BandPalette.h"

#include <algorithm>
#include <cmath>

namespace {

// 0xRRGGBB as Kelly published them, to the chart's 0x00BBGGRR.
constexpr quint32 FromRgb(quint32 rgb)
{
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

int Red(quint32 c)
{
    return int(c & 0xFF);
}

int Green(quint32 c)
{
    return int((c >> 8) & 0xFF);
}

int Blue(quint32 c)
{
    return int((c >> 16) & 0xFF);
}

} // namespace

// Kelly's order: each colour contrasts most with the ones before it.
const std::array<quint32, 20> TBandPalette::Colors = {
    FromRgb(0xF3C300), // yellow
    FromRgb(0x875692), // purple
    FromRgb(0xF38400), // orange
    FromRgb(0xA1CAF1), // light blue
    FromRgb(0xBE0032), // red
    FromRgb(0xC2B280), // buff
    FromRgb(0x848482), // grey
    FromRgb(0x008856), // green
    FromRgb(0xE68FAC), // purplish pink
    FromRgb(0x0067A5), // blue
    FromRgb(0xF99379), // yellowish pink
    FromRgb(0x604E97), // violet
    FromRgb(0xF6A600), // orange yellow
    FromRgb(0xB3446C), // purplish red
    FromRgb(0xDCD300), // greenish yellow
    FromRgb(0x882D17), // reddish brown
    FromRgb(0x8DB600), // yellow green
    FromRgb(0x654522), // yellowish brown
    FromRgb(0xE25822), // reddish orange
    FromRgb(0x2B3D26), // olive green
};

double TBandPalette::Distance(quint32 a, quint32 b)
{
    const double meanRed = (Red(a) + Red(b)) / 2.0;
    const double dr = Red(a) - Red(b);
    const double dg = Green(a) - Green(b);
    const double db = Blue(a) - Blue(b);
    return std::sqrt((2.0 + meanRed / 256.0) * dr * dr + 4.0 * dg * dg
                     + (2.0 + (255.0 - meanRed) / 256.0) * db * db);
}

quint32 TBandPalette::Next(const QList<quint32> &inUse)
{
    const auto near = [&](quint32 candidate) {
        return std::any_of(inUse.begin(), inUse.end(),
                           [&](quint32 used) { return Distance(candidate, used) < NearDistance; });
    };
    for (quint32 candidate : Colors)
        if (!near(candidate))
            return candidate;
    for (quint32 candidate : Colors)
        if (!inUse.contains(candidate))
            return candidate;
    // Every palette colour is taken: repeat the one taken least often, the earliest of those.
    quint32 best = Colors.front();
    qsizetype fewest = inUse.count(best);
    for (quint32 candidate : Colors)
        if (inUse.count(candidate) < fewest) {
            best = candidate;
            fewest = inUse.count(candidate);
        }
    return best;
}
