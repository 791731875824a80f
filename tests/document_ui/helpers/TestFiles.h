#pragma once

// Characteristic files for tests, written by the program's own file object.

#include "chart/PolarGraph.h"
#include "document/OvkFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cmath>

// Writes a document with the given title and seriesCount series of 36 points to path.
inline void WriteTestDocument(const QString &path, const QString &title, int seriesCount = 1)
{
    TPolarGraph graph;
    graph.SetTitle(title);
    for (int s = 0; s < seriesCount; ++s) {
        TSeries *series = graph.GetSeries(s);
        series->Name = QStringLiteral("Pomiar %1").arg(s + 1);
        series->SetColor(s == 0 ? 0x000080 : 0x008000);
        for (int a = 0; a < 360; a += 10)
            series->Add(a, -3.0 * s - 20.0 * (1.0 - std::cos(a * 3.14159265358979 / 180.0)) / 2);
    }
    TOvkFile file(&graph, path);
    file.SetTitle(title);
    file.Save();
}

// A file of 32 bytes that is not a characteristic file.
inline void WriteForeignFile(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray("ORVI SYSTEM V2.0").append(16, '\0'));
}
