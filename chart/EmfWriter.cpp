#include "chart/EmfWriter.h"

#include <algorithm>
#include <limits>

namespace {

// Record types of the enhanced metafile format.
enum : quint32 {
    EMR_HEADER = 1,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_EOF = 14,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
};

constexpr quint32 EmfSignature = 0x464D4520; // " EMF"
constexpr quint32 EmfVersion = 0x00010000;
constexpr quint32 HeaderSize = 108; // with both header extensions
constexpr quint32 MM_TEXT = 1;
constexpr quint32 TRANSPARENT = 1;
constexpr quint32 ALTERNATE = 1;
constexpr quint32 TA_BASELINE = 24;
constexpr quint32 GM_COMPATIBLE = 1;
// Stock objects are selected by index with the high bit set; NULL_BRUSH is number 5.
constexpr quint32 StockNullBrush = 0x80000005;

// The reference device: 96 pixels per inch exactly (1920 × 1440 pixels = 508 × 381 mm).
constexpr qint32 DevicePixelsX = 1920;
constexpr qint32 DevicePixelsY = 1440;
constexpr qint32 DeviceMmX = 508;
constexpr qint32 DeviceMmY = 381;
constexpr double HundredthsMmPerUnit = 2540.0 / 96.0;

bool FitsShort(const QPoint &p)
{
    constexpr int lo = std::numeric_limits<qint16>::min();
    constexpr int hi = std::numeric_limits<qint16>::max();
    return p.x() >= lo && p.x() <= hi && p.y() >= lo && p.y() <= hi;
}

} // namespace

TEmfWriter::TEmfWriter(const QSize &size)
    : m_size(size)
{
    // The header's counts and sizes are patched in Finish.
    BeginRecord(EMR_HEADER);
    const qint32 w = size.width();
    const qint32 h = size.height();
    for (qint32 v : { 0, 0, w - 1, h - 1 }) // Bounds, inclusive, device units
        m_out.I32(v);
    for (qint32 v : { 0, 0, qRound(w * HundredthsMmPerUnit) - 1,
                      qRound(h * HundredthsMmPerUnit) - 1 }) // Frame, 0.01 mm
        m_out.I32(v);
    m_out.U32(EmfSignature);
    m_out.U32(EmfVersion);
    m_out.U32(0); // Bytes
    m_out.U32(0); // Records
    m_out.U16(HandleCount);
    m_out.U16(0); // Reserved
    m_out.U32(0); // nDescription
    m_out.U32(0); // offDescription
    m_out.U32(0); // nPalEntries
    m_out.I32(DevicePixelsX);
    m_out.I32(DevicePixelsY);
    m_out.I32(DeviceMmX);
    m_out.I32(DeviceMmY);
    m_out.U32(0); // cbPixelFormat
    m_out.U32(0); // offPixelFormat
    m_out.U32(0); // bOpenGL
    m_out.I32(DeviceMmX * 1000);
    m_out.I32(DeviceMmY * 1000);
    EndRecord();

    Record(EMR_SETMAPMODE, { MM_TEXT });
    Record(EMR_SETBKMODE, { TRANSPARENT });
    Record(EMR_SETPOLYFILLMODE, { ALTERNATE });
    Record(EMR_SETTEXTALIGN, { TA_BASELINE });
}

void TEmfWriter::BeginRecord(quint32 type)
{
    m_recordStart = m_out.Size();
    m_out.U32(type);
    m_out.U32(0); // size, set by EndRecord
}

void TEmfWriter::EndRecord()
{
    m_out.Align(4);
    m_out.PatchU32(m_recordStart + 4, quint32(m_out.Size() - m_recordStart));
    ++m_records;
}

void TEmfWriter::Record(quint32 type, std::initializer_list<qint32> values)
{
    BeginRecord(type);
    for (qint32 v : values)
        m_out.I32(v);
    EndRecord();
}

quint32 TEmfWriter::NextSlot(quint32 base, quint32 &current)
{
    const quint32 old = current;
    current = current == base ? base + 1 : base;
    return old;
}

void TEmfWriter::ReplaceObject(quint32 slot, quint32 old)
{
    Record(EMR_SELECTOBJECT, { qint32(slot) });
    if (old != 0)
        Record(EMR_DELETEOBJECT, { qint32(old) });
}

void TEmfWriter::SelectPen(const TGdiPen &pen)
{
    const quint32 old = NextSlot(PenSlot, m_pen);
    BeginRecord(EMR_CREATEPEN);
    m_out.U32(m_pen);
    m_out.U32(pen.PenStyle);
    m_out.I32(std::max(pen.Width, 0));
    m_out.I32(0);
    m_out.U32(pen.Color);
    EndRecord();
    ReplaceObject(m_pen, old);
}

void TEmfWriter::SelectBrush(const TGdiBrush &brush)
{
    if (brush.BrushStyle == TGdiBrush::Null) {
        // The stock hollow brush: Inkscape fills shapes drawn with a created BS_NULL brush
        // in white, while GDI, LibreOffice and Inkscape all leave them unfilled under
        // NULL_BRUSH. The created brush it replaces is deleted (it is no longer selected),
        // and the next created brush takes a fresh slot.
        Record(EMR_SELECTOBJECT, { qint32(StockNullBrush) });
        if (m_brush != 0)
            Record(EMR_DELETEOBJECT, { qint32(m_brush) });
        m_brush = 0;
        return;
    }
    const quint32 old = NextSlot(BrushSlot, m_brush);
    BeginRecord(EMR_CREATEBRUSHINDIRECT);
    m_out.U32(m_brush);
    m_out.U32(brush.BrushStyle);
    m_out.U32(brush.Color);
    m_out.U32(0); // hatch
    EndRecord();
    ReplaceObject(m_brush, old);
}

void TEmfWriter::SelectFont(const TGdiFont &font)
{
    const quint32 old = NextSlot(FontSlot, m_font);
    BeginRecord(EMR_EXTCREATEFONTINDIRECTW);
    m_out.U32(m_font);
    m_out.I32(font.Height);
    m_out.I32(0); // width: the font's own proportions
    m_out.I32(0); // escapement
    m_out.I32(0); // orientation
    m_out.I32(font.Weight);
    m_out.U8(font.Italic);
    m_out.U8(font.Underline);
    m_out.U8(font.StrikeOut);
    m_out.U8(EastEuropeCharset);
    m_out.U8(0); // output precision: default
    m_out.U8(0); // clipping precision: default
    m_out.U8(0); // quality: default
    m_out.U8(0); // pitch and family: default
    // Face name: 32 UTF-16 code units, zero-terminated.
    const QString face = font.Face.left(31);
    for (QChar c : face)
        m_out.U16(c.unicode());
    m_out.Zeros((32 - face.size()) * 2);
    EndRecord();
    ReplaceObject(m_font, old);
}

void TEmfWriter::SelectTextColor(quint32 color)
{
    Record(EMR_SETTEXTCOLOR, { qint32(color) });
}

void TEmfWriter::PolyRecord(quint32 type16, quint32 type32, const std::vector<QPoint> &points)
{
    if (points.empty())
        return;
    int left = points.front().x(), right = left;
    int top = points.front().y(), bottom = top;
    bool shortOk = true;
    for (const QPoint &p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
        shortOk = shortOk && FitsShort(p);
    }
    BeginRecord(shortOk ? type16 : type32);
    for (qint32 v : { left, top, right, bottom })
        m_out.I32(v);
    m_out.U32(quint32(points.size()));
    for (const QPoint &p : points) {
        if (shortOk) {
            m_out.I16(qint16(p.x()));
            m_out.I16(qint16(p.y()));
        } else {
            m_out.I32(p.x());
            m_out.I32(p.y());
        }
    }
    EndRecord();
}

void TEmfWriter::Polyline(const std::vector<QPoint> &points)
{
    PolyRecord(EMR_POLYLINE16, EMR_POLYLINE, points);
}

void TEmfWriter::Polygon(const std::vector<QPoint> &points)
{
    PolyRecord(EMR_POLYGON16, EMR_POLYGON, points);
}

void TEmfWriter::Ellipse(const QRect &box)
{
    Record(EMR_ELLIPSE,
           { box.left(), box.top(), box.left() + box.width(), box.top() + box.height() });
}

void TEmfWriter::Rectangle(const QRect &box)
{
    Record(EMR_RECTANGLE,
           { box.left(), box.top(), box.left() + box.width(), box.top() + box.height() });
}

void TEmfWriter::TextOut(const QPoint &position, const QString &text,
                         const std::vector<int> &advances)
{
    if (text.isEmpty())
        return;
    const quint32 chars = quint32(text.size());
    constexpr quint32 offString = 76; // fixed part of the record and of its text object
    const quint32 stringBytes = (chars * 2 + 3) & ~3u;
    BeginRecord(EMR_EXTTEXTOUTW);
    for (qint32 v : { 0, 0, -1, -1 }) // bounds: not used by readers
        m_out.I32(v);
    m_out.U32(GM_COMPATIBLE);
    m_out.F32(float(HundredthsMmPerUnit));
    m_out.F32(float(HundredthsMmPerUnit));
    m_out.I32(position.x());
    m_out.I32(position.y());
    m_out.U32(chars);
    m_out.U32(offString);
    m_out.U32(0); // options: no clipping or opaque rectangle
    for (qint32 v : { 0, 0, -1, -1 })
        m_out.I32(v);
    m_out.U32(offString + stringBytes); // offDx
    for (QChar c : text)
        m_out.U16(c.unicode());
    m_out.Align(4);
    for (quint32 i = 0; i < chars; ++i)
        m_out.I32(i < advances.size() ? advances[i] : 0);
    EndRecord();
}

QByteArray TEmfWriter::Finish()
{
    if (!m_finished) {
        BeginRecord(EMR_EOF);
        m_out.U32(0); // nPalEntries
        m_out.U32(16); // offPalEntries
        m_out.U32(20); // SizeLast: the size of this record
        EndRecord();
        m_out.PatchU32(48, quint32(m_out.Size())); // Bytes
        m_out.PatchU32(52, m_records); // Records
        m_finished = true;
    }
    return m_out.Data();
}
