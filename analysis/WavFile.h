#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// Kept recordings as WAV files through libsndfile: 16-bit PCM mono at the recording's rate.
// Writing goes through the program's checked file writer (the WAV is made in memory first),
// so a full disk leaves no file behind. GUI thread or any one thread.
class TWavFile
{
public:
    struct TRecording
    {
        int SampleRate = 0; // Hz
        std::vector<qint16> Samples; // mono; a multi-channel file gives its first channel
    };

    // Writes samples as a 16-bit mono WAV; false with the program's message in *error.
    static bool Write(const QString &path, const qint16 *samples, qint64 count, int sampleRate,
                      QString *error = nullptr);
    // Reads any file libsndfile reads (converted to 16 bits); std::nullopt with a message
    // naming the file in *error.
    static std::optional<TRecording> Read(const QString &path, QString *error = nullptr);
    // The same from bytes in memory (the fuzz target's entry).
    static std::optional<TRecording> ReadBytes(const char *data, qint64 size,
                                               QString *error = nullptr);
};
