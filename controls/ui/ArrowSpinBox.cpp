#include "controls/ui/ArrowSpinBox.h"

void TArrowSpinBox::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    if (steps > 0)
        emit ArrowUp();
    else if (steps < 0)
        emit ArrowDown();
}
