// The recent-files list: order, limit, storage under "1.0/RecentFilesMRU".
#include "app/RecentFiles.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void addOrder_data();
    void addOrder();
    void eleventhDropsOldest();
    void saveWritesLettersAndList();
    void saveLoadKeepsOrder();
    void shorterListIgnoresLeftovers();
    void loadSkipsMissingAndEmpty();
    void loadRepairsNonTextList();
    void loadWithoutList();
    void menuCaptions();

private:
    // One file per test row: QSettings caches files by name within the process.
    QString IniPath() const
    {
        return m_dir.filePath(
            QStringLiteral("%1-%2.conf")
                .arg(QLatin1String(QTest::currentTestFunction()),
                     QString::fromLatin1(QByteArray(QTest::currentDataTag()).toHex())));
    }
    QTemporaryDir m_dir;
};

void TestRecentFiles::init()
{
    QVERIFY(m_dir.isValid());
    QFile::remove(IniPath());
}

void TestRecentFiles::addOrder_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("newest first") << QStringList { "x", "y", "z" } << QStringList { "z", "y", "x" };
    QTest::newRow("again moves to top")
        << QStringList { "x", "y", "z", "y" } << QStringList { "y", "z", "x" };
    QTest::newRow("top again unchanged")
        << QStringList { "x", "y", "y" } << QStringList { "y", "x" };
    QTest::newRow("empty path ignored") << QStringList { "x", "" } << QStringList { "x" };
}

void TestRecentFiles::addOrder()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, items);
    TRecentFiles list;
    for (const QString &p : added)
        list.Add(p);
    QCOMPARE(list.Items(), items);
}

void TestRecentFiles::eleventhDropsOldest()
{
    TRecentFiles list;
    for (int i = 1; i <= 11; ++i)
        list.Add(QStringLiteral("/f/%1.OvK").arg(i));
    QCOMPARE(list.Count(), 10);
    QCOMPARE(list.Items().first(), QStringLiteral("/f/11.OvK"));
    QCOMPARE(list.Items().last(), QStringLiteral("/f/2.OvK"));
    QVERIFY(!list.Items().contains(QStringLiteral("/f/1.OvK")));
}

void TestRecentFiles::saveWritesLettersAndList()
{
    TRecentFiles list;
    list.Add("/c");
    list.Add("/b");
    list.Add("/a");
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        list.Save(store);
    }
    QSettings check(IniPath(), QSettings::IniFormat);
    check.beginGroup("1.0/RecentFilesMRU");
    QCOMPARE(check.value("MRUList").toString(), QStringLiteral("abc"));
    QCOMPARE(check.value("a").toString(), QStringLiteral("/a"));
    QCOMPARE(check.value("b").toString(), QStringLiteral("/b"));
    QCOMPARE(check.value("c").toString(), QStringLiteral("/c"));
}

void TestRecentFiles::saveLoadKeepsOrder()
{
    TRecentFiles list;
    for (const char *p : { "/z.OvK", "/y ą.OvK", "/x.OvK" })
        list.Add(QString::fromUtf8(p));
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        list.Save(store);
    }
    QSettings store(IniPath(), QSettings::IniFormat);
    TRecentFiles loaded;
    loaded.Load(store);
    QCOMPARE(loaded.Items(), list.Items());
    QCOMPARE(loaded.Items().first(), QStringLiteral("/x.OvK"));
}

void TestRecentFiles::shorterListIgnoresLeftovers()
{
    QSettings store(IniPath(), QSettings::IniFormat);
    TRecentFiles longer;
    for (const char *p : { "/1", "/2", "/3", "/4" })
        longer.Add(p);
    longer.Save(store);
    TRecentFiles shorter;
    shorter.Add("/only");
    shorter.Save(store);

    store.beginGroup("1.0/RecentFilesMRU");
    QCOMPARE(store.value("d").toString(), QStringLiteral("/1")); // left over, not deleted
    store.endGroup();
    TRecentFiles loaded;
    loaded.Load(store);
    QCOMPARE(loaded.Items(), QStringList { "/only" });
}

void TestRecentFiles::loadSkipsMissingAndEmpty()
{
    {
        QFile f(IniPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[1.0/RecentFilesMRU]\nMRUList=cbqa\na=/first\nb=\nc=/top\n");
    }
    QSettings store(IniPath(), QSettings::IniFormat);
    TRecentFiles loaded;
    loaded.Load(store);
    QCOMPARE(loaded.Items(), (QStringList { "/top", "/first" }));
}

void TestRecentFiles::loadRepairsNonTextList()
{
    {
        QFile f(IniPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[1.0/RecentFilesMRU]\nMRUList=a, b\na=/first\nb=/second\n");
    }
    {
        QSettings store(IniPath(), QSettings::IniFormat);
        TRecentFiles loaded;
        loaded.Add("/stale");
        loaded.Load(store);
        QCOMPARE(loaded.Count(), 0);
    }
    QSettings check(IniPath(), QSettings::IniFormat);
    QCOMPARE(check.value("1.0/RecentFilesMRU/MRUList").typeId(), QMetaType::QString);
    QCOMPARE(check.value("1.0/RecentFilesMRU/MRUList").toString(), QString());
}

void TestRecentFiles::loadWithoutList()
{
    QSettings store(IniPath(), QSettings::IniFormat);
    TRecentFiles loaded;
    loaded.Load(store);
    QCOMPARE(loaded.Count(), 0);
    QVERIFY(!store.contains("1.0/RecentFilesMRU/MRUList"));
}

void TestRecentFiles::menuCaptions()
{
    TRecentFiles list;
    for (int i = 10; i >= 1; --i)
        list.Add(QStringLiteral("/d/%1.OvK").arg(i));
    QCOMPARE(list.MenuCaption(0), QStringLiteral("&1 /d/1.OvK"));
    QCOMPARE(list.MenuCaption(8), QStringLiteral("&9 /d/9.OvK"));
    QCOMPARE(list.MenuCaption(9), QStringLiteral("&A /d/10.OvK"));
    QCOMPARE(list.MenuCaption(10), QString());
    list.Add("/R&D.OvK");
    QCOMPARE(list.MenuCaption(0), QStringLiteral("&1 /R&&D.OvK"));
}

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "tst_RecentFiles.moc"
