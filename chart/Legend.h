#pragma once

#include <QFont>
#include <QRect>

class QPainter;
class TPolarGraph;

enum TLegendPosition : quint8 { lpLeft = 0, lpBottom = 1 };

// The legend of a polar chart: one 10 mm sample line in the series colour and the series
// name per series, in a strip at the left or a band at the bottom; it may also carry the
// chart title. Owned by its TPolarGraph. Legend changes never fire the chart's OnChange;
// they refresh the chart only when its AutoRepaint and DrawLegend are both on.
// GUI thread only.
class TLegend
{
public:
    explicit TLegend(TPolarGraph &graph);

    TPolarGraph &Graph() const { return *m_graph; }

    // Computes Width (left) or Height (bottom) from the contents at each draw. Stored
    // without comparing.
    bool Autosize() const { return m_autosize; }
    void SetAutosize(bool value);
    // Font of the entries; SetFont copies the attributes without comparing.
    const QFont &Font() const { return m_font; }
    void SetFont(const QFont &font);
    // Stored and kept with the document; not used by the drawing.
    int Left() const { return m_left; }
    void SetLeft(int value);
    int Top() const { return m_top; }
    void SetTop(int value);
    // Pixels: width of the left strip, height of the bottom band (computed when Autosize).
    int Width() const { return m_width; }
    void SetWidth(int value);
    int Height() const { return m_height; }
    void SetHeight(int value);
    TLegendPosition Position() const { return m_position; }
    void SetPosition(TLegendPosition value);

    // Draws the legend into Area and takes its space out of Area (left strip or bottom
    // band). Called by the chart's Render only, when the chart's DrawLegend is on.
    void Draw(QPainter &Canvas, QRect &Area);

private:
    void Changed();

    TPolarGraph *m_graph;
    QFont m_font;
    int m_width = 200;
    bool m_autosize = false;
    TLegendPosition m_position = lpLeft;
    int m_height = 0;
    int m_left = 0;
    int m_top = 0;
};
