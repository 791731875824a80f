#include "app/ui/ToolWindows.h"

#include <QtGlobal>

// includes: generator window
// includes: level meter window
// includes: turntable control window
// includes: series editor

void CreateToolWindows(TFrmMain &main, const TStartOptions &options)
{
    Q_UNUSED(main);
    Q_UNUSED(options);
    // section: generator window
    // section: level meter window
    // section: turntable control window
    // section: series editor
}
