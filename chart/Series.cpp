#include "chart/Series.h"

#include "chart/PolarGraph.h"
#include "chart/WinColor.h"

#include <QLine>
#include <QPainter>
#include <QPoint>

#include <cmath>
#include <vector>

TSeries::TSeries(TPolarGraph &graph, int number)
    : m_graph(&graph)
    , m_number(number)
{
    Name = QStringLiteral("Series %1").arg(number);
}

TSeries::~TSeries() = default;

void TSeries::SetColor(quint32 NewColor)
{
    if (NewColor == m_color)
        return;
    m_color = NewColor;
    m_graph->SetNeedsRender();
    if (m_graph->AutoRepaint())
        m_graph->Refresh();
    m_graph->Change();
}

void TSeries::SetPenStyle(Qt::PenStyle NewStyle)
{
    if (NewStyle == m_penStyle)
        return;
    m_penStyle = NewStyle;
    m_graph->SetNeedsRender();
    if (m_graph->AutoRepaint())
        m_graph->Refresh();
    m_graph->Change();
}

int TSeries::Add(double Angle, double Level)
{
    const int result = TPolarData::Add(Angle, Level);
    m_graph->Change();
    return result;
}

void TSeries::Clear()
{
    TPolarData::Clear();
    m_graph->Change();
}

void TSeries::LoadPoints(std::vector<TPolarSample> &&points)
{
    TakePoints(std::move(points));
    m_graph->Change();
}

void TSeries::CopyTo(TPolarGraph &Target) const
{
    // Snapshot first: copying a series onto its own chart must not see the new series grow.
    const std::vector<TPolarSample> points = Points();
    const QString name = Name;
    const quint32 color = m_color;
    const Qt::PenStyle style = m_penStyle;

    TSeries *copy = Target.GetSeries(Target.MaxSeriesNumber() + 1);
    const bool autoRepaint = Target.AutoRepaint();
    Target.SetAutoRepaint(false);
    copy->SetColor(color);
    copy->SetPenStyle(style);
    copy->Name = name;
    Target.SetAutoRepaint(autoRepaint);
    copy->ReservePoints(int(points.size()));
    for (const TPolarSample &p : points)
        copy->Add(p.Angle, p.Level);
    Target.Refresh();
}

void TSeries::Draw(QPainter &Canvas) const
{
    const std::vector<TPolarSample> &points = Points();
    if (points.empty())
        return;
    // Without a level span or a positive radius the scale has no meaning: no curve.
    if (m_graph->Grid().Span() == 0 || m_graph->Radius() <= 0)
        return;

    const bool print = m_graph->PrintMode();
    QPen pen(WinColor::ToQColor(m_color));
    pen.setStyle(m_penStyle);
    pen.setWidth(print ? 2 : 1);
    Canvas.setPen(pen);
    Canvas.setBrush(Qt::NoBrush);

    std::vector<QPoint> run;
    run.reserve(size_t(std::min<size_t>(points.size(), MaxRunPoints)) + 1);
    std::vector<QLine> segments;
    for (size_t start = 0; start < points.size(); start += MaxRunPoints) {
        const size_t end = std::min(points.size(), start + MaxRunPoints);
        run.clear();
        for (size_t i = start; i < end; ++i) {
            // A point without a finite angle or level has no place on the chart; the curve
            // goes from its neighbour to its neighbour.
            if (std::isfinite(points[i].Angle) && std::isfinite(points[i].Level))
                run.push_back(m_graph->PolarToPoint(points[i].Angle, points[i].Level));
        }
        if (run.empty())
            continue;
        if (!print) {
            Canvas.drawPolyline(run.data(), int(run.size()));
            continue;
        }
        // Printers get single segments (move to the first point, a line to each next one).
        segments.clear();
        for (size_t i = 1; i < run.size(); ++i)
            segments.emplace_back(run[i - 1], run[i]);
        if (!segments.empty())
            Canvas.drawLines(segments.data(), int(segments.size()));
    }
}
