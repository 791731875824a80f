// orvi-cli command for charts: export a characteristic file as a picture.
#include "CliCommand.h"
#include "CliLoad.h"
#include "CliPaths.h"

#include "chart/ChartExporter.h"
#include "chart/PolarGraph.h"
#include "document/OvkFile.h"

#include <QFile>

namespace {

constexpr char ExportUsage[]
    = "export FILE.OvK OUT [--width W --height H]  chart as .emf, .wmf, .svg, .pdf or .png";

bool ParseSize(const QString &text, const char *what, int &value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 16 || v > 20000) {
        CliError(QStringLiteral("orvi-cli export: %1 must be a whole number of pixels from 16 to "
                                "20000, not \"%2\"")
                     .arg(QLatin1String(what), text));
        return false;
    }
    value = v;
    return true;
}

int RunExport(const QStringList &args)
{
    QStringList positional;
    int width = TChartExporter::MetafileSize.width();
    int height = TChartExporter::MetafileSize.height();
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--width") || a == QLatin1String("--height")) {
            if (i + 1 >= args.size()) {
                CliError(QStringLiteral("orvi-cli export: %1 needs a value").arg(a));
                return 1;
            }
            const bool isWidth = a == QLatin1String("--width");
            if (!ParseSize(args.at(++i), isWidth ? "--width" : "--height",
                           isWidth ? width : height))
                return 1;
        } else if (a.startsWith(QLatin1String("--"))) {
            CliError(QStringLiteral("orvi-cli export: unknown option \"%1\"").arg(a));
            return 1;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2) {
        CliError(
            QStringLiteral("orvi-cli export: usage: orvi-cli %1").arg(QLatin1String(ExportUsage)));
        return 1;
    }
    const QString input = positional.at(0);
    const QString output = positional.at(1);
    const auto format = TChartExporter::FormatFromFileName(output);
    if (!format) {
        CliError(QStringLiteral("orvi-cli export: unknown picture format of \"%1\" (use .emf, "
                                ".wmf, .svg, .pdf or .png)")
                     .arg(output));
        return 1;
    }

    TCliPaths paths;
    paths.AddInput(input);
    paths.AddFile(output, QStringLiteral("the output"));
    if (const QString problem = paths.Problem(); !problem.isEmpty()) {
        CliError(QStringLiteral("orvi-cli export: ") + problem);
        return 1;
    }

    TPolarGraph graph;
    graph.ApplyDocumentDefaults();
    TOvkFile file(&graph, input);
    if (!CliLoadDocument(QStringLiteral("orvi-cli export: "), input, file))
        return 1;
    QString error;
    if (!TChartExporter::Export(graph, output, *format, QSize(width, height), &error)) {
        CliError(QStringLiteral("orvi-cli export: ") + error);
        return 1;
    }
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("export", ExportUsage, &RunExport);
