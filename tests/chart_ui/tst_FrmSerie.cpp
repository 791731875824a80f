#include "chart/PolarGraph.h"
#include "chart/ui/FrmSerie.h"
#include "chart/ui/GraphSet.h"
#include "controls/ui/ColorComboBox.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <memory>

// An editor bound to a chart of three series (numbers 0, 1, 2) with 36 points each.
class TEditorRig
{
public:
    TEditorRig()
    {
        for (int s = 0; s < 3; ++s) {
            TSeries *series = Graph.GetSeries(s);
            series->Name = QStringLiteral("Pomiar %1").arg(s + 1);
            series->SetColor(s == 1 ? 0x008000 : 0x000080);
            for (int a = 0; a < 360; a += 10)
                series->Add(a, -2.0 * s - a / 36.0);
        }
        Editor.Bind(&Graph, QStringLiteral("Seria_1"));
        Editor.show();
    }

    template<typename T>
    T *Find(const char *name) const
    {
        return Editor.findChild<T *>(QString::fromLatin1(name));
    }
    QListView *List() const { return Editor.SeriesList(); }
    QLineEdit *Name() const { return Find<QLineEdit>("Edit1"); }
    TColorComboBox *Color() const { return Find<TColorComboBox>("ColorComboBox1"); }
    void Click(const char *button) const { Find<QToolButton>(button)->click(); }
    void ClickRow(int row) const
    {
        const QRect rect = List()->visualRect(List()->model()->index(row, 0));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    QStringList Rows() const
    {
        QStringList rows;
        for (int r = 0; r < List()->model()->rowCount(); ++r)
            rows.append(List()->model()->index(r, 0).data().toString());
        return rows;
    }

    TPolarGraph Graph;
    TFrmSerie Editor;
};

class TestFrmSerie : public QObject
{
    Q_OBJECT

private slots:
    void bindShowsSeriesAndCaption();
    void serviceWord_data();
    void serviceWord();
    void clickFillsFieldsAndSetApplies();
    void deleteClearsAndDisablesFields();
    void clearDeletesAll();
    void gainLowersLevelsWithoutChange();
    void copyOnlyToAnotherChart();
    void deletionElsewhereRefillsList();
    void destroyedChartUnbinds();
    void screenshot();
};

void TestFrmSerie::bindShowsSeriesAndCaption()
{
    TEditorRig rig;
    QCOMPARE(rig.Editor.windowTitle(), QStringLiteral("Edytor serii"));
    QVERIFY(rig.Editor.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(rig.Find<QLabel>("pnlGraphName")->text(), QStringLiteral("Seria_1"));
    QCOMPARE(rig.Rows(), QStringList({ "Pomiar 1", "Pomiar 2", "Pomiar 3" }));
    QVERIFY(!rig.Name()->isEnabled());
    QVERIFY(!rig.Color()->isEnabled());
    QVERIFY(!rig.Find<QWidget>("pnlGain")->isVisible());

    rig.Editor.Bind(nullptr, QString());
    QVERIFY(rig.Rows().isEmpty());
}

void TestFrmSerie::serviceWord_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("name field") << "Edit1";
    QTest::newRow("list") << "lstSeries";
}

void TestFrmSerie::serviceWord()
{
    QFETCH(QString, focus);
    TEditorRig rig;
    rig.ClickRow(0);
    QWidget *target = rig.Editor.findChild<QWidget *>(focus);
    QWidget *gain = rig.Find<QWidget>("pnlGain");
    QTest::keyClicks(target, QStringLiteral("kapxel"));
    QVERIFY(!gain->isVisible());
    QTest::keyClicks(target, QStringLiteral("kapsel"));
    QVERIFY(gain->isVisible());
    QTest::keyClicks(target, QStringLiteral("kapsel"));
    QVERIFY(!gain->isVisible());
}

void TestFrmSerie::clickFillsFieldsAndSetApplies()
{
    TEditorRig rig;
    rig.ClickRow(1);
    QCOMPARE(rig.Name()->text(), QStringLiteral("Pomiar 2"));
    QVERIFY(rig.Name()->isEnabled() && rig.Color()->isEnabled());
    QCOMPARE(rig.Color()->ColorValue(), 0x008000u);
    QCOMPARE(rig.Color()->currentText(), QStringLiteral("Zielony"));

    QSignalSpy changes(&rig.Graph, &TPolarGraph::OnChange);
    rig.Name()->setText(QStringLiteral("Kolumna"));
    rig.Color()->setCurrentIndex(rig.Color()->IndexOfColor(0xFF0000)); // "Niebieski"
    rig.Click("SpeedButton3");
    QCOMPARE(rig.Graph.SeriesByNumber(1)->Name, QStringLiteral("Kolumna"));
    QCOMPARE(rig.Graph.SeriesByNumber(1)->Color(), 0xFF0000u);
    QVERIFY(changes.count() >= 1);
    QCOMPARE(rig.Rows().at(1), QStringLiteral("Kolumna"));
    QCOMPARE(rig.List()->currentIndex().row(), 1);
    QVERIFY(!rig.Name()->isEnabled());

    // The cleared fields do not belong to the series: "Ustaw" again keeps its name.
    rig.Click("SpeedButton3");
    QCOMPARE(rig.Graph.SeriesByNumber(1)->Name, QStringLiteral("Kolumna"));
}

void TestFrmSerie::deleteClearsAndDisablesFields()
{
    TEditorRig rig;
    rig.ClickRow(1);
    QSignalSpy changes(&rig.Graph, &TPolarGraph::OnChange);
    rig.Click("SpeedButton1");
    QVERIFY(!rig.Graph.HasSeries(1));
    QCOMPARE(rig.Graph.SeriesCount(), 2);
    QCOMPARE(rig.Rows(), QStringList({ "Pomiar 1", "Pomiar 3" }));
    QCOMPARE(changes.count(), 1);
    QVERIFY(rig.Name()->text().isEmpty());
    QVERIFY(!rig.Name()->isEnabled() && !rig.Color()->isEnabled());
    QCOMPARE(rig.Color()->currentIndex(), -1);

    // Without a selection the buttons do nothing.
    rig.Click("SpeedButton1");
    QCOMPARE(rig.Graph.SeriesCount(), 2);
}

void TestFrmSerie::clearDeletesAll()
{
    TEditorRig rig;
    rig.Click("SpeedButton2");
    QCOMPARE(rig.Graph.SeriesCount(), 0);
    QVERIFY(rig.Rows().isEmpty());
    QCOMPARE(rig.Graph.MaxSeriesNumber(), 2);
}

void TestFrmSerie::gainLowersLevelsWithoutChange()
{
    TEditorRig rig;
    const std::vector<TPolarSample> before = rig.Graph.SeriesByNumber(2)->Points();
    const std::vector<TPolarSample> untouched = rig.Graph.SeriesByNumber(0)->Points();
    QTest::keyClicks(rig.List(), QStringLiteral("kapsel"));
    QVERIFY(rig.Find<QWidget>("pnlGain")->isVisible());
    rig.ClickRow(2);
    rig.Find<QDoubleSpinBox>("CurrencyEdit1")->setValue(-3);
    QSignalSpy changes(&rig.Graph, &TPolarGraph::OnChange);
    QSignalSpy redraws(&rig.Graph, &TPolarGraph::InvalidateRequested);
    rig.Click("SpeedButton4");
    const std::vector<TPolarSample> &after = rig.Graph.SeriesByNumber(2)->Points();
    QCOMPARE(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
        QCOMPARE(after[i].Level, before[i].Level - 3);
    QCOMPARE(rig.Graph.SeriesByNumber(0)->Points().front().Level, untouched.front().Level);
    QCOMPARE(changes.count(), 0);
    QVERIFY(redraws.count() >= 1);
    QVERIFY(rig.Graph.NeedsRender());
}

void TestFrmSerie::copyOnlyToAnotherChart()
{
    TEditorRig rig;
    TPolarGraph other;
    other.GetSeries(4);
    QVERIFY(!rig.Editor.CanCopyTo(rig.List(), other)); // nothing selected
    rig.ClickRow(1);
    QVERIFY(!rig.Editor.CanCopyTo(rig.List(), rig.Graph));
    QVERIFY(!rig.Editor.CanCopyTo(&rig.Editor, other)); // not dragged from the list
    QVERIFY(rig.Editor.CanCopyTo(rig.List(), other));

    rig.Editor.CopyTo(other);
    QVERIFY(other.HasSeries(5));
    const TSeries *copy = other.SeriesByNumber(5);
    const TSeries *source = rig.Graph.SeriesByNumber(1);
    QCOMPARE(copy->Name, source->Name);
    QCOMPARE(copy->Color(), source->Color());
    QCOMPARE(copy->Count(), source->Count());
    QCOMPARE(rig.Graph.SeriesCount(), 3);
}

void TestFrmSerie::deletionElsewhereRefillsList()
{
    TEditorRig rig;
    rig.ClickRow(2);
    QCOMPARE(rig.Editor.SelectedSeries(), rig.Graph.SeriesByNumber(2));
    {
        // The chart's settings dialog deletes the series the editor has selected.
        TFrmGraphSettings dialog(rig.Graph);
        auto *list = dialog.findChild<QListView *>(QStringLiteral("lstSeries"));
        list->setCurrentIndex(list->model()->index(2, 0));
        dialog.findChild<QToolButton *>(QStringLiteral("SpeedButton1"))->click();
    }
    QCOMPARE(rig.Rows(), QStringList({ "Pomiar 1", "Pomiar 2" }));
    QCOMPARE(rig.Editor.SelectedSeries(), nullptr);
    QVERIFY(!rig.Name()->isEnabled());
    // The editor's next actions find no deleted series to touch.
    for (const char *button : { "SpeedButton3", "SpeedButton1", "SpeedButton4" })
        rig.Click(button);
    QCOMPARE(rig.Graph.SeriesCount(), 2);

    // A series added elsewhere (a measurement) shows at once.
    rig.Graph.GetSeries(rig.Graph.MaxSeriesNumber() + 1)->Name = QStringLiteral("Pomiar 4");
    QCOMPARE(rig.Rows(), QStringList({ "Pomiar 1", "Pomiar 2", "Pomiar 4" }));
}

void TestFrmSerie::destroyedChartUnbinds()
{
    TFrmSerie editor;
    QSignalSpy gone(&editor, &TFrmSerie::BoundChartDestroyed);
    auto graph = std::make_unique<TPolarGraph>();
    graph->GetSeries(0);
    editor.Bind(graph.get(), QStringLiteral("Seria_1"));
    editor.SeriesList()->setCurrentIndex(editor.SeriesList()->model()->index(0, 0));
    graph.reset();
    QCOMPARE(gone.count(), 1);
    QCOMPARE(editor.Graph(), nullptr);
    QCOMPARE(editor.SeriesList()->model()->rowCount(), 0);
    QVERIFY(editor.findChild<QLabel *>(QStringLiteral("pnlGraphName"))->text().isEmpty());
    editor.findChild<QToolButton *>(QStringLiteral("SpeedButton2"))->click();
    TPolarGraph other;
    QVERIFY(!editor.CanCopyTo(editor.SeriesList(), other));
}

void TestFrmSerie::screenshot()
{
    // A picture for a person to look at: ORVI_SCREENSHOT_SERIE names the file. Every label
    // and button text must fit its control in the fonts of this platform.
    TEditorRig rig;
    QTest::keyClicks(rig.List(), QStringLiteral("kapsel"));
    rig.ClickRow(1);
    QVERIFY(QTest::qWaitForWindowExposed(&rig.Editor));
    const QSize hint = rig.Editor.minimumSizeHint();
    QVERIFY2(hint.width() <= rig.Editor.width() && hint.height() <= rig.Editor.height(),
             qPrintable(QStringLiteral("%1x%2").arg(hint.width()).arg(hint.height())));
    for (const QWidget *w : rig.Editor.findChildren<QWidget *>()) {
        if (w->isVisible()
            && (qobject_cast<const QLabel *>(w) || qobject_cast<const QToolButton *>(w)))
            QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(w->objectName()));
    }
    const QByteArray target = qgetenv("ORVI_SCREENSHOT_SERIE");
    if (!target.isEmpty())
        QVERIFY(rig.Editor.grab().save(QString::fromLocal8Bit(target)));
}

QTEST_MAIN(TestFrmSerie)
#include "tst_FrmSerie.moc"
