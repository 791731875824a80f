#pragma once

#include "chart/PolarGraph.h"

#include <QPointer>
#include <QWidget>

class QDoubleSpinBox;
class QFrame;
class QHeaderView;
class QLabel;
class QLineEdit;
class QListView;
class QToolButton;
class TColorComboBox;
class TSeries;
class TSeriesListModel;

// "Edytor serii": the floating tool window that lists the series of the active document's
// chart and renames, recolours, deletes and shifts them, and copies a series to another
// chart when one is dragged from its list onto it. One per program; its owner (the main
// window) shows and hides it and binds it to the chart of each document window that becomes
// active. The list never holds a destroyed series: it refills whenever the bound chart
// creates or destroys one, and the editor unbinds itself when the chart is destroyed.
// Typing the service word "kapsel" anywhere in the window shows or hides the level offset
// panel. Does not own the chart. GUI thread only.
class TFrmSerie : public QWidget
{
    Q_OBJECT

public:
    explicit TFrmSerie(QWidget *parent = nullptr);
    ~TFrmSerie() override;

    // Shows graph's series (nullptr: none) under the caption of its document window.
    void Bind(TPolarGraph *graph, const QString &caption);
    TPolarGraph *Graph() const { return m_graph; }
    // Shows a new caption of the bound chart's document window (a "~" coming or going).
    void SetCaption(const QString &caption);

    // True when dragSource is this editor's list with a series selected and target is not
    // the bound chart: then a drop on target copies the selected series there.
    bool CanCopyTo(const QObject *dragSource, const TPolarGraph &target) const;
    // Copies the selected series to target as its next series (nothing without a selection).
    void CopyTo(TPolarGraph &target);

    // The list of series (the drag source).
    QListView *SeriesList() const { return m_lstSeries; }
    // The selected series, nullptr when none is selected or it has gone.
    TSeries *SelectedSeries() const;

signals:
    // The bound chart has been destroyed and the editor is unbound; the owner may bind the
    // next active document's chart.
    void BoundChartDestroyed();

private:
    void CreateControls();
    void GraphDestroyed();
    void Refill();
    void ClearFields();
    void SelectRow(int row);
    void lstSeriesClick();
    void SpeedButton3Click(); // "Ustaw"
    void SpeedButton1Click(); // "Usuń"
    void SpeedButton2Click(); // "Wyczyść"
    void SpeedButton4Click(); // "+"

    QPointer<TPolarGraph> m_graph;
    TSeriesListModel *m_model = nullptr;
    QLabel *m_pnlGraphName = nullptr;
    QHeaderView *m_headList = nullptr;
    QListView *m_lstSeries = nullptr;
    QLineEdit *m_Edit1 = nullptr;
    TColorComboBox *m_ColorComboBox1 = nullptr;
    QFrame *m_pnlGain = nullptr;
    QDoubleSpinBox *m_CurrencyEdit1 = nullptr;
    bool m_selecting = false; // a row is being selected by the program, not the user
};
