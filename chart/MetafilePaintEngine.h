#pragma once

#include <QBrush>
#include <QFont>
#include <QPaintEngine>
#include <QPen>
#include <QTransform>

class TMetafileWriter;

// Turns QPainter calls into the primitives of a Windows metafile writer: pens (solid,
// dashed, dotted; width), brushes (solid or none), rectangles, ellipses, polylines,
// polygons and text with its font. Paths are flattened into polylines and polygons.
// No anti-aliasing, no clipping, no images (the chart draws none). The writer is not owned.
class TMetafilePaintEngine : public QPaintEngine
{
public:
    TMetafilePaintEngine(TMetafileWriter &writer, QPaintDevice &device);

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;

    void drawRects(const QRectF *rects, int rectCount) override;
    void drawLines(const QLineF *lines, int lineCount) override;
    void drawEllipse(const QRectF &rect) override;
    void drawPath(const QPainterPath &path) override;
    void drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) override;
    void drawTextItem(const QPointF &p, const QTextItem &textItem) override;
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override;

    Type type() const override { return QPaintEngine::User; }

private:
    QPoint Map(const QPointF &p) const;
    void ApplyPen();
    void ApplyBrush();
    void ApplyNoBrush();
    bool HasPen() const { return m_pen.style() != Qt::NoPen; }

    TMetafileWriter &m_writer;
    QPaintDevice &m_device;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    QTransform m_transform;
};
