#pragma once

#include <QByteArray>
#include <QCoreApplication>
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
// An existing, writable file in a folder where no temporary file can be made (a read-only
// folder) is still saved: the bytes are kept in memory until Commit(), which writes them
// over the file in place only when the device has room for the whole new file, after
// reserving that room, so that a full disk cannot cut the old file short. Only a failure
// in the middle of that write (an I/O error) can leave the file damaged; the error then
// says that the in-place write failed.
//
// Not thread-safe; use from one thread. The writer owns its temporary file until Commit()
// or destruction (which cancels an uncommitted write).
class TFileWriter
{
    Q_DECLARE_TR_FUNCTIONS(TFileWriter)

public:
    explicit TFileWriter(const QString &path);
    ~TFileWriter();

    TFileWriter(const TFileWriter &) = delete;
    TFileWriter &operator=(const TFileWriter &) = delete;

    // Creates the temporary file (or, in a folder that refuses one, prepares the in-place
    // write). False on failure (ErrorString() says why).
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

    bool IsOpen() const { return m_file.isOpen() || m_inPlaceOpen; }
    // True when Open() could not make a temporary file and the file will be written in place.
    bool InPlace() const { return m_inPlace; }
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

    // For tests: every writer behaves as in a folder that refuses new files (as a read-only
    // folder does for users other than root).
    static void RefuseTemporaryFilesForTesting(bool refuse);
    // For tests: every device has this many bytes free (negative: what the system says).
    static void SetFreeBytesForTesting(qint64 bytes);

private:
    void Fail(const QString &reason);
    bool OpenInPlace(const QString &folderReason);
    bool CommitInPlace();
    // The reason of a failed in-place save: why no temporary file, then what failed.
    QString InPlaceReason(const QString &what) const;

    QString m_path;
    QSaveFile m_file;
    QString m_error;
    qint64 m_written = 0;
    bool m_failed = false;
    bool m_inPlace = false;
    bool m_inPlaceOpen = false; // in-place mode, between Open() and Commit() or Cancel()
    QString m_folderReason; // why no temporary file could be made (in-place mode)
    QByteArray m_pending; // in-place mode: everything written, until Commit()
};
