// orvi-cli's outputs checked before anything runs: an output that would replace an input (or
// an input's marker log or measurement folder) is refused, an output that cannot be written
// leaves nothing behind (no document, no kept recording), and options the analysis cannot
// work with are refused. Run as the built executable, with its home in the test's folder.

#include "chart/PolarGraph.h"
#include "controls/FileWriter.h"
#include "document/OvkFile.h"
#include "helpers/IsolatedCli.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCliOutputs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void outputReplacingAnInputIsRefused_data();
    void outputReplacingAnInputIsRefused();
    void unwritableOutputWritesNothing_data();
    void unwritableOutputWritesNothing();
    void unworkableOptionsAreRefused_data();
    void unworkableOptionsAreRefused();

private:
    TRun Cli(const QStringList &args) const;
    // Every name in the working folder's kept recordings.
    QStringList KeptRecordings() const;
    // A command line with the fixtures' names put in: REC the kept recording, LOG its marker
    // log, BASE the measured document, LINK a link to BASE.
    QStringList Expanded(const QStringList &args) const;

    QTemporaryDir m_dir;
    QString m_recording;
    QMap<QString, QByteArray> m_fixtures; // path: bytes, put back before every case
};

TRun TestCliOutputs::Cli(const QStringList &args) const
{
    return RunIsolatedCli(args, m_dir.path());
}

QStringList TestCliOutputs::KeptRecordings() const
{
    return QDir(m_dir.filePath(QStringLiteral("home/Orvi/Pomiary"))).entryList(QDir::Files);
}

QStringList TestCliOutputs::Expanded(const QStringList &args) const
{
    QStringList out;
    for (const QString &a : args) {
        if (a == QLatin1String("REC"))
            out << m_recording;
        else if (a == QLatin1String("LOG"))
            out << m_recording.chopped(4) + QStringLiteral(".markers.txt");
        else if (a == QLatin1String("BASE") || a == QLatin1String("LINK"))
            out << m_dir.filePath(a == QLatin1String("BASE") ? "base.OvK" : "link.pdf");
        else
            out << a;
    }
    return out;
}

void TestCliOutputs::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const TRun run = Cli({ "measure", "--simulate", "--range", "-90", "90", "--signal", "MLS",
                           "--play-buffer", "16384", "--reflection-ms", "3", "--reflection-db",
                           "-6", "--bands", "2000", "base.OvK" });
    QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
    m_recording = run.Out.section(QStringLiteral("recording kept: "), 1).section(u'\n', 0, 0);
    QVERIFY(QFile::exists(m_recording));
    QVERIFY(QFile::link(m_dir.filePath("base.OvK"), m_dir.filePath("link.pdf")));
    QVERIFY(TFileWriter::WriteFile(m_dir.filePath("in.json"), "{\"series\": []}"));
    QVERIFY(QDir(m_dir.path()).mkpath("folder.png"));
    for (const QString &path : Expanded({ "REC", "LOG", "BASE", m_dir.filePath("in.json") }))
        m_fixtures.insert(path, Bytes(path));
}

void TestCliOutputs::init()
{
    // A case that fails may have replaced an input; the next one starts from the originals.
    for (auto f = m_fixtures.cbegin(); f != m_fixtures.cend(); ++f)
        if (Bytes(f.key()) != f.value())
            QVERIFY(TFileWriter::WriteFile(f.key(), f.value()));
    for (const char *name : { "out.OvK", "new.OvK", "other.OvK", "o.OvK" })
        QFile::remove(m_dir.filePath(name));
    for (const char *name : { "out.pomiary", "missing" }) {
        QDir(m_dir.filePath(name)).removeRecursively();
        QFile::remove(m_dir.filePath(name));
    }
}

void TestCliOutputs::outputReplacingAnInputIsRefused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("kept"); // the input that must stay as it was
    QTest::newRow("analyse rec.wav rec.wav") << QStringList { "analyse", "REC", "REC" } << "REC";
    QTest::newRow("analyse rec.wav rec.markers.txt")
        << QStringList { "analyse", "REC", "LOG" } << "LOG";
    QTest::newRow("analyse --into base onto base's folder")
        << QStringList { "analyse", "REC", "--into", "BASE", "base.pomiary" } << "BASE";
    QTest::newRow("print base.OvK base.OvK") << QStringList { "print", "BASE", "BASE" } << "BASE";
    QTest::newRow("print through a link") << QStringList { "print", "LINK", "BASE" } << "BASE";
    QTest::newRow("export onto its input") << QStringList { "export", "BASE", "LINK" } << "BASE";
    QTest::newRow("import onto its input")
        << QStringList { "import", "in.json", "in.json" } << "in.json";
    QTest::newRow("measure --into base, --frd into base's folder")
        << QStringList { "measure", "--simulate", "--range",      "0",        "30",
                         "--into",  "BASE",       "--signal",     "MLS",      "--bands",
                         "2000",    "--frd",      "base.pomiary", "other.OvK" }
        << "BASE";
    // Replacing a document by its own update is one atomic replace: allowed.
    QTest::newRow("measure --into X X")
        << QStringList { "measure", "--simulate", "--range",    "0",
                         "30",      "--into",     "update.OvK", "update.OvK" }
        << QString();
}

void TestCliOutputs::outputReplacingAnInputIsRefused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, kept);
    if (kept.isEmpty()) {
        QFile::remove(m_dir.filePath("update.OvK"));
        QVERIFY(QFile::copy(m_dir.filePath("base.OvK"), m_dir.filePath("update.OvK")));
        const TRun run = Cli(Expanded(args));
        QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
        TPolarGraph chart;
        QVERIFY(TOvkFile(&chart, m_dir.filePath("update.OvK")).Load());
        QCOMPARE(chart.SeriesCount(), 3); // base's level and band series, then the new one
        return;
    }
    const QString keptPath = Expanded({ kept }).first();
    const QString path = QFileInfo(keptPath).isAbsolute() ? keptPath : m_dir.filePath(keptPath);
    const QByteArray before = Bytes(path);
    QVERIFY(!before.isEmpty());
    const QStringList recordings = KeptRecordings();

    const TRun run = Cli(Expanded(args));
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Err.size(), 1);
    QVERIFY2(run.Err.first().startsWith("orvi-cli " + args.first() + ": "),
             qPrintable(run.Err.first()));
    QVERIFY2(run.Err.first().contains("would replace"), qPrintable(run.Err.first()));
    QCOMPARE(Bytes(path), before);
    QVERIFY(!QFile::exists(m_dir.filePath("new.OvK")));
    QVERIFY(!QFile::exists(m_dir.filePath("other.OvK")));
    QCOMPARE(KeptRecordings(), recordings); // refused before the run
}

void TestCliOutputs::unwritableOutputWritesNothing_data()
{
    QTest::addColumn<QStringList>("args"); // the output document is out.OvK
    QTest::addColumn<QString>("occupied"); // made a file before the run, when given
    const QStringList measure { "measure", "--simulate",    "--range", "-30",     "30",  "--signal",
                                "MLS",     "--play-buffer", "16384",   "--bands", "2000" };
    QTest::newRow("measure, --map in a missing folder")
        << measure + QStringList { "--map", "missing/map.png", "out.OvK" } << QString();
    QTest::newRow("measure, --map a folder")
        << measure + QStringList { "--map", "folder.png", "out.OvK" } << QString();
    QTest::newRow("measure, measurement folder is a file")
        << measure + QStringList { "out.OvK" } << "out.pomiary";
    QTest::newRow("analyse, --map in a missing folder")
        << QStringList { "analyse", "REC", "--map", "missing/map.svg", "out.OvK" } << QString();
    QTest::newRow("analyse, measurement folder is a file")
        << QStringList { "analyse", "REC", "out.OvK" } << "out.pomiary";
    QTest::newRow("analyse, document in a missing folder")
        << QStringList { "analyse", "REC", "missing/out.OvK" } << QString();
}

void TestCliOutputs::unwritableOutputWritesNothing()
{
    QFETCH(QStringList, args);
    QFETCH(QString, occupied);
    if (!occupied.isEmpty())
        QVERIFY(TFileWriter::WriteFile(m_dir.filePath(occupied), "where the folder goes"));
    const QStringList recordings = KeptRecordings();

    const TRun run = Cli(Expanded(args));
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Err.size(), 1);
    QVERIFY2(run.Err.first().startsWith("orvi-cli " + args.first() + ": "),
             qPrintable(run.Err.first()));
    QVERIFY(!QFile::exists(m_dir.filePath("out.OvK")));
    QVERIFY(!QFileInfo(m_dir.filePath("out.pomiary")).isDir());
    QVERIFY(!QFile::exists(m_dir.filePath("missing")));
    QCOMPARE(KeptRecordings(), recordings);
}

void TestCliOutputs::unworkableOptionsAreRefused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message"); // a part of the one error line; empty: accepted
    const QStringList measure { "measure", "--simulate", "--range", "-30", "30" };
    const QString block = QStringLiteral("--block needs a whole number of bytes from 512");
    const QString play = QStringLiteral("the largest play buffer that works is 32768 bytes");
    QTest::newRow("measure --block 2")
        << measure + QStringList { "--block", "2", "o.OvK" } << block;
    QTest::newRow("measure --block 4")
        << measure + QStringList { "--block", "4", "o.OvK" } << block;
    QTest::newRow("measure --block 510")
        << measure + QStringList { "--block", "510", "o.OvK" } << block;
    QTest::newRow("analyse --block 3")
        << QStringList { "analyse", "REC", "--block", "3", "o.OvK" } << block;
    QTest::newRow("measure MLS --play-buffer 4194304")
        << measure + QStringList { "--signal", "MLS",  "--play-buffer", "4194304",
                                   "--bands",  "1000", "o.OvK" }
        << play;
    QTest::newRow("measure MLS --play-buffer 65536")
        << measure + QStringList { "--signal", "MLS",  "--play-buffer", "65536",
                                   "--bands",  "1000", "o.OvK" }
        << play;
    QTest::newRow("analyse --play-buffer 65536")
        << QStringList { "analyse", "REC", "--play-buffer", "65536", "o.OvK" } << play;
    QTest::newRow("measure --into a missing document")
        << measure + QStringList { "--into", "missing.OvK", "o.OvK" }
        << QStringLiteral("orvi-cli measure: Nie można otworzyć pliku „missing.OvK”: plik nie "
                          "istnieje.");
    QTest::newRow("levels --block 4")
        << QStringList { "levels", "REC", "--block", "4" } << QString();
}

void TestCliOutputs::unworkableOptionsAreRefused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const QStringList recordings = KeptRecordings();
    const TRun run = Cli(Expanded(args));
    if (message.isEmpty()) {
        QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
        return;
    }
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Err.size(), 1);
    QVERIFY2(run.Err.first().startsWith("orvi-cli " + args.first() + ": "),
             qPrintable(run.Err.first()));
    QVERIFY2(run.Err.first().contains(message), qPrintable(run.Err.first()));
    QVERIFY(!QFile::exists(m_dir.filePath("o.OvK")));
    QCOMPARE(KeptRecordings(), recordings); // refused before the run
}

QTEST_GUILESS_MAIN(TestCliOutputs)
#include "tst_clioutputs.moc"
