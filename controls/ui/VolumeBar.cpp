#include "controls/ui/VolumeBar.h"

TVolumeBar::TVolumeBar(QWidget *parent)
    : QSlider(Qt::Vertical, parent)
{
    resize(40, 132);
    setRange(0, 65535);
    setTickPosition(QSlider::TicksBothSides);
    setTickInterval((maximum() + 1) / 32);
}

void TVolumeBar::SetVolume(int volume)
{
    if (volume >= minimum() && volume <= maximum())
        setValue(maximum() - volume);
}
