#pragma once

#include "chart/PolarSample.h"

#include <QByteArray>
#include <QString>

#include <vector>

class TPolarGraph;

// The JSON form of a characteristic file that "orvi-cli dump" writes and "orvi-cli import"
// reads back: {"title", "info", "series": [{"name", "color", "points": [[angle, level], ...]}]}.
// Other members ("number", "date") are read over and ignored.

struct TImportSeries
{
    bool HasName = false;
    QString Name;
    bool HasColor = false;
    quint32 Color = 0;
    std::vector<TPolarSample> Points;
};

struct TImportDocument
{
    QString Title;
    QString Info;
    bool HasSeries = false;
    std::vector<TImportSeries> Series;
};

// Parses text into document. On failure returns false with the reason and its byte offset
// in error (Polish); document is then incomplete and must not be used.
bool ParseImportDocument(QByteArray text, TImportDocument &document, QString &error);

// Puts the document into graph (an empty chart) as its series 0, 1, ... in array order,
// with its title; the points are handed over, so document's point arrays end up empty.
void FillChartFromImport(TImportDocument &document, TPolarGraph &graph);
