#pragma once

#include <functional>

class QDialog;
class TFrmMain;
class TFrmPrint;

// The two "&Drukuj" actions: the print dialog "Drukuj" over the main window's documents,
// either in its single form for the active document (acDrukuj, also on the chart's context
// menu) or in its full form with every open document to choose from (acDrukujExtra). The
// dialog is made for one showing and destroyed after it. GUI thread only.
class TPrintAction
{
public:
    // Shows the dialog modally and returns its result; tests replace it to drive the
    // dialog. Default: QDialog::exec().
    static std::function<int(TFrmPrint &dialog)> &Exec();

    // The single form for the active document; nothing without one.
    static void RunSingle(TFrmMain &main);
    // The full form over every open document, in the main window's order; nothing without
    // a document.
    static void RunExtra(TFrmMain &main);
};
