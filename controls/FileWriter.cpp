#include "controls/FileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <new>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace {

bool refuseTemporaryFiles = false;
qint64 freeBytesForTesting = -1;

// Qt reports many write failures as "Unknown error"; errno still holds the system's reason
// ("No space left on device", "File too large").
QString SystemReason(const QFileDevice &device)
{
    if (errno != 0)
        return qt_error_string(errno);
    return device.errorString();
}

// Appends size bytes to device. Empty on success, otherwise the system's reason.
QString CheckedWrite(QFileDevice &device, const char *data, qint64 size)
{
    errno = 0;
    qint64 done = device.write(data, size);
    if (done >= 0 && done < size && device.error() == QFileDevice::NoError) {
        // A short write: the next one fails and leaves the system's reason in errno.
        errno = 0;
        const qint64 more = device.write(data + done, size - done);
        done = more > 0 ? done + more : done;
    }
    if (done == size && device.error() == QFileDevice::NoError)
        return {};
    const QString reason = SystemReason(device);
    return reason.isEmpty() ? QCoreApplication::translate("TFileWriter", "błąd zapisu") : reason;
}

// Bytes an unprivileged user may still allocate on the device that holds folder; -1 when
// that cannot be told.
qint64 FreeBytes(const QString &folder)
{
    if (freeBytesForTesting >= 0)
        return freeBytesForTesting;
#ifdef Q_OS_UNIX
    struct statvfs info
    {
    };
    if (statvfs(QFile::encodeName(folder).constData(), &info) == 0)
        return qint64(info.f_bavail) * qint64(info.f_frsize);
#else
    Q_UNUSED(folder);
#endif
    return -1;
}

// Reserves the blocks of the first size bytes of the open file, so that overwriting it
// cannot fail for want of room. Empty on success or where the file system cannot reserve
// (the room check before stands alone then), otherwise the system's reason.
QString ReserveRoom(QFile &file, qint64 size)
{
#ifdef Q_OS_LINUX
    if (size > 0 && fallocate(file.handle(), 0, 0, off_t(size)) != 0 && errno != EOPNOTSUPP
        && errno != ENOSYS)
        return qt_error_string(errno);
#else
    Q_UNUSED(file);
    Q_UNUSED(size);
#endif
    return {};
}

} // namespace

TFileWriter::TFileWriter(const QString &path)
    : m_path(path)
    , m_file(path)
{
    // Qt's own fallback truncates the target and writes it without any check of the room
    // on the device, which is what loses the old file; the in-place write here is guarded.
    m_file.setDirectWriteFallback(false);
}

TFileWriter::~TFileWriter()
{
    Cancel();
}

void TFileWriter::RefuseTemporaryFilesForTesting(bool refuse)
{
    refuseTemporaryFiles = refuse;
}

void TFileWriter::SetFreeBytesForTesting(qint64 bytes)
{
    freeBytesForTesting = bytes;
}

bool TFileWriter::Open()
{
    m_failed = false;
    m_written = 0;
    m_error.clear();
    m_inPlace = false;
    m_inPlaceOpen = false;
    m_pending.clear();
    // Unbuffered: a failing write is seen at once, with the system's reason (Qt's buffered
    // path reports a failed final flush as "Unknown error").
    if (!refuseTemporaryFiles && m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    const QString reason = refuseTemporaryFiles ? qt_error_string(EACCES) : m_file.errorString();
    if (OpenInPlace(reason))
        return true;
    m_failed = true;
    m_error = reason;
    return false;
}

bool TFileWriter::OpenInPlace(const QString &folderReason)
{
    // Only an existing regular file that this process can open for writing; the open does
    // not change it.
    const QFileInfo target(m_path);
    if (!target.exists() || !target.isFile())
        return false;
    QFile probe(m_path);
    if (!probe.open(QIODevice::ReadWrite))
        return false;
    m_inPlace = true;
    m_inPlaceOpen = true;
    m_folderReason = folderReason;
    return true;
}

void TFileWriter::Fail(const QString &reason)
{
    if (!m_failed) {
        m_failed = true;
        m_error = reason.isEmpty() ? tr("błąd zapisu") : reason;
    }
    Cancel();
}

bool TFileWriter::Write(const char *data, qint64 size)
{
    if (m_failed || !IsOpen()) {
        if (!m_failed)
            Fail(tr("plik nie jest otwarty"));
        return false;
    }
    if (size <= 0)
        return true;
    if (m_inPlace) {
        try {
            m_pending.append(data, qsizetype(size));
        } catch (const std::bad_alloc &) {
            Fail(tr("za mało pamięci"));
            return false;
        }
    } else if (const QString error = CheckedWrite(m_file, data, size); !error.isEmpty()) {
        Fail(error);
        return false;
    }
    m_written += size;
    return true;
}

bool TFileWriter::Commit()
{
    if (m_failed)
        return false;
    if (m_inPlaceOpen)
        return CommitInPlace();
    if (!m_file.isOpen()) {
        Fail(tr("plik nie jest otwarty"));
        return false;
    }
    // Nothing may be left unwritten before the rename: commit() alone would rename a
    // truncated file into place when its own last flush fails.
    errno = 0;
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError) {
        Fail(SystemReason(m_file));
        return false;
    }
    errno = 0;
    if (!m_file.commit()) {
        m_failed = true;
        m_error = SystemReason(m_file);
        return false;
    }
    return true;
}

QString TFileWriter::InPlaceReason(const QString &what) const
{
    return tr("w folderze nie można utworzyć pliku tymczasowego (%1), a zapis w "
              "miejscu starego pliku też się nie udał: %2")
        .arg(m_folderReason, what);
}

bool TFileWriter::CommitInPlace()
{
    const qint64 size = m_pending.size();
    const qint64 free = FreeBytes(QFileInfo(m_path).absolutePath());
    if (free < size) {
        Fail(InPlaceReason(free < 0 ? tr("nie wiadomo, ile miejsca jest na dysku; stary plik "
                                         "pozostał bez zmian")
                                    : tr("na dysku nie ma miejsca na cały nowy plik (potrzeba "
                                         "%1 B, wolne %2 B); stary plik pozostał bez zmian")
                                          .arg(size)
                                          .arg(free)));
        return false;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        Fail(InPlaceReason(file.errorString() + tr("; stary plik pozostał bez zmian")));
        return false;
    }
    const qint64 oldSize = file.size();
    if (const QString error = ReserveRoom(file, size); !error.isEmpty()) {
        file.resize(oldSize);
        Fail(InPlaceReason(error + tr("; stary plik pozostał bez zmian")));
        return false;
    }
    QString error = CheckedWrite(file, m_pending.constData(), size);
    errno = 0;
    if (error.isEmpty() && !file.resize(size))
        error = SystemReason(file);
#ifdef Q_OS_UNIX
    if (error.isEmpty() && fsync(file.handle()) != 0)
        error = qt_error_string(errno);
#endif
    file.close();
    if (!error.isEmpty()) {
        Fail(InPlaceReason(error + tr("; plik może być uszkodzony")));
        return false;
    }
    m_pending = QByteArray();
    m_inPlaceOpen = false;
    return true;
}

void TFileWriter::Cancel()
{
    m_pending = QByteArray();
    m_inPlaceOpen = false;
    // A committed file is closed, so this leaves it alone. cancelWriting() marks an open
    // one; commit() then removes its temporary file at once.
    if (m_file.isOpen()) {
        m_file.cancelWriting();
        m_file.commit();
    }
}

QString TFileWriter::ErrorMessage() const
{
    return FailureMessage(m_path, m_error);
}

QString TFileWriter::FailureMessage(const QString &path, const QString &reason)
{
    return tr("Nie można zapisać pliku \"%1\" (%2).").arg(QDir::toNativeSeparators(path), reason);
}

bool TFileWriter::WriteFile(const QString &path, const QByteArray &bytes, QString *errorMessage)
{
    TFileWriter writer(path);
    if (writer.Open() && writer.Write(bytes) && writer.Commit())
        return true;
    if (errorMessage)
        *errorMessage = writer.ErrorMessage();
    return false;
}
