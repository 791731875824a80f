#pragma once

// A paint device for tests: records what the chart draws as the primitives of the
// metafile writers (pens, brushes, fonts, polylines, ellipses, rectangles, texts).
#include "chart/MetafilePaintEngine.h"
#include "chart/MetafileWriter.h"

#include <QPaintDevice>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

struct TRecordedOp
{
    enum Kind { Polyline, Polygon, Ellipse, Rectangle, Text } Type;
    std::vector<QPoint> Points; // Polyline, Polygon; Text: the baseline-left point
    QRect Box; // Ellipse, Rectangle (right and bottom excluded)
    QString Str; // Text
    TGdiPen Pen;
    TGdiBrush Brush;
    TGdiFont Font;
    quint32 TextColor = 0;
};

class TRecordingWriter : public TMetafileWriter
{
public:
    std::vector<TRecordedOp> Ops;

    void Polyline(const std::vector<QPoint> &points) override;
    void Polygon(const std::vector<QPoint> &points) override;
    void Ellipse(const QRect &box) override;
    void Rectangle(const QRect &box) override;
    void TextOut(const QPoint &position, const QString &text,
                 const std::vector<int> &advances) override;
    QByteArray Finish() override { return {}; }

    // Helpers for checks.
    std::vector<const TRecordedOp *> OfType(TRecordedOp::Kind kind) const;
    QStringList Texts() const;
    const TRecordedOp *FindText(const QString &text) const;

protected:
    void SelectPen(const TGdiPen &pen) override { m_pen = pen; }
    void SelectBrush(const TGdiBrush &brush) override { m_brush = brush; }
    void SelectFont(const TGdiFont &font) override { m_font = font; }
    void SelectTextColor(quint32 color) override { m_textColor = color; }

private:
    TRecordedOp Make(TRecordedOp::Kind kind) const;

    TGdiPen m_pen;
    TGdiBrush m_brush;
    TGdiFont m_font;
    quint32 m_textColor = 0;
};

class TRecordingDevice : public QPaintDevice
{
public:
    explicit TRecordingDevice(const QSize &size, int dpi = 96);
    ~TRecordingDevice() override;

    QPaintEngine *paintEngine() const override { return m_engine.get(); }
    TRecordingWriter &Writer() { return m_writer; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    int m_dpi;
    TRecordingWriter m_writer;
    std::unique_ptr<TMetafilePaintEngine> m_engine;
};
