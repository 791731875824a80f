#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// Writes one file so that it is either complete or not there at all: the bytes go to a
// temporary file beside the target, which replaces the target only when every byte has
// reached the disk. On any failure (disk full, file-size limit, no permission) the
// temporary file is removed, an existing target stays byte-identical and a new one is not
// created.
//
// Every file the program writes goes through this class. QSaveFile alone is not enough:
// while everything written sits in its write buffer, commit() can report success and rename
// a truncated file into place although its last flush failed, so the flush and the device's
// error state are checked here before the commit.
//
// Not thread-safe; use from one thread. The writer owns its temporary file until Commit()
// or destruction (which cancels an uncommitted write).
class TFileWriter
{
public:
    explicit TFileWriter(const QString &path);
    ~TFileWriter();

    TFileWriter(const TFileWriter &) = delete;
    TFileWriter &operator=(const TFileWriter &) = delete;

    // Creates the temporary file. False on failure (ErrorString() says why).
    bool Open();
    // Appends size bytes. False once any write has failed; later writes are refused, so a
    // caller may check only the last one or Commit().
    bool Write(const char *data, qint64 size);
    bool Write(const QByteArray &bytes) { return Write(bytes.constData(), bytes.size()); }
    // Flushes, checks and renames the file into place. False (and nothing changed on disk)
    // when anything failed since Open().
    bool Commit();
    // Drops what was written; the target is left as it was.
    void Cancel();

    bool IsOpen() const { return m_file.isOpen(); }
    bool Failed() const { return m_failed; }
    // Bytes accepted so far.
    qint64 Written() const { return m_written; }
    QString Path() const { return m_path; }
    // The system's reason for the first failure ("No space left on device", ...).
    QString ErrorString() const { return m_error; }
    // The program's sentence for the failure: Nie można zapisać pliku "<path>" (<reason>).
    QString ErrorMessage() const;

    // Writes bytes to path in one go. On failure returns false and, when errorMessage is
    // given, stores ErrorMessage() in it.
    static bool WriteFile(const QString &path, const QByteArray &bytes,
                          QString *errorMessage = nullptr);
    // The sentence ErrorMessage() uses, for callers that fail before writing.
    static QString FailureMessage(const QString &path, const QString &reason);

private:
    void Fail(const QString &reason);
    QString SystemReason() const;

    QString m_path;
    QSaveFile m_file;
    QString m_error;
    qint64 m_written = 0;
    bool m_failed = false;
};
