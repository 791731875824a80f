#include "chart/PolarGraph.h"

#include "chart/ChartExporter.h"
#include "chart/WinColor.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Font size given as a character height in pixels at 96 dots per inch, kept in points so
// that it scales with the resolution of printers and exports.
QFont ArialFont(double pixelsAt96, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pixelsAt96 * 72.0 / 96.0);
    font.setBold(bold);
    return font;
}

} // namespace

TPolarGraph::TPolarGraph(QObject *parent)
    : QObject(parent)
    , m_grid(*this)
    , m_legend(*this)
    , m_color(WinColor::clWindow)
    , m_marginColor(WinColor::clBtnFace)
    , m_font(QStringLiteral("Arial"))
{
    m_font.setPointSize(8);
}

TPolarGraph::~TPolarGraph()
{
    // Series go quietly with their chart: nobody may be told about a half-destroyed chart.
    const QSignalBlocker blocker(this);
    m_series.clear();
}

std::vector<std::unique_ptr<TSeries>>::iterator TPolarGraph::FindSeries(int Number)
{
    return std::lower_bound(
        m_series.begin(), m_series.end(), Number,
        [](const std::unique_ptr<TSeries> &s, int n) { return s->Number() < n; });
}

TSeries *TPolarGraph::GetSeries(int Number)
{
    auto it = FindSeries(Number);
    if (it != m_series.end() && (*it)->Number() == Number)
        return it->get();
    std::unique_ptr<TSeries> created(new TSeries(*this, Number));
    m_maxSeriesNumber = std::max(m_maxSeriesNumber, Number);
    TSeries *series = m_series.insert(it, std::move(created))->get();
    emit SeriesListChanged();
    return series;
}

bool TPolarGraph::HasSeries(int Number) const
{
    return SeriesByNumber(Number) != nullptr;
}

TSeries *TPolarGraph::SeriesByNumber(int Number) const
{
    const auto it = std::lower_bound(
        m_series.begin(), m_series.end(), Number,
        [](const std::unique_ptr<TSeries> &s, int n) { return s->Number() < n; });
    return it != m_series.end() && (*it)->Number() == Number ? it->get() : nullptr;
}

void TPolarGraph::DeleteSeries(int Number)
{
    auto it = FindSeries(Number);
    if (it == m_series.end() || (*it)->Number() != Number)
        return;
    // Unlink first so that OnChange handlers see the chart without it.
    std::unique_ptr<TSeries> doomed = std::move(*it);
    m_series.erase(it);
    Change();
    emit SeriesListChanged();
}

void TPolarGraph::ClearSeries()
{
    while (!m_series.empty()) {
        std::unique_ptr<TSeries> doomed = std::move(m_series.front());
        m_series.erase(m_series.begin());
        Change();
    }
    Change();
    emit SeriesListChanged();
}

QList<TSeries *> TPolarGraph::SeriesList() const
{
    QList<TSeries *> list;
    list.reserve(qsizetype(m_series.size()));
    for (const auto &s : m_series)
        list.append(s.get());
    return list;
}

quint32 TPolarGraph::GetColor(int Index) const
{
    return Index == 0 ? m_color : Index == 1 ? m_marginColor : 0;
}

void TPolarGraph::SetColor(int Index, quint32 value)
{
    if (Index == 0)
        m_color = value;
    else if (Index == 1)
        m_marginColor = value;
    else
        return;
    m_needsRender = true;
    if (m_autoRepaint)
        Invalidate();
}

void TPolarGraph::SetColor(quint32 value)
{
    SetColor(0, value);
}

void TPolarGraph::SetMarginColor(quint32 value)
{
    SetColor(1, value);
}

void TPolarGraph::SetTitle(const QString &value)
{
    if (value == m_title)
        return;
    m_title = value;
    m_needsRender = true;
    PaintNow();
    Change();
}

void TPolarGraph::SetDrawTitle(bool value)
{
    if (value == m_drawTitle)
        return;
    m_drawTitle = value;
    m_needsRender = true;
    PaintNow();
    Change();
}

void TPolarGraph::SetDrawLegend(bool value)
{
    m_drawLegend = value;
    // Marked stale in every case so that a later paint cannot show the old layout.
    m_needsRender = true;
    if (m_autoRepaint) {
        PaintNow();
        Change();
    }
}

void TPolarGraph::SetMergeTitleToLegend(bool value)
{
    if (value == m_mergeTitleToLegend)
        return;
    m_mergeTitleToLegend = value;
    m_needsRender = true;
    if (m_autoRepaint)
        PaintNow();
}

void TPolarGraph::SetMargin(int value)
{
    if (value == m_margin)
        return;
    m_margin = value;
    m_needsRender = true;
    if (m_autoRepaint)
        PaintNow();
}

void TPolarGraph::ApplyDocumentDefaults()
{
    const bool autoRepaint = m_autoRepaint;
    // Defaults are not an edit of the document: no OnChange while they go in.
    QSignalBlocker blocker(this);
    m_autoRepaint = false;

    m_grid.SetFont(ArialFont(9));
    m_grid.SetAngleStep(10);
    m_grid.SetAngleMainStep(30);
    m_grid.SetRadiusStep(2);
    m_grid.SetRadiusMainStep(10);
    // Max first: the default minimum 0 must not briefly equal a maximum of 0.
    m_grid.SetRadiusMax(10);
    m_grid.SetRadiusMin(-40);
    m_grid.SetUnits(QStringLiteral("dB"));
    m_grid.SetLineColor(WinColor::clGray);
    m_grid.SetLineMainColor(WinColor::clBlack);
    m_grid.SetAlignToRight(true);

    m_legend.SetAutosize(true);
    m_legend.SetFont(ArialFont(11));
    m_legend.SetLeft(0);
    m_legend.SetTop(0);
    m_legend.SetWidth(50);
    m_legend.SetHeight(353);
    m_legend.SetPosition(lpLeft);

    m_font = ArialFont(11, true);
    m_color = WinColor::clWindow;
    m_marginColor = WinColor::clWindow;
    m_title = QStringLiteral("Graph");
    m_drawTitle = true;
    m_drawLegend = true;
    m_mergeTitleToLegend = true;
    m_margin = 2;

    m_autoRepaint = autoRepaint;
    blocker.unblock();
    m_needsRender = true;
    Invalidate();
}

void TPolarGraph::Change()
{
    emit OnChange(this);
}

void TPolarGraph::Refresh()
{
    m_needsRender = true;
    Invalidate();
}

void TPolarGraph::PaintNow()
{
    emit RepaintNow();
}

void TPolarGraph::Invalidate()
{
    emit InvalidateRequested();
}

int TPolarGraph::Nearest(double x)
{
    // Halves to the even neighbour (the default rounding mode).
    if (std::isnan(x))
        return 0;
    const double clamped = std::clamp(x, -1.0e9, 1.0e9);
    return int(std::nearbyint(clamped));
}

void TPolarGraph::SetScale(const QPoint &center, int radius)
{
    m_center = center;
    m_radius = radius;
}

int TPolarGraph::MmToPixels(const QPaintDevice *device, double mm)
{
    const int dpi = device ? device->logicalDpiY() : 96;
    return Nearest(mm * dpi / 25.4);
}

QPoint TPolarGraph::PolarToPoint(double Angle, double Level) const
{
    const double span = double(m_grid.Span());
    const double r = span == 0 ? 0.0 : std::abs(Level - m_grid.RadiusMin()) * m_radius / span;
    const double theta = Angle * M_PI / 180.0;
    return QPoint(Nearest(m_center.x() + r * std::sin(theta)),
                  Nearest(m_center.y() - r * std::cos(theta)));
}

TPolarPosition TPolarGraph::PointToPolar(int X, int Y) const
{
    const double a = double(m_screenCenter.y()) - Y;
    const double b = double(X) - m_screenCenter.x();
    const double d = std::sqrt(a * a + b * b);
    TPolarPosition pos { double(m_grid.RadiusMin()), 0.0 };
    if (a != 0)
        pos.Angle = std::atan2(b, a) * 180.0 / M_PI;
    const double span = double(m_grid.Span());
    if (m_screenRadius == 0 || span == 0)
        return pos;
    const double delta = span * d / m_screenRadius;
    pos.Level = m_grid.RadiusMin() > m_grid.RadiusMax() ? m_grid.RadiusMin() - delta
                                                        : m_grid.RadiusMin() + delta;
    return pos;
}

void TPolarGraph::Render(QPainter &Canvas, const QRect &Rect)
{
    Canvas.save();
    Canvas.setRenderHint(QPainter::Antialiasing, false);
    Canvas.setBackgroundMode(Qt::TransparentMode);
    const bool bw = BlackOnWhite();
    Canvas.fillRect(Rect, bw ? QColor(Qt::white) : WinColor::ToQColor(m_marginColor));

    QRect area = Rect;
    if (m_drawTitle && !m_title.isEmpty() && !m_mergeTitleToLegend) {
        Canvas.setFont(m_font);
        Canvas.setPen(bw ? QColor(Qt::black) : WinColor::ToQColor(WinColor::clWindowText));
        const QFontMetrics fm(m_font, Canvas.device());
        const int width = fm.horizontalAdvance(m_title);
        const int left = Rect.left() + (Rect.width() - width) / 2;
        const int top = Rect.top() + fm.height();
        Canvas.drawText(QPoint(left, top + fm.ascent()), m_title);
        area.setTop(Rect.top() + 3 * fm.height());
    }
    if (m_drawLegend)
        m_legend.Draw(Canvas, area);
    m_grid.Draw(Canvas, area);
    for (const auto &s : m_series)
        s->Draw(Canvas);
    Canvas.restore();
}

void TPolarGraph::PaintCached(QPainter &Canvas, const QSize &size, int dpiX, int dpiY)
{
    if (size.isEmpty())
        return;
    // The picture has the target's device pixels (so text and curves are sharp on a
    // high-density screen) while Render keeps drawing in logical pixels: the image's device
    // pixel ratio scales the painter, and the copy below is one device pixel per pixel.
    const qreal ratio
        = Canvas.device() ? std::max<qreal>(1, Canvas.device()->devicePixelRatio()) : 1;
    // Rounded up (a fractional ratio must still cover the last logical pixel), with a little
    // slack so that 100 × 1.1 is 110 device pixels and not 111.
    const auto devicePixels = [ratio](int logical) {
        return int(std::ceil(logical * ratio - 1e-6));
    };
    const QSize pixels(devicePixels(size.width()), devicePixels(size.height()));
    const bool resized = m_picture.size() != pixels || m_picture.devicePixelRatio() != ratio;
    if (m_needsRender || resized) {
        if (resized) {
            m_picture = QImage(pixels, QImage::Format_RGB32);
            m_picture.setDevicePixelRatio(ratio);
        }
        m_picture.setDotsPerMeterX(qRound(dpiX / 0.0254));
        m_picture.setDotsPerMeterY(qRound(dpiY / 0.0254));
        {
            QPainter p(&m_picture);
            Render(p, QRect(QPoint(0, 0), size));
        }
        m_screenCenter = m_center;
        m_screenRadius = m_radius;
        m_needsRender = false;
        ++m_cachedRenders;
    }
    Canvas.drawImage(QPoint(0, 0), m_picture);
}

bool TPolarGraph::ExportMetafile(const QString &FileName, bool Enhanced, QString *error)
{
    return TChartExporter::Export(
        *this, FileName, Enhanced ? TChartExporter::Format::Emf : TChartExporter::Format::Wmf,
        TChartExporter::MetafileSize, error);
}

bool TPolarGraph::ExportFile(const QString &FileName, const QSize &size, QString *error)
{
    const auto format = TChartExporter::FormatFromFileName(FileName);
    if (!format) {
        if (error)
            *error = tr("Nieznany format pliku: %1").arg(FileName);
        return false;
    }
    return TChartExporter::Export(*this, FileName, *format, size, error);
}
