#include "JsonImport.h"

#include "JsonReader.h"

#include "chart/PolarGraph.h"
#include "chart/Series.h"

#include <cmath>
#include <limits>

namespace {

bool ReadSeries(TJsonReader &json, TImportSeries &series)
{
    return json.ReadObject([&](const QString &key) {
        if (key == QLatin1String("name")) {
            series.HasName = true;
            return json.ReadString(series.Name);
        }
        if (key == QLatin1String("color")) {
            double c = 0;
            if (!json.ReadNumber(c))
                return false;
            if (!(c >= 0.0 && c <= 4294967295.0 && c == std::floor(c)))
                return json.Fail(QStringLiteral("color nie jest liczbą całkowitą od 0 do "
                                                "4294967295"));
            series.HasColor = true;
            series.Color = quint32(c);
            return true;
        }
        if (key == QLatin1String("points")) {
            series.Points.clear();
            return json.ReadArray([&](qsizetype index) {
                if (index >= std::numeric_limits<qint32>::max())
                    return json.Fail(QStringLiteral("za dużo punktów w serii"));
                TPolarSample p {};
                int coordinates = 0;
                const bool ok = json.ReadArray([&](qsizetype i) {
                    if (i >= 2)
                        return json.Fail(QStringLiteral("punkt ma więcej niż 2 liczby"));
                    ++coordinates;
                    return json.ReadCoordinate(i == 0 ? p.Angle : p.Level);
                });
                if (!ok)
                    return false;
                if (coordinates != 2)
                    return json.Fail(QStringLiteral("punkt ma mniej niż 2 liczby"));
                series.Points.push_back(p);
                return true;
            });
        }
        return json.SkipValue();
    });
}

bool ReadDocument(TJsonReader &json, TImportDocument &document)
{
    const bool ok = json.ReadObject([&](const QString &key) {
        if (key == QLatin1String("title"))
            return json.ReadString(document.Title);
        if (key == QLatin1String("info"))
            return json.ReadString(document.Info);
        if (key == QLatin1String("series")) {
            document.HasSeries = true;
            document.Series.clear();
            return json.ReadArray([&](qsizetype index) {
                if (index >= 0xFFFF)
                    return json.Fail(QStringLiteral("plik mieści najwyżej 65535 serii"));
                document.Series.emplace_back();
                return ReadSeries(json, document.Series.back());
            });
        }
        return json.SkipValue();
    });
    if (!ok)
        return false;
    if (!json.AtEnd())
        return json.Fail(QStringLiteral("dane po końcu obiektu"));
    if (!document.HasSeries)
        return json.Fail(QStringLiteral("brak tablicy \"series\""));
    return true;
}

} // namespace

bool ParseImportDocument(QByteArray text, TImportDocument &document, QString &error)
{
    TJsonReader json(std::move(text));
    if (ReadDocument(json, document))
        return true;
    error = json.Error;
    return false;
}

void FillChartFromImport(TImportDocument &document, TPolarGraph &graph)
{
    graph.SetAutoRepaint(false);
    graph.SetTitle(document.Title);
    for (size_t i = 0; i < document.Series.size(); ++i) {
        TImportSeries &source = document.Series[i];
        TSeries *series = graph.GetSeries(int(i));
        if (source.HasName)
            series->Name = source.Name;
        if (source.HasColor)
            series->SetColor(source.Color);
        series->LoadPoints(std::move(source.Points));
    }
}
