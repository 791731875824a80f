#include "measurement/ui/BroadbandGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QString SmoothingCaption(int smoothing)
{
    return smoothing <= 0
        ? QCoreApplication::translate("TBroadbandGroup", "brak")
        : QCoreApplication::translate("TBroadbandGroup", "1/%1 oktawy").arg(smoothing);
}

QLabel *FieldLabel(const QString &text, QWidget *field)
{
    auto *label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    return label;
}

} // namespace

TBroadbandGroup::TBroadbandGroup(bool checkable, QWidget *parent)
    : QGroupBox(tr("Analiza szerokopasmowa"), parent)
{
    setObjectName(QStringLiteral("gbSzerokopasmowa"));
    setCheckable(checkable);
    setChecked(false);
    const TBroadbandOptions defaults;

    m_edPasma = new QLineEdit(TBroadbandOptions::BandsText(defaults.BandsHz), this);
    m_edPasma->setObjectName(QStringLiteral("edPasma"));
    FitBandField();
    m_cbWygladzanie = new QComboBox(this);
    m_cbWygladzanie->setObjectName(QStringLiteral("cbWygladzanie"));
    for (int smoothing : TBroadbandOptions::SmoothingChoices())
        m_cbWygladzanie->addItem(SmoothingCaption(smoothing), smoothing);
    m_cbWygladzanie->setCurrentIndex(m_cbWygladzanie->findData(defaults.Smoothing));
    m_chkBramkaAuto = new QCheckBox(tr("automatyczna"), this);
    m_chkBramkaAuto->setObjectName(QStringLiteral("chkBramkaAuto"));
    m_chkBramkaAuto->setChecked(true);
    m_seBramka = new QDoubleSpinBox(this);
    m_seBramka->setObjectName(QStringLiteral("seBramka"));
    m_seBramka->setDecimals(1);
    m_seBramka->setRange(0.5, 500.0);
    m_seBramka->setSingleStep(0.5);
    m_seBramka->setValue(3.0);
    m_seBramka->setSuffix(QStringLiteral(" ms"));

    m_cbPlaszczyzna = new QComboBox(this);
    m_cbPlaszczyzna->setObjectName(QStringLiteral("cbPlaszczyzna"));
    m_cbPlaszczyzna->addItem(tr("pozioma"), false);
    m_cbPlaszczyzna->addItem(tr("pionowa"), true);

    m_lblPasma = FieldLabel(tr("Częstotliwości [Hz]"), m_edPasma);
    m_lblPlaszczyzna = FieldLabel(tr("Płaszczyzna"), m_cbPlaszczyzna);
    m_lblWygladzanie = FieldLabel(tr("Wygładzanie"), m_cbWygladzanie);
    m_lblBramka = FieldLabel(tr("Bramka"), m_chkBramkaAuto);
    auto *gate = new QHBoxLayout;
    gate->addWidget(m_chkBramkaAuto);
    gate->addWidget(m_seBramka, 1);
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_lblPasma, 0, 0);
    grid->addWidget(m_edPasma, 0, 1);
    grid->addWidget(m_lblWygladzanie, 1, 0);
    grid->addWidget(m_cbWygladzanie, 1, 1);
    grid->addWidget(m_lblBramka, 2, 0);
    grid->addLayout(gate, 2, 1);
    grid->addWidget(m_lblPlaszczyzna, 3, 0);
    grid->addWidget(m_cbPlaszczyzna, 3, 1);
    grid->setColumnStretch(1, 1);

    connect(m_edPasma, &QLineEdit::textChanged, this, &TBroadbandGroup::FieldsChanged);
    connect(m_cbWygladzanie, &QComboBox::currentIndexChanged, this,
            &TBroadbandGroup::FieldsChanged);
    connect(m_chkBramkaAuto, &QCheckBox::toggled, this, &TBroadbandGroup::FieldsChanged);
    connect(m_seBramka, &QDoubleSpinBox::valueChanged, this, &TBroadbandGroup::FieldsChanged);
    connect(m_cbPlaszczyzna, &QComboBox::currentIndexChanged, this,
            &TBroadbandGroup::FieldsChanged);
}

TBroadbandGroup::TFields TBroadbandGroup::Fields() const
{
    TFields fields;
    fields.Asked = isCheckable() && isChecked();
    fields.Bands = m_edPasma->text();
    fields.Smoothing = m_cbWygladzanie->currentData().toInt();
    fields.AutomaticGate = m_chkBramkaAuto->isChecked();
    fields.GateMs = m_seBramka->value();
    fields.Vertical = m_cbPlaszczyzna->currentIndex() == 1;
    return fields;
}

void TBroadbandGroup::SetFields(const TFields &fields)
{
    if (isCheckable())
        setChecked(fields.Asked);
    m_edPasma->setText(fields.Bands);
    const int smoothing = m_cbWygladzanie->findData(fields.Smoothing);
    if (smoothing >= 0)
        m_cbWygladzanie->setCurrentIndex(smoothing);
    m_chkBramkaAuto->setChecked(fields.AutomaticGate);
    m_seBramka->setValue(fields.GateMs);
    m_cbPlaszczyzna->setCurrentIndex(fields.Vertical ? 1 : 0);
}

TBroadbandOptions TBroadbandGroup::Options() const
{
    TBroadbandOptions options;
    if (auto bands = Bands())
        options.BandsHz = std::move(*bands);
    options.Smoothing = m_cbWygladzanie->currentData().toInt();
    options.GateMs = m_chkBramkaAuto->isChecked() ? 0.0 : m_seBramka->value();
    options.Vertical = m_cbPlaszczyzna->currentIndex() == 1;
    return options;
}

std::optional<std::vector<double>> TBroadbandGroup::Bands(QString *error) const
{
    return TBroadbandOptions::ParseBands(m_edPasma->text(), error);
}

void TBroadbandGroup::SetFieldsEnabled(bool bands, bool options)
{
    m_lblPasma->setEnabled(bands);
    m_edPasma->setEnabled(bands);
    for (QWidget *control :
         { static_cast<QWidget *>(m_lblWygladzanie), static_cast<QWidget *>(m_cbWygladzanie),
           static_cast<QWidget *>(m_lblBramka), static_cast<QWidget *>(m_chkBramkaAuto),
           static_cast<QWidget *>(m_lblPlaszczyzna), static_cast<QWidget *>(m_cbPlaszczyzna) })
        control->setEnabled(options);
    m_seBramka->setEnabled(options && !m_chkBramkaAuto->isChecked());
}

// The default list is to be seen whole, in whatever font the dialog has.
void TBroadbandGroup::FitBandField()
{
    const TBroadbandOptions defaults;
    const QString text = TBroadbandOptions::BandsText(defaults.BandsHz) + QStringLiteral("MM");
    m_edPasma->setMinimumWidth(m_edPasma->fontMetrics().horizontalAdvance(text));
}

void TBroadbandGroup::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_edPasma)
        FitBandField();
}
