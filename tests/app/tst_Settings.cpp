// Reading, repairing and writing the program settings in the INI store; the per-user
// working folder.
#include "app/Settings.h"
#include "document_ui/helpers/IsolatedSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <iterator>

namespace {

struct TIntSetting
{
    const char *Group;
    const char *Name;
    int TSettings::*Field;
    int Default;
    int Unusual; // outside the dialog's choices, but the program works with it
};

const TIntSetting IntSettings[] = {
    { "1.0/Options", "LPTNumber", &TSettings::LPTNumber, 1, -7 },
    { "1.0/Options", "MarkUnsensitivityTime", &TSettings::MarkUnsensitivityTime, 1000, 60000 },
    { "1.0/Options", "DocWindowState", &TSettings::DocWindowState, 2, 0 },
    { "1.0/Options", "DocumentSize", &TSettings::DocumentSize, 100, 1000 },
    { "1.0/Options", "TurntableDriver", &TSettings::TurntableDriver, 0, 1 },
    { "1.0/Options", "GrblTurnTime", &TSettings::GrblTurnTime, 80, 3600 },
    { "1.0/Signal", "InSampleRate", &TSettings::InSampleRate, 44100, 32000 },
    { "1.0/Signal", "OutSampleRate", &TSettings::OutSampleRate, 44100, 384000 },
    { "1.0/Signal", "InQuant", &TSettings::InQuant, 16, 8 },
    { "1.0/Signal", "OutQuant", &TSettings::OutQuant, 16, 8 },
    { "1.0/Signal", "RecordBuffSize", &TSettings::RecordBuffSize, 8192, 1000 },
    { "1.0/Signal", "PlayBuffSize", &TSettings::PlayBuffSize, 8192, 2 },
    { "1.0/Signal", "ReadBuffSize", &TSettings::ReadBuffSize, 512, -9 },
    { "1.0/Signal", "RMSBuffNumber", &TSettings::RMSBuffNumber, 512, 1 << 20 },
    { "1.0/Signal", "WaveINDevID", &TSettings::WaveINDevID, 0, -1 },
    { "1.0/Signal", "WaveOUTDevID", &TSettings::WaveOUTDevID, 0, 77 },
};

QString Key(const TIntSetting &s)
{
    return QStringLiteral("%1/%2").arg(QLatin1String(s.Group), QLatin1String(s.Name));
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { IsolateUserFolders(); }
    void init();
    void defaults();
    void firstStartFillsStore();
    void storedValuesAreTaken();
    void mistypedIntegerIsRepaired_data();
    void mistypedIntegerIsRepaired();
    void unworkableValueIsReset_data();
    void unworkableValueIsReset();
    void tempDirRepair_data();
    void tempDirRepair();
    void writeThenReadRoundTrip();
    void storeLocation();
    void oldDefaultReplacedOnce_data();
    void oldDefaultReplacedOnce();
    void systemTempChosenLaterIsKept();
    void perUserFolderIsPrivate();
    void otherFoldersAreLeftAlone();

private:
    // One file per test row: QSettings caches files by name within the process.
    QString IniPath() const
    {
        return m_dir.filePath(
            QStringLiteral("%1-%2.conf")
                .arg(QLatin1String(QTest::currentTestFunction()),
                     QString::fromLatin1(QByteArray(QTest::currentDataTag()).toHex())));
    }
    // Writes raw INI text, bypassing QSettings' own typing.
    void WriteIni(const QByteArray &text);
    QTemporaryDir m_dir;
};

void TestSettings::init()
{
    QVERIFY(m_dir.isValid());
    QFile::remove(IniPath());
}

void TestSettings::WriteIni(const QByteArray &text)
{
    QFile f(IniPath());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

void TestSettings::defaults()
{
    const TSettings s;
    for (const TIntSetting &i : IntSettings)
        QCOMPARE(s.*(i.Field), i.Default);
    QCOMPARE(s.TempDir, TSettings::DefaultTempDir());
    QVERIFY(!s.TempDir.endsWith(QDir::separator()));
#ifndef Q_OS_WIN
    // One folder of the user's, whichever program asks (not the application's own).
    QCOMPARE(s.TempDir,
             QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Orvi");
    QVERIFY(!TSettings::IsSystemTempFolder(s.TempDir));
#endif
}

void TestSettings::firstStartFillsStore()
{
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        TSettings s;
        s.ReadSettings(store);
    }
    QSettings check(IniPath(), QSettings::IniFormat);
    for (const TIntSetting &i : IntSettings)
        QCOMPARE(check.value(Key(i)).toString(), QString::number(i.Default));
    QCOMPARE(check.value("1.0/Options/TempDir").toString(), TSettings::DefaultTempDir());
}

void TestSettings::storedValuesAreTaken()
{
    QByteArray text = "[1.0/Options]\nTempDir=/srv/pomiary\n";
    QByteArray signal = "[1.0/Signal]\n";
    for (const TIntSetting &i : IntSettings) {
        // Out-of-domain values that can work too: they are used unchanged.
        const QByteArray line = QByteArray(i.Name) + '=' + QByteArray::number(i.Unusual) + '\n';
        (QByteArray(i.Group) == "1.0/Options" ? text : signal) += line;
    }
    WriteIni(text + signal);
    QSettings store(IniPath(), QSettings::IniFormat);
    TSettings s;
    QCOMPARE(s.ReadSettings(store), QStringList());
    QCOMPARE(s.TempDir, QStringLiteral("/srv/pomiary"));
    for (const TIntSetting &i : IntSettings)
        QCOMPARE(s.*(i.Field), i.Unusual);
}

void TestSettings::mistypedIntegerIsRepaired_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("expected");
    QTest::newRow("text") << QByteArray("duzy") << false << 1;
    QTest::newRow("decimal") << QByteArray("75.5") << false << 1;
    QTest::newRow("beyond 32 bits") << QByteArray("4294967296") << false << 1;
    QTest::newRow("empty") << QByteArray("") << false << 1;
    QTest::newRow("list") << QByteArray("1, 2") << false << 1;
    QTest::newRow("integer") << QByteArray("150") << true << 150;
    QTest::newRow("negative integer") << QByteArray("-20") << true << -20;
    QTest::newRow("largest 32-bit") << QByteArray("2147483647") << true << 2147483647;
}

void TestSettings::mistypedIntegerIsRepaired()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, taken);
    QFETCH(int, expected);
    // A setting that takes every integer, so that only the type decides.
    WriteIni("[1.0/Options]\nLPTNumber=" + stored + "\nDocWindowState=0\n");
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        TSettings s;
        s.ReadSettings(store);
        QCOMPARE(s.LPTNumber, expected);
        QCOMPARE(s.DocWindowState, 0); // a user value next to the repaired one stays
    }
    QSettings check(IniPath(), QSettings::IniFormat);
    if (taken)
        QCOMPARE(check.value("1.0/Options/LPTNumber").toString(), QString::fromLatin1(stored));
    else
        QCOMPARE(check.value("1.0/Options/LPTNumber").toString(), QStringLiteral("1"));
    QCOMPARE(check.value("1.0/Options/DocWindowState").toString(), QStringLiteral("0"));
}

void TestSettings::unworkableValueIsReset_data()
{
    QTest::addColumn<QString>("key"); // below "1.0/"
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("expected"); // the default when reset
    const auto row = [](const char *key, int stored, int expected) {
        QTest::addRow("%s=%d", key, stored) << QString::fromLatin1(key) << stored << expected;
    };
    row("Signal/PlayBuffSize", 2147483647, 8192);
    row("Signal/PlayBuffSize", 1048578, 8192);
    row("Signal/PlayBuffSize", 1048576, 1048576);
    row("Signal/OutSampleRate", 2147483647, 44100);
    row("Signal/OutSampleRate", 384001, 44100);
    row("Signal/InSampleRate", 0, 44100);
    row("Signal/InSampleRate", 1, 1);
    row("Signal/RecordBuffSize", 2147483647, 8192);
    row("Signal/RecordBuffSize", 0, 8192);
    row("Signal/RecordBuffSize", -512, 8192);
    row("Signal/RecordBuffSize", 1, 8192);
    row("Signal/RecordBuffSize", 8191, 8192);
    row("Signal/RMSBuffNumber", 3, 512);
    row("Signal/RMSBuffNumber", 2, 2);
    row("Signal/InQuant", 12, 16);
    row("Signal/OutQuant", 0, 16);
    row("Options/MarkUnsensitivityTime", -1, 1000);
    row("Options/MarkUnsensitivityTime", 60001, 1000);
    row("Options/MarkUnsensitivityTime", 0, 0);
    row("Options/DocWindowState", 3, 2);
    row("Options/DocumentSize", 9, 100);
    row("Options/DocumentSize", 1001, 100);
    row("Options/DocumentSize", 10, 10);
    row("Options/TurntableDriver", 2, 0);
    row("Options/TurntableDriver", -1, 0);
    row("Options/GrblTurnTime", 0, 80);
    row("Options/GrblTurnTime", 1, 1);
    row("Signal/WaveOUTDevID", -5, -5); // the stream falls back to the default device
    row("Signal/ReadBuffSize", 0, 0); // stored and kept, used by nothing
}

void TestSettings::unworkableValueIsReset()
{
    QFETCH(QString, key);
    QFETCH(int, stored);
    QFETCH(int, expected);
    const QString group = key.section(u'/', 0, 0);
    const QString name = key.section(u'/', 1);
    WriteIni("[1.0/" + group.toLatin1() + "]\n" + name.toLatin1() + '=' + QByteArray::number(stored)
             + "\n");
    const bool reset = expected != stored;
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        TSettings s;
        QCOMPARE(s.ReadSettings(store), reset ? QStringList { key } : QStringList());
        const auto field = std::find_if(std::begin(IntSettings), std::end(IntSettings),
                                        [&](const TIntSetting &i) { return name == i.Name; });
        QVERIFY(field != std::end(IntSettings));
        QCOMPARE(s.*(field->Field), expected);
    }
    // The default is what the store holds from now on.
    QSettings check(IniPath(), QSettings::IniFormat);
    QCOMPARE(check.value("1.0/" + key).toString(), QString::number(expected));
}

void TestSettings::tempDirRepair_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("taken");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray("TempDir=\n") << false;
    QTest::newRow("not a single text") << QByteArray("TempDir=/a, /b\n") << false;
    QTest::newRow("folder") << QByteArray("TempDir=/home/u/pomiary\n") << true;
    QTest::newRow("quoted with comma") << QByteArray("TempDir=\"/home/u/a,b\"\n") << true;
}

void TestSettings::tempDirRepair()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, taken);
    WriteIni("[1.0/Options]\n" + line);
    QString read;
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        TSettings s;
        s.ReadSettings(store);
        read = s.TempDir;
    }
    QSettings check(IniPath(), QSettings::IniFormat);
    const QString stored = check.value("1.0/Options/TempDir").toString();
    QCOMPARE(stored, read);
    if (taken)
        QVERIFY(read != TSettings::DefaultTempDir());
    else
        QCOMPARE(read, TSettings::DefaultTempDir());
}

void TestSettings::writeThenReadRoundTrip()
{
    TSettings written;
    written.TempDir = QStringLiteral("/var/tmp/Ząb");
    for (const TIntSetting &i : IntSettings)
        written.*(i.Field) = i.Unusual;
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        written.WriteSettings(store);
    }
    QSettings store(IniPath(), QSettings::IniFormat);
    TSettings read;
    read.ReadSettings(store);
    QCOMPARE(read.TempDir, written.TempDir);
    for (const TIntSetting &i : IntSettings)
        QCOMPARE(read.*(i.Field), written.*(i.Field));
}

void TestSettings::storeLocation()
{
    const std::unique_ptr<QSettings> store = OpenSettingsStore();
    QVERIFY(store);
    QCOMPARE(store->organizationName(), QStringLiteral("Selvane"));
    QCOMPARE(store->applicationName(), QStringLiteral("Orvix"));
    QCOMPARE(store->scope(), QSettings::UserScope);
#ifndef Q_OS_WIN
    QCOMPARE(store->format(), QSettings::IniFormat);
#endif
}

void TestSettings::oldDefaultReplacedOnce_data()
{
    // "{tmp}" stands for the system's temporary folder.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked"); // stored by a version that knows the per-user folder
    QTest::addColumn<bool>("replaced");
    QTest::newRow("old default") << "{tmp}" << false << true;
    QTest::newRow("old default, trailing separator") << "{tmp}/" << false << true;
    QTest::newRow("old default, /tmp") << "/tmp" << false << true;
    QTest::newRow("user's folder") << "/srv/pomiary" << false << false;
    QTest::newRow("inside the temporary folder") << "{tmp}/pomiary" << false << false;
    QTest::newRow("temporary folder chosen by hand") << "{tmp}" << true << false;
}

void TestSettings::oldDefaultReplacedOnce()
{
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    QFETCH(bool, replaced);
    stored.replace(QLatin1String("{tmp}"), QDir::tempPath());
    QByteArray text = "[1.0/Options]\nTempDir=" + stored.toUtf8() + '\n';
    if (checked)
        text += "TempDirChecked=1\n";
    WriteIni(text);
    const QString expected = replaced ? TSettings::DefaultTempDir() : stored;

    // What orvi-cli reads: the same folder, and the store not touched.
    QFile ini(IniPath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    {
        const QSettings store(IniPath(), QSettings::IniFormat);
        QCOMPARE(TSettings::StoredTempDir(store), expected);
    }
    QVERIFY(ini.seek(0));
    QCOMPARE(ini.readAll(), before);

    {
        QSettings store(IniPath(), QSettings::IniFormat);
        TSettings s;
        s.ReadSettings(store);
        QCOMPARE(s.TempDir, expected);
    }
    QSettings check(IniPath(), QSettings::IniFormat);
    QCOMPARE(check.value("1.0/Options/TempDir").toString(), expected);
    // The replacement happens only once: the next start keeps what it finds.
    TSettings again;
    again.ReadSettings(check);
    QCOMPARE(again.TempDir, expected);
}

void TestSettings::systemTempChosenLaterIsKept()
{
    WriteIni("[1.0/Options]\nTempDir=" + QDir::tempPath().toUtf8() + '\n');
    TSettings s;
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        s.ReadSettings(store);
    }
    QCOMPARE(s.TempDir, TSettings::DefaultTempDir());
    s.TempDir = QDir::tempPath(); // chosen in "Opcje"
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        s.WriteSettings(store);
    }
    QSettings store(IniPath(), QSettings::IniFormat);
    TSettings next;
    next.ReadSettings(store);
    QCOMPARE(next.TempDir, QDir::tempPath());
    QCOMPARE(TSettings::StoredTempDir(store), QDir::tempPath());
}

void TestSettings::perUserFolderIsPrivate()
{
    const QString folder = TSettings::PerUserFolder();
    QDir(folder).removeRecursively();
    QVERIFY(TSettings::MakeWorkingFolder(folder + QDir::separator()));
    QVERIFY(QFileInfo(folder).isDir());
    const QFile::Permissions all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
        | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(folder).permissions() & all,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestSettings::otherFoldersAreLeftAlone()
{
    // A folder the user chose is not made for them (the options dialog warns instead)...
    const QString missing = m_dir.filePath(QStringLiteral("brak"));
    QVERIFY(!TSettings::MakeWorkingFolder(missing));
    QVERIFY(!QFileInfo::exists(missing));
    // ...and one that exists keeps its mode; the per-user folder that exists too.
    const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
        | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    for (const QString &folder :
         { m_dir.filePath(QStringLiteral("shared")), TSettings::PerUserFolder() }) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, open));
        QVERIFY(TSettings::MakeWorkingFolder(folder));
        QCOMPARE(QFileInfo(folder).permissions() & open, open);
    }
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_Settings.moc"
