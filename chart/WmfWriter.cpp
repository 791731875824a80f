#include "chart/WmfWriter.h"

#include "controls/CodePage1250.h"

#include <algorithm>

namespace {

// Record functions of the Windows metafile format.
enum : quint16 {
    META_EOF = 0x0000,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_EXTTEXTOUT = 0x0A32,
};

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr quint16 UnitsPerInch = 96;
constexpr qsizetype PlaceableSize = 22; // bytes before the metafile header
constexpr quint16 MM_ANISOTROPIC = 8;
constexpr quint16 TRANSPARENT = 1;
constexpr quint16 ALTERNATE = 1;
constexpr quint16 TA_BASELINE = 24;
constexpr int MaxPolyPoints = 16000; // keeps a record's count in its signed 16-bit field

qint16 Clamp16(int v)
{
    return qint16(std::clamp(v, -32768, 32767));
}

} // namespace

QByteArray TWmfWriter::EncodeCp1250(const QString &text)
{
    return TCodePage1250::Encode(text);
}

TWmfWriter::TWmfWriter(const QSize &size)
    : m_size(size)
{
    const qint16 w = Clamp16(size.width());
    const qint16 h = Clamp16(size.height());
    // Placeable header; its checksum covers the ten 16-bit words before it.
    m_out.U32(PlaceableKey);
    m_out.U16(0); // HWmf
    for (qint16 v : { qint16(0), qint16(0), w, h })
        m_out.I16(v);
    m_out.U16(UnitsPerInch);
    m_out.U32(0); // Reserved
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum
            ^= quint16(quint8(m_out.Data().at(2 * i)) | (quint8(m_out.Data().at(2 * i + 1)) << 8));
    m_out.U16(checksum);

    // Metafile header: type 1 (on disk), 9 words, version 3.0; sizes patched in Finish.
    m_out.U16(1);
    m_out.U16(9);
    m_out.U16(0x0300);
    m_out.U32(0); // Size in words
    m_out.U16(0); // NumberOfObjects
    m_out.U32(0); // MaxRecord in words
    m_out.U16(0); // NumberOfMembers

    Record(META_SETMAPMODE, { MM_ANISOTROPIC });
    Record(META_SETWINDOWORG, { 0, 0 });
    Record(META_SETWINDOWEXT, { h, w });
    Record(META_SETBKMODE, { TRANSPARENT });
    Record(META_SETPOLYFILLMODE, { ALTERNATE });
    Record(META_SETTEXTALIGN, { TA_BASELINE });
}

void TWmfWriter::BeginRecord(quint16 function)
{
    m_recordStart = m_out.Size();
    m_out.U32(0); // size in words, set by EndRecord
    m_out.U16(function);
}

void TWmfWriter::EndRecord()
{
    m_out.Align(2);
    const quint32 words = quint32((m_out.Size() - m_recordStart) / 2);
    m_out.PatchU32(m_recordStart, words);
    m_maxRecordWords = std::max(m_maxRecordWords, words);
}

void TWmfWriter::Record(quint16 function, std::initializer_list<qint32> words)
{
    BeginRecord(function);
    for (qint32 v : words)
        m_out.U16(quint16(v));
    EndRecord();
}

void TWmfWriter::Coordinate(int v)
{
    m_out.I16(Clamp16(v));
}

quint16 TWmfWriter::AllocateObject()
{
    const auto it = std::find(m_objects.begin(), m_objects.end(), false);
    if (it != m_objects.end()) {
        *it = true;
        return quint16(it - m_objects.begin());
    }
    m_objects.push_back(true);
    return quint16(m_objects.size() - 1);
}

void TWmfWriter::ReplaceObject(quint16 created, int &current)
{
    Record(META_SELECTOBJECT, { created });
    if (current >= 0) {
        Record(META_DELETEOBJECT, { current });
        m_objects[size_t(current)] = false;
    }
    current = created;
}

void TWmfWriter::SelectPen(const TGdiPen &pen)
{
    const quint16 index = AllocateObject();
    BeginRecord(META_CREATEPENINDIRECT);
    m_out.U16(pen.PenStyle);
    m_out.I16(Clamp16(std::max(pen.Width, 0)));
    m_out.I16(0);
    m_out.U32(pen.Color);
    EndRecord();
    ReplaceObject(index, m_pen);
}

void TWmfWriter::SelectBrush(const TGdiBrush &brush)
{
    const quint16 index = AllocateObject();
    BeginRecord(META_CREATEBRUSHINDIRECT);
    m_out.U16(brush.BrushStyle);
    m_out.U32(brush.Color);
    m_out.U16(0); // hatch
    EndRecord();
    ReplaceObject(index, m_brush);
}

void TWmfWriter::SelectFont(const TGdiFont &font)
{
    const quint16 index = AllocateObject();
    BeginRecord(META_CREATEFONTINDIRECT);
    m_out.I16(Clamp16(font.Height));
    m_out.I16(0); // width
    m_out.I16(0); // escapement
    m_out.I16(0); // orientation
    m_out.I16(Clamp16(font.Weight));
    m_out.U8(font.Italic);
    m_out.U8(font.Underline);
    m_out.U8(font.StrikeOut);
    m_out.U8(EastEuropeCharset);
    m_out.U8(0); // output precision
    m_out.U8(0); // clipping precision
    m_out.U8(0); // quality
    m_out.U8(0); // pitch and family
    QByteArray face = EncodeCp1250(font.Face).left(31);
    face.append(32 - face.size(), '\0');
    m_out.Bytes(face);
    EndRecord();
    ReplaceObject(index, m_font);
}

void TWmfWriter::SelectTextColor(quint32 color)
{
    BeginRecord(META_SETTEXTCOLOR);
    m_out.U32(color);
    EndRecord();
}

void TWmfWriter::PolyRecord(quint16 function, const std::vector<QPoint> &points)
{
    // Long polylines go out in pieces that share their joining point, so nothing is lost.
    size_t start = 0;
    while (start + 1 < points.size() || (start == 0 && points.size() == 1)) {
        const size_t end = std::min(points.size(), start + MaxPolyPoints);
        BeginRecord(function);
        m_out.I16(qint16(end - start));
        for (size_t i = start; i < end; ++i) {
            Coordinate(points[i].x());
            Coordinate(points[i].y());
        }
        EndRecord();
        if (end == points.size() || function == META_POLYGON)
            break;
        start = end - 1;
    }
}

void TWmfWriter::Polyline(const std::vector<QPoint> &points)
{
    PolyRecord(META_POLYLINE, points);
}

void TWmfWriter::Polygon(const std::vector<QPoint> &points)
{
    PolyRecord(META_POLYGON, points);
}

void TWmfWriter::Ellipse(const QRect &box)
{
    BeginRecord(META_ELLIPSE);
    Coordinate(box.top() + box.height());
    Coordinate(box.left() + box.width());
    Coordinate(box.top());
    Coordinate(box.left());
    EndRecord();
}

void TWmfWriter::Rectangle(const QRect &box)
{
    BeginRecord(META_RECTANGLE);
    Coordinate(box.top() + box.height());
    Coordinate(box.left() + box.width());
    Coordinate(box.top());
    Coordinate(box.left());
    EndRecord();
}

void TWmfWriter::TextOut(const QPoint &position, const QString &text,
                         const std::vector<int> &advances)
{
    const QByteArray bytes = EncodeCp1250(text).left(32000);
    if (bytes.isEmpty())
        return;
    BeginRecord(META_EXTTEXTOUT);
    Coordinate(position.y());
    Coordinate(position.x());
    m_out.I16(qint16(bytes.size()));
    m_out.U16(0); // options: no rectangle
    m_out.Bytes(bytes);
    m_out.Align(2);
    // One advance per byte; a character outside the code page (two UTF-16 units) keeps the
    // advances of both units.
    qsizetype unit = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        int dx = unit < qsizetype(advances.size()) ? advances[size_t(unit)] : 0;
        // The same pairing rule as EncodeCp1250: only a high surrogate followed by a low one
        // became a single byte.
        if (text.at(unit).isHighSurrogate() && unit + 1 < text.size()
            && text.at(unit + 1).isLowSurrogate()) {
            ++unit;
            dx += unit < qsizetype(advances.size()) ? advances[size_t(unit)] : 0;
        }
        ++unit;
        m_out.I16(Clamp16(dx));
    }
    EndRecord();
}

QByteArray TWmfWriter::Finish()
{
    if (!m_finished) {
        BeginRecord(META_EOF);
        EndRecord();
        const quint32 words = quint32((m_out.Size() - PlaceableSize) / 2);
        m_out.PatchU32(PlaceableSize + 6, words);
        m_out.PatchU16(PlaceableSize + 10, quint16(m_objects.size()));
        m_out.PatchU32(PlaceableSize + 12, m_maxRecordWords);
        m_finished = true;
    }
    return m_out.Data();
}
