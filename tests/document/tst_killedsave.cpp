// A save killed in the middle: orvi-cli imports a large document over an existing file and
// is killed (SIGKILL) while the new file is being written. The old file must stay intact,
// byte for byte; a child that finished first must have left the complete new file. Never a
// mix of the two.
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "controls/FileWriter.h"
#include "document/OvkFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr int SeriesCount = 60;
constexpr int PointsPerSeries = 15000;
constexpr qint64 NewFileBytes = 332 + qint64(SeriesCount) * (58 + 16 * PointsPerSeries);

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The document in the JSON that orvi-cli dump writes.
QByteArray LargeJson()
{
    QByteArray json("{\"title\": \"Duży\", \"info\": \"\", \"series\": [");
    json.reserve(qsizetype(SeriesCount) * PointsPerSeries * 24);
    for (int s = 0; s < SeriesCount; ++s) {
        json += s == 0 ? "\n" : ",\n";
        json += "{\"name\": \"Pomiar " + QByteArray::number(s + 1)
            + "\", \"color\": 255, "
              "\"points\": [";
        for (int i = 0; i < PointsPerSeries; ++i) {
            if (i > 0)
                json += ", ";
            json += '[' + QByteArray::number(i * 0.024, 'g', 17) + ", "
                + QByteArray::number(-0.001 * i - s, 'g', 17) + ']';
        }
        json += "]}";
    }
    json += "\n]}\n";
    return json;
}

// True while the process holds a file open in folder other than target itself: the new
// file being written beside the target.
bool WritesInFolder(qint64 pid, const QString &folder, const QString &target)
{
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    const QStringList entries
        = QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &fd : entries) {
        // The link as the kernel gives it: a file made without a name reads "<folder>/#<inode>
        // (deleted)".
        char buffer[4096];
        const ssize_t n
            = ::readlink(QFile::encodeName(fds + u'/' + fd).constData(), buffer, sizeof buffer);
        if (n <= 0)
            continue;
        const QString link = QFile::decodeName(QByteArray(buffer, int(n)));
        if (link.startsWith(folder + u'/') && link != target)
            return true;
    }
    return false;
}

} // namespace

class TestKilledSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedSaveLeavesOldOrNewFile();

private:
    QTemporaryDir m_dir;
    QString m_json;
};

void TestKilledSave::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("in")));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("out")));
    m_json = m_dir.filePath(QStringLiteral("in/large.json"));
    QFile f(m_json);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.write(LargeJson()) > 0);
}

void TestKilledSave::killedSaveLeavesOldOrNewFile()
{
    const QString folder = QFileInfo(m_dir.filePath(QStringLiteral("out"))).canonicalFilePath();
    const QString target = folder + QStringLiteral("/wykres.OvK");
    {
        TPolarGraph graph;
        TSeries *s = graph.GetSeries(0);
        for (int i = 0; i < 36; ++i)
            s->Add(i * 10.0, -1.0);
        TOvkFile file(&graph, target);
        file.Save();
    }
    const QByteArray old = ReadAll(target);
    QVERIFY(!old.isEmpty());

    // The kill lands at a random point of the write; a few tries make sure that several of
    // them land inside it.
    int killedWhileWriting = 0;
    for (int attempt = 0; attempt < 12 && killedWhileWriting < 3; ++attempt) {
        QProcess child;
        child.start(QStringLiteral(ORVI_CLI_PATH), { QStringLiteral("import"), m_json, target });
        QVERIFY(child.waitForStarted());
        const qint64 pid = child.processId();
        bool killed = false;
        QDeadlineTimer deadline(60000);
        // waitForFinished(0) looks once without waiting; state() alone is not updated here.
        while (!killed && !deadline.hasExpired() && !child.waitForFinished(0)) {
            if (WritesInFolder(pid, folder, target)) {
                ::kill(pid_t(pid), SIGKILL);
                killed = true;
            } else {
                QThread::usleep(200);
            }
        }
        if (child.state() != QProcess::NotRunning)
            QVERIFY(child.waitForFinished(60000));

        const QByteArray now = ReadAll(target);
        if (killed && child.exitStatus() == QProcess::CrashExit) {
            ++killedWhileWriting;
            QCOMPARE(now, old);
            continue;
        }
        // The child finished before the kill: the new file must be there, whole. The old one
        // goes back for the next try.
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(qint64(now.size()), NewFileBytes);
        QVERIFY(TFileWriter::WriteFile(target, old));
    }
    QVERIFY2(killedWhileWriting > 0, "no kill landed while the new file was written");

    // Left alone, the same save replaces the old file with the complete new one.
    QCOMPARE(QProcess::execute(QStringLiteral(ORVI_CLI_PATH),
                               { QStringLiteral("import"), m_json, target }),
             0);
    QCOMPARE(QFileInfo(target).size(), NewFileBytes);
    TPolarGraph loaded;
    TOvkFile file(&loaded, target);
    file.Load();
    QCOMPARE(loaded.SeriesCount(), SeriesCount);
    QCOMPARE(loaded.SeriesList().last()->Count(), PointsPerSeries);
}

QTEST_GUILESS_MAIN(TestKilledSave)
#include "tst_killedsave.moc"
