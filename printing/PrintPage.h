#pragma once

#include "printing/PrintLayout.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QPageSize>
#include <QPen>
#include <QString>

class QPainter;
class QRect;
class TPolarGraph;

// One printed sheet: the charts in their layout cells, each in a black frame. Shared by
// the printer, the print preview and "orvi-cli print", so all three lay the sheet out
// alike. The charts are not owned; they must outlive the call. GUI thread only (the charts
// are drawn through their Render).
class TPrintPage
{
    Q_DECLARE_TR_FUNCTIONS(TPrintPage)

public:
    // Draws Charts[i] into cell i + 1 of Count on Page of Canvas: the cell filled white, the
    // chart rendered with PrintMode into the cell shrunk by 1 pixel on every side, then a frame
    // of a black cosmetic pen (one device pixel; in a PDF the thinnest visible line) along the
    // cell's edges, over whatever the chart drew. Each chart's PrintMode is cleared again on
    // every path out, also when its rendering throws. Charts beyond Count get no cell.
    static void Paint(QPainter &Canvas, const QList<TPolarGraph *> &Charts,
                      const TPrintLayout &Layout, const QRect &Page, int Count);

    // The sheet as a one-page PDF in memory: paper of paperSize in the layout's orientation,
    // resolution in dots per inch, margins measured from the paper edge. title becomes the
    // document's title. False with a message in *error when the PDF cannot be produced.
    static bool RenderPdf(const QList<TPolarGraph *> &Charts, const TPrintLayout &Layout,
                          const QPageSize &paperSize, int resolution, const QString &title,
                          QByteArray &pdf, QString *error = nullptr);

    // RenderPdf, then the bytes to path through TFileWriter: either the whole file is there
    // or none (a full disk leaves nothing behind). On failure *error holds the user's
    // sentence.
    static bool WritePdf(const QString &path, const QList<TPolarGraph *> &Charts,
                         const TPrintLayout &Layout, const QPageSize &paperSize, int resolution,
                         const QString &title, QString *error = nullptr);

private:
    // The cells' frame pen: black, cosmetic (width 0).
    static QPen FramePen();
};
