#include "controls/FileWriter.h"

#include <QDir>

#include <cerrno>

TFileWriter::TFileWriter(const QString &path)
    : m_path(path)
    , m_file(path)
{
    // Never fall back to writing the target in place: that is what loses the old file.
    m_file.setDirectWriteFallback(false);
}

TFileWriter::~TFileWriter()
{
    Cancel();
}

bool TFileWriter::Open()
{
    m_failed = false;
    m_written = 0;
    m_error.clear();
    // Unbuffered: a failing write is seen at once, with the system's reason (Qt's buffered
    // path reports a failed final flush as "Unknown error").
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

QString TFileWriter::SystemReason() const
{
    // Qt reports many write failures as "Unknown error"; errno still holds the system's
    // reason ("No space left on device", "File too large").
    if (errno != 0)
        return qt_error_string(errno);
    return m_file.errorString();
}

void TFileWriter::Fail(const QString &reason)
{
    if (!m_failed) {
        m_failed = true;
        m_error = reason.isEmpty() ? QStringLiteral("błąd zapisu") : reason;
    }
    Cancel();
}

bool TFileWriter::Write(const char *data, qint64 size)
{
    if (m_failed || !m_file.isOpen()) {
        if (!m_failed)
            Fail(QStringLiteral("plik nie jest otwarty"));
        return false;
    }
    if (size <= 0)
        return true;
    errno = 0;
    qint64 done = m_file.write(data, size);
    if (done >= 0 && done < size && m_file.error() == QFileDevice::NoError) {
        // A short write: the next one fails and leaves the system's reason in errno.
        errno = 0;
        const qint64 more = m_file.write(data + done, size - done);
        done = more > 0 ? done + more : done;
    }
    if (done != size || m_file.error() != QFileDevice::NoError) {
        Fail(SystemReason());
        return false;
    }
    m_written += size;
    return true;
}

bool TFileWriter::Commit()
{
    if (m_failed)
        return false;
    if (!m_file.isOpen()) {
        Fail(QStringLiteral("plik nie jest otwarty"));
        return false;
    }
    // Nothing may be left unwritten before the rename: commit() alone would rename a
    // truncated file into place when its own last flush fails.
    errno = 0;
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError) {
        Fail(SystemReason());
        return false;
    }
    errno = 0;
    if (!m_file.commit()) {
        m_failed = true;
        m_error = SystemReason();
        return false;
    }
    return true;
}

void TFileWriter::Cancel()
{
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
    return QStringLiteral("Nie można zapisać pliku \"%1\" (%2).")
        .arg(QDir::toNativeSeparators(path), reason);
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
