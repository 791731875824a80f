#include "analysis/WavFile.h"

#include "controls/FileWriter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

// More samples (all channels) than any recording of a turn holds; a header that claims more is
// refused before anything is allocated.
constexpr qint64 MaxSamples = qint64(1) << 31;
// A RIFF file counts its bytes in 32 bits; the header and chunk framing take the rest.
constexpr qint64 MaxWavDataBytes = 0xFFFFFFFFLL - 4096;
// Samples per read or write call: small enough for any channel count.
constexpr qint64 ChunkSamples = 1 << 16;
// The most the in-memory file may grow to, bytes: the longest WAV and its header.
constexpr qint64 MaxFileBytes = MaxWavDataBytes + 8192;

// libsndfile's virtual I/O over a growing byte array (writing; libsndfile seeks back to
// patch the header) or over bytes in memory (reading).
struct TMemory
{
    QByteArray *Out = nullptr; // writing
    const char *In = nullptr; // reading
    qint64 Size = 0;
    qint64 Position = 0;
};

sf_count_t Length(void *user)
{
    return static_cast<TMemory *>(user)->Size;
}

sf_count_t Seek(sf_count_t offset, int whence, void *user)
{
    auto *memory = static_cast<TMemory *>(user);
    qint64 base = 0;
    if (whence == SEEK_CUR)
        base = memory->Position;
    else if (whence == SEEK_END)
        base = memory->Size;
    else if (whence != SEEK_SET)
        return -1;
    if (offset < -base || offset > std::numeric_limits<qint64>::max() - base)
        return -1;
    memory->Position = base + offset;
    return memory->Position;
}

sf_count_t Read(void *to, sf_count_t count, void *user)
{
    auto *memory = static_cast<TMemory *>(user);
    if (count <= 0 || memory->Position >= memory->Size)
        return 0;
    const char *bytes = memory->In ? memory->In : memory->Out->constData();
    const qint64 n = std::min<qint64>(count, memory->Size - memory->Position);
    std::memcpy(to, bytes + memory->Position, size_t(n));
    memory->Position += n;
    return n;
}

sf_count_t Write(const void *from, sf_count_t count, void *user)
{
    auto *memory = static_cast<TMemory *>(user);
    if (!memory->Out || count < 0 || memory->Position > MaxFileBytes
        || count > MaxFileBytes - memory->Position)
        return 0;
    const qint64 end = memory->Position + count;
    if (end > memory->Out->size())
        memory->Out->resize(end, '\0'); // a seek past the end leaves zeros in the gap
    std::memcpy(memory->Out->data() + memory->Position, from, size_t(count));
    memory->Position = end;
    memory->Size = memory->Out->size();
    return count;
}

sf_count_t Tell(void *user)
{
    return static_cast<TMemory *>(user)->Position;
}

SF_VIRTUAL_IO VirtualIo()
{
    return SF_VIRTUAL_IO { &Length, &Seek, &Read, &Write, &Tell };
}

QString Reason(SNDFILE *file)
{
    return QString::fromUtf8(sf_strerror(file));
}

// Closes on scope exit unless closed (and checked) before.
struct TSndFileCloser
{
    void operator()(SNDFILE *file) const { sf_close(file); }
};
using TSndFile = std::unique_ptr<SNDFILE, TSndFileCloser>;

bool Fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// A sample of full scale 1.0 as 16 bits, clipped; NaN as silence.
qint16 ToSample(float value)
{
    if (!(value == value))
        return 0;
    return qint16(std::lrint(std::clamp(double(value) * 32768.0, -32768.0, 32767.0)));
}

// The first channel of the file's samples, or a reason in *reason.
std::optional<TWavFile::TRecording> Decode(const char *data, qint64 size, QString &reason)
{
    TMemory memory;
    memory.In = data;
    memory.Size = size;
    SF_VIRTUAL_IO io = VirtualIo();
    SF_INFO info {};
    TSndFile file(sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (!file) {
        reason = Reason(nullptr);
        return std::nullopt;
    }
    if (info.channels <= 0 || info.samplerate <= 0) {
        reason = QStringLiteral("nieprawidłowy nagłówek");
        return std::nullopt;
    }
    const qint64 channels = info.channels;
    // Frames that libsndfile does not know in advance are read until the end.
    if (info.frames < 0 || (info.frames != SF_COUNT_MAX && info.frames > MaxSamples / channels)) {
        reason = QStringLiteral("nagłówek podaje %1 ramek").arg(info.frames);
        return std::nullopt;
    }
    TWavFile::TRecording recording;
    recording.SampleRate = info.samplerate;
    // Never more than the bytes could hold uncompressed: the header may lie.
    recording.Samples.reserve(size_t(std::min<qint64>(info.frames, size / channels)));
    const qint64 chunkFrames = std::max<qint64>(1, ChunkSamples / channels);
    // Read as floats in ±1.0 (libsndfile's normalisation): reading a floating-point file as
    // shorts would not scale it, and 16-bit samples come back exactly (s / 32768).
    std::vector<float> chunk(size_t(chunkFrames * channels));
    for (;;) {
        const sf_count_t got = sf_readf_float(file.get(), chunk.data(), chunkFrames);
        if (got <= 0)
            break;
        if (qint64(recording.Samples.size()) + got > MaxSamples / channels) {
            reason = QStringLiteral("więcej niż %1 próbek").arg(MaxSamples);
            return std::nullopt;
        }
        for (sf_count_t i = 0; i < got; ++i)
            recording.Samples.push_back(ToSample(chunk[size_t(i * channels)]));
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        reason = Reason(file.get());
        return std::nullopt;
    }
    return recording;
}

} // namespace

bool TWavFile::Write(const QString &path, const qint16 *samples, qint64 count, int sampleRate,
                     QString *error)
{
    const auto fail = [&](const QString &reason) {
        return Fail(error, TFileWriter::FailureMessage(path, reason));
    };
    if (count < 0 || count > MaxWavDataBytes / 2)
        return fail(QStringLiteral("nagranie jest za długie na plik WAV"));
    if (sampleRate <= 0)
        return fail(
            QStringLiteral("nieprawidłowa częstotliwość próbkowania %1 Hz").arg(sampleRate));
    QByteArray bytes;
    bytes.reserve(qsizetype(count * 2 + 256));
    TMemory memory;
    memory.Out = &bytes;
    SF_VIRTUAL_IO io = VirtualIo();
    SF_INFO info {};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    TSndFile file(sf_open_virtual(&io, SFM_WRITE, &info, &memory));
    if (!file)
        return fail(Reason(nullptr));
    // In pieces: sf_write_short counts in sf_count_t, but a short count must not pass unseen.
    for (qint64 done = 0; done < count;) {
        const qint64 n = std::min<qint64>(count - done, ChunkSamples);
        if (sf_write_short(file.get(), samples + done, n) != n)
            return fail(Reason(file.get()));
        done += n;
    }
    if (const int closed = sf_close(file.release()); closed != 0)
        return fail(QString::fromUtf8(sf_error_number(closed)));
    return TFileWriter::WriteFile(path, bytes, error);
}

std::optional<TWavFile::TRecording> TWavFile::Read(const QString &path, QString *error)
{
    const auto fail = [&](const QString &reason) -> std::optional<TRecording> {
        Fail(error,
             QStringLiteral("Nie można odczytać nagrania \"%1\" (%2).")
                 .arg(QDir::toNativeSeparators(path), reason));
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    QString reason;
    std::optional<TRecording> recording = Decode(bytes.constData(), bytes.size(), reason);
    if (!recording)
        return fail(reason);
    return recording;
}

std::optional<TWavFile::TRecording> TWavFile::ReadBytes(const char *data, qint64 size,
                                                        QString *error)
{
    QString reason;
    std::optional<TRecording> recording = Decode(data, std::max<qint64>(0, size), reason);
    if (!recording)
        Fail(error, QStringLiteral("Nie można odczytać nagrania (%1).").arg(reason));
    return recording;
}
