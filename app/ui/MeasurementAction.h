#pragma once

#include <functional>

class QDialog;
class TClock;
class TFrmMain;

// "&Dodaj": asks for the new measurement's parameters ("Nowy pomiar"), then runs it in the
// measurement window ("Pomiar") on the active document's chart, with the tool windows of
// the main window as the rig. The document is marked modified when a series was added.
// GUI thread only.
class TMeasurementAction
{
public:
    // Shows a modal window and returns its result; tests replace it to drive the windows.
    // Default: QDialog::exec().
    static std::function<int(QDialog &dialog)> &Exec();

    // Does nothing without an active document, the port or the tool windows.
    static void Run(TFrmMain &main, TClock &clock);
};
