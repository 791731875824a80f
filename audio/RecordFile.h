#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <memory>

class TClock;
class TFileWriter;

// The raw recording file "temp.raw": headerless signed 16-bit little-endian mono samples,
// appended buffer by buffer as the input stream delivers them. 8-bit input (unsigned, as
// the sound card gives it) is widened to signed 16 bits first, so the file always has the
// one format the level computation reads. The file replaces an earlier one only when it is
// closed complete; after a failed write nothing more is written and closing leaves the
// earlier file as it was. GUI thread only.
class TRecordFile
{
    Q_DECLARE_TR_FUNCTIONS(TRecordFile)

public:
    TRecordFile();
    ~TRecordFile(); // an unclosed recording is dropped

    // Starts a new recording for path. Throws EInOutError (Polish text naming the file)
    // when it cannot be created.
    void Open(const QString &path);
    // Appends one delivered buffer of bitsPerSample (8 or 16) samples. False when this or an
    // earlier write failed (WriteError() says why); nothing more is written then.
    bool Append(const char *data, int bytes, int bitsPerSample);
    // Finishes the recording. A failure not reported yet throws EInOutError; after a failed
    // write it only drops the recording.
    void Close();

    bool IsOpen() const;
    bool WriteFailed() const { return m_writeFailed; }
    QString WriteError() const { return m_writeError; }
    // The user's message for the failed write: the file, the reason, and that the earlier
    // file was kept.
    QString WriteFailureMessage() const;
    QString Path() const { return m_path; }

    // Timing of the recording, for the marker log: the clock that stamps each appended buffer
    // (null: no stamps) and the recording's rate in Hz. Kept across Open.
    void SetTiming(const TClock *clock, int sampleRate);
    // Samples appended since Open (16-bit, mono).
    qint64 SamplesWritten() const { return m_samples; }
    // The recording's sample position (fractional) at the clock's now: the samples written
    // plus those recorded since the last buffer arrived, at most one more buffer's worth.
    // -1 without timing or before the first buffer.
    double PositionNow() const;
    // Clock time of the recording's first sample, ms, from the first buffer's arrival; -1
    // without timing or before the first buffer.
    double FirstSampleMs() const;

private:
    std::unique_ptr<TFileWriter> m_file;
    QString m_path;
    QString m_writeError;
    QByteArray m_widened;
    void Stamp(qint64 samples);
    bool m_writeFailed = false;
    const TClock *m_clock = nullptr; // not owned
    int m_rate = 0; // Hz
    qint64 m_samples = 0;
    qint64 m_lastBufferSamples = 0;
    double m_lastAppendMs = -1.0;
    double m_firstSampleMs = -1.0;
};
