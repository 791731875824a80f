#include "CliKept.h"

#include "CliCommand.h"

#include "analysis/MeasurementFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// "1000,4000" as --bands takes it.
QString BandsArgument(const std::vector<double> &bands)
{
    QStringList texts;
    for (double hz : bands)
        texts << QString::number(hz);
    return texts.join(QLatin1Char(','));
}

QString GateText(double gateMs)
{
    return gateMs > 0 ? QStringLiteral("%1 ms").arg(gateMs) : QStringLiteral("auto");
}

} // namespace

TCliKept::TCliKept(const QString &prefix)
    : m_prefix(prefix)
{ }

void TCliKept::WriteBeside(const QString &out, const QString &into,
                           const std::vector<TKeptMeasurement> &added)
{
    std::vector<TKeptMeasurement> measurements;
    if (!into.isEmpty()) {
        TMeasurementFolder::TContents carried = TMeasurementFolder::Read(into);
        for (const QString &problem : carried.Problems)
            CliError(m_prefix + QStringLiteral("warning: ") + problem);
        measurements = std::move(carried.Measurements);
    }
    measurements.insert(measurements.end(), added.begin(), added.end());
    if (measurements.empty())
        return;
    QString error;
    if (!TMeasurementFolder::Write(out, measurements, &error)) {
        m_error = error.isEmpty() ? QStringLiteral("unknown error") : error;
        return;
    }
    m_folder = TMeasurementFolder::FolderFor(out);
    m_count = int(measurements.size());
}

bool TCliKept::Report() const
{
    if (!m_error.isEmpty()) {
        CliError(m_prefix
                 + QStringLiteral("the measurements were not saved beside the document: %1")
                       .arg(m_error));
        return false;
    }
    if (!m_folder.isEmpty())
        CliOut(QStringLiteral("measurements: %1 in %2\n").arg(m_count).arg(Native(m_folder)));
    return true;
}

std::optional<TCliKept::TNewest> TCliKept::Newest(const QString &documentPath,
                                                  std::optional<bool> vertical) const
{
    TMeasurementFolder::TContents contents = TMeasurementFolder::Read(documentPath);
    QStringList problems = contents.Problems;
    if (contents.Measurements.empty() && problems.isEmpty()) {
        CliError(
            m_prefix
            + QStringLiteral("no measurements are saved beside \"%1\"").arg(Native(documentPath)));
        return std::nullopt;
    }
    if (vertical) {
        std::erase_if(contents.Measurements, [&vertical](const TKeptMeasurement &m) {
            return m.Options.Vertical != *vertical;
        });
        if (contents.Measurements.empty()) {
            CliError(
                m_prefix
                + QStringLiteral("no %1 turn is saved beside \"%2\"")
                      .arg(*vertical ? QStringLiteral("vertical") : QStringLiteral("horizontal"),
                           Native(documentPath)));
            return std::nullopt;
        }
    }
    // Only the newest that analyses is wanted: the older ones are not analysed at all.
    for (auto m = contents.Measurements.rbegin(); m != contents.Measurements.rend(); ++m) {
        QString error;
        std::optional<TDirectivityResult> result = m->Analyse(&error);
        if (!result) {
            problems << error;
            continue;
        }
        if (!result->CalibrationProblem.isEmpty())
            problems << result->CalibrationProblem;
        for (const QString &problem : problems)
            CliError(m_prefix + QStringLiteral("warning: ") + problem);
        return TNewest { std::move(*result), m->Options };
    }
    CliError(m_prefix
             + QStringLiteral("no measurement beside \"%1\" can be analysed: %2")
                   .arg(Native(documentPath), problems.join(QLatin1Char(' '))));
    return std::nullopt;
}

QStringList TCliKept::Describe(const QString &documentPath)
{
    const TMeasurementFolder::TContents contents = TMeasurementFolder::Read(documentPath);
    QStringList lines;
    int number = 0;
    for (const TKeptMeasurement &m : contents.Measurements)
        lines << QStringLiteral("measurement %1 \"%2\" %3: %4, bands %5, smoothing %6, gate %7")
                     .arg(++number)
                     .arg(m.Name, m.Plane, QFileInfo(m.Recording).fileName(),
                          BandsArgument(m.Options.BandsHz),
                          TBroadbandOptions::SmoothingName(m.Options.Smoothing),
                          GateText(m.Options.GateMs));
    for (const QString &problem : contents.Problems)
        lines << QStringLiteral("problem: ") + problem;
    return lines;
}
