#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "app/ui/FrmSplash.h"
#include "app/ui/MainActions.h"
#include "chart/PolarGraph.h"
#include "chart/ui/PolarGraphView.h"
#include "controls/Messages.h"
#include "controls/VirtualClock.h"
#include "controls/ui/FormHelpers.h"
#include "document/OvkFile.h"
#include "document/ui/FrmChild.h"
#include "document_ui/helpers/IsolatedSettings.h"
#include "document_ui/helpers/PromptStub.h"
#include "document_ui/helpers/TestFiles.h"
#include "helpers/MainFixture.h"
#include "helpers/StandInPort.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/TurntableController.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

// A window that records the program-wide messages it is sent.
class TMessageProbe : public QWidget
{
public:
    QList<int> Received;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() >= QEvent::User)
            Received.append(event->type());
        return QWidget::event(event);
    }
};

class TestFrmMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newDocumentNames();
    void closeAllAsksForModifiedOnly();
    void firstShowCreatesDocumentAndDropsSplash();
    void commandLineFiles();
    void invalidFilesAreNotOpened();
    void unopenableFileIsReported_data();
    void unopenableFileIsReported();
    void unworkableSettingsAreReportedOnce();
    void droppedFiles();

    void filesDroppedOnAChart();
    void windowMenuListsDocuments();

    void saveAsThenSave();
    void failedSaveAsKeepsDocumentUntitled();
    void failedSaveAsOfOpenedFileAsksOnNextSave();
    void exportReplacesExtension_data();
    void exportReplacesExtension();

    void actionStates();
    void toolWindowsToggleAndTick();
    void turntableAngleUpkeep_data();
    void turntableAngleUpkeep();
    void shutDown_data();
    void shutDown();

    void hintGoesToPanel0();
    void cursorReadoutAndClearing();
    void proposedMeasurement_data();
    void proposedMeasurement();

    void screenshot();

private:
    QString Path(const QString &name) const { return m_fixture.Path(name); }
    std::unique_ptr<TFrmMain> MakeMain() { return m_fixture.MakeMain(); }

    TMainFixture m_fixture;
    QTemporaryDir &m_dir = m_fixture.Dir;
    TVirtualClock &m_clock = m_fixture.Clock;
    std::unique_ptr<TPromptStub> &m_prompts = m_fixture.Prompts;
};

void TestFrmMain::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestFrmMain::init()
{
    m_fixture.Init();
}

void TestFrmMain::cleanup()
{
    m_fixture.Cleanup();
}

void TestFrmMain::newDocumentNames()
{
    auto main = MakeMain();
    const TMainActions &a = main->Actions();
    a.acNowy->trigger();
    a.acNowy->trigger();
    a.acNowy->trigger();
    QStringList captions;
    for (TFrmChild *doc : main->Documents())
        captions << doc->Caption();
    QCOMPARE(captions, QStringList({ "Seria_1", "Seria_2", "Seria_3" }));
    TFrmChild *first = main->Documents().first();
    QCOMPARE(first->Graph().Title(), QStringLiteral("Seria_1"));
    QVERIFY(!first->Modified());
    QVERIFY(first->DocFile().Untitled);
    QCOMPARE(first->DocFile().FullPath(), m_dir.path() + QDir::separator() + "Seria_1");

    // After closing one of three the next name is one already in use.
    first->parentWidget()->close();
    QCOMPARE(main->DocumentCount(), 2);
    a.acNowy->trigger();
    QCOMPARE(main->Documents().last()->Caption(), QStringLiteral("Seria_3"));
    QCOMPARE(main->Documents().at(1)->Caption(), QStringLiteral("Seria_3"));
}

void TestFrmMain::closeAllAsksForModifiedOnly()
{
    auto main = MakeMain();
    main->show();
    for (int i = 0; i < 3; ++i)
        main->Actions().acNowy->trigger();
    main->Documents().at(1)->Graph().GetSeries(0)->Add(0, -1);
    QVERIFY(main->Actions().acZamknijWszy->isEnabled());

    m_prompts->MessageAnswers.push_back(QMessageBox::No);
    main->Actions().acZamknijWszy->trigger();

    QCOMPARE(main->DocumentCount(), 0);
    QCOMPARE(m_prompts->Messages.size(), 1);
    QCOMPARE(m_prompts->Messages.first().Text, QStringLiteral("Zapisać zmiany w Seria_2~?"));
    QVERIFY(m_prompts->Dialogs.isEmpty()); // nothing saved
    QVERIFY(!main->Actions().acZamknijWszy->isEnabled());
    QVERIFY(!main->Actions().acZapisz->isEnabled());
}

void TestFrmMain::firstShowCreatesDocumentAndDropsSplash()
{
    auto main = MakeMain();
    main->SetSplash(std::make_unique<TFrmSplash>());
    main->Splash()->ShowNow();
    const qint64 before = m_clock.NowMs();
    main->show();
    QTRY_VERIFY(main->Splash() == nullptr);
    QCOMPARE(m_clock.NowMs() - before, 500); // the splash pause, in the program's clock
    QCOMPARE(main->DocumentCount(), 1);
    QCOMPARE(main->ActiveDocument()->Caption(), QStringLiteral("Seria_1"));
}

void TestFrmMain::commandLineFiles()
{
    WriteTestDocument(Path("cl1.OvK"), "Pierwszy");
    WriteTestDocument(Path("cl2.OvK"), "Drugi", 2);
    auto main = MakeMain();
    main->OpenCommandLineFiles({ Path("cl1.OvK"), Path("cl2.OvK") });
    main->show();
    QTest::qWait(20);
    QCOMPARE(main->DocumentCount(), 2); // no new document on top of them
    QCOMPARE(main->Documents().at(0)->Caption(), QDir::toNativeSeparators(Path("cl1.OvK")));
    QCOMPARE(main->Documents().at(1)->Graph().Title(), QStringLiteral("Drugi"));
    QCOMPARE(main->Documents().at(1)->Graph().SeriesCount(), 2);
    QVERIFY(!main->Documents().at(1)->Modified());
    QVERIFY(!main->Documents().at(1)->DocFile().Untitled);
    QCOMPARE(main->RecentFiles().Count(), 0);

    // The same file again is a second, independent window.
    QVERIFY(main->OpenDocument(Path("cl1.OvK")));
    QCOMPARE(main->DocumentCount(), 3);
}

void TestFrmMain::invalidFilesAreNotOpened()
{
    WriteForeignFile(Path("foreign.OvK"));
    QFile tiny(Path("tiny.OvK"));
    QVERIFY(tiny.open(QIODevice::WriteOnly));
    tiny.write("ORVI SYST");
    tiny.close();
    // Declares two series but holds none.
    WriteTestDocument(Path("cut.OvK"), "Cut", 2);
    QFile cut(Path("cut.OvK"));
    QVERIFY(cut.resize(400));

    auto main = MakeMain();
    QVERIFY(!main->OpenDocument(Path("missing.OvK")));
    QVERIFY(!main->OpenDocument(Path("tiny.OvK")));
    QCOMPARE(m_prompts->Messages.size(), 2); // each with its reason (unopenableFileIsReported)

    QVERIFY(!main->OpenDocument(Path("foreign.OvK")));
    QCOMPARE(m_prompts->Messages.size(), 3);
    QCOMPARE(m_prompts->Messages.last().Text,
             InvalidFileMessage(QDir::toNativeSeparators(Path("foreign.OvK"))));
    QCOMPARE(m_prompts->Messages.last().Icon, QMessageBox::Critical);

    QVERIFY(!main->OpenDocument(Path("cut.OvK")));
    QCOMPARE(m_prompts->Messages.size(), 4); // the read error is reported
    QCOMPARE(main->DocumentCount(), 0);
    QCOMPARE(main->MdiArea()->subWindowList().size(), 0);
}

void TestFrmMain::unopenableFileIsReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // null: nothing made; "dir": a folder
    QTest::addColumn<bool>("fromMenu"); // the open dialog, otherwise the command line
    QTest::addColumn<QString>("reason");
    const QString missing = QStringLiteral("plik nie istnieje.");
    const QString folder = QStringLiteral("to jest folder.");
    const QString shortFile = QStringLiteral("plik jest za krótki jak na plik charakterystyki.");
    QTest::newRow("missing, command line") << "missing.OvK" << QByteArray() << false << missing;
    QTest::newRow("missing, menu") << "gone.OvK" << QByteArray() << true << missing;
    QTest::newRow("folder") << "folder.OvK" << QByteArray("dir") << false << folder;
    QTest::newRow("folder, menu") << "folder2.OvK" << QByteArray("dir") << true << folder;
    QTest::newRow("empty") << "empty.OvK" << QByteArray("") << false << shortFile;
    QTest::newRow("15 bytes, menu")
        << "short.OvK" << QByteArray("ORVI SYSTEM V1.") << true << shortFile;
}

void TestFrmMain::unopenableFileIsReported()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, fromMenu);
    QFETCH(QString, reason);
    const QString path = Path(name);
    if (content == "dir")
        QVERIFY(QDir().mkpath(path));
    else if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    auto main = MakeMain();
    if (fromMenu) {
        m_prompts->DialogAnswers.push_back({ true, path, 0 });
        main->Actions().acOtworz->trigger();
    } else {
        main->OpenCommandLineFiles({ path });
    }
    QCOMPARE(m_prompts->Messages.size(), 1);
    QCOMPARE(m_prompts->Messages.first().Icon, QMessageBox::Critical);
    QCOMPARE(m_prompts->Messages.first().Text,
             QStringLiteral("Nie można otworzyć pliku „%1”: %2")
                 .arg(QDir::toNativeSeparators(path), reason));
    QCOMPARE(main->RecentFiles().Count(), 0);
    // Nothing was opened: the first showing still gives the new document.
    main->show();
    QTRY_COMPARE(main->DocumentCount(), 1);
    QCOMPARE(main->ActiveDocument()->Caption(), QStringLiteral("Seria_1"));
}

void TestFrmMain::unworkableSettingsAreReportedOnce()
{
    {
        std::unique_ptr<QSettings> store = OpenSettingsStore();
        store->setValue("1.0/Signal/PlayBuffSize", 2147483647);
        store->setValue("1.0/Signal/InSampleRate", 0);
        store->setValue("1.0/Signal/OutSampleRate", 32000); // unusual, but it works
        store->sync();
    }
    {
        auto main = MakeMain();
        QCOMPARE(m_prompts->Messages.size(), 1);
        const QString text = m_prompts->Messages.first().Text;
        QVERIFY2(text.contains("Signal/PlayBuffSize = 8192"), qPrintable(text));
        QVERIFY2(text.contains("Signal/InSampleRate = 44100"), qPrintable(text));
        QVERIFY2(!text.contains("OutSampleRate"), qPrintable(text));
        QCOMPARE(Settings().PlayBuffSize, 8192);
        QCOMPARE(Settings().OutSampleRate, 32000);
    }
    // Repaired in the store: the next start says nothing.
    Settings() = TSettings();
    auto again = MakeMain();
    QCOMPARE(m_prompts->Messages.size(), 1);
    QCOMPARE(Settings().PlayBuffSize, 8192);
    QCOMPARE(Settings().InSampleRate, 44100);
}

void TestFrmMain::droppedFiles()
{
    WriteTestDocument(Path("drop1.OvK"), "Jeden");
    WriteForeignFile(Path("drop2.txt"));
    WriteTestDocument(Path("drop3.OvK"), "Trzy");
    auto main = MakeMain();
    main->show();

    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(Path("drop1.OvK")), QUrl::fromLocalFile(Path("drop2.txt")),
                   QUrl::fromLocalFile(Path("drop3.OvK")) });
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(main.get(), &drop);

    // The foreign file is reported and does not stop the third.
    QCOMPARE(m_prompts->Messages.size(), 1);
    QCOMPARE(m_prompts->Messages.first().Text,
             InvalidFileMessage(QDir::toNativeSeparators(Path("drop2.txt"))));
    QStringList titles;
    for (TFrmChild *doc : main->Documents())
        titles << doc->Graph().Title();
    QVERIFY(titles.contains("Jeden") && titles.contains("Trzy"));
    QCOMPARE(main->RecentFiles().Count(), 0);
}

void TestFrmMain::filesDroppedOnAChart()
{
    // A chart takes only series from the series editor; files go on to the frame.
    WriteTestDocument(Path("onchart.OvK"), "Na wykres");
    auto main = MakeMain();
    main->show();
    main->Actions().acNowy->trigger();
    TPolarGraphView &view = main->ActiveDocument()->GraphView();

    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(Path("onchart.OvK")) });
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &drop);
    QCOMPARE(main->DocumentCount(), 2);
    QCOMPARE(main->ActiveDocument()->Graph().Title(), QStringLiteral("Na wykres"));
}

void TestFrmMain::windowMenuListsDocuments()
{
    auto main = MakeMain();
    main->show();
    main->Actions().acNowy->trigger();
    main->Actions().acNowy->trigger();
    main->ActiveDocument()->SetCaption(QStringLiteral("A&B"));
    emit main->WindowMenu()->aboutToShow();
    QStringList texts;
    QAction *checked = nullptr;
    for (QAction *action : main->WindowMenu()->actions()) {
        if (action->isSeparator())
            continue;
        texts << action->text();
        if (action->isChecked())
            checked = action;
    }
    QCOMPARE(texts,
             QStringList({ "&Kaskada", "&Sąsiadująco w pionie", "Sąsiadująco w &poziomie",
                           "&1 Seria_1", "&2 A&&B" }));
    QVERIFY(checked && checked->text() == QStringLiteral("&2 A&&B"));
    main->WindowMenu()->actions().at(4)->trigger(); // "&1 Seria_1"
    QCOMPARE(main->ActiveDocument(), main->Documents().first());
}

void TestFrmMain::saveAsThenSave()
{
    auto main = MakeMain();
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    doc->Graph().GetSeries(0)->Add(10, -2);
    QVERIFY(doc->Modified());

    // Save of an untitled document asks for a name, proposed from the working folder.
    const QString target = QDir::toNativeSeparators(Path("saved.OvK"));
    m_prompts->DialogAnswers.push_back({ true, target, 0 });
    main->Actions().acZapisz->trigger();
    QCOMPARE(m_prompts->Dialogs.size(), 1);
    QCOMPARE(m_prompts->Dialogs.first().FileName, m_dir.path() + QDir::separator() + "Seria_1");
    QCOMPARE(m_prompts->Dialogs.first().DefaultSuffix, QStringLiteral("OvK"));
    QVERIFY(!doc->Modified());
    QVERIFY(!doc->DocFile().Untitled);
    QCOMPARE(doc->Caption(), target);
    QCOMPARE(doc->DocFile().Info, QStringLiteral("Nieznany"));
    QCOMPARE(QFileInfo(target).size(), 332 + 58 + 16);

    // The next save writes without asking, with the chart's title.
    doc->Graph().SetTitle(QStringLiteral("Nowy tytuł"));
    QVERIFY(doc->Modified());
    main->Actions().acZapisz->trigger();
    QCOMPARE(m_prompts->Dialogs.size(), 1);
    QVERIFY(!doc->Modified());
    QVERIFY(main->OpenDocument(target));
    QCOMPARE(main->ActiveDocument()->Graph().Title(), QStringLiteral("Nowy tytuł"));
}

void TestFrmMain::failedSaveAsKeepsDocumentUntitled()
{
    auto main = MakeMain();
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    doc->Graph().GetSeries(0)->Add(10, -2);
    const QString impossible = Path("no/such/folder/a.OvK");
    m_prompts->DialogAnswers.push_back({ true, impossible, 0 });
    main->Actions().acZapiszJako->trigger();
    QCOMPARE(m_prompts->Messages.size(), 1);
    QCOMPARE(m_prompts->Messages.first().Icon, QMessageBox::Critical);
    QVERIFY(doc->Modified());
    QVERIFY(doc->DocFile().Untitled);
    // The next save proposes the chosen name again.
    m_prompts->DialogAnswers.push_back({ false, {}, 0 });
    main->Actions().acZapisz->trigger();
    QCOMPARE(m_prompts->Dialogs.last().FileName, QDir::toNativeSeparators(impossible));
}

void TestFrmMain::failedSaveAsOfOpenedFileAsksOnNextSave()
{
    const QString original = Path("kept.OvK");
    WriteTestDocument(original, "Zachowany");
    const QByteArray before = [&] {
        QFile f(original);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    auto main = MakeMain();
    QVERIFY(main->OpenDocument(original));
    TFrmChild *doc = main->ActiveDocument();
    doc->Graph().GetSeries(5)->Add(10, -2);
    const QString impossible = Path("no/such/folder/b.OvK");
    m_prompts->DialogAnswers.push_back({ true, impossible, 0 });
    main->Actions().acZapiszJako->trigger();
    QCOMPARE(m_prompts->Messages.size(), 1);
    QVERIFY(doc->Modified());
    QVERIFY(doc->DocFile().Untitled);
    // Save asks for a name instead of writing silently to a file the caption does not show.
    m_prompts->DialogAnswers.push_back({ false, {}, 0 });
    main->Actions().acZapisz->trigger();
    QCOMPARE(m_prompts->Dialogs.size(), 2);
    QVERIFY(doc->Modified());
    QFile f(original);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TestFrmMain::exportReplacesExtension_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("magic");

    // EMF begins with record type 1 (EMR_HEADER), WMF with the placeable key 0x9AC6CDD7.
    QTest::newRow("emf") << "plot" << 0 << "plot.emf" << QByteArray("\x01\x00\x00\x00", 4);
    QTest::newRow("wmf filter, emf typed")
        << "plot.emf" << 1 << "plot.wmf" << QByteArray("\xD7\xCD\xC6\x9A", 4);
    QTest::newRow("svg") << "plot.x" << 2 << "plot.svg" << QByteArray("<?xm");
    QTest::newRow("pdf") << "plot" << 3 << "plot.pdf" << QByteArray("%PDF");
    QTest::newRow("png") << "plot.png" << 4 << "plot.png" << QByteArray("\x89PNG");
}

void TestFrmMain::exportReplacesExtension()
{
    QFETCH(QString, typed);
    QFETCH(int, filter);
    QFETCH(QString, written);
    QFETCH(QByteArray, magic);

    QTemporaryDir out;
    WriteTestDocument(Path("exp.OvK"), "Eksport");
    auto main = MakeMain();
    QVERIFY(main->OpenDocument(Path("exp.OvK")));
    m_prompts->DialogAnswers.push_back({ true, out.filePath(typed), filter });
    main->Actions().acZapiszWykres->trigger();

    QCOMPARE(m_prompts->Dialogs.size(), 1);
    QCOMPARE(m_prompts->Dialogs.first().FileName, QDir(m_dir.path()).filePath("exp"));
    QCOMPARE(m_prompts->Dialogs.first().Filters.mid(0, 2),
             QStringList({ "*.emf (*.emf)", "*.wmf (*.wmf)" }));
    QCOMPARE(m_prompts->Dialogs.first().DefaultSuffix, QStringLiteral("emf"));
    QCOMPARE(m_prompts->Messages.size(), 0);
    QFile file(out.filePath(written));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(written));
    QCOMPARE(file.read(magic.size()), magic);
}

void TestFrmMain::actionStates()
{
    auto main = MakeMain();
    const TMainActions &a = main->Actions();
    const QList<QAction *> needDocument
        = { a.acZapisz,  a.acZapiszJako, a.acZamknij, a.acZamknijWszy, a.acZapiszWykres,
            a.acOdswiez, a.acUstawienia, a.acDrukuj,  a.acDrukujExtra };
    for (QAction *action : needDocument)
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    QVERIFY(!main->SizeBox()->isEnabled());
    QVERIFY(a.acNowy->isEnabled() && a.acOtworz->isEnabled() && a.acZakoncz->isEnabled());
    QVERIFY(a.acKaskada->isEnabled() && a.acPion->isEnabled() && a.acPoziom->isEnabled());
    QCOMPARE(a.acPomoc->isEnabled(), QFileInfo::exists(TFrmMain::ManualPath()));
    if (!QFileInfo::exists(TFrmMain::ManualPath())) {
        // The manual beside the program enables "Dokumentacja" at the next update.
        QVERIFY(QDir().mkpath(QFileInfo(TFrmMain::ManualPath()).absolutePath()));
        QFile manual(TFrmMain::ManualPath());
        QVERIFY(manual.open(QIODevice::WriteOnly));
        manual.close();
        main->UpdateActions();
        QVERIFY(a.acPomoc->isEnabled());
        QVERIFY(QDir(QFileInfo(TFrmMain::ManualPath()).absolutePath()).removeRecursively());
        main->UpdateActions();
        QVERIFY(!a.acPomoc->isEnabled());
    }

    a.acNowy->trigger();
    for (QAction *action : needDocument)
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    QVERIFY(main->SizeBox()->isEnabled());

    // Windows that do not exist leave their actions disabled: nothing pretends to work.
    for (QAction *action : { a.acDodaj, a.acGenerator, a.acdBMeter, a.acSerie, a.acStolikKontrol })
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    QVERIFY(a.acUstawieniaG->isEnabled()); // the options need neither a document nor a window

    // The tools menu names the turntable item differently and follows its action.
    QAction *turntableItem = main->findChild<QAction *>(QStringLiteral("miStolikKontrol"));
    QVERIFY(turntableItem);
    QCOMPARE(turntableItem->text().section(QLatin1Char('\t'), 0, 0),
             QStringLiteral("&Kontrola stolika"));
    QCOMPARE(a.acStolikKontrol->text(), QStringLiteral("&Kontroler stolika"));
    QVERIFY(!turntableItem->isEnabled());

    a.acZamknij->trigger();
    QTRY_VERIFY(!a.acZapisz->isEnabled());
    QVERIFY(!main->SizeBox()->isEnabled());
}

void TestFrmMain::toolWindowsToggleAndTick()
{
    auto main = MakeMain();
    main->show();
    const TMainActions &a = main->Actions();
    auto *generator = new QWidget;
    auto *turntable = new QWidget;
    auto *editor = new QWidget;
    main->SetToolWindow(TFrmMain::EToolWindow::Generator, generator);
    main->SetToolWindow(TFrmMain::EToolWindow::Turntable, turntable);
    main->SetToolWindow(TFrmMain::EToolWindow::SeriesEditor, editor);
    QVERIFY(!generator->isVisible());
    // A tool window of the frame, which must not stay above the frame's modal dialogs.
    QCOMPARE(generator->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(!generator->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(a.acGenerator->isEnabled());
    QVERIFY(!a.acGenerator->isChecked());

    a.acGenerator->trigger();
    QVERIFY(generator->isVisible());
    QVERIFY(a.acGenerator->isChecked());
    generator->hide(); // closed by its own close box
    QTRY_VERIFY(!a.acGenerator->isChecked());

    // The turntable window needs the port; without it the window is hidden again.
    QVERIFY(!a.acStolikKontrol->isEnabled());
    main->SetPortAvailable(true);
    QVERIFY(a.acStolikKontrol->isEnabled());
    a.acStolikKontrol->trigger();
    QVERIFY(turntable->isVisible());
    main->SetPortAvailable(false);
    QVERIFY(!turntable->isVisible());
    QVERIFY(!a.acStolikKontrol->isEnabled());

    // The series editor needs a document and is hidden with the last one.
    main->CloseAllDocuments(); // the one made when the window was first shown
    QVERIFY(!a.acSerie->isEnabled());
    a.acNowy->trigger();
    a.acNowy->trigger();
    QVERIFY(a.acSerie->isEnabled());
    a.acSerie->trigger();
    QVERIFY(editor->isVisible());
    main->Actions().acZamknij->trigger();
    QVERIFY(editor->isVisible());
    main->Actions().acZamknij->trigger();
    QVERIFY(!editor->isVisible());
    QTRY_VERIFY(!a.acSerie->isEnabled());
}

void TestFrmMain::turntableAngleUpkeep_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("expected");

    QTest::newRow("back from 0") << 1 << 0 << 350;
    QTest::newRow("back from 100") << 1 << 100 << 90;
    QTest::newRow("forward from 350") << 2 << 350 << 0;
    QTest::newRow("forward from 0") << 2 << 0 << 10;
    QTest::newRow("returning to 0 from 0") << 4 << 0 << 350;
    QTest::newRow("returning to 0 from 20") << 4 << 20 << 10;
    QTest::newRow("stopped") << 3 << 120 << 120;
    QTest::newRow("stopped at 0 after a return") << 3 << 0 << 0;
    QTest::newRow("switched off") << 0 << 40 << 40;
}

void TestFrmMain::turntableAngleUpkeep()
{
    QFETCH(int, state);
    QFETCH(int, angle);
    QFETCH(int, expected);

    // Finds a status register value that the controller reads as the wanted state.
    quint8 status = 0;
    auto port = std::make_unique<TDLPrinterPortIO>(std::make_unique<TStandInPort>(&status));
    TTurntableController controller(std::move(port), m_clock);
    QVERIFY(controller.Open(1));
    bool found = false;
    for (int value = 0; value < 256 && !found; ++value) {
        status = quint8(value);
        found = controller.MotionState() == state;
    }
    QVERIFY(found);

    auto main = MakeMain();
    main->SetTurntable(&controller);
    controller.SetCurrentAngle(angle);
    TOrviEvent mark(OrviMessage::TurntableMark);
    QCoreApplication::sendEvent(main.get(), &mark);
    QCOMPARE(controller.CurrentAngle(), expected);
    QCOMPARE(main->StatusPanelText(1), QStringLiteral("%1°").arg(expected));

    // Twelve more marks forward make a full circle from wherever it is.
    for (int value = 0; value < 256; ++value) {
        status = quint8(value);
        if (controller.MotionState() == 2)
            break;
    }
    for (int i = 0; i < 36; ++i)
        QCoreApplication::sendEvent(main.get(), &mark);
    QCOMPARE(controller.CurrentAngle(), expected);
    main->SetTurntable(nullptr);
}

void TestFrmMain::shutDown_data()
{
    QTest::addColumn<bool>("port");
    QTest::newRow("with the port") << true;
    QTest::newRow("without the port") << false;
}

void TestFrmMain::shutDown()
{
    QFETCH(bool, port);

    auto main = MakeMain();
    auto *probe = new TMessageProbe;
    main->SetToolWindow(TFrmMain::EToolWindow::Meter, probe);
    main->SetPortAvailable(port);
    main->show();
    main->Actions().acNowy->trigger();
    main->ActiveDocument()->Graph().GetSeries(0)->Add(0, 0);
    main->ActiveDocument()->SetZoom(125);
    m_prompts->MessageAnswers = { QMessageBox::No, QMessageBox::Ok };

    main->Actions().acZakoncz->trigger();

    QVERIFY(!main->isVisible());
    QVERIFY(probe->Received.contains(OrviMessage::ProgramClosing));
    QCOMPARE(main->DocumentCount(), 0);
    const QString warning = QStringLiteral(
        "Przed zakończeniem pracy należy wyłączyć stolik,\r\naby przywrócić poprzedni stan "
        "portu LPT.\r\n\r\nGdy będziesz gotowy wciśnij OK.  ");
    QCOMPARE(m_prompts->Messages.size(), port ? 2 : 1);
    QCOMPARE(m_prompts->Messages.first().Text, QStringLiteral("Zapisać zmiany w Seria_1~?"));
    if (port) {
        QCOMPARE(m_prompts->Messages.last().Text, warning);
        QCOMPARE(m_prompts->Messages.last().Buttons, QMessageBox::Ok);
    }
    // The settings went to the store.
    std::unique_ptr<QSettings> store = OpenSettingsStore();
    TSettings stored;
    stored.ReadSettings(*store);
    QCOMPARE(stored.DocumentSize, 125);
}

void TestFrmMain::hintGoesToPanel0()
{
    auto main = MakeMain();
    QStatusTipEvent tip(main->Actions().acNowy->statusTip());
    QCoreApplication::sendEvent(main.get(), &tip);
    QCOMPARE(main->StatusPanelText(0), QStringLiteral("Tworzy nowy dokument"));
    QCOMPARE(main->Actions().acNowy->toolTip(), QStringLiteral("Nowy"));
    QCOMPARE(main->Actions().acZapiszJako->statusTip(),
             QStringLiteral("Zapisuje aktywny dokument z nową nazwą"));
    QStatusTipEvent none(QString {});
    QCoreApplication::sendEvent(main.get(), &none);
    QCOMPARE(main->StatusPanelText(0), QString());
}

void TestFrmMain::cursorReadoutAndClearing()
{
    auto main = MakeMain();
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    TPolarGraphView &view = doc->GraphView();
    view.grab();
    const QPoint c = doc->Graph().Center();
    const QPoint p(c.x() + doc->Graph().Radius() / 2, c.y() - 7);
    QMouseEvent move(QEvent::MouseMove, QPointF(p), view.mapToGlobal(QPointF(p)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &move);
    QCOMPARE(main->StatusPanelText(2), doc->CursorReadout(p.x(), p.y()));
    QVERIFY(main->StatusPanelText(2).endsWith(QStringLiteral(" dB ")));

    QToolBar *fileBar = main->findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    QVERIFY(fileBar);
    QMouseEvent overBar(QEvent::MouseMove, QPointF(2, 2), fileBar->mapToGlobal(QPointF(2, 2)),
                        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(fileBar, &overBar);
    QCOMPARE(main->StatusPanelText(2), QString());
}

void TestFrmMain::proposedMeasurement_data()
{
    QTest::addColumn<int>("made");
    QTest::addColumn<QList<int>>("deleted");
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("color");

    QTest::newRow("empty") << 0 << QList<int> {} << "Pomiar 1" << quint32(0x000080);
    QTest::newRow("0..2, 2 deleted") << 3 << QList<int> { 2 } << "Pomiar 4" << quint32(0x800080);
    QTest::newRow("0..8") << 9 << QList<int> {} << "Pomiar 10" << quint32(0x008000);
    QTest::newRow("0..1, all deleted")
        << 2 << QList<int> { 0, 1 } << "Pomiar 3" << quint32(0x800000);
}

void TestFrmMain::proposedMeasurement()
{
    QFETCH(int, made);
    QFETCH(QList<int>, deleted);
    QFETCH(QString, name);
    QFETCH(quint32, color);

    TPolarGraph graph;
    for (int i = 0; i < made; ++i)
        graph.GetSeries(i);
    for (int n : deleted)
        graph.DeleteSeries(n);
    const TMeasurementProposal proposal = TFrmMain::ProposeMeasurement(graph);
    QCOMPARE(proposal.Name, name);
    QCOMPARE(proposal.Color, color);
    QCOMPARE(proposal.Number, made);
}

void TestFrmMain::screenshot()
{
    // A picture of the window with a document, for a person to look at: ORVI_SCREENSHOT
    // names the file. Checked here only for being a real drawing.
    WriteTestDocument(Path("shot.OvK"), "Kolumna 1", 2);
    auto main = MakeMain();
    main->resize(1100, 800);
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    QVERIFY(main->OpenDocument(Path("shot.OvK")));
    main->ActiveDocument()->parentWidget()->showMaximized();
    QTest::qWait(50);
    const QImage image = main->grab().toImage();
    QVERIFY(image.width() >= 1100);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() > 10);
    const QByteArray target = qgetenv("ORVI_SCREENSHOT");
    if (!target.isEmpty())
        QVERIFY(image.save(QString::fromLocal8Bit(target)));
}

QTEST_MAIN(TestFrmMain)
#include "tst_FrmMain.moc"
