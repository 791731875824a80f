#include "controls/ui/ColorComboBox.h"

#include "chart/WinColor.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

// Swatch size in pixels: wide enough to tell neighbouring shades apart, as tall as a text line.
constexpr int SwatchWidth = 24;
constexpr int SwatchHeight = 12;

QIcon SwatchIcon(quint32 color)
{
    QPixmap pixmap(SwatchWidth, SwatchHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(WinColor::ToQColor(color));
    // The black frame keeps white and silver visible on a white list background.
    painter.drawRect(0, 0, SwatchWidth - 1, SwatchHeight - 1);
    return QIcon(pixmap);
}

} // namespace

TColorComboBox::TColorComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    setIconSize(QSize(SwatchWidth, SwatchHeight));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, &QComboBox::activated, this, &TColorComboBox::OnActivated);
}

void TColorComboBox::SetColors(const QList<TNamedColor> &colors)
{
    const QSignalBlocker blocker(this);
    clear();
    for (const TNamedColor &entry : colors)
        addItem(SwatchIcon(entry.Color), entry.Name, QVariant::fromValue(entry.Color));
    setCurrentIndex(-1);
}

quint32 TColorComboBox::ColorValue() const
{
    const int index = currentIndex();
    return index >= 0 ? itemData(index).value<quint32>() : m_color;
}

void TColorComboBox::SetColorValue(quint32 color)
{
    m_color = color;
    setCurrentIndex(IndexOfColor(color));
}

int TColorComboBox::IndexOfColor(quint32 color) const
{
    for (int i = 0; i < count(); ++i) {
        if (itemData(i).value<quint32>() == color)
            return i;
    }
    return -1;
}

void TColorComboBox::OnActivated(int index)
{
    if (index < 0)
        return;
    const quint32 color = itemData(index).value<quint32>();
    if (color == m_color)
        return;
    m_color = color;
    emit ColorValueChanged(color);
}
