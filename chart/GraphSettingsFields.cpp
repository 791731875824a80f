#include "chart/GraphSettingsFields.h"

#include "chart/PolarGraph.h"

#include <cmath>

namespace {

using TGetter = int (TGrid::*)() const;
using TSetter = void (TGrid::*)(int);

struct TGridAccess
{
    TGetter Get;
    TSetter Set;
};

// Indexed by TGraphSettingsFields::EGridField.
constexpr std::array<TGridAccess, TGraphSettingsFields::gfCount> GridAccess = { {
    { &TGrid::AngleMainStep, &TGrid::SetAngleMainStep },
    { &TGrid::AngleStep, &TGrid::SetAngleStep },
    { &TGrid::RadiusMainStep, &TGrid::SetRadiusMainStep },
    { &TGrid::RadiusStep, &TGrid::SetRadiusStep },
    { &TGrid::RadiusMax, &TGrid::SetRadiusMax },
    { &TGrid::RadiusMin, &TGrid::SetRadiusMin },
} };

// Whole points; fonts given in pixels are converted at the screen's 96 dots per inch.
int PointSize(const QFont &font)
{
    if (font.pointSizeF() > 0)
        return int(std::lround(font.pointSizeF()));
    return int(std::lround(font.pixelSize() * 72.0 / 96.0));
}

} // namespace

TGraphSettingsFields TGraphSettingsFields::Load(const TPolarGraph &graph)
{
    TGraphSettingsFields fields;
    const TGrid &grid = graph.Grid();
    for (int f = 0; f < gfCount; ++f)
        fields.Grid[size_t(f)] = QString::number((grid.*GridAccess[size_t(f)].Get)());
    fields.Title = graph.Title();
    fields.Units = grid.Units();
    fields.TitleFont = graph.Font();
    fields.GridFont = grid.Font();
    fields.LegendFont = graph.Legend().Font();
    return fields;
}

void TGraphSettingsFields::Store(TPolarGraph &graph)
{
    TGrid &grid = graph.Grid();
    graph.SetAutoRepaint(false);
    for (int f = 0; f < gfCount; ++f) {
        const TGridAccess &access = GridAccess[size_t(f)];
        int value = 0;
        if (ParseGridValue(Grid[size_t(f)], value))
            (grid.*access.Set)(value);
        else
            Grid[size_t(f)] = QString::number((grid.*access.Get)());
    }
    graph.SetTitle(Title);
    grid.SetUnits(Units);
    graph.Legend().SetFont(LegendFont);
    grid.SetFont(GridFont);
    graph.SetFont(TitleFont);
    graph.SetAutoRepaint(true);
}

QString TGraphSettingsFields::FontDescription(const QFont &font)
{
    QString text = font.family() + QStringLiteral(", ") + QString::number(PointSize(font));
    if (font.bold())
        text += tr(", pogrubiony");
    if (font.italic())
        text += tr(", kursywa");
    return text;
}

bool TGraphSettingsFields::ParseGridValue(const QString &text, int &value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (!sign && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return false;
    }
    bool ok = false;
    const int parsed = trimmed.toInt(&ok, 10);
    if (ok)
        value = parsed;
    return ok;
}
