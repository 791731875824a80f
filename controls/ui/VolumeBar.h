#pragma once

#include <QSlider>

// The program's slider: a track bar created vertical, 40 x 132 pixels, ticks on both sides,
// range 0..65535 with a tick every (maximum + 1) / 32 positions. Volume counts from the
// other end (maximum - position), so that a vertical bar is loudest at the top. Owners may
// turn it horizontal and give it their own range; they then use value() directly.
// GUI thread only.
class TVolumeBar : public QSlider
{
    Q_OBJECT
    Q_PROPERTY(int Volume READ Volume WRITE SetVolume)

public:
    explicit TVolumeBar(QWidget *parent = nullptr);

    int Volume() const { return maximum() - value(); }
    // Ignored outside minimum..maximum.
    void SetVolume(int volume);
};
