#pragma once

#include "analysis/DirectivityGrid.h"

#include <QColor>
#include <QCoreApplication>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

// The directivity map as a picture: level over angle (across, -180 .. 180°) and frequency
// (up, log axis) in colour, with the axes, a colour scale in dB and the -6 dB beamwidth
// drawn over it. One drawing path serves the window, PNG, SVG and PDF; all sizes (fonts,
// lines, margins) follow the rectangle, so a small window and a print page look alike.
// Levels above 0 dB take the 0 dB colour and those below FloorDb the FloorDb colour.
// Not thread-safe; a painter of any thread may draw a map no other thread changes.
class TDirectivityMap
{
    Q_DECLARE_TR_FUNCTIONS(TDirectivityMap)

public:
    static constexpr double TopDb = 0.0; // the colour scale's range, dB
    static constexpr double FloorDb = -30.0;
    static constexpr double BeamwidthDb = -6.0; // the contour's level, dB

    // The angles (degrees) left and right of 0° where one frequency's level first falls
    // below the contour's level, interpolated between columns; NaN on a side where it
    // does not fall before the grid's end or an unmeasured angle.
    struct TEdges
    {
        double LeftDeg;
        double RightDeg;
    };

    // The grid is expected as TDirectivityResult::Grid makes it: angles evenly spaced,
    // frequencies evenly spaced on a log axis (the picture places cells by first, last and
    // count).
    void SetGrid(TDirectivityGrid grid) { m_grid = std::move(grid); }
    const TDirectivityGrid &Grid() const { return m_grid; }
    void SetTitle(const QString &title) { m_title = title; }
    QString Title() const { return m_title; }

    // Draws the whole picture into rect (white background) with the painter's state
    // restored afterwards. Without a grid it shows "Brak danych".
    void Render(QPainter &painter, const QRect &rect) const;

    // Where Render puts the coloured area inside rect.
    QRectF PlotRect(const QRect &rect) const;
    // The point of (angle, frequency) inside plot (as PlotRect gives it).
    QPointF MapPoint(const QRectF &plot, double angleDeg, double frequencyHz) const;

    // The colour scale: level (dB) -> colour, clamped to TopDb .. FloorDb; NaN gives
    // NotMeasuredColor().
    static QColor ColorOf(double levelDb);
    static QColor NotMeasuredColor() { return QColor(160, 160, 160); }

    // Per frequency row of grid, the contour's edges at levelDb.
    static std::vector<TEdges> BeamwidthEdges(const TDirectivityGrid &grid,
                                              double levelDb = BeamwidthDb);

    // Writes the picture (size in pixels, 96 per inch) as PNG, SVG or PDF by the file's
    // extension (any case). Drawn in memory and written through TFileWriter: a failure
    // leaves no file and an older one unchanged; false with the Polish message in *error.
    static bool Export(const TDirectivityMap &map, const QString &fileName, QSize size,
                       QString *error = nullptr);

private:
    TDirectivityGrid m_grid;
    QString m_title;
};
