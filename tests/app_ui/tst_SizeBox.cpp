#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/SizeBox.h"
#include "document/ui/FrmChild.h"
#include "document_ui/helpers/TestFiles.h"
#include "helpers/MainFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <QtTest>

class TestSizeBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_fixture.Dir.isValid()); }
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }

    void zoomTyped_data();
    void zoomTyped();
    void zoomChosenFromList();
    void activationShowsDocumentZoom();

private:
    QString Path(const QString &name) const { return m_fixture.Path(name); }
    std::unique_ptr<TFrmMain> MakeMain() { return m_fixture.MakeMain(); }

    TMainFixture m_fixture;
    std::unique_ptr<TPromptStub> &m_prompts = m_fixture.Prompts;
};

void TestSizeBox::zoomTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("zoom");

    QTest::newRow("60 applies") << "60" << 60;
    QTest::newRow("200 applies") << "200" << 200;
    QTest::newRow("50 applies") << "50" << 50;
    QTest::newRow("250 out of range") << "250" << 100;
    QTest::newRow("49 out of range") << "49" << 100;
    QTest::newRow("abc not a number") << "abc" << 100;
    QTest::newRow("empty") << "" << 100;
    QTest::newRow("12.5 not an integer") << "12.5" << 100;
}

void TestSizeBox::zoomTyped()
{
    QFETCH(QString, typed);
    QFETCH(int, zoom);

    auto main = MakeMain();
    main->show();
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    QCOMPARE(doc->Zoom(), 100);

    QLineEdit *edit = main->SizeBox()->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, typed);
    QCOMPARE(main->SizeBox()->currentText(), typed); // nothing applied before Enter
    QCOMPARE(doc->Zoom(), 100);
    QTest::keyClick(edit, Qt::Key_Return);

    QCOMPARE(doc->Zoom(), zoom);
    QCOMPARE(main->SizeBox()->currentText(), QString::number(zoom));
    QCOMPARE(doc->Page()->width(), 8 * zoom);
}

void TestSizeBox::zoomChosenFromList()
{
    auto main = MakeMain();
    main->Actions().acNowy->trigger();
    const int index = main->SizeBox()->findText(QStringLiteral("175"));
    QVERIFY(index >= 0);
    main->SizeBox()->setCurrentIndex(index);
    emit main->SizeBox()->activated(index);
    QCOMPARE(main->ActiveDocument()->Zoom(), 175);
    QCOMPARE(Settings().DocumentSize, 175);
}

void TestSizeBox::activationShowsDocumentZoom()
{
    auto main = MakeMain();
    main->show();
    main->Actions().acNowy->trigger();
    main->ActiveDocument()->SetZoom(150);
    main->Actions().acNowy->trigger(); // new documents take the last zoom
    TFrmChild *second = main->ActiveDocument();
    QCOMPARE(second->Zoom(), 150);
    second->SetZoom(75);
    main->MdiArea()->setActiveSubWindow(
        qobject_cast<QMdiSubWindow *>(main->Documents().first()->parentWidget()));
    QCOMPARE(main->ActiveDocument(), main->Documents().first());
    QCOMPARE(main->SizeBox()->currentText(), QStringLiteral("150"));
}

QTEST_MAIN(TestSizeBox)
#include "tst_SizeBox.moc"
