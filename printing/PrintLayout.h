#pragma once

#include <QRect>

class QPaintDevice;

// Where the charts of one printed sheet go: up to four equal cells inside the margins, in
// portrait or landscape. The same layout serves the page sketch of the print dialog, the
// preview and the printer, each with its own canvas resolution. Plain value; any thread.
class TPrintLayout
{
public:
    static constexpr int MaxCharts = 4;
    static constexpr int DefaultMargin = 10; // millimetres

    // Margins from the paper edge, whole millimetres.
    int Left = DefaultMargin;
    int Top = DefaultMargin;
    int Right = DefaultMargin;
    int Bottom = DefaultMargin;
    // Portrait stacks two or three charts from top to bottom, landscape side by side.
    bool Portrait = true;

    // A margin as typed (millimetres, one decimal) to the whole millimetres printing uses:
    // the fraction is cut off (12.7 gives 12); negative values give 0.
    static int WholeMillimetres(double mm);

    // The rectangle of cell Index (1-based) of Count on the page rectangle Page of Canvas,
    // in Canvas's pixels. Margins and the half gap between cells (1 mm) are converted with
    // Canvas's resolution; a Sketch uses a 1-pixel half gap and 2-pixel margins instead.
    // The rectangle's right and bottom edges are exclusive: width() is right minus left of
    // the cell. Count outside 1..4 or Index outside 1..Count gives QRect(0, 0, 0, 0).
    QRect LayoutCell(const QPaintDevice *Canvas, int Index, bool Sketch, const QRect &Page,
                     int Count) const;
};
