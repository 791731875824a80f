#pragma once

#include "printing/PrintLayout.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QRadioButton;
class QToolButton;
class TPolarGraph;
class TPrintList;

// "Drukuj": one to four charts of the open documents on one sheet, in equal cells inside
// the margins, portrait or landscape, with a page sketch, a preview and the system's printer
// settings. The full form chooses the charts from "Dostępne wykresy" into "Wykresy do druku";
// the single form (SetSingle) prints one chart and shows only margins, orientation and the
// buttons. Made for one showing; the charts are the documents' and must outlive the dialog
// (it is modal, so no document closes meanwhile). Owns its printer. GUI thread only.
class TFrmPrint : public QDialog
{
    Q_OBJECT

public:
    // One chart to choose: the document window's caption and its chart (not owned).
    struct TChartEntry
    {
        QString Caption;
        TPolarGraph *Chart = nullptr;
    };

    // available: the document windows' charts in the main window's order, all offered in
    // "Dostępne wykresy".
    explicit TFrmPrint(const QList<TChartEntry> &available, QWidget *parent = nullptr);
    ~TFrmPrint() override;

    // Shows a modal window (the preview, the printer settings) and returns its result;
    // tests replace it to drive those windows. Default: QDialog::exec().
    static std::function<int(QDialog &dialog)> &Exec();

    // The single form for the active document's chart.
    void SetSingle(const TChartEntry &active);
    bool Single() const { return m_single; }

    // The printer used by "&Drukuj" and set up by "&Ustawienia wydruku".
    QPrinter &Printer() const { return *m_printer; }
    // Margins (whole millimetres, fractions cut off) and orientation as set in the dialog.
    TPrintLayout Layout() const;
    // The charts of "Wykresy do druku" in print order (cell 1 first).
    QList<TPolarGraph *> DestCharts() const;
    QList<TPolarGraph *> SrcCharts() const;
    // Cells the sketch divided the page into when it last painted (1 in the single form).
    // Printing and the preview use the number of charts to print instead, so they do not
    // depend on the sketch having been painted.
    int LayoutCount() const { return m_layoutCount; }

    // --- the dialog's handlers (public so that tests can drive them) ---
    void SpeedButton1Click(); // ">" add
    void SpeedButton2Click(); // "<" remove
    void SpeedButton3Click(); // "<<" remove all
    void SpeedButton4Click(); // up
    void SpeedButton5Click(); // down
    // An item of source dropped on target at pos (target's viewport coordinates).
    void ListDragDrop(QListWidget *target, QListWidget *source, const QPoint &pos);
    void cbPortretClick();
    void BitBtn1Click(); // "&Drukuj": prints when there is something to print, closes with OK
    void BitBtn3Click(); // "Podgląd wydruku"
    void BitBtn4Click(); // "&Ustawienia wydruku"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *CreateExtra();
    QWidget *CreateSimple();
    QWidget *CreateButtons();
    QDoubleSpinBox *AddMargin(QWidget *group, const char *label, const char *edit,
                              const QString &caption);
    void FormCreate(const QList<TChartEntry> &available);
    void PrintSheet();
    void RepaintSketch();
    void pbPionPaint(QWidget *area);
    QWidget *VisibleSketch() const;

    std::unique_ptr<QPrinter> m_printer;
    QWidget *pnlMain = nullptr;
    QWidget *pnlExtra = nullptr;
    QWidget *pnlSimple = nullptr;
    QWidget *pnlButtony = nullptr;
    TPrintList *lstSrc = nullptr;
    TPrintList *lstDest = nullptr;
    QWidget *pbPion = nullptr;
    QWidget *pbPoziom = nullptr;
    QDoubleSpinBox *edLewy = nullptr;
    QDoubleSpinBox *edGorny = nullptr;
    QDoubleSpinBox *edPrawy = nullptr;
    QDoubleSpinBox *edDolny = nullptr;
    QRadioButton *cbPortret = nullptr;
    QRadioButton *cbPejzaz = nullptr;
    QLabel *imgPortret = nullptr;
    QLabel *imgPejzaz = nullptr;
    int m_layoutCount = 0;
    bool m_single = false;
};
