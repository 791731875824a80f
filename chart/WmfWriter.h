#pragma once

#include "chart/LittleEndianBuffer.h"
#include "chart/MetafileWriter.h"

#include <vector>

// Writes an old-style Windows Metafile with the placeable header (key 0x9AC6CDD7) in the
// record layout Microsoft publishes. Coordinates are 16-bit logical units, 96 per inch;
// the window is the picture size. Text is Windows-1250 with the Eastern European charset
// (characters outside the code page become "?").
class TWmfWriter : public TMetafileWriter
{
public:
    explicit TWmfWriter(const QSize &size);

    void Polyline(const std::vector<QPoint> &points) override;
    void Polygon(const std::vector<QPoint> &points) override;
    void Ellipse(const QRect &box) override;
    void Rectangle(const QRect &box) override;
    void TextOut(const QPoint &position, const QString &text,
                 const std::vector<int> &advances) override;
    QByteArray Finish() override;

    // Text as Windows-1250 bytes, one per character; unmappable characters become '?'.
    static QByteArray EncodeCp1250(const QString &text);

protected:
    void SelectPen(const TGdiPen &pen) override;
    void SelectBrush(const TGdiBrush &brush) override;
    void SelectFont(const TGdiFont &font) override;
    void SelectTextColor(quint32 color) override;

private:
    void BeginRecord(quint16 function);
    void EndRecord();
    void Record(quint16 function, std::initializer_list<qint32> words);
    void PolyRecord(quint16 function, const std::vector<QPoint> &points);
    void Coordinate(int v);
    // Object table: a new object takes the lowest free index, as playback assigns them.
    quint16 AllocateObject();
    void ReplaceObject(quint16 created, int &current);

    QSize m_size;
    TLittleEndianBuffer m_out;
    qsizetype m_recordStart = 0;
    quint32 m_maxRecordWords = 0;
    std::vector<bool> m_objects;
    int m_pen = -1;
    int m_brush = -1;
    int m_font = -1;
    bool m_finished = false;
};
