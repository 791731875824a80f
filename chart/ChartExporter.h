#pragma once

#include <QCoreApplication>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class TPolarGraph;

// Writes a chart to a file through its Render, black on white: Enhanced Metafile,
// placeable Windows Metafile (both 800 × 600 units), SVG, PDF or PNG. A failed export
// leaves no file behind and the chart as it was. GUI thread only.
class TChartExporter
{
    Q_DECLARE_TR_FUNCTIONS(TChartExporter)

public:
    enum class Format { Emf, Wmf, Svg, Pdf, Png };

    static constexpr QSize MetafileSize { 800, 600 };

    // The format of a file name's extension (case-insensitive), or none.
    static std::optional<Format> FormatFromFileName(const QString &fileName);
    // The usual extension of a format, with the dot (".emf").
    static QString Extension(Format format);

    // The export dialog's rules. The preset name is the document's file name without
    // directory and extension. The filters are the two metafile filters first, then SVG,
    // PDF and PNG; the chosen filter decides the format, and the chosen name's extension
    // is replaced by the filter's (added when there is none): "plot.emf" typed with the
    // WMF filter is written as "plot.wmf".
    static QString SuggestedFileName(const QString &documentFileName);
    static QStringList DialogFilters();
    static std::optional<Format> FormatOfFilter(int index);
    static QString ApplyExtension(const QString &chosenName, Format format);

    // Renders graph into fileName. size is the picture in pixels (96 per inch) for SVG, PDF
    // and PNG; metafiles are always MetafileSize. Returns false with a message in *error.
    static bool Export(TPolarGraph &graph, const QString &fileName, Format format, QSize size,
                       QString *error = nullptr);
};
