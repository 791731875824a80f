#include "chart/PolarGraph.h"
#include "chart/ui/GraphSet.h"
#include "chart/ui/PolarGraphView.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

// A document chart with three series and a dialog on it.
class TDialogRig
{
public:
    TDialogRig()
    {
        Graph.ApplyDocumentDefaults();
        Graph.SetTitle(QStringLiteral("Kolumna"));
        for (int s = 0; s < 3; ++s) {
            TSeries *series = Graph.GetSeries(s);
            series->Name = QStringLiteral("Pomiar %1").arg(s + 1);
            series->SetColor(s == 1 ? 0x008000 : 0x000080);
            for (int a = 0; a < 360; a += 10)
                series->Add(a, -2.0 * s - a / 36.0);
        }
        Dialog = std::make_unique<TFrmGraphSettings>(Graph);
    }

    template<typename T = QWidget>
    T *Find(const char *name) const
    {
        return Dialog->findChild<T *>(QString::fromLatin1(name));
    }
    QLineEdit *Edit(const char *name) const { return Find<QLineEdit>(name); }
    void Click(const char *button) const { Find<QAbstractButton>(button)->click(); }

    TPolarGraph Graph;
    std::unique_ptr<TFrmGraphSettings> Dialog;
};

class TestGraphSet : public QObject
{
    Q_OBJECT

private slots:
    void loadsChart();
    void lettersKeepOldValue();
    void escapeAppliesAndStaysOpen();
    void deletionReloadsFields();
    void fonts();
    void showSettings_data();
    void showSettings();
    void screenshots();
};

void TestGraphSet::loadsChart()
{
    TDialogRig rig;
    QCOMPARE(rig.Dialog->windowTitle(), QStringLiteral("Ustawienia wykresu"));
    QCOMPARE(rig.Edit("edAngleMainStep")->text(), QStringLiteral("30"));
    QCOMPARE(rig.Edit("edRadiusMin")->text(), QStringLiteral("-40"));
    QCOMPARE(rig.Edit("edRadiusMax")->text(), QStringLiteral("10"));
    QCOMPARE(rig.Edit("edTitle")->text(), QStringLiteral("Kolumna"));
    QCOMPARE(rig.Edit("edUnits")->text(), QStringLiteral("dB"));
    QCOMPARE(rig.Find<QListView>("lstSeries")->model()->rowCount(), 3);
    QCOMPARE(rig.Find<QLabel>("lblTytulF")->text(),
             QStringLiteral("%1, 8, pogrubiony").arg(rig.Graph.Font().family()));
    QCOMPARE(rig.Find<QLabel>("pnlLegendF")->font(), rig.Graph.Legend().Font());
    QVERIFY(rig.Find<QPushButton>("btnOK")->isDefault());
}

void TestGraphSet::lettersKeepOldValue()
{
    TDialogRig rig;
    QSignalSpy changes(&rig.Graph, &TPolarGraph::OnChange);
    rig.Edit("edAngleMainStep")->setText(QStringLiteral("abc"));
    rig.Edit("edAngleStep")->setText(QStringLiteral("5"));
    rig.Click("btnApply");
    QCOMPARE(rig.Graph.Grid().AngleMainStep(), 30);
    QCOMPARE(rig.Edit("edAngleMainStep")->text(), QStringLiteral("30"));
    QCOMPARE(rig.Graph.Grid().AngleStep(), 5);
    QVERIFY(changes.count() >= 1);
}

void TestGraphSet::escapeAppliesAndStaysOpen()
{
    TDialogRig rig;
    rig.Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.Dialog.get()));
    QLineEdit *title = rig.Edit("edTitle");
    title->setText(QStringLiteral("Nowy tytuł"));
    QTest::keyClick(title, Qt::Key_Escape);
    QCOMPARE(rig.Graph.Title(), QStringLiteral("Nowy tytuł"));
    QVERIFY(rig.Dialog->isVisible());

    // "&Anuluj" closes without taking back what was applied.
    title->setText(QStringLiteral("Inny"));
    rig.Click("btnCancel");
    QVERIFY(!rig.Dialog->isVisible());
    QCOMPARE(rig.Dialog->result(), int(QDialog::Rejected));
    QCOMPARE(rig.Graph.Title(), QStringLiteral("Nowy tytuł"));
}

void TestGraphSet::deletionReloadsFields()
{
    TDialogRig rig;
    rig.Edit("edTitle")->setText(QStringLiteral("nie zastosowany"));
    rig.Edit("edRadiusStep")->setText(QStringLiteral("7"));
    auto *list = rig.Find<QListView>("lstSeries");
    list->setCurrentIndex(list->model()->index(1, 0));
    rig.Click("SpeedButton1");
    QVERIFY(!rig.Graph.HasSeries(1));
    QCOMPARE(rig.Graph.SeriesCount(), 2);
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(list->model()->index(1, 0).data().toString(), QStringLiteral("Pomiar 3"));
    QCOMPARE(rig.Edit("edTitle")->text(), QStringLiteral("Kolumna"));
    QCOMPARE(rig.Edit("edRadiusStep")->text(), QStringLiteral("2"));
    QCOMPARE(rig.Graph.Title(), QStringLiteral("Kolumna"));

    // Without a selection "Usuń" deletes nothing.
    rig.Click("SpeedButton1");
    QCOMPARE(rig.Graph.SeriesCount(), 2);
}

void TestGraphSet::fonts()
{
    TDialogRig rig;
    const QFont legendBefore = rig.Graph.Legend().Font();
    const QFont titleBefore = rig.Graph.Font();
    QList<QFont> offered;
    bool accept = false;
    rig.Dialog->SetFontChooser([&](QWidget *, QFont &font) {
        offered.append(font);
        font = QFont(QStringLiteral("Courier"), 12);
        font.setItalic(true);
        return accept;
    });

    rig.Click("SpeedButton5"); // legend, cancelled in the font dialog
    QCOMPARE(offered.value(0), legendBefore);
    QCOMPARE(rig.Find<QLabel>("pnlLegendF")->font(), legendBefore);

    accept = true;
    rig.Click("SpeedButton5");
    QCOMPARE(rig.Find<QLabel>("pnlLegendF")->font().family(), QStringLiteral("Courier"));
    QCOMPARE(rig.Find<QLabel>("lblLegendF")->text(), QStringLiteral("Courier, 12, kursywa"));
    QCOMPARE(rig.Graph.Legend().Font(), legendBefore); // nothing reaches the chart yet

    rig.Click("btnCancel");
    QCOMPARE(rig.Graph.Legend().Font(), legendBefore);

    TFrmGraphSettings again(rig.Graph);
    again.SetFontChooser([](QWidget *, QFont &font) {
        font.setPointSize(20);
        return true;
    });
    again.findChild<QToolButton *>(QStringLiteral("SpeedButton3"))->click(); // title
    again.findChild<QPushButton *>(QStringLiteral("btnApply"))->click();
    QCOMPARE(rig.Graph.Font().pointSize(), 20);
    QCOMPARE(rig.Graph.Font().family(), titleBefore.family());
    QCOMPARE(rig.Graph.Legend().Font(), legendBefore);
}

void TestGraphSet::showSettings_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("extraChanges"); // OnChange after the dialog's own Store
    QTest::newRow("ok") << "btnOK" << 1;
    QTest::newRow("cancel") << "btnCancel" << 0;
}

void TestGraphSet::showSettings()
{
    QFETCH(QString, button);
    QFETCH(int, extraChanges);
    TPolarGraph graph;
    graph.ApplyDocumentDefaults();
    TPolarGraphView view(graph);
    view.show();
    QSignalSpy changes(&graph, &TPolarGraph::OnChange);
    int changesBeforeClose = -1;
    bool found = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<TFrmGraphSettings *>(QApplication::activeModalWidget());
        found = dialog && dialog->parentWidget() == &view;
        if (!dialog)
            return;
        dialog->findChild<QLineEdit *>(QStringLiteral("edRadiusMax"))->setText("20");
        // The dialog's own Store runs inside the click, before it finishes.
        connect(dialog, &QDialog::finished, this, [&] { changesBeforeClose = changes.count(); });
        dialog->findChild<QPushButton *>(button)->click();
    });
    QCOMPARE(view.ShowSettings(), false);
    QVERIFY(found);
    QCOMPARE(changes.count() - changesBeforeClose, extraChanges);
    QCOMPARE(graph.Grid().RadiusMax(), button == "btnOK" ? 20 : 10);
    QVERIFY(view.findChildren<TFrmGraphSettings *>().isEmpty()); // created for one showing
}

void TestGraphSet::screenshots()
{
    // Pictures of the four pages for a person to look at: ORVI_SCREENSHOT_GRAPHSET is the
    // file name stem. Every label and button text must fit in the fonts of this platform.
    TDialogRig rig;
    rig.Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.Dialog.get()));
    auto *pages = rig.Find<QTabWidget>("PageControl1");
    const QByteArray stem = qgetenv("ORVI_SCREENSHOT_GRAPHSET");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        QCoreApplication::processEvents();
        const QSize hint = rig.Dialog->minimumSizeHint();
        QVERIFY2(hint.width() <= rig.Dialog->width() && hint.height() <= rig.Dialog->height(),
                 qPrintable(QStringLiteral("%1x%2").arg(hint.width()).arg(hint.height())));
        for (const QWidget *w : pages->widget(page)->findChildren<QWidget *>()) {
            if (!qobject_cast<const QLabel *>(w) && !qobject_cast<const QAbstractButton *>(w))
                continue;
            QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(w->objectName()));
        }
        if (!stem.isEmpty())
            QVERIFY(rig.Dialog->grab().save(
                QStringLiteral("%1-%2.png").arg(QString::fromLocal8Bit(stem)).arg(page)));
    }
}

QTEST_MAIN(TestGraphSet)
#include "tst_GraphSet.moc"
