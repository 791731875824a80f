#include "chart/SeriesEditorColors.h"

namespace {

constexpr quint32 Rgb(quint32 r, quint32 g, quint32 b)
{
    return r | (g << 8) | (b << 16);
}

} // namespace

QList<TNamedColor> SeriesEditorColors()
{
    // The trailing blank of "Fioletowy " is the name as the program has always shown it.
    return {
        { Rgb(0, 0, 0), QStringLiteral("Czarny") },
        { Rgb(128, 0, 0), QStringLiteral("Wiśniowy") },
        { Rgb(0, 128, 0), QStringLiteral("Zielony") },
        { Rgb(128, 128, 0), QStringLiteral("Oliwkowy") },
        { Rgb(0, 0, 128), QStringLiteral("Granatowy") },
        { Rgb(128, 0, 128), QStringLiteral("Fioletowy ") },
        { Rgb(0, 128, 128), QStringLiteral("Ciemnobłękitny") },
        { Rgb(128, 128, 128), QStringLiteral("Szary") },
        { Rgb(255, 0, 0), QStringLiteral("Czerwony") },
        { Rgb(0, 255, 0), QStringLiteral("Jasnozielony") },
        { Rgb(255, 255, 0), QStringLiteral("Żółty") },
        { Rgb(0, 0, 255), QStringLiteral("Niebieski") },
        { Rgb(255, 0, 255), QStringLiteral("Różowy") },
        { Rgb(0, 255, 255), QStringLiteral("Turkusowy") },
        { Rgb(255, 255, 255), QStringLiteral("Biały") },
        { Rgb(192, 192, 192), QStringLiteral("Srebrny") },
    };
}
