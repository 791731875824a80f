#include "printing/ui/PrintJob.h"

#include "chart/PolarGraph.h"
#include "printing/PrintPage.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>

namespace {

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

bool PrintsToFile(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat;
}

} // namespace

QString TPrintJob::TargetName(const QPrinter &printer)
{
    if (PrintsToFile(printer))
        return QDir::toNativeSeparators(printer.outputFileName());
    return printer.printerName();
}

bool TPrintJob::Print(QPrinter &printer, const QList<TPolarGraph *> &charts,
                      const TPrintLayout &layout, QString *error)
{
    const QList<TPolarGraph *> sheet = charts.mid(0, TPrintLayout::MaxCharts);
    if (sheet.isEmpty())
        return true;
    const QString title = sheet.first() ? sheet.first()->Title() : QString();
    printer.setPageOrientation(layout.Portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer.setDocName(title);
    printer.setFullPage(true);

    if (PrintsToFile(printer)) {
        if (printer.outputFileName().isEmpty())
            return Fail(error,
                        tr("Nie wybrano drukarki ani pliku wydruku. Wybierz "
                           "je w oknie \"Ustawienia wydruku\"."));
        return TPrintPage::WritePdf(printer.outputFileName(), sheet, layout,
                                    printer.pageLayout().pageSize(), printer.resolution(), title,
                                    error);
    }

    const QString failure
        = tr("Drukowanie na drukarce \"%1\" nie powiodło się.").arg(printer.printerName());
    if (printer.printerName().isEmpty() || !printer.isValid())
        return Fail(error,
                    tr("Nie wybrano drukarki. Wybierz ją w oknie "
                       "\"Ustawienia wydruku\"."));
    QPainter painter;
    if (!painter.begin(&printer))
        return Fail(error, failure);
    // Full-page drawing puts the origin at the paper's corner, so the margins are measured
    // from the paper edge, not from the printable area.
    const QRect paper(QPoint(0, 0), printer.paperRect(QPrinter::DevicePixel).size().toSize());
    TPrintPage::Paint(painter, sheet, layout, paper, int(sheet.size()));
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error)
        return Fail(error, failure);
    return true;
}
