#include "chart/ui/GraphSet.h"

#include "chart/PolarGraph.h"
#include "chart/SeriesListModel.h"
#include "chart/ui/SeriesListDelegate.h"

#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ClientWidth = 278; // pixels
constexpr int ClientHeight = 313;
constexpr int SampleHeight = 36; // pixels: room for the sample text of usual font sizes

bool SystemFontDialog(QWidget *owner, QFont &font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, owner);
    if (ok)
        font = chosen;
    return ok;
}

QToolButton *SpeedButton(const char *name, const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    return button;
}

QLabel *NamedLabel(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TFrmGraphSettings::TFrmGraphSettings(TPolarGraph &graph, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_graph(&graph)
    , m_chooseFont(&SystemFontDialog)
    , m_model(new TSeriesListModel(this))
{
    setObjectName(QStringLiteral("FrmGraphSettings"));
    setWindowTitle(tr("Ustawienia wykresu"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(CreateAxesPage(), tr("&Osie"));
    m_pages->addTab(CreateSeriesPage(), tr("&Serie"));
    m_pages->addTab(CreateTitlePage(), tr("Tytuł"));
    m_pages->addTab(CreateFontsPage(), tr("Czcionki"));

    auto *ok = new QPushButton(tr("&Ok"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(tr("&Anuluj"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnApply = new QPushButton(tr("&Zastosuj"), this);
    m_btnApply->setObjectName(QStringLiteral("btnApply"));
    connect(ok, &QPushButton::clicked, this, &TFrmGraphSettings::btnOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnApply, &QPushButton::clicked, this, &TFrmGraphSettings::btnApplyClick);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(m_btnApply);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    Load();
    resize(ClientWidth, ClientHeight);
}

TFrmGraphSettings::~TFrmGraphSettings() = default;

void TFrmGraphSettings::AddGridField(QFormLayout *form, TGraphSettingsFields::EGridField field,
                                     const QString &name, const QString &text)
{
    QWidget *parent = form->parentWidget();
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("lbl") + name);
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("ed") + name);
    form->addRow(label, edit);
    m_gridFields[size_t(field)] = edit;
}

QWidget *TFrmGraphSettings::CreateAxesPage()
{
    using F = TGraphSettingsFields;
    auto *page = new QWidget;
    auto *angles = new QGroupBox(tr(" Kąt "), page);
    angles->setObjectName(QStringLiteral("gbAngleLines"));
    auto *angleForm = new QFormLayout(angles);
    AddGridField(angleForm, F::gfAngleMainStep, QStringLiteral("AngleMainStep"),
                 tr("Linie głowne"));
    AddGridField(angleForm, F::gfAngleStep, QStringLiteral("AngleStep"), tr("Linie pomocnicze"));

    auto *levels = new QGroupBox(tr(" Poziom "), page);
    levels->setObjectName(QStringLiteral("gbLevelLines"));
    auto *levelForm = new QFormLayout(levels);
    AddGridField(levelForm, F::gfRadiusMainStep, QStringLiteral("RadiusMainStep"),
                 tr("Linie główne"));
    AddGridField(levelForm, F::gfRadiusStep, QStringLiteral("RadiusStep"), tr("Linie pomocnicze"));
    AddGridField(levelForm, F::gfRadiusMax, QStringLiteral("RadiusMax"), tr("Maksimun"));
    AddGridField(levelForm, F::gfRadiusMin, QStringLiteral("RadiusMin"), tr("Minimum"));

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(angles);
    layout->addWidget(levels);
    layout->addStretch(1);
    return page;
}

QWidget *TFrmGraphSettings::CreateSeriesPage()
{
    auto *page = new QWidget;
    QToolButton *remove = SpeedButton("SpeedButton1", tr("Usuń"), page);
    QToolButton *removeAll = SpeedButton("SpeedButton2", tr("Usuń wszystkie"), page);
    connect(remove, &QToolButton::clicked, this, &TFrmGraphSettings::SpeedButton1Click);
    connect(removeAll, &QToolButton::clicked, this, &TFrmGraphSettings::SpeedButton2Click);

    m_headList = TSeriesListDelegate::CreateHeader(page);
    m_lstSeries = new QListView(page);
    m_lstSeries->setObjectName(QStringLiteral("lstSeries"));
    m_lstSeries->setModel(m_model);
    m_lstSeries->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstSeries->setEditTriggers(QAbstractItemView::NoEditTriggers);
    new TSeriesListDelegate(*m_headList, *m_lstSeries);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(remove);
    buttons->addWidget(removeAll);
    buttons->addStretch(1);
    auto *list = new QVBoxLayout;
    list->setSpacing(0);
    list->addWidget(m_headList);
    list->addWidget(m_lstSeries, 1);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(buttons);
    layout->addLayout(list, 1);
    return page;
}

QWidget *TFrmGraphSettings::CreateTitlePage()
{
    auto *page = new QWidget;
    m_edTitle = new QLineEdit(page);
    m_edTitle->setObjectName(QStringLiteral("edTitle"));
    m_edUnits = new QLineEdit(page);
    m_edUnits->setObjectName(QStringLiteral("edUnits"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(NamedLabel("Label1", tr("Tytuł wykresu"), page));
    layout->addWidget(m_edTitle);
    layout->addWidget(NamedLabel("Label2", tr("Jednostka poziomu"), page));
    layout->addWidget(m_edUnits);
    layout->addStretch(1);
    return page;
}

QWidget *TFrmGraphSettings::CreateFontsPage()
{
    struct TPanelText
    {
        const char *Group, *Sample, *Description, *Button;
        QString Title, Text;
    };
    const std::array<TPanelText, fpCount> texts = { {
        { "GroupBox1", "pnlTytulF", "lblTytulF", "SpeedButton3", tr("Tytuł"), tr("  Tytuł") },
        { "GroupBox2", "pnlOsieF", "lblOsieF", "SpeedButton4", tr("Osie"),
          QStringLiteral("  180°") },
        { "GroupBox3", "pnlLegendF", "lblLegendF", "SpeedButton5", tr("Legenda"),
          tr("  Seria 1 - 500 Hz") },
    } };
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    for (int p = 0; p < fpCount; ++p) {
        const TPanelText &t = texts[size_t(p)];
        auto *group = new QGroupBox(t.Title, page);
        group->setObjectName(QString::fromLatin1(t.Group));
        QLabel *sample = NamedLabel(t.Sample, t.Text, group);
        sample->setAutoFillBackground(true);
        sample->setBackgroundRole(QPalette::Base);
        sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        sample->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        sample->setFixedHeight(SampleHeight);
        QLabel *description = NamedLabel(t.Description, QString(), group);
        QToolButton *change = SpeedButton(t.Button, tr("Zmień"), group);
        connect(change, &QToolButton::clicked, this, [this, p] { ChangeFont(EFontPanel(p)); });
        auto *grid = new QGridLayout(group);
        grid->setContentsMargins(6, 2, 6, 4);
        grid->setVerticalSpacing(2);
        grid->addWidget(sample, 0, 0, 1, 2);
        grid->addWidget(description, 1, 0);
        grid->addWidget(change, 1, 1);
        grid->setColumnStretch(0, 1);
        m_samples[size_t(p)] = sample;
        m_descriptions[size_t(p)] = description;
        layout->addWidget(group);
    }
    layout->addStretch(1);
    return page;
}

void TFrmGraphSettings::SetPanelFont(EFontPanel panel, const QFont &font)
{
    m_samples[size_t(panel)]->setFont(font);
    m_descriptions[size_t(panel)]->setText(TGraphSettingsFields::FontDescription(font));
}

void TFrmGraphSettings::Load()
{
    const TGraphSettingsFields fields = TGraphSettingsFields::Load(*m_graph);
    for (int f = 0; f < TGraphSettingsFields::gfCount; ++f)
        m_gridFields[size_t(f)]->setText(fields.Grid[size_t(f)]);
    m_edTitle->setText(fields.Title);
    m_edUnits->setText(fields.Units);
    SetPanelFont(fpTitle, fields.TitleFont);
    SetPanelFont(fpGrid, fields.GridFont);
    SetPanelFont(fpLegend, fields.LegendFont);
    m_model->SetGraph(m_graph);
}

TGraphSettingsFields TFrmGraphSettings::ReadFields() const
{
    TGraphSettingsFields fields;
    for (int f = 0; f < TGraphSettingsFields::gfCount; ++f)
        fields.Grid[size_t(f)] = m_gridFields[size_t(f)]->text();
    fields.Title = m_edTitle->text();
    fields.Units = m_edUnits->text();
    fields.TitleFont = m_samples[fpTitle]->font();
    fields.GridFont = m_samples[fpGrid]->font();
    fields.LegendFont = m_samples[fpLegend]->font();
    return fields;
}

void TFrmGraphSettings::Store()
{
    TGraphSettingsFields fields = ReadFields();
    fields.Store(*m_graph);
    for (int f = 0; f < TGraphSettingsFields::gfCount; ++f)
        m_gridFields[size_t(f)]->setText(fields.Grid[size_t(f)]);
}

void TFrmGraphSettings::btnOKClick()
{
    Store();
    m_graph->Refresh();
    accept();
}

void TFrmGraphSettings::btnApplyClick()
{
    Store();
    m_graph->Refresh();
}

void TFrmGraphSettings::SpeedButton1Click()
{
    const QModelIndexList selected = m_lstSeries->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const int number = m_model->NumberAt(selected.first().row());
    if (number < 0 || !m_graph->HasSeries(number))
        return;
    m_graph->DeleteSeries(number);
    m_graph->Refresh();
    Load();
}

void TFrmGraphSettings::SpeedButton2Click()
{
    m_graph->ClearSeries();
    m_graph->Refresh();
    Load();
}

void TFrmGraphSettings::ChangeFont(EFontPanel panel)
{
    QFont font = m_samples[size_t(panel)]->font();
    if (m_chooseFont && m_chooseFont(this, font))
        SetPanelFont(panel, font);
}

void TFrmGraphSettings::keyPressEvent(QKeyEvent *event)
{
    // Esc applies and keeps the dialog open instead of cancelling it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_btnApply->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
