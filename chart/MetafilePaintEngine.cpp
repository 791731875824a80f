#include "chart/MetafilePaintEngine.h"

#include "chart/MetafileWriter.h"
#include "chart/WinColor.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QTextItem>

#include <cmath>
#include <vector>

namespace {

quint16 PenStyleOf(Qt::PenStyle style)
{
    switch (style) {
    case Qt::NoPen:
        return TGdiPen::Null;
    case Qt::DashLine:
        return TGdiPen::Dash;
    case Qt::DotLine:
        return TGdiPen::Dot;
    case Qt::DashDotLine:
        return TGdiPen::DashDot;
    case Qt::DashDotDotLine:
        return TGdiPen::DashDotDot;
    default:
        return TGdiPen::Solid;
    }
}

} // namespace

TMetafilePaintEngine::TMetafilePaintEngine(TMetafileWriter &writer, QPaintDevice &device)
    : QPaintEngine(QPaintEngine::AllFeatures)
    , m_writer(writer)
    , m_device(device)
{ }

bool TMetafilePaintEngine::begin(QPaintDevice *)
{
    setActive(true);
    return true;
}

bool TMetafilePaintEngine::end()
{
    setActive(false);
    return true;
}

void TMetafilePaintEngine::updateState(const QPaintEngineState &state)
{
    const DirtyFlags flags = state.state();
    if (flags & DirtyPen)
        m_pen = state.pen();
    if (flags & DirtyBrush)
        m_brush = state.brush();
    if (flags & DirtyFont)
        m_font = state.font();
    if (flags & DirtyTransform)
        m_transform = state.transform();
}

QPoint TMetafilePaintEngine::Map(const QPointF &p) const
{
    const QPointF m = m_transform.map(p);
    return QPoint(int(std::lround(m.x())), int(std::lround(m.y())));
}

void TMetafilePaintEngine::ApplyPen()
{
    TGdiPen pen;
    pen.PenStyle = PenStyleOf(m_pen.style());
    pen.Width = std::max(1, int(std::lround(m_pen.widthF())));
    pen.Color = WinColor::FromQColor(m_pen.color());
    m_writer.SetPen(pen);
}

void TMetafilePaintEngine::ApplyBrush()
{
    TGdiBrush brush;
    if (m_brush.style() == Qt::NoBrush) {
        brush.BrushStyle = TGdiBrush::Null;
    } else {
        brush.BrushStyle = TGdiBrush::Solid;
        brush.Color = WinColor::FromQColor(m_brush.color());
    }
    m_writer.SetBrush(brush);
}

void TMetafilePaintEngine::ApplyNoBrush()
{
    TGdiBrush brush;
    brush.BrushStyle = TGdiBrush::Null;
    m_writer.SetBrush(brush);
}

void TMetafilePaintEngine::drawRects(const QRectF *rects, int rectCount)
{
    for (int i = 0; i < rectCount; ++i) {
        const QRectF r = m_transform.mapRect(rects[i]);
        const int left = int(std::lround(r.left()));
        const int top = int(std::lround(r.top()));
        const int right = int(std::lround(r.right()));
        const int bottom = int(std::lround(r.bottom()));
        if (HasPen()) {
            // A stroked Qt rectangle covers its right and bottom edge pixels too.
            ApplyPen();
            ApplyBrush();
            m_writer.Rectangle(QRect(left, top, right - left + 1, bottom - top + 1));
        } else if (m_brush.style() != Qt::NoBrush) {
            // A fill: outlined in its own colour, so that every reader fills exactly the
            // covered pixels whatever it does with the excluded edges of a null pen.
            TGdiPen pen;
            pen.Color = WinColor::FromQColor(m_brush.color());
            m_writer.SetPen(pen);
            ApplyBrush();
            m_writer.Rectangle(QRect(left, top, right - left, bottom - top));
        }
    }
}

void TMetafilePaintEngine::drawLines(const QLineF *lines, int lineCount)
{
    if (!HasPen())
        return;
    ApplyPen();
    std::vector<QPoint> pts(2);
    for (int i = 0; i < lineCount; ++i) {
        pts[0] = Map(lines[i].p1());
        pts[1] = Map(lines[i].p2());
        m_writer.Polyline(pts);
    }
}

void TMetafilePaintEngine::drawEllipse(const QRectF &rect)
{
    if (!HasPen() && m_brush.style() == Qt::NoBrush)
        return;
    const QRectF r = m_transform.mapRect(rect);
    const int left = int(std::lround(r.left()));
    const int top = int(std::lround(r.top()));
    const int right = int(std::lround(r.right()));
    const int bottom = int(std::lround(r.bottom()));
    ApplyPen();
    ApplyBrush();
    // The drawing interface leaves out the right and bottom edges of the box.
    m_writer.Ellipse(QRect(left, top, right - left + 1, bottom - top + 1));
}

void TMetafilePaintEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode)
{
    if (pointCount <= 0)
        return;
    std::vector<QPoint> pts;
    pts.reserve(size_t(pointCount));
    for (int i = 0; i < pointCount; ++i)
        pts.push_back(Map(points[i]));
    if (mode == PolylineMode) {
        if (!HasPen())
            return;
        ApplyPen();
        m_writer.Polyline(pts);
        return;
    }
    if (!HasPen() && m_brush.style() == Qt::NoBrush)
        return;
    ApplyPen();
    ApplyBrush();
    m_writer.Polygon(pts);
}

void TMetafilePaintEngine::drawPath(const QPainterPath &path)
{
    const QTransform identity;
    const bool fill = m_brush.style() != Qt::NoBrush;
    for (const QPolygonF &poly : path.toSubpathPolygons(identity)) {
        if (fill)
            drawPolygon(poly.constData(), int(poly.size()), OddEvenMode);
        else
            drawPolygon(poly.constData(), int(poly.size()), PolylineMode);
    }
}

void TMetafilePaintEngine::drawTextItem(const QPointF &p, const QTextItem &textItem)
{
    const QString text = textItem.text();
    if (text.isEmpty())
        return;
    const QFont font = textItem.font();
    const QFontMetricsF fm(font, &m_device);

    TGdiFont gdi;
    gdi.Face = font.family();
    // Negative height: the character height (em) in logical units, as the font was sized.
    if (font.pixelSize() > 0)
        gdi.Height = -font.pixelSize();
    else
        gdi.Height
            = -std::max(1, int(std::lround(font.pointSizeF() * m_device.logicalDpiY() / 72.0)));
    gdi.Weight = std::clamp(int(font.weight()), 1, 1000);
    gdi.Italic = font.italic();
    gdi.Underline = font.underline();
    gdi.StrikeOut = font.strikeOut();
    m_writer.SetFont(gdi);
    m_writer.SetTextColor(WinColor::FromQColor(m_pen.color()));

    // Whole-unit advances from rounded cumulative positions, so that rounding errors do not
    // add up along the string.
    std::vector<int> advances;
    advances.reserve(size_t(text.size()));
    int previous = 0;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        const int x = int(std::lround(fm.horizontalAdvance(text.left(i))));
        advances.push_back(x - previous);
        previous = x;
    }
    m_writer.TextOut(Map(p), text, advances);
}

void TMetafilePaintEngine::drawPixmap(const QRectF &, const QPixmap &, const QRectF &)
{
    // Pictures are not part of a chart; nothing to record.
}
