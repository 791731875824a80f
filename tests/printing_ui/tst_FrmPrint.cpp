// The print dialog "Drukuj": the list operations and drops, the margins, the single form,
// printing (also when it fails) and the preview's page, centring and shadow.
#include "chart/PolarGraph.h"
#include "document_ui/helpers/PromptStub.h"
#include "printing/ui/FrmPodglad.h"
#include "printing/ui/FrmPrint.h"
#include "printing/ui/FrmPrinting.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

// Screen colours that print differently: a yellow page around a light blue disc.
constexpr quint32 ScreenMargin = 0x00FFFF;
constexpr quint32 ScreenDisc = 0xFFE0C0;

bool IsWhite(QRgb c)
{
    return c == qRgb(255, 255, 255);
}

} // namespace

// Five document charts "Wykres 1".."Wykres 5" and a dialog over them.
class TPrintRig
{
public:
    TPrintRig()
    {
        for (int i = 0; i < 5; ++i) {
            auto graph = std::make_unique<TPolarGraph>();
            graph->ApplyDocumentDefaults();
            graph->SetTitle(QStringLiteral("Wykres %1").arg(i + 1));
            graph->SetMarginColor(ScreenMargin);
            graph->SetColor(ScreenDisc);
            TSeries *series = graph->GetSeries(0);
            series->SetColor(0x0000FF);
            for (int a = 0; a < 360; a += 10)
                series->Add(a, -3.0);
            Entries << TFrmPrint::TChartEntry { graph->Title(), graph.get() };
            Graphs.push_back(std::move(graph));
        }
        Dialog = std::make_unique<TFrmPrint>(Entries);
    }

    template<typename T = QWidget>
    T *Find(const char *name) const
    {
        return Dialog->findChild<T *>(QString::fromLatin1(name));
    }
    QListWidget *Src() const { return Find<QListWidget>("lstSrc"); }
    QListWidget *Dest() const { return Find<QListWidget>("lstDest"); }
    TPolarGraph *Chart(int i) const { return Graphs[size_t(i)].get(); }
    QStringList Texts(QListWidget *list) const
    {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }
    // Adds the first available chart n times through ">" with the focus in lstSrc.
    void Add(int n)
    {
        for (int i = 0; i < n; ++i) {
            Src()->setCurrentRow(0);
            Dialog->SpeedButton1Click();
        }
    }
    bool AnyPrintMode() const
    {
        for (const auto &g : Graphs)
            if (g->PrintMode())
                return true;
        return false;
    }

    std::vector<std::unique_ptr<TPolarGraph>> Graphs;
    QList<TFrmPrint::TChartEntry> Entries;
    std::unique_ptr<TFrmPrint> Dialog;
};

class TestFrmPrint : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fillsAvailableCharts();
    void longPathsElideInTheMiddle();
    void fourChartsRefuseMore();
    void removeAllReverses();
    void upDownAtTheEnds();
    void drops();
    void marginsAreWholeMillimetres();
    void sketchSetsLayoutCount();
    void singleForm();
    void printsToFileAndClosesWithOk();
    void failedPrintReportsOnceAndRestoresCharts_data();
    void failedPrintReportsOnceAndRestoresCharts();
    void preview_data();
    void preview();
    void previewCentresPage();
    void printerSettingsUseTheDialogsPrinter();
    void screenshots();

private:
    std::unique_ptr<TPromptStub> m_prompts;
    QTemporaryDir m_dir;
};

void TestFrmPrint::init()
{
    m_prompts = std::make_unique<TPromptStub>();
    TFrmPrint::Exec() = [](QDialog &dialog) {
        return dialog.exec();
    };
}

void TestFrmPrint::cleanup()
{
    TFrmPrint::Exec() = [](QDialog &dialog) {
        return dialog.exec();
    };
    m_prompts.reset();
}

void TestFrmPrint::fillsAvailableCharts()
{
    TPrintRig rig;
    QCOMPARE(rig.Texts(rig.Src()),
             QStringList({ "Wykres 1", "Wykres 2", "Wykres 3", "Wykres 4", "Wykres 5" }));
    QCOMPARE(rig.Dest()->count(), 0);
    QCOMPARE(rig.Dialog->LayoutCount(), 0);
    QVERIFY(rig.Find<QRadioButton>("cbPortret")->isChecked());
    QVERIFY(!rig.Find("pbPion")->isHidden());
    QVERIFY(rig.Find("pbPoziom")->isHidden());
    rig.Find<QRadioButton>("cbPejzaz")->setChecked(true);
    QVERIFY(rig.Find("pbPion")->isHidden());
    QVERIFY(!rig.Find("pbPoziom")->isHidden());
    QVERIFY(!rig.Find("imgPejzaz")->isHidden());

    // Nothing to print: the dialog closes with OK all the same.
    rig.Find<QPushButton>("BitBtn1")->click();
    QCOMPARE(rig.Dialog->result(), int(QDialog::Accepted));
    QVERIFY(m_prompts->Messages.isEmpty());
}

void TestFrmPrint::longPathsElideInTheMiddle()
{
    // Captions are document paths: the lists keep their start and the file name, and the
    // tip shows the whole path, also once the chart has moved to the other list.
    TPrintRig rig;
    const QString path = QStringLiteral("/tmp/pomiary/komora/zestaw glosnikowy/piston-4000.OvK");
    rig.Dialog = std::make_unique<TFrmPrint>(
        QList<TFrmPrint::TChartEntry> { { path, rig.Chart(0) }, { path + "~", rig.Chart(1) } });
    rig.Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.Dialog.get()));
    for (QListWidget *list : { rig.Src(), rig.Dest() })
        QCOMPARE(list->textElideMode(), Qt::ElideMiddle);
    // Cut to the list's width, not scrolled sideways: the file name stays in sight.
    const QRect shown = rig.Src()->visualItemRect(rig.Src()->item(0));
    QVERIFY2(shown.right() <= rig.Src()->viewport()->width(),
             qPrintable(QString::number(shown.width())));
    QCOMPARE(rig.Src()->horizontalScrollBar()->maximum(), 0);
    QCOMPARE(rig.Src()->item(0)->toolTip(), path);
    QCOMPARE(rig.Src()->item(1)->toolTip(), path + "~");
    rig.Add(1);
    QCOMPARE(rig.Dest()->item(0)->text(), path);
    QCOMPARE(rig.Dest()->item(0)->toolTip(), path);
}

void TestFrmPrint::fourChartsRefuseMore()
{
    TPrintRig rig;
    rig.Dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(rig.Dialog.get()));
    rig.Src()->setFocus();
    rig.Add(4);
    QCOMPARE(rig.Texts(rig.Dest()),
             QStringList({ "Wykres 1", "Wykres 2", "Wykres 3", "Wykres 4" }));
    QCOMPARE(rig.Texts(rig.Src()), QStringList({ "Wykres 5" }));
    QCOMPARE(rig.Src()->currentRow(), 0); // the focus stayed: the next one is selected

    rig.Dialog->SpeedButton1Click();
    const QRect item = rig.Src()->visualItemRect(rig.Src()->item(0));
    QTest::mouseDClick(rig.Src()->viewport(), Qt::LeftButton, {}, item.center());
    rig.Dialog->ListDragDrop(rig.Dest(), rig.Src(), QPoint(2, 2));
    QCOMPARE(rig.Dest()->count(), 4);
    QCOMPARE(rig.Texts(rig.Src()), QStringList({ "Wykres 5" }));
}

void TestFrmPrint::removeAllReverses()
{
    TPrintRig rig;
    rig.Add(3);
    rig.Dialog->SpeedButton3Click();
    QCOMPARE(rig.Dest()->count(), 0);
    QCOMPARE(rig.Texts(rig.Src()),
             QStringList({ "Wykres 4", "Wykres 5", "Wykres 3", "Wykres 2", "Wykres 1" }));
    // Each text kept its chart: moved back in that order, they print in that order.
    rig.Src()->setCurrentRow(2);
    rig.Dialog->SpeedButton1Click();
    rig.Src()->setCurrentRow(2);
    rig.Dialog->SpeedButton1Click();
    QCOMPARE(rig.Texts(rig.Dest()), QStringList({ "Wykres 3", "Wykres 2" }));
    QCOMPARE(rig.Dialog->DestCharts(), QList<TPolarGraph *>({ rig.Chart(2), rig.Chart(1) }));
}

void TestFrmPrint::upDownAtTheEnds()
{
    TPrintRig rig;
    rig.Add(3);
    const QStringList start { "Wykres 1", "Wykres 2", "Wykres 3" };
    rig.Dest()->setCurrentRow(0);
    rig.Dialog->SpeedButton4Click();
    QCOMPARE(rig.Texts(rig.Dest()), start);
    QCOMPARE(rig.Dest()->currentRow(), 0);
    rig.Dest()->setCurrentRow(2);
    rig.Dialog->SpeedButton5Click();
    QCOMPARE(rig.Texts(rig.Dest()), start);
    QCOMPARE(rig.Dest()->currentRow(), 2);

    rig.Dest()->setCurrentRow(1);
    rig.Dialog->SpeedButton4Click();
    QCOMPARE(rig.Texts(rig.Dest()), QStringList({ "Wykres 2", "Wykres 1", "Wykres 3" }));
    QCOMPARE(rig.Dest()->currentRow(), 0);
    rig.Dialog->SpeedButton5Click();
    QCOMPARE(rig.Texts(rig.Dest()), start);
    QCOMPARE(rig.Dest()->currentRow(), 1);
    QCOMPARE(rig.Dialog->DestCharts(),
             QList<TPolarGraph *>({ rig.Chart(0), rig.Chart(1), rig.Chart(2) }));
}

void TestFrmPrint::drops()
{
    TPrintRig rig;
    rig.Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.Dialog.get()));
    rig.Add(2);
    QListWidget *dest = rig.Dest();
    const QPoint onFirst = dest->visualItemRect(dest->item(0)).center();
    const QPoint belowLast(5, dest->viewport()->height() - 3);

    rig.Src()->setCurrentRow(1); // "Wykres 4" onto the first chart to print
    rig.Dialog->ListDragDrop(dest, rig.Src(), onFirst);
    QCOMPARE(rig.Texts(dest), QStringList({ "Wykres 4", "Wykres 1", "Wykres 2" }));
    QCOMPARE(dest->currentRow(), 0);
    QCOMPARE(rig.Texts(rig.Src()), QStringList({ "Wykres 3", "Wykres 5" }));

    rig.Src()->setCurrentRow(0); // below the last item: appended
    rig.Dialog->ListDragDrop(dest, rig.Src(), belowLast);
    QCOMPARE(rig.Texts(dest), QStringList({ "Wykres 4", "Wykres 1", "Wykres 2", "Wykres 3" }));
    QCOMPARE(dest->currentRow(), 3);

    rig.Dialog->ListDragDrop(dest, dest, onFirst); // reordering within the list
    QCOMPARE(rig.Texts(dest), QStringList({ "Wykres 3", "Wykres 4", "Wykres 1", "Wykres 2" }));
    QCOMPARE(rig.Dialog->DestCharts().first(), rig.Chart(2));

    dest->setCurrentRow(1); // back to the available charts
    rig.Dialog->ListDragDrop(rig.Src(), dest, QPoint(2, 2));
    QCOMPARE(rig.Texts(dest), QStringList({ "Wykres 3", "Wykres 1", "Wykres 2" }));
    QCOMPARE(rig.Texts(rig.Src()), QStringList({ "Wykres 5", "Wykres 4" }));
}

void TestFrmPrint::marginsAreWholeMillimetres()
{
    TPrintRig rig;
    rig.Find<QDoubleSpinBox>("edLewy")->setValue(12.7);
    rig.Find<QDoubleSpinBox>("edGorny")->setValue(0.5);
    rig.Find<QDoubleSpinBox>("edPrawy")->setValue(20);
    const TPrintLayout layout = rig.Dialog->Layout();
    QCOMPARE(layout.Left, 12);
    QCOMPARE(layout.Top, 0);
    QCOMPARE(layout.Right, 20);
    QCOMPARE(layout.Bottom, 10); // the default
    QVERIFY(layout.Portrait);
}

void TestFrmPrint::sketchSetsLayoutCount()
{
    TPrintRig rig;
    rig.Add(3);
    QCOMPARE(rig.Dialog->LayoutCount(), 0); // not painted yet
    rig.Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.Dialog.get()));
    const QImage sketch = rig.Find("pbPion")->grab().toImage();
    QCOMPARE(rig.Dialog->LayoutCount(), 3);
    // Three stacked cells with 2-pixel margins, 2 pixels apart (rows 2-42, 45-84, 87-127).
    auto black = [&](int y) {
        return sketch.pixel(20, y) == qRgb(0, 0, 0);
    };
    for (int y : { 2, 42, 45, 84, 87, 127 })
        QVERIFY2(black(y), qPrintable(QString::number(y)));
    for (int y : { 1, 43, 44, 85, 86, 128 })
        QVERIFY2(IsWhite(sketch.pixel(20, y)), qPrintable(QString::number(y)));
}

void TestFrmPrint::singleForm()
{
    TPrintRig rig;
    rig.Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.Dialog.get()));
    const int fullHeight = rig.Dialog->height();

    TFrmPrint single({});
    single.SetSingle({ QStringLiteral("Wykres 3"), rig.Chart(2) });
    single.show();
    QVERIFY(QTest::qWaitForWindowExposed(&single));
    QVERIFY(single.Single());
    QVERIFY(single.findChild<QWidget *>(QStringLiteral("pnlExtra"))->isHidden());
    QVERIFY(single.height() < fullHeight);
    QCOMPARE(single.DestCharts(), QList<TPolarGraph *>({ rig.Chart(2) }));
    QCOMPARE(single.LayoutCount(), 1);

    const QString file = m_dir.filePath(QStringLiteral("single.pdf"));
    single.Printer().setOutputFormat(QPrinter::PdfFormat);
    single.Printer().setOutputFileName(file);
    single.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
    QCOMPARE(single.result(), int(QDialog::Accepted));
    QVERIFY(QFile::exists(file));
    QVERIFY(m_prompts->Messages.isEmpty());
}

void TestFrmPrint::printsToFileAndClosesWithOk()
{
    TPrintRig rig;
    rig.Add(2);
    rig.Find<QRadioButton>("cbPejzaz")->setChecked(true);
    const QString file = m_dir.filePath(QStringLiteral("two.pdf"));
    rig.Dialog->Printer().setOutputFormat(QPrinter::PdfFormat);
    rig.Dialog->Printer().setOutputFileName(file);
    rig.Dialog->Printer().setPageSize(QPageSize(QPageSize::A4));
    rig.Dialog->show();
    rig.Find<QPushButton>("BitBtn1")->click();

    QCOMPARE(rig.Dialog->result(), int(QDialog::Accepted));
    QVERIFY(m_prompts->Messages.isEmpty());
    QVERIFY(!rig.AnyPrintMode());
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    // One landscape A4 sheet (842 × 595 points).
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1);
    QVERIFY(bytes.contains("/MediaBox [0 0 842"));
    QVERIFY(rig.Find("pnlMain")->isEnabled());
    QVERIFY(rig.Find("pnlButtony")->isEnabled());
}

void TestFrmPrint::failedPrintReportsOnceAndRestoresCharts_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("unwritable file") << QStringLiteral("/nonexistent-orvi-dir/sub/out.pdf");
    QTest::newRow("no printer and no file") << QString();
}

void TestFrmPrint::failedPrintReportsOnceAndRestoresCharts()
{
    QFETCH(QString, file);
    TPrintRig rig;
    rig.Add(2);
    rig.Dialog->Printer().setOutputFormat(QPrinter::PdfFormat);
    rig.Dialog->Printer().setOutputFileName(file);
    rig.Dialog->show();
    rig.Find<QPushButton>("BitBtn1")->click();

    QCOMPARE(m_prompts->Messages.size(), 1);
    QCOMPARE(m_prompts->Messages.first().Icon, QMessageBox::Critical);
    QVERIFY(!m_prompts->Messages.first().Text.isEmpty());
    QCOMPARE(rig.Dialog->result(), int(QDialog::Accepted));
    QVERIFY(!rig.AnyPrintMode());
    QVERIFY(rig.Find("pnlMain")->isEnabled());
    if (!file.isEmpty())
        QVERIFY(!QFile::exists(file));
    // The screen picture has the chart's own colours again.
    QImage screen(200, 150, QImage::Format_RGB32);
    QPainter painter(&screen);
    rig.Chart(0)->Render(painter, screen.rect());
    QCOMPARE(screen.pixel(199, 1), qRgb(255, 255, 0));
}

void TestFrmPrint::preview_data()
{
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<int>("charts");
    QTest::newRow("two charts, portrait") << true << 2;
    QTest::newRow("empty, landscape") << false << 0;
}

void TestFrmPrint::preview()
{
    QFETCH(bool, portrait);
    QFETCH(int, charts);
    TPrintRig rig;
    rig.Add(charts);
    rig.Find<QRadioButton>(portrait ? "cbPortret" : "cbPejzaz")->setChecked(true);

    QImage page, panel;
    QRect paintBox, shadow;
    QSize panelSize;
    bool printModeWhileOpen = true;
    TFrmPrint::Exec() = [&](QDialog &dialog) {
        auto *preview = qobject_cast<TFrmPodglad *>(&dialog);
        if (!preview)
            return int(QDialog::Rejected);
        preview->show();
        if (!QTest::qWaitForWindowExposed(preview))
            return int(QDialog::Rejected);
        page = preview->PageImage();
        QWidget *panel2 = preview->findChild<QWidget *>(QStringLiteral("Panel2"));
        panelSize = panel2->size();
        paintBox = preview->findChild<QWidget *>(QStringLiteral("PaintBox1"))->geometry();
        shadow = preview->findChild<QWidget *>(QStringLiteral("Shape1"))->geometry();
        panel = panel2->grab().toImage();
        printModeWhileOpen = rig.AnyPrintMode();
        return int(QDialog::Rejected);
    };
    rig.Dialog->BitBtn3Click();

    QCOMPARE(panelSize, portrait ? QSize(600, 800) : QSize(800, 600));
    QCOMPARE(page.size(), portrait ? QSize(584, 784) : QSize(784, 584));
    QCOMPARE(paintBox, QRect(QPoint(8, 8), page.size()));
    QCOMPARE(shadow, paintBox.translated(2, 2));
    QCOMPARE(panel.pixel(paintBox.right() + 2, paintBox.bottom() + 2), qRgb(0, 0, 0));
    QVERIFY(panel.pixel(paintBox.right() + 2, paintBox.top()) != qRgb(0, 0, 0));
    QCOMPARE(page.pixel(0, page.height() / 2), qRgb(0, 0, 0)); // the page's outline
    QVERIFY(!printModeWhileOpen);
    QVERIFY(!rig.AnyPrintMode());

    TPrintLayout layout = rig.Dialog->Layout();
    int red = 0;
    for (int i = 1; i <= charts; ++i) {
        const QRect cell = layout.LayoutCell(&page, i, false, page.rect(), charts);
        QCOMPARE(page.pixel(cell.left(), cell.center().y()), qRgb(0, 0, 0));
        QCOMPARE(page.pixel(cell.center().x(), cell.top() + cell.height() - 1), qRgb(0, 0, 0));
        // Black on white: the yellow screen page prints white.
        QVERIFY(IsWhite(page.pixel(cell.right() - 3, cell.top() + 3)));
        for (int y = cell.top(); y < cell.top() + cell.height(); ++y)
            for (int x = cell.left(); x < cell.left() + cell.width(); ++x)
                red += page.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
    }
    if (charts == 0)
        QVERIFY(IsWhite(page.pixel(page.width() / 2, page.height() / 2)));
    else
        QVERIFY(red > 100 * charts);
}

void TestFrmPrint::previewCentresPage()
{
    TPrintRig rig;
    rig.Find<QRadioButton>("cbPejzaz")->setChecked(true);
    int wide = -1, narrow = -1, expectedWide = -2;
    TFrmPrint::Exec() = [&](QDialog &dialog) {
        dialog.setWindowState(Qt::WindowNoState);
        dialog.resize(1100, 700);
        dialog.show();
        QWidget *panel2 = dialog.findChild<QWidget *>(QStringLiteral("Panel2"));
        auto *scroll = dialog.findChild<QScrollArea *>(QStringLiteral("ScrollBox1"));
        QCoreApplication::processEvents();
        wide = panel2->x();
        expectedWide = (scroll->viewport()->width() - 800) / 2;
        dialog.resize(600, 700);
        QCoreApplication::processEvents();
        narrow = panel2->x();
        return int(QDialog::Rejected);
    };
    rig.Dialog->BitBtn3Click();
    QVERIFY(expectedWide > 0);
    QCOMPARE(wide, expectedWide);
    QCOMPARE(narrow, 0);
}

void TestFrmPrint::printerSettingsUseTheDialogsPrinter()
{
    TPrintRig rig;
    QPrinter *shown = nullptr;
    TFrmPrint::Exec() = [&](QDialog &dialog) {
        if (auto *printDialog = qobject_cast<QPrintDialog *>(&dialog))
            shown = printDialog->printer();
        return int(QDialog::Rejected);
    };
    rig.Dialog->BitBtn4Click();
    QCOMPARE(shown, &rig.Dialog->Printer());
}

void TestFrmPrint::screenshots()
{
    // Pictures for a person to look at: ORVI_SCREENSHOT_PRINT is the file name stem. Every
    // label and button text must fit in the fonts of this platform.
    const QByteArray stem = qgetenv("ORVI_SCREENSHOT_PRINT");
    auto check = [&](QWidget &window, const char *name) {
        for (const QWidget *w : window.findChildren<QWidget *>()) {
            if (w->isVisible()
                && (qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w)))
                QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(w->objectName()));
        }
        if (!stem.isEmpty())
            QVERIFY(window.grab().save(
                QStringLiteral("%1-%2.png").arg(QString::fromLocal8Bit(stem), name)));
    };
    TPrintRig rig;
    rig.Add(3);
    rig.Dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.Dialog.get()));
    check(*rig.Dialog, "full");
    TFrmPrint::Exec() = [&](QDialog &dialog) {
        dialog.show();
        if (QTest::qWaitForWindowExposed(&dialog)) {
            QCoreApplication::processEvents();
            check(dialog, "preview");
        }
        return int(QDialog::Rejected);
    };
    rig.Dialog->BitBtn3Click();

    TFrmPrint single({});
    single.SetSingle({ QStringLiteral("Wykres 1"), rig.Chart(0) });
    single.show();
    QVERIFY(QTest::qWaitForWindowExposed(&single));
    check(single, "single");

    TFrmPrinting progress(&single);
    progress.SetText(QStringLiteral("Drukowanie na /home/użytkownik/wydruki/kolumny.pdf"));
    progress.ShowNow();
    QVERIFY(QTest::qWaitForWindowExposed(&progress));
    QCOMPARE(progress.size(), QSize(243, 66));
    check(progress, "progress");
}

QTEST_MAIN(TestFrmPrint)
#include "tst_FrmPrint.moc"
