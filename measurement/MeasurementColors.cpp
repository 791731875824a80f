#include "measurement/MeasurementColors.h"

#include <QCoreApplication>

QList<TNamedColor> MeasurementColors()
{
    // "Fioletowy " keeps its trailing blank: it is the text the list has always shown.
    return {
        { 0x000000, QCoreApplication::translate("MeasurementColors", "Czarny") },
        { 0x000080, QCoreApplication::translate("MeasurementColors", "Wiśniowy") },
        { 0x008000, QCoreApplication::translate("MeasurementColors", "Zielony") },
        { 0x008080, QCoreApplication::translate("MeasurementColors", "Oliwkowy") },
        { 0x800000, QCoreApplication::translate("MeasurementColors", "Granatowy") },
        { 0x800080, QCoreApplication::translate("MeasurementColors", "Fioletowy ") },
        { 0x808000, QCoreApplication::translate("MeasurementColors", "Ciemnobłękitny") },
        { 0x808080, QCoreApplication::translate("MeasurementColors", "Szary") },
        { 0xC0C0C0, QCoreApplication::translate("MeasurementColors", "Srebrny") },
        { 0x0000FF, QCoreApplication::translate("MeasurementColors", "Czerwony") },
        { 0x00FF00, QCoreApplication::translate("MeasurementColors", "Jasnozielony") },
        { 0x00FFFF, QCoreApplication::translate("MeasurementColors", "Żółty") },
        { 0xFF0000, QCoreApplication::translate("MeasurementColors", "Niebieski") },
        { 0xFF00FF, QCoreApplication::translate("MeasurementColors", "Różowy") },
        { 0xFFFF00, QCoreApplication::translate("MeasurementColors", "Turkusowy") },
        { 0xFFFFFF, QCoreApplication::translate("MeasurementColors", "Biały") },
    };
}
