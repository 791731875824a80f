#include "chart/SeriesEditorColors.h"

#include <QCoreApplication>

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
        { Rgb(0, 0, 0), QCoreApplication::translate("SeriesEditorColors", "Czarny") },
        { Rgb(128, 0, 0), QCoreApplication::translate("SeriesEditorColors", "Wiśniowy") },
        { Rgb(0, 128, 0), QCoreApplication::translate("SeriesEditorColors", "Zielony") },
        { Rgb(128, 128, 0), QCoreApplication::translate("SeriesEditorColors", "Oliwkowy") },
        { Rgb(0, 0, 128), QCoreApplication::translate("SeriesEditorColors", "Granatowy") },
        { Rgb(128, 0, 128), QCoreApplication::translate("SeriesEditorColors", "Fioletowy ") },
        { Rgb(0, 128, 128), QCoreApplication::translate("SeriesEditorColors", "Ciemnobłękitny") },
        { Rgb(128, 128, 128), QCoreApplication::translate("SeriesEditorColors", "Szary") },
        { Rgb(255, 0, 0), QCoreApplication::translate("SeriesEditorColors", "Czerwony") },
        { Rgb(0, 255, 0), QCoreApplication::translate("SeriesEditorColors", "Jasnozielony") },
        { Rgb(255, 255, 0), QCoreApplication::translate("SeriesEditorColors", "Żółty") },
        { Rgb(0, 0, 255), QCoreApplication::translate("SeriesEditorColors", "Niebieski") },
        { Rgb(255, 0, 255), QCoreApplication::translate("SeriesEditorColors", "Różowy") },
        { Rgb(0, 255, 255), QCoreApplication::translate("SeriesEditorColors", "Turkusowy") },
        { Rgb(255, 255, 255), QCoreApplication::translate("SeriesEditorColors", "Biały") },
        { Rgb(192, 192, 192), QCoreApplication::translate("SeriesEditorColors", "Srebrny") },
    };
}
