#pragma once

#include <QGroupBox>

#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TSettings;

// The options' "Kalibracja mikrofonu": the measurement microphone's calibration file (read
// at once when chosen; a refused file is reported and the previous choice stays), its
// "Sens Factor" shown for information, and the input's sensitivity in dB FS of a 94 dB SPL
// tone, typed or measured with a sound calibrator ("Kalibruj…"). Its values reach the
// settings only through Store (on Apply or OK). GUI thread only.
class TMicCalibrationGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit TMicCalibrationGroup(QWidget *parent = nullptr);

    // Also remembers settings for the calibrator's input (device, rate, buffer): they must
    // outlive the group.
    void Load(const TSettings &settings);
    void Store(TSettings &settings) const;

    // The chosen calibration file; empty for none.
    QString FileName() const { return m_fileName; }

private:
    void Browse();
    void RemoveFile();
    // Shows path as chosen, with its Sens Factor in dB, or note where the file gives none.
    void ShowFile(const QString &path, const std::optional<double> &sensFactorDb,
                  const QString &note = {});
    void Calibrate();

    const TSettings *m_settings = nullptr;
    QString m_fileName;
    QLineEdit *m_file = nullptr;
    QToolButton *m_browse = nullptr;
    QPushButton *m_remove = nullptr;
    QLabel *m_sensFactor = nullptr;
    QCheckBox *m_hasSensitivity = nullptr;
    QDoubleSpinBox *m_sensitivity = nullptr;
    QPushButton *m_calibrate = nullptr;
};
