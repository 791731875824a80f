#pragma once

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// Kept recordings as WAV files through libsndfile: 16-bit PCM mono at the recording's rate.
// Writing goes through the program's checked file writer (the WAV is made in memory first),
// so a full disk leaves no file behind. GUI thread or any one thread.
class TWavFile
{
    Q_DECLARE_TR_FUNCTIONS(TWavFile)

public:
    struct TRecording
    {
        int SampleRate = 0; // Hz
        std::vector<qint16> Samples; // mono; a multi-channel file gives its first channel
    };

    // Writes samples as a 16-bit mono WAV; false with the program's message in *error.
    static bool Write(const QString &path, const qint16 *samples, qint64 count, int sampleRate,
                      QString *error = nullptr);
    // No turn of the table lasts longer than this, s: a longer recording is refused rather
    // than held in memory (2 bytes per sample).
    static constexpr int MaxTurnSeconds = 20 * 60;
    // MaxTurnSeconds of samples at sampleRate Hz (one channel).
    static qint64 MaxTurnSamples(int sampleRate);
    // Why path is no regular file to read a recording from (a folder, a FIFO, a device; in
    // Polish), or an empty string (also for a path that does not exist).
    static QString IrregularFileReason(const QString &path);

    // Reads any file libsndfile reads (converted to 16 bits), streaming from the file: only
    // the first channel's samples are held. std::nullopt with a message naming the file in
    // *error, also for what is not a regular file and for a recording longer than
    // MaxTurnSeconds.
    static std::optional<TRecording> Read(const QString &path, QString *error = nullptr);
    // The same from bytes in memory (the fuzz target's entry).
    static std::optional<TRecording> ReadBytes(const char *data, qint64 size,
                                               QString *error = nullptr);
};
