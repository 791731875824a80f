// orvi-cli commands for characteristic files: info, dump and import.
#include "CliCommand.h"
#include "CliLoad.h"

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
        CliError(QStringLiteral("usage: orvi-cli info FILE"));
        return 1;
    }
    TPolarGraph graph;
    TOvkFile file(&graph, args.first());
    if (!CliLoadDocument(args.first(), file))
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
    if (!CliLoadDocument(args.first(), file))
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

// A small reader for the JSON that dump writes. Qt's own JSON classes store integral
// numbers as integers and so turn -0.0 into 0; this reader converts every number with a
// correctly rounded conversion, so each double reads back to the same bits. Values are
// read straight into the target, so a large document needs no tree of JSON values.
class TJsonReader
{
public:
    explicit TJsonReader(QByteArray text)
        : m_text(std::move(text))
        , m_p(m_text.constData())
        , m_begin(m_text.constData())
        , m_end(m_text.constData() + m_text.size())
    { }

    QString Error; // first error, with its byte offset

    bool Fail(const QString &why)
    {
        if (Error.isEmpty())
            Error = QStringLiteral("%1 (bajt %2)").arg(why).arg(m_p - m_begin);
        return false;
    }

    // The first character of the next value, or 0 at the end of the text.
    char Next()
    {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\t' || *m_p == '\n' || *m_p == '\r'))
            ++m_p;
        return m_p < m_end ? *m_p : '\0';
    }

    bool AtEnd() { return Next() == '\0'; }

    bool ReadString(QString &out)
    {
        if (Next() != '"')
            return Fail(QStringLiteral("oczekiwano tekstu"));
        ++m_p;
        out.clear();
        QByteArray run;
        while (m_p < m_end && *m_p != '"') {
            const char c = *m_p++;
            if (quint8(c) < 0x20)
                return Fail(QStringLiteral("znak sterujący w tekście"));
            if (c != '\\') {
                run.append(c);
                continue;
            }
            out += QString::fromUtf8(run);
            run.clear();
            if (m_p >= m_end)
                break;
            const char e = *m_p++;
            switch (e) {
            case '"':
                out += u'"';
                break;
            case '\\':
                out += u'\\';
                break;
            case '/':
                out += u'/';
                break;
            case 'b':
                out += u'\b';
                break;
            case 'f':
                out += u'\f';
                break;
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            case 'u': {
                if (m_end - m_p < 4)
                    return Fail(QStringLiteral("niepełne \\u"));
                bool ok = false;
                const ushort unit = QByteArray(m_p, 4).toUShort(&ok, 16);
                if (!ok)
                    return Fail(QStringLiteral("błędne \\u"));
                m_p += 4;
                out += QChar(unit); // surrogate halves pair up in the UTF-16 string
                break;
            }
            default:
                return Fail(QStringLiteral("nieznana sekwencja \\%1").arg(QLatin1Char(e)));
            }
        }
        if (m_p >= m_end)
            return Fail(QStringLiteral("niezakończony tekst"));
        ++m_p;
        out += QString::fromUtf8(run);
        return true;
    }

    bool ReadNumber(double &out)
    {
        Next();
        const char *start = m_p;
        const auto digits = [&] {
            const char *from = m_p;
            while (m_p < m_end && *m_p >= '0' && *m_p <= '9')
                ++m_p;
            return m_p > from;
        };
        if (m_p < m_end && *m_p == '-')
            ++m_p;
        if (m_p < m_end && *m_p == '0')
            ++m_p;
        else if (!digits())
            return Fail(QStringLiteral("oczekiwano liczby"));
        if (m_p < m_end && *m_p == '.') {
            ++m_p;
            if (!digits())
                return Fail(QStringLiteral("błędna liczba"));
        }
        if (m_p < m_end && (*m_p == 'e' || *m_p == 'E')) {
            ++m_p;
            if (m_p < m_end && (*m_p == '+' || *m_p == '-'))
                ++m_p;
            if (!digits())
                return Fail(QStringLiteral("błędna liczba"));
        }
        const auto [end, ec] = std::from_chars(start, m_p, out, std::chars_format::general);
        if (ec != std::errc() || end != m_p) {
            m_p = start;
            return Fail(QStringLiteral("liczba poza zakresem liczb double"));
        }
        return true;
    }

    // Calls member(key) with the reader on each member's value; member reads that value.
    template<typename F>
    bool ReadObject(F &&member)
    {
        if (Next() != '{')
            return Fail(QStringLiteral("oczekiwano obiektu"));
        ++m_p;
        if (Next() == '}') {
            ++m_p;
            return true;
        }
        for (;;) {
            QString key;
            if (!ReadString(key))
                return false;
            if (Next() != ':')
                return Fail(QStringLiteral("oczekiwano ':'"));
            ++m_p;
            if (!member(key))
                return false;
            const char c = Next();
            ++m_p;
            if (c == '}')
                return true;
            if (c != ',')
                return Fail(QStringLiteral("oczekiwano ',' albo '}'"));
        }
    }

    // Calls item(index) with the reader on each element; item reads that element.
    template<typename F>
    bool ReadArray(F &&item)
    {
        if (Next() != '[')
            return Fail(QStringLiteral("oczekiwano tablicy"));
        ++m_p;
        if (Next() == ']') {
            ++m_p;
            return true;
        }
        for (qsizetype index = 0;; ++index) {
            if (!item(index))
                return false;
            const char c = Next();
            ++m_p;
            if (c == ']')
                return true;
            if (c != ',')
                return Fail(QStringLiteral("oczekiwano ',' albo ']'"));
        }
    }

    // Reads and drops any value (members the import does not use, such as "number").
    bool SkipValue(int depth = 0)
    {
        if (depth > 256)
            return Fail(QStringLiteral("za głębokie zagnieżdżenie"));
        const char c = Next();
        if (c == '{')
            return ReadObject([&](const QString &) { return SkipValue(depth + 1); });
        if (c == '[')
            return ReadArray([&](qsizetype) { return SkipValue(depth + 1); });
        if (c == '"') {
            QString ignored;
            return ReadString(ignored);
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            double ignored;
            return ReadNumber(ignored);
        }
        for (const char *word : { "true", "false", "null" }) {
            const qsizetype n = qsizetype(std::strlen(word));
            if (m_end - m_p >= n && std::memcmp(m_p, word, size_t(n)) == 0) {
                m_p += n;
                return true;
            }
        }
        return Fail(QStringLiteral("nieoczekiwany znak"));
    }

    // A point coordinate: a number, or "NaN", "Infinity", "-Infinity" as dump writes them.
    bool ReadCoordinate(double &out)
    {
        if (Next() != '"')
            return ReadNumber(out);
        QString word;
        if (!ReadString(word))
            return false;
        if (word == QLatin1String("NaN"))
            out = std::numeric_limits<double>::quiet_NaN();
        else if (word == QLatin1String("Infinity"))
            out = std::numeric_limits<double>::infinity();
        else if (word == QLatin1String("-Infinity"))
            out = -std::numeric_limits<double>::infinity();
        else
            return Fail(QStringLiteral("oczekiwano liczby"));
        return true;
    }

private:
    const QByteArray m_text;
    const char *m_p;
    const char *m_begin;
    const char *m_end;
};

struct TImportSeries
{
    bool HasName = false;
    QString Name;
    bool HasColor = false;
    quint32 Color = 0;
    std::vector<TPolarSample> Points;
};

struct TImportDocument
{
    QString Title;
    QString Info;
    bool HasSeries = false;
    std::vector<TImportSeries> Series;
};

bool ReadSeries(TJsonReader &json, TImportSeries &series)
{
    return json.ReadObject([&](const QString &key) {
        if (key == QLatin1String("name")) {
            series.HasName = true;
            return json.ReadString(series.Name);
        }
        if (key == QLatin1String("color")) {
            double c = 0;
            if (!json.ReadNumber(c))
                return false;
            if (!(c >= 0.0 && c <= 4294967295.0 && c == std::floor(c)))
                return json.Fail(QStringLiteral("color nie jest liczbą całkowitą od 0 do "
                                                "4294967295"));
            series.HasColor = true;
            series.Color = quint32(c);
            return true;
        }
        if (key == QLatin1String("points")) {
            series.Points.clear();
            return json.ReadArray([&](qsizetype index) {
                if (index >= std::numeric_limits<qint32>::max())
                    return json.Fail(QStringLiteral("za dużo punktów w serii"));
                TPolarSample p {};
                int coordinates = 0;
                const bool ok = json.ReadArray([&](qsizetype i) {
                    if (i >= 2)
                        return json.Fail(QStringLiteral("punkt ma więcej niż 2 liczby"));
                    ++coordinates;
                    return json.ReadCoordinate(i == 0 ? p.Angle : p.Level);
                });
                if (!ok)
                    return false;
                if (coordinates != 2)
                    return json.Fail(QStringLiteral("punkt ma mniej niż 2 liczby"));
                series.Points.push_back(p);
                return true;
            });
        }
        return json.SkipValue();
    });
}

bool ReadDocument(TJsonReader &json, TImportDocument &document)
{
    const bool ok = json.ReadObject([&](const QString &key) {
        if (key == QLatin1String("title"))
            return json.ReadString(document.Title);
        if (key == QLatin1String("info"))
            return json.ReadString(document.Info);
        if (key == QLatin1String("series")) {
            document.HasSeries = true;
            document.Series.clear();
            return json.ReadArray([&](qsizetype index) {
                if (index >= 0xFFFF)
                    return json.Fail(QStringLiteral("plik mieści najwyżej 65535 serii"));
                document.Series.emplace_back();
                return ReadSeries(json, document.Series.back());
            });
        }
        return json.SkipValue();
    });
    if (!ok)
        return false;
    if (!json.AtEnd())
        return json.Fail(QStringLiteral("dane po końcu obiektu"));
    if (!document.HasSeries)
        return json.Fail(QStringLiteral("brak tablicy \"series\""));
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
    TJsonReader json(input.readAll());
    input.close();
    TImportDocument document;
    if (!ReadDocument(json, document)) {
        CliError(QStringLiteral("Plik \"%1\" nie jest poprawnym opisem charakterystyki: %2.")
                     .arg(jsonPath, json.Error));
        return 1;
    }

    // Series go in array order; numbers and date in the input are ignored. Nothing is
    // written before the whole input has been read, and the save replaces the output
    // only when it is complete.
    TPolarGraph graph;
    graph.SetAutoRepaint(false);
    graph.SetTitle(document.Title);
    for (size_t i = 0; i < document.Series.size(); ++i) {
        TImportSeries &source = document.Series[i];
        TSeries *series = graph.GetSeries(int(i));
        if (source.HasName)
            series->Name = source.Name;
        if (source.HasColor)
            series->SetColor(source.Color);
        series->SetPoints(source.Points.data(), int(source.Points.size()));
        std::vector<TPolarSample>().swap(source.Points);
    }
    TOvkFile file(&graph, outPath);
    file.Title = document.Title;
    file.Info = document.Info;
    try {
        file.Save();
    } catch (const EInOutError &e) {
        CliError(e.Message());
        return 1;
    }
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("info",
                 "info FILE.OvK        title, info, date and series of a characteristic file",
                 &RunInfo);
ORVI_CLI_COMMAND("dump", "dump FILE.OvK        the whole characteristic file as one JSON object",
                 &RunDump);
ORVI_CLI_COMMAND("import", "import JSON OUT.OvK  writes a characteristic file from dump's JSON",
                 &RunImport);
