// orvi-cli and the measurements kept beside a document: measure and analyse write them, frd
// and map analyse them again, info lists them; each case in folders of its own, the child
// processes' home and settings among them.

#include "analysis/MarkerLog.h"
#include "analysis/MeasurementFolder.h"
#include "analysis/RecordingArchive.h"
#include "analysis/Spinorama.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "controls/FileWriter.h"
#include "document/OvkFile.h"
#include "helpers/IsolatedCli.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

TRun RunCli(const QStringList &args, const QTemporaryDir &dir)
{
    return RunIsolatedCli(args, dir.path());
}

// A quick broadband measurement into out (in dir) with the extra options; the kept recording.
QString Measure(const QTemporaryDir &dir, const QStringList &extra, const QString &out)
{
    const TRun run = RunCli(QStringList { "measure", "--simulate", "--range", "-90", "90",
                                          "--signal", "MLS", "--play-buffer", "16384",
                                          "--reflection-ms", "3", "--reflection-db", "-6" }
                                + extra + QStringList { out },
                            dir);
    if (run.Status != 0)
        qWarning() << run.Err;
    const QString kept
        = run.Out.section(QStringLiteral("recording kept: "), 1).section(u'\n', 0, 0);
    return run.Status == 0 ? kept : QString();
}

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file of folder by name, with its bytes.
QMap<QString, QByteArray> Files(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        files.insert(name, Bytes(QDir(folder).filePath(name)));
    return files;
}

void SaveDocument(const QString &path)
{
    TPolarGraph chart;
    chart.GetSeries(0)->Add(0, -3);
    TOvkFile(&chart, path).Save();
}

// Measurements beside the document whose recordings are not recordings at all.
void KeepUnreadable(const QTemporaryDir &dir, const QString &document, const QStringList &names)
{
    std::vector<TKeptMeasurement> measurements;
    for (const QString &name : names) {
        TFileWriter::WriteFile(dir.filePath(name), name.toUtf8()); // not a WAV file
        TKeptMeasurement m;
        m.Recording = dir.filePath(name);
        m.Name = name;
        m.Options.BandsHz = { 1000, 4000 };
        m.Options.Smoothing = 3; // 1/3 octave
        m.Options.GateMs = 2.5;
        measurements.push_back(m);
    }
    QVERIFY(TMeasurementFolder::Write(document, measurements));
}

} // namespace

class TestCliKept : public QObject
{
    Q_OBJECT

private slots:
    void reopenedDocumentGivesTheSameFrdFiles_data();
    void reopenedDocumentGivesTheSameFrdFiles();
    void mapIsTheMeasurementsMap();
    void intoCarriesTheMeasurements_data();
    void intoCarriesTheMeasurements();
    void withoutUsableMeasurementsFrdAndMapRefuse_data();
    void withoutUsableMeasurementsFrdAndMapRefuse();
    void infoListsMeasurementsAndProblems();
    void unwritableFolderLeavesNoDocument();
    void keptLogCarriesTheLead();
    void verticalTurnIsNamedAndKeptAsSuch();
    void spinOfTheTwoTurns();
};

void TestCliKept::reopenedDocumentGivesTheSameFrdFiles_data()
{
    QTest::addColumn<QStringList>("analyse"); // empty: the measurement's own document
    QTest::addColumn<bool>("moved"); // with its folder, the working folder's recordings gone
    QTest::addColumn<QStringList>("step"); // given to both FRD exports
    const QStringList none;
    QTest::newRow("measure") << none << false << none;
    QTest::newRow("measure, moved, 30°") << none << true << QStringList { "--frd-step", "30" };
    QTest::newRow("analyse --range") << QStringList { "--range", "-80", "100" } << true << none;
    QTest::newRow("analyse --smoothing --gate-ms")
        << QStringList { "--bands", "2000", "--smoothing", "1/6", "--gate-ms", "2" } << false
        << none;
}

void TestCliKept::reopenedDocumentGivesTheSameFrdFiles()
{
    QFETCH(QStringList, analyse);
    QFETCH(bool, moved);
    QFETCH(QStringList, step);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("ref") && QDir(dir.path()).mkpath("again"));
    const QStringList frd = QStringList { "--frd", "ref" } + step;
    const QString kept = Measure(
        dir, QStringList { "--bands", "1000,4000" } + (analyse.isEmpty() ? frd : QStringList()),
        "m.OvK");
    QVERIFY(!kept.isEmpty());
    QString document = QStringLiteral("m.OvK");
    if (!analyse.isEmpty()) {
        document = QStringLiteral("a.OvK");
        const TRun run = RunCli(
            QStringList { "analyse", kept } + analyse + frd + QStringList { document }, dir);
        QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
        QVERIFY(run.Out.contains("measurements: 1 in " + dir.filePath("a.pomiary")));
    }
    if (moved) {
        QVERIFY(QDir(dir.path()).mkpath("elsewhere"));
        const QString base = document.chopped(4);
        for (const QString &name : { document, base + ".pomiary" })
            QVERIFY(QDir(dir.path()).rename(name, "elsewhere/" + name));
        QVERIFY(QDir(dir.filePath("home")).removeRecursively());
        document = "elsewhere/" + document;
    }
    const TRun run = RunCli(QStringList { "frd", document, "again" } + step, dir);
    QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
    const QMap<QString, QByteArray> reference = Files(dir.filePath("ref"));
    QCOMPARE(reference.size(), step.isEmpty() ? 19 : 7); // -90° .. 90°
    QCOMPARE(Files(dir.filePath("again")), reference);
}

void TestCliKept::mapIsTheMeasurementsMap()
{
    QTemporaryDir dir;
    QVERIFY(!Measure(dir, { "--bands", "1000,4000", "--map", "ref.png" }, "m.OvK").isEmpty());
    const TRun run = RunCli({ "map", "m.OvK", "map.png" }, dir);
    QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
    const QImage image(dir.filePath("map.png"));
    QCOMPARE(image.size(), QSize(1000, 700));
    QVERIFY(image == QImage(dir.filePath("ref.png")));
}

void TestCliKept::intoCarriesTheMeasurements_data()
{
    QTest::addColumn<bool>("measure"); // the second measurement measured, not analysed
    QTest::newRow("measure --into") << true;
    QTest::newRow("analyse --into") << false;
}

void TestCliKept::intoCarriesTheMeasurements()
{
    QFETCH(bool, measure);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("first") && QDir(dir.path()).mkpath("again"));
    const QString kept = Measure(dir, { "--bands", "1000,4000", "--frd", "first" }, "a.OvK");
    QVERIFY(!kept.isEmpty());
    const QStringList second { "--bands", "2000", "--name", "Drugi", "--into", "a.OvK" };
    if (measure)
        QVERIFY(!Measure(dir, second, "b.OvK").isEmpty());
    else // another range: a log of its own beside the shared recording, damaged below
        QCOMPARE(RunCli(QStringList { "analyse", kept, "--range", "-80", "100" } + second
                            + QStringList { "b.OvK" },
                        dir)
                     .Status,
                 0);
    const TRun info = RunCli({ "info", "b.OvK" }, dir);
    QCOMPARE(info.Status, 0);
    QCOMPARE(info.Out.count("\nmeasurement "), 2);
    QVERIFY(info.Out.contains("measurement 1 \"Pomiar 1\" hor: "));
    QVERIFY(info.Out.contains("measurement 2 \"Drugi\" hor: "));
    QVERIFY(info.Out.contains(", bands 2000, smoothing none, gate auto\n"));
    // The newest measurement is the one frd writes; when it cannot be read, the one before.
    QCOMPARE(RunCli({ "frd", "b.OvK", "again" }, dir).Status, 0);
    QVERIFY(QFile::exists(dir.filePath("again/Drugi hor 0.frd")));
    const QString index = dir.filePath("b.pomiary/pomiary.json");
    const QString log
        = QJsonDocument::fromJson(Bytes(index))["measurements"][1]["markers"].toString();
    QVERIFY(TFileWriter::WriteFile(dir.filePath("b.pomiary/" + log), "rate = x\n"));
    QVERIFY(QDir(dir.filePath("again")).removeRecursively() && QDir(dir.path()).mkpath("again"));
    const TRun older = RunCli({ "frd", "b.OvK", "again" }, dir);
    QCOMPARE(older.Status, 0);
    QCOMPARE(older.Err.size(), 1);
    QVERIFY(older.Err.first().startsWith("orvi-cli frd: warning: "));
    QCOMPARE(Files(dir.filePath("again")), Files(dir.filePath("first")));
}

void TestCliKept::withoutUsableMeasurementsFrdAndMapRefuse_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("fault");
    for (const char *command : { "frd", "map" })
        for (const char *fault : { "no folder", "no index", "index not JSON", "no measurements",
                                   "recording missing", "recording unreadable" })
            QTest::addRow("%s: %s", command, fault) << command << fault;
}

void TestCliKept::withoutUsableMeasurementsFrdAndMapRefuse()
{
    QFETCH(QString, command);
    QFETCH(QString, fault);
    QTemporaryDir dir;
    const QString document = dir.filePath("d.OvK");
    SaveDocument(document);
    const QString folder = TMeasurementFolder::FolderFor(document);
    if (fault != "no folder")
        QVERIFY(QDir().mkpath(folder));
    if (fault == "index not JSON")
        QVERIFY(TFileWriter::WriteFile(folder + "/pomiary.json", "{\"format\": 1,"));
    if (fault == "no measurements")
        QVERIFY(TFileWriter::WriteFile(folder + "/pomiary.json",
                                       "{\"format\": 1, \"measurements\": []}"));
    if (fault.startsWith("recording"))
        KeepUnreadable(dir, document, { "r.wav" });
    if (fault == "recording missing")
        QVERIFY(QFile::remove(folder + "/r.wav"));
    QVERIFY(QDir(dir.path()).mkpath("out"));
    const QString target = command == "frd" ? QStringLiteral("out") : QStringLiteral("out/map.png");
    const TRun run = RunCli({ command, document, target }, dir);
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Err.size(), 1);
    QVERIFY(run.Err.first().startsWith("orvi-cli " + command + ": "));
    QVERIFY(QDir(dir.filePath("out")).isEmpty());
}

void TestCliKept::infoListsMeasurementsAndProblems()
{
    QTemporaryDir dir;
    const QString document = dir.filePath("d.OvK");
    SaveDocument(document);
    KeepUnreadable(dir, document, { "a.wav", "b.wav" });
    const QString folder = TMeasurementFolder::FolderFor(document);
    QVERIFY(QFile::remove(folder + "/b.wav"));
    const TRun run = RunCli({ "info", document }, dir);
    QCOMPARE(run.Status, 0);
    const QStringList lines = run.Out.split(u'\n', Qt::SkipEmptyParts).mid(5);
    QCOMPARE(lines,
             (QStringList { "measurement 1 \"a.wav\" hor: a.wav, bands 1000,4000, smoothing 1/3, "
                            "gate 2.5 ms",
                            "problem: Nie znaleziono nagrania \""
                                + QDir::toNativeSeparators(folder + "/b.wav") + "\"." }));
}

void TestCliKept::unwritableFolderLeavesNoDocument()
{
    QTemporaryDir dir;
    const QString kept = Measure(dir, {}, "m.OvK");
    QVERIFY(!kept.isEmpty());
    QVERIFY(TFileWriter::WriteFile(dir.filePath("a.pomiary"), "a file where the folder goes"));
    const TRun run = RunCli({ "analyse", kept, "--bands", "2000", "a.OvK" }, dir);
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Err.size(), 1);
    // Found before the analysis: no document claims measurements it does not have beside it.
    QVERIFY2(run.Err.first().contains("is a file, not a folder"), qPrintable(run.Err.first()));
    QVERIFY(!QFile::exists(dir.filePath("a.OvK")));
}

// The excitation plays from the record start on, through the rig's 1000 ms pause, before the
// first sample is recorded: the kept log says so, and an analysis of the kept recording
// starts its frames at the first sample (a lead shorter than a period would skip frames).
void TestCliKept::keptLogCarriesTheLead()
{
    QTemporaryDir dir;
    const QString kept = Measure(dir, { "--bands", "2000" }, "m.OvK");
    QVERIFY(!kept.isEmpty());
    QString error;
    const std::optional<TMarkerLog> log
        = TRecordingArchive::ReadLog(TMarkerLog::PathFor(kept), &error);
    QVERIFY2(log, qPrintable(error));
    const int period = log->PlayBufferBytes / 2;
    QVERIFY2(log->LeadMs > 1000.0 * period / log->SampleRate && log->LeadMs <= 1000.0,
             qPrintable(QString::number(log->LeadMs)));

    int frames = 0;
    for (qint64 s = 0; s + period <= log->RecordedSamples; s += period / 4) {
        const double angle = log->AngleAt(double(s) + period / 2.0);
        frames += angle >= log->StartDeg && angle <= log->StopDeg;
    }
    const TRun run = RunCli({ "analyse", kept, "--bands", "2000", "a.OvK" }, dir);
    QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
    QVERIFY2(run.Out.contains(QStringLiteral(", %1 frames,").arg(frames)), qPrintable(run.Out));
}

// A vertical turn of a rectangular piston (0.2 m wide, 0.08 m high): its bands are named
// "pion", its FRD set "ver", the index keeps the plane, so the set made again from the saved
// document is the same, and the levels follow the height, not the width.
void TestCliKept::verticalTurnIsNamedAndKeptAsSuch()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("ref") && QDir(dir.path()).mkpath("again"));
    const QString kept = Measure(dir,
                                 { "--bands", "4000", "--plane", "ver", "--shape", "rect",
                                   "--width", "0.2", "--height", "0.08", "--frd", "ref" },
                                 "v.OvK");
    QVERIFY(!kept.isEmpty());
    TPolarGraph chart;
    TOvkFile file(&chart, dir.filePath("v.OvK"));
    QVERIFY(file.Load());
    QCOMPARE(chart.GetSeries(1)->Name, QStringLiteral("Pomiar 1 pion 4000 Hz"));
    const TMeasurementFolder::TContents contents = TMeasurementFolder::Read(dir.filePath("v.OvK"));
    QCOMPARE(contents.Measurements.size(), size_t(1));
    QCOMPARE(contents.Measurements.front().Plane, QStringLiteral("ver"));
    QVERIFY(contents.Measurements.front().Options.Vertical);
    const QMap<QString, QByteArray> reference = Files(dir.filePath("ref"));
    QCOMPARE(reference.size(), 19);
    QVERIFY(reference.contains("Pomiar 1 ver 0.frd") && reference.contains("Pomiar 1 ver -90.frd"));
    TRun run = RunCli({ "frd", "v.OvK", "again" }, dir);
    QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
    QCOMPARE(Files(dir.filePath("again")), reference);
    // A spin needs the horizontal turn too.
    run = RunCli({ "spin", "v.OvK", "--csv", "s.csv" }, dir);
    QCOMPARE(run.Status, 1);
    QVERIFY2(run.Err.size() == 1 && run.Err.front().contains("no horizontal turn"),
             qPrintable(run.Err.join(u'\n')));
    QVERIFY(!QFile::exists(dir.filePath("s.csv")));

    // At 30° the 0.08 m side gives sin(x)/x = -1.5 dB at 4 kHz; the 0.2 m side would give -12.
    double at30 = 0;
    for (const TPolarSample &p : chart.GetSeries(1)->Points())
        if (std::abs(p.Angle - 30.0) < 0.5)
            at30 = p.Level;
    const double x = M_PI * 4000 * 0.08 * 0.5 / 343.0;
    QVERIFY2(std::abs(at30 - 20 * std::log10(std::sin(x) / x)) < 0.2,
             qPrintable(QString::number(at30)));
}

// "spin": refused (nothing written) while the document has no vertical turn; with one the
// CTA-2034 curves go into the CSV, one row per 1/20 octave, and both FRD sets into the folder.
void TestCliKept::spinOfTheTwoTurns()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("frd"));
    const QStringList shape { "--full",  "--bands", "1000",     "--shape", "rect",
                              "--width", "0.2",     "--height", "0.08" };
    const auto measure = [&](const QStringList &extra) {
        const TRun run = RunCli(
            QStringList { "measure", "--simulate", "--signal", "MLS", "--play-buffer", "16384" }
                + shape + extra,
            dir);
        return run.Status == 0;
    };
    QVERIFY(measure({ "d.OvK" }));
    TRun run = RunCli({ "spin", "d.OvK", "--csv", "s.csv", "--frd", "frd" }, dir);
    QCOMPARE(run.Status, 1);
    QVERIFY2(run.Err.size() == 1 && run.Err.front().contains("no vertical turn"),
             qPrintable(run.Err.join(u'\n')));
    QVERIFY(!QFile::exists(dir.filePath("s.csv")));
    QVERIFY(QDir(dir.filePath("frd")).isEmpty());

    QVERIFY(measure({ "--plane", "ver", "--into", "d.OvK", "d.OvK" }));
    QVERIFY(QDir(dir.path()).mkpath("spin"));
    run = RunCli({ "spin", "d.OvK", "--csv", "s.csv", "--frd", "frd", "--spinorama", "spin",
                   "--image", "s.svg" },
                 dir);
    QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
    const QList<QByteArray> rows = Bytes(dir.filePath("s.csv")).split('\n');
    QCOMPARE(rows.size(), 1 + 201 + 1); // header, rows, after the last newline
    QVERIFY(rows.front().startsWith("Freq[Hz],On Axis,Listening Window,"));
    const QStringList frd = QDir(dir.filePath("frd")).entryList(QDir::Files);
    QCOMPARE(frd.filter(" hor ").size(), 36);
    QCOMPARE(frd.filter(" ver ").size(), 36);
    QVERIFY(Bytes(dir.filePath("s.svg")).contains("<svg"));

    // The spinorama folder: both planes on one grid, nothing but the header and numbers, and
    // the same responses as the curves (horizontal 0° is On Axis).
    const QMap<QString, QByteArray> spinFiles = Files(dir.filePath("spin"));
    QCOMPARE(spinFiles.size(), 72);
    QCOMPARE(spinFiles.keys().filter(" _H ").size(), 36);
    QVERIFY(spinFiles.contains("Pomiar 1 _H 0.txt") && spinFiles.contains("Pomiar 1 _V 0.txt"));
    QVERIFY(spinFiles.contains("Pomiar 1 _V 180.txt")
            && spinFiles.contains("Pomiar 1 _H -170.txt"));
    QList<QByteArray> grid;
    for (const QByteArray &text : spinFiles) {
        QVERIFY(text.startsWith("Freq[Hz] dBSPL Phase[Deg]\n") && text.endsWith('\n'));
        QList<QByteArray> frequencies;
        for (const QByteArray &line : text.trimmed().split('\n').mid(1)) {
            const QList<QByteArray> fields = line.split(' ');
            bool ok = fields.size() == 3;
            for (const QByteArray &field : fields) {
                bool number = false;
                field.toDouble(&number);
                ok = ok && number;
            }
            QVERIFY2(ok, line.constData());
            frequencies << fields.front();
        }
        if (grid.isEmpty())
            grid = frequencies;
        QCOMPARE(frequencies, grid);
    }
    QVERIFY(grid.size() > 150);
    const QList<QByteArray> onAxis = spinFiles.value("Pomiar 1 _H 0.txt").split('\n');
    int same = 0;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QList<QByteArray> csv = rows[r].split(',');
        for (const QByteArray &line : onAxis) {
            const QList<QByteArray> fields = line.split(' ');
            if (csv.size() > 1 && fields.size() == 3 && fields[0] == csv[0]) {
                QVERIFY2(std::abs(fields[1].toDouble() - csv[1].toDouble()) < 0.002,
                         line.constData());
                ++same;
            }
        }
    }
    QCOMPARE(same, grid.size());

    // Every curve against the same definitions applied to the analytic directivity of the
    // rectangle: a line source of its width across, of its height up and down.
    const auto level = [](double f, double lengthM, double thetaDeg) {
        const double x = M_PI * f * lengthM * std::sin(thetaDeg * M_PI / 180.0) / 343.0;
        const double ratio = std::abs(x) < 1e-9 ? 1.0 : std::sin(x) / x;
        return ratio * ratio * std::pow(10.0, -12.0 / 10.0); // p², the simulator's 12 dB drop
    };
    const auto mean = [](const std::vector<double> &p2) {
        double sum = 0;
        for (double v : p2)
            sum += v;
        return sum / double(p2.size());
    };
    std::array<double, 7> sumSquares {};
    int compared = 0;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QList<QByteArray> fields = rows[r].split(',');
        const double f = fields.front().toDouble();
        if (fields.size() != 8 || f < 500 || f > 8000)
            continue;
        const auto h = [&](double a) {
            return level(f, 0.2, a);
        };
        const auto v = [&](double a) {
            return level(f, 0.08, a);
        };
        const double lw
            = mean({ v(0), v(10), v(-10), h(10), h(-10), h(20), h(-20), h(30), h(-30) });
        const double er = mean(
            { mean({ v(-20), v(-30), v(-40) }), mean({ v(40), v(50), v(60) }),
              mean({ h(0), h(10), h(-10), h(20), h(-20), h(30), h(-30) }),
              mean({ h(40), h(-40), h(50), h(-50), h(60), h(-60), h(70), h(-70), h(80), h(-80) }),
              mean({ h(90), h(-90), h(180) }) });
        double weighted = 0, weights = 0;
        for (int a = -170; a <= 180; a += 10) {
            const double w = TSpinorama::SoundPowerWeight(a);
            weighted += w * h(a);
            weights += w;
            if (a != 0 && a != 180) {
                weighted += w * v(a);
                weights += w;
            }
        }
        const double sp = weighted / weights;
        const auto db = [](double p2) {
            return 10 * std::log10(p2);
        };
        const std::array<double, 7> expected {
            db(h(0)),        db(lw),         db(er), db(sp), db(0.12 * lw + 0.44 * er + 0.44 * sp),
            db(lw) - db(er), db(lw) - db(sp)
        };
        for (size_t c = 0; c < expected.size(); ++c) {
            const double d = fields[qsizetype(c) + 1].toDouble() - expected[c];
            sumSquares[c] += d * d;
        }
        ++compared;
    }
    QVERIFY2(compared >= 80, qPrintable(QString::number(compared)));
    for (size_t c = 0; c < sumSquares.size(); ++c) {
        const double rms = std::sqrt(sumSquares[c] / compared);
        qInfo("curve %d: %.3f dB RMS from 500 Hz to 8 kHz", int(c), rms);
        QVERIFY2(rms <= 0.3, qPrintable(QString::number(rms)));
    }
}

QTEST_MAIN(TestCliKept)
#include "tst_clikept.moc"
