#pragma once

#include "chart/Grid.h"
#include "chart/Legend.h"
#include "chart/Series.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;

// A position on the chart: level in the chart's unit and angle in degrees (-180, 180].
struct TPolarPosition
{
    double Level;
    double Angle;
};

// The polar chart: grid, legend, title and the series, drawn by one operation, Render,
// for the screen (through a cached picture, see PaintCached), printing, preview and every
// export. Headless: a view (TPolarGraphView) shows the cached picture and reacts to
// RepaintNow / InvalidateRequested. Owns its grid, legend and series. GUI thread only.
class TPolarGraph : public QObject
{
    Q_OBJECT

public:
    explicit TPolarGraph(QObject *parent = nullptr);
    ~TPolarGraph() override;

    // --- series (kept in ascending Number order) ---

    // Returns the series with this Number, creating it (sorted in, named "Series <n>") when
    // there is none. Creation fires no OnChange.
    TSeries *GetSeries(int Number);
    bool HasSeries(int Number) const;
    // The series with this Number, nullptr when there is none (creates nothing).
    TSeries *SeriesByNumber(int Number) const;
    // Destroys the series with this Number (if any) and fires OnChange; the caller calls
    // Refresh to show it. MaxSeriesNumber keeps its value.
    void DeleteSeries(int Number);
    // Destroys every series (OnChange per series), then fires OnChange once more.
    void ClearSeries();
    // Highest Number ever created here (-1 for none); never decreases.
    int MaxSeriesNumber() const { return m_maxSeriesNumber; }
    int SeriesCount() const { return int(m_series.size()); }
    QList<TSeries *> SeriesList() const;

    // --- settings ---

    TGrid &Grid() { return m_grid; }
    const TGrid &Grid() const { return m_grid; }
    TLegend &Legend() { return m_legend; }
    const TLegend &Legend() const { return m_legend; }

    // Disc fill and level-label background; fill outside the disc (0x00BBGGRR or system
    // colour). Index 0 is Color, 1 MarginColor, any other reads 0.
    quint32 Color() const { return m_color; }
    void SetColor(quint32 value);
    quint32 MarginColor() const { return m_marginColor; }
    void SetMarginColor(quint32 value);
    quint32 GetColor(int Index) const;
    void SetColor(int Index, quint32 value);

    QString Title() const { return m_title; }
    void SetTitle(const QString &value);
    bool DrawTitle() const { return m_drawTitle; }
    void SetDrawTitle(bool value);
    bool DrawLegend() const { return m_drawLegend; }
    void SetDrawLegend(bool value);
    bool MergeTitleToLegend() const { return m_mergeTitleToLegend; }
    void SetMergeTitleToLegend(bool value);
    // Inset of the disc and of the legend text from the edges, millimetres.
    int Margin() const { return m_margin; }
    void SetMargin(int value);
    // Title font; a change is picked up at the next render.
    const QFont &Font() const { return m_font; }
    void SetFont(const QFont &font) { m_font = font; }

    // Off: property changes do not repaint at once (they still mark the picture stale and
    // fire OnChange). Code that changes many things in a row turns it off and on again.
    bool AutoRepaint() const { return m_autoRepaint; }
    void SetAutoRepaint(bool value) { m_autoRepaint = value; }

    // Black-on-white drawing with doubled curve widths, set by printing and preview around
    // each Render.
    bool PrintMode() const { return m_printMode; }
    void SetPrintMode(bool value) { m_printMode = value; }
    // Black-on-white drawing, true only while an export draws.
    bool MetafileMode() const { return m_metafileMode; }
    bool BlackOnWhite() const { return m_printMode || m_metafileMode; }

    // Puts the document window's chart settings in place (grid -40…10 dB, steps 10/30/2/10,
    // "dB", legend autosized at the left, title "Graph" merged into the legend, margin 2 mm,
    // "Arial" fonts, window-coloured background).
    void ApplyDocumentDefaults();

    // --- notification and repainting ---

    // Fires OnChange (content changed: the document becomes modified).
    void Change();
    // Marks the cached picture stale and asks views for a later repaint.
    void Refresh();
    bool NeedsRender() const { return m_needsRender; }
    void SetNeedsRender() { m_needsRender = true; }

    // --- drawing ---

    // Draws the whole chart into Rect of any painter (screen picture, printer page,
    // preview, export). Sets Center and Radius.
    void Render(QPainter &Canvas, const QRect &Rect);
    // Screen path: re-renders the cached picture (size in logical pixels, dots per inch of
    // the screen) when it is stale or of another size, then copies it to Canvas at (0, 0).
    // The picture has the device pixel ratio of Canvas's device (size × ratio pixels), so a
    // high-density screen gets a sharp chart; the chart's geometry stays in logical pixels.
    void PaintCached(QPainter &Canvas, const QSize &size, int dpiX, int dpiY);
    // The cached screen picture (null before the first PaintCached).
    const QImage &CachedPicture() const { return m_picture; }
    // How many times the cached picture has been rendered (for diagnostics and tests).
    int CachedRenderCount() const { return m_cachedRenders; }

    // Level-scale centre and radius in pixels of the render in progress (or the last one).
    QPoint Center() const { return m_center; }
    int Radius() const { return m_radius; }
    // Level (chart units) and angle (degrees) to a pixel of the render in progress.
    QPoint PolarToPoint(double Angle, double Level) const;
    // A pixel of the cached screen picture to level and angle (-180, 180], using the last
    // screen render (not a print or export in between). Before any render Center and
    // Radius are zero; a zero radius or span gives RadiusMin.
    TPolarPosition PointToPolar(int X, int Y) const;

    // Millimetres to pixels of the device (its logical dots per inch), halves to even.
    static int MmToPixels(const QPaintDevice *device, double mm);
    // x to the nearest whole pixel, halves to even; NaN gives 0 and absurd values are
    // clamped so that they cannot overflow the pixel type.
    static int Nearest(double x);

    // --- export ---

    // Writes the chart as an Enhanced Metafile (Enhanced) or a placeable Windows Metafile,
    // 800 × 600 units, black on white. On failure returns false with a message in *error;
    // the chart keeps no partial state.
    bool ExportMetafile(const QString &FileName, bool Enhanced, QString *error = nullptr);
    // Writes the chart in the format of FileName's extension (.emf, .wmf, .svg, .pdf, .png).
    // Size in pixels (ignored for the 800 × 600 metafiles).
    bool ExportFile(const QString &FileName, const QSize &size, QString *error = nullptr);

signals:
    void OnChange(TPolarGraph *sender);
    // A series was created or destroyed (GetSeries, DeleteSeries, ClearSeries). Lists of the
    // chart's series refill on it: they must never keep a destroyed series. Fired after the
    // list has changed; not fired while the chart itself is destroyed.
    void SeriesListChanged();
    // A view should repaint synchronously ("paint now").
    void RepaintNow();
    // A view should schedule a repaint.
    void InvalidateRequested();

private:
    friend class TGrid;
    friend class TLegend;
    friend class TSeries;
    friend class TChartExporter;

    void SetScale(const QPoint &center, int radius);
    void PaintNow();
    void Invalidate();
    void SetMetafileMode(bool value) { m_metafileMode = value; }
    std::vector<std::unique_ptr<TSeries>>::iterator FindSeries(int Number);

    TGrid m_grid;
    TLegend m_legend;
    std::vector<std::unique_ptr<TSeries>> m_series;
    int m_maxSeriesNumber = -1;

    quint32 m_color;
    quint32 m_marginColor;
    QString m_title;
    bool m_drawTitle = true;
    bool m_drawLegend = false;
    bool m_mergeTitleToLegend = false;
    int m_margin = 5;
    QFont m_font;

    bool m_autoRepaint = true;
    bool m_needsRender = true;
    bool m_metafileMode = false;
    bool m_printMode = false;

    QPoint m_center;
    int m_radius = 0;
    QPoint m_screenCenter;
    int m_screenRadius = 0;
    QImage m_picture;
    int m_cachedRenders = 0;
};
