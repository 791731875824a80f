#pragma once

#include "audio/Generator.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TAudioOut;
class TQvLed;

// The "Generator" tool window: plays the chosen test signal through the sound card's
// output. The window owns a TGenerator, which computes one block per output buffer, and a
// TAudioOut, which asks for each buffer on the GUI thread. Every change of signal,
// frequency or amplitude goes to the generator at once, also while it plays; the phase
// chain keeps a running sine continuous across a frequency change.
//
// Created once at start-up and kept for the whole run; closing it only hides it. The
// measurement run starts and stops it with StartGenerator/StopGenerator, the measurement
// parameters dialog reads and sets frequency and amplitude. GUI thread only.
class TFrmGenerator : public QWidget
{
    Q_OBJECT

public:
    // The signal list: caption (the Polish source text, shown translated) and the generator's
    // signal, by item index.
    struct TSignalItem
    {
        const char *Caption; // UTF-8
        TSignalType Signal;
    };
    static const std::array<TSignalItem, 9> SignalItems;

    // Octave steps of the frequency arrows, Hz.
    static constexpr std::array<int, 12> FrequencySteps
        = { 20, 32, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000, 20000 };
    // Value after the up arrow, given w = the value after the box's own increment of 1.
    static int StepUp(int w);
    // Value after the down arrow, given w = the value after the box's own decrement of 1.
    static int StepDown(int w);

    explicit TFrmGenerator(QWidget *parent = nullptr);
    ~TFrmGenerator() override;

    // Reads the settings (OutSampleRate, PlayBuffSize, WaveOUTDevID, OutQuant), sizes the
    // block and opens the output. A failure shows the stream's ErrorMessage in a box; the
    // window then stays Generating until StopGenerator.
    void StartGenerator();
    // If Generating: stops the output at once (queued buffers are dropped).
    void StopGenerator();
    bool Generating() const { return m_Generating; }
    // Who hears that the output device stopped taking buffers and was closed (the window is
    // back to Idle by then): by default this window's message box; the measurement run takes
    // it over while it exists (empty function: the box again).
    void SetStreamFailureHandler(std::function<void(const QString &text)> handler);

    // Hz, as the generator has it.
    double GetFrequency() const;
    // Gives x to the generator (throws EGeneratorError for x <= 0), then shows its integer
    // part in the box (kept within 20..20000), which applies the box's value.
    void SetFrequency(double x);
    // Percent, as the generator has it.
    double GetAmplitude() const;
    // Gives x to the generator, then shows its integer part in the box (kept within
    // 10..100), which applies the box's value.
    void SetAmplitude(double x);
    // Selects the item of the signal list that plays signal (no change for a signal the list
    // does not offer, Square1) and gives it to the generator. False when not offered.
    bool SetSignal(TSignalType signal);

    TGenerator &Generator() { return *m_Generator; }
    TAudioOut &GenOut() { return *m_GenOut; }
    TQvLed &GenLed() { return *m_GenLed; }
    QComboBox &cbSygnal() { return *m_cbSygnal; }
    QSpinBox &seFreq() { return *m_seFreq; }
    QSpinBox &seAmp() { return *m_seAmp; }
    QPushButton &btnStart() { return *m_btnStart; }
    QPushButton &btnStop() { return *m_btnStop; }
    // Samples of the current block (empty while stopped).
    const std::vector<qint16> &SampleBlock() const { return m_SampleBlock; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cbSygnalChange(int index);
    void seFreqChange(int value);
    void seFreqTopClick();
    void seFreqBottomClick();
    void seAmpChange(int value);
    void btnStartClick();
    void btnStopClick();
    void GeneratorGenerate(int index, qint16 value);
    bool GenOutFillBuffer(char *buffer, int &size);
    void GenOutStart();
    void GenOutStop();
    void GenOutFailure();
    void ShowError(const QString &text);

    bool m_Generating = false;
    std::vector<qint16> m_SampleBlock;
    int m_BytesPerSample = 2; // of the output stream: 2 (16-bit) or 1 (8-bit)
    std::unique_ptr<TGenerator> m_Generator;
    std::unique_ptr<TAudioOut> m_GenOut;
    std::function<void(const QString &)> m_streamFailureHandler;

    QLabel *m_Label2 = nullptr;
    QComboBox *m_cbSygnal = nullptr;
    QLabel *m_Label1 = nullptr;
    QSpinBox *m_seFreq = nullptr;
    QLabel *m_Label3 = nullptr;
    QSpinBox *m_seAmp = nullptr;
    TQvLed *m_GenLed = nullptr;
    QPushButton *m_btnStart = nullptr;
    QPushButton *m_btnStop = nullptr;
};
