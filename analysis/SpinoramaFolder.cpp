#include "analysis/SpinoramaFolder.h"

#include "analysis/DirectivityResult.h"
#include "analysis/FrdFile.h"
#include "analysis/Spinorama.h"
#include "controls/FileWriter.h"

#include <QDir>

namespace {

constexpr int StepDeg = 10;

bool Fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QByteArray Number(double value)
{
    return QByteArray::number(value, 'f', 3);
}

} // namespace

QString TSpinoramaFolder::NameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return tr("Pomiar nie ma nazwy, a nazwy plików dla spinoramy zaczynają się od "
                  "niej. Nadaj pomiarowi nazwę.");
    if (name.contains(QLatin1String("_H")) || name.contains(QLatin1String("_V")))
        return tr("Nazwa pomiaru \"%1\" zawiera \"_H\" lub \"_V\", po których "
                  "programy spinoramy rozpoznają płaszczyznę. Zmień nazwę pomiaru.")
            .arg(name);
    return {};
}

QString TSpinoramaFolder::FileName(const QString &name, int angleDeg, bool vertical)
{
    return QStringLiteral("%1 %2 %3.txt")
        .arg(TFrdFile::SafeFileName(name), vertical ? QLatin1String("_V") : QLatin1String("_H"))
        .arg(TFrdFile::SignedAngle(angleDeg));
}

QByteArray TSpinoramaFolder::Text(const TDirectivityResult &result, int angleDeg,
                                  const std::vector<double> &frequencies, int smoothing)
{
    QByteArray text("Freq[Hz] dBSPL Phase[Deg]\n");
    const auto source = TSpinorama::SourceOf(result, angleDeg);
    if (!source)
        return text;
    for (const TFrequencyPoint &p : result.SpectrumAt(*source, frequencies, smoothing))
        text += Number(p.FrequencyHz) + ' ' + Number(p.LevelDb) + ' ' + Number(p.PhaseDeg) + '\n';
    return text;
}

bool TSpinoramaFolder::Write(const TSpinorama &spin, const TDirectivityResult &horizontal,
                             const TDirectivityResult &vertical, int smoothing,
                             const QString &folder, const QString &name, QString *error,
                             int *written)
{
    if (written)
        *written = 0;
    if (const QString problem = NameProblem(name); !problem.isEmpty())
        return Fail(error, problem);
    if (!QDir(folder).exists())
        return Fail(error, tr("Folder \"%1\" nie istnieje.").arg(QDir::toNativeSeparators(folder)));
    const std::vector<double> frequencies = spin.MeasuredFrequenciesHz();
    if (frequencies.empty())
        return Fail(error, tr("Spinorama nie ma żadnej zmierzonej częstotliwości."));
    // Every angle has its frames before anything is written (the spin found them already).
    for (const TDirectivityResult *plane : { &horizontal, &vertical })
        for (int angle = -180 + StepDeg; angle <= 180; angle += StepDeg)
            if (!TSpinorama::SourceOf(*plane, angle))
                return Fail(error,
                            tr("Pomiar w płaszczyźnie %1 nie ma ramek w pobliżu kąta "
                               "%2°.")
                                .arg(plane == &vertical ? tr("pionowej") : tr("poziomej"))
                                .arg(angle));
    for (const TDirectivityResult *plane : { &horizontal, &vertical }) {
        for (int angle = -180 + StepDeg; angle <= 180; angle += StepDeg) {
            const QString path = QDir(folder).filePath(FileName(name, angle, plane == &vertical));
            QString message;
            if (!TFileWriter::WriteFile(path, Text(*plane, angle, frequencies, smoothing),
                                        &message))
                return Fail(error, message);
            if (written)
                ++*written;
        }
    }
    return true;
}
