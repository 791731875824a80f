#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class TFileWriter;

// The raw recording file "temp.raw": headerless signed 16-bit little-endian mono samples,
// appended buffer by buffer as the input stream delivers them. 8-bit input (unsigned, as
// the sound card gives it) is widened to signed 16 bits first, so the file always has the
// one format the level computation reads. The file replaces an earlier one only when it is
// closed complete; after a failed write nothing more is written and closing leaves the
// earlier file as it was. GUI thread only.
class TRecordFile
{
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

private:
    std::unique_ptr<TFileWriter> m_file;
    QString m_path;
    QString m_writeError;
    QByteArray m_widened;
    bool m_writeFailed = false;
};
