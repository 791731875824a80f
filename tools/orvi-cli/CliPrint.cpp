// orvi-cli command for printing: up to four charts on one sheet, as a PDF.
#include "CliCommand.h"
#include "CliLoad.h"
#include "CliPaths.h"

#include "chart/PolarGraph.h"
#include "document/OvkFile.h"
#include "printing/PrintPage.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr char PrintUsage[]
    = "print OUT.pdf FILE.OvK [FILE.OvK ...] [--landscape] [--margins L,T,R,B] "
      "[--paper A4|Letter]  one to four charts on one sheet, as the print dialog lays them out";

// Resolution of the sheet, dots per inch: a printer's, so frames and curves are as thin on
// paper as they are printed.
constexpr int SheetDpi = 600;

int Error(const QString &text)
{
    CliError(QStringLiteral("orvi-cli print: %1").arg(text));
    return 1;
}

// "L,T,R,B" in millimetres; fractions are cut off as the print dialog cuts them.
bool ParseMargins(const QString &text, TPrintLayout &layout)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const double mm = parts.at(i).trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(mm) || mm < 0 || mm > 1000)
            return false;
        values[i] = TPrintLayout::WholeMillimetres(mm);
    }
    layout.Left = values[0];
    layout.Top = values[1];
    layout.Right = values[2];
    layout.Bottom = values[3];
    return true;
}

bool ParsePaper(const QString &text, QPageSize &paper)
{
    if (text.compare(QLatin1String("A4"), Qt::CaseInsensitive) == 0)
        paper = QPageSize(QPageSize::A4);
    else if (text.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0)
        paper = QPageSize(QPageSize::Letter);
    else
        return false;
    return true;
}

// True when the margins leave room for a chart on the sheet.
bool MarginsFit(const TPrintLayout &layout, const QPageSize &paper)
{
    QSizeF size = paper.size(QPageSize::Millimeter);
    if (!layout.Portrait)
        size.transpose();
    return layout.Left + layout.Right + 2 < size.width()
        && layout.Top + layout.Bottom + 2 < size.height();
}

int RunPrint(const QStringList &args)
{
    TPrintLayout layout;
    QPageSize paper(QPageSize::A4);
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--landscape")) {
            layout.Portrait = false;
        } else if (a == QLatin1String("--margins") || a == QLatin1String("--paper")) {
            if (i + 1 >= args.size())
                return Error(QStringLiteral("%1 needs a value").arg(a));
            const QString value = args.at(++i);
            if (a == QLatin1String("--margins") && !ParseMargins(value, layout))
                return Error(QStringLiteral("--margins must be four millimetre values L,T,R,B "
                                            "from 0 to 1000, not \"%1\"")
                                 .arg(value));
            if (a == QLatin1String("--paper") && !ParsePaper(value, paper))
                return Error(QStringLiteral("--paper must be A4 or Letter, not \"%1\"").arg(value));
        } else if (a.startsWith(QLatin1String("--"))) {
            return Error(QStringLiteral("unknown option \"%1\"").arg(a));
        } else {
            positional << a;
        }
    }
    if (positional.size() < 2) {
        return Error(QStringLiteral("usage: orvi-cli %1").arg(QLatin1String(PrintUsage)));
    }
    const QString output = positional.takeFirst();
    if (positional.size() > TPrintLayout::MaxCharts)
        return Error(QStringLiteral("at most %1 charts fit on one sheet, %2 given")
                         .arg(TPrintLayout::MaxCharts)
                         .arg(positional.size()));
    if (!MarginsFit(layout, paper))
        return Error(QStringLiteral("the margins leave no room for a chart on the sheet"));
    TCliPaths paths;
    for (const QString &input : positional)
        paths.AddInput(input);
    paths.AddFile(output, QStringLiteral("the output"));
    if (const QString problem = paths.Problem(); !problem.isEmpty())
        return Error(problem);

    // Every file is loaded before anything is written: a bad one leaves no output.
    std::vector<std::unique_ptr<TPolarGraph>> graphs;
    QList<TPolarGraph *> charts;
    for (const QString &input : positional) {
        auto graph = std::make_unique<TPolarGraph>();
        graph->ApplyDocumentDefaults();
        TOvkFile file(graph.get(), input);
        if (!CliLoadDocument(QStringLiteral("orvi-cli print: "), input, file))
            return 1;
        charts << graph.get();
        graphs.push_back(std::move(graph));
    }
    QString error;
    if (!TPrintPage::WritePdf(output, charts, layout, paper, SheetDpi, charts.first()->Title(),
                              &error))
        return Error(error);
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("print", PrintUsage, &RunPrint);
