#include "analysis/MeasurementFolder.h"

#include "analysis/RecordingArchive.h"
#include "controls/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

const QString TMeasurementFolder::IndexName = QStringLiteral("pomiary.json");

namespace {

// An index is a few hundred bytes a measurement; anything near this is not one, bytes.
constexpr qint64 MaxIndexBytes = 16LL << 20;
// " (2)" .. " (999)" before giving up on a free name for a copied recording.
constexpr int MaxDuplicates = 999;
constexpr double MaxGateMs = 1000.0;

bool g_refuseHardLinks = false;

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool Fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// The same bytes: a recording already copied under that name (or a hard link to it).
bool SameContents(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly)
        || !second.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 Chunk = 1 << 20;
    while (!first.atEnd()) {
        const QByteArray x = first.read(Chunk);
        if (x.isEmpty() || x != second.read(Chunk))
            return false;
    }
    return second.atEnd();
}

// A hard link where the file system allows one; otherwise a checked copy. The target does
// not exist yet.
bool LinkOrCopy(const QString &source, const QString &target, QString *error)
{
#ifdef Q_OS_UNIX
    if (!g_refuseHardLinks
        && ::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData())
            == 0)
        return true;
#endif
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(error,
                    QCoreApplication::translate("TMeasurementFolder",
                                                "Nie można odczytać nagrania \"%1\" (%2).")
                        .arg(Native(source), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fail(error,
                    QCoreApplication::translate("TMeasurementFolder",
                                                "Nie można odczytać nagrania \"%1\" (%2).")
                        .arg(Native(source), file.errorString()));
    return TFileWriter::WriteFile(target, bytes, error);
}

// Where the recording goes in the folder: where it is when it lies there already, the same
// name when that file holds the same bytes, otherwise the first free " (n)" name.
std::optional<QString> PlaceFor(const QString &folder, const QString &source, bool *present)
{
    const QFileInfo info(source);
    *present = true;
    if (QFileInfo(info.absolutePath()).canonicalFilePath() == QFileInfo(folder).canonicalFilePath())
        return info.absoluteFilePath();
    const QString base = info.completeBaseName();
    for (int n = 1; n <= MaxDuplicates; ++n) {
        const QString name = n == 1
            ? info.fileName()
            : QStringLiteral("%1 (%2).%3").arg(base).arg(n).arg(info.suffix());
        const QString target = QDir(folder).filePath(name);
        if (!QFileInfo::exists(target) && !QFileInfo::exists(TMarkerLog::PathFor(target))) {
            *present = false;
            return target;
        }
        if (SameContents(source, target))
            return target;
    }
    return std::nullopt;
}

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where a recording's log goes: beside it under its usual name, unless that file holds
// another log (the same recording analysed with other settings), then the first
// "<recording>.markers-<n>.txt" that is free or holds this log.
std::optional<QString> LogPlaceFor(const QString &wavPath, const QByteArray &text, bool *present)
{
    const QString usual = TMarkerLog::PathFor(wavPath);
    const QString stem = usual.chopped(int(qstrlen(".txt")));
    for (int n = 1; n <= MaxDuplicates; ++n) {
        const QString path = n == 1 ? usual : QStringLiteral("%1-%2.txt").arg(stem).arg(n);
        *present = QFileInfo::exists(path);
        if (!*present || Bytes(path) == text)
            return path;
    }
    return std::nullopt;
}

QJsonObject EntryObject(const TKeptMeasurement &m, const QString &logPath)
{
    QJsonArray bands;
    for (double hz : m.Options.BandsHz)
        bands.append(hz);
    QJsonObject entry {
        { QStringLiteral("name"), m.Name },
        { QStringLiteral("plane"), m.Plane },
        { QStringLiteral("recording"), QFileInfo(m.Recording).fileName() },
        { QStringLiteral("markers"), QFileInfo(logPath).fileName() },
        { QStringLiteral("bands"), bands },
        { QStringLiteral("smoothing"), m.Options.Smoothing },
        { QStringLiteral("gate-ms"), m.Options.GateMs },
        { QStringLiteral("series"), QJsonArray::fromStringList(m.SeriesNames) },
    };
    // The calibration it was analysed with, so that it is analysed again with the same.
    if (!m.Options.MicCalFile.isEmpty())
        entry.insert(QStringLiteral("mic-cal"), m.Options.MicCalFile);
    if (m.Options.SensitivityDbfs)
        entry.insert(QStringLiteral("sensitivity-dbfs"), *m.Options.SensitivityDbfs);
    return entry;
}

// A name of a file in the folder itself: an index must not reach anywhere else.
bool PlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QChar(0));
}

std::optional<std::vector<double>> Bands(const QJsonValue &value)
{
    if (!value.isArray() || value.toArray().isEmpty())
        return std::nullopt;
    std::vector<double> bands;
    for (const QJsonValue &v : value.toArray()) {
        const double hz = v.toDouble(-1);
        if (!v.isDouble() || !std::isfinite(hz) || hz < 1 || hz > 96000
            || (!bands.empty() && hz <= bands.back()))
            return std::nullopt;
        bands.push_back(hz);
    }
    return bands;
}

std::optional<QStringList> Strings(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue &v : value.toArray()) {
        if (!v.isString())
            return std::nullopt;
        list << v.toString();
    }
    return list;
}

// The settings of one index entry, or the reason it is malformed.
std::optional<TKeptMeasurement> ParseEntry(const QJsonValue &value, QString *reason)
{
    const QJsonObject o = value.toObject();
    TKeptMeasurement m;
    const std::optional<std::vector<double>> bands = Bands(o.value(QStringLiteral("bands")));
    const std::optional<QStringList> series = Strings(o.value(QStringLiteral("series")));
    const QJsonValue smoothing = o.value(QStringLiteral("smoothing"));
    const QJsonValue gate = o.value(QStringLiteral("gate-ms"));
    const auto &choices = TBroadbandOptions::SmoothingChoices();
    const bool smoothingOk = smoothing.isDouble()
        && std::find(choices.begin(), choices.end(), smoothing.toDouble()) != choices.end();
    const double gateMs = gate.toDouble(-1);
    const QString plane = o.value(QStringLiteral("plane")).toString();
    const QJsonValue micCal = o.value(QStringLiteral("mic-cal"));
    const QJsonValue sensitivity = o.value(QStringLiteral("sensitivity-dbfs"));
    const bool calibrationOk = (micCal.isUndefined() || micCal.isString())
        && (sensitivity.isUndefined()
            || (sensitivity.isDouble()
                && sensitivity.toDouble() >= TBroadbandOptions::LowestSensitivityDbfs
                && sensitivity.toDouble() <= TBroadbandOptions::HighestSensitivityDbfs));
    m.Recording = o.value(QStringLiteral("recording")).toString();
    m.Name = o.value(QStringLiteral("name")).toString();
    if (!value.isObject() || !PlainFileName(m.Recording) || !bands || !series || !smoothingOk
        || !gate.isDouble() || !(gateMs >= 0 && gateMs <= MaxGateMs)
        || (plane != TKeptMeasurement::HorizontalPlane && plane != TKeptMeasurement::VerticalPlane)
        || !o.value(QStringLiteral("name")).isString() || !calibrationOk) {
        Fail(reason, QCoreApplication::translate("TMeasurementFolder", "nieprawidłowy wpis"));
        return std::nullopt;
    }
    m.Options.BandsHz = *bands;
    m.Options.Smoothing = smoothing.toInt();
    m.Options.GateMs = gateMs;
    m.Options.Vertical = plane == TKeptMeasurement::VerticalPlane;
    m.Options.MicCalFile = micCal.toString();
    if (sensitivity.isDouble())
        m.Options.SensitivityDbfs = sensitivity.toDouble();
    m.SeriesNames = *series;
    m.Plane = plane;
    return m;
}

// The log beside a recording in the folder, or the problem.
std::optional<TMarkerLog> ReadLog(const QString &logPath, QString *problem)
{
    QFile file(logPath);
    if (!file.exists()) {
        Fail(problem,
             QCoreApplication::translate("TMeasurementFolder",
                                         "Nie znaleziono dziennika znaczników \"%1\".")
                 .arg(Native(logPath)));
        return std::nullopt;
    }
    QString reason;
    const std::optional<TMarkerLog> log = TRecordingArchive::ReadLog(logPath, &reason);
    if (!log)
        Fail(problem, reason);
    return log;
}

} // namespace

void TMeasurementFolder::RefuseHardLinksForTesting(bool refuse)
{
    g_refuseHardLinks = refuse;
}

QString TMeasurementFolder::FolderFor(const QString &documentPath)
{
    const QFileInfo info(documentPath);
    return QDir(info.absolutePath()).filePath(info.completeBaseName() + QStringLiteral(".pomiary"));
}

std::optional<std::vector<TKeptMeasurement>>
TMeasurementFolder::Write(const QString &documentPath,
                          const std::vector<TKeptMeasurement> &measurements, QString *error)
{
    const QString folder = FolderFor(documentPath);
    if (!QDir().mkpath(folder)) {
        Fail(error, tr("Nie można utworzyć folderu \"%1\".").arg(Native(folder)));
        return std::nullopt;
    }
    QStringList created; // removed again when a later step fails
    const auto undo = [&created] {
        for (const QString &path : created)
            QFile::remove(path);
        return std::nullopt;
    };
    std::vector<TKeptMeasurement> placed = measurements;
    QJsonArray entries;
    for (TKeptMeasurement &m : placed) {
        bool present = false;
        const std::optional<QString> target = PlaceFor(folder, m.Recording, &present);
        if (!target) {
            Fail(error,
                 tr("W folderze \"%1\" nie ma wolnej nazwy dla nagrania \"%2\".")
                     .arg(Native(folder), QFileInfo(m.Recording).fileName()));
            return undo();
        }
        if (!present) {
            if (!LinkOrCopy(m.Recording, *target, error))
                return undo();
            created << *target;
        }
        m.Recording = *target;
        const QByteArray logText = m.Log.ToText();
        const std::optional<QString> logPath = LogPlaceFor(*target, logText, &present);
        if (!logPath) {
            Fail(error,
                 tr("W folderze \"%1\" nie ma wolnej nazwy dla dziennika "
                    "znaczników nagrania \"%2\".")
                     .arg(Native(folder), QFileInfo(*target).fileName()));
            return undo();
        }
        if (!present) {
            if (!TFileWriter::WriteFile(*logPath, logText, error))
                return undo();
            created << *logPath;
        }
        entries.append(EntryObject(m, *logPath));
    }
    const QJsonObject index { { QStringLiteral("format"), FormatVersion },
                              { QStringLiteral("measurements"), entries } };
    if (!TFileWriter::WriteFile(QDir(folder).filePath(IndexName),
                                QJsonDocument(index).toJson(QJsonDocument::Indented), error))
        return undo();
    return placed;
}

TMeasurementFolder::TContents TMeasurementFolder::Read(const QString &documentPath)
{
    TContents contents;
    const QString folder = FolderFor(documentPath);
    contents.Exists = QFileInfo(folder).isDir();
    if (!contents.Exists)
        return contents;
    const QString indexPath = QDir(folder).filePath(IndexName);
    const auto problem = [&contents](const QString &text) {
        contents.Problems << text;
        return contents;
    };
    QFile file(indexPath);
    if (!file.exists())
        return problem(tr("Brak spisu pomiarów \"%1\".").arg(Native(indexPath)));
    if (!file.open(QIODevice::ReadOnly))
        return problem(tr("Nie można odczytać spisu pomiarów \"%1\" (%2).")
                           .arg(Native(indexPath), file.errorString()));
    if (file.size() > MaxIndexBytes)
        return problem(tr("Spis pomiarów \"%1\" jest za duży.").arg(Native(indexPath)));
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll(), &parseError);
    const QJsonObject index = json.object();
    if (parseError.error != QJsonParseError::NoError || !json.isObject())
        return problem(tr("Spis pomiarów \"%1\" jest uszkodzony.").arg(Native(indexPath)));
    const int format = index.value(QStringLiteral("format")).toInt(0);
    if (format > FormatVersion)
        return problem(
            tr("Spis pomiarów \"%1\" zapisała nowsza wersja programu.").arg(Native(indexPath)));
    if (format < 1 || !index.value(QStringLiteral("measurements")).isArray())
        return problem(tr("Spis pomiarów \"%1\" jest uszkodzony.").arg(Native(indexPath)));

    const QJsonArray entries = index.value(QStringLiteral("measurements")).toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QString reason;
        std::optional<TKeptMeasurement> m = ParseEntry(entries.at(i), &reason);
        if (!m) {
            contents.Problems
                << tr("Spis pomiarów \"%1\": %2 nr %3.").arg(Native(indexPath), reason).arg(i + 1);
            continue;
        }
        m->Recording = QDir(folder).filePath(m->Recording);
        if (!QFileInfo(m->Recording).isFile()) {
            contents.Problems << tr("Nie znaleziono nagrania \"%1\".").arg(Native(m->Recording));
            continue;
        }
        const QString markers
            = entries.at(i).toObject().value(QStringLiteral("markers")).toString();
        if (!PlainFileName(markers)) {
            contents.Problems << tr("Spis pomiarów \"%1\": nieprawidłowy wpis nr %2.")
                                     .arg(Native(indexPath))
                                     .arg(i + 1);
            continue;
        }
        std::optional<TMarkerLog> log = ReadLog(QDir(folder).filePath(markers), &reason);
        if (!log) {
            contents.Problems << reason;
            continue;
        }
        m->Log = std::move(*log);
        contents.Measurements.push_back(std::move(*m));
    }
    return contents;
}
