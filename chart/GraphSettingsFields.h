#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QString>

#include <array>

class TPolarGraph;

// What the chart settings dialog edits, as the texts and fonts of its fields: the grid's
// steps and range, the title and level unit, and the title, grid and legend fonts. Nothing
// reaches the chart before Store. GUI thread only.
class TGraphSettingsFields
{
    Q_DECLARE_TR_FUNCTIONS(TGraphSettingsFields)

public:
    // The grid fields, in the order Store writes them: the maximum goes before the minimum.
    enum EGridField : int {
        gfAngleMainStep,
        gfAngleStep,
        gfRadiusMainStep,
        gfRadiusStep,
        gfRadiusMax,
        gfRadiusMin,
        gfCount
    };

    std::array<QString, gfCount> Grid; // decimal texts; degrees for angles, level units else
    QString Title;
    QString Units;
    QFont TitleFont;
    QFont GridFont;
    QFont LegendFont;

    // The chart's current values.
    static TGraphSettingsFields Load(const TPolarGraph &graph);

    // Writes every field into graph with its AutoRepaint off (no repaint in between; it is
    // on again afterwards), grid fields in EGridField order. A grid text that is not a
    // decimal integer leaves its property unchanged and is replaced by the property's
    // current value; no range is checked. Each grid property that changes fires OnChange.
    // The caller refreshes the chart.
    void Store(TPolarGraph &graph);

    // "Arial, 8, pogrubiony": face, size in whole points, then ", pogrubiony" when bold and
    // ", kursywa" when italic.
    static QString FontDescription(const QFont &font);

    // The value of a grid field's text; false when it is not a decimal integer (optional
    // sign, digits, blanks around) that fits the property.
    static bool ParseGridValue(const QString &text, int &value);
};
