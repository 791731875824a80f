// orvi-cli info, dump and import, run as the built executable.
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/OvkFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstring>

namespace {

struct TRun
{
    int Status = -1;
    QByteArray Out;
    QByteArray Err;
};

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// A JSON number that reads back to the same double (17 significant digits always do).
QByteArray Number(double v)
{
    return QByteArray::number(v, 'g', 17);
}

} // namespace

class TestCliDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void importDumpRoundTrip();
    void negativeZeroAndInfinitiesSurvive();
    void infoLists();
    void errors_data();
    void errors();
    void failedImportKeepsExistingOutput();

private:
    TRun Cli(const QStringList &args) const;
    QString FilePath(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    QTemporaryDir m_runtime;
};

void TestCliDocument::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_runtime.isValid());
    QVERIFY(QFileInfo(QStringLiteral(ORVI_CLI_PATH)).isExecutable());
}

TRun TestCliDocument::Cli(const QStringList &args) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", m_runtime.path()); // keeps Qt's start-up notes off stderr
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ORVI_CLI_PATH), args);
    TRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.Status = process.exitCode();
    run.Out = process.readAllStandardOutput();
    run.Err = process.readAllStandardError();
    return run;
}

void TestCliDocument::importDumpRoundTrip()
{
    // Random doubles of every magnitude, Polish texts, an empty series, a system colour.
    QRandomGenerator random(20261207);
    QByteArray json = "{\"title\": \"Kolumna \\\"A\\\" ąę\", \"info\": \"Nieznany\", "
                      "\"date\": 1, \"series\": [";
    std::vector<std::vector<TPolarSample>> expected(3);
    for (int s = 0; s < 3; ++s) {
        json += s ? ", " : "";
        json += "{\"number\": " + QByteArray::number(7 * s + 3) + ", \"name\": \"Pomiar "
            + QByteArray::number(s + 1) + " ł\", \"color\": "
            + QByteArray::number(s == 2 ? 0x80000005u : 0x000080u * (s + 1)) + ", \"points\": [";
        const int count = s == 1 ? 0 : 200;
        for (int i = 0; i < count; ++i) {
            quint64 bits;
            do
                bits = random.generate64();
            while (!std::isfinite(std::bit_cast<double>(bits)));
            const TPolarSample p { random.bounded(360.0) - 180.0, std::bit_cast<double>(bits) };
            expected[size_t(s)].push_back(p);
            json += (i ? ", [" : "[") + Number(p.Angle) + ", " + Number(p.Level) + "]";
        }
        json += "]}";
    }
    json += "]}";
    WriteBytes(FilePath("in.json"), json);

    const TRun imported = Cli({ "import", FilePath("in.json"), FilePath("a.OvK") });
    QCOMPARE(imported.Status, 0);
    QVERIFY(imported.Err.isEmpty());

    TPolarGraph graph;
    TOvkFile file(&graph, FilePath("a.OvK"));
    QVERIFY(file.Load());
    QCOMPARE(file.Title, QStringLiteral("Kolumna \"A\" ąę"));
    QCOMPARE(file.Info, QStringLiteral("Nieznany"));
    QCOMPARE(graph.SeriesCount(), 3);
    QVERIFY(file.Date > 46000); // now, not the 1 of the input
    for (int s = 0; s < 3; ++s) {
        const TSeries *series = graph.GetSeries(s);
        QCOMPARE(series->Name, QStringLiteral("Pomiar %1 ł").arg(s + 1));
        QCOMPARE(series->Count(), int(expected[size_t(s)].size()));
        if (series->Count() > 0)
            QCOMPARE(std::memcmp(series->Points().data(), expected[size_t(s)].data(),
                                 expected[size_t(s)].size() * sizeof(TPolarSample)),
                     0);
    }
    QCOMPARE(graph.GetSeries(2)->Color(), quint32(0x80000005));

    // dump, then import the dump: the second file holds the same bytes after its date.
    const TRun dumped = Cli({ "dump", FilePath("a.OvK") });
    QCOMPARE(dumped.Status, 0);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(dumped.Out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc.object().value("title").toString(), file.Title);
    QCOMPARE(doc.object().value("date").toDouble(), file.Date);
    const QJsonArray series = doc.object().value("series").toArray();
    QCOMPARE(series.size(), 3);
    QCOMPARE(series.at(2).toObject().value("number").toInt(), 2);
    QCOMPARE(series.at(2).toObject().value("color").toInteger(), qint64(0x80000005));
    QCOMPARE(series.at(0).toObject().value("points").toArray().at(5).toArray().at(1).toDouble(),
             expected[0][5].Level);

    WriteBytes(FilePath("dump.json"), dumped.Out);
    QCOMPARE(Cli({ "import", FilePath("dump.json"), FilePath("b.OvK") }).Status, 0);
    const QByteArray a = ReadAll(FilePath("a.OvK"));
    const QByteArray b = ReadAll(FilePath("b.OvK"));
    QCOMPARE(a.size(), 332 + 3 * 58 + 400 * 16);
    QCOMPARE(b.mid(24), a.mid(24));
}

void TestCliDocument::negativeZeroAndInfinitiesSurvive()
{
    WriteBytes(FilePath("z.json"),
               "{\"series\": [{\"points\": [[-0.0, \"-Infinity\"], [\"NaN\", 1e-320], "
               "[\"Infinity\", -5e-324]]}]}");
    QCOMPARE(Cli({ "import", FilePath("z.json"), FilePath("z.OvK") }).Status, 0);
    const TRun dumped = Cli({ "dump", FilePath("z.OvK") });
    QCOMPARE(dumped.Status, 0);
    WriteBytes(FilePath("z2.json"), dumped.Out);
    QCOMPARE(Cli({ "import", FilePath("z2.json"), FilePath("z2.OvK") }).Status, 0);

    TPolarGraph graph;
    TOvkFile file(&graph, FilePath("z2.OvK"));
    file.Load();
    const std::vector<TPolarSample> &p = graph.GetSeries(0)->Points();
    QCOMPARE(p.size(), size_t(3));
    QVERIFY(p[0].Angle == 0.0 && std::signbit(p[0].Angle));
    QVERIFY(std::isinf(p[0].Level) && p[0].Level < 0);
    QVERIFY(std::isnan(p[1].Angle));
    QCOMPARE(p[1].Level, 1e-320);
    QVERIFY(std::isinf(p[2].Angle) && p[2].Angle > 0);
    QCOMPARE(p[2].Level, -5e-324);
}

void TestCliDocument::infoLists()
{
    TPolarGraph graph;
    TSeries *s = graph.GetSeries(0);
    s->Name = QStringLiteral("Pomiar 1");
    s->SetColor(0x000080);
    for (int i = 0; i < 36; ++i)
        s->Add(10 * i, 0);
    graph.GetSeries(1)->Name = QStringLiteral("Tył");
    TOvkFile file(&graph, FilePath("info.OvK"));
    file.Title = QStringLiteral("Głośnik");
    file.Info = QStringLiteral("Nieznany");
    file.Save();

    const TRun run = Cli({ "info", FilePath("info.OvK") });
    QCOMPARE(run.Status, 0);
    const QStringList lines = QString::fromUtf8(run.Out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines.at(0).contains(QStringLiteral("Głośnik")));
    QVERIFY(lines.at(1).contains(QStringLiteral("Nieznany")));
    // ISO 8601 local time of the save, which happened just now.
    const QString date = lines.at(2).section(u' ', -1);
    const QDateTime when = QDateTime::fromString(date, Qt::ISODate);
    QVERIFY2(when.isValid(), qPrintable(lines.at(2)));
    QVERIFY(qAbs(when.secsTo(QDateTime::currentDateTime())) < 60);
    QVERIFY(lines.at(3).endsWith(u'2'));
    const QStringList first = lines.at(4).split(u'\t');
    QCOMPARE(first, (QStringList { "0", "Pomiar 1", "0x000080", "36" }));
    const QStringList second = lines.at(5).split(u'\t');
    QCOMPARE(second, (QStringList { "1", "Tył", "0x0000FF", "0" }));
}

void TestCliDocument::errors_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("content"); // written to the input file unless null
    QTest::addColumn<QString>("message"); // the exact error line, when fixed

    QByteArray header("ORVI SYSTEM V1.0");
    header.append(8, '\0').append(306, ' ');
    const auto withCount = [&](quint16 series) {
        QByteArray h = header;
        h.append(char(series & 0xFF)).append(char(series >> 8));
        return h;
    };
    const auto record = [](qint32 count) {
        QByteArray r(50, ' ');
        r.append(4, '\0');
        char n[4];
        qToLittleEndian<qint32>(count, n);
        return r.append(n, 4);
    };

    for (const QString command : { "info", "dump" }) {
        const auto row = [&](const char *name) -> QTestData & {
            return QTest::addRow("%s: %s", qPrintable(command), name) << command;
        };
        row("missing file") << QByteArray()
                            << QStringLiteral("Nie można otworzyć pliku „%1”: plik nie istnieje.");
        row("empty file") << QByteArray("")
                          << QStringLiteral("Nie można otworzyć pliku „%1”: plik jest za krótki "
                                            "jak na plik charakterystyki.");
        row("wrong magic") << QByteArray("ORVI SYSTEM V2.0").append(316, ' ')
                           << QStringLiteral("\"%1\" nie jest prawidłowym plikiem programu Orvi.");
        row("10 bytes") << QByteArray("ORVI SYSTE") << QString();
        row("truncated header") << header.left(100) << QString();
        row("series missing") << withCount(2) + record(0) << QString();
        row("negative count") << withCount(1) + record(-3) << QString();
        row("impossible count") << withCount(1) + record(1 << 30) << QString();
    }
    const QString importRow = QStringLiteral("import");
    QTest::newRow("import: missing file") << importRow << QByteArray() << QString();
    QTest::newRow("import: not JSON") << importRow << QByteArray("{\"series\": [") << QString();
    QTest::newRow("import: no series")
        << importRow << QByteArray("{\"title\": \"t\"}") << QString();
    QTest::newRow("import: bad point")
        << importRow << QByteArray("{\"series\": [{\"points\": [[1, 2], [3]]}]}") << QString();
    QTest::newRow("import: text as number")
        << importRow << QByteArray("{\"series\": [{\"points\": [[1, \"2\"]]}]}") << QString();
    QTest::newRow("import: colour too big")
        << importRow << QByteArray("{\"series\": [{\"color\": 4294967296}]}") << QString();
    QTest::newRow("import: title not text")
        << importRow << QByteArray("{\"title\": 5, \"series\": []}") << QString();
    QTest::newRow("import: array at top") << importRow << QByteArray("[]") << QString();
}

void TestCliDocument::errors()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString input = FilePath(command == "import" ? "bad.json" : "bad.OvK");
    QFile::remove(input);
    if (!content.isNull())
        WriteBytes(input, content);
    const QString output = FilePath("out.OvK");
    QFile::remove(output);

    const TRun run
        = command == "import" ? Cli({ command, input, output }) : Cli({ command, input });
    QCOMPARE(run.Status, 1);
    QVERIFY(run.Out.isEmpty());
    const QString err = QString::fromUtf8(run.Err);
    QVERIFY2(err.endsWith(u'\n') && err.count(u'\n') == 1, qPrintable(err));
    QVERIFY2(err.contains(input), qPrintable(err));
    const QString prefix = QStringLiteral("orvi-cli %1: ").arg(command);
    QVERIFY2(err.startsWith(prefix), qPrintable(err));
    if (!message.isEmpty())
        QCOMPARE(err.trimmed(), prefix + message.arg(input));
    QVERIFY(!QFile::exists(output));
}

void TestCliDocument::failedImportKeepsExistingOutput()
{
    WriteBytes(FilePath("ok.json"), "{\"title\": \"dobry\", \"series\": []}");
    QCOMPARE(Cli({ "import", FilePath("ok.json"), FilePath("keep.OvK") }).Status, 0);
    const QByteArray good = ReadAll(FilePath("keep.OvK"));
    WriteBytes(FilePath("broken.json"), "{\"title\": \"zły\", \"series\": [{\"points\": 3}]}");
    QCOMPARE(Cli({ "import", FilePath("broken.json"), FilePath("keep.OvK") }).Status, 1);
    QCOMPARE(ReadAll(FilePath("keep.OvK")), good);
    QCOMPARE(Cli({ "import", FilePath("ok.json"), FilePath("no/such/dir/x.OvK") }).Status, 1);
}

QTEST_MAIN(TestCliDocument)
#include "tst_CliDocument.moc"
