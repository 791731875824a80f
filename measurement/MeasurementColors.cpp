#include "measurement/MeasurementColors.h"

QList<TNamedColor> MeasurementColors()
{
    // "Fioletowy " keeps its trailing blank: it is the text the list has always shown.
    return {
        { 0x000000, QStringLiteral("Czarny") },         { 0x000080, QStringLiteral("Wiśniowy") },
        { 0x008000, QStringLiteral("Zielony") },        { 0x008080, QStringLiteral("Oliwkowy") },
        { 0x800000, QStringLiteral("Granatowy") },      { 0x800080, QStringLiteral("Fioletowy ") },
        { 0x808000, QStringLiteral("Ciemnobłękitny") }, { 0x808080, QStringLiteral("Szary") },
        { 0xC0C0C0, QStringLiteral("Srebrny") },        { 0x0000FF, QStringLiteral("Czerwony") },
        { 0x00FF00, QStringLiteral("Jasnozielony") },   { 0x00FFFF, QStringLiteral("Żółty") },
        { 0xFF0000, QStringLiteral("Niebieski") },      { 0xFF00FF, QStringLiteral("Różowy") },
        { 0xFFFF00, QStringLiteral("Turkusowy") },      { 0xFFFFFF, QStringLiteral("Biały") },
    };
}
