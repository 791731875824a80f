#include "app/ui/MainActions.h"
#include "app/ui/SeriesEditorSetup.h"
#include "chart/PolarGraph.h"
#include "chart/ui/FrmSerie.h"
#include "chart/ui/GraphSet.h"
#include "chart/ui/PolarGraphView.h"
#include "document/ui/FrmChild.h"
#include "document_ui/helpers/TestFiles.h"
#include "helpers/MainFixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

// The series editor inside the main window: binding on activation, on closing and on a
// failed load, dragging series between documents, and the chart settings dialog.
class TestSeriesEditorSetup : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }

    void bindsActiveDocument();
    void closingDocumentsRebindsAndHides();
    void failedLoadLeavesNoDeletedChart();
    void dropOnlyOnAnotherChart();
    void settingsFromChartAndMenu_data();
    void settingsFromChartAndMenu();

private:
    // A shown main window with its series editor and no document; nullptr when the window
    // could not be shown.
    std::unique_ptr<TFrmMain> MakeMain()
    {
        auto main = m_fixture.MakeMain();
        m_editor = InstallSeriesEditor(*main);
        main->show();
        if (!QTest::qWaitForWindowExposed(main.get()))
            return nullptr;
        QTest::qWait(0); // the document made at the first showing
        main->CloseAllDocuments();
        return main;
    }
    static void Activate(TFrmMain &main, TFrmChild *doc)
    {
        main.MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(doc->parentWidget()));
    }
    QString ShownCaption() const
    {
        return m_editor->findChild<QLabel *>(QStringLiteral("pnlGraphName"))->text();
    }

    TMainFixture m_fixture;
    TFrmSerie *m_editor = nullptr;
};

void TestSeriesEditorSetup::bindsActiveDocument()
{
    auto main = MakeMain();
    QVERIFY(main);
    const TMainActions &a = main->Actions();
    QCOMPARE(main->ToolWindow(TFrmMain::EToolWindow::SeriesEditor), m_editor);
    QVERIFY(!a.acSerie->isEnabled());
    QVERIFY(!a.acUstawienia->isEnabled());

    TFrmChild *first = main->CreateDocument(QStringLiteral("Seria_1"));
    first->Graph().GetSeries(0);
    TFrmChild *second = main->CreateDocument(QStringLiteral("Seria_2"));
    QCOMPARE(m_editor->Graph(), &second->Graph());
    QCOMPARE(ShownCaption(), QStringLiteral("Seria_2"));
    second->SetModified(true);
    QCOMPARE(ShownCaption(), QStringLiteral("Seria_2~"));
    QVERIFY(a.acSerie->isEnabled());
    QVERIFY(a.acUstawienia->isEnabled());

    // Hidden, the editor still follows activations.
    QVERIFY(!m_editor->isVisible());
    Activate(*main, first);
    QCOMPARE(m_editor->Graph(), &first->Graph());
    QCOMPARE(ShownCaption(), QStringLiteral("Seria_1"));
    QCOMPARE(m_editor->SeriesList()->model()->rowCount(), 1);

    a.acSerie->trigger();
    QVERIFY(m_editor->isVisible());
    QTRY_VERIFY(a.acSerie->isChecked());
}

void TestSeriesEditorSetup::closingDocumentsRebindsAndHides()
{
    auto main = MakeMain();
    QVERIFY(main);
    const TMainActions &a = main->Actions();
    TFrmChild *first = main->CreateDocument(QStringLiteral("Seria_1"));
    main->CreateDocument(QStringLiteral("Seria_2"));
    a.acSerie->trigger();

    a.acZamknij->trigger();
    QTRY_COMPARE(m_editor->Graph(), &first->Graph());
    QCOMPARE(ShownCaption(), QStringLiteral("Seria_1"));
    QVERIFY(m_editor->isVisible());

    a.acZamknij->trigger();
    QTRY_VERIFY(!m_editor->isVisible());
    QCOMPARE(m_editor->Graph(), nullptr);
    QCOMPARE(m_editor->SeriesList()->model()->rowCount(), 0);
    QTRY_VERIFY(!a.acSerie->isEnabled());
    QVERIFY(!a.acUstawienia->isEnabled());
}

void TestSeriesEditorSetup::failedLoadLeavesNoDeletedChart()
{
    // Declares two series but holds none: the load fails after the window was activated.
    WriteTestDocument(m_fixture.Path("cut.OvK"), "Cut", 2);
    QFile cut(m_fixture.Path("cut.OvK"));
    QVERIFY(cut.resize(400));

    auto main = MakeMain();
    QVERIFY(main);
    TFrmChild *kept = main->CreateDocument(QStringLiteral("Seria_1"));
    kept->Graph().GetSeries(0);
    QVERIFY(!main->OpenDocument(m_fixture.Path("cut.OvK")));
    QCOMPARE(main->DocumentCount(), 1);
    QTRY_COMPARE(m_editor->Graph(), &kept->Graph());
    QCOMPARE(m_editor->SeriesList()->model()->rowCount(), 1);

    // Without another document the editor is left unbound.
    main->CloseAllDocuments();
    QVERIFY(!main->OpenDocument(m_fixture.Path("cut.OvK")));
    QTest::qWait(0);
    QCOMPARE(m_editor->Graph(), nullptr);
}

void TestSeriesEditorSetup::dropOnlyOnAnotherChart()
{
    auto main = MakeMain();
    QVERIFY(main);
    TFrmChild *target = main->CreateDocument(QStringLiteral("Seria_1"));
    target->Graph().GetSeries(3);
    TFrmChild *source = main->CreateDocument(QStringLiteral("Seria_2"));
    TSeries *series = source->Graph().GetSeries(0);
    series->Name = QStringLiteral("Pomiar 1");
    series->Add(0, -1);
    m_editor->Bind(&source->Graph(), source->Caption());
    QListView *list = m_editor->SeriesList();

    QVERIFY(!main->CanDropSeries(list, target->Graph())); // nothing selected
    list->setCurrentIndex(list->model()->index(0, 0));
    QVERIFY(!main->CanDropSeries(list, source->Graph()));
    QVERIFY(!main->CanDropSeries(main.get(), target->Graph()));
    QVERIFY(main->CanDropSeries(list, target->Graph()));

    QVERIFY(!target->Modified());
    main->DropSeries(target->Graph());
    QVERIFY(target->Graph().HasSeries(4));
    QCOMPARE(target->Graph().SeriesByNumber(4)->Name, QStringLiteral("Pomiar 1"));
    QVERIFY(target->Modified());
    QVERIFY(target->Caption().endsWith(QLatin1Char('~')));
    QCOMPARE(source->Graph().SeriesCount(), 1);
}

void TestSeriesEditorSetup::settingsFromChartAndMenu_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("double click on the chart") << true;
    QTest::newRow("Ustawienia") << false;
}

void TestSeriesEditorSetup::settingsFromChartAndMenu()
{
    QFETCH(bool, doubleClick);
    auto main = MakeMain();
    QVERIFY(main);
    TFrmChild *doc = main->CreateDocument(QStringLiteral("Seria_1"));
    doc->Graph().GetSeries(0);
    doc->Graph().GetSeries(1);
    m_editor->show();
    QVERIFY(!doc->Modified());
    QString shownTitle;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<TFrmGraphSettings *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shownTitle = dialog->findChild<QLineEdit *>(QStringLiteral("edTitle"))->text();
        // A deletion in the dialog shows in the editor at once.
        auto *list = dialog->findChild<QListView *>(QStringLiteral("lstSeries"));
        list->setCurrentIndex(list->model()->index(0, 0));
        dialog->findChild<QAbstractButton *>(QStringLiteral("SpeedButton1"))->click();
        dialog->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
    });
    if (doubleClick)
        QTest::mouseDClick(&doc->GraphView(), Qt::LeftButton, {}, QPoint(50, 50));
    else
        main->Actions().acUstawienia->trigger();
    QCOMPARE(shownTitle, QStringLiteral("Seria_1"));
    QCOMPARE(doc->Graph().SeriesCount(), 1);
    QCOMPARE(m_editor->SeriesList()->model()->rowCount(), 1);
    QVERIFY(doc->Modified());
}

QTEST_MAIN(TestSeriesEditorSetup)
#include "tst_SeriesEditorSetup.moc"
