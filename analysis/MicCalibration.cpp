#include "analysis/MicCalibration.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// A line is quoted in a message up to this many characters.
constexpr qsizetype MaxQuotedChars = 40;

std::optional<TMicCalibration> Fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return std::nullopt;
}

QString FileLabel(const QString &fileName)
{
    return QCoreApplication::translate("TMicCalibration", "Plik kalibracji „%1”")
        .arg(QDir::toNativeSeparators(fileName));
}

QString LineLabel(const QString &fileName, int lineNumber)
{
    return QCoreApplication::translate("TMicCalibration", "%1, wiersz %2")
        .arg(FileLabel(fileName))
        .arg(lineNumber);
}

// The line as a message quotes it; only called on lines already checked to be UTF-8.
QString Quoted(QByteArrayView line)
{
    const QString text = QString::fromUtf8(line);
    return text.size() <= MaxQuotedChars ? text : text.left(MaxQuotedChars) + QChar(0x2026);
}

QString TooLarge(const QString &fileName, const QString &size)
{
    return QCoreApplication::translate("TMicCalibration",
                                       "%1 jest za duży (%2 B); może mieć najwyżej %3 B.")
        .arg(FileLabel(fileName), size)
        .arg(TMicCalibration::MaxFileBytes);
}

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == ',';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsComment(char c)
{
    return c == '*' || c == '"' || c == ';' || c == '#';
}

std::vector<QByteArrayView> Fields(QByteArrayView line)
{
    std::vector<QByteArrayView> fields;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !IsSeparator(line[i]))
            ++i;
        if (i > start)
            fields.push_back(line.sliced(start, i - start));
    }
    return fields;
}

// "1000 0,5" reads as three numbers (1000, 0, 5) although it means two: a comma between
// digits in a row whose fields are otherwise parted by blanks is taken for a decimal comma.
bool HasDecimalComma(QByteArrayView line)
{
    if (!line.contains(' ') && !line.contains('\t'))
        return false;
    for (qsizetype i = 1; i + 1 < line.size(); ++i) {
        if (line[i] == ',' && IsDigit(line[i - 1]) && IsDigit(line[i + 1]))
            return true;
    }
    return false;
}

enum class TNumber { Ok, NotNumber, NotFinite };

// A whole field as a number with '.' decimals, whatever the locale; "nan", "inf" and values
// beyond the range of double are NotFinite.
TNumber ReadNumber(QByteArrayView field, double &value)
{
    const char *begin = field.data();
    const char *end = begin + field.size();
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec == std::errc::result_out_of_range)
        return TNumber::NotFinite;
    if (ec != std::errc() || ptr != end)
        return TNumber::NotNumber;
    return std::isfinite(value) ? TNumber::Ok : TNumber::NotFinite;
}

// The dB value after "Sens Factor" in a header line such as
// "Sens Factor =-1.378dB, AGain =18dB, SERNO: 7001234"; nullopt when it cannot be read.
std::optional<double> SensFactor(QByteArrayView line, qsizetype at)
{
    QByteArrayView rest = line.sliced(at).trimmed();
    if (rest.startsWith('=') || rest.startsWith(':'))
        rest = rest.sliced(1).trimmed();
    if (rest.startsWith('+'))
        rest = rest.sliced(1);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString Hz(double hz)
{
    return QString::number(hz, 'g', 12);
}

} // namespace

std::optional<TMicCalibration> TMicCalibration::Load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(error,
                    tr("Nie można otworzyć pliku kalibracji „%1”: %2.")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (file.size() > MaxFileBytes)
        return Fail(error, TooLarge(path, QString::number(file.size())));
    // A device that reports no size (a pipe) is read only up to one byte past the limit.
    const QByteArray text = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Fail(error,
                    tr("Nie można odczytać pliku kalibracji „%1”: %2.")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (text.size() > MaxFileBytes)
        return Fail(error, TooLarge(path, tr("ponad %1").arg(MaxFileBytes)));
    std::optional<TMicCalibration> calibration = Parse(text, path, error);
    if (calibration)
        calibration->m_path = path;
    return calibration;
}

std::optional<TMicCalibration> TMicCalibration::Parse(const QByteArray &text,
                                                      const QString &fileName, QString *error)
{
    if (text.size() > MaxFileBytes)
        return Fail(error, TooLarge(fileName, QString::number(text.size())));
    if (text.contains('\0'))
        return Fail(
            error,
            tr("%1 nie jest plikiem tekstowym (zawiera bajty zerowe).").arg(FileLabel(fileName)));

    TMicCalibration calibration;
    QByteArrayView rest(text);
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    int lineNumber = 0;
    while (!rest.isEmpty()) {
        ++lineNumber;
        const qsizetype newline = rest.indexOf('\n');
        const QByteArrayView raw = newline < 0 ? rest : rest.first(newline);
        rest = newline < 0 ? QByteArrayView() : rest.sliced(newline + 1);
        const QByteArrayView line = raw.trimmed(); // also drops the '\r' of CRLF
        if (!line.isValidUtf8())
            return Fail(error,
                        tr("%1: tekst nie jest zapisany w UTF-8; to nie jest plik "
                           "tekstowy kalibracji.")
                            .arg(LineLabel(fileName, lineNumber)));
        if (line.isEmpty())
            continue;
        if (calibration.m_points.empty() && !calibration.m_sensFactorDb) {
            static const QByteArray Key("sens factor");
            const qsizetype at = QByteArray(line.data(), line.size()).toLower().indexOf(Key);
            if (at >= 0) {
                calibration.m_sensFactorDb = SensFactor(line, at + Key.size());
                continue;
            }
        }
        if (IsComment(line[0]))
            continue;

        const std::vector<QByteArrayView> fields = Fields(line);
        if (HasDecimalComma(line))
            return Fail(error,
                        tr("%1: „%2” zapisano z przecinkiem dziesiętnym, którego "
                           "program nie obsługuje; liczby muszą mieć kropkę "
                           "dziesiętną (np. 1000 0.5).")
                            .arg(LineLabel(fileName, lineNumber), Quoted(line)));
        const QString notPair = tr("%1: „%2” nie jest parą liczb (częstotliwość, dB).")
                                    .arg(LineLabel(fileName, lineNumber), Quoted(line));
        if (fields.size() < 2 || fields.size() > 3)
            return Fail(error, notPair);
        double values[3] = {};
        for (size_t i = 0; i < fields.size(); ++i) {
            const TNumber number = ReadNumber(fields[i], values[i]);
            if (number == TNumber::NotNumber)
                return Fail(error, notPair);
            if (number == TNumber::NotFinite)
                return Fail(error,
                            tr("%1: „%2” zawiera wartość, która nie jest skończoną "
                               "liczbą.")
                                .arg(LineLabel(fileName, lineNumber), Quoted(line)));
        }
        const TPoint point { values[0], values[1] };
        if (point.FrequencyHz <= 0)
            return Fail(error,
                        tr("%1: częstotliwość %2 Hz nie jest większa od zera.")
                            .arg(LineLabel(fileName, lineNumber), Hz(point.FrequencyHz)));
        if (!calibration.m_points.empty()
            && point.FrequencyHz <= calibration.m_points.back().FrequencyHz)
            return Fail(error,
                        tr("%1: częstotliwość %2 Hz nie jest większa od poprzedniej "
                           "(%3 Hz); częstotliwości muszą rosnąć.")
                            .arg(LineLabel(fileName, lineNumber), Hz(point.FrequencyHz),
                                 Hz(calibration.m_points.back().FrequencyHz)));
        calibration.m_points.push_back(point);
    }
    if (calibration.m_points.size() < 2)
        return Fail(
            error,
            tr("%1 zawiera mniej niż dwa punkty (częstotliwość, dB).").arg(FileLabel(fileName)));
    return calibration;
}

double TMicCalibration::CorrectionDb(double hz) const
{
    if (std::isnan(hz))
        return std::numeric_limits<double>::quiet_NaN();
    if (m_points.empty())
        return 0.0;
    if (hz <= m_points.front().FrequencyHz)
        return m_points.front().Db;
    if (hz >= m_points.back().FrequencyHz)
        return m_points.back().Db;
    // The first point above hz; hz lies strictly inside the file's range, so one is below.
    const auto above = std::upper_bound(
        m_points.begin(), m_points.end(), hz,
        [](double value, const TPoint &point) { return value < point.FrequencyHz; });
    const TPoint &a = *(above - 1);
    const TPoint &b = *above;
    const double t = std::log(hz / a.FrequencyHz) / std::log(b.FrequencyHz / a.FrequencyHz);
    return a.Db + t * (b.Db - a.Db);
}

std::optional<double> TMicCalibration::SensFactorDb() const
{
    return m_sensFactorDb;
}

QString TMicCalibration::Path() const
{
    return m_path;
}

const std::vector<TMicCalibration::TPoint> &TMicCalibration::Points() const
{
    return m_points;
}
