#include "measurement/ui/FrmAnaliza.h"

#include "audio/SignalType.h"
#include "document/ui/Prompts.h"
#include "measurement/ui/BroadbandGroup.h"
#include "measurement/ui/SeriesGroup.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmAnaliza::TFrmAnaliza(const QString &recording, const TMarkerLog &log, QWidget *parent)
    : QDialog(parent)
    , m_log(log)
{
    setWindowTitle(tr("Analiza nagrania"));
    setObjectName(QStringLiteral("FrmAnaliza"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);

    m_lblNagranie = new QLabel(Description(recording, log), this);
    m_lblNagranie->setObjectName(QStringLiteral("lblNagranie"));
    m_lblNagranie->setWordWrap(true);
    layout->addWidget(m_lblNagranie);

    m_gbSeria = new TSeriesGroup(this);
    layout->addWidget(m_gbSeria);

    m_gbSzerokopasmowa = new TBroadbandGroup(false, this);
    layout->addWidget(m_gbSzerokopasmowa);
    m_lblSzerokopasmowa = new QLabel(this);
    m_lblSzerokopasmowa->setObjectName(QStringLiteral("lblSzerokopasmowa"));
    m_lblSzerokopasmowa->setWordWrap(true);
    layout->addWidget(m_lblSzerokopasmowa);

    TSeriesGroup::AddButtons(*this, *layout, m_btnOK, m_btnAnuluj);
    layout->setSizeConstraint(QLayout::SetFixedSize);

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
