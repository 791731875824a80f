#pragma once

#include <QList>
#include <QString>

class QAction;
class QObject;
class TFrmChild;
class TPolarGraph;

// What a document window needs from the frame that holds it (the main window). Keeps the
// document window free of the main window's class. GUI thread only.
class TDocumentHost
{
public:
    virtual ~TDocumentHost() = default;

    // Document windows currently open (not yet closed), and the active one (nullptr when none).
    virtual int DocumentCount() const = 0;
    virtual TFrmChild *ActiveDocument() const = 0;

    // The size box shows this zoom (percent).
    virtual void ShowZoom(int zoom) = 0;
    // The series editor shows this chart.
    virtual void BindSeriesEditor(TPolarGraph *graph) = 0;
    // Text for the cursor read-out panel of the status bar; empty clears it.
    virtual void ShowCursorReadout(const QString &text) = 0;

    enum class ESaveResult { Saved, Cancelled, Failed };
    // Saves the document as the "Zapisz" action does (asks for a name when it has none);
    // a failure has been reported to the user when this returns Failed.
    virtual ESaveResult SaveDocument(TFrmChild &document) = 0;
    // Writes what is kept beside the document's file (its measurements) before the file
    // itself is written to path. Returns the user's message when that failed (the file is
    // saved all the same), empty otherwise. Default: nothing is kept beside documents.
    virtual QString SaveBeside(TFrmChild &document, const QString &path)
    {
        (void)document;
        (void)path;
        return {};
    }
    // The document window has been closed and is about to be destroyed.
    virtual void DocumentClosed(TFrmChild &document) = 0;
    // True while the frame closes every document at its shut-down (no close can be refused).
    virtual bool ShuttingDown() const = 0;

    // The chart's context menu: export, print, separator (nullptr), chart settings.
    virtual QList<QAction *> ChartContextActions() const = 0;

    // Series dragged from the series editor onto a chart: may this drag source drop a series
    // on target, and do it.
    virtual bool CanDropSeries(QObject *dragSource, TPolarGraph &target) const = 0;
    virtual void DropSeries(TPolarGraph &target) = 0;
};
