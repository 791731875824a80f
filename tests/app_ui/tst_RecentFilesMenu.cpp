#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "document/ui/FrmChild.h"
#include "document_ui/helpers/TestFiles.h"
#include "helpers/MainFixture.h"

#include <QAction>
#include <QMenu>

#include <QtTest>

class TestRecentFilesMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_fixture.Dir.isValid()); }
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }

    void recentFilesThroughWindow();
    void recentFilesStoredAndMenu();

private:
    QString Path(const QString &name) const { return m_fixture.Path(name); }
    std::unique_ptr<TFrmMain> MakeMain() { return m_fixture.MakeMain(); }

    TMainFixture m_fixture;
    std::unique_ptr<TPromptStub> &m_prompts = m_fixture.Prompts;
};

void TestRecentFilesMenu::recentFilesThroughWindow()
{
    QStringList files;
    for (int i = 0; i < 11; ++i) {
        files << QDir::toNativeSeparators(Path(QStringLiteral("r%1.OvK").arg(i)));
        WriteTestDocument(files.last(), QStringLiteral("R%1").arg(i));
    }
    auto main = MakeMain();
    auto openThroughDialog = [&](const QString &file) {
        m_prompts->DialogAnswers.push_back({ true, file, 0 });
        main->Actions().acOtworz->trigger();
    };
    openThroughDialog(files[0]); // x
    openThroughDialog(files[1]); // y
    openThroughDialog(files[2]); // z
    QCOMPARE(main->RecentFiles().Items(), QStringList({ files[2], files[1], files[0] }));
    QCOMPARE(m_prompts->Dialogs.first().Filters,
             QStringList { QStringLiteral("*.OvK (Ch-ki Kierunkowości) (*.OvK)") });

    openThroughDialog(files[1]); // opened again: moves to the top
    QCOMPARE(main->RecentFiles().Items(), QStringList({ files[1], files[2], files[0] }));

    // Choosing an entry of the menu opens it and leaves the order alone.
    const int before = main->DocumentCount();
    QList<QAction *> entries;
    for (QAction *action : main->FileMenu()->actions())
        if (action->objectName().startsWith(QLatin1String("miRecent")))
            entries << action;
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(2)->text(), QStringLiteral("&3 ") + QString(files[0]).replace("&", "&&"));
    entries.at(2)->trigger();
    QCOMPARE(main->DocumentCount(), before + 1);
    QCOMPARE(main->ActiveDocument()->Graph().Title(), QStringLiteral("R0"));
    QCOMPARE(main->RecentFiles().Items(), QStringList({ files[1], files[2], files[0] }));

    // A failing file is not added; a cancelled dialog changes nothing.
    WriteForeignFile(Path("bad.OvK"));
    openThroughDialog(QDir::toNativeSeparators(Path("bad.OvK")));
    m_prompts->DialogAnswers.push_back({ false, {}, 0 });
    main->Actions().acOtworz->trigger();
    QCOMPARE(main->RecentFiles().Count(), 3);

    // Eleven distinct files: the oldest goes.
    for (int i = 3; i < 11; ++i)
        openThroughDialog(files[i]);
    QCOMPARE(main->RecentFiles().Count(), 10);
    QCOMPARE(main->RecentFiles().Items().first(), files[10]);
    QVERIFY(!main->RecentFiles().Items().contains(files[0]));
    QVERIFY(main->RecentFiles().Items().contains(files[2]));
}

void TestRecentFilesMenu::recentFilesStoredAndMenu()
{
    const QString x = QStringLiteral("/data/x.OvK"), y = QStringLiteral("/data/y&z.OvK"),
                  z = QStringLiteral("/data/z.OvK");
    {
        auto main = MakeMain();
        main->RecentFiles().Add(z);
        main->RecentFiles().Add(y);
        main->RecentFiles().Add(x);
        main->close(); // shut-down stores the list
    }
    auto main = MakeMain(); // creation loads it
    QCOMPARE(main->RecentFiles().Items(), QStringList({ x, y, z }));
    QStringList captions;
    for (QAction *action : main->FileMenu()->actions())
        if (action->objectName().startsWith(QLatin1String("miRecent")))
            captions << action->text();
    QCOMPARE(captions, QStringList({ "&1 " + x, "&2 /data/y&&z.OvK", "&3 " + z }));
    // They come after the separator that follows "Za&koncz".
    const QList<QAction *> all = main->FileMenu()->actions();
    const qsizetype quit = all.indexOf(main->Actions().acZakoncz);
    QVERIFY(all.at(quit + 1)->isSeparator());
    QCOMPARE(all.at(quit + 2)->text(), captions.first());
}

QTEST_MAIN(TestRecentFilesMenu)
#include "tst_RecentFilesMenu.moc"
