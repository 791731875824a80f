#include "analysis/WavFile.h"

#include "controls/FileWriter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// libsndfile's virtual I/O over an open file, read as libsndfile asks: only the header and
// the samples pass through memory, a chunk at a time.
sf_count_t FileLength(void *user)
{
    return static_cast<QFile *>(user)->size();
}

sf_count_t FileSeek(sf_count_t offset, int whence, void *user)
{
    auto *file = static_cast<QFile *>(user);
    qint64 base = 0;
    if (whence == SEEK_CUR)
        base = file->pos();
    else if (whence == SEEK_END)
        base = file->size();
    else if (whence != SEEK_SET)
        return -1;
    if (offset < -base || offset > std::numeric_limits<qint64>::max() - base
        || !file->seek(base + offset))
        return -1;
    return file->pos();
}

sf_count_t FileRead(void *to, sf_count_t count, void *user)
{
    if (count <= 0)
        return 0;
    return std::max<qint64>(0, static_cast<QFile *>(user)->read(static_cast<char *>(to), count));
}

sf_count_t FileWrite(const void *, sf_count_t, void *)
{
    return 0;
}

sf_count_t FileTell(void *user)
{
    return static_cast<QFile *>(user)->pos();
}

SF_VIRTUAL_IO FileIo()
{
    return SF_VIRTUAL_IO { &FileLength, &FileSeek, &FileRead, &FileWrite, &FileTell };
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

// The first channel of an open file's samples, or a reason in reason. Takes ownership of
// opened (nullptr: libsndfile could not open it). size: the file's bytes.
std::optional<TWavFile::TRecording> Decode(SNDFILE *opened, const SF_INFO &info, qint64 size,
                                           QString &reason)
{
    TSndFile file(opened);
    if (!file) {
        reason = Reason(nullptr);
        return std::nullopt;
    }
    if (info.channels <= 0 || info.samplerate <= 0) {
        reason = QCoreApplication::translate("TWavFile", "nieprawidłowy nagłówek");
        return std::nullopt;
    }
    const qint64 channels = info.channels;
    const qint64 longest = TWavFile::MaxTurnSamples(info.samplerate);
    const auto tooLong = [&] {
        reason = QCoreApplication::translate(
                     "TWavFile",
                     "nagranie jest dłuższe niż %1 min, a tyle nie trwa żaden obrót "
                     "stolika")
                     .arg(TWavFile::MaxTurnSeconds / 60);
        return std::nullopt;
    };
    // Frames that libsndfile does not know in advance are read until the end.
    if (info.frames < 0 || (info.frames != SF_COUNT_MAX && info.frames > MaxSamples / channels)) {
        reason
            = QCoreApplication::translate("TWavFile", "nagłówek podaje %1 ramek").arg(info.frames);
        return std::nullopt;
    }
    if (info.frames != SF_COUNT_MAX && info.frames > longest)
        return tooLong();
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
            reason
                = QCoreApplication::translate("TWavFile", "więcej niż %1 próbek").arg(MaxSamples);
            return std::nullopt;
        }
        if (qint64(recording.Samples.size()) + got > longest)
            return tooLong();
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
        return fail(tr("nagranie jest za długie na plik WAV"));
    if (sampleRate <= 0)
        return fail(tr("nieprawidłowa częstotliwość próbkowania %1 Hz").arg(sampleRate));
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

qint64 TWavFile::MaxTurnSamples(int sampleRate)
{
    return qint64(std::max(0, sampleRate)) * MaxTurnSeconds;
}

QString TWavFile::IrregularFileReason(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {}; // opening it says so
    if (info.isDir())
        return tr("to jest folder");
    if (!info.isFile())
        return tr("to nie jest zwykły plik");
    return {};
}

std::optional<TWavFile::TRecording> TWavFile::Read(const QString &path, QString *error)
{
    const auto fail = [&](const QString &reason) -> std::optional<TRecording> {
        Fail(error,
             tr("Nie można odczytać nagrania \"%1\" (%2).")
                 .arg(QDir::toNativeSeparators(path), reason));
        return std::nullopt;
    };
    // A FIFO would block the open, a device never end: refused before either.
    if (const QString irregular = IrregularFileReason(path); !irregular.isEmpty())
        return fail(irregular);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    SF_VIRTUAL_IO io = FileIo();
    SF_INFO info {};
    SNDFILE *opened = sf_open_virtual(&io, SFM_READ, &info, &file);
    QString reason;
    std::optional<TRecording> recording = Decode(opened, info, file.size(), reason);
    if (!recording)
        return fail(reason);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    return recording;
}

std::optional<TWavFile::TRecording> TWavFile::ReadBytes(const char *data, qint64 size,
                                                        QString *error)
{
    TMemory memory;
    memory.In = data;
    memory.Size = std::max<qint64>(0, size);
    SF_VIRTUAL_IO io = VirtualIo();
    SF_INFO info {};
    SNDFILE *opened = sf_open_virtual(&io, SFM_READ, &info, &memory);
    QString reason;
    std::optional<TRecording> recording = Decode(opened, info, memory.Size, reason);
    if (!recording)
        Fail(error, tr("Nie można odczytać nagrania (%1).").arg(reason));
    return recording;
}
