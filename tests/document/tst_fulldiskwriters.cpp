// Every file orvi-cli writes, under a file-size limit in a child process (write() then fails
// with EFBIG, as it fails with ENOSPC on a full disk): exit 1 with one line that gives the
// system's reason, an existing output stays byte-identical, a new one is not created, and
// no temporary file is left beside it. Outputs below and above 16 KiB, because Qt's save
// file buffers 16 KiB and a small file used to fail only at the final flush.

#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/OvkFile.h"
#include "helpers/FileSizeLimit.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TRun
{
    int Status = -1;
    QByteArray Err;
};

TRun RunCli(const QStringList &args, rlim_t limit)
{
    QProcess p;
    LimitChildFileSize(p, limit);
    p.start(QStringLiteral(ORVI_CLI_PATH), args);
    if (!p.waitForFinished(120000))
        p.kill();
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError() };
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteDocument(const QString &path, int points, int seriesCount)
{
    TPolarGraph graph;
    for (int n = 0; n < seriesCount; ++n) {
        TSeries *s = graph.GetSeries(n);
        s->Name = QStringLiteral("Pomiar %1").arg(n + 1);
        for (int i = 0; i < points; ++i)
            s->Add(i * 360.0 / points,
                   -n - 20.0 * (1.0 - std::cos(i * 6.283185307179586 / points)) / 2);
    }
    TOvkFile file(&graph, path);
    file.SetTitle(QStringLiteral("Wykres"));
    file.Save();
}

} // namespace

class TestFullDiskWriters : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void failedWriteChangesNothing_data();
    void failedWriteChangesNothing();

private:
    QTemporaryDir m_dir;
    QString m_recording;
};

void TestFullDiskWriters::initTestCase()
{
    QVERIFY(m_dir.isValid());
    WriteDocument(m_dir.filePath("small.OvK"), 400, 1); // 6.8 KB
    WriteDocument(m_dir.filePath("large.OvK"), 6000, 3); // 288 KB
    // The JSON that import reads, from the same documents.
    for (const char *name : { "small", "large" }) {
        QProcess dump;
        dump.start(QStringLiteral(ORVI_CLI_PATH),
                   { "dump", m_dir.filePath(QStringLiteral("%1.OvK").arg(name)) });
        QVERIFY(dump.waitForFinished(60000));
        QFile json(m_dir.filePath(QStringLiteral("%1.json").arg(name)));
        QVERIFY(json.open(QIODevice::WriteOnly));
        json.write(dump.readAllStandardOutput());
    }
    // A kept recording of a short broadband measurement, for the map that analyse draws.
    QProcess measure;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.path()); // working folder m_dir/Orvi
    measure.setProcessEnvironment(env);
    measure.start(QStringLiteral(ORVI_CLI_PATH),
                  { "measure", "--simulate", "--range", "-20", "20", "--signal", "MLS",
                    "--play-buffer", "16384", "--bands", "1000", m_dir.filePath("bands.OvK") });
    QVERIFY(measure.waitForFinished(60000));
    QCOMPARE(measure.exitCode(), 0);
    const QDir kept(m_dir.filePath("Orvi/Pomiary"));
    const QStringList wav = kept.entryList({ QStringLiteral("*.wav") });
    QCOMPARE(wav.size(), 1);
    m_recording = kept.filePath(wav.front());
}

void TestFullDiskWriters::failedWriteChangesNothing_data()
{
    QTest::addColumn<QStringList>("args"); // "OUT" stands for the output file
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("large"); // the output is above 16 KiB

    const QString small = m_dir.filePath("small.OvK");
    const QString large = m_dir.filePath("large.OvK");
    QTest::newRow("import small") << QStringList { "import", m_dir.filePath("small.json"), "OUT" }
                                  << ".OvK" << false;
    QTest::newRow("import large") << QStringList { "import", m_dir.filePath("large.json"), "OUT" }
                                  << ".OvK" << true;
    for (const char *format : { "emf", "wmf", "svg", "pdf", "png" }) {
        QTest::addRow("export %s small", format)
            << QStringList { "export", small, "OUT", "--width", "200", "--height", "150" }
            << QStringLiteral(".%1").arg(format) << false;
        QTest::addRow("export %s large", format)
            << QStringList { "export", large, "OUT" } << QStringLiteral(".%1").arg(format) << true;
    }
    QTest::newRow("print large") << QStringList { "print", "OUT", large, small } << ".pdf" << true;
    const QStringList generate = { "generate", "--signal", "Sinus",  "--freq", "1000",
                                   "--amp",    "50",       "--rate", "44100",  "--block" };
    QTest::newRow("generate small")
        << generate + QStringList { "1024", "--blocks", "4", "OUT" } << ".wav" << false;
    QTest::newRow("generate large")
        << generate + QStringList { "4096", "--blocks", "8", "OUT" } << ".raw" << true;
    for (const char *format : { "png", "svg", "pdf" })
        QTest::addRow("analyse map %s", format)
            << QStringList { "analyse",   m_recording, "--bands",
                             "1000,4000", "--gate-ms", "3",
                             "--map",     "OUT",       m_dir.filePath("analysed.OvK") }
            << QStringLiteral(".%1").arg(format) << true;
    QTest::newRow("record small") << QStringList { "record", "--simulate", "--seconds", "0.2",
                                                   "--rate", "11025",      "OUT" }
                                  << ".raw" << false;
    QTest::newRow("record large") << QStringList { "record", "--simulate", "--seconds", "1",
                                                   "--rate", "22050",      "OUT" }
                                  << ".raw" << true;
}

void TestFullDiskWriters::failedWriteChangesNothing()
{
    QFETCH(QStringList, args);
    QFETCH(QString, suffix);
    QFETCH(bool, large);

    QTemporaryDir out;
    const auto withOutput = [&](const QString &path) {
        QStringList a = args;
        a.replace(a.indexOf(QStringLiteral("OUT")), path);
        return a;
    };
    // Without a limit, to learn the output's size.
    const QString reference = out.filePath("reference" + suffix);
    const TRun free = RunCli(withOutput(reference), 0);
    QVERIFY2(free.Status == 0, free.Err.constData());
    const qint64 size = QFileInfo(reference).size();
    QVERIFY2(large ? size > 16384 : (size > 1024 && size < 16384),
             qPrintable(QString::number(size)));
    QVERIFY(QFile::remove(reference));

    const rlim_t limit = rlim_t(size / 2);
    const QString existing = out.filePath("existing" + suffix);
    const QByteArray old = QByteArray("old contents ").repeated(50);
    {
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    const QString fresh = out.filePath("fresh" + suffix);
    for (const QString &target : { existing, fresh }) {
        const TRun run = RunCli(withOutput(target), limit);
        QCOMPARE(run.Status, 1);
        QCOMPARE(run.Err.count('\n'), 1);
        QVERIFY2(run.Err.contains("File too large"), run.Err.constData());
    }
    QCOMPARE(ReadAll(existing), old);
    QVERIFY(!QFileInfo::exists(fresh));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList { "existing" + suffix });
}

QTEST_MAIN(TestFullDiskWriters)
#include "tst_fulldiskwriters.moc"
