#include "analysis/ui/PictureFileDialog.h"

#include "chart/ChartExporter.h"
#include "document/ui/DocumentFiles.h"
#include "document/ui/Prompts.h"

#include <QFileInfo>

#include <algorithm>
#include <iterator>

namespace {

// The dialog's filters in the order of their formats.
constexpr TChartExporter::Format FilterFormats[]
    = { TChartExporter::Format::Png, TChartExporter::Format::Svg, TChartExporter::Format::Pdf };

} // namespace

QString AskPictureFileName(QWidget *owner, const QString &proposed)
{
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Save;
    request.FileName = proposed;
    request.Filters = { QStringLiteral("PNG (*.png)"), QStringLiteral("SVG (*.svg)"),
                        QStringLiteral("PDF (*.pdf)") };
    // The question about replacing a file is asked below, once the extension is known.
    request.ConfirmOverwrite = false;
    if (!AskFileName(owner, request))
        return {};
    const int index = std::clamp(request.FilterIndex, 0, int(std::size(FilterFormats)) - 1);
    const QString fileName = TChartExporter::ApplyExtension(request.FileName, FilterFormats[index]);
    if (QFileInfo::exists(fileName) && !TDocumentFiles::ConfirmOverwrite(owner, fileName))
        return {};
    return fileName;
}
