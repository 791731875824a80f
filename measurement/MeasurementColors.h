#pragma once

#include "controls/NamedColor.h"

#include <QList>

// The sixteen colours offered for a new measurement's series, in the order of the
// "Nowy pomiar" drop-down. Colours are 0x00BBGGRR.
QList<TNamedColor> MeasurementColors();
