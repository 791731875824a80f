#include "printing/PrintPage.h"

#include "chart/PolarGraph.h"
#include "controls/FileWriter.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace {

// Black-on-white drawing for one chart's render, undone on every path out.
class TPrintModeScope
{
public:
    explicit TPrintModeScope(TPolarGraph &graph)
        : m_graph(graph)
    {
        m_graph.SetPrintMode(true);
    }
    ~TPrintModeScope() { m_graph.SetPrintMode(false); }
    TPrintModeScope(const TPrintModeScope &) = delete;
    TPrintModeScope &operator=(const TPrintModeScope &) = delete;

private:
    TPolarGraph &m_graph;
};

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

void TPrintPage::Paint(QPainter &Canvas, const QList<TPolarGraph *> &Charts,
                       const TPrintLayout &Layout, const QRect &Page, int Count)
{
    for (int i = 0; i < Charts.size() && i < Count; ++i) {
        TPolarGraph *chart = Charts.at(i);
        const QRect cell = Layout.LayoutCell(Canvas.device(), i + 1, false, Page, Count);
        if (!chart || cell.width() < 3 || cell.height() < 3)
            continue;
        Canvas.fillRect(cell, Qt::white);
        {
            const TPrintModeScope printMode(*chart);
            chart->Render(Canvas, cell.adjusted(1, 1, -1, -1));
        }
        // The frame goes over the chart: one pixel of a 600-dpi sheet is less than one of a
        // PDF viewer, where the chart's fill drawn after it would cover its left and top edges.
        Canvas.save();
        Canvas.setRenderHint(QPainter::Antialiasing, false);
        Canvas.setPen(FramePen());
        Canvas.setBrush(Qt::NoBrush);
        // A 1-pixel pen outlines the rectangle's right and bottom one pixel further out:
        // the frame's last column and row are the cell's last ones.
        Canvas.drawRect(cell.adjusted(0, 0, -1, -1));
        Canvas.restore();
    }
}

QPen TPrintPage::FramePen()
{
    // Cosmetic: one device pixel on a printer or an image, and in a PDF the thinnest line
    // the viewer can show at any zoom (a pen 1 pixel of the 600-dpi sheet wide is a quarter
    // of a pixel at 150 dpi, which viewers thin out or drop).
    QPen pen(Qt::black, 0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

bool TPrintPage::RenderPdf(const QList<TPolarGraph *> &Charts, const TPrintLayout &Layout,
                           const QPageSize &paperSize, int resolution, const QString &title,
                           QByteArray &pdf, QString *error)
{
    pdf.clear();
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(resolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Orvi"));
        // No printable-area margins: the sheet's own margins are measured from the paper
        // edge by the layout.
        const QPageLayout page(paperSize,
                               Layout.Portrait ? QPageLayout::Portrait : QPageLayout::Landscape,
                               QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        if (!writer.setPageLayout(page))
            return Fail(error, tr("Nieprawidłowy rozmiar papieru."));
        QPainter painter;
        if (!painter.begin(&writer))
            return Fail(error, tr("Nie można utworzyć dokumentu PDF."));
        const QRect paper(QPoint(0, 0), QSize(writer.width(), writer.height()));
        Paint(painter, Charts, Layout, paper, int(Charts.size()));
        if (!painter.end())
            return Fail(error, tr("Nie można utworzyć dokumentu PDF."));
    }
    buffer.close();
    return true;
}

bool TPrintPage::WritePdf(const QString &path, const QList<TPolarGraph *> &Charts,
                          const TPrintLayout &Layout, const QPageSize &paperSize, int resolution,
                          const QString &title, QString *error)
{
    QByteArray pdf;
    if (!RenderPdf(Charts, Layout, paperSize, resolution, title, pdf, error))
        return false;
    QString message;
    if (!TFileWriter::WriteFile(path, pdf, &message))
        return Fail(error, message);
    return true;
}
