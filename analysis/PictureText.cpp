#include "analysis/PictureText.h"

#include <algorithm>
#include <cmath>

const QString TPictureText::Minus = QStringLiteral("\u2212");

QFont TPictureText::FontOfSize(double pixels, bool bold)
{
    QFont font;
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

QString TPictureText::FrequencyLabel(double hz)
{
    return hz >= 1000.0 ? QStringLiteral("%1k").arg(hz / 1000.0) : QString::number(hz);
}

QString TPictureText::SignedLabel(double value)
{
    return value < 0 ? Minus + QString::number(-value) : QString::number(value);
}
