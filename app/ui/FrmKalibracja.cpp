#include "app/ui/FrmKalibracja.h"

#include "app/Settings.h"
#include "audio/AudioIn.h"
#include "document/ui/Prompts.h"
#include "measurement/CalibratorReading.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel *NamedLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

TFrmKalibracja::TFrmKalibracja(const TSettings &settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_recorder(std::make_unique<TAudioIn>())
{
    setObjectName(QStringLiteral("FrmKalibracja"));
    setWindowTitle(tr("Kalibracja czułości"));
    setModal(true);

    auto *hint = new QLabel(tr("Nałóż kalibrator akustyczny (1 kHz) na mikrofon, "
                               "włącz go i naciśnij „Pomiar”. Nagranie trwa %1 s.")
                                .arg(RecordSeconds),
                            this);
    hint->setWordWrap(true);

    auto *levelBox = new QGroupBox(tr("Poziom kalibratora"), this);
    m_rb94 = new QRadioButton(tr("94 dB SPL"), levelBox);
    m_rb94->setObjectName(QStringLiteral("rb94"));
    m_rb94->setChecked(true);
    m_rb114 = new QRadioButton(tr("114 dB SPL"), levelBox);
    m_rb114->setObjectName(QStringLiteral("rb114"));
    auto *levelLayout = new QHBoxLayout(levelBox);
    levelLayout->addWidget(m_rb94);
    levelLayout->addWidget(m_rb114);
    levelLayout->addStretch();

    m_measure = new QPushButton(tr("&Pomiar"), this);
    m_measure->setObjectName(QStringLiteral("btnPomiar"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("pbPomiar"));
    m_progress->setRange(0, RecordSeconds * 1000);
    m_progress->setValue(0);
    m_progress->setFormat(tr("%v ms"));
    auto *measureRow = new QHBoxLayout;
    measureRow->addWidget(m_measure);
    measureRow->addWidget(m_progress, 1);

    m_level = NamedLabel("lblPoziom", this);
    m_spread = NamedLabel("lblRozrzut", this);
    m_result = NamedLabel("lblCzulosc", this);
    m_problem = NamedLabel("lblProblem", this);
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A wrapped label does not make a shown dialog taller: room for the longest reason.
    m_problem->setMinimumHeight(m_problem->fontMetrics().lineSpacing() * 4);
    m_problem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = m_problem->palette();
    palette.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x00));
    m_problem->setPalette(palette);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("&Anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(levelBox);
    layout->addLayout(measureRow);
    layout->addWidget(m_level);
    layout->addWidget(m_spread);
    layout->addWidget(m_result);
    layout->addWidget(m_problem);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(m_measure, &QPushButton::clicked, this, &TFrmKalibracja::StartMeasurement);
    // The calibrator's level only shifts the result: a reading already made is shown anew.
    connect(m_rb114, &QRadioButton::toggled, this, &TFrmKalibracja::ShowReading);

    m_recorder->SetNumBuffers(2);
    m_recorder->SetStereo(false);
    m_recorder->OnBufferFilled = [this](char *buffer, int &size) {
        return BufferFilled(buffer, size);
    };
    m_recorder->OnStop = [this](QObject *) {
        RecorderStopped();
    };
    m_recorder->OnFailure = [this](QObject *) {
        RecorderFailed();
    };

    // Room for the longest texts, so the dialog does not jump when they appear.
    setMinimumWidth(fontMetrics().horizontalAdvance(hint->text()) * 3 / 5);
}

TFrmKalibracja::~TFrmKalibracja()
{
    m_recorder->OnBufferFilled = nullptr;
    m_recorder->OnStop = nullptr;
    m_recorder->OnFailure = nullptr;
    m_recorder->StopAtOnce();
}

void TFrmKalibracja::done(int result)
{
    m_recorder->StopAtOnce();
    m_measuring = false;
    QDialog::done(result);
}

void TFrmKalibracja::StartMeasurement()
{
    if (m_measuring || m_recorder->DeviceOpen())
        return;
    m_sensitivity.reset();
    m_ok->setEnabled(false);
    m_level->clear();
    m_spread->clear();
    m_result->clear();
    m_problem->clear();
    m_progress->setValue(0);

    m_recorder->SetWaveDevice(quint32(m_settings.WaveINDevID));
    m_recorder->SetFrameRate(m_settings.InSampleRate);
    m_recorder->SetQuantization(16);
    m_recorder->SetBufferSize(m_settings.RecordBuffSize);
    const int rate = m_recorder->FrameRate();
    m_samplesWanted = qint64(rate) * RecordSeconds;
    m_reading = std::make_unique<TCalibratorReading>(rate, m_samplesWanted);
    m_measuring = true;
    m_measure->setEnabled(false);
    if (!m_recorder->Start()) {
        m_measuring = false;
        m_measure->setEnabled(true);
        ShowProblem(m_recorder->ErrorMessage());
    } else if (!m_recorder->Notice().isEmpty()) {
        // The stored card is gone and the default records: the user must know which one.
        ShowMessageLater(this, QMessageBox::Warning, m_recorder->Notice());
    }
}

bool TFrmKalibracja::BufferFilled(const char *buffer, int size)
{
    if (!m_measuring)
        return false;
    // 16-bit mono: the stream's buffers are allocated with new[], aligned for qint16.
    const qint64 samples = std::min<qint64>(size / 2, m_samplesWanted - m_reading->SampleCount());
    m_reading->Add(reinterpret_cast<const qint16 *>(buffer), samples);
    m_progress->setValue(int(m_reading->SampleCount() * 1000 / m_recorder->FrameRate()));
    if (m_reading->SampleCount() < m_samplesWanted)
        return true;
    m_measuring = false;
    m_recorder->StopGracefully(); // the buffers still at the device are not delivered
    ShowReading();
    return false;
}

void TFrmKalibracja::RecorderStopped()
{
    m_measure->setEnabled(true);
}

void TFrmKalibracja::RecorderFailed()
{
    m_measuring = false;
    m_measure->setEnabled(true);
    m_progress->setValue(0);
    ShowProblem(m_recorder->ErrorMessage());
}

double TFrmKalibracja::CalibratorDbSpl() const
{
    return m_rb114->isChecked() ? 114.0 : 94.0;
}

void TFrmKalibracja::ShowReading()
{
    if (!m_reading || m_measuring)
        return;
    const TCalibratorReading &reading = *m_reading;
    m_level->setText(tr("Poziom: %1 dBFS").arg(TCalibratorReading::DbText(reading.LevelDbfs())));
    m_spread->setText(tr("Rozrzut: %1 dB").arg(TCalibratorReading::DbText(reading.SpreadDb())));
    const QString problem = reading.Problem();
    ShowProblem(problem);
    // A refused reading gives no sensitivity, not even one to read off.
    if (problem.isEmpty())
        m_sensitivity = reading.SensitivityDbfs(CalibratorDbSpl());
    else
        m_sensitivity.reset();
    m_result->setText(
        m_sensitivity
            ? tr("Czułość: %1 dBFS przy 94 dB SPL").arg(TCalibratorReading::DbText(*m_sensitivity))
            : QString());
    m_ok->setEnabled(m_sensitivity.has_value());
}

void TFrmKalibracja::ShowProblem(const QString &text)
{
    m_problem->setText(text);
}
