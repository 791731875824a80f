#include "analysis/SpinoramaChart.h"

#include "analysis/PictureText.h"
#include "controls/PictureWriter.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr double HeadroomDb = 2.0; // at least this much above the loudest level curve
constexpr double DiBottomDb = -5.0; // the right axis' usual foot

struct TLayout
{
    double Font = 0; // pixels
    QFont Text;
    QFont TitleFont;
    QRectF Plot;
    QRectF Title;
    // One rectangle per main curve's legend entry, under the axes.
    std::array<QRectF, TSpinorama::MainCurveCount> Legend;
};

double LegendSampleWidth(double f)
{
    return 2.2 * f;
}

double LegendEntryWidth(const QFontMetricsF &fm, double f, int curve)
{
    return LegendSampleWidth(f) + 0.4 * f
        + fm.horizontalAdvance(TSpinoramaChart::CurveName(TSpinorama::TCurve(curve)));
}

// Lays the legend entries out in rows as wide as the plot, centred; returns the row count.
int PlaceLegend(TLayout &layout, const QRectF &rect, double top, const QFontMetricsF &fm)
{
    const double f = layout.Font;
    const double gap = 1.4 * f;
    const double rowHeight = fm.height() * 1.25;
    std::vector<std::vector<int>> rows(1);
    double used = 0;
    for (int c = 0; c < TSpinorama::MainCurveCount; ++c) {
        const double w = LegendEntryWidth(fm, f, c);
        if (!rows.back().empty() && used + gap + w > rect.width()) {
            rows.emplace_back();
            used = 0;
        }
        used += (rows.back().empty() ? 0 : gap) + w;
        rows.back().push_back(c);
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        double width = 0;
        for (const int c : rows[r])
            width += LegendEntryWidth(fm, f, c) + (c == rows[r].front() ? 0 : gap);
        double x = rect.center().x() - width / 2;
        for (const int c : rows[r]) {
            const double w = LegendEntryWidth(fm, f, c);
            layout.Legend[size_t(c)] = QRectF(x, top + double(r) * rowHeight, w, fm.height());
            x += w + gap;
        }
    }
    return int(rows.size());
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

    const double labelWidth = fm.horizontalAdvance(TPictureText::Minus + QStringLiteral("100"));
    const double side = 0.5 * f + fm.height() + 0.4 * f + labelWidth + 0.3 * f + 0.4 * f;
    const double top = withTitle ? 0.5 * f + tm.height() + 0.6 * f : 0.6 * f + fm.height() / 2;
    layout.Title = QRectF(rect.left(), rect.top() + 0.5 * f, rect.width(), tm.height());

    const QRectF across = QRectF(rect).adjusted(side, 0, -side, 0);
    const double axisBottom = 0.4 * f + 0.2 * f + fm.height() + 0.2 * f + fm.height();
    // The legend's rows depend only on the width; place them below a provisional plot bottom
    // and move them once the plot's height is known.
    const int rows = PlaceLegend(layout, across, 0, fm);
    const double legendHeight = (rows - 1) * fm.height() * 1.25 + fm.height();
    const double bottom = axisBottom + 0.7 * f + legendHeight + 0.5 * f;
    layout.Plot = QRectF(rect).adjusted(side, top, -side, -bottom);
    if (layout.Plot.width() < 1 || layout.Plot.height() < 1) {
        layout.Plot = QRectF();
        return layout;
    }
    const double legendTop = layout.Plot.bottom() + axisBottom + 0.7 * f;
    for (QRectF &entry : layout.Legend)
        entry.translate(0, legendTop);
    return layout;
}

std::vector<double> FrequencyLabels(const TLayout &layout)
{
    static constexpr std::array<double, 10> All
        = { 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000 };
    // The closest pair (1k, 2k) must leave room for both labels side by side.
    const double pixelsPerDecade
        = layout.Plot.width() / std::log10(TSpinoramaChart::TopHz / TSpinoramaChart::BottomHz);
    const double labelWidth = QFontMetricsF(layout.Text).horizontalAdvance(QStringLiteral("20k"));
    const bool dense = pixelsPerDecade * std::log10(2.0) >= labelWidth * 1.5;
    std::vector<double> labels;
    for (const double hz : All) {
        const double mantissa = hz / std::pow(10.0, std::floor(std::log10(hz) + 1e-9));
        if (dense || std::abs(mantissa - 1.0) < 1e-6 || hz == All.front() || hz == All.back())
            labels.push_back(hz);
    }
    return labels;
}

void DrawShade(QPainter &painter, const TSpinorama &spin, const QRectF &plot)
{
    if (!(spin.LowestMeasuredHz > TSpinoramaChart::BottomHz))
        return;
    const double x = std::min(plot.right(), TSpinoramaChart::XOf(plot, spin.LowestMeasuredHz));
    painter.fillRect(QRectF(plot.left(), plot.top(), x - plot.left(), plot.height()),
                     TSpinoramaChart::NotMeasuredColor());
}

void DrawGrid(QPainter &painter, const TLayout &layout)
{
    const QRectF &plot = layout.Plot;
    // Whole pixels: the grid is drawn without antialiasing, and a fractional width would make
    // some lines look heavier than others.
    const double width = std::max(1.0, std::round(layout.Font / 16));
    painter.save();
    for (double decade = 10; decade < TSpinoramaChart::TopHz; decade *= 10)
        for (int m = 1; m <= 9; ++m) {
            const double hz = decade * m;
            if (hz <= TSpinoramaChart::BottomHz || hz >= TSpinoramaChart::TopHz)
                continue;
            const double x = TSpinoramaChart::XOf(plot, hz);
            painter.setPen(QPen(m == 1 ? QColor(170, 170, 170) : QColor(215, 215, 215), width));
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
    painter.setPen(QPen(QColor(200, 200, 200), width));
    const int lines = int(std::lround(TSpinoramaChart::SpanDb / TSpinoramaChart::GridDb));
    for (int i = 1; i < lines; ++i) {
        const double y = plot.top() + plot.height() * i / lines;
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    painter.restore();
}

QPen CurvePen(TSpinorama::TCurve curve, double f)
{
    const bool di = TSpinoramaChart::IsDi(curve);
    QPen pen(TSpinoramaChart::CurveColor(curve), std::max(di ? 1.5 : 2.0, f * (di ? 0.16 : 0.2)),
             Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (di)
        pen.setDashPattern({ 4.0, 2.5 });
    return pen;
}

// One curve as a polyline broken wherever it is not measured; a lone measured point is a dot.
void DrawCurve(QPainter &painter, const TSpinoramaChart &chart, const QRectF &plot,
               TSpinorama::TCurve curve, double f)
{
    const TSpinorama &spin = *chart.Spin();
    const std::vector<double> &levels = spin.CurvesDb[size_t(curve)];
    const size_t n = std::min(levels.size(), spin.FrequenciesHz.size());
    QPainterPath path;
    std::vector<QPointF> dots;
    size_t run = 0; // points in the current piece
    for (size_t i = 0; i <= n; ++i) {
        const bool measured = i < n && std::isfinite(levels[i]);
        if (!measured) {
            if (run == 1)
                dots.push_back(path.currentPosition());
            run = 0;
            continue;
        }
        const QPointF p(TSpinoramaChart::XOf(plot, spin.FrequenciesHz[i]),
                        chart.YOf(plot, curve, levels[i]));
        if (run == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
        ++run;
    }
    QPen pen = CurvePen(curve, f);
    painter.setPen(pen);
    painter.drawPath(path);
    pen.setStyle(Qt::SolidLine);
    painter.setPen(pen);
    for (const QPointF &dot : dots)
        painter.drawPoint(dot);
}

void DrawCurves(QPainter &painter, const TSpinoramaChart &chart, const TLayout &layout)
{
    painter.save();
    painter.setClipRect(layout.Plot);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // On Axis last, so it stays on top where curves meet.
    for (int c = TSpinorama::MainCurveCount - 1; c >= 0; --c)
        DrawCurve(painter, chart, layout.Plot, TSpinorama::TCurve(c), layout.Font);
    painter.restore();
}

void DrawRotatedCaption(QPainter &painter, const QRectF &plot, double x, const QString &text,
                        const QFontMetricsF &fm)
{
    painter.save();
    painter.translate(x, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -fm.height() / 2, plot.height(), fm.height()),
                     Qt::AlignCenter, fm.elidedText(text, Qt::ElideRight, plot.height()));
    painter.restore();
}

void DrawAxes(QPainter &painter, const TSpinoramaChart &chart, const TLayout &layout)
{
    const QRectF &plot = layout.Plot;
    const double f = layout.Font;
    const QFontMetricsF fm(layout.Text);
    const double tick = 0.4 * f;
    painter.setFont(layout.Text);
    painter.setPen(QPen(Qt::black, std::max(1.0, f / 12)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    for (const double hz : FrequencyLabels(layout)) {
        const double x = TSpinoramaChart::XOf(plot, hz);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + tick));
        const QString label = TPictureText::FrequencyLabel(hz);
        const double w = fm.horizontalAdvance(label);
        painter.drawText(QRectF(x - w, plot.bottom() + tick + 0.2 * f, 2 * w, fm.height()),
                         Qt::AlignCenter, label);
    }
    const double captionY = plot.bottom() + tick + 0.4 * f + fm.height();
    painter.drawText(QRectF(plot.left(), captionY, plot.width(), fm.height()), Qt::AlignCenter,
                     QCoreApplication::translate("TSpinoramaChart", "Częstotliwość [Hz]"));

    // Both axes share the gridlines: the same span, so each line has a label on either side.
    const int lines = int(std::lround(TSpinoramaChart::SpanDb / TSpinoramaChart::GridDb));
    const int every = plot.height() / lines >= fm.height() * 1.1 ? 1 : 2;
    const TSpinoramaChart::TRange levels = chart.LevelRange();
    const TSpinoramaChart::TRange di = chart.DiRange();
    const double labelBox = 4 * f;
    for (int i = 0; i <= lines; i += every) {
        const double y = plot.bottom() - plot.height() * i / lines;
        const double step = TSpinoramaChart::GridDb * i;
        painter.drawLine(QPointF(plot.left() - tick, y), QPointF(plot.left(), y));
        painter.drawLine(QPointF(plot.right(), y), QPointF(plot.right() + tick, y));
        painter.drawText(QRectF(plot.left() - tick - 0.3 * f - labelBox, y - fm.height() / 2,
                                labelBox, fm.height()),
                         Qt::AlignRight | Qt::AlignVCenter,
                         TPictureText::SignedLabel(std::round(levels.LowDb + step)));
        painter.drawText(
            QRectF(plot.right() + tick + 0.3 * f, y - fm.height() / 2, labelBox, fm.height()),
            Qt::AlignLeft | Qt::AlignVCenter,
            TPictureText::SignedLabel(std::round(di.LowDb + step)));
    }
    const double labelWidth = fm.horizontalAdvance(TPictureText::Minus + QStringLiteral("100"));
    const double offset = tick + 0.7 * f + labelWidth + fm.height() / 2;
    DrawRotatedCaption(painter, plot, plot.left() - offset,
                       QCoreApplication::translate("TSpinoramaChart", "Poziom [dB]"), fm);
    DrawRotatedCaption(painter, plot, plot.right() + offset, QStringLiteral("DI [dB]"), fm);
}

void DrawLegend(QPainter &painter, const TLayout &layout)
{
    const double f = layout.Font;
    painter.setFont(layout.Text);
    for (int c = 0; c < TSpinorama::MainCurveCount; ++c) {
        const auto curve = TSpinorama::TCurve(c);
        const QRectF &entry = layout.Legend[size_t(c)];
        const double y = entry.center().y();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(CurvePen(curve, f));
        painter.drawLine(QPointF(entry.left(), y), QPointF(entry.left() + LegendSampleWidth(f), y));
        painter.restore();
        painter.setPen(Qt::black);
        painter.drawText(entry.adjusted(LegendSampleWidth(f) + 0.4 * f, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter, TSpinoramaChart::CurveName(curve));
    }
}

} // namespace

void TSpinoramaChart::SetSpin(std::shared_ptr<const TSpinorama> spin)
{
    m_spin = std::move(spin);
    double loudest = -HUGE_VAL, lowestDi = HUGE_VAL;
    if (m_spin)
        for (int c = 0; c < TSpinorama::MainCurveCount; ++c)
            for (const double db : m_spin->CurvesDb[size_t(c)]) {
                if (!std::isfinite(db))
                    continue;
                if (IsDi(TSpinorama::TCurve(c)))
                    lowestDi = std::min(lowestDi, db);
                else
                    loudest = std::max(loudest, db);
            }
    const double top
        = std::isfinite(loudest) ? std::ceil((loudest + HeadroomDb) / GridDb) * GridDb : 0.0;
    m_levels = { top - SpanDb, top };
    const double foot = std::isfinite(lowestDi)
        ? std::min(DiBottomDb, std::floor(lowestDi / GridDb) * GridDb)
        : DiBottomDb;
    m_di = { foot, foot + SpanDb };
}

QString TSpinoramaChart::CurveName(TSpinorama::TCurve curve)
{
    switch (curve) {
    case TSpinorama::OnAxis:
        return QStringLiteral("On Axis");
    case TSpinorama::ListeningWindow:
        return QStringLiteral("Listening Window");
    case TSpinorama::EarlyReflections:
        return QStringLiteral("Early Reflections");
    case TSpinorama::SoundPower:
        return QStringLiteral("Sound Power");
    case TSpinorama::EstimatedInRoom:
        return QStringLiteral("Estimated In-Room Response");
    case TSpinorama::EarlyReflectionsDi:
        return QStringLiteral("Early Reflections DI");
    case TSpinorama::SoundPowerDi:
        return QStringLiteral("Sound Power DI");
    default:
        return {};
    }
}

QColor TSpinoramaChart::CurveColor(TSpinorama::TCurve curve)
{
    // Distinct hues of even weight, told apart on white and in the legend.
    static constexpr std::array<QRgb, TSpinorama::MainCurveCount> Colors = {
        0x1f4fb4, // On Axis: blue
        0xe07000, // Listening Window: orange
        0x2ca02c, // Early Reflections: green
        0xd62728, // Sound Power: red
        0x8c3cc8, // Estimated In-Room Response: violet
        0x17a2b8, // Early Reflections DI: teal
        0x7f5a3c, // Sound Power DI: brown
    };
    const int c = int(curve);
    return c >= 0 && c < TSpinorama::MainCurveCount ? QColor(Colors[size_t(c)]) : QColor(Qt::gray);
}

bool TSpinoramaChart::IsDi(TSpinorama::TCurve curve)
{
    return curve == TSpinorama::EarlyReflectionsDi || curve == TSpinorama::SoundPowerDi;
}

QRectF TSpinoramaChart::PlotRect(const QRect &rect) const
{
    return MakeLayout(rect, !m_title.isEmpty()).Plot;
}

double TSpinoramaChart::XOf(const QRectF &plot, double frequencyHz)
{
    return plot.left()
        + std::log10(frequencyHz / BottomHz) / std::log10(TopHz / BottomHz) * plot.width();
}

double TSpinoramaChart::YOf(const QRectF &plot, TSpinorama::TCurve curve, double db) const
{
    const TRange range = IsDi(curve) ? m_di : m_levels;
    return plot.bottom() - (db - range.LowDb) / (range.HighDb - range.LowDb) * plot.height();
}

void TSpinoramaChart::Render(QPainter &painter, const QRect &rect) const
{
    painter.save();
    painter.fillRect(rect, Qt::white);
    const TLayout layout = MakeLayout(rect, !m_title.isEmpty());
    if (!m_title.isEmpty()) {
        painter.setPen(Qt::black);
        painter.setFont(layout.TitleFont);
        painter.drawText(layout.Title, Qt::AlignCenter, m_title);
    }
    if (!m_spin || layout.Plot.isEmpty()) {
        // Too small a rectangle for the axes stays blank rather than claim "no data".
        if (!m_spin) {
            painter.setPen(Qt::black);
            painter.setFont(layout.Text);
            painter.drawText(rect, Qt::AlignCenter, tr("Brak danych"));
        }
        painter.restore();
        return;
    }
    DrawShade(painter, *m_spin, layout.Plot);
    DrawGrid(painter, layout);
    DrawCurves(painter, *this, layout);
    DrawAxes(painter, *this, layout);
    DrawLegend(painter, layout);
    painter.restore();
}

bool TSpinoramaChart::Export(const TSpinoramaChart &chart, const QString &fileName, QSize size,
                             QString *error)
{
    return TPictureWriter::WriteByExtension(
        fileName, size, chart.Title(),
        [&chart](QPainter &painter, const QRect &rect) { chart.Render(painter, rect); },
        tr("Spinoramę"), error);
}
