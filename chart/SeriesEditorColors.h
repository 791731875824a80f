#pragma once

#include "controls/NamedColor.h"

#include <QList>

// The sixteen colours the series editor offers for a series, in the order of its colour
// drop-down: the eight dark shades (black first), then the eight bright ones (red first).
// Colours are 0x00BBGGRR. The default series colour (pure red) is "Czerwony".
QList<TNamedColor> SeriesEditorColors();
