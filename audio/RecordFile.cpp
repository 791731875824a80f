#include "audio/RecordFile.h"

#include "controls/Clock.h"
#include "controls/FileWriter.h"
#include "document/InOutError.h"

#include <QDir>

#include <algorithm>

TRecordFile::TRecordFile() = default;
TRecordFile::~TRecordFile() = default;

bool TRecordFile::IsOpen() const
{
    return m_file && m_file->IsOpen();
}

void TRecordFile::Open(const QString &path)
{
    m_file.reset();
    m_path = path;
    m_writeFailed = false;
    m_writeError.clear();
    m_samples = 0;
    m_lastBufferSamples = 0;
    m_lastAppendMs = m_firstSampleMs = -1.0;
    auto file = std::make_unique<TFileWriter>(path);
    if (!file->Open())
        throw EInOutError(tr("Nie można utworzyć pliku %1:\n%2")
                              .arg(QDir::toNativeSeparators(path), file->ErrorString()));
    m_file = std::move(file);
}

bool TRecordFile::Append(const char *data, int bytes, int bitsPerSample)
{
    if (m_writeFailed)
        return false;
    if (!IsOpen()) {
        m_writeFailed = true;
        m_writeError = tr("plik nie jest otwarty");
        return false;
    }
    if (bitsPerSample == 8) {
        // Unsigned 8-bit samples become signed 16-bit ones: (x - 128) * 256.
        m_widened.resize(qsizetype(bytes) * 2);
        auto *out = reinterpret_cast<uchar *>(m_widened.data());
        for (int i = 0; i < bytes; ++i) {
            const quint16 v = quint16((int(uchar(data[i])) - 128) * 256);
            out[2 * i] = uchar(v & 0xFF);
            out[2 * i + 1] = uchar(v >> 8);
        }
        data = m_widened.constData();
        bytes *= 2;
    }
    if (m_file->Write(data, bytes)) {
        Stamp(bytes / 2);
        return true;
    }
    m_writeFailed = true;
    m_writeError = m_file->ErrorString();
    return false;
}

QString TRecordFile::WriteFailureMessage() const
{
    return tr("Błąd zapisu do pliku %1:\n%2\n\nZapis został przerwany; plik nie "
              "został zmieniony.")
        .arg(QDir::toNativeSeparators(m_path), m_writeError);
}

void TRecordFile::Close()
{
    if (!m_file)
        return;
    const std::unique_ptr<TFileWriter> file = std::move(m_file);
    if (m_writeFailed) {
        file->Cancel(); // reported already; an earlier file stays as it was
        return;
    }
    if (!file->Commit())
        throw EInOutError(tr("Błąd zapisu do pliku %1:\n%2")
                              .arg(QDir::toNativeSeparators(m_path), file->ErrorString()));
}

void TRecordFile::SetTiming(const TClock *clock, int sampleRate)
{
    m_clock = clock;
    m_rate = sampleRate;
}

void TRecordFile::Stamp(qint64 samples)
{
    m_samples += samples;
    m_lastBufferSamples = samples;
    if (!m_clock || m_rate <= 0)
        return;
    // A buffer arrives once its last sample has been recorded.
    m_lastAppendMs = double(m_clock->NowMs());
    if (m_firstSampleMs < 0)
        m_firstSampleMs = m_lastAppendMs - samples * 1000.0 / m_rate;
}

double TRecordFile::PositionNow() const
{
    if (!m_clock || m_rate <= 0 || m_lastAppendMs < 0)
        return -1.0;
    const double since = (double(m_clock->NowMs()) - m_lastAppendMs) * m_rate / 1000.0;
    return double(m_samples) + std::clamp(since, 0.0, double(m_lastBufferSamples));
}

double TRecordFile::FirstSampleMs() const
{
    return m_firstSampleMs;
}
