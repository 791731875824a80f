#include "controls/ui/QvLed.h"

#include <QPainter>

TQvLed::TQvLed(QWidget *parent)
    : QWidget(parent)
{
    resize(16, 8);
}

void TQvLed::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    update();
}

void TQvLed::SetBevelStyle(TBevelStyle style)
{
    if (style == m_bevelStyle)
        return;
    m_bevelStyle = style;
    update();
}

void TQvLed::SetLedColor(TLedColor color)
{
    if (color == m_ledColor)
        return;
    m_ledColor = color;
    PresetColors(color, m_onColor, m_offColor);
    update();
}

void TQvLed::SetOnColor(quint32 color)
{
    if (color == m_onColor)
        return;
    m_onColor = color;
    m_ledColor = lcCustom;
    update();
}

void TQvLed::SetOffColor(quint32 color)
{
    if (color == m_offColor)
        return;
    m_offColor = color;
    m_ledColor = lcCustom;
    update();
}

bool TQvLed::PresetColors(TLedColor color, quint32 &onColor, quint32 &offColor)
{
    switch (color) {
    case lcRed:
        onColor = 0x0000FF;
        offColor = 0x000080;
        return true;
    case lcYellow:
        onColor = 0x00FFFF;
        offColor = 0x008080;
        return true;
    case lcGreen:
        onColor = 0x00FF00;
        offColor = 0x008000;
        return true;
    case lcBlue:
        onColor = 0xFFFF00;
        offColor = 0xFF0000;
        return true;
    case lcCustom:
        break;
    }
    return false;
}

QColor TQvLed::ToQColor(quint32 color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

void TQvLed::Render(QPainter &painter, const QRect &rect) const
{
    if (rect.width() < 1 || rect.height() < 1)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const int x0 = rect.left();
    const int y0 = rect.top();
    const int x1 = rect.right(); // left + W - 1
    const int y1 = rect.bottom(); // top + H - 1

    // The fill leaves the last column and row to the frame, as the bevel covers them.
    painter.fillRect(QRect(x0, y0, rect.width() - 1, rect.height() - 1),
                     ToQColor(m_active ? m_onColor : m_offColor));

    const QColor shadow = palette().color(QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Light);
    const QColor leftTop = m_bevelStyle == bsLowered ? shadow : highlight;
    const QColor rightBottom = m_bevelStyle == bsLowered ? highlight : shadow;

    // The two one-pixel lines as filled strips, so that the corners come out exactly as
    // with polylines that stop short of their last point: left/top from the bottom-left
    // corner to just before the top-right one, right/bottom from the top-right corner to
    // just before the bottom-left one.
    const int w = rect.width();
    const int h = rect.height();
    painter.fillRect(QRect(x0, y0, 1, h), leftTop);
    painter.fillRect(QRect(x0, y0, w - 1, 1), leftTop);
    painter.fillRect(QRect(x1, y0, 1, h), rightBottom);
    painter.fillRect(QRect(x0 + 1, y1, w - 1, 1), rightBottom);
    painter.restore();
}

void TQvLed::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    Render(painter, rect());
}
