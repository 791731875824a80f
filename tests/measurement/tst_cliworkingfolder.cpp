// orvi-cli measure in the user's working folder: the folder comes from the program's settings
// store (which the tool never writes), nothing goes to the system's temporary folder, and two
// measurements running at once in one folder neither share a recording nor a kept name.

#include "analysis/WavFile.h"
#include "app/Settings.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/OvkFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A user of their own: a fresh HOME, no XDG_* variables, TMPDIR an empty folder.
QProcessEnvironment UserEnvironment(const QString &home, const QString &tmp)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &name : env.keys())
        if (name.startsWith(QLatin1String("XDG_")))
            env.remove(name);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("TMPDIR"), tmp);
    return env;
}

// A short turn, -30..30°: the two runs at once overlap in every step, from the recording to
// keeping it.
QStringList MeasureArgs(const QString &freq, const QString &out)
{
    return { "measure", "--simulate", "--range", "-30", "30", "--freq", freq, out };
}

void Start(QProcess &p, const QProcessEnvironment &env, const QStringList &args)
{
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVI_CLI_PATH), args);
}

// The kept WAV that a finished run names on its "recording kept: " line.
QString KeptRecording(const QByteArray &out)
{
    const QString text = QString::fromUtf8(out);
    const qsizetype at = text.indexOf(QLatin1String("recording kept: "));
    return at < 0 ? QString() : text.mid(at + 16).section(QLatin1Char('\n'), 0, 0);
}

// The measured series of a document as (angle, level) pairs, bit for bit.
std::vector<std::pair<double, double>> Points(const QString &document)
{
    TPolarGraph graph;
    TOvkFile file(&graph, document);
    if (!file.Load() || graph.SeriesCount() != 1)
        return {};
    std::vector<std::pair<double, double>> points;
    for (const TPolarSample &p : graph.GetSeries(0)->Points())
        points.emplace_back(p.Angle, p.Level);
    return points;
}

// The program's settings store of a user whose HOME is home.
QString StoreIn(const QString &home)
{
    const QFileInfo store(OpenSettingsStore()->fileName());
    return home + "/.config/" + store.dir().dirName() + QLatin1Char('/') + store.fileName();
}

// What the program left in a folder, apart from sockets (Qt's own) and orvi-cli's private
// runtime folder.
QStringList Leftovers(const QString &folder)
{
    QStringList left;
    const QDir dir(folder);
    const auto filter = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString &name : dir.entryList(filter)) {
        struct stat info
        {
        };
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        if (lstat(path.constData(), &info) == 0 && S_ISSOCK(info.st_mode))
            continue;
        if (!name.startsWith(QLatin1String("orvi-cli-runtime-")))
            left << name;
    }
    return left;
}

} // namespace

class TestCliWorkingFolder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void nothingGoesToTheTemporaryFolder();
    void onlyTheWorkingFolderIsRead_data();
    void onlyTheWorkingFolderIsRead();
    void runsAtOnceMatchRunsAlone();

private:
    QString Path(const QString &name) const { return QDir(m_dir->path()).filePath(name); }
    QString PerUser() const { return Path("home/.local/share/Orvi"); }
    QProcessEnvironment Environment() const { return UserEnvironment(Path("home"), Path("tmp")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCliWorkingFolder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(Path("home")));
    QVERIFY(QDir().mkpath(Path("tmp")));
}

void TestCliWorkingFolder::nothingGoesToTheTemporaryFolder()
{
    QProcess p;
    Start(p, Environment(), MeasureArgs("1000", Path("out.OvK")));
    QVERIFY(p.waitForFinished(120000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());

    QCOMPARE(Leftovers(Path("tmp")), QStringList());
    const QString kept = KeptRecording(p.readAllStandardOutput());
    QVERIFY2(kept.startsWith(PerUser() + "/Pomiary/"), qPrintable(kept));
    QVERIFY(QFileInfo::exists(kept));
    QVERIFY(QFileInfo::exists(PerUser() + "/temp.raw"));
    QVERIFY(!QFileInfo::exists(PerUser() + "/temp.raw.lock")); // released at the end
    // The working folder is the user's alone; no settings store was made.
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(PerUser()).permissions() & (owner | others), owner);
    QVERIFY(!QFileInfo::exists(Path("home/.config")));
}

void TestCliWorkingFolder::onlyTheWorkingFolderIsRead_data()
{
    // {work} is a folder of the user's, {tmp} the tool's temporary folder.
    QTest::addColumn<QString>("store"); // the [1.0/Options] lines, without the header
    QTest::addColumn<QString>("keptUnder");
    QTest::addColumn<QString>("recordedIn"); // where temp.raw is
    QTest::newRow("folder chosen in orvi") << "TempDir={work}\nTempDirChecked=1"
                                           << "{work}"
                                           << "{work}";
    QTest::newRow("chosen before the per-user folder") << "TempDir={work}"
                                                       << "{work}"
                                                       << "{work}";
    // An earlier version's default: replaced in memory, the store left for orvi to update.
    QTest::newRow("old default") << "TempDir={tmp}"
                                 << "{user}"
                                 << "{user}";
    // Kept recordings outlast a restart also where orvi was told to work in {tmp}.
    QTest::newRow("temporary folder chosen in orvi") << "TempDir={tmp}\nTempDirChecked=1"
                                                     << "{user}"
                                                     << "{tmp}";
}

void TestCliWorkingFolder::onlyTheWorkingFolderIsRead()
{
    QFETCH(QString, store);
    QFETCH(QString, keptUnder);
    QFETCH(QString, recordedIn);
    QVERIFY(QDir().mkpath(Path("work")));
    const auto fill = [this](QString text) {
        return text.replace("{work}", Path("work"))
            .replace("{tmp}", Path("tmp"))
            .replace("{user}", PerUser());
    };
    // The tool's own options stay its own: a block size stored for orvi is not taken.
    const QString conf = StoreIn(Path("home"));
    QVERIFY(QDir().mkpath(QFileInfo(conf).path()));
    {
        QFile file(conf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            ("[1.0/Options]\n" + fill(store) + "\n[1.0/Signal]\nRMSBuffNumber=8192\n").toUtf8());
    }
    const QDateTime written = QFileInfo(conf).lastModified();
    QFile file(conf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    QProcess p;
    Start(p, Environment(), MeasureArgs("1000", Path("out.OvK")));
    QVERIFY(p.waitForFinished(120000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    const QString kept = KeptRecording(p.readAllStandardOutput());
    QVERIFY2(kept.startsWith(fill(keptUnder) + "/Pomiary/"), qPrintable(kept));
    QVERIFY(QFileInfo::exists(fill(recordedIn) + "/temp.raw"));
    // 6 s at 44100 Hz in the tool's 512-byte blocks (about 1000), not in 8192-byte ones.
    QVERIFY(Points(Path("out.OvK")).size() > 500);

    QVERIFY(file.seek(0));
    QCOMPARE(file.readAll(), bytes);
    QCOMPARE(QFileInfo(conf).lastModified(), written);
    QCOMPARE(QDir(QFileInfo(conf).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList { QFileInfo(conf).fileName() });
    QCOMPARE(Leftovers(Path("tmp")),
             recordedIn == "{tmp}" ? QStringList { "temp.raw" } : QStringList());
}

void TestCliWorkingFolder::runsAtOnceMatchRunsAlone()
{
    // Two different measurements: a run that read the other's recording would show it.
    const QStringList freqs { "1000", "8000" };
    std::vector<std::vector<std::pair<double, double>>> alone;
    std::vector<std::vector<qint16>> aloneKept;
    for (const QString &freq : freqs) {
        const QString home = Path("alone-" + freq);
        QVERIFY(QDir().mkpath(home));
        QProcess p;
        Start(p, UserEnvironment(home, Path("tmp")), MeasureArgs(freq, home + "/out.OvK"));
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        alone.push_back(Points(home + "/out.OvK"));
        QVERIFY(!alone.back().empty());
        const auto kept = TWavFile::Read(KeptRecording(p.readAllStandardOutput()));
        QVERIFY(kept);
        aloneKept.push_back(kept->Samples);
    }
    QVERIFY(alone[0] != alone[1]);

    // Started at once in one HOME: one working folder, and (most often) the same series name
    // kept in the same second.
    QProcess runs[2];
    for (int i = 0; i < 2; ++i)
        Start(runs[i], Environment(), MeasureArgs(freqs[i], Path(freqs[i] + ".OvK")));
    QStringList kept;
    for (int i = 0; i < 2; ++i) {
        QVERIFY(runs[i].waitForFinished(120000));
        QVERIFY2(runs[i].exitCode() == 0, runs[i].readAllStandardError().constData());
        kept << KeptRecording(runs[i].readAllStandardOutput());
    }
    QVERIFY2(kept[0] != kept[1], qPrintable(kept.join(" | ")));
    for (int i = 0; i < 2; ++i) {
        QVERIFY(Points(Path(freqs[i] + ".OvK")) == alone[i]);
        const auto recording = TWavFile::Read(kept[i]);
        QVERIFY2(recording, qPrintable(kept[i]));
        QVERIFY(recording->Samples == aloneKept[i]);
    }
}

QTEST_GUILESS_MAIN(TestCliWorkingFolder)
#include "tst_cliworkingfolder.moc"
