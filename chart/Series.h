#pragma once

#include "chart/PolarData.h"

#include <Qt>
#include <QtGlobal>

class QPainter;
class TPolarGraph;

// One curve of a polar chart: points (TPolarData) plus colour, pen style and its Number,
// the key of the series inside its chart. Created only by TPolarGraph::GetSeries and owned
// by that chart; destroyed by TPolarGraph::DeleteSeries, ClearSeries or with the chart.
// GUI thread only.
class TSeries : public TPolarData
{
public:
    ~TSeries() override;

    int Number() const { return m_number; }
    TPolarGraph &Graph() const { return *m_graph; }

    // Curve colour in the Windows form 0x00BBGGRR (or a system-colour code). Default 255 (red).
    quint32 Color() const { return m_color; }
    // Unchanged value: nothing. Otherwise stores it, marks the chart for rendering, refreshes
    // it when its AutoRepaint is on and fires its OnChange in every case.
    void SetColor(quint32 NewColor);

    Qt::PenStyle PenStyle() const { return m_penStyle; }
    // The same rule as SetColor.
    void SetPenStyle(Qt::PenStyle NewStyle);

    // Appends a point and fires the chart's OnChange; does not mark the chart for redrawing.
    int Add(double Angle, double Level) override;
    // Removes every point and fires the chart's OnChange.
    void Clear() override;
    // A bulk load: the points become exactly these, their storage taken over without a copy.
    // The end state is that of SetPoints (Clear, then Add per point), but the chart's OnChange
    // fires once instead of once for the clear and once per point.
    void LoadPoints(std::vector<TPolarSample> &&points);

    // Creates a copy of this series as the next new series of Target (number
    // Target.MaxSeriesNumber() + 1) with the same name, colour, pen style and points, then
    // refreshes Target. Target's OnChange fires for every copied point.
    void CopyTo(TPolarGraph &Target) const;

    // Draws the curve with the chart's current level scale (used by the chart's Render).
    // Runs of at most MaxRunPoints points are drawn as separate polylines; no segment joins
    // two runs.
    void Draw(QPainter &Canvas) const;
    static constexpr int MaxRunPoints = 15000;

private:
    friend class TPolarGraph;
    TSeries(TPolarGraph &graph, int number);

    TPolarGraph *m_graph;
    int m_number;
    quint32 m_color = 255;
    Qt::PenStyle m_penStyle = Qt::SolidLine;
};
