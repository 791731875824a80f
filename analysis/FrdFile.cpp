#include "analysis/FrdFile.h"

#include <QList>

#include <cmath>

namespace {

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '\r' || c == '\v' || c == '\f';
}

// The numbers of one line, split at blanks, commas and semicolons; false when one is not a
// finite number or there are more than three.
bool Numbers(const QByteArray &line, double (&values)[3], int &count)
{
    count = 0;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !IsSeparator(line[i]))
            ++i;
        if (i == start)
            break;
        if (count == 3)
            return false;
        bool ok = false;
        const double value = line.mid(start, i - start).toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return false;
        values[count++] = value;
    }
    return true;
}

// A value as written with `decimals` places; what rounds to zero is written "0", never "-0".
QByteArray Fixed(double value, int decimals)
{
    QByteArray text = QByteArray::number(value, 'f', decimals);
    if (text.startsWith('-') && text.count('0') == text.size() - 2)
        text.remove(0, 1);
    return text;
}

} // namespace

QByteArray TFrdFile::Format(const std::vector<TFrequencyPoint> &points, const QStringList &comments)
{
    QByteArray text;
    text.reserve(qsizetype(points.size()) * 32);
    for (const QString &comment : comments) {
        // One line each, whatever the text holds.
        QString line = comment;
        line.replace(QLatin1Char('\n'), QLatin1Char(' '))
            .replace(QLatin1Char('\r'), QLatin1Char(' '));
        text += "* " + line.toUtf8() + '\n';
    }
    for (const TFrequencyPoint &point : points) {
        if (!std::isfinite(point.FrequencyHz) || !std::isfinite(point.LevelDb)
            || !std::isfinite(point.PhaseDeg))
            continue;
        text += QByteArray::number(point.FrequencyHz, 'f', 4);
        text += ' ';
        text += Fixed(point.LevelDb, 4);
        text += ' ';
        text += Fixed(point.PhaseDeg, 2);
        text += '\n';
    }
    return text;
}

std::optional<std::vector<TFrequencyPoint>> TFrdFile::Parse(const QByteArray &text)
{
    std::vector<TFrequencyPoint> points;
    for (const QByteArray &raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('*') || line.startsWith('#') || line.startsWith(';'))
            continue;
        double values[3] = {};
        int count = 0;
        if (!Numbers(line, values, count) || count < 2)
            return std::nullopt;
        points.push_back({ values[0], values[1], count == 3 ? values[2] : 0.0 });
    }
    return points;
}

QString TFrdFile::SafeFileName(const QString &name)
{
    static const QString Forbidden = QStringLiteral("/\\:*?\"<>|");
    QString safe = name;
    for (QChar &c : safe) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || Forbidden.contains(c))
            c = QLatin1Char('_');
    }
    return safe;
}

QString TFrdFile::FileName(const QString &name, int angleDeg, bool vertical)
{
    const QString trimmed = name.trimmed();
    const QString base = trimmed.isEmpty() ? QStringLiteral("Orvi") : SafeFileName(trimmed);
    return QStringLiteral("%1 %2 %3.frd")
        .arg(base, vertical ? QStringLiteral("ver") : QStringLiteral("hor"))
        .arg(SignedAngle(angleDeg));
}

int TFrdFile::SignedAngle(int angleDeg)
{
    const int turned = (angleDeg % 360 + 360) % 360; // 0 .. 359
    return turned > 180 ? turned - 360 : turned;
}
