#pragma once

#include "analysis/MarkerLog.h"
#include "analysis/WavFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include <optional>
#include <utility>

// Every measurement's recording is kept, so that it can be analysed again later: in the
// working folder's "Pomiary" subfolder as "<date time> <series>.wav" (16-bit mono) with its
// marker log "<date time> <series>.markers.txt" beside it. An existing pair is never
// overwritten: the new one gets " (2)", " (3)", ... A name is claimed by creating its WAV,
// so programs keeping recordings into one folder at the same time never share one. GUI
// thread or any one thread.
class TRecordingArchive
{
    Q_DECLARE_TR_FUNCTIONS(TRecordingArchive)

public:
    // The archive folder of a working folder.
    static QString Folder(const QString &workingFolder);
    // "yyyy-MM-dd HH-mm-ss <series name>" (local time of when), characters a file name
    // cannot hold replaced by '_'; without a series name just the date and time.
    static QString BaseName(const QDateTime &when, const QString &seriesName);

    // Keeps the raw recording at rawPath (headerless signed 16-bit little-endian mono, as
    // the recorder writes it) as a WAV at log.SampleRate Hz, and log (its RecordedSamples
    // set to the recording's sample count) beside it. Returns the WAV's path; std::nullopt
    // with a Polish message in *error when anything failed. Each file is written completely
    // or not at all, the log first: a kept WAV always has its log (a recording that cannot be
    // analysed again is not kept; the raw recording is left as it was).
    static std::optional<QString> Keep(const QString &rawPath, TMarkerLog log,
                                       const QString &workingFolder, const QDateTime &when,
                                       const QString &seriesName, QString *error = nullptr);

    // The samples of a raw recording (an odd last byte is dropped); std::nullopt with a Polish
    // message naming the file in *error, also when it is no regular file or holds more than
    // maxSamples samples (checked before anything is read).
    static std::optional<std::vector<qint16>> ReadRaw(const QString &path, qint64 maxSamples,
                                                      QString *error = nullptr);

    // A marker log file; std::nullopt with a Polish message naming it in *error when it is
    // no regular file, unreadable, larger than a turn's log can be or malformed.
    static std::optional<TMarkerLog> ReadLog(const QString &logPath, QString *error = nullptr);

    // A kept recording and the marker log beside it (TMarkerLog::PathFor); std::nullopt with
    // a Polish message in *error when either is missing or unreadable.
    static std::optional<std::pair<TWavFile::TRecording, TMarkerLog>>
    Load(const QString &wavPath, QString *error = nullptr);
};
