// The main window's two "&Drukuj" actions and the chart's context menu open the print
// dialog: the single form for the active document, the full form over every document.
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/PrintAction.h"
#include "app_ui/helpers/MainFixture.h"
#include "chart/ui/PolarGraphView.h"
#include "document/ui/FrmChild.h"
#include "printing/ui/FrmPrint.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

class TestPrintAction : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void singleFormForActiveDocument();
    void fullFormOverEveryDocument();

private:
    struct TShown
    {
        int Count = 0;
        bool Single = false;
        QList<TPolarGraph *> Src, Dest;
    };
    TShown m_shown;
    TMainFixture m_fixture;
};

void TestPrintAction::init()
{
    m_fixture.Init();
    m_shown = {};
    TPrintAction::Exec() = [this](TFrmPrint &dialog) {
        ++m_shown.Count;
        m_shown.Single = dialog.Single();
        m_shown.Src = dialog.SrcCharts();
        m_shown.Dest = dialog.DestCharts();
        return int(QDialog::Rejected);
    };
}

void TestPrintAction::cleanup()
{
    TPrintAction::Exec() = [](TFrmPrint &dialog) {
        return dialog.exec();
    };
    m_fixture.Cleanup();
}

void TestPrintAction::singleFormForActiveDocument()
{
    auto main = m_fixture.MakeMain();
    main->show();
    TFrmChild *first = main->CreateDocument(QStringLiteral("A"));
    main->CreateDocument(QStringLiteral("B"));
    main->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
    QVERIFY(main->Actions().acDrukuj->isEnabled());
    QCOMPARE(main->Actions().acDrukuj->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    // The chart's context menu holds the same action.
    QVERIFY(first->GraphView().actions().contains(main->Actions().acDrukuj));
    main->Actions().acDrukuj->trigger();
    QCOMPARE(m_shown.Count, 1);
    QVERIFY(m_shown.Single);
    QCOMPARE(m_shown.Dest, QList<TPolarGraph *>({ &first->Graph() }));
}

void TestPrintAction::fullFormOverEveryDocument()
{
    auto main = m_fixture.MakeMain();
    main->show();
    TFrmChild *a = main->CreateDocument(QStringLiteral("A"));
    TFrmChild *b = main->CreateDocument(QStringLiteral("B"));
    TFrmChild *c = main->CreateDocument(QStringLiteral("C"));
    QVERIFY(main->Actions().acDrukujExtra->isEnabled());
    main->Actions().acDrukujExtra->trigger();
    QCOMPARE(m_shown.Count, 1);
    QVERIFY(!m_shown.Single);
    QCOMPARE(m_shown.Src, QList<TPolarGraph *>({ &a->Graph(), &b->Graph(), &c->Graph() }));
    QVERIFY(m_shown.Dest.isEmpty());
}

QTEST_MAIN(TestPrintAction)
#include "tst_PrintAction.moc"
