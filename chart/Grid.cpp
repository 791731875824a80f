#include "chart/Grid.h"

#include "chart/PolarGraph.h"
#include "chart/WinColor.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace {

// The pixel at distance d (pixels) and angle a (degrees, clockwise from the top).
QPoint PointAt(const QPoint &center, double d, double a)
{
    const double theta = a * M_PI / 180.0;
    return QPoint(TPolarGraph::Nearest(center.x() + d * std::sin(theta)),
                  TPolarGraph::Nearest(center.y() - d * std::cos(theta)));
}

// Calls fn(k, r) for k = 1 … count with r = Nearest(k × px). Where the circles are less
// than a pixel apart, runs of k giving the same radius are skipped after their first, so
// that huge level spans cannot keep the drawing busy for minutes.
template<typename Fn>
void ForEachCircle(qint64 count, double px, Fn fn)
{
    if (px == 0)
        return;
    qint64 k = 1;
    int previous = 0;
    while (k <= count) {
        const int r = TPolarGraph::Nearest(double(k) * px);
        if (k == 1 || r != previous || std::abs(px) >= 1)
            fn(k, r);
        previous = r;
        if (std::abs(px) >= 1) {
            ++k;
            continue;
        }
        const double next = std::ceil((std::abs(r) + 0.5) / std::abs(px));
        k = std::max(k + 1, next > double(count) ? count + 1 : qint64(next));
    }
}

} // namespace

TGrid::TGrid(TPolarGraph &graph)
    : m_graph(&graph)
    , m_font(QStringLiteral("Arial"))
{
    m_font.setPointSize(8);
}

template<typename T>
void TGrid::Assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

void TGrid::Changed()
{
    m_graph->SetNeedsRender();
    if (m_graph->AutoRepaint())
        m_graph->PaintNow();
    m_graph->Change();
}

void TGrid::SetFont(const QFont &font)
{
    if (&font != &m_font)
        m_font = font;
    Changed();
}

void TGrid::SetAngleStep(int value)
{
    Assign(m_angleStep, value);
}
void TGrid::SetAngleMainStep(int value)
{
    Assign(m_angleMainStep, value);
}
void TGrid::SetRadiusStep(int value)
{
    Assign(m_radiusStep, value);
}
void TGrid::SetRadiusMainStep(int value)
{
    Assign(m_radiusMainStep, value);
}
void TGrid::SetRadiusMax(int value)
{
    Assign(m_radiusMax, value);
}
void TGrid::SetRadiusMin(int value)
{
    Assign(m_radiusMin, value);
}
void TGrid::SetUnits(const QString &value)
{
    Assign(m_units, value);
}
void TGrid::SetLineMainColor(quint32 value)
{
    Assign(m_lineMainColor, value);
}
void TGrid::SetLineColor(quint32 value)
{
    Assign(m_lineColor, value);
}
void TGrid::SetAlignToRight(bool value)
{
    Assign(m_alignToRight, value);
}

qint64 TGrid::Span() const
{
    return std::llabs(qint64(m_radiusMax) - qint64(m_radiusMin));
}

void TGrid::Draw(QPainter &Canvas, const QRect &Area)
{
    const bool bw = m_graph->BlackOnWhite();
    Canvas.setFont(m_font);
    const QFontMetrics fm(m_font, Canvas.device());
    const int lw = fm.horizontalAdvance(QStringLiteral("-180°"));

    const int w = Area.width();
    const int h = Area.height();
    const int m = TPolarGraph::MmToPixels(Canvas.device(), m_graph->Margin());
    const int left = Area.left();
    const int top = Area.top();
    int radius;
    QPoint center;
    if (h < w) {
        radius = h / 2 - m - lw;
        center = m_alignToRight ? QPoint(left + w - h / 2, top + h - h / 2)
                                : QPoint(left + w / 2, top + h / 2);
    } else {
        radius = w / 2 - m - lw;
        center = m_alignToRight ? QPoint(left + w - w / 2, top + h - h / 2)
                                : QPoint(left + w / 2, top + h / 2);
    }
    m_graph->SetScale(center, radius);

    const QColor textColor = bw ? QColor(Qt::black) : WinColor::ToQColor(WinColor::clWindowText);
    const QColor discColor = bw ? QColor(Qt::white) : WinColor::ToQColor(m_graph->Color());
    Canvas.setPen(QPen(WinColor::ToQColor(m_lineMainColor), 1));
    Canvas.setBrush(discColor);
    const int outer = radius + lw;
    Canvas.drawEllipse(center, outer, outer);
    Canvas.setBrush(Qt::NoBrush);

    DrawRays(Canvas, lw, TPolarGraph::MmToPixels(Canvas.device(), 1));
    Canvas.setPen(textColor);
    DrawCircles(Canvas);
}

void TGrid::DrawRays(QPainter &Canvas, int lw, int onePx)
{
    const bool bw = m_graph->BlackOnWhite();
    const QPoint center = m_graph->Center();
    const int radius = m_graph->Radius();

    if (m_angleStep != 0) {
        Canvas.setPen(
            QPen(bw ? QColor(Qt::black) : WinColor::ToQColor(m_lineColor), 1, Qt::DotLine));
        const int count = 359 / m_angleStep;
        for (int k = 0; k <= count; ++k) {
            const int a = k * m_angleStep;
            if (m_angleMainStep != 0 && a / m_angleMainStep == 0 && m_angleMainStep < a)
                continue;
            Canvas.drawLine(center, PointAt(center, radius, a));
        }
    }

    if (m_angleMainStep == 0)
        return;
    const QFontMetrics fm(m_font, Canvas.device());
    const QColor mainColor = bw ? QColor(Qt::black) : WinColor::ToQColor(m_lineMainColor);
    const QColor textColor = bw ? QColor(Qt::black) : WinColor::ToQColor(WinColor::clWindowText);
    const int count = 359 / m_angleMainStep;
    for (int k = 0; k <= count; ++k) {
        const int a = k * m_angleMainStep;
        Canvas.setPen(QPen(mainColor, 1));
        Canvas.drawLine(center, PointAt(center, radius + onePx, a));
        const QString label = QString::number(a <= 180 ? a : a - 360) + QStringLiteral("°");
        const QPoint at = PointAt(center, radius + lw / 2, a);
        const int tw = fm.horizontalAdvance(label);
        const int th = fm.height();
        Canvas.setPen(textColor);
        Canvas.drawText(QPoint(at.x() - tw / 2, at.y() - th / 2 + fm.ascent()), label);
    }
}

void TGrid::DrawCircles(QPainter &Canvas)
{
    const qint64 span = Span();
    if (span == 0)
        return;
    const bool bw = m_graph->BlackOnWhite();
    const QPoint center = m_graph->Center();
    const int radius = m_graph->Radius();
    const double minorPx = double(radius) * m_radiusStep / double(span);

    if (m_radiusStep != 0) {
        Canvas.setPen(
            QPen(bw ? QColor(Qt::black) : WinColor::ToQColor(m_lineColor), 1, Qt::DotLine));
        ForEachCircle(span / m_radiusStep, minorPx,
                      [&](qint64, int r) { Canvas.drawEllipse(center, r, r); });
    }

    if (m_radiusMainStep == 0)
        return;
    const int dir = m_radiusMax > m_radiusMin ? 1 : -1;
    const QFontMetrics fm(m_font, Canvas.device());
    const QColor mainColor = bw ? QColor(Qt::black) : WinColor::ToQColor(m_lineMainColor);
    const QColor textColor = bw ? QColor(Qt::black) : WinColor::ToQColor(WinColor::clWindowText);
    const QColor labelBack = bw ? QColor(Qt::white) : WinColor::ToQColor(m_graph->Color());
    const double mainPx = double(radius) * m_radiusMainStep / double(span);
    const int minorRounded = TPolarGraph::Nearest(minorPx);
    ForEachCircle(span / m_radiusMainStep, mainPx, [&](qint64 k, int r) {
        // A main circle closer to the centre than one dotted spacing is left out.
        if (minorRounded != 0 && r / minorRounded == 0)
            return;
        Canvas.setPen(QPen(mainColor, 1));
        Canvas.drawEllipse(center, r, r);
        const qint64 level = qint64(m_radiusMin) + dir * k * qint64(m_radiusMainStep);
        const QString label = QString::number(level) + QLatin1Char(' ') + m_units;
        const int tw = fm.horizontalAdvance(label);
        const int th = fm.height();
        const QRect box(center.x() - tw, center.y() - r - th / 2, tw, th);
        Canvas.fillRect(box, labelBack);
        Canvas.setPen(textColor);
        Canvas.drawText(QPoint(box.left(), box.top() + fm.ascent()), label);
    });
}
