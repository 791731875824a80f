#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

class QPrinter;
class TPolarGraph;
class TPrintLayout;

// One print job of the print dialog: the sheet of TPrintPage on a printer of the system, or
// into a PDF file when the printer is set to print to a file (that file is written through
// TFileWriter, so it is complete or not there). GUI thread only; blocks until the job has
// been handed to the printing system.
class TPrintJob
{
    Q_DECLARE_TR_FUNCTIONS(TPrintJob)

public:
    // What the progress window names: the printer, or the output file when printing to one.
    static QString TargetName(const QPrinter &printer);

    // Sets printer's orientation from layout, the job title (the first chart's title) and
    // full-page drawing, then prints charts (at most four) on one sheet with margins from
    // the paper edge. The charts keep their screen appearance afterwards on every path.
    // False with the user's sentence in *error when there is no printer or output file, the
    // job cannot be started or the printing system reports a failure.
    static bool Print(QPrinter &printer, const QList<TPolarGraph *> &charts,
                      const TPrintLayout &layout, QString *error = nullptr);
};
