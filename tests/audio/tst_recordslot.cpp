// The program's raw recording file in a working folder: one temp.raw per running program,
// the next free temp-n.raw for the others, and locks of crashed programs taken over.
#include "audio/RecordSlot.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A lock file as QLockFile writes it (PID, program name, host name), aged by `ageS` seconds.
void WriteLock(const QString &path, qint64 pid, const QString &program, int ageS)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(pid) + '\n' + program.toUtf8() + '\n'
               + QSysInfo::machineHostName().toUtf8() + '\n');
    QVERIFY(file.flush()); // before the time is set: a later write would set it again
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageS),
                             QFileDevice::FileModificationTime));
}

} // namespace

class TestRecordSlot : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void holdersInOneFolderGetDifferentFiles();
    void lockFollowsTheFolder();
    void foreignLock_data();
    void foreignLock();
    void folderWithoutLocksFallsBackToTempRaw();

private:
    QString File(const QString &name) const { return QDir(m_dir->path()).filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecordSlot::holdersInOneFolderGetDifferentFiles()
{
    TRecordSlot first;
    TRecordSlot second;
    TRecordSlot third;
    QCOMPARE(first.PathIn(m_dir->path()), File("temp.raw"));
    QCOMPARE(second.PathIn(m_dir->path()), File("temp-2.raw"));
    QCOMPARE(third.PathIn(m_dir->path()), File("temp-3.raw"));
    // Asked again, each keeps its own file.
    QCOMPARE(first.PathIn(m_dir->path() + "/"), File("temp.raw"));
    QCOMPARE(second.PathIn(m_dir->path()), File("temp-2.raw"));
    QVERIFY(QFile::exists(File("temp.raw.lock")));
    QVERIFY(QFile::exists(File("temp-2.raw.lock")));

    // A freed temp.raw goes to the next program that asks.
    first.Release();
    QVERIFY(!QFile::exists(File("temp.raw.lock")));
    TRecordSlot fourth;
    QCOMPARE(fourth.PathIn(m_dir->path()), File("temp.raw"));
    QCOMPARE(second.PathIn(m_dir->path()), File("temp-2.raw"));
}

void TestRecordSlot::lockFollowsTheFolder()
{
    QTemporaryDir other;
    TRecordSlot slot;
    QCOMPARE(slot.PathIn(m_dir->path()), File("temp.raw"));
    QCOMPARE(slot.PathIn(other.path()), QDir(other.path()).filePath("temp.raw"));
    QVERIFY(!QFile::exists(File("temp.raw.lock")));
    QVERIFY(QFile::exists(QDir(other.path()).filePath("temp.raw.lock")));
    {
        TRecordSlot next;
        QCOMPARE(next.PathIn(m_dir->path()), File("temp.raw"));
    }
    QVERIFY(!QFile::exists(File("temp.raw.lock"))); // gone with its holder
}

void TestRecordSlot::foreignLock_data()
{
    QTest::addColumn<bool>("ownerRuns");
    QTest::addColumn<int>("ageS");
    QTest::addColumn<QString>("expected");
    // A crashed program left its lock: its process is gone, the file is free.
    QTest::newRow("owner gone, fresh lock") << false << 0 << "temp.raw";
    QTest::newRow("owner gone, old lock") << false << 3600 << "temp.raw";
    // A long measurement: its lock is old, but its program still records there.
    QTest::newRow("owner runs, fresh lock") << true << 0 << "temp-2.raw";
    QTest::newRow("owner runs, an hour old") << true << 3600 << "temp-2.raw";
}

void TestRecordSlot::foreignLock()
{
    QFETCH(bool, ownerRuns);
    QFETCH(int, ageS);
    QFETCH(QString, expected);
    QProcess owner;
    owner.start(QStringLiteral("sleep"), { QStringLiteral("30") });
    QVERIFY(owner.waitForStarted());
    const qint64 pid = owner.processId();
    if (!ownerRuns) {
        owner.kill();
        QVERIFY(owner.waitForFinished());
    }
    WriteLock(File("temp.raw.lock"), pid, QStringLiteral("sleep"), ageS);

    TRecordSlot slot;
    QCOMPARE(slot.PathIn(m_dir->path()), File(expected));
    QVERIFY(slot.Locked());
    if (ownerRuns) {
        owner.kill();
        QVERIFY(owner.waitForFinished());
    }
}

void TestRecordSlot::folderWithoutLocksFallsBackToTempRaw()
{
    // Opening the recording there then reports the failure, as with any unusable folder.
    const QString missing = File("brak");
    TRecordSlot slot;
    QCOMPARE(slot.PathIn(missing), QDir(missing).filePath("temp.raw"));
    QVERIFY(!slot.Locked());
    // Once the folder is there, the next recording takes its lock.
    QVERIFY(QDir().mkpath(missing));
    QCOMPARE(slot.PathIn(missing), QDir(missing).filePath("temp.raw"));
    QVERIFY(slot.Locked());
    QVERIFY(QFile::exists(QDir(missing).filePath("temp.raw.lock")));
}

QTEST_GUILESS_MAIN(TestRecordSlot)
#include "tst_recordslot.moc"
