#include "chart/ui/FrmSerie.h"

#include "chart/PolarGraph.h"
#include "chart/SeriesEditorColors.h"
#include "chart/SeriesListModel.h"
#include "chart/ui/SeriesListDelegate.h"
#include "controls/ui/ColorComboBox.h"
#include "controls/ui/ServiceKeyWatcher.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ClientWidth = 264; // pixels
constexpr int ClientHeight = 277;
constexpr double GainLimit = 1000.0; // level units either way

QToolButton *SpeedButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TFrmSerie::TFrmSerie(QWidget *parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , m_model(new TSeriesListModel(this))
{
    setObjectName(QStringLiteral("FrmSerie"));
    setWindowTitle(tr("Edytor serii"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    CreateControls();
    resize(ClientWidth, ClientHeight);

    connect(m_model, &QAbstractItemModel::modelReset, this, &TFrmSerie::ClearFields);
    connect(m_lstSeries, &QListView::clicked, this, &TFrmSerie::lstSeriesClick);
    connect(m_lstSeries->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!m_selecting)
            lstSeriesClick();
    });

    new TServiceKeyWatcher(*this, [this] { m_pnlGain->setVisible(!m_pnlGain->isVisibleTo(this)); });
    ClearFields();
}

TFrmSerie::~TFrmSerie()
{
    if (m_graph)
        disconnect(m_graph, nullptr, this, nullptr);
}

void TFrmSerie::CreateControls()
{
    m_pnlGraphName = new QLabel(this);
    m_pnlGraphName->setObjectName(QStringLiteral("pnlGraphName"));
    m_pnlGraphName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pnlGraphName->setAlignment(Qt::AlignCenter);
    QFont bold = font();
    bold.setBold(true);
    m_pnlGraphName->setFont(bold);
    m_pnlGraphName->setMinimumHeight(m_pnlGraphName->sizeHint().height() + 4);

    m_headList = TSeriesListDelegate::CreateHeader(this);
    m_lstSeries = new QListView(this);
    m_lstSeries->setObjectName(QStringLiteral("lstSeries"));
    m_lstSeries->setModel(m_model);
    m_lstSeries->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstSeries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstSeries->setDragEnabled(true);
    m_lstSeries->setDragDropMode(QAbstractItemView::DragOnly);
    m_lstSeries->setDefaultDropAction(Qt::CopyAction);
    new TSeriesListDelegate(*m_headList, *m_lstSeries);

    auto *label1 = new QLabel(tr("Nazwa"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    m_Edit1 = new QLineEdit(this);
    m_Edit1->setObjectName(QStringLiteral("Edit1"));
    auto *label2 = new QLabel(tr("Kolor"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_ColorComboBox1 = new TColorComboBox(this);
    m_ColorComboBox1->setObjectName(QStringLiteral("ColorComboBox1"));
    m_ColorComboBox1->SetColors(SeriesEditorColors());
    QToolButton *set = SpeedButton(QStringLiteral("SpeedButton3"), tr("Ustaw"), this);

    m_pnlGain = new QFrame(this);
    m_pnlGain->setObjectName(QStringLiteral("pnlGain"));
    auto *label3 = new QLabel(tr("gain"), m_pnlGain);
    label3->setObjectName(QStringLiteral("Label3"));
    m_CurrencyEdit1 = new QDoubleSpinBox(m_pnlGain);
    m_CurrencyEdit1->setObjectName(QStringLiteral("CurrencyEdit1"));
    m_CurrencyEdit1->setDecimals(0);
    m_CurrencyEdit1->setRange(-GainLimit, GainLimit);
    m_CurrencyEdit1->setButtonSymbols(QAbstractSpinBox::NoButtons);
    QToolButton *plus = SpeedButton(QStringLiteral("SpeedButton4"), QStringLiteral("+"), m_pnlGain);
    auto *gainRow = new QHBoxLayout(m_pnlGain);
    gainRow->setContentsMargins(0, 0, 0, 0);
    gainRow->addWidget(label3);
    gainRow->addWidget(m_CurrencyEdit1, 1);
    gainRow->addWidget(plus);
    m_pnlGain->hide();

    QToolButton *remove = SpeedButton(QStringLiteral("SpeedButton1"), tr("Usuń"), this);
    remove->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    QToolButton *clear = SpeedButton(QStringLiteral("SpeedButton2"), tr("Wyczyść"), this);
    clear->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    for (QToolButton *button : { remove, clear })
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    auto *listBox = new QVBoxLayout;
    listBox->setSpacing(0);
    listBox->addWidget(m_headList);
    listBox->addWidget(m_lstSeries, 1);

    auto *fields = new QGridLayout;
    fields->addWidget(label1, 0, 0);
    fields->addWidget(m_Edit1, 0, 1, 1, 2);
    fields->addWidget(label2, 1, 0);
    fields->addWidget(m_ColorComboBox1, 1, 1);
    fields->addWidget(set, 1, 2);
    fields->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(remove);
    buttons->addWidget(clear);
    buttons->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    layout->addWidget(m_pnlGraphName);
    layout->addLayout(listBox, 1);
    layout->addLayout(fields);
    layout->addWidget(m_pnlGain);
    layout->addLayout(buttons);

    connect(set, &QToolButton::clicked, this, &TFrmSerie::SpeedButton3Click);
    connect(remove, &QToolButton::clicked, this, &TFrmSerie::SpeedButton1Click);
    connect(clear, &QToolButton::clicked, this, &TFrmSerie::SpeedButton2Click);
    connect(plus, &QToolButton::clicked, this, &TFrmSerie::SpeedButton4Click);
}

void TFrmSerie::Bind(TPolarGraph *graph, const QString &caption)
{
    if (m_graph)
        disconnect(m_graph, nullptr, this, nullptr);
    m_graph = graph;
    if (graph)
        connect(graph, &QObject::destroyed, this, &TFrmSerie::GraphDestroyed);
    m_pnlGraphName->setText(graph ? caption : QString());
    m_model->SetGraph(graph);
}

void TFrmSerie::SetCaption(const QString &caption)
{
    if (m_graph)
        m_pnlGraphName->setText(caption);
}

void TFrmSerie::GraphDestroyed()
{
    // Only the QObject part of the chart is left: nothing of it may be touched.
    m_graph = nullptr;
    m_pnlGraphName->clear();
    Refill();
    emit BoundChartDestroyed();
}

bool TFrmSerie::CanCopyTo(const QObject *dragSource, const TPolarGraph &target) const
{
    return dragSource == m_lstSeries && SelectedSeries() && &target != m_graph.data();
}

void TFrmSerie::CopyTo(TPolarGraph &target)
{
    if (TSeries *series = SelectedSeries())
        series->CopyTo(target);
}

TSeries *TFrmSerie::SelectedSeries() const
{
    const QModelIndexList selected = m_lstSeries->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : m_model->SeriesAt(selected.first().row());
}

void TFrmSerie::Refill()
{
    // The reset clears and disables the fields (ClearFields).
    m_model->Refill();
}

void TFrmSerie::ClearFields()
{
    m_Edit1->clear();
    m_ColorComboBox1->setCurrentIndex(-1);
    m_Edit1->setEnabled(false);
    m_ColorComboBox1->setEnabled(false);
}

void TFrmSerie::SelectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_selecting = true;
    m_lstSeries->setCurrentIndex(m_model->index(row));
    m_selecting = false;
}

void TFrmSerie::lstSeriesClick()
{
    const TSeries *series = SelectedSeries();
    if (!series)
        return;
    m_Edit1->setText(series->Name);
    m_ColorComboBox1->SetColorValue(series->Color());
    m_Edit1->setEnabled(true);
    m_ColorComboBox1->setEnabled(true);
}

void TFrmSerie::SpeedButton3Click()
{
    TSeries *series = SelectedSeries();
    // Cleared fields do not hold the series' values: applying them would blank its name.
    if (!series || !m_Edit1->isEnabled())
        return;
    const int row = m_model->RowOfNumber(series->Number());
    TPolarGraph &graph = series->Graph();
    const bool renamed = series->Name != m_Edit1->text();
    series->Name = m_Edit1->text();
    series->SetColor(m_ColorComboBox1->ColorValue());
    if (renamed) {
        // A new name is an edit of the document: it is shown and the document is modified.
        graph.Refresh();
        graph.Change();
    }
    Refill();
    SelectRow(row);
}

void TFrmSerie::SpeedButton1Click()
{
    TSeries *series = SelectedSeries();
    if (!series)
        return;
    TPolarGraph &graph = series->Graph();
    graph.DeleteSeries(series->Number());
    graph.Refresh();
    Refill();
}

void TFrmSerie::SpeedButton2Click()
{
    if (!m_graph)
        return;
    m_graph->ClearSeries();
    m_graph->Refresh();
    Refill();
}

void TFrmSerie::SpeedButton4Click()
{
    TSeries *series = SelectedSeries();
    if (!series)
        return;
    // A service adjustment: the chart is redrawn but the document is not marked modified.
    series->AddLevelOffset(m_CurrencyEdit1->value());
    Refill();
    series->Graph().Refresh();
}
