// The measurements kept beside a document: written and read back as they were, copied along
// to another folder, never lost on a failed write, and a damaged folder read without harm.

#include "analysis/MeasurementFolder.h"
#include "analysis/WavFile.h"
#include "document/helpers/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TestMeasurementFolder : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TMeasurementFolder::RefuseHardLinksForTesting(false); }
    void writeAndReadBack();
    void saveAsElsewhereCopiesAlong();
    void failedWriteKeepsTheOldFolder();
    void oneRecordingAnalysedTwiceKeepsBothLogs();
    void damagedFolderReadsWithProblems_data();
    void damagedFolderReadsWithProblems();

private:
    // A recording of `count` samples with its log in dir; the measurement that refers to it.
    TKeptMeasurement Recording(const QString &name, int count, qint16 seed = 1)
    {
        std::vector<qint16> samples(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            samples[size_t(i)] = qint16((i * 7919 + seed * 131) % 65536 - 32768);
        TKeptMeasurement m;
        m.Recording = m_sources.filePath(name + QStringLiteral(".wav"));
        m.Log.Signal = TSignalType::MLS;
        m.Log.SampleRate = 22050;
        m.Log.LeadMs = 12.25;
        m.Log.RecordedSamples = count;
        m.Log.MarkerSamples = { 100.5, 2000.125 };
        m.Options.BandsHz = { 500, 1250.5, 8000 };
        m.Options.Smoothing = 6;
        m.Options.GateMs = 4.5;
        m.Name = name;
        m.SeriesNames = { name, name + QStringLiteral(" 500 Hz") };
        const bool written = TWavFile::Write(m.Recording, samples.data(), count, 22050);
        [&] {
            QVERIFY(written);
        }();
        return m;
    }
    static QByteArray Bytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void CompareMeasurement(const TKeptMeasurement &read, const TKeptMeasurement &was)
    {
        QCOMPARE(read.Name, was.Name);
        QCOMPARE(read.SeriesNames, was.SeriesNames);
        QCOMPARE(read.Plane, QStringLiteral("hor"));
        QCOMPARE(read.Options.BandsHz, was.Options.BandsHz);
        QCOMPARE(read.Options.Smoothing, was.Options.Smoothing);
        QCOMPARE(read.Options.GateMs, was.Options.GateMs);
        QCOMPARE(read.Log.ToText(), was.Log.ToText());
        QCOMPARE(Bytes(read.Recording), Bytes(was.Recording));
    }

    QTemporaryDir m_dir;
    QDir m_sources { m_dir.path() };
};

void TestMeasurementFolder::writeAndReadBack()
{
    const std::vector<TKeptMeasurement> kept = { Recording(QStringLiteral("Pomiar 1"), 3000),
                                                 Recording(QStringLiteral("Pomiar 2"), 500, 7) };
    const QString document = m_sources.filePath(QStringLiteral("b.OvK"));
    QString error;
    const auto placed = TMeasurementFolder::Write(document, kept, &error);
    QVERIFY2(placed, qPrintable(error));
    const QDir folder(TMeasurementFolder::FolderFor(document));
    QCOMPARE(folder.entryList(QDir::Files, QDir::Name),
             QStringList({ "Pomiar 1.markers.txt", "Pomiar 1.wav", "Pomiar 2.markers.txt",
                           "Pomiar 2.wav", "pomiary.json" }));
    // A hard link on one file system: the kept recording and the copy are one file.
    struct stat source
    {
    };
    struct stat copy
    {
    };
    QCOMPARE(stat(QFile::encodeName(kept[0].Recording).constData(), &source), 0);
    QCOMPARE(stat(QFile::encodeName(placed->at(0).Recording).constData(), &copy), 0);
    QCOMPARE(copy.st_ino, source.st_ino);
    // Two other documents in the same folder have folders of their own.
    QVERIFY(!QFileInfo::exists(m_sources.filePath(QStringLiteral("c.pomiary"))));

    const TMeasurementFolder::TContents contents = TMeasurementFolder::Read(document);
    QVERIFY(contents.Exists);
    QCOMPARE(contents.Problems, QStringList());
    QCOMPARE(contents.Measurements.size(), size_t(2));
    for (size_t i = 0; i < kept.size(); ++i) {
        CompareMeasurement(contents.Measurements[i], kept[i]);
        QCOMPARE(QFileInfo(contents.Measurements[i].Recording).absolutePath(), folder.path());
    }

    // Saving again (the recordings already lie beside it) adds nothing.
    const QByteArray index = Bytes(folder.filePath(QStringLiteral("pomiary.json")));
    QVERIFY(TMeasurementFolder::Write(document, contents.Measurements, &error));
    QCOMPARE(folder.entryList(QDir::Files).size(), 5);
    QCOMPARE(Bytes(folder.filePath(QStringLiteral("pomiary.json"))), index);
}

void TestMeasurementFolder::saveAsElsewhereCopiesAlong()
{
    TMeasurementFolder::RefuseHardLinksForTesting(true); // as onto another disk
    const TKeptMeasurement first = Recording(QStringLiteral("Pomiar 1"), 2000);
    const QString a = m_sources.filePath(QStringLiteral("a.OvK"));
    const auto inA = TMeasurementFolder::Write(a, { first }, nullptr);
    QVERIFY(inA);
    // Another recording of the same name waits in the target folder already.
    QVERIFY(QDir().mkpath(m_sources.filePath(QStringLiteral("x/b.pomiary"))));
    QVERIFY(QFile::copy(Recording(QStringLiteral("other"), 100).Recording,
                        m_sources.filePath(QStringLiteral("x/b.pomiary/Pomiar 1.wav"))));
    const QString b = m_sources.filePath(QStringLiteral("x/b.OvK"));
    QString error;
    const auto inB = TMeasurementFolder::Write(b, *inA, &error);
    QVERIFY2(inB, qPrintable(error));
    QCOMPARE(QFileInfo(inB->at(0).Recording).fileName(), QStringLiteral("Pomiar 1 (2).wav"));
    const TMeasurementFolder::TContents contents = TMeasurementFolder::Read(b);
    QCOMPARE(contents.Measurements.size(), size_t(1));
    CompareMeasurement(contents.Measurements[0], first);
    // The folder moves with the document: the index names files, not paths.
    QVERIFY(QDir().rename(m_sources.filePath(QStringLiteral("x")),
                          m_sources.filePath(QStringLiteral("y"))));
    const auto moved = TMeasurementFolder::Read(m_sources.filePath(QStringLiteral("y/b.OvK")));
    QCOMPARE(moved.Measurements.size(), size_t(1));
    CompareMeasurement(moved.Measurements[0], first);
}

void TestMeasurementFolder::failedWriteKeepsTheOldFolder()
{
    TMeasurementFolder::RefuseHardLinksForTesting(true);
    const TKeptMeasurement small = Recording(QStringLiteral("Pomiar 1"), 1000);
    const TKeptMeasurement copied = Recording(QStringLiteral("Pomiar 2"), 1000, 2);
    const TKeptMeasurement large = Recording(QStringLiteral("Pomiar 3"), 100000, 3);
    const QString document = m_sources.filePath(QStringLiteral("full.OvK"));
    const auto first = TMeasurementFolder::Write(document, { small }, nullptr);
    QVERIFY(first);
    const QDir folder(TMeasurementFolder::FolderFor(document));
    const QStringList before = folder.entryList(QDir::Files, QDir::Name);
    const QByteArray index = Bytes(folder.filePath(QStringLiteral("pomiary.json")));

    QString error;
    {
        const TFileSizeLimit limit(50000); // the 200 kB copy does not fit
        QVERIFY(limit.Ok());
        // Pomiar 2 is copied, then Pomiar 3 fails: neither is left behind.
        QVERIFY(!TMeasurementFolder::Write(document, { first->at(0), copied, large }, &error));
    }
    QVERIFY2(error.contains(QStringLiteral("Pomiar 3")), qPrintable(error));
    QCOMPARE(folder.entryList(QDir::Files, QDir::Name), before);
    QCOMPARE(Bytes(folder.filePath(QStringLiteral("pomiary.json"))), index);
    QCOMPARE(TMeasurementFolder::Read(document).Measurements.size(), size_t(1));
}

void TestMeasurementFolder::oneRecordingAnalysedTwiceKeepsBothLogs()
{
    const TKeptMeasurement whole = Recording(QStringLiteral("Pomiar 1"), 1000);
    TKeptMeasurement half = whole;
    half.Log.StartDeg = -90;
    half.Log.StopDeg = 90;
    half.Name = QStringLiteral("Pomiar 2");
    const QString document = m_sources.filePath(QStringLiteral("twice.OvK"));
    const auto placed = TMeasurementFolder::Write(document, { whole, half }, nullptr);
    QVERIFY(placed);
    // Saved again from the folder itself: still two logs, each entry with its own.
    QVERIFY(TMeasurementFolder::Write(document, *placed, nullptr));
    const QDir folder(TMeasurementFolder::FolderFor(document));
    QCOMPARE(folder.entryList(QDir::Files, QDir::Name),
             QStringList({ "Pomiar 1.markers-2.txt", "Pomiar 1.markers.txt", "Pomiar 1.wav",
                           "pomiary.json" }));
    const TMeasurementFolder::TContents contents = TMeasurementFolder::Read(document);
    QCOMPARE(contents.Measurements.size(), size_t(2));
    CompareMeasurement(contents.Measurements[0], whole);
    CompareMeasurement(contents.Measurements[1], half);
}

void TestMeasurementFolder::damagedFolderReadsWithProblems_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("problem");
    QTest::newRow("no folder") << "no folder" << false << 0 << "";
    QTest::newRow("no index") << "no index" << true << 0 << "Brak spisu";
    QTest::newRow("not JSON") << "not JSON" << true << 0 << "uszkodzony";
    QTest::newRow("newer format") << "format 2" << true << 0 << "nowsza wersja";
    QTest::newRow("recording missing") << "recording missing" << true << 1 << "Pomiar 2.wav";
    QTest::newRow("log missing") << "log missing" << true << 1 << "Pomiar 2.markers.txt";
    QTest::newRow("log damaged") << "log damaged" << true << 1 << "Pomiar 2.markers.txt";
    QTest::newRow("path outside") << "path outside" << true << 1 << "nr 2";
    QTest::newRow("bad bands") << "bad bands" << true << 1 << "nr 2";
    QTest::newRow("log outside") << "log outside" << true << 1 << "nr 2";
}

void TestMeasurementFolder::damagedFolderReadsWithProblems()
{
    QFETCH(QString, damage);
    QFETCH(bool, exists);
    QFETCH(int, found);
    QFETCH(QString, problem);
    const QString document = m_sources.filePath(damage + QStringLiteral(".OvK"));
    QVERIFY(TMeasurementFolder::Write(document,
                                      { Recording(QStringLiteral("Pomiar 1"), 800),
                                        Recording(QStringLiteral("Pomiar 2"), 800, 5) },
                                      nullptr));
    QDir folder(TMeasurementFolder::FolderFor(document));
    const QString indexPath = folder.filePath(QStringLiteral("pomiary.json"));
    QJsonObject index = QJsonDocument::fromJson(Bytes(indexPath)).object();
    QJsonArray entries = index.value("measurements").toArray();
    QJsonObject second = entries.at(1).toObject();
    const auto rewrite = [&](const QByteArray &bytes) {
        QFile file(indexPath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    };
    if (damage == "no folder") {
        QVERIFY(folder.removeRecursively());
    } else if (damage == "no index") {
        QVERIFY(QFile::remove(indexPath));
    } else if (damage == "not JSON") {
        rewrite("{\"format\": 1, \"measurements\": [");
    } else if (damage == "format 2") {
        index["format"] = 2;
        rewrite(QJsonDocument(index).toJson());
    } else if (damage == "recording missing") {
        QVERIFY(folder.remove(QStringLiteral("Pomiar 2.wav")));
    } else if (damage == "log missing") {
        QVERIFY(folder.remove(QStringLiteral("Pomiar 2.markers.txt")));
    } else if (damage == "log damaged") {
        QFile log(folder.filePath(QStringLiteral("Pomiar 2.markers.txt")));
        QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Truncate));
        log.write("signal = Nonsense\n");
    } else if (damage.endsWith("outside") || damage == "bad bands") {
        if (damage == "path outside")
            second["recording"] = QStringLiteral("../Pomiar 2.wav");
        else if (damage == "log outside")
            second["markers"] = QStringLiteral("/etc/passwd");
        else
            second["bands"] = QJsonArray { 2000, 1000 };
        entries[1] = second;
        index["measurements"] = entries;
        rewrite(QJsonDocument(index).toJson());
    }
    const QStringList filesBefore = folder.entryList(QDir::Files, QDir::Name);
    const TMeasurementFolder::TContents contents = TMeasurementFolder::Read(document);
    QCOMPARE(contents.Exists, exists);
    QCOMPARE(int(contents.Measurements.size()), found);
    if (problem.isEmpty()) {
        QCOMPARE(contents.Problems, QStringList());
    } else {
        QCOMPARE(contents.Problems.size(), 1);
        QVERIFY2(contents.Problems.front().contains(problem),
                 qPrintable(contents.Problems.front()));
    }
    // Reading writes nothing.
    QCOMPARE(folder.entryList(QDir::Files, QDir::Name), filesBefore);
}

QTEST_GUILESS_MAIN(TestMeasurementFolder)
#include "tst_measurementfolder.moc"
