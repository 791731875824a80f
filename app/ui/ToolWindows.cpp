#include "app/ui/ToolWindows.h"

#include <QtGlobal>


void CreateToolWindows(TFrmMain &main, const TStartOptions &options)
{
    Q_UNUSED(options);
    // --- generator window ---
    // --- level meter window ---
    // --- turntable control window ---
    // --- series editor ---
    Q_UNUSED(main);
}
