#pragma once

#include "chart/LittleEndianBuffer.h"
#include "chart/MetafileWriter.h"

// Writes an Enhanced Metafile (EMF) in the record layout Microsoft publishes: header,
// state and object records, drawing records in logical units (mapping mode MM_TEXT, one
// unit per pixel of a 96-per-inch reference device), end-of-file record. Text is UTF-16.
class TEmfWriter : public TMetafileWriter
{
public:
    // size: picture size in logical units.
    explicit TEmfWriter(const QSize &size);

    void Polyline(const std::vector<QPoint> &points) override;
    void Polygon(const std::vector<QPoint> &points) override;
    void Ellipse(const QRect &box) override;
    void Rectangle(const QRect &box) override;
    void TextOut(const QPoint &position, const QString &text,
                 const std::vector<int> &advances) override;
    QByteArray Finish() override;

protected:
    void SelectPen(const TGdiPen &pen) override;
    void SelectBrush(const TGdiBrush &brush) override;
    void SelectFont(const TGdiFont &font) override;
    void SelectTextColor(quint32 color) override;

private:
    // Object table slots: two per kind, used in turn, so that the new object is selected
    // before the old one is deleted.
    enum : quint32 { PenSlot = 1, BrushSlot = 3, FontSlot = 5, HandleCount = 7 };

    void BeginRecord(quint32 type);
    void EndRecord();
    void Record(quint32 type, std::initializer_list<qint32> values);
    void PolyRecord(quint32 type16, quint32 type32, const std::vector<QPoint> &points);
    quint32 NextSlot(quint32 base, quint32 &current);
    void ReplaceObject(quint32 slot, quint32 old);

    QSize m_size;
    TLittleEndianBuffer m_out;
    qsizetype m_recordStart = 0;
    quint32 m_records = 0;
    quint32 m_pen = 0;
    quint32 m_brush = 0;
    quint32 m_font = 0;
    bool m_finished = false;
};
