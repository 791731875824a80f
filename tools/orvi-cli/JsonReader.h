#pragma once

#include <QByteArray>
#include <QString>

#include <charconv>
#include <cstring>
#include <limits>
#include <utility>

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
