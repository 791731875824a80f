#pragma once

#include "analysis/Spinorama.h"

#include <QColor>
#include <QCoreApplication>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>

class QPainter;

// The spin as a picture: the five level curves (On Axis, Listening Window, Early Reflections,
// Sound Power, Estimated In-Room Response) in dB on the left axis and the two directivity
// indices on a right axis of the same span, placed so they sit low in the chart; frequency
// across on a log axis 20 Hz – 20 kHz; below the spin's lowest measured frequency the plot is
// shaded and no curve is drawn; the legend stands under the axes, clear of the curves. One
// drawing path serves the window, PNG, SVG and PDF; all sizes (fonts, lines, margins) follow
// the rectangle. Not thread-safe; a painter of any thread may draw a chart no other thread
// changes. The spin is shared and immutable.
class TSpinoramaChart
{
    Q_DECLARE_TR_FUNCTIONS(TSpinoramaChart)

public:
    static constexpr double BottomHz = 20.0; // the frequency axis, Hz
    static constexpr double TopHz = 20000.0;
    static constexpr double SpanDb = 50.0; // both vertical axes, dB
    static constexpr double GridDb = 5.0; // between horizontal gridlines, dB

    // A vertical axis' range, dB.
    struct TRange
    {
        double LowDb;
        double HighDb;
    };

    // nullptr for none.
    void SetSpin(std::shared_ptr<const TSpinorama> spin);
    const std::shared_ptr<const TSpinorama> &Spin() const { return m_spin; }
    void SetTitle(const QString &title) { m_title = title; }
    QString Title() const { return m_title; }

    // Draws the whole picture into rect (white background) with the painter's state restored
    // afterwards. Without a spin it shows "Brak danych".
    void Render(QPainter &painter, const QRect &rect) const;

    // Where Render puts the plot inside rect.
    QRectF PlotRect(const QRect &rect) const;
    // The x of a frequency (Hz) inside plot (as PlotRect gives it), log axis.
    static double XOf(const QRectF &plot, double frequencyHz);
    // The y of a curve's level (dB) inside plot: on the right axis for the DIs.
    double YOf(const QRectF &plot, TSpinorama::TCurve curve, double db) const;

    // The left axis: from the loudest level curve rounded up to GridDb with at least 2 dB
    // headroom, SpanDb down. The right axis (DIs): from −5 dB (lower when a DI is below) up
    // SpanDb. Without data 0 dB stands on top.
    TRange LevelRange() const { return m_levels; }
    TRange DiRange() const { return m_di; }

    // The standard's name of one of the main curves, and its colour in the picture.
    static QString CurveName(TSpinorama::TCurve curve);
    static QColor CurveColor(TSpinorama::TCurve curve);
    static bool IsDi(TSpinorama::TCurve curve);
    static QColor NotMeasuredColor() { return QColor(225, 225, 225); }

    // Writes the picture (size in pixels, 96 per inch) as PNG, SVG or PDF by the file's
    // extension (any case). Drawn in memory and written through TFileWriter: a failure leaves
    // no file and an older one unchanged; false with the Polish message in *error.
    static bool Export(const TSpinoramaChart &chart, const QString &fileName, QSize size,
                       QString *error = nullptr);

private:
    std::shared_ptr<const TSpinorama> m_spin;
    QString m_title;
    TRange m_levels { -SpanDb, 0.0 };
    TRange m_di { -5.0, SpanDb - 5.0 };
};
