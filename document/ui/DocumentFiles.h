#pragma once

#include "document/ui/DocumentHost.h"

#include <QCoreApplication>
#include <QString>

class QWidget;
class TFrmChild;

// The file commands on one document window: save, save as, export, and the open dialog.
// They ask the user through TPrompts and report errors there (message box "Orvi"), so a
// failure never ends silently. GUI thread only.
class TDocumentFiles
{
    Q_DECLARE_TR_FUNCTIONS(TDocumentFiles)

public:
    using ESaveResult = TDocumentHost::ESaveResult;

    // The open and save dialogs' filter of characteristic files.
    static QString OvkFilter();

    // The open dialog; the chosen path, or an empty string when cancelled.
    static QString AskOpenPath(QWidget *owner);

    // Writes the document to its file, or asks for a name first when it has none (SaveAs).
    static ESaveResult Save(QWidget *owner, TFrmChild &document);
    // Asks for a name (proposing the current one) and writes the document there with the
    // info text "Nieznany" and the current date. After a failure the chosen name stays with
    // the document, which becomes untitled (the next Save asks again) and stays modified.
    static ESaveResult SaveAs(QWidget *owner, TFrmChild &document);

    // Asks for a picture file and exports the chart: enhanced or old-style metafile by the
    // first two filters (the extension follows the filter), then SVG, PDF and PNG of
    // 800 x 600. The dialog starts in the document's folder when the document has a file of
    // its own. When the file that would be written (its extension set from the filter)
    // exists, the user is asked before it is replaced; "No" writes nothing. Returns true
    // when a file was written.
    static bool Export(QWidget *owner, TFrmChild &document);

    // The box that says what was kept beside the document could not be written (nothing
    // when error is empty).
    static void ReportBesideError(TFrmChild &document, const QString &error);

    // The question asked before fileName (a full path) is replaced.
    static QString OverwriteQuestion(const QString &fileName);
    // Asks OverwriteQuestion (caption "Orvi", question icon, Yes and No); true for Yes.
    static bool ConfirmOverwrite(QWidget *owner, const QString &fileName);
};
