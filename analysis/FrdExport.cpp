#include "analysis/FrdExport.h"

#include "analysis/DirectivityResult.h"
#include "analysis/FrdFile.h"
#include "controls/FileWriter.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace {

// Points per octave of each file: fine enough for crossover design.
constexpr int PointsPerOctave = 48;
constexpr double TopHz = 20000.0;

} // namespace

bool TFrdExport::WriteSet(const TDirectivityResult &result, const QString &folder, int stepDeg,
                          int smoothing, QString *error, int *written)
{
    if (written)
        *written = 0;
    if (stepDeg <= 0 || stepDeg > 180) {
        if (error)
            *error = tr("Krok kąta musi wynosić od 1° do 180°.");
        return false;
    }
    if (!QDir(folder).exists()) {
        if (error)
            *error = tr("Folder \"%1\" nie istnieje.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const double bottom = std::max(20.0, result.LowestReliableHz());
    const std::vector<double> frequencies = TDirectivityResult::LogFrequencies(
        bottom, std::min(TopHz, 0.45 * result.SampleRate), PointsPerOctave);
    // What the levels are relative to, for whoever reads the files later.
    QStringList comments;
    if (const QString calibration = result.CalibrationText(); !calibration.isEmpty())
        comments << QStringLiteral("Kalibracja: %1").arg(calibration);
    // A file per step from -180 + step up to 180, each interpolated between the frames on
    // either side of its angle (the nearest one at a turn's end).
    const double reach = std::max(1.0, stepDeg / 2.0);
    for (int angle = -180 + stepDeg; angle <= 180; angle += stepDeg) {
        const auto source = result.SourceAt(angle, reach, reach);
        if (!source)
            continue;
        const QString path
            = QDir(folder).filePath(TFrdFile::FileName(result.Name, angle, result.Vertical));
        const QByteArray text
            = TFrdFile::Format(result.SpectrumAt(*source, frequencies, smoothing), comments);
        QString message;
        if (!TFileWriter::WriteFile(path, text, &message)) {
            if (error)
                *error = message;
            return false;
        }
        if (written)
            ++*written;
    }
    return true;
}
