#pragma once

#include <QFont>
#include <QString>

// The texts and fonts the program's pictures (the directivity map, the spin) label their axes
// with, alike in both. Any thread that paints.
class TPictureText
{
public:
    // The typographic minus of negative labels.
    static const QString Minus;

    // The default font at pixels height (at least 1 pixel).
    static QFont FontOfSize(double pixels, bool bold = false);
    // "500", "2k", "12.5k": a frequency axis label, Hz.
    static QString FrequencyLabel(double hz);
    // "−30", "0", "6": a level in dB (or an angle) as its axis shows it, with the typographic
    // minus; the value as given, round it first where whole numbers are meant.
    static QString SignedLabel(double value);
};
