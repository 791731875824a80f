#include "printing/PrintLayout.h"

#include "chart/PolarGraph.h"

#include <algorithm>
#include <cmath>

namespace {

// Edges of a cell, right and bottom exclusive.
QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

int TPrintLayout::WholeMillimetres(double mm)
{
    if (!(mm > 0))
        return 0;
    return int(std::trunc(std::min(mm, 10000.0)));
}

QRect TPrintLayout::LayoutCell(const QPaintDevice *Canvas, int Index, bool Sketch,
                               const QRect &Page, int Count) const
{
    int gap = TPolarGraph::MmToPixels(Canvas, 1);
    int left = TPolarGraph::MmToPixels(Canvas, Left);
    int top = TPolarGraph::MmToPixels(Canvas, Top);
    int right = TPolarGraph::MmToPixels(Canvas, Right);
    int bottom = TPolarGraph::MmToPixels(Canvas, Bottom);
    if (Sketch) {
        gap = 1;
        left = top = right = bottom = 2;
    }
    // The page's right and bottom edges are exclusive, as the cells' are.
    const int L = Page.left() + left;
    const int T = Page.top() + top;
    const int R = Page.left() + Page.width() - right;
    const int B = Page.top() + Page.height() - bottom;
    const int W = R - L;
    const int H = B - T;
    const int Xm = L + W / 2;
    const int Ym = T + H / 2;

    if (Index < 1 || Index > Count)
        return QRect(0, 0, 0, 0);
    switch (Count) {
    case 1:
        return Edges(L, T, R, B);
    case 2:
        if (Portrait)
            return Index == 1 ? Edges(L, T, R, Ym - gap) : Edges(L, Ym + gap, R, B);
        return Index == 1 ? Edges(L, T, Xm - gap, B) : Edges(Xm + gap, T, R, B);
    case 3: {
        if (Portrait) {
            const int y1 = T + H / 3, y2 = T + (2 * H) / 3;
            if (Index == 1)
                return Edges(L, T, R, y1 - gap);
            if (Index == 2)
                return Edges(L, y1 + gap, R, y2 - gap);
            return Edges(L, y2 + gap, R, B);
        }
        const int x1 = L + W / 3, x2 = L + (2 * W) / 3;
        if (Index == 1)
            return Edges(L, T, x1 - gap, B);
        if (Index == 2)
            return Edges(x1 + gap, T, x2 - gap, B);
        return Edges(x2 + gap, T, R, B);
    }
    case 4:
        switch (Index) {
        case 1:
            return Edges(L, T, Xm - gap, Ym - gap);
        case 2:
            return Edges(Xm + gap, T, R, Ym - gap);
        case 3:
            return Edges(L, Ym + gap, Xm - gap, B);
        default:
            return Edges(Xm + gap, Ym + gap, R, B);
        }
    default:
        return QRect(0, 0, 0, 0);
    }
}
