#include "audio/ui/QvVUMeter.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <cmath>

namespace {
constexpr double DegToRad = 3.14159265358979323846 / 180.0;
} // namespace

TQvVUMeter::TQvVUMeter(QWidget *parent)
    : QWidget(parent)
    , m_Title(QStringLiteral("dB"))
{
    QFont f = font();
    f.setBold(true);
    setFont(f);
    m_Model.OnClip = [this] {
        emit OnClip(this);
    };
    m_Model.OnNeedleChanged = [this] {
        NeedleChanged();
    };
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(170, 100);
}

TQvVUMeter::~TQvVUMeter() = default;

void TQvVUMeter::ProcessBuffer(const char *Buffer, int Size, int BlockLength)
{
    m_Model.ProcessBuffer(Buffer, Size, BlockLength);
}

void TQvVUMeter::SetLevel(int peak)
{
    m_Model.SetLevel(peak);
}

void TQvVUMeter::ResetNeedle()
{
    m_Model.ResetNeedle();
}

void TQvVUMeter::NeedleChanged()
{
    if (!m_ScaleDirty)
        DrawNeedle();
    update();
}

void TQvVUMeter::AppearanceChanged()
{
    m_ScaleDirty = true;
    update();
}

// Setters of the appearance act only on a changed value.
#define ORVI_METER_SETTER(Name, Type, member)                                                      \
    void TQvVUMeter::Set##Name(Type value)                                                         \
    {                                                                                              \
        if (member == value)                                                                       \
            return;                                                                                \
        member = value;                                                                            \
        AppearanceChanged();                                                                       \
    }

ORVI_METER_SETTER(BevelStyle, TBevelStyle, m_BevelStyle)
ORVI_METER_SETTER(Color, const QColor &, m_Color)
ORVI_METER_SETTER(FontColor, const QColor &, m_FontColor)
ORVI_METER_SETTER(ScaleColor1, const QColor &, m_ScaleColor1)
ORVI_METER_SETTER(ScaleColor2, const QColor &, m_ScaleColor2)
ORVI_METER_SETTER(ScaleColor3, const QColor &, m_ScaleColor3)
ORVI_METER_SETTER(Title, const QString &, m_Title)
ORVI_METER_SETTER(ScaleOrigin, TScaleOrigin, m_ScaleOrigin)
ORVI_METER_SETTER(ScaleAngle, int, m_ScaleAngle)
ORVI_METER_SETTER(ScaleTicks, int, m_ScaleTicks)
ORVI_METER_SETTER(ScaleTickMainEvery, int, m_ScaleTickMainEvery)
ORVI_METER_SETTER(ScaleTickTextEvery, int, m_ScaleTickTextEvery)
ORVI_METER_SETTER(Tick1Size, int, m_Tick1Size)
ORVI_METER_SETTER(Tick2Size, int, m_Tick2Size)
ORVI_METER_SETTER(ScalePart1, int, m_ScalePart1)
ORVI_METER_SETTER(ScalePart2, int, m_ScalePart2)
ORVI_METER_SETTER(TopMargin, int, m_TopMargin)

#undef ORVI_METER_SETTER

void TQvVUMeter::SetBevelWidth(int value)
{
    if (value < 1 || value == m_BevelWidth)
        return;
    m_BevelWidth = value;
    AppearanceChanged();
}

void TQvVUMeter::SetSensitivity(int value)
{
    if (value == m_Model.Sensitivity())
        return;
    m_Model.SetSensitivity(value);
    AppearanceChanged();
}

void TQvVUMeter::SetNeedleOffset(int value)
{
    if (value == m_NeedleOffset)
        return;
    m_NeedleOffset = value;
    AppearanceChanged();
}

void TQvVUMeter::SetLogScale(bool value)
{
    if (value == m_Model.LogScale())
        return;
    m_Model.SetLogScale(value);
    m_ScaleDirty = true;
    repaint();
}

void TQvVUMeter::SetNeedleColor(const QColor &value)
{
    m_NeedleColor = value;
}

void TQvVUMeter::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_ScaleDirty = true;
}

void TQvVUMeter::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AppearanceChanged();
}

void TQvVUMeter::paintEvent(QPaintEvent *)
{
    if (m_ScaleDirty) {
        DrawBackground();
        m_ScaleDirty = false;
        DrawNeedle();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_NeedleBitmap);
}

QPoint TQvVUMeter::LevelToPoint(double p, int r, QPoint pivot) const
{
    const double a
        = (90.0 - m_ScaleAngle / 2.0) + (1.0 - p / TVUMeterModel::FullScale) * m_ScaleAngle;
    const int x = TVUMeterModel::NearestInt(std::cos(a * DegToRad) * r) + pivot.x();
    const int y = pivot.y() - TVUMeterModel::NearestInt(std::sin(a * DegToRad) * r);
    return QPoint(x, y);
}

void TQvVUMeter::DrawBackground()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    m_ScaleBitmap = QImage(pixels, QImage::Format_RGB32);
    m_ScaleBitmap.setDevicePixelRatio(ratio);
    QPainter painter(&m_ScaleBitmap);
    RenderBackground(painter, size());
}

void TQvVUMeter::DrawNeedle()
{
    if (m_ScaleBitmap.isNull())
        return;
    m_NeedleBitmap = m_ScaleBitmap.copy();
    QPainter painter(&m_NeedleBitmap);
    RenderNeedle(painter, size());
}

void TQvVUMeter::Render(QPainter &painter, const QRect &rect)
{
    painter.save();
    painter.translate(rect.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), rect.size()), Qt::IntersectClip);
    RenderBackground(painter, rect.size());
    RenderNeedle(painter, rect.size());
    painter.restore();
}

void TQvVUMeter::RenderBackground(QPainter &painter, QSize size)
{
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), m_Color);

    const int left = 0, top = 0, right = size.width() - 1, bottom = size.height() - 1;
    QColor first, second;
    switch (m_BevelStyle) {
    case bsLowered:
        first = palette().color(QPalette::Dark);
        second = palette().color(QPalette::Light);
        break;
    case bsRaised:
        first = palette().color(QPalette::Light);
        second = palette().color(QPalette::Dark);
        break;
    case bsNone:
        first = second = m_Color;
        break;
    }
    QPen pen(first, m_BevelWidth);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawPolyline(QPolygon({ QPoint(left, bottom), QPoint(left, top), QPoint(right, top) }));
    pen.setColor(second);
    painter.setPen(pen);
    painter.drawPolyline(
        QPolygon({ QPoint(right, top), QPoint(right, bottom), QPoint(left, bottom) }));

    const QRect inner(QPoint(left + m_BevelWidth, top + m_BevelWidth),
                      QPoint(right - m_BevelWidth, bottom - m_BevelWidth));
    RenderScale(painter, inner, QPoint(size.width() / 2, size.height() + m_NeedleOffset));
    painter.restore();
}

void TQvVUMeter::RenderScale(QPainter &painter, const QRect &inner, QPoint pivot)
{
    // inner's right and bottom are the rectangle's inclusive edge coordinates.
    const int left = inner.left(), top = inner.top();
    const int right = inner.right(), bottom = inner.bottom();

    painter.setFont(font());
    painter.setPen(QPen(m_FontColor, 1));
    {
        const QFontMetrics fm(painter.font());
        const int x = (right - left - fm.horizontalAdvance(m_Title)) / 2;
        const int y = bottom - top - fm.height() - 4;
        painter.drawText(x, y + fm.ascent(), m_Title);
    }

    QFont small(QStringLiteral("Small Fonts"));
    small.setPointSize(6);
    painter.setFont(small);
    const QFontMetrics fm(small);

    const int radius = bottom + m_NeedleOffset - top - m_TopMargin;
    const int ticks = m_ScaleTicks;
    if (ticks < 2)
        return;
    const int sensitivity = m_Model.Sensitivity();
    for (int i = 0; i < ticks; ++i) {
        const int p = TVUMeterModel::TickLevel(i, ticks);
        const bool last = i == ticks - 1;
        const bool main = last || (m_ScaleTickMainEvery > 0 && i % m_ScaleTickMainEvery == 0);
        int from, to;
        if (main) {
            from = radius - m_Tick2Size;
            to = radius;
        } else if (m_ScaleOrigin == soOuter) {
            from = radius - m_Tick1Size;
            to = radius;
        } else {
            from = radius - m_Tick2Size;
            to = radius - m_Tick2Size + m_Tick1Size;
        }
        const int zone = TVUMeterModel::TickZone(i, ticks, m_ScalePart1, m_ScalePart2);
        const QColor colour = zone == 1 ? m_ScaleColor1 : zone == 2 ? m_ScaleColor2 : m_ScaleColor3;
        const QPoint inPoint = LevelToPoint(p, from, pivot);
        const QPoint outPoint = LevelToPoint(p, to, pivot);
        painter.setPen(QPen(colour, 1));
        painter.drawLine(inPoint, outPoint);

        if (last || (m_ScaleTickTextEvery > 0 && i % m_ScaleTickTextEvery == 0)) {
            const int v = TVUMeterModel::TickLabel(i, ticks, sensitivity, m_Model.LogScale());
            const QString text = QString::number(v);
            const int x = outPoint.x() + fm.horizontalAdvance(QString::number(std::abs(v))) / 2
                - fm.horizontalAdvance(text) + 1;
            const int y = outPoint.y() - fm.height() - 3;
            painter.setPen(QPen(m_FontColor, 1));
            painter.drawText(x, y + fm.ascent(), text);
        }
    }
}

void TQvVUMeter::RenderNeedle(QPainter &painter, QSize size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(m_NeedleColor, 1));
    const QPoint pivot(size.width() / 2, size.height() + m_NeedleOffset);
    painter.drawLine(
        pivot,
        LevelToPoint(m_Model.NeedlePos(), size.height() + m_NeedleOffset - m_TopMargin, pivot));
    painter.restore();
}
