#include "audio/ui/FrmMeter.h"

#include "app/Settings.h"
#include "audio/AudioIn.h"
#include "audio/RecordSlot.h"
#include "audio/ui/QvVUMeter.h"
#include "controls/Clock.h"
#include "controls/Messages.h"
#include "controls/ui/QvLed.h"
#include "controls/ui/ServiceKeyWatcher.h"
#include "document/InOutError.h"
#include "document/ui/Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>

const QString TFrmMeter::RecordFileBaseName = QStringLiteral("temp.raw");

TFrmMeter::TFrmMeter(QWidget *parent)
    : TFrmMeter(TClock::System(), parent)
{ }

TFrmMeter::TFrmMeter(TClock &clock, QWidget *parent)
    : QWidget(parent)
    , m_clock(clock)
    , m_Recorder(std::make_unique<TAudioIn>())
    , m_Timer1(clock.CreateTimer())
{
    setWindowTitle(tr("Wskaźnik wysterowania"));

    m_Recorder->SetNumBuffers(2);
    m_Recorder->SetFrameRate(22050);
    m_Recorder->SetWaveDevice(0);
    m_Recorder->SetStereo(false);
    m_Recorder->OnStart = [this](QObject *) {
        RecorderStart();
    };
    m_Recorder->OnStop = [this](QObject *) {
        RecorderStop();
    };
    m_Recorder->OnBufferFilled = [this](char *buffer, int &size) {
        return RecorderBufferFilled(buffer, size);
    };
    m_Recorder->OnFailure = [this](QObject *) {
        RecorderFailure();
    };

    m_dBMeter = new TQvVUMeter(this);
    m_dBMeter->setGeometry(0, 0, ClientWidth, 105);
    m_dBMeter->SetTitle(tr("dB"));
    QFont meterFont(QStringLiteral("MS Sans Serif"));
    meterFont.setPointSize(8);
    meterFont.setBold(true);
    m_dBMeter->setFont(meterFont);
    m_dBMeter->SetFontColor(QColor(192, 192, 192));
    m_dBMeter->SetNeedleOffset(20);
    m_dBMeter->SetLogScale(true);
    connect(m_dBMeter, &TQvVUMeter::OnClip, this, [this](TQvVUMeter *) { dBMeterClip(); });

    m_Led = new TQvLed(this);
    m_Led->setGeometry(8, 116, 16, 8);
    m_Led->SetOnColor(0x00FF00); // lime
    m_Led->SetOffColor(0x008000); // green

    m_ledClip = new TQvLed(this);
    m_ledClip->setGeometry(8, 136, 16, 8);
    m_ledClip->SetLedColor(lcRed);
    m_ledClip->SetOnColor(0x0000FF); // red
    m_ledClip->SetOffColor(0x000080); // maroon
    m_Label2 = new QLabel(tr("clip"), this);
    m_Label2->setGeometry(28, 132, 30, 16);

    m_btnStart = new QPushButton(tr("Włącz"), this);
    m_btnStart->setGeometry(60, 112, 55, 25);
    connect(m_btnStart, &QPushButton::clicked, this, [this] { btnStartClick(); });

    m_SpeedButton1 = new QPushButton(tr("Mikser"), this);
    m_SpeedButton1->setGeometry(118, 112, 55, 25);
    connect(m_SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });

    m_pnlService = new QFrame(this);
    m_pnlService->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pnlService->setGeometry(0, HeightServiceHidden + 4, ClientWidth, 29);
    m_btnRec = new QPushButton(tr("Rec"), m_pnlService);
    m_btnRec->setCheckable(true);
    m_btnRec->setGeometry(4, 3, 45, 23);
    connect(m_btnRec, &QPushButton::clicked, this, [this](bool down) { btnRecClick(down); });
    m_Label1 = new QLabel(tr("decay"), m_pnlService);
    m_Label1->setGeometry(60, 6, 40, 16);
    m_RxSpinEdit1 = new QSpinBox(m_pnlService);
    m_RxSpinEdit1->setRange(0, 100);
    m_RxSpinEdit1->setValue(10);
    m_RxSpinEdit1->setGeometry(104, 3, 68, 23);
    connect(m_RxSpinEdit1, &QSpinBox::valueChanged, this,
            [this](int value) { RxSpinEdit1Change(value); });
    m_pnlService->hide();

    new TServiceKeyWatcher(*this, [this] { ServiceWordTyped(); });

    m_Timer1->OnTimeout = [this] {
        Timer1Timer();
    };
    m_Timer1->Start(ClipTimerMs);

    FormCreate();
}

TFrmMeter::~TFrmMeter()
{
    // The recorder may still hold buffers at the device; no handler may run any more.
    m_Recorder->OnBufferFilled = nullptr;
    m_Recorder->OnStart = nullptr;
    m_Recorder->OnStop = nullptr;
    m_Recorder->OnFailure = nullptr;
    m_Recorder->StopAtOnce();
    m_Timer1->Stop();
    // An unfinished recording is dropped with the writer.
}

void TFrmMeter::FormCreate()
{
    setFixedSize(ClientWidth, HeightServiceHidden);
    Recording = false;
    m_dBMeter->SetDecay(9);
    // The window is made at start-up: the program's recording file is claimed now, before
    // another program started later can take it.
    TSettings::MakeWorkingFolder(Settings().TempDir);
    TRecordSlot::Program().PathIn(Settings().TempDir);
}

QString TFrmMeter::RecordFilePath() const
{
    return TRecordSlot::Program().PathIn(Settings().TempDir);
}

QByteArray TFrmMeter::LevelBuffer() const
{
    return m_LevelBuffer ? QByteArray(m_LevelBuffer.get(), m_levelBufferSize) : QByteArray();
}

bool TFrmMeter::RecordFileOpen() const
{
    return m_recordFile.IsOpen();
}

bool TFrmMeter::RecordWriteFailed() const
{
    return m_recordFile.WriteFailed();
}

void TFrmMeter::SetWriteErrorHandler(std::function<void(const QString &)> handler)
{
    m_writeErrorHandler = std::move(handler);
}

void TFrmMeter::SetStreamFailureHandler(std::function<void(const QString &)> handler)
{
    m_streamFailureHandler = std::move(handler);
}

void TFrmMeter::OpenRecordFile()
{
    TSettings::MakeWorkingFolder(Settings().TempDir);
    m_recordFile.Open(RecordFilePath());
}

void TFrmMeter::CloseRecordFile()
{
    m_recordFile.Close();
}

bool TFrmMeter::StartRecorder()
{
    if (m_Recorder->Running())
        return true;
    const TSettings &settings = Settings();
    m_Recorder->SetWaveDevice(quint32(settings.WaveINDevID));
    m_Recorder->SetBufferSize(settings.RecordBuffSize);
    m_Recorder->SetFrameRate(settings.InSampleRate);
    m_Recorder->SetQuantization(settings.InQuant);
    m_dBMeter->SetBufferSize(settings.RecordBuffSize);
    // The copy must hold a whole delivered buffer (never below the stream's 512 bytes) and
    // everything the meter reads.
    m_levelBufferSize = std::max(m_Recorder->BufferSize(), settings.RecordBuffSize / 2 * 2);
    m_LevelBuffer.reset(new char[size_t(m_levelBufferSize)]());
    if (m_Recorder->Start()) {
        if (!m_Recorder->Notice().isEmpty()) {
            // The stored card is gone: the default records now and stays chosen.
            Settings().WaveINDevID = 0;
            ShowMessageLater(this, QMessageBox::Warning, m_Recorder->Notice());
        }
        return true;
    }
    ShowError(m_Recorder->ErrorMessage());
    return false;
}

void TFrmMeter::StopRecorder()
{
    if (m_Recorder->Running())
        m_Recorder->StopGracefully();
    m_dBMeter->ResetNeedle();
}

void TFrmMeter::btnStartClick()
{
    if (m_Recorder->Running())
        StopRecorder();
    else
        StartRecorder();
}

void TFrmMeter::btnRecClick(bool down)
{
    if (!down) {
        Recording = false;
        StopRecorder();
        Guarded([this] { CloseRecordFile(); });
        return;
    }
    // Rec stays down only while something records: a file that cannot be created or a
    // recorder that does not start ends the operation with its one message and Rec up.
    if (!Guarded([this] { OpenRecordFile(); })) {
        m_btnRec->setChecked(false);
        return;
    }
    Recording = true;
    if (!StartRecorder()) {
        Recording = false;
        m_btnRec->setChecked(false);
        Guarded([this] { CloseRecordFile(); });
    }
}

bool TFrmMeter::RecorderBufferFilled(char *Buffer, int &Size)
{
    if (m_LevelBuffer) {
        std::memcpy(m_LevelBuffer.get(), Buffer, size_t(std::min(Size, m_levelBufferSize)));
        QCoreApplication::postEvent(this, new TOrviEvent(OrviMessage::MeterUpdate));
    }
    if (Recording)
        AppendToRecordFile(Buffer, Size);
    return true;
}

void TFrmMeter::AppendToRecordFile(const char *data, int size)
{
    if (m_recordFile.WriteFailed())
        return;
    if (!m_recordFile.Append(data, size, m_Recorder->Quantization()))
        ReportWriteError(m_recordFile.WriteFailureMessage());
}

void TFrmMeter::ReportWriteError(const QString &text)
{
    // One report for the first failing buffer, not one per buffer: writing stops here and
    // temp.raw keeps what it held before this recording.
    // Told after the buffer handler has returned, so the recorder keeps its buffers.
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            if (m_writeErrorHandler)
                m_writeErrorHandler(text);
            else
                ShowError(text);
        },
        Qt::QueuedConnection);
}

void TFrmMeter::RecorderStart()
{
    m_Led->SetActive(true);
}

void TFrmMeter::RecorderStop()
{
    m_Led->SetActive(false);
    // A start that is already under way has allocated its own copy.
    if (!m_Recorder->DeviceOpen()) {
        m_LevelBuffer.reset();
        m_levelBufferSize = 0;
    }
}

void TFrmMeter::RecorderFailure()
{
    m_dBMeter->ResetNeedle();
    // A recording by "Rec" ends as if Rec had been released.
    if (m_btnRec->isChecked()) {
        m_btnRec->setChecked(false);
        Recording = false;
        Guarded([this] { CloseRecordFile(); });
    }
    const QString text = m_Recorder->ErrorMessage();
    if (m_streamFailureHandler)
        m_streamFailureHandler(text); // a running measurement stops and closes its file
    else
        ShowError(text);
}

void TFrmMeter::dBMeterClip()
{
    m_ClipTicks = 0;
    m_Timer1->Start(ClipTimerMs);
    m_ledClip->SetActive(true);
}

void TFrmMeter::Timer1Timer()
{
    ++m_ClipTicks;
    if (m_ClipTicks > ClipHoldTicks - 1) {
        m_Timer1->Stop();
        m_ledClip->SetActive(false);
    }
}

void TFrmMeter::RxSpinEdit1Change(int value)
{
    m_dBMeter->SetDecay(value);
}

QString TFrmMeter::MixerProgram()
{
#ifdef Q_OS_WIN
    for (const char *name : { "sndvol.exe", "sndvol32.exe" }) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
#else
    return QStandardPaths::findExecutable(QStringLiteral("pavucontrol"));
#endif
}

void TFrmMeter::SpeedButton1Click()
{
    const QString program = MixerProgram();
    if (program.isEmpty()) {
        ShowError(tr("Nie znaleziono miksera głośności (program pavucontrol). "
                     "Zainstaluj go albo ustaw poziomy nagrywania innym mikserem."));
        return;
    }
    if (!QProcess::startDetached(program, {}))
        ShowError(
            tr("Nie można uruchomić miksera głośności %1.").arg(QDir::toNativeSeparators(program)));
}

void TFrmMeter::ServiceWordTyped()
{
    m_pnlService->setVisible(!m_pnlService->isVisibleTo(this));
    setFixedSize(ClientWidth,
                 m_pnlService->isVisibleTo(this) ? HeightServiceShown : HeightServiceHidden);
}

bool TFrmMeter::event(QEvent *event)
{
    if (event->type() == OrviMessage::MeterUpdate) {
        // The recorder may have stopped (and dropped the copy) since the post.
        if (m_LevelBuffer)
            m_dBMeter->ProcessBuffer(m_LevelBuffer.get(), m_levelBufferSize, MeterBlockLength);
        return true;
    }
    return QWidget::event(event);
}

void TFrmMeter::ShowError(const QString &text)
{
    ShowMessage(this, QMessageBox::Critical, text);
}

template<typename F>
bool TFrmMeter::Guarded(F &&operation)
{
    try {
        operation();
        return true;
    } catch (const EInOutError &error) {
        ShowError(error.Message());
        return false;
    }
}
