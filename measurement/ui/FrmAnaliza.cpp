#include "measurement/ui/FrmAnaliza.h"

#include "audio/SignalType.h"
#include "controls/ui/ColorComboBox.h"
#include "document/ui/Prompts.h"
#include "measurement/MeasurementColors.h"
#include "measurement/ui/BroadbandGroup.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmAnaliza::TFrmAnaliza(const QString &recording, const TMarkerLog &log, QWidget *parent)
    : QDialog(parent)
    , m_log(log)
{
    setWindowTitle(QStringLiteral("Analiza nagrania"));
    setObjectName(QStringLiteral("FrmAnaliza"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);

    m_lblNagranie = new QLabel(Description(recording, log), this);
    m_lblNagranie->setObjectName(QStringLiteral("lblNagranie"));
    m_lblNagranie->setWordWrap(true);
    layout->addWidget(m_lblNagranie);

    auto *series = new QGroupBox(QStringLiteral(" Pomiar "), this);
    m_Edit1 = new QLineEdit(series);
    m_Edit1->setObjectName(QStringLiteral("Edit1"));
    m_ColorComboBox1 = new TColorComboBox(series);
    m_ColorComboBox1->setObjectName(QStringLiteral("ColorComboBox1"));
    m_ColorComboBox1->SetColors(MeasurementColors());
    auto *name = new QLabel(QStringLiteral("Nazwa"), series);
    name->setBuddy(m_Edit1);
    auto *color = new QLabel(QStringLiteral("Kolor"), series);
    color->setBuddy(m_ColorComboBox1);
    auto *grid = new QGridLayout(series);
    grid->addWidget(name, 0, 0);
    grid->addWidget(m_Edit1, 0, 1);
    grid->addWidget(color, 1, 0);
    grid->addWidget(m_ColorComboBox1, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addWidget(series);

    m_gbSzerokopasmowa = new TBroadbandGroup(false, this);
    layout->addWidget(m_gbSzerokopasmowa);
    m_lblSzerokopasmowa = new QLabel(this);
    m_lblSzerokopasmowa->setObjectName(QStringLiteral("lblSzerokopasmowa"));
    m_lblSzerokopasmowa->setWordWrap(true);
    layout->addWidget(m_lblSzerokopasmowa);

    m_btnOK = new QPushButton(QStringLiteral("&OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnAnuluj = new QPushButton(QStringLiteral("&Anuluj"), this);
    m_btnAnuluj->setObjectName(QStringLiteral("btnAnuluj"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnAnuluj);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_btnOK, &QPushButton::clicked, this, &TFrmAnaliza::accept);
    connect(m_btnAnuluj, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_gbSzerokopasmowa, &TBroadbandGroup::FieldsChanged, this, &TFrmAnaliza::UpdateRefusal);
    UpdateRefusal();
}

TFrmAnaliza::~TFrmAnaliza() = default;

QString TFrmAnaliza::Description(const QString &recording, const TMarkerLog &log)
{
    return QStringLiteral("%1: %2 %3 Hz, %4°..%5°, %6 Hz")
        .arg(QFileInfo(recording).fileName(), SignalTypeName(log.Signal))
        .arg(log.FrequencyHz, 0, 'g', 6)
        .arg(log.StartDeg)
        .arg(log.StopDeg)
        .arg(log.SampleRate);
}

void TFrmAnaliza::SetSeriesName(const QString &name)
{
    m_Edit1->setText(name);
}

void TFrmAnaliza::SetSeriesColor(quint32 color)
{
    m_ColorComboBox1->SetColorValue(color);
}

QString TFrmAnaliza::SeriesName() const
{
    return m_Edit1->text();
}

quint32 TFrmAnaliza::SeriesColor() const
{
    return m_ColorComboBox1->ColorValue();
}

TBroadbandOptions TFrmAnaliza::BroadbandOptions() const
{
    return m_gbSzerokopasmowa->Options();
}

// The bands are checked for the signal only once they parse; a text that does not is left
// to OK, which says why.
void TFrmAnaliza::UpdateRefusal()
{
    const std::vector<double> bands = m_gbSzerokopasmowa->Bands().value_or(std::vector<double> {});
    const QString refusal
        = TBroadbandOptions::SignalRefusal(m_log.Signal, m_log.FrequencyHz, bands);
    m_lblSzerokopasmowa->setText(refusal);
    m_lblSzerokopasmowa->setVisible(!refusal.isEmpty());
    m_gbSzerokopasmowa->SetFieldsEnabled(true, true);
    m_btnOK->setEnabled(refusal.isEmpty());
}

void TFrmAnaliza::accept()
{
    QString error;
    if (!m_gbSzerokopasmowa->Bands(&error)) {
        ShowMessage(this, QMessageBox::Warning, error);
        m_gbSzerokopasmowa->edPasma().setFocus();
        m_gbSzerokopasmowa->edPasma().selectAll();
        return;
    }
    QDialog::accept();
}
