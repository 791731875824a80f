#include "app/ui/MicCalibrationGroup.h"

#include "analysis/BroadbandOptions.h"
#include "analysis/MicCalibration.h"
#include "app/Settings.h"
#include "app/ui/FrmKalibracja.h"
#include "document/ui/Prompts.h"
#include "measurement/CalibratorReading.h"

#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

TMicCalibrationGroup::TMicCalibrationGroup(QWidget *parent)
    : QGroupBox(tr("Kalibracja mikrofonu"), parent)
{
    setObjectName(QStringLiteral("gbMicCalibration"));
    auto *grid = new QGridLayout(this);

    auto *fileCaption = new QLabel(tr("Plik:"), this);
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("edMicCal"));
    m_file->setReadOnly(true);
    m_file->setPlaceholderText(tr("brak"));
    fileCaption->setBuddy(m_file);
    m_browse = new QToolButton(this);
    m_browse->setObjectName(QStringLiteral("btnMicCal"));
    m_browse->setText(QStringLiteral("…"));
    m_browse->setToolTip(tr("Wybierz plik kalibracji mikrofonu"));
    m_remove = new QPushButton(tr("Usuń"), this);
    m_remove->setObjectName(QStringLiteral("btnMicCalUsun"));
    m_sensFactor = new QLabel(this);
    m_sensFactor->setObjectName(QStringLiteral("lblSensFactor"));
    m_sensFactor->setWordWrap(true);
    grid->addWidget(fileCaption, 0, 0);
    grid->addWidget(m_file, 0, 1, 1, 2);
    grid->addWidget(m_browse, 0, 3);
    grid->addWidget(m_remove, 0, 4);
    grid->addWidget(m_sensFactor, 1, 1, 1, 4);

    // Unticked: no sensitivity, the responses stay in dB FS.
    m_hasSensitivity = new QCheckBox(tr("Czułość:"), this);
    m_hasSensitivity->setObjectName(QStringLiteral("cbCzulosc"));
    m_sensitivity = new QDoubleSpinBox(this);
    m_sensitivity->setObjectName(QStringLiteral("edCzulosc"));
    m_sensitivity->setDecimals(2);
    m_sensitivity->setSingleStep(0.1);
    m_sensitivity->setRange(TBroadbandOptions::LowestSensitivityDbfs,
                            TBroadbandOptions::HighestSensitivityDbfs);
    m_sensitivity->setSuffix(tr(" dBFS przy 94 dB SPL"));
    m_sensitivity->setValue(-40.0);
    m_sensitivity->setEnabled(false);
    m_calibrate = new QPushButton(tr("&Kalibruj…"), this);
    m_calibrate->setObjectName(QStringLiteral("btnKalibruj"));
    grid->addWidget(m_hasSensitivity, 2, 0, 1, 2);
    grid->addWidget(m_sensitivity, 2, 2);
    grid->addWidget(m_calibrate, 2, 3, 1, 2);
    grid->setColumnStretch(2, 1);

    connect(m_browse, &QToolButton::clicked, this, &TMicCalibrationGroup::Browse);
    connect(m_remove, &QPushButton::clicked, this, &TMicCalibrationGroup::RemoveFile);
    connect(m_hasSensitivity, &QCheckBox::toggled, m_sensitivity, &QWidget::setEnabled);
    connect(m_calibrate, &QPushButton::clicked, this, &TMicCalibrationGroup::Calibrate);
}

void TMicCalibrationGroup::Load(const TSettings &settings)
{
    m_settings = &settings;
    m_fileName = settings.MicCalFile;
    std::optional<double> sensFactor;
    QString error;
    if (!m_fileName.isEmpty()) {
        // A stored file that cannot be read now stays chosen (the analysis reports it); the
        // reason is shown in place of its Sens Factor.
        if (const auto calibration = TMicCalibration::Load(m_fileName, &error))
            sensFactor = calibration->SensFactorDb();
    }
    ShowFile(m_fileName, sensFactor, error);
    m_hasSensitivity->setChecked(settings.MicSensitivity.has_value());
    m_sensitivity->setEnabled(settings.MicSensitivity.has_value());
    if (settings.MicSensitivity)
        m_sensitivity->setValue(*settings.MicSensitivity);
}

void TMicCalibrationGroup::Store(TSettings &settings) const
{
    settings.MicCalFile = m_fileName;
    settings.MicSensitivity = m_hasSensitivity->isChecked()
        ? std::optional<double>(m_sensitivity->value())
        : std::nullopt;
}

void TMicCalibrationGroup::Browse()
{
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Open;
    request.FileName = m_fileName;
    request.Filters = { tr("Pliki kalibracji (*.txt *.cal *.frd)"), tr("Wszystkie pliki (*)") };
    if (!AskFileName(this, request))
        return;
    QString error;
    const auto calibration = TMicCalibration::Load(request.FileName, &error);
    if (!calibration) {
        ShowMessage(this, QMessageBox::Warning, error);
        return;
    }
    m_fileName = request.FileName;
    ShowFile(m_fileName, calibration->SensFactorDb());
}

void TMicCalibrationGroup::RemoveFile()
{
    m_fileName.clear();
    ShowFile({}, std::nullopt);
}

void TMicCalibrationGroup::ShowFile(const QString &path, const std::optional<double> &sensFactorDb,
                                    const QString &note)
{
    m_file->setText(QDir::toNativeSeparators(path));
    m_file->setToolTip(m_file->text());
    m_file->setCursorPosition(0);
    m_sensFactor->setText(sensFactorDb ? tr("Sens Factor: %1 dB (informacyjnie)")
                                             .arg(TCalibratorReading::DbText(*sensFactorDb))
                                       : note);
    m_remove->setEnabled(!path.isEmpty());
}

void TMicCalibrationGroup::Calibrate()
{
    // Opened window-modal over the options, not run in a nested loop: its OK hands the
    // reading over through finished.
    auto *dialog = new TFrmKalibracja(m_settings ? *m_settings : Settings(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) {
        if (result != QDialog::Accepted || !dialog->SensitivityDbfs())
            return;
        m_hasSensitivity->setChecked(true);
        m_sensitivity->setValue(*dialog->SensitivityDbfs());
    });
    dialog->open();
}
