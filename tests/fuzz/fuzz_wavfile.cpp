// The recording reader on any bytes: libsndfile's formats through the in-memory virtual I/O.
// A file that reads gives a positive rate and never more samples than the reader allows;
// one that does not gives a reason.
#include "analysis/WavFile.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr qint64 MaxSamples = qint64(1) << 31;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QString error;
    const std::optional<TWavFile::TRecording> recording
        = TWavFile::ReadBytes(reinterpret_cast<const char *>(data), qint64(size), &error);
    if (!recording) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    if (recording->SampleRate <= 0 || qint64(recording->Samples.size()) > MaxSamples)
        std::abort();
    return 0;
}
