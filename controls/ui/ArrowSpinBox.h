#pragma once

#include <QSpinBox>

// An integer spin field that reports its arrows: an arrow click, an arrow key, Page Up/Down
// or the mouse wheel first applies the field's own step (valueChanged fires as usual), then
// emits ArrowUp or ArrowDown, so that the owner can move on from the stepped value (the
// octave steps of a frequency field). Typed values report no arrow. GUI thread only.
class TArrowSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    using QSpinBox::QSpinBox;

    void stepBy(int steps) override;

signals:
    void ArrowUp();
    void ArrowDown();
};
