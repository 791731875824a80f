// orvi-cli commands for characteristic files: info, dump and import.
#include "CliCommand.h"

#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/InOutError.h"
#include "document/OvkFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLocale>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// Loads path into the file's chart as the program opens a file: the magic is checked first, then the
// whole file is read. On failure writes one line to stderr and returns false.
bool LoadDocument(const QString &path, TOvkFile &file)
{
    switch (CheckOvkFile(path)) {
    case EOvkValidity::Valid:
        break;
    case EOvkValidity::WrongMagic:
        CliError(InvalidFileMessage(path));
        return false;
    case EOvkValidity::Unreadable:
        if (!QFile::exists(path))
            CliError(QStringLiteral("Plik \"%1\" nie istnieje.").arg(path));
        else
            CliError(QStringLiteral("Nie można odczytać pliku \"%1\": nie da się go otworzyć "
                                    "albo ma mniej niż 16 bajtów.")
                         .arg(path));
        return false;
    }
    try {
        file.Untitled = false;
        file.Load();
    } catch (const EInOutError &e) {
        CliError(e.Message());
        return false;
    }
    return true;
}

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
        CliError(QStringLiteral("usage: orvi-cli info FILE"));
        return 1;
    }
    TPolarGraph graph;
    TOvkFile file(&graph, args.first());
    if (!LoadDocument(args.first(), file))
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
    CliOut(text);
    return 0;
}

int RunDump(const QStringList &args)
{
    if (args.size() != 1) {
        CliError(QStringLiteral("usage: orvi-cli dump FILE"));
        return 1;
    }
    TPolarGraph graph;
    TOvkFile file(&graph, args.first());
    if (!LoadDocument(args.first(), file))
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

struct TImportSeries
{
    bool HasName = false;
    QString Name;
    bool HasColor = false;
    quint32 Color = 0;
    std::vector<TPolarSample> Points;
};

bool JsonDouble(const QJsonValue &value, double &result)
{
    if (value.isDouble()) {
        result = value.toDouble();
        return true;
    }
    if (value.isString()) {
        const QString s = value.toString();
        if (s == QLatin1String("NaN"))
            result = std::numeric_limits<double>::quiet_NaN();
        else if (s == QLatin1String("Infinity"))
            result = std::numeric_limits<double>::infinity();
        else if (s == QLatin1String("-Infinity"))
            result = -std::numeric_limits<double>::infinity();
        else
            return false;
        return true;
    }
    return false;
}

// Reads one series object; on a mistake sets why and returns false.
bool ParseSeries(const QJsonValue &value, int index, TImportSeries &series, QString &why)
{
    const QString where = QStringLiteral("series[%1]").arg(index);
    if (!value.isObject()) {
        why = where + QStringLiteral(" nie jest obiektem");
        return false;
    }
    const QJsonObject object = value.toObject();
    if (object.contains(QLatin1String("name"))) {
        if (!object.value(QLatin1String("name")).isString()) {
            why = where + QStringLiteral(".name nie jest tekstem");
            return false;
        }
        series.HasName = true;
        series.Name = object.value(QLatin1String("name")).toString();
    }
    if (object.contains(QLatin1String("color"))) {
        const QJsonValue color = object.value(QLatin1String("color"));
        const double c = color.toDouble(-1.0);
        if (!color.isDouble() || c < 0.0 || c > 4294967295.0 || c != std::floor(c)) {
            why = where + QStringLiteral(".color nie jest liczbą całkowitą od 0 do 4294967295");
            return false;
        }
        series.HasColor = true;
        series.Color = quint32(c);
    }
    const QJsonValue points = object.value(QLatin1String("points"));
    if (points.isUndefined())
        return true;
    if (!points.isArray()) {
        why = where + QStringLiteral(".points nie jest tablicą");
        return false;
    }
    const QJsonArray array = points.toArray();
    if (array.size() > std::numeric_limits<qint32>::max()) {
        why = where + QStringLiteral(".points ma za dużo punktów");
        return false;
    }
    series.Points.reserve(size_t(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonArray pair = array.at(i).toArray();
        TPolarSample sample {};
        if (!array.at(i).isArray() || pair.size() != 2 || !JsonDouble(pair.at(0), sample.Angle)
            || !JsonDouble(pair.at(1), sample.Level)) {
            why = where + QStringLiteral(".points[%1] nie jest parą liczb [kąt, poziom]").arg(i);
            return false;
        }
        series.Points.push_back(sample);
    }
    return true;
}

int RunImport(const QStringList &args)
{
    if (args.size() != 2) {
        CliError(QStringLiteral("usage: orvi-cli import JSON OUT.OvK"));
        return 1;
    }
    const QString jsonPath = args.at(0);
    const QString outPath = args.at(1);
    const auto bad = [&](const QString &why) {
        CliError(QStringLiteral("Plik \"%1\" nie jest poprawnym opisem charakterystyki: %2.")
                     .arg(jsonPath, why));
        return 1;
    };

    QFile input(jsonPath);
    if (!input.exists()) {
        CliError(QStringLiteral("Plik \"%1\" nie istnieje.").arg(jsonPath));
        return 1;
    }
    if (!input.open(QIODevice::ReadOnly)) {
        CliError(QStringLiteral("Nie można otworzyć pliku \"%1\" (%2).")
                     .arg(jsonPath, input.errorString()));
        return 1;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(input.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        return bad(QStringLiteral("błąd JSON w bajcie %1 (%2)")
                       .arg(error.offset)
                       .arg(error.errorString()));
    if (!document.isObject())
        return bad(QStringLiteral("oczekiwano obiektu JSON"));
    const QJsonObject root = document.object();

    QString title, info;
    for (const auto &[key, target] :
         { std::pair<const char *, QString *> { "title", &title }, { "info", &info } }) {
        const QJsonValue v = root.value(QLatin1String(key));
        if (v.isUndefined())
            continue;
        if (!v.isString())
            return bad(QStringLiteral("%1 nie jest tekstem").arg(QLatin1String(key)));
        *target = v.toString();
    }
    const QJsonValue seriesValue = root.value(QLatin1String("series"));
    if (!seriesValue.isArray())
        return bad(QStringLiteral("brak tablicy series"));
    const QJsonArray seriesArray = seriesValue.toArray();
    if (seriesArray.size() > 0xFFFF)
        return bad(QStringLiteral("plik mieści najwyżej 65535 serii"));

    std::vector<TImportSeries> parsed(size_t(seriesArray.size()));
    for (qsizetype i = 0; i < seriesArray.size(); ++i) {
        QString why;
        if (!ParseSeries(seriesArray.at(i), int(i), parsed[size_t(i)], why))
            return bad(why);
    }

    // Series go in array order; numbers and date in the input are ignored.
    TPolarGraph graph;
    graph.SetAutoRepaint(false);
    graph.SetTitle(title);
    for (size_t i = 0; i < parsed.size(); ++i) {
        TSeries *series = graph.GetSeries(int(i));
        if (parsed[i].HasName)
            series->Name = parsed[i].Name;
        if (parsed[i].HasColor)
            series->SetColor(parsed[i].Color);
        series->SetPoints(parsed[i].Points.data(), int(parsed[i].Points.size()));
    }
    TOvkFile file(&graph, outPath);
    file.Title = title;
    file.Info = info;
    try {
        file.Save();
    } catch (const EInOutError &e) {
        CliError(e.Message());
        return 1;
    }
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("info", "info FILE.OvK        title, info, date and series of a characteristic file",
                 &RunInfo);
ORVI_CLI_COMMAND("dump", "dump FILE.OvK        the whole characteristic file as one JSON object",
                 &RunDump);
ORVI_CLI_COMMAND("import", "import JSON OUT.OvK  writes a characteristic file from dump's JSON",
                 &RunImport);
