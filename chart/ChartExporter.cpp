#include "chart/ChartExporter.h"

#include "chart/MetafileDevice.h"
#include "chart/PolarGraph.h"
#include "controls/FileWriter.h"
#include "controls/PictureWriter.h"

#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

namespace {

// Sets the chart's export mode and the busy cursor for one export and undoes both on every
// path out, also when drawing or writing throws.
class TExportScope
{
public:
    TExportScope(TPolarGraph &graph, void (*setMode)(TPolarGraph &, bool))
        : m_graph(graph)
        , m_setMode(setMode)
    {
        m_setMode(m_graph, true);
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TExportScope()
    {
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
        m_setMode(m_graph, false);
    }
    TExportScope(const TExportScope &) = delete;
    TExportScope &operator=(const TExportScope &) = delete;

private:
    TPolarGraph &m_graph;
    void (*m_setMode)(TPolarGraph &, bool);
};

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

QString WriteError(const QString &fileName, const QString &reason)
{
    return TFileWriter::FailureMessage(fileName, reason);
}

bool ExportMeta(TPolarGraph &graph, const QString &fileName, bool enhanced, QString *error)
{
    const QSize size = TChartExporter::MetafileSize;
    TMetafileDevice device(
        enhanced ? TMetafileDevice::Kind::Enhanced : TMetafileDevice::Kind::Placeable, size);
    {
        QPainter painter;
        if (!painter.begin(&device))
            return Fail(
                error,
                WriteError(fileName,
                           QCoreApplication::translate("TChartExporter", "błąd metapliku")));
        graph.Render(painter, QRect(QPoint(0, 0), size));
    }
    // Into memory first, then through the checked writer, as the other formats.
    QString message;
    if (!TFileWriter::WriteFile(fileName, device.Finish(), &message))
        return Fail(error, message);
    return true;
}

} // namespace

std::optional<TChartExporter::Format> TChartExporter::FormatFromFileName(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("emf"))
        return Format::Emf;
    if (suffix == QLatin1String("wmf"))
        return Format::Wmf;
    if (suffix == QLatin1String("svg"))
        return Format::Svg;
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    if (suffix == QLatin1String("png"))
        return Format::Png;
    return std::nullopt;
}

QString TChartExporter::Extension(Format format)
{
    switch (format) {
    case Format::Emf:
        return QStringLiteral(".emf");
    case Format::Wmf:
        return QStringLiteral(".wmf");
    case Format::Svg:
        return QStringLiteral(".svg");
    case Format::Pdf:
        return QStringLiteral(".pdf");
    case Format::Png:
        break;
    }
    return QStringLiteral(".png");
}

QString TChartExporter::SuggestedFileName(const QString &documentFileName)
{
    return QFileInfo(documentFileName).completeBaseName();
}

QStringList TChartExporter::DialogFilters()
{
    return { QStringLiteral("*.emf (*.emf)"), QStringLiteral("*.wmf (*.wmf)"),
             QStringLiteral("SVG (*.svg)"), QStringLiteral("PDF (*.pdf)"),
             QStringLiteral("PNG (*.png)") };
}

std::optional<TChartExporter::Format> TChartExporter::FormatOfFilter(int index)
{
    static constexpr Format order[]
        = { Format::Emf, Format::Wmf, Format::Svg, Format::Pdf, Format::Png };
    if (index < 0 || index >= int(std::size(order)))
        return std::nullopt;
    return order[index];
}

QString TChartExporter::ApplyExtension(const QString &chosenName, Format format)
{
    // Only the last dot of the file name itself counts, not one in a folder name.
    const qsizetype slash = std::max(chosenName.lastIndexOf(QLatin1Char('/')),
                                     chosenName.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = chosenName.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? chosenName.left(dot) : chosenName;
    return stem + Extension(format);
}

bool TChartExporter::Export(TPolarGraph &graph, const QString &fileName, Format format, QSize size,
                            QString *error)
{
    if (format == Format::Emf || format == Format::Wmf)
        size = MetafileSize;
    if (size.width() <= 0 || size.height() <= 0 || size.width() > 20000 || size.height() > 20000)
        return Fail(
            error,
            tr("Nieprawidłowy rozmiar obrazu: %1 × %2").arg(size.width()).arg(size.height()));
    const TExportScope scope(graph, [](TPolarGraph &g, bool on) { g.SetMetafileMode(on); });
    const auto render = [&graph](QPainter &painter, const QRect &rect) {
        graph.Render(painter, rect);
    };
    switch (format) {
    case Format::Emf:
        return ExportMeta(graph, fileName, true, error);
    case Format::Wmf:
        return ExportMeta(graph, fileName, false, error);
    case Format::Svg:
        return TPictureWriter::WriteSvg(fileName, size, graph.Title(), render, error);
    case Format::Pdf:
        return TPictureWriter::WritePdf(fileName, size, graph.Title(), render, error);
    case Format::Png:
        break;
    }
    return TPictureWriter::WritePng(fileName, size, render, error);
}
