#include "CliBroadband.h"

#include "CliCommand.h"
#include "CliPaths.h"

#include "analysis/BroadbandAnalysis.h"
#include "analysis/DirectivityMap.h"
#include "analysis/DirectivityResult.h"
#include "analysis/FrdExport.h"
#include "analysis/MicCalibration.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {

// The map as orvi-cli writes it, pixels (96 per inch for SVG and PDF).
constexpr QSize MapSize { 1000, 700 };

} // namespace

bool TCliBroadband::Parse(const QString &a, const QString &v, QString *error)
{
    error->clear();
    const auto bad = [&] {
        *error = QStringLiteral("bad value \"%1\" for %2").arg(v, a);
        return true;
    };
    if (a == QLatin1String("--bands")) {
        QString reason;
        const std::optional<std::vector<double>> bands = TBroadbandOptions::ParseBands(v, &reason);
        if (!bands) {
            *error = QStringLiteral("--bands: %1").arg(reason);
            return true;
        }
        Options = TBroadbandOptions {};
        Options->BandsHz = *bands;
    } else if (a == QLatin1String("--smoothing")) {
        Smoothing = TBroadbandOptions::ParseSmoothing(v);
        if (!Smoothing)
            return bad();
    } else if (a == QLatin1String("--gate-ms")) {
        bool ok = false;
        const double ms = v.toDouble(&ok);
        if (!ok || !std::isfinite(ms) || ms <= 0 || ms > 1000)
            return bad();
        GateMs = ms;
    } else if (a == QLatin1String("--plane")) {
        if (v != QLatin1String("hor") && v != QLatin1String("ver"))
            return bad();
        Vertical = v == QLatin1String("ver");
    } else if (a == QLatin1String("--mic-cal")) {
        MicCalFile = v;
    } else if (a == QLatin1String("--sensitivity")) {
        bool ok = false;
        const double dbfs = v.toDouble(&ok);
        if (!ok || !(dbfs >= TBroadbandOptions::LowestSensitivityDbfs)
            || !(dbfs <= TBroadbandOptions::HighestSensitivityDbfs))
            return bad();
        SensitivityDbfs = dbfs;
    } else if (a == QLatin1String("--frd")) {
        FrdFolder = v;
    } else if (a == QLatin1String("--frd-step")) {
        bool ok = false;
        const int step = v.toInt(&ok);
        if (!ok || step < 1 || step > 180)
            return bad();
        FrdStep = step;
    } else if (a == QLatin1String("--map")) {
        MapPath = v;
    } else {
        return false;
    }
    return true;
}

QString TCliBroadband::Check()
{
    const bool outputs = Smoothing || GateMs || Vertical || !FrdFolder.isEmpty() || FrdStep
        || !MapPath.isEmpty() || !MicCalFile.isEmpty() || SensitivityDbfs;
    if (outputs && !Options)
        return QStringLiteral("--plane, --smoothing, --gate-ms, --mic-cal, --sensitivity, --frd "
                              "and --map need --bands");
    if (FrdStep && FrdFolder.isEmpty())
        return QStringLiteral("--frd-step needs --frd DIR");
    if (!MapPath.isEmpty() && !IsMapPath(MapPath))
        return QStringLiteral("--map: the file must end in .png, .svg or .pdf");
    if (!FrdFolder.isEmpty() && !QFileInfo(FrdFolder).isDir())
        return QStringLiteral("--frd: \"%1\" is not a folder").arg(FrdFolder);
    if (!MicCalFile.isEmpty()) {
        QString reason;
        if (!TMicCalibration::Load(MicCalFile, &reason))
            return QStringLiteral("--mic-cal: %1").arg(reason);
    }
    if (Options) {
        Options->MicCalFile
            = MicCalFile.isEmpty() ? QString() : QFileInfo(MicCalFile).absoluteFilePath();
        Options->SensitivityDbfs = SensitivityDbfs;
        Options->Smoothing = Smoothing.value_or(0);
        Options->GateMs = GateMs.value_or(0.0);
        Options->Vertical = Vertical.value_or(false);
    }
    return {};
}

void TCliBroadband::AddOutputs(TCliPaths &paths) const
{
    // The calibration file is read; no output may take its place.
    if (!MicCalFile.isEmpty())
        paths.AddInput(MicCalFile);
    if (!FrdFolder.isEmpty())
        paths.AddFolder(FrdFolder, QStringLiteral("--frd"));
    if (!MapPath.isEmpty())
        paths.AddFile(MapPath, QStringLiteral("--map"));
}

bool TCliBroadband::WriteOutputs(const TDirectivityResult &result, const QString &prefix) const
{
    if (!FrdFolder.isEmpty()
        && !WriteFrd(result, FrdFolder, FrdStep.value_or(DefaultFrdStep),
                     Options ? Options->Smoothing : 0, prefix))
        return false;
    return MapPath.isEmpty() || WriteMap(result, MapPath, prefix);
}

bool TCliBroadband::WriteFrd(const TDirectivityResult &result, const QString &folder, int stepDeg,
                             int smoothing, const QString &prefix)
{
    QString error;
    int written = 0;
    if (!TFrdExport::WriteSet(result, folder, stepDeg, smoothing, &error, &written)) {
        CliError(prefix + error);
        return false;
    }
    CliOut(
        QStringLiteral("frd: %1 files in %2\n").arg(written).arg(QDir::toNativeSeparators(folder)));
    return true;
}

bool TCliBroadband::WriteMap(const TDirectivityResult &result, const QString &path,
                             const QString &prefix)
{
    TDirectivityMap map;
    map.SetTitle(result.Name);
    map.SetGrid(result.Grid());
    QString error;
    if (!TDirectivityMap::Export(map, path, MapSize, &error)) {
        CliError(prefix + error);
        return false;
    }
    CliOut(QStringLiteral("map: %1\n").arg(QDir::toNativeSeparators(path)));
    return true;
}

QString TCliBroadband::PlayBufferRefusal(int bytes)
{
    constexpr int largest = TBroadbandAnalysis::LongestPeriod * 2;
    if (bytes <= largest)
        return {};
    return QStringLiteral("--play-buffer %1 is longer than the broadband analysis takes (one "
                          "excitation period of at most %2 samples); the largest play buffer "
                          "that works is %3 bytes")
        .arg(bytes)
        .arg(TBroadbandAnalysis::LongestPeriod)
        .arg(largest);
}

std::optional<int> TCliBroadband::ParseBlock(const QString &v, QString *error)
{
    constexpr int largest = 1 << 24;
    bool ok = false;
    const int bytes = v.toInt(&ok);
    if (ok && bytes >= SmallestBlockBytes && bytes <= largest)
        return bytes;
    *error = QStringLiteral("--block needs a whole number of bytes from %1 to %2, not \"%3\"")
                 .arg(SmallestBlockBytes)
                 .arg(largest)
                 .arg(v);
    return std::nullopt;
}

bool TCliBroadband::IsMapPath(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("png") || suffix == QLatin1String("svg")
        || suffix == QLatin1String("pdf");
}

void TCliBroadband::PrintWarnings(const TDirectivityResult &result, const QString &prefix)
{
    for (const QString &warning : result.Warnings)
        CliError(prefix + QStringLiteral("warning: ") + warning);
    for (const QString &note : result.Notes)
        CliError(prefix + QStringLiteral("note: ") + note);
}
