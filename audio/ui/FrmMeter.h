#pragma once

#include "audio/RecordFile.h"

#include <QWidget>

#include <functional>
#include <memory>

class QEvent;
class QLabel;
class QPushButton;
class QSpinBox;
class QFrame;
class TAudioIn;
class TClock;
class TClockTimer;
class TQvLed;
class TQvVUMeter;

// The "Wskaźnik wysterowania" tool window: records from the sound card's input through a
// TAudioIn, shows the level on a needle meter with a clip lamp and, while Recording is
// true, appends every delivered buffer to the program's recording file in the working folder
// (TempDir): "temp.raw", or "temp-2.raw" ... while another running program holds that one
// (TRecordSlot); headerless samples exactly as the input stream delivers them.
//
// The measurement run uses it through OpenRecordFile, StartRecorder, Recording,
// StopRecorder and CloseRecordFile. Created once at start-up; closing only hides it.
// GUI thread only. `clock` drives the clip lamp's 50 ms timer and must outlive the window.
class TFrmMeter : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 177;
    static constexpr int HeightServiceHidden = 166;
    static constexpr int HeightServiceShown = 204;
    static constexpr int ClipTimerMs = 50;
    static constexpr int ClipHoldTicks = 10; // the lamp goes out 10 ticks after a clip
    static constexpr int MeterBlockLength = 400; // samples per needle update
    static const QString RecordFileBaseName; // "temp.raw", while no other program holds it

    explicit TFrmMeter(TClock &clock, QWidget *parent = nullptr);
    explicit TFrmMeter(QWidget *parent = nullptr);
    ~TFrmMeter() override;

    // Starts a new recording file (RecordFilePath(), written beside it until CloseRecordFile);
    // the per-user working folder is made first when it is missing. Throws EInOutError
    // (Polish text naming the file) when it cannot be created.
    void OpenRecordFile();
    // Starts the recorder with the input settings (WaveINDevID, RecordBuffSize,
    // InSampleRate, InQuant); does nothing while it runs. A failure is shown in a message
    // box with the stream's ErrorMessage. True when the recorder runs afterwards.
    bool StartRecorder();
    // Stops the recorder gracefully (the queued buffers are not delivered) and drops the
    // needle to 0.
    void StopRecorder();
    // Closes the record file (nothing if none is open): it replaces temp.raw only when
    // complete. Throws EInOutError when the last bytes cannot be written; a write failure
    // already reported is not reported again (and nothing replaces temp.raw).
    void CloseRecordFile();

    // Delivered buffers are appended to the record file while true; the file must be open.
    bool Recording = false;

    int ClipTicks() const { return m_ClipTicks; }
    bool RecordFileOpen() const;
    // The program's recording file in TempDir (its lock moves with TempDir).
    QString RecordFilePath() const;
    // A write to the record file failed since it was opened: writing stopped there and the
    // user was told once; closing the file leaves an earlier temp.raw as it was.
    bool RecordWriteFailed() const;
    // Who tells the user about a write failure: by default this window's message box; the
    // measurement run takes it over while it records (empty function: the box again).
    void SetWriteErrorHandler(std::function<void(const QString &text)> handler);
    // Who hears that the input device stopped delivering and was closed (lamp off and "Rec"
    // up by then): by default this window's message box; the measurement run takes it over
    // while it exists (empty function: the box again).
    void SetStreamFailureHandler(std::function<void(const QString &text)> handler);
    // The level meter's copy of the last delivered buffer (empty while the recorder is
    // stopped).
    QByteArray LevelBuffer() const;

    TAudioIn &Recorder() const { return *m_Recorder; }
    TRecordFile &RecordFile() { return m_recordFile; }
    TQvVUMeter &dBMeter() const { return *m_dBMeter; }
    TQvLed &Led() const { return *m_Led; }
    TQvLed &ledClip() const { return *m_ledClip; }
    QPushButton &btnStart() const { return *m_btnStart; }
    QPushButton &SpeedButton1() const { return *m_SpeedButton1; }
    QFrame &pnlService() const { return *m_pnlService; }
    QPushButton &btnRec() const { return *m_btnRec; }
    QSpinBox &RxSpinEdit1() const { return *m_RxSpinEdit1; }
    TClockTimer &Timer1() const { return *m_Timer1; }

    // The desktop's volume mixer program, or an empty string when none is installed.
    static QString MixerProgram();

protected:
    bool event(QEvent *event) override;

private:
    void FormCreate();
    void btnStartClick();
    void btnRecClick(bool down);
    bool RecorderBufferFilled(char *Buffer, int &Size);
    void RecorderStart();
    void RecorderStop();
    void RecorderFailure();
    void dBMeterClip();
    void Timer1Timer();
    void RxSpinEdit1Change(int value);
    void SpeedButton1Click();
    void ServiceWordTyped(); // shows or hides the service panel

    void AppendToRecordFile(const char *data, int size);
    void ReportWriteError(const QString &text);
    void ShowError(const QString &text);
    // The window's own buttons run the file operations; their errors go to a message box.
    // True when the operation did not throw.
    template<typename F>
    bool Guarded(F &&operation);

    TClock &m_clock;
    std::unique_ptr<TAudioIn> m_Recorder;
    std::unique_ptr<TClockTimer> m_Timer1;
    TQvVUMeter *m_dBMeter = nullptr;
    TQvLed *m_Led = nullptr;
    TQvLed *m_ledClip = nullptr;
    QLabel *m_Label2 = nullptr;
    QPushButton *m_btnStart = nullptr;
    QPushButton *m_SpeedButton1 = nullptr;
    QFrame *m_pnlService = nullptr;
    QPushButton *m_btnRec = nullptr;
    QLabel *m_Label1 = nullptr;
    QSpinBox *m_RxSpinEdit1 = nullptr;

    int m_ClipTicks = 0;
    std::unique_ptr<char[]> m_LevelBuffer;
    int m_levelBufferSize = 0;
    TRecordFile m_recordFile;
    std::function<void(const QString &)> m_writeErrorHandler;
    std::function<void(const QString &)> m_streamFailureHandler;
};
