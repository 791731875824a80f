#include "analysis/BroadbandOptions.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr double LowestBandHz = 1.0;
constexpr double HighestBandHz = 96000.0;

QString NumberText(double value)
{
    return QString::number(value, 'g', 10);
}

} // namespace

std::optional<std::vector<double>> TBroadbandOptions::ParseBands(const QString &text,
                                                                 QString *error)
{
    const auto fail = [error](const QString &reason) -> std::optional<std::vector<double>> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    // Commas always separate (as on the command line); the decimal mark is ".".
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    const QStringList parts = text.trimmed().split(separators, Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return fail(tr("Podaj co najmniej jedną częstotliwość."));
    std::vector<double> bands;
    for (const QString &part : parts) {
        bool ok = false;
        const double hz = part.toDouble(&ok);
        if (!ok || !std::isfinite(hz))
            return fail(tr("\"%1\" nie jest częstotliwością.").arg(part));
        if (hz < LowestBandHz || hz > HighestBandHz)
            return fail(
                tr("Częstotliwość %1 Hz jest poza zakresem 1..96000 Hz.").arg(NumberText(hz)));
        if (!bands.empty() && hz <= bands.back())
            return fail(tr("Częstotliwości muszą rosnąć i nie mogą się powtarzać."));
        bands.push_back(hz);
    }
    return bands;
}

QString TBroadbandOptions::BandsText(const std::vector<double> &bands)
{
    QStringList parts;
    for (double hz : bands)
        parts << NumberText(hz);
    return parts.join(QStringLiteral(", "));
}

const std::vector<int> &TBroadbandOptions::SmoothingChoices()
{
    static const std::vector<int> choices { 0, 3, 6, 12, 24 };
    return choices;
}

std::optional<int> TBroadbandOptions::ParseSmoothing(const QString &text)
{
    for (int n : SmoothingChoices())
        if (text == SmoothingName(n))
            return n;
    return std::nullopt;
}

QString TBroadbandOptions::SmoothingName(int smoothing)
{
    return smoothing <= 0 ? QStringLiteral("none") : QStringLiteral("1/%1").arg(smoothing);
}

QString TBroadbandOptions::SignalRefusal(TSignalType signal, double frequencyHz,
                                         const std::vector<double> &bands)
{
    const double highest = bands.empty() ? 0.0 : *std::max_element(bands.begin(), bands.end());
    switch (signal) {
    case TSignalType::MLS:
        return {};
    case TSignalType::Chirp:
        if (frequencyHz >= highest)
            return {};
        return tr("Chirp kończy się na %1 Hz, poniżej najwyższego pasma (%2 Hz): "
                  "podnieś częstotliwość sygnału.")
            .arg(NumberText(frequencyHz), NumberText(highest));
    case TSignalType::Impuls:
        return tr("Impuls nie pobudza co drugiej częstotliwości; do analizy "
                  "szerokopasmowej wybierz MLS lub Chirp.");
    default:
        return tr("Ten sygnał nie powtarza się w każdym bloku generatora albo nie "
                  "pobudza wszystkich pasm; do analizy szerokopasmowej wybierz MLS "
                  "lub Chirp.");
    }
}

QString TBroadbandOptions::BandRefusal(const std::vector<double> &bands, int sampleRate)
{
    const double nyquist = sampleRate / 2.0;
    for (double hz : bands) {
        if (hz >= nyquist)
            return tr("Pasmo %1 Hz nie leży poniżej połowy częstotliwości próbkowania "
                      "nagrania (%2 Hz przy %3 Hz).")
                .arg(NumberText(hz), NumberText(nyquist))
                .arg(sampleRate);
    }
    return {};
}
