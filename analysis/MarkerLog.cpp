#include "analysis/MarkerLog.h"

#include <QList>
#include <QLocale>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

constexpr char Header[] = "# Orvi marker log 1";
constexpr char HeaderPrefix[] = "# Orvi marker log ";
constexpr int MarkerStepDeg = 10;
constexpr int MaxMarkers = 100000;
// A report every 50 ms for a day; angles within ten turns either way.
constexpr int MaxPositions = 2000000;
constexpr double MaxDegrees = 3600.0;
// No recording comes near this many samples (23 years at 384 kHz); the bound keeps every
// angle computed from a log finite.
constexpr double MaxSamplePosition = double(qint64(1) << 48);
// Markers closer together than this (samples) give no usable speed.
constexpr double MinMarkerSpan = 1.0;

QByteArray Number(double value)
{
    // The shortest text that reads back to the same double; "." whatever the locale.
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

QByteArray KeyLine(const char *key, const QByteArray &value)
{
    return QByteArray(key) + " = " + value + '\n';
}

// Reads one log line by line; the first failure keeps its reason.
class TParser
{
public:
    explicit TParser(TMarkerLog &log)
        : m_log(log)
    { }

    bool Line(const QByteArray &line, int number);
    bool Finish();
    QString Error() const { return m_error; }

private:
    bool Fail(const QString &reason)
    {
        m_error = reason;
        return false;
    }
    bool BadValue(const QByteArray &key, int line)
    {
        return Fail(
            QCoreApplication::translate("TMarkerLog", "Nieprawidłowa wartość \"%1\" w wierszu %2.")
                .arg(QString::fromUtf8(key))
                .arg(line));
    }
    bool KeyValue(const QByteArray &key, const QByteArray &value, int line);
    bool Marker(const QByteArray &line, int number);
    bool Position(const QByteArray &line, int number);
    static bool Real(const QByteArray &text, double &value);
    static bool Integer(const QByteArray &text, qint64 low, qint64 high, qint64 &value);

    TMarkerLog &m_log;
    QString m_error;
    QSet<QByteArray> m_seen;
};

bool TParser::Real(const QByteArray &text, double &value)
{
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

bool TParser::Integer(const QByteArray &text, qint64 low, qint64 high, qint64 &value)
{
    bool ok = false;
    value = text.toLongLong(&ok, 10);
    return ok && value >= low && value <= high;
}

bool TParser::Line(const QByteArray &raw, int number)
{
    const QByteArray line = raw.trimmed();
    if (line.isEmpty() || line.startsWith('#'))
        return true;
    const qsizetype equals = line.indexOf('=');
    if (equals >= 0)
        return KeyValue(line.left(equals).trimmed(), line.mid(equals + 1).trimmed(), number);
    if (line.startsWith("marker ") || line.startsWith("marker\t"))
        return Marker(line, number);
    if (line.startsWith("position ") || line.startsWith("position\t"))
        return Position(line, number);
    return Fail(
        QCoreApplication::translate("TMarkerLog", "Nieprawidłowy wiersz %1 dziennika znaczników.")
            .arg(number));
}

bool TParser::KeyValue(const QByteArray &key, const QByteArray &value, int line)
{
    static const QSet<QByteArray> Known { "signal", "frequency", "amplitude", "play-buffer", "rate",
                                          "start",  "stop",      "lead-ms",   "samples" };
    if (!Known.contains(key))
        return true; // written by a later version: not needed here
    if (m_seen.contains(key))
        return Fail(
            QCoreApplication::translate("TMarkerLog", "Powtórzony klucz \"%1\" w wierszu %2.")
                .arg(QString::fromUtf8(key))
                .arg(line));
    m_seen.insert(key);
    qint64 integer = 0;
    double real = 0.0;
    if (key == "signal") {
        const std::optional<TSignalType> signal = SignalTypeFromName(QString::fromUtf8(value));
        if (!signal)
            return Fail(
                QCoreApplication::translate("TMarkerLog", "Nieznany sygnał \"%1\" w wierszu %2.")
                    .arg(QString::fromUtf8(value))
                    .arg(line));
        m_log.Signal = *signal;
    } else if (key == "frequency") {
        if (!Real(value, real) || real <= 0.0)
            return BadValue(key, line);
        m_log.FrequencyHz = real;
    } else if (key == "amplitude") {
        if (!Real(value, real) || real < 0.0 || real > 100.0)
            return BadValue(key, line);
        m_log.AmplitudePercent = real;
    } else if (key == "play-buffer") {
        if (!Integer(value, 512, qint64(1) << 22, integer))
            return BadValue(key, line);
        m_log.PlayBufferBytes = int(integer);
    } else if (key == "rate") {
        if (!Integer(value, 1000, 384000, integer))
            return BadValue(key, line);
        m_log.SampleRate = int(integer);
    } else if (key == "start" || key == "stop") {
        if (!Integer(value, -360, 720, integer))
            return BadValue(key, line);
        (key == "start" ? m_log.StartDeg : m_log.StopDeg) = int(integer);
    } else if (key == "lead-ms") {
        if (!Real(value, real))
            return BadValue(key, line);
        m_log.LeadMs = real;
    } else { // samples
        if (!Integer(value, 0, qint64(MaxSamplePosition), integer))
            return BadValue(key, line);
        m_log.RecordedSamples = integer;
    }
    return true;
}

bool TParser::Marker(const QByteArray &line, int number)
{
    const QList<QByteArray> words = line.simplified().split(' ');
    qint64 k = 0;
    double sample = 0.0;
    if (words.size() != 3 || !Integer(words[1], 1, MaxMarkers + 1, k) || !Real(words[2], sample)
        || sample < 0.0 || sample > MaxSamplePosition)
        return Fail(
            QCoreApplication::translate("TMarkerLog", "Nieprawidłowy znacznik w wierszu %1.")
                .arg(number));
    std::vector<double> &markers = m_log.MarkerSamples;
    const qint64 expected = qint64(markers.size()) + 1;
    if (expected > MaxMarkers)
        return Fail(
            QCoreApplication::translate("TMarkerLog", "Zbyt wiele znaczników (więcej niż %1).")
                .arg(MaxMarkers));
    if (k != expected)
        return Fail(QCoreApplication::translate("TMarkerLog",
                                                "Znacznik w wierszu %1 ma numer %2 zamiast %3.")
                        .arg(number)
                        .arg(k)
                        .arg(expected));
    if (!markers.empty() && sample < markers.back())
        return Fail(QCoreApplication::translate(
                        "TMarkerLog", "Znacznik %1 (wiersz %2) leży w nagraniu przed poprzednim.")
                        .arg(k)
                        .arg(number));
    // Two markers counted at one sample would give the table an infinite speed.
    if (!markers.empty() && sample == markers.back())
        return Fail(QCoreApplication::translate(
                        "TMarkerLog",
                        "Znacznik %1 (wiersz %2) leży w nagraniu w tym samym miejscu "
                        "co poprzedni.")
                        .arg(k)
                        .arg(number));
    markers.push_back(sample);
    m_log.MarkerLines.push_back(number);
    return true;
}

bool TParser::Position(const QByteArray &line, int number)
{
    const QList<QByteArray> words = line.simplified().split(' ');
    double sample = 0.0;
    double degrees = 0.0;
    if (words.size() != 3 || !Real(words[1], sample) || sample < 0.0 || sample > MaxSamplePosition
        || !Real(words[2], degrees) || std::abs(degrees) > MaxDegrees)
        return Fail(
            QCoreApplication::translate("TMarkerLog", "Nieprawidłowa pozycja stolika w wierszu %1.")
                .arg(number));
    std::vector<TMarkerLog::TPosition> &positions = m_log.Positions;
    if (positions.size() >= std::size_t(MaxPositions))
        return Fail(
            QCoreApplication::translate("TMarkerLog", "Zbyt wiele pozycji stolika (więcej niż %1).")
                .arg(MaxPositions));
    // Two reports at one sample would give the table an infinite speed.
    if (!positions.empty() && sample <= positions.back().Sample)
        return Fail(
            QCoreApplication::translate("TMarkerLog",
                                        "Pozycja stolika w wierszu %1 nie leży w nagraniu za "
                                        "poprzednią.")
                .arg(number));
    // A measurement turns forward; a table going back would fold angles onto each other.
    if (!positions.empty() && degrees < positions.back().Degrees)
        return Fail(QCoreApplication::translate(
                        "TMarkerLog", "Pozycja stolika w wierszu %1 cofa się względem poprzedniej.")
                        .arg(number));
    positions.push_back({ sample, degrees });
    m_log.PositionLines.push_back(number);
    return true;
}

bool TParser::Finish()
{
    for (const char *required : { "signal", "rate" }) {
        if (!m_seen.contains(required))
            return Fail(QCoreApplication::translate("TMarkerLog",
                                                    "Brak klucza \"%1\" w dzienniku znaczników.")
                            .arg(QLatin1String(required)));
    }
    if (m_log.StartDeg >= m_log.StopDeg)
        return Fail(QCoreApplication::translate(
                        "TMarkerLog", "Kąt początkowy %1° nie jest mniejszy od końcowego %2°.")
                        .arg(m_log.StartDeg)
                        .arg(m_log.StopDeg));
    return true;
}

} // namespace

QString TMarkerLog::MarkerRefusal(qint64 recordedSamples) const
{
    // The last marker of a turn is counted while the last buffers are still on their way to
    // the file: it may lie a little past the recording's end, never a second.
    const double last = double(recordedSamples) + double(SampleRate);
    const auto beyond = std::find_if(MarkerSamples.begin(), MarkerSamples.end(),
                                     [last](double sample) { return sample > last; });
    if (beyond == MarkerSamples.end()) {
        for (std::size_t i = 0; i < Positions.size(); ++i) {
            if (Positions[i].Sample <= last)
                continue;
            const QString where
                = i < PositionLines.size() ? tr(" (wiersz %1)").arg(PositionLines[i]) : QString();
            return tr("Pozycja stolika%1 leży poza nagraniem: próbka %2, a nagranie "
                      "ma %3 próbek.")
                .arg(where, QString::number(Positions[i].Sample, 'f', 0))
                .arg(recordedSamples);
        }
        return {};
    }
    const std::size_t index = std::size_t(beyond - MarkerSamples.begin());
    const QString where
        = index < MarkerLines.size() ? tr(" (wiersz %1)").arg(MarkerLines[index]) : QString();
    return tr("Znacznik %1%2 leży poza nagraniem: próbka %3, a nagranie ma %4 próbek.")
        .arg(index + 1)
        .arg(where)
        .arg(QString::number(*beyond, 'f', 0))
        .arg(recordedSamples);
}

std::optional<int> TMarkerLog::EarlyEndDeg() const
{
    if (MarkerSamples.empty() && Positions.size() < 2)
        return std::nullopt;
    const double end = AngleAt(double(RecordedSamples));
    if (!(end < StopDeg - MarkerStepDeg / 2.0))
        return std::nullopt;
    return std::clamp(int(std::floor(end)), StartDeg, StopDeg);
}

double TMarkerLog::MeanSpeed() const
{
    if (Positions.size() >= 2) {
        const double span = Positions.back().Sample - Positions.front().Sample;
        if (span >= MinMarkerSpan)
            return (Positions.back().Degrees - Positions.front().Degrees) / span;
    }
    if (MarkerSamples.size() >= 2) {
        const double span = MarkerSamples.back() - MarkerSamples.front();
        if (span >= MinMarkerSpan)
            return double(MarkerStepDeg) * double(MarkerSamples.size() - 1) / span;
    }
    if (RecordedSamples <= 0)
        return 0.0;
    return double(StopDeg - StartDeg) / double(RecordedSamples);
}

double TMarkerLog::AngleAt(double sample) const
{
    const double speed = MeanSpeed();
    if (Positions.size() >= 2)
        return PositionAngleAt(sample, speed);
    if (MarkerSamples.empty())
        return StartDeg + speed * sample;
    const auto angleOf = [this](std::size_t index) {
        return double(StartDeg) + double(MarkerStepDeg) * double(index + 1);
    };
    // The first marker after the sample; the sample lies between it and the one before.
    const auto after = std::upper_bound(MarkerSamples.begin(), MarkerSamples.end(), sample);
    if (after == MarkerSamples.begin())
        return angleOf(0) + speed * (sample - MarkerSamples.front());
    const std::size_t before = std::size_t(after - MarkerSamples.begin()) - 1;
    if (after == MarkerSamples.end())
        return angleOf(before) + speed * (sample - MarkerSamples.back());
    const double from = MarkerSamples[before];
    const double fraction = (sample - from) / (*after - from); // *after > from
    return angleOf(before) + MarkerStepDeg * fraction;
}

double TMarkerLog::PositionAngleAt(double sample, double speed) const
{
    const auto after
        = std::upper_bound(Positions.begin(), Positions.end(), sample,
                           [](double s, const TPosition &position) { return s < position.Sample; });
    if (after == Positions.begin())
        return Positions.front().Degrees + speed * (sample - Positions.front().Sample);
    const TPosition &before = *(after - 1);
    if (after == Positions.end())
        return before.Degrees + speed * (sample - before.Sample);
    const double fraction = (sample - before.Sample) / (after->Sample - before.Sample);
    return before.Degrees + (after->Degrees - before.Degrees) * fraction;
}

QByteArray TMarkerLog::ToText() const
{
    QByteArray text = QByteArray(Header) + '\n';
    text += KeyLine("signal", SignalTypeName(Signal).toUtf8());
    text += KeyLine("frequency", Number(FrequencyHz));
    text += KeyLine("amplitude", Number(AmplitudePercent));
    text += KeyLine("play-buffer", QByteArray::number(PlayBufferBytes));
    text += KeyLine("rate", QByteArray::number(SampleRate));
    text += KeyLine("start", QByteArray::number(StartDeg));
    text += KeyLine("stop", QByteArray::number(StopDeg));
    text += KeyLine("lead-ms", Number(LeadMs));
    text += KeyLine("samples", QByteArray::number(RecordedSamples));
    for (std::size_t i = 0; i < MarkerSamples.size(); ++i)
        text += "marker " + QByteArray::number(qint64(i + 1)) + ' ' + Number(MarkerSamples[i])
            + '\n';
    for (const TPosition &position : Positions)
        text += "position " + Number(position.Sample) + ' ' + Number(position.Degrees) + '\n';
    return text;
}

std::optional<TMarkerLog> TMarkerLog::FromText(const QByteArray &text, QString *error)
{
    const auto fail = [error](const QString &reason) -> std::optional<TMarkerLog> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    QList<QByteArray> lines = text.split('\n');
    QByteArray first = lines.front().trimmed();
    if (first.startsWith("\xEF\xBB\xBF"))
        first.remove(0, 3); // a byte-order mark left by an editor
    if (first != Header) {
        if (first.startsWith(HeaderPrefix))
            return fail(tr("Nieobsługiwana wersja dziennika znaczników: \"%1\".")
                            .arg(QString::fromUtf8(first)));
        return fail(tr("To nie jest dziennik znaczników Orvi (brak wiersza \"%1\").")
                        .arg(QLatin1String(Header)));
    }
    TMarkerLog log;
    TParser parser(log);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!parser.Line(lines[i], int(i + 1)))
            return fail(parser.Error());
    }
    if (!parser.Finish())
        return fail(parser.Error());
    return log;
}

QString TMarkerLog::PathFor(const QString &recordingPath)
{
    QString base = recordingPath;
    if (base.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".markers.txt");
}
