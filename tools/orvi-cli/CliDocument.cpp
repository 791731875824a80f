// orvi-cli commands for characteristic files: info, dump and import.
#include "CliCommand.h"
#include "CliKept.h"
#include "CliLoad.h"
#include "CliPaths.h"
#include "JsonImport.h"

#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/InOutError.h"
#include "document/OvkFile.h"

#include <QFile>
#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// A double as JSON text that reads back to the same bits. JSON has no NaN or infinities;
// they are written as the strings "NaN", "Infinity" and "-Infinity", which import accepts.
QString JsonNumber(double v)
{
    if (std::isnan(v))
        return QStringLiteral("\"NaN\"");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("\"Infinity\"") : QStringLiteral("\"-Infinity\"");
    if (v == 0.0 && std::signbit(v))
        return QStringLiteral("-0.0"); // "-0" would read back as the integer 0
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

QString JsonString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

int RunInfo(const QStringList &args)
{
    if (args.size() != 1) {
        CliError(QStringLiteral("orvi-cli info: usage: orvi-cli info FILE"));
        return 1;
    }
    TPolarGraph graph;
    TOvkFile file(&graph, args.first());
    if (!CliLoadDocument(QStringLiteral("orvi-cli info: "), args.first(), file))
        return 1;

    const QDateTime date = TOvkFile::DateTimeFromDate(file.Date);
    QString text;
    text += QStringLiteral("title: %1\n").arg(file.Title);
    text += QStringLiteral("info: %1\n").arg(file.Info);
    text += QStringLiteral("date: %1\n")
                .arg(date.isValid() ? date.toString(Qt::ISODate)
                                    : QStringLiteral("invalid (%1)").arg(JsonNumber(file.Date)));
    text += QStringLiteral("series: %1\n").arg(graph.SeriesCount());
    for (const TSeries *s : graph.SeriesList()) {
        text += QStringLiteral("%1\t%2\t0x%3\t%4\n")
                    .arg(s->Number())
                    .arg(s->Name)
                    .arg(QStringLiteral("%1").arg(s->Color(), 6, 16, QLatin1Char('0')).toUpper())
                    .arg(s->Count());
    }
    // A report, not a check: what is wrong beside the document is listed, the status stays 0.
    for (const QString &line : TCliKept::Describe(args.first()))
        text += line + u'\n';
    CliOut(text);
    return 0;
}

int RunDump(const QStringList &args)
{
    if (args.size() != 1) {
        CliError(QStringLiteral("orvi-cli dump: usage: orvi-cli dump FILE"));
        return 1;
    }
    TPolarGraph graph;
    TOvkFile file(&graph, args.first());
    if (!CliLoadDocument(QStringLiteral("orvi-cli dump: "), args.first(), file))
        return 1;

    QString text;
    text += QStringLiteral("{\"title\": %1, \"info\": %2, \"date\": %3, \"series\": [")
                .arg(JsonString(file.Title), JsonString(file.Info), JsonNumber(file.Date));
    bool firstSeries = true;
    for (const TSeries *s : graph.SeriesList()) {
        text += firstSeries ? QStringLiteral("\n  ") : QStringLiteral(",\n  ");
        firstSeries = false;
        text += QStringLiteral("{\"number\": %1, \"name\": %2, \"color\": %3, \"points\": [")
                    .arg(s->Number())
                    .arg(JsonString(s->Name))
                    .arg(s->Color());
        bool firstPoint = true;
        for (const TPolarSample &p : s->Points()) {
            if (!firstPoint)
                text += QStringLiteral(", ");
            firstPoint = false;
            text += u'[' + JsonNumber(p.Angle) + QStringLiteral(", ") + JsonNumber(p.Level) + u']';
        }
        text += QStringLiteral("]}");
    }
    text += firstSeries ? QStringLiteral("]}\n") : QStringLiteral("\n]}\n");
    CliOut(text);
    return 0;
}

// ---- import ------------------------------------------------------------------------------

int RunImport(const QStringList &args)
{
    const QString prefix = QStringLiteral("orvi-cli import: ");
    if (args.size() != 2) {
        CliError(QStringLiteral("orvi-cli import: usage: orvi-cli import JSON OUT.OvK"));
        return 1;
    }
    const QString jsonPath = args.at(0);
    const QString outPath = args.at(1);
    TCliPaths paths;
    paths.AddInput(jsonPath);
    paths.AddFile(outPath, QStringLiteral("the output"));
    if (const QString problem = paths.Problem(); !problem.isEmpty()) {
        CliError(prefix + problem);
        return 1;
    }

    QFile input(jsonPath);
    if (!input.exists()) {
        CliError(prefix + QStringLiteral("Plik \"%1\" nie istnieje.").arg(jsonPath));
        return 1;
    }
    if (!input.open(QIODevice::ReadOnly)) {
        CliError(prefix
                 + QStringLiteral("Nie można otworzyć pliku \"%1\" (%2).")
                       .arg(jsonPath, input.errorString()));
        return 1;
    }
    const QByteArray text = input.readAll();
    input.close();
    TImportDocument document;
    QString error;
    if (!ParseImportDocument(text, document, error)) {
        CliError(prefix
                 + QStringLiteral("Plik \"%1\" nie jest poprawnym opisem charakterystyki: %2.")
                       .arg(jsonPath, error));
        return 1;
    }

    // Series go in array order; numbers and date in the input are ignored. Nothing is
    // written before the whole input has been read, and the save replaces the output
    // only when it is complete.
    TPolarGraph graph;
    FillChartFromImport(document, graph);
    TOvkFile file(&graph, outPath);
    file.Title = document.Title;
    file.Info = document.Info;
    try {
        file.Save();
    } catch (const EInOutError &e) {
        CliError(prefix + e.Message());
        return 1;
    }
    return 0;
}

} // namespace

ORVI_CLI_COMMAND(
    "info",
    "info FILE.OvK        title, info, date and series of a characteristic file, and the "
    "measurements kept beside it",
    &RunInfo);
ORVI_CLI_COMMAND("dump", "dump FILE.OvK        the whole characteristic file as one JSON object",
                 &RunDump);
ORVI_CLI_COMMAND("import", "import JSON OUT.OvK  writes a characteristic file from dump's JSON",
                 &RunImport);
