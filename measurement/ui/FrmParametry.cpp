#include "measurement/ui/FrmParametry.h"

#include "audio/ui/FrmGenerator.h"
#include "controls/ui/ArrowSpinBox.h"
#include "controls/ui/FormHelpers.h"
#include "document/ui/Prompts.h"
#include "measurement/ui/BroadbandGroup.h"
#include "measurement/ui/BroadbandMemory.h"
#include "measurement/ui/SeriesGroup.h"
#include "turntable/ui/FrmStolikKontrol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Group whose controls EnableGroup switches with the radio buttons of their group box.
constexpr int SwitchedGroup = 1;

QSpinBox *SpinField(QWidget *parent, const char *name, int minimum, int maximum, int step,
                    int value)
{
    auto *field = new QSpinBox(parent);
    field->setObjectName(QLatin1String(name));
    field->setRange(minimum, maximum);
    field->setSingleStep(step);
    field->setValue(value);
    return field;
}

// A label for field; with group != 0 both join that EnableGroup group.
QLabel *FieldLabel(const QString &text, QWidget *field, int group = 0)
{
    auto *label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    if (group != 0) {
        SetGroup(label, group);
        SetGroup(field, group);
    }
    return label;
}

// Shows value's integer part in field, kept within the field's range; NaN leaves the field
// as it is.
void ShowWhole(QSpinBox &field, double value)
{
    if (std::isnan(value))
        return;
    field.setValue(
        int(std::clamp(std::trunc(value), double(field.minimum()), double(field.maximum()))));
}

QRadioButton *Radio(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

// The lowest band there can be, Hz: a signal refused even for it is refused for every list.
constexpr double LowestBandHz = 1.0;

} // namespace

TFrmParametry::TFrmParametry(TFrmGenerator &generator, TFrmStolikKontrol &turntable,
                             QWidget *parent)
    : QDialog(parent)
    , m_generator(generator)
    , m_turntable(turntable)
{
    setWindowTitle(tr("Nowy pomiar"));
    setObjectName(QStringLiteral("FrmParametry"));
    setModal(true);
    CreateControls();
    FormCreate();
    // Only now: filling the fields from the two windows must not write back into them.
    ConnectHandlers();
}

TFrmParametry::~TFrmParametry() = default;

void TFrmParametry::CreateControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(CreateSeriesGroup());
    layout->addWidget(CreateGeneratorGroup());
    layout->addWidget(CreateRangeGroup());
    layout->addWidget(CreateBroadbandGroup());
    // Outside the group: it must stay readable when the group is greyed.
    m_lblSzerokopasmowa = new QLabel(this);
    m_lblSzerokopasmowa->setObjectName(QStringLiteral("lblSzerokopasmowa"));
    m_lblSzerokopasmowa->setWordWrap(true);
    layout->addWidget(m_lblSzerokopasmowa);

    TSeriesGroup::AddButtons(*this, *layout, m_btnOK, m_btnAnuluj);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox *TFrmParametry::CreateSeriesGroup()
{
    m_gbSeria = new TSeriesGroup(this);
    return m_gbSeria;
}

QGroupBox *TFrmParametry::CreateGeneratorGroup()
{
    m_gbGenerator = new QGroupBox(tr(" Sygnał "), this);
    m_gbGenerator->setObjectName(QStringLiteral("gbGenerator"));
    QGroupBox *group = m_gbGenerator;
    m_rbZewnetrzny = Radio(group, "rbZewnetrzny", tr("Generator &zewnętrzny"));
    m_rbWewnetrzny = Radio(group, "rbWewnetrzny", tr("Generator &wewenętrzny"));
    m_rbWewnetrzny->setChecked(true);

    m_cbSygnal = new QComboBox(group);
    m_cbSygnal->setObjectName(QStringLiteral("cbSygnal"));
    m_cbSygnal->setEditable(false);
    m_seFreq = new TArrowSpinBox(group);
    m_seFreq->setObjectName(QStringLiteral("seFreq"));
    m_seFreq->setRange(20, 20000);
    m_seFreq->setSingleStep(1);
    m_seFreq->setValue(1000);
    m_seAmp = SpinField(group, "seAmp", 10, 100, 10, 100);

    auto *grid = new QGridLayout(group);
    grid->addWidget(m_rbZewnetrzny, 0, 0, 1, 2);
    grid->addWidget(m_rbWewnetrzny, 1, 0, 1, 2);
    grid->addWidget(FieldLabel(tr("&Rodzaj sygnału"), m_cbSygnal, SwitchedGroup), 2, 0);
    grid->addWidget(m_cbSygnal, 2, 1);
    grid->addWidget(FieldLabel(tr("&Częstotliwość"), m_seFreq, SwitchedGroup), 3, 0);
    grid->addWidget(m_seFreq, 3, 1);
    grid->addWidget(FieldLabel(tr("&Amplituda"), m_seAmp, SwitchedGroup), 4, 0);
    grid->addWidget(m_seAmp, 4, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

QGroupBox *TFrmParametry::CreateRangeGroup()
{
    m_gbStolikKontrol = new QGroupBox(tr(" Zakres pomiaru "), this);
    m_gbStolikKontrol->setObjectName(QStringLiteral("gbStolikKontrol"));
    QGroupBox *group = m_gbStolikKontrol;
    m_rbFull = Radio(group, "rbFull", tr("&Pełny obrót"));
    m_rbFull->setChecked(true);
    m_rbRange = Radio(group, "rbRange", tr("Prz&edział"));
    m_edStart = SpinField(group, "edStart", -180, 180, 10, 0);
    m_edStop = SpinField(group, "edStop", 0, 360, 10, 0);

    auto *grid = new QGridLayout(group);
    grid->addWidget(m_rbFull, 0, 0, 1, 5);
    grid->addWidget(m_rbRange, 1, 0);
    grid->addWidget(FieldLabel(tr("&Od"), m_edStart, SwitchedGroup), 1, 1);
    grid->addWidget(m_edStart, 1, 2);
    grid->addWidget(FieldLabel(tr("&Do"), m_edStop, SwitchedGroup), 1, 3);
    grid->addWidget(m_edStop, 1, 4);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(4, 1);
    return group;
}

QGroupBox *TFrmParametry::CreateBroadbandGroup()
{
    m_gbSzerokopasmowa = new TBroadbandGroup(true, this);
    return m_gbSzerokopasmowa;
}

void TFrmParametry::FormCreate()
{
    const QComboBox &offered = m_generator.cbSygnal();
    for (int i = 0; i < offered.count(); ++i)
        m_cbSygnal->addItem(offered.itemText(i));
    m_cbSygnal->setCurrentIndex(offered.currentIndex());

    // The generator keeps real values; the fields show whole numbers within their ranges.
    ShowWhole(*m_seFreq, m_generator.GetFrequency());
    ShowWhole(*m_seAmp, m_generator.GetAmplitude());

    const bool full = m_turntable.IsFullTurn();
    m_rbFull->setChecked(full);
    m_rbRange->setChecked(!full);
    m_edStart->setValue(m_turntable.StartAngle());
    m_edStop->setValue(m_turntable.StopAngle());
    m_gbSzerokopasmowa->SetFields(TBroadbandMemory::Of(m_generator).Fields);

    UpdateGeneratorGroup();
    UpdateRangeGroup();
    UpdateBroadbandGroup();
}

void TFrmParametry::ConnectHandlers()
{
    connect(m_cbSygnal, &QComboBox::currentIndexChanged, this, &TFrmParametry::cbSygnalChange);
    connect(m_seFreq, &QSpinBox::valueChanged, this, &TFrmParametry::seFreqChange);
    connect(m_seFreq, &TArrowSpinBox::ArrowUp, this, &TFrmParametry::seFreqTopClick);
    connect(m_seFreq, &TArrowSpinBox::ArrowDown, this, &TFrmParametry::seFreqBottomClick);
    connect(m_seAmp, &QSpinBox::valueChanged, this, &TFrmParametry::seAmpChange);
    connect(m_edStart, &QSpinBox::valueChanged, this, &TFrmParametry::edStartChange);
    connect(m_edStop, &QSpinBox::valueChanged, this, &TFrmParametry::edStopChange);
    // One of each exclusive pair is enough: it toggles whichever of the two gets clicked.
    connect(m_rbWewnetrzny, &QRadioButton::toggled, this, &TFrmParametry::rbGeneratorClick);
    connect(m_rbFull, &QRadioButton::toggled, this, &TFrmParametry::rbRangeClick);
    connect(m_gbSzerokopasmowa, &QGroupBox::toggled, this, &TFrmParametry::UpdateBroadbandGroup);
    connect(m_gbSzerokopasmowa, &TBroadbandGroup::FieldsChanged, this,
            &TFrmParametry::UpdateBroadbandGroup);
    connect(m_gbSzerokopasmowa, &QGroupBox::toggled, this, &TFrmParametry::RememberBroadband);
    connect(m_gbSzerokopasmowa, &TBroadbandGroup::FieldsChanged, this,
            &TFrmParametry::RememberBroadband);
}

void TFrmParametry::RememberBroadband()
{
    TBroadbandMemory::Of(m_generator).Fields = m_gbSzerokopasmowa->Fields();
}

void TFrmParametry::SetSeriesName(const QString &name)
{
    m_gbSeria->SetName(name);
}

void TFrmParametry::SetSeriesColor(quint32 color)
{
    m_gbSeria->SetColor(color);
}

QString TFrmParametry::SeriesName() const
{
    return m_gbSeria->Name();
}

quint32 TFrmParametry::SeriesColor() const
{
    return m_gbSeria->Color();
}

bool TFrmParametry::InternalGenerator() const
{
    return m_rbWewnetrzny->isChecked();
}

bool TFrmParametry::Broadband() const
{
    return m_gbSzerokopasmowa->isChecked() && BroadbandRefusal().isEmpty();
}

TBroadbandOptions TFrmParametry::BroadbandOptions() const
{
    return m_gbSzerokopasmowa->Options();
}

void TFrmParametry::accept()
{
    QString error;
    if (Broadband() && !m_gbSzerokopasmowa->Bands(&error)) {
        ShowMessage(this, QMessageBox::Warning, error);
        edPasma().setFocus();
        edPasma().selectAll();
        return;
    }
    QDialog::accept();
}

QSpinBox &TFrmParametry::seFreq() const
{
    return *m_seFreq;
}

QLineEdit &TFrmParametry::edPasma() const
{
    return m_gbSzerokopasmowa->edPasma();
}

QComboBox &TFrmParametry::cbWygladzanie() const
{
    return m_gbSzerokopasmowa->cbWygladzanie();
}

QCheckBox &TFrmParametry::chkBramkaAuto() const
{
    return m_gbSzerokopasmowa->chkBramkaAuto();
}

QDoubleSpinBox &TFrmParametry::seBramka() const
{
    return m_gbSzerokopasmowa->seBramka();
}

void TFrmParametry::cbSygnalChange(int index)
{
    // The window's own list selects the item and gives its signal to the generator, also
    // when that item was already selected there.
    if (index >= 0 && index < int(TFrmGenerator::SignalItems.size()))
        m_generator.SetSignal(TFrmGenerator::SignalItems[size_t(index)].Signal);
    UpdateBroadbandGroup();
}

void TFrmParametry::seFreqChange(int value)
{
    m_generator.SetFrequency(value);
    UpdateBroadbandGroup();
}

void TFrmParametry::seFreqTopClick()
{
    m_seFreq->setValue(TFrmGenerator::StepUp(m_seFreq->value()));
}

void TFrmParametry::seFreqBottomClick()
{
    m_seFreq->setValue(TFrmGenerator::StepDown(m_seFreq->value()));
}

void TFrmParametry::seAmpChange(int value)
{
    m_generator.SetAmplitude(value);
}

void TFrmParametry::edStartChange(int value)
{
    m_turntable.SetStartField(value);
}

void TFrmParametry::edStopChange(int value)
{
    m_turntable.SetStopField(value);
}

void TFrmParametry::rbGeneratorClick()
{
    UpdateGeneratorGroup();
    UpdateBroadbandGroup();
}

void TFrmParametry::rbRangeClick()
{
    UpdateRangeGroup();
    const bool full = m_rbFull->isChecked();
    m_turntable.SetFullTurn(full);
    // In full-turn mode the fields show 0 and 360, not the turntable's own range fields;
    // the range that runs must be the one shown here.
    if (!full) {
        m_turntable.SetStartField(m_edStart->value());
        m_turntable.SetStopField(m_edStop->value());
    }
}

void TFrmParametry::UpdateGeneratorGroup()
{
    EnableGroup(m_gbGenerator, SwitchedGroup, m_rbZewnetrzny->isChecked());
}

void TFrmParametry::UpdateRangeGroup()
{
    EnableGroup(m_gbStolikKontrol, SwitchedGroup, m_rbFull->isChecked());
}

// Why the analysis cannot run with what the dialog shows now, or empty. The analysis needs
// the stimulus the internal generator plays; a band text that does not parse is left to OK.
QString TFrmParametry::BroadbandRefusal() const
{
    if (!m_rbWewnetrzny->isChecked())
        return tr("Analiza szerokopasmowa wymaga generatora wewnętrznego.");
    const TGenerator &generator = m_generator.Generator();
    const std::vector<double> bands = m_gbSzerokopasmowa->Bands().value_or(std::vector<double> {});
    return TBroadbandOptions::SignalRefusal(generator.Signal(), m_generator.GetFrequency(), bands);
}

void TFrmParametry::UpdateBroadbandGroup()
{
    const QString refusal = BroadbandRefusal();
    m_lblSzerokopasmowa->setText(refusal);
    m_lblSzerokopasmowa->setVisible(!refusal.isEmpty());

    // A signal refused whatever the bands greys the whole group. One that only falls short of
    // the bands (a chirp ending below the highest) keeps the band field open: shortening the
    // list is as good a remedy as raising the signal's frequency.
    const bool signalFits = m_rbWewnetrzny->isChecked()
        && TBroadbandOptions::SignalRefusal(m_generator.Generator().Signal(),
                                            m_generator.GetFrequency(), { LowestBandHz })
               .isEmpty();
    m_gbSzerokopasmowa->setEnabled(signalFits);
    // Set one by one after the group's own toggling of its children, which knows none of this.
    const bool asked = m_gbSzerokopasmowa->isChecked();
    m_gbSzerokopasmowa->SetFieldsEnabled(asked, asked && refusal.isEmpty());
}
