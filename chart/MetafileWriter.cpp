#include "chart/MetafileWriter.h"

void TMetafileWriter::SetPen(const TGdiPen &pen)
{
    if (m_hasPen && pen == m_pen)
        return;
    m_pen = pen;
    m_hasPen = true;
    SelectPen(pen);
}

void TMetafileWriter::SetBrush(const TGdiBrush &brush)
{
    if (m_hasBrush && brush == m_brush)
        return;
    m_brush = brush;
    m_hasBrush = true;
    SelectBrush(brush);
}

void TMetafileWriter::SetFont(const TGdiFont &font)
{
    if (m_hasFont && font == m_font)
        return;
    m_font = font;
    m_hasFont = true;
    SelectFont(font);
}

void TMetafileWriter::SetTextColor(quint32 color)
{
    if (m_hasTextColor && color == m_textColor)
        return;
    m_textColor = color;
    m_hasTextColor = true;
    SelectTextColor(color);
}
