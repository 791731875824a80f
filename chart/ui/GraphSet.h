#pragma once

#include "chart/GraphSettingsFields.h"

#include <QDialog>

#include <array>
#include <functional>

class QFormLayout;
class QHeaderView;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTabWidget;
class TPolarGraph;
class TSeriesListModel;

// "Ustawienia wykresu": the modal dialog that edits one chart's grid steps and range, title
// and level unit, and title, axis and legend fonts, and deletes series. It reads the chart
// when it is created and writes it back on "&Ok" and "&Zastosuj" (the Esc key), never
// before. "&Anuluj" and the close box leave what was applied before. Deleting a series
// reloads every field from the chart, so unapplied edits are lost. The chart must outlive
// the dialog. GUI thread only.
class TFrmGraphSettings : public QDialog
{
    Q_OBJECT

public:
    // Asks the user for a font, starting with font; returns false when cancelled.
    using TFontChooser = std::function<bool(QWidget *owner, QFont &font)>;

    explicit TFrmGraphSettings(TPolarGraph &graph, QWidget *parent = nullptr);
    ~TFrmGraphSettings() override;

    TPolarGraph &Graph() const { return *m_graph; }

    // Replaces the system font dialog of the three "Zmień" buttons (tests answer it).
    void SetFontChooser(TFontChooser chooser) { m_chooseFont = std::move(chooser); }

    // Fills every field from the chart (also after a deletion).
    void Load();
    // Writes every field into the chart (TGraphSettingsFields::Store) and puts back the
    // texts of fields that were not numbers.
    void Store();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum EFontPanel { fpTitle, fpGrid, fpLegend, fpCount };

    QWidget *CreateAxesPage();
    QWidget *CreateSeriesPage();
    QWidget *CreateTitlePage();
    QWidget *CreateFontsPage();
    // A row "text" + field "ed<name>" (label "lbl<name>") of grid field.
    void AddGridField(QFormLayout *form, TGraphSettingsFields::EGridField field,
                      const QString &name, const QString &text);
    void SetPanelFont(EFontPanel panel, const QFont &font);
    TGraphSettingsFields ReadFields() const;
    void btnOKClick();
    void btnApplyClick();
    void SpeedButton1Click(); // "Usuń"
    void SpeedButton2Click(); // "Usuń wszystkie"
    void ChangeFont(EFontPanel panel); // "Zmień"

    TPolarGraph *m_graph;
    TFontChooser m_chooseFont;
    TSeriesListModel *m_model = nullptr;
    QTabWidget *m_pages = nullptr;
    std::array<QLineEdit *, TGraphSettingsFields::gfCount> m_gridFields {};
    QLineEdit *m_edTitle = nullptr;
    QLineEdit *m_edUnits = nullptr;
    QHeaderView *m_headList = nullptr;
    QListView *m_lstSeries = nullptr;
    std::array<QLabel *, fpCount> m_samples {}; // pnlTytulF, pnlOsieF, pnlLegendF
    std::array<QLabel *, fpCount> m_descriptions {}; // lblTytulF, lblOsieF, lblLegendF
    QPushButton *m_btnApply = nullptr;
};
