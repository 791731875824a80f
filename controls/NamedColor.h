#pragma once

#include <QString>
#include <QtGlobal>

// One entry of a colour list offered to the user: the stored colour 0x00BBGGRR and the
// Polish name shown beside its swatch.
struct TNamedColor
{
    quint32 Color;
    QString Name;
};
