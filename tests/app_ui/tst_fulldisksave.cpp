// The main window's save, save-as and export on a disk that cannot take the whole file: the
// user is told once, the document keeps its "~", and nothing on disk changes.

#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/OvkFile.h"
#include "document/helpers/FileSizeLimit.h"
#include "document/ui/FrmChild.h"
#include "document_ui/helpers/TestFiles.h"
#include "helpers/MainFixture.h"

#include <QtTest>

class TestFullDiskSave : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }

    void saveKeepsOldFileAndModifiedMark();
    void saveAsToNewNameCreatesNothing();
    void exportShowsOneErrorAndLeavesNoFile();

private:
    QString Path(const QString &name) const { return m_fixture.Path(name); }
    static QByteArray Read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Makes the active document about 6.8 KB, more than the limit.
    static void Grow(TFrmChild &doc)
    {
        TSeries *s = doc.Graph().GetSeries(doc.Graph().MaxSeriesNumber() + 1);
        for (int i = 0; i < 400; ++i)
            s->Add(i * 0.9, -0.01 * i);
    }
    QStringList Files() const { return QDir(m_fixture.Dir.path()).entryList(QDir::Files); }

    TMainFixture m_fixture;
};

void TestFullDiskSave::saveKeepsOldFileAndModifiedMark()
{
    const QString path = Path("good.OvK");
    WriteTestDocument(path, "Dobry");
    const QByteArray before = Read(path);
    auto main = m_fixture.MakeMain();
    QVERIFY(main->OpenDocument(path));
    TFrmChild *doc = main->ActiveDocument();
    Grow(*doc);
    QVERIFY(doc->Modified());
    {
        const TFileSizeLimit limit(4096);
        QVERIFY(limit.Ok());
        main->Actions().acZapisz->trigger();
    }
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    QCOMPARE(m_fixture.Prompts->Messages.first().Icon, QMessageBox::Critical);
    QVERIFY2(m_fixture.Prompts->Messages.first().Text.contains(QLatin1String("File too large")),
             qPrintable(m_fixture.Prompts->Messages.first().Text));
    QVERIFY(doc->Modified());
    QVERIFY(doc->Caption().endsWith(QLatin1Char('~')));
    QCOMPARE(Read(path), before);
    QCOMPARE(Files().filter(QStringLiteral("good")), QStringList { QStringLiteral("good.OvK") });

    // With room again the same save goes through.
    main->Actions().acZapisz->trigger();
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    QVERIFY(!doc->Modified());
    QVERIFY(Read(path).size() > 6000);
}

void TestFullDiskSave::saveAsToNewNameCreatesNothing()
{
    auto main = m_fixture.MakeMain();
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    Grow(*doc);
    const QString target = Path("nowy.OvK");
    const QStringList before = Files();
    m_fixture.Prompts->DialogAnswers.push_back({ true, target, 0 });
    {
        const TFileSizeLimit limit(4096);
        main->Actions().acZapiszJako->trigger();
    }
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(Files(), before);
    QVERIFY(doc->Modified());
    QVERIFY(doc->DocFile().Untitled);
    // The chosen name stays with the document and is proposed again.
    m_fixture.Prompts->DialogAnswers.push_back({ false, {}, 0 });
    main->Actions().acZapisz->trigger();
    QCOMPARE(m_fixture.Prompts->Dialogs.last().FileName, QDir::toNativeSeparators(target));
}

void TestFullDiskSave::exportShowsOneErrorAndLeavesNoFile()
{
    WriteTestDocument(Path("exp.OvK"), "Eksport", 3);
    auto main = m_fixture.MakeMain();
    QVERIFY(main->OpenDocument(Path("exp.OvK")));
    QTemporaryDir out;
    m_fixture.Prompts->DialogAnswers.push_back({ true, out.filePath("plot.svg"), 2 });
    {
        const TFileSizeLimit limit(2048);
        main->Actions().acZapiszWykres->trigger();
    }
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    QVERIFY(m_fixture.Prompts->Messages.first().Text.contains(QLatin1String("File too large")));
    QVERIFY(QDir(out.path()).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(TestFullDiskSave)
#include "tst_fulldisksave.moc"
