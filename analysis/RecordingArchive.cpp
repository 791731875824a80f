#include "analysis/RecordingArchive.h"

#include "analysis/FrdFile.h"
#include "controls/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

// Longest series name kept in a file name, characters: file systems allow 255 bytes.
constexpr int MaxSeriesChars = 100;
// " (2)" .. " (999)" before giving up on a free name.
constexpr int MaxDuplicates = 999;
// A turn of at most 1080° counts at most 108 markers: its log is a few kB. The bound leaves
// room for comments and keys of later versions, bytes.
constexpr qint64 MaxLogBytes = 256LL << 10;

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

// Claims "<folder>/<base>.wav", or with " (n)" when that WAV or its log exists already, by
// creating it empty: only one program can create a name, so two that keep a recording of the
// same name in the same second get two files. The caller writes over the empty file or
// removes it. std::nullopt with a Polish message in *error.
std::optional<QString> ReserveWavPath(const QString &folder, const QString &base, QString *error)
{
    for (int n = 1; n <= MaxDuplicates; ++n) {
        const QString name = n == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(n);
        const QString path = QDir(folder).filePath(name + QStringLiteral(".wav"));
        // The log follows its WAV: a log left without one still takes the name.
        if (QFileInfo::exists(TMarkerLog::PathFor(path)))
            continue;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!file.exists()) {
            Fail(error, TFileWriter::FailureMessage(path, file.errorString()));
            return std::nullopt;
        }
    }
    Fail(error,
         QCoreApplication::translate("TRecordingArchive",
                                     "W folderze \"%1\" nie ma wolnej nazwy dla nagrania \"%2\".")
             .arg(Native(folder), base));
    return std::nullopt;
}

} // namespace

QString TRecordingArchive::Folder(const QString &workingFolder)
{
    return workingFolder + QStringLiteral("/Pomiary");
}

QString TRecordingArchive::BaseName(const QDateTime &when, const QString &seriesName)
{
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    const QString series = TFrdFile::SafeFileName(seriesName.trimmed().left(MaxSeriesChars));
    return series.isEmpty() ? stamp : stamp + QLatin1Char(' ') + series.trimmed();
}

std::optional<QString> TRecordingArchive::Keep(const QString &rawPath, TMarkerLog log,
                                               const QString &workingFolder, const QDateTime &when,
                                               const QString &seriesName, QString *error)
{
    const QString folder = Folder(workingFolder);
    if (!QDir().mkpath(folder)) {
        Fail(error, tr("Nie można utworzyć folderu \"%1\".").arg(Native(folder)));
        return std::nullopt;
    }
    const std::optional<std::vector<qint16>> samples
        = ReadRaw(rawPath, TWavFile::MaxTurnSamples(log.SampleRate), error);
    if (!samples)
        return std::nullopt;
    log.RecordedSamples = qint64(samples->size());
    const std::optional<QString> wavPath
        = ReserveWavPath(folder, BaseName(when, seriesName), error);
    if (!wavPath)
        return std::nullopt;
    // The log before the WAV: a program killed in between leaves a log beside the empty file
    // that held the name, never a recording without its log.
    const QString logPath = TMarkerLog::PathFor(*wavPath);
    QString logError;
    if (!TFileWriter::WriteFile(logPath, log.ToText(), &logError)) {
        QFile::remove(*wavPath);
        Fail(error,
             tr("%1 Bez dziennika znaczników nagrania nie da się ponownie "
                "przeanalizować, więc go nie zachowano.")
                 .arg(logError));
        return std::nullopt;
    }
    if (!TWavFile::Write(*wavPath, samples->data(), qint64(samples->size()), log.SampleRate,
                         error)) {
        QFile::remove(logPath);
        QFile::remove(*wavPath); // the empty file that held the name
        return std::nullopt;
    }
    return wavPath;
}

std::optional<std::pair<TWavFile::TRecording, TMarkerLog>>
TRecordingArchive::Load(const QString &wavPath, QString *error)
{
    const QString logPath = TMarkerLog::PathFor(wavPath);
    const auto fail = [&](const QString &message) {
        Fail(error, message);
        return std::nullopt;
    };
    // The recording first: a wrong path is then reported as such.
    std::optional<TWavFile::TRecording> recording = TWavFile::Read(wavPath, error);
    if (!recording)
        return std::nullopt;
    if (!QFileInfo::exists(logPath))
        return fail(tr("Brak dziennika znaczników \"%1\" nagrania \"%2\".")
                        .arg(Native(logPath), Native(wavPath)));
    std::optional<TMarkerLog> log = ReadLog(logPath, error);
    if (!log)
        return std::nullopt;
    return std::make_pair(std::move(*recording), std::move(*log));
}

std::optional<TMarkerLog> TRecordingArchive::ReadLog(const QString &logPath, QString *error)
{
    const auto fail = [&](const QString &message) {
        Fail(error, message);
        return std::nullopt;
    };
    const auto unreadable = [&](const QString &reason) {
        return fail(tr("Nie można odczytać dziennika znaczników \"%1\" (%2).")
                        .arg(Native(logPath), reason));
    };
    if (const QString irregular = TWavFile::IrregularFileReason(logPath); !irregular.isEmpty())
        return unreadable(irregular);
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    // Read one byte past the bound: a file that grows while it is read stays bounded too.
    const QByteArray text = file.read(MaxLogBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return unreadable(file.errorString());
    if (text.size() > MaxLogBytes)
        return fail(tr("Dziennik znaczników \"%1\" jest za duży (ponad %2 B).")
                        .arg(Native(logPath))
                        .arg(MaxLogBytes));
    QString reason;
    std::optional<TMarkerLog> log = TMarkerLog::FromText(text, &reason);
    if (!log)
        return fail(
            tr("Nieprawidłowy dziennik znaczników \"%1\": %2").arg(Native(logPath), reason));
    return log;
}

std::optional<std::vector<qint16>> TRecordingArchive::ReadRaw(const QString &path,
                                                              qint64 maxSamples, QString *error)
{
    const auto fail = [&](const QString &reason) {
        Fail(error, tr("Nie można odczytać nagrania \"%1\" (%2).").arg(Native(path), reason));
        return std::nullopt;
    };
    if (const QString irregular = TWavFile::IrregularFileReason(path); !irregular.isEmpty())
        return fail(irregular);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() / 2 > maxSamples)
        return fail(tr("nagranie jest dłuższe niż %1 min, a tyle nie trwa żaden "
                       "obrót stolika")
                        .arg(TWavFile::MaxTurnSeconds / 60));
    // An odd last byte is half a sample: the recorder never wrote it whole.
    std::vector<qint16> samples(size_t(file.size() / 2));
    const qint64 bytes = qint64(samples.size()) * 2;
    if (file.read(reinterpret_cast<char *>(samples.data()), bytes) != bytes)
        return fail(file.error() != QFileDevice::NoError ? file.errorString()
                                                         : tr("plik się skrócił"));
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    qFromLittleEndian<qint16>(samples.data(), qsizetype(samples.size()), samples.data());
#endif
    return samples;
}
