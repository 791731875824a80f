#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Which raw recording file a running program writes in a working folder, so that two
// programs working in one folder never write or read each other's recording: "temp.raw"
// while this holder owns its lock file "temp.raw.lock", otherwise the first of "temp-2.raw",
// "temp-3.raw", ... whose lock it can take. A lock is held until the holder moves to another
// folder or is destroyed; one whose process has gone (a crash) is taken over, one whose
// process still runs never is, however old. Two holders in one process also get different
// files.
//
// When no lock file can be made at all (a missing or read-only folder) the path is
// "temp.raw" without a lock, so that opening the recording reports the failure as before;
// the next PathIn() tries again.
//
// GUI thread only. The holder owns its lock.
class TRecordSlot
{
public:
    static const QString BaseName; // "temp.raw"
    // The holder gives up after "temp-99.raw".
    static constexpr int MaxSlots = 99;

    TRecordSlot();
    ~TRecordSlot();
    TRecordSlot(const TRecordSlot &) = delete;
    TRecordSlot &operator=(const TRecordSlot &) = delete;

    // The recording file of this holder in folder. Takes a lock there when it holds none in
    // that folder, releasing one held in another folder first.
    QString PathIn(const QString &folder);
    // Drops the lock (the lock file goes with it).
    void Release();
    bool Locked() const;

    // The recording file of slot n: 1 "temp.raw", n "temp-n.raw".
    static QString FileName(int slot);

    // The one holder of this program, taken at start-up and held until it ends.
    static TRecordSlot &Program();

private:
    bool TakeIn(const QString &folder);

    std::unique_ptr<QLockFile> m_lock;
    QString m_folder; // cleaned, '/' separators; empty before the first PathIn()
    QString m_fileName;
};
