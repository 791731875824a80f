#include "audio/RecordSlot.h"

#include <QDir>
#include <QLockFile>

const QString TRecordSlot::BaseName = QStringLiteral("temp.raw");

TRecordSlot::TRecordSlot() = default;

TRecordSlot::~TRecordSlot() = default;

QString TRecordSlot::FileName(int slot)
{
    return slot <= 1 ? BaseName : QStringLiteral("temp-%1.raw").arg(slot);
}

TRecordSlot &TRecordSlot::Program()
{
    static TRecordSlot slot;
    return slot;
}

bool TRecordSlot::Locked() const
{
    return m_lock != nullptr;
}

void TRecordSlot::Release()
{
    m_lock.reset();
    m_folder.clear();
    m_fileName.clear();
}

QString TRecordSlot::PathIn(const QString &folder)
{
    const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    if (!m_lock || cleaned != m_folder) {
        Release();
        if (!TakeIn(cleaned))
            return QDir(folder).filePath(BaseName);
    }
    return QDir(folder).filePath(m_fileName);
}

bool TRecordSlot::TakeIn(const QString &folder)
{
    const QDir dir(folder);
    for (int slot = 1; slot <= MaxSlots; ++slot) {
        auto lock
            = std::make_unique<QLockFile>(dir.filePath(FileName(slot) + QStringLiteral(".lock")));
        // Never stale by age: a measurement may run for hours. A lock is taken over only
        // when the process named in it has gone.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            m_folder = folder;
            m_fileName = FileName(slot);
            return true;
        }
        // Only a lock held by another program moves on to the next file; a folder that
        // refuses the lock file refuses them all.
        if (lock->error() != QLockFile::LockFailedError)
            return false;
    }
    return false;
}
