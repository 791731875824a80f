#pragma once

class TFrmMain;
class TFrmSerie;

// Creates the series editor, hands it to main (which owns it from then on) and connects the
// two: the editor shows the chart of the active document under its window's caption, takes
// part in dragging series between documents and, when the chart it shows is destroyed
// without a document window being closed (a document that failed to load), binds the chart
// of the document that is active then. Returns the editor.
TFrmSerie *InstallSeriesEditor(TFrmMain &main);
