#pragma once

#include <QDialog>

#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class TAudioIn;
class TCalibratorReading;
class TSettings;

// "Kalibracja czułości": the user holds a sound calibrator (1 kHz, 94 or 114 dB SPL) on the
// measurement microphone and presses "Pomiar"; the dialog records RecordSeconds from the
// input of the settings (WaveINDevID, InSampleRate, RecordBuffSize; 16 bits, mono) and shows
// the level, its spread and the resulting sensitivity. "OK" is enabled only for a reading
// that can be taken; a refused one shows why. The progress follows the recorded samples, so
// the dialog never waits itself and runs on whatever clock paces the input.
//
// Modal, GUI thread only. The settings are read when "Pomiar" is pressed and must outlive
// the dialog; a recording still running when the dialog closes is dropped.
class TFrmKalibracja : public QDialog
{
    Q_OBJECT

public:
    static constexpr int RecordSeconds = 5;

    explicit TFrmKalibracja(const TSettings &settings, QWidget *parent = nullptr);
    ~TFrmKalibracja() override;

    // dB FS RMS of 94 dB SPL from the last accepted reading; none before one.
    std::optional<double> SensitivityDbfs() const { return m_sensitivity; }

    void done(int result) override;

private:
    void StartMeasurement();
    // OnBufferFilled of the recorder, on the GUI thread; false once RecordSeconds are in.
    bool BufferFilled(const char *buffer, int size);
    void RecorderStopped();
    void RecorderFailed();
    void ShowReading();
    double CalibratorDbSpl() const;
    void ShowProblem(const QString &text);

    const TSettings &m_settings;
    std::unique_ptr<TAudioIn> m_recorder;
    std::unique_ptr<TCalibratorReading> m_reading;
    qint64 m_samplesWanted = 0;
    bool m_measuring = false;
    std::optional<double> m_sensitivity;

    QRadioButton *m_rb94 = nullptr;
    QRadioButton *m_rb114 = nullptr;
    QPushButton *m_measure = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_level = nullptr;
    QLabel *m_spread = nullptr;
    QLabel *m_result = nullptr;
    QLabel *m_problem = nullptr;
    QPushButton *m_ok = nullptr;
};
