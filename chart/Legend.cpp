#include "chart/Legend.h"

#include "chart/PolarGraph.h"
#include "chart/WinColor.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

TLegend::TLegend(TPolarGraph &graph)
    : m_graph(&graph)
    , m_font(QStringLiteral("Arial"))
{
    m_font.setPointSize(8);
}

void TLegend::Changed()
{
    if (m_graph->AutoRepaint() && m_graph->DrawLegend())
        m_graph->Refresh();
}

void TLegend::SetAutosize(bool value)
{
    m_autosize = value;
    Changed();
}

void TLegend::SetFont(const QFont &font)
{
    if (&font != &m_font)
        m_font = font;
    Changed();
}

void TLegend::SetLeft(int value)
{
    if (value == m_left)
        return;
    m_left = value;
    Changed();
}

void TLegend::SetTop(int value)
{
    if (value == m_top)
        return;
    m_top = value;
    Changed();
}

void TLegend::SetWidth(int value)
{
    if (value == m_width)
        return;
    m_width = value;
    Changed();
}

void TLegend::SetHeight(int value)
{
    if (value == m_height)
        return;
    m_height = value;
    Changed();
}

void TLegend::SetPosition(TLegendPosition value)
{
    if (value == m_position)
        return;
    m_position = value;
    Changed();
}

void TLegend::Draw(QPainter &Canvas, QRect &Area)
{
    const TPolarGraph &graph = *m_graph;
    const bool bw = graph.BlackOnWhite();
    const int m = TPolarGraph::MmToPixels(Canvas.device(), graph.Margin());
    const int x0 = Area.left() + m;
    const int y0 = Area.top() + m;
    const int sample = TPolarGraph::MmToPixels(Canvas.device(), 10);
    // Right and bottom as exclusive edges, the way the layout rules count them.
    const int right = Area.left() + Area.width();
    const int bottom = Area.top() + Area.height();

    Canvas.fillRect(Area, bw ? QColor(Qt::white) : WinColor::ToQColor(graph.MarginColor()));
    Canvas.setFont(m_font);
    const QFontMetrics fm(m_font, Canvas.device());
    const int h = fm.height();
    const QColor textColor = bw ? QColor(Qt::black) : WinColor::ToQColor(WinColor::clWindowText);
    const int penWidth = graph.PrintMode() ? 2 : 1;

    auto drawEntry = [&](const TSeries &s, int lineTop) {
        const QString text = QStringLiteral("  ") + s.Name;
        Canvas.setPen(QPen(WinColor::ToQColor(s.Color()), penWidth, Qt::SolidLine));
        Canvas.drawLine(x0, lineTop + h / 2, x0 + sample, lineTop + h / 2);
        Canvas.setPen(textColor);
        Canvas.drawText(QPoint(x0 + sample, lineTop + fm.ascent()), text);
        return fm.horizontalAdvance(text);
    };

    const QList<TSeries *> series = graph.SeriesList();
    if (m_position == lpLeft) {
        int n = 0;
        int maxWidth = 0;
        for (const TSeries *s : series) {
            ++n;
            maxWidth = std::max(maxWidth, drawEntry(*s, y0 + 2 * h * n));
        }
        if (m_autosize) {
            m_width = x0 + sample + maxWidth + 4 - Area.left();
            m_height = bottom - Area.top();
        }
        Area.setLeft(Area.left() + m_width);
    } else if (m_position == lpBottom) {
        if (m_autosize) {
            // Entries sit two lines apart from the second line on: N entries need 2N + 1
            // lines, plus the margin below the last one.
            m_height = (2 * graph.SeriesCount() + 1) * h + m;
            m_width = right - Area.left();
        }
        const int band = bottom - m_height;
        int n = 0;
        for (const TSeries *s : series) {
            ++n;
            drawEntry(*s, band + 2 * h * n);
        }
        Area.setBottom(Area.bottom() - m_height);
    }

    if (graph.MergeTitleToLegend()) {
        Canvas.setFont(graph.Font());
        const QFontMetrics tfm(graph.Font(), Canvas.device());
        Canvas.setPen(textColor);
        Canvas.drawText(QPoint(x0, y0 + tfm.ascent()), graph.Title());
    }
}
