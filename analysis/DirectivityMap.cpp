#include "analysis/DirectivityMap.h"

#include "analysis/PictureText.h"
#include "controls/PictureWriter.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// One axis' value range. A grid of one column or row still gets a range of its own.
struct TRange
{
    double Low;
    double High;
    double Cell; // spacing of the grid's columns or rows in the axis' units
};

TRange AngleRange(const std::vector<double> &angles)
{
    const double low = angles.front();
    const double high = angles.size() > 1 ? angles.back() : low + 1.0;
    const double cell = angles.size() > 1 ? (high - low) / double(angles.size() - 1) : 1.0;
    return { angles.size() > 1 ? low : low - 0.5, angles.size() > 1 ? high : low + 0.5, cell };
}

// In log10 of Hz.
TRange LogFrequencyRange(const std::vector<double> &frequencies)
{
    const double low = std::log10(frequencies.front());
    if (frequencies.size() < 2)
        return { low - 0.15, low + 0.15, 0.3 };
    const double high = std::log10(frequencies.back());
    return { low, high, (high - low) / double(frequencies.size() - 1) };
}

struct TLayout
{
    double Font = 0; // pixels
    QFont Text;
    QFont TitleFont;
    QRectF Plot;
    QRectF Bar; // the colour scale
    QRectF Legend; // the "-6 dB" entry under the scale
    QRectF Title;
};

QString LegendText()
{
    return TPictureText::SignedLabel(TDirectivityMap::BeamwidthDb) + QStringLiteral(" dB");
}

// Everything is measured in the text's size f, which follows the rectangle.
TLayout MakeLayout(const QRect &rect, bool withTitle)
{
    TLayout layout;
    const double f = std::max(6.0, std::min(rect.width() / 58.0, rect.height() / 40.0));
    layout.Font = f;
    layout.Text = TPictureText::FontOfSize(f);
    layout.TitleFont = TPictureText::FontOfSize(f * 1.2, true);
    const QFontMetricsF fm(layout.Text);
    const QFontMetricsF tm(layout.TitleFont);

    const double labelWidth = fm.horizontalAdvance(QStringLiteral("20k"));
    const double left = 0.5 * f + fm.height() + 0.4 * f + labelWidth + 0.3 * f + 0.4 * f;
    const double bottom = 0.4 * f + 0.2 * f + fm.height() + 0.2 * f + fm.height() + 0.4 * f;
    const double top = withTitle ? 0.5 * f + tm.height() + 0.6 * f : 0.6 * f + fm.height() / 2;
    const double barBlock
        = 1.0 * f + 1.1 * f + 0.3 * f + 0.2 * f + fm.horizontalAdvance(TPictureText::Minus + "30");
    const double legendBlock = 1.0 * f + 1.8 * f + 0.3 * f + fm.horizontalAdvance(LegendText());
    const double right = std::max(barBlock, legendBlock) + 0.9 * f;

    layout.Plot = QRectF(rect).adjusted(left, top, -right, -bottom);
    if (layout.Plot.width() < 1 || layout.Plot.height() < 1)
        layout.Plot = QRectF();
    layout.Title = QRectF(rect.left(), rect.top() + 0.5 * f, rect.width(), tm.height());

    const QRectF &plot = layout.Plot;
    const double legendHeight = 2.2 * fm.height();
    const double barTop = plot.top() + 1.4 * fm.height();
    layout.Bar = QRectF(plot.right() + 1.0 * f, barTop, 1.1 * f,
                        std::max(0.0, plot.bottom() - legendHeight - barTop));
    layout.Legend
        = QRectF(plot.right() + 1.0 * f, plot.bottom() - fm.height(), legendBlock, fm.height());
    return layout;
}

// The picture of the grid, one pixel per cell, frequency rising upwards.
QImage CellImage(const TDirectivityGrid &grid)
{
    const int columns = int(grid.AnglesDeg.size());
    const int rows = int(grid.FrequenciesHz.size());
    QImage image(columns, rows, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int r = 0; r < rows; ++r) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(rows - 1 - r));
        for (int c = 0; c < columns; ++c)
            line[c] = TDirectivityMap::ColorOf(grid.At(size_t(r), size_t(c))).rgb();
    }
    return image;
}

QImage ScaleImage()
{
    constexpr int Steps = 256;
    QImage image(1, Steps, QImage::Format_RGB32);
    for (int i = 0; i < Steps; ++i) {
        const double db = TDirectivityMap::TopDb
            + (TDirectivityMap::FloorDb - TDirectivityMap::TopDb) * i / (Steps - 1);
        image.setPixel(0, i, TDirectivityMap::ColorOf(db).rgb());
    }
    return image;
}

// The angle ticks: every 30° when the labels fit, else 45° or 90°.
double AngleStep(const TLayout &layout, const TRange &range)
{
    const double labelWidth
        = QFontMetricsF(layout.Text).horizontalAdvance(TPictureText::Minus + QStringLiteral("180"))
        * 1.4;
    for (const double step : { 30.0, 45.0, 90.0 })
        if (layout.Plot.width() * step / (range.High - range.Low) >= labelWidth)
            return step;
    return 180.0;
}

std::vector<double> FrequencyTicks(const TLayout &layout, const TRange &range)
{
    static constexpr std::array<double, 10> All
        = { 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000 };
    // The closest pair (1k, 2k) must leave room for a line of text between the labels.
    const double pixelsPerDecade = layout.Plot.height() / (range.High - range.Low);
    const bool dense
        = pixelsPerDecade * std::log10(2.0) >= QFontMetricsF(layout.Text).height() * 1.1;
    std::vector<double> ticks;
    for (const double hz : All) {
        const double l = std::log10(hz);
        if (l < range.Low - 1e-9 || l > range.High + 1e-9)
            continue;
        const double mantissa = hz / std::pow(10.0, std::floor(l + 1e-9));
        if (dense || std::abs(mantissa - 1.0) < 1e-6)
            ticks.push_back(hz);
    }
    return ticks;
}

void DrawCells(QPainter &painter, const TDirectivityMap &map, const QRectF &plot)
{
    const TDirectivityGrid &grid = map.Grid();
    const TRange angles = AngleRange(grid.AnglesDeg);
    const TRange logHz = LogFrequencyRange(grid.FrequenciesHz);
    // Each pixel of the image is centred on its cell's angle and frequency.
    const QPointF topLeft = map.MapPoint(plot, angles.Low - angles.Cell / 2,
                                         std::pow(10.0, logHz.High + logHz.Cell / 2));
    const QPointF bottomRight = map.MapPoint(plot, angles.High + angles.Cell / 2,
                                             std::pow(10.0, logHz.Low - logHz.Cell / 2));
    painter.save();
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(topLeft, bottomRight), CellImage(grid));
    painter.restore();
}

void DrawContour(QPainter &painter, const TDirectivityMap &map, const QRectF &plot, double f)
{
    const TDirectivityGrid &grid = map.Grid();
    const std::vector<TDirectivityMap::TEdges> edges = TDirectivityMap::BeamwidthEdges(grid);
    QPainterPath path;
    for (const bool left : { true, false }) {
        bool open = false;
        for (size_t r = 0; r < edges.size(); ++r) {
            const double angle = left ? edges[r].LeftDeg : edges[r].RightDeg;
            if (std::isnan(angle)) {
                open = false;
                continue;
            }
            const QPointF p = map.MapPoint(plot, angle, grid.FrequenciesHz[r]);
            if (open)
                path.lineTo(p);
            else
                path.moveTo(p);
            open = true;
        }
    }
    painter.save();
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // Black under white: visible over the dark and the bright end of the scale.
    painter.setPen(
        QPen(Qt::black, std::max(2.0, f * 0.3), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(
        QPen(Qt::white, std::max(1.0, f * 0.12), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.restore();
}

void DrawAxes(QPainter &painter, const TDirectivityMap &map, const TLayout &layout)
{
    const TDirectivityGrid &grid = map.Grid();
    const QRectF &plot = layout.Plot;
    const double f = layout.Font;
    const QFontMetricsF fm(layout.Text);
    const double tick = 0.4 * f;
    painter.setFont(layout.Text);
    painter.setPen(QPen(Qt::black, std::max(1.0, f / 12)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    const TRange angles = AngleRange(grid.AnglesDeg);
    const double step = AngleStep(layout, angles);
    for (double a = std::ceil(angles.Low / step - 1e-9) * step; a <= angles.High + 1e-9;
         a += step) {
        const double x = map.MapPoint(plot, a, grid.FrequenciesHz.front()).x();
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
        const QString label = TPictureText::SignedLabel(a);
        const double w = fm.horizontalAdvance(label);
        painter.drawText(QRectF(x - w, plot.bottom() + tick + 0.2 * f, 2 * w, fm.height()),
                         Qt::AlignCenter, label);
    }
    const double captionY = plot.bottom() + tick + 0.4 * f + fm.height();
    painter.drawText(QRectF(plot.left(), captionY, plot.width(), fm.height()), Qt::AlignCenter,
                     QCoreApplication::translate("TDirectivityMap", "Kąt [°]"));

    const TRange logHz = LogFrequencyRange(grid.FrequenciesHz);
    for (const double hz : FrequencyTicks(layout, logHz)) {
        const double y = map.MapPoint(plot, angles.Low, hz).y();
        painter.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
        const QRectF box(plot.left() - tick - 0.3 * f - 4 * f, y - fm.height() / 2, 4 * f,
                         fm.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, TPictureText::FrequencyLabel(hz));
    }
    painter.save();
    const double captionX = plot.left() - tick - 0.7 * f - fm.horizontalAdvance("20k");
    painter.translate(captionX - fm.height() / 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -fm.height() / 2, plot.height(), fm.height()),
                     Qt::AlignCenter,
                     QCoreApplication::translate("TDirectivityMap", "Częstotliwość [Hz]"));
    painter.restore();
}

void DrawScale(QPainter &painter, const TLayout &layout)
{
    const QRectF &bar = layout.Bar;
    const double f = layout.Font;
    const QFontMetricsF fm(layout.Text);
    painter.setFont(layout.Text);
    if (bar.height() >= 2) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(bar, ScaleImage());
        painter.restore();
        painter.setPen(QPen(Qt::black, std::max(1.0, f / 12)));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(bar);
        painter.drawText(
            QRectF(bar.left() - f, bar.top() - 1.3 * fm.height(), bar.width() + 2 * f, fm.height()),
            Qt::AlignCenter, QStringLiteral("dB"));
        const double span = TDirectivityMap::FloorDb - TDirectivityMap::TopDb;
        const bool dense = bar.height() / 5 >= fm.height() * 1.1;
        for (double db = TDirectivityMap::TopDb; db >= TDirectivityMap::FloorDb - 1e-9;
             db -= dense ? 6.0 : 10.0) {
            const double y = bar.top() + bar.height() * (db - TDirectivityMap::TopDb) / span;
            painter.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 0.3 * f, y));
            painter.drawText(QRectF(bar.right() + 0.5 * f, y - fm.height() / 2, 4 * f, fm.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, TPictureText::SignedLabel(db));
        }
    }
    // The contour's entry: a piece of its line and its level.
    const QRectF &legend = layout.Legend;
    const double y = legend.center().y();
    const QPointF from(legend.left(), y);
    const QPointF to(legend.left() + 1.8 * f, y);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, std::max(2.0, f * 0.3), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    painter.setPen(QPen(Qt::white, std::max(1.0, f * 0.12), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    painter.restore();
    painter.setPen(Qt::black);
    painter.drawText(QRectF(to.x() + 0.3 * f, legend.top(), legend.width(), legend.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, LegendText());
}

} // namespace

QColor TDirectivityMap::ColorOf(double levelDb)
{
    if (std::isnan(levelDb))
        return NotMeasuredColor();
    // A viridis-like scale: dark violet (quiet) through blue and green to yellow (loud),
    // brightness rising evenly, readable by the colour-blind and in grey print.
    static constexpr std::array<std::array<int, 3>, 9> Anchors { {
        { 68, 1, 84 },
        { 71, 44, 122 },
        { 59, 81, 139 },
        { 44, 113, 142 },
        { 33, 144, 141 },
        { 39, 173, 129 },
        { 92, 200, 99 },
        { 170, 220, 50 },
        { 253, 231, 37 },
    } };
    const double t = std::clamp((levelDb - FloorDb) / (TopDb - FloorDb), 0.0, 1.0);
    const double pos = t * double(Anchors.size() - 1);
    const size_t i = std::min(size_t(pos), Anchors.size() - 2);
    const double w = pos - double(i);
    auto mix = [&](int k) {
        return int(std::lround(Anchors[i][size_t(k)] * (1 - w) + Anchors[i + 1][size_t(k)] * w));
    };
    return QColor(mix(0), mix(1), mix(2));
}

std::vector<TDirectivityMap::TEdges> TDirectivityMap::BeamwidthEdges(const TDirectivityGrid &grid,
                                                                     double levelDb)
{
    constexpr double None = std::numeric_limits<double>::quiet_NaN();
    std::vector<TEdges> edges(grid.FrequenciesHz.size(), TEdges { None, None });
    const size_t columns = grid.AnglesDeg.size();
    if (grid.Empty() || grid.LevelsDb.size() < columns * grid.FrequenciesHz.size())
        return edges;
    // The column nearest 0° is where both walks start.
    size_t centre = 0;
    for (size_t c = 1; c < columns; ++c)
        if (std::abs(grid.AnglesDeg[c]) < std::abs(grid.AnglesDeg[centre]))
            centre = c;

    for (size_t r = 0; r < edges.size(); ++r) {
        auto walk = [&](int direction) {
            double lastAngle = grid.AnglesDeg[centre];
            double lastDb = grid.At(r, centre);
            if (std::isnan(lastDb) || lastDb < levelDb)
                return None;
            for (long c = long(centre) + direction; c >= 0 && c < long(columns); c += direction) {
                const double db = grid.At(r, size_t(c));
                if (std::isnan(db))
                    return None;
                const double angle = grid.AnglesDeg[size_t(c)];
                if (db < levelDb)
                    return lastAngle + (angle - lastAngle) * (lastDb - levelDb) / (lastDb - db);
                lastAngle = angle;
                lastDb = db;
            }
            return None;
        };
        edges[r] = TEdges { walk(-1), walk(+1) };
    }
    return edges;
}

QRectF TDirectivityMap::PlotRect(const QRect &rect) const
{
    return MakeLayout(rect, !m_title.isEmpty()).Plot;
}

QPointF TDirectivityMap::MapPoint(const QRectF &plot, double angleDeg, double frequencyHz) const
{
    if (m_grid.Empty())
        return plot.center();
    const TRange angles = AngleRange(m_grid.AnglesDeg);
    const TRange logHz = LogFrequencyRange(m_grid.FrequenciesHz);
    const double x
        = plot.left() + (angleDeg - angles.Low) / (angles.High - angles.Low) * plot.width();
    const double y = plot.bottom()
        - (std::log10(frequencyHz) - logHz.Low) / (logHz.High - logHz.Low) * plot.height();
    return { x, y };
}

void TDirectivityMap::Render(QPainter &painter, const QRect &rect) const
{
    painter.save();
    painter.fillRect(rect, Qt::white);
    const TLayout layout = MakeLayout(rect, !m_title.isEmpty());
    if (!m_title.isEmpty()) {
        painter.setPen(Qt::black);
        painter.setFont(layout.TitleFont);
        painter.drawText(layout.Title, Qt::AlignCenter, m_title);
    }
    if (m_grid.Empty()
        || m_grid.LevelsDb.size() < m_grid.AnglesDeg.size() * m_grid.FrequenciesHz.size()
        || layout.Plot.isEmpty()) {
        // Too small a rectangle for the axes stays blank rather than claim "no data".
        if (!layout.Plot.isEmpty() || m_grid.Empty()) {
            painter.setPen(Qt::black);
            painter.setFont(layout.Text);
            painter.drawText(rect, Qt::AlignCenter, tr("Brak danych"));
        }
        painter.restore();
        return;
    }
    DrawCells(painter, *this, layout.Plot);
    DrawContour(painter, *this, layout.Plot, layout.Font);
    DrawAxes(painter, *this, layout);
    DrawScale(painter, layout);
    painter.restore();
}

bool TDirectivityMap::Export(const TDirectivityMap &map, const QString &fileName, QSize size,
                             QString *error)
{
    return TPictureWriter::WriteByExtension(
        fileName, size, map.Title(),
        [&map](QPainter &painter, const QRect &rect) { map.Render(painter, rect); }, tr("Mapę"),
        error);
}
