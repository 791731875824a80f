#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <vector>

// Drawing objects as the Windows drawing interface knows them (values as the metafile
// formats store them).
struct TGdiPen
{
    enum Style : quint16 { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };
    quint16 PenStyle = Solid;
    int Width = 1; // logical units
    quint32 Color = 0; // 0x00BBGGRR
    bool operator==(const TGdiPen &) const = default;
};

struct TGdiBrush
{
    enum Style : quint16 { Solid = 0, Null = 1 };
    quint16 BrushStyle = Solid;
    quint32 Color = 0; // 0x00BBGGRR
    bool operator==(const TGdiBrush &) const = default;
};

struct TGdiFont
{
    int Height = -11; // negative: character height in logical units
    int Weight = 400; // 400 normal, 700 bold
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    QString Face = QStringLiteral("Arial");
    bool operator==(const TGdiFont &) const = default;
};

// The common part of the EMF and WMF writers: keeps the selected pen, brush, font and text
// colour and emits a change only when one really changes, so that the drawing code can
// state what it needs before every primitive. Coordinates are logical units (one unit per
// pixel of a 96-per-inch device). Not thread-safe; one writer per file.
class TMetafileWriter
{
public:
    // Windows' charset code for Central and Eastern European fonts (Polish letters).
    static constexpr quint8 EastEuropeCharset = 238;

    virtual ~TMetafileWriter() = default;

    void SetPen(const TGdiPen &pen);
    void SetBrush(const TGdiBrush &brush);
    void SetFont(const TGdiFont &font);
    void SetTextColor(quint32 color);

    // Primitives with the Windows drawing interface's conventions: Ellipse and Rectangle
    // take a box whose right and bottom edges are excluded; Polyline does not draw its last
    // pixel; TextOut places the text's baseline-left point at position, with one advance
    // per character (logical units) in advances.
    virtual void Polyline(const std::vector<QPoint> &points) = 0;
    virtual void Polygon(const std::vector<QPoint> &points) = 0;
    virtual void Ellipse(const QRect &box) = 0;
    virtual void Rectangle(const QRect &box) = 0;
    virtual void TextOut(const QPoint &position, const QString &text,
                         const std::vector<int> &advances)
        = 0;

    // The finished file's bytes. No drawing afterwards.
    virtual QByteArray Finish() = 0;

protected:
    virtual void SelectPen(const TGdiPen &pen) = 0;
    virtual void SelectBrush(const TGdiBrush &brush) = 0;
    virtual void SelectFont(const TGdiFont &font) = 0;
    virtual void SelectTextColor(quint32 color) = 0;

private:
    TGdiPen m_pen;
    TGdiBrush m_brush;
    TGdiFont m_font;
    quint32 m_textColor = 0;
    bool m_hasPen = false;
    bool m_hasBrush = false;
    bool m_hasFont = false;
    bool m_hasTextColor = false;
};
