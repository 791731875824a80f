#include "audio/ui/FrmGenerator.h"

#include "app/Settings.h"
#include "audio/AudioOut.h"
#include "controls/ui/ArrowSpinBox.h"
#include "controls/ui/QvLed.h"
#include "document/ui/Prompts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

constexpr quint32 Lime = 0x0000FF00; // 0x00BBGGRR
constexpr quint32 Green = 0x00008000; // 0x00BBGGRR

} // namespace

const std::array<TFrmGenerator::TSignalItem, 9> TFrmGenerator::SignalItems = { {
    { QT_TRANSLATE_NOOP("TFrmGenerator", "Sinus"), TSignalType::Sinus },
    { QT_TRANSLATE_NOOP("TFrmGenerator", "Cosinus"), TSignalType::Cosinus },
    { QT_TRANSLATE_NOOP("TFrmGenerator", "Prostokąt"), TSignalType::Square2 },
    { QT_TRANSLATE_NOOP("TFrmGenerator", "Trójkąt"), TSignalType::Triangle },
    { QT_TRANSLATE_NOOP("TFrmGenerator", "Chirp"), TSignalType::Chirp },
    { QT_TRANSLATE_NOOP("TFrmGenerator", "Szum biały"), TSignalType::WhiteNoise },
    { QT_TRANSLATE_NOOP("TFrmGenerator", "Szum różowy"), TSignalType::PinkNoise },
    { QT_TRANSLATE_NOOP("TFrmGenerator", "MLS"), TSignalType::MLS },
    { QT_TRANSLATE_NOOP("TFrmGenerator", "Impuls"), TSignalType::Impuls },
} };

int TFrmGenerator::StepUp(int w)
{
    if (w >= FrequencySteps.back())
        return w;
    for (int i = int(FrequencySteps.size()) - 1; i >= 0; --i) {
        if (FrequencySteps[size_t(i)] <= w)
            return FrequencySteps[size_t(i) + 1];
    }
    return FrequencySteps.front();
}

int TFrmGenerator::StepDown(int w)
{
    if (w <= FrequencySteps.front())
        return w;
    for (size_t i = 0; i < FrequencySteps.size(); ++i) {
        if (FrequencySteps[i] >= w)
            return FrequencySteps[i - 1];
    }
    return FrequencySteps.back();
}

TFrmGenerator::TFrmGenerator(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_Generator(std::make_unique<TGenerator>())
    , m_GenOut(std::make_unique<TAudioOut>())
{
    setWindowTitle(tr("Generator"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(200, 135);

    m_Generator->SetAutoPhase(true);
    m_Generator->SetNumSamples(8192);
    m_Generator->SetSignalFrequency(1000.0);
    m_Generator->SetSamplingFrequency(44100);
    m_Generator->SetSignal(TSignalType::Sinus);
    m_Generator->SetVolumeInPercents(100.0);
    m_Generator->SetImpulsLength(50.0);
    m_Generator->OnGenerate = [this](int index, qint16 value) {
        GeneratorGenerate(index, value);
    };

    m_GenOut->SetBufferSize(4096);
    m_GenOut->SetFrameRate(22050);
    m_GenOut->SetWaveDevice(0);
    m_GenOut->OnStart = [this](QObject *) {
        GenOutStart();
    };
    m_GenOut->OnStop = [this](QObject *) {
        GenOutStop();
    };
    m_GenOut->OnFillBuffer = [this](char *buffer, int &size) {
        return GenOutFillBuffer(buffer, size);
    };
    m_GenOut->OnFailure = [this](QObject *) {
        GenOutFailure();
    };

    m_Label2 = new QLabel(tr("&Rodzaj sygnału"), this);
    m_Label2->setGeometry(6, 8, 88, 13);
    m_cbSygnal = new QComboBox(this);
    m_cbSygnal->setGeometry(96, 4, 98, 21);
    m_Label2->setBuddy(m_cbSygnal);

    m_Label1 = new QLabel(tr("&Częstotliwość"), this);
    m_Label1->setGeometry(6, 36, 88, 13);
    auto *freq = new TArrowSpinBox(this);
    freq->setRange(20, 20000);
    freq->setSingleStep(1);
    freq->setValue(1000);
    freq->setGeometry(96, 32, 98, 21);
    connect(freq, &TArrowSpinBox::ArrowUp, this, [this] { seFreqTopClick(); });
    connect(freq, &TArrowSpinBox::ArrowDown, this, [this] { seFreqBottomClick(); });
    m_seFreq = freq;
    m_Label1->setBuddy(m_seFreq);

    m_Label3 = new QLabel(tr("&Amplituda"), this);
    m_Label3->setGeometry(6, 64, 88, 13);
    m_seAmp = new QSpinBox(this);
    m_seAmp->setRange(10, 100);
    m_seAmp->setSingleStep(10);
    m_seAmp->setValue(100);
    m_seAmp->setGeometry(96, 60, 98, 21);
    m_Label3->setBuddy(m_seAmp);

    m_GenLed = new TQvLed(this);
    m_GenLed->SetOnColor(Lime);
    m_GenLed->SetOffColor(Green);
    m_GenLed->SetActive(false);
    m_GenLed->setGeometry(12, 106, 16, 8);

    m_btnStart = new QPushButton(tr("&Start"), this);
    m_btnStart->setGeometry(40, 98, 73, 25);
    m_btnStop = new QPushButton(tr("S&top"), this);
    m_btnStop->setGeometry(119, 98, 73, 25);

    // FormCreate
    m_Generating = false;
    for (const TSignalItem &item : SignalItems)
        m_cbSygnal->addItem(tr(item.Caption));
    m_cbSygnal->setCurrentIndex(0);

    connect(m_cbSygnal, &QComboBox::currentIndexChanged, this, &TFrmGenerator::cbSygnalChange);
    connect(m_seFreq, &QSpinBox::valueChanged, this, &TFrmGenerator::seFreqChange);
    connect(m_seAmp, &QSpinBox::valueChanged, this, &TFrmGenerator::seAmpChange);
    connect(m_btnStart, &QPushButton::clicked, this, &TFrmGenerator::btnStartClick);
    connect(m_btnStop, &QPushButton::clicked, this, &TFrmGenerator::btnStopClick);
}

TFrmGenerator::~TFrmGenerator()
{
    // The stream's handlers refer to this window; nothing may reach them while it goes.
    m_GenOut->OnStart = nullptr;
    m_GenOut->OnStop = nullptr;
    m_GenOut->OnFailure = nullptr;
    m_GenOut->StopAtOnce();
    m_GenOut->OnFillBuffer = nullptr;
}

void TFrmGenerator::StartGenerator()
{
    m_Generating = true;
    // A second start while the output still plays (the measurement run may ask) must not
    // reformat the running stream or its block; Start then reports the open device.
    if (!m_GenOut->DeviceOpen()) {
        const TSettings &settings = Settings();
        m_Generator->SetSamplingFrequency(settings.OutSampleRate);
        m_GenOut->SetWaveDevice(quint32(settings.WaveOUTDevID));
        m_GenOut->SetBufferSize(settings.PlayBuffSize);
        m_GenOut->SetFrameRate(settings.OutSampleRate);
        m_GenOut->SetQuantization(settings.OutQuant);

        // One generated sample per output sample: the block has as many samples as the
        // effective buffer holds (PlayBuffSize div 2 for 16-bit output), so the copy in
        // GenOutFillBuffer never reads past the block, whatever size or format was set.
        m_BytesPerSample = m_GenOut->Quantization() == 8 ? 1 : 2;
        m_Generator->SetNumSamples(m_GenOut->BufferSize() / m_BytesPerSample);
        m_SampleBlock.assign(size_t(m_Generator->NumSamples()), 0);
    }
    if (!m_GenOut->Start()) {
        ShowError(m_GenOut->ErrorMessage());
    } else if (!m_GenOut->Notice().isEmpty()) {
        // The stored card is gone: the default plays now and stays chosen.
        Settings().WaveOUTDevID = 0;
        ShowMessageLater(this, QMessageBox::Warning, m_GenOut->Notice());
    }
}

void TFrmGenerator::StopGenerator()
{
    if (!m_Generating)
        return;
    m_Generating = false;
    m_GenOut->StopAtOnce();
}

void TFrmGenerator::SetStreamFailureHandler(std::function<void(const QString &)> handler)
{
    m_streamFailureHandler = std::move(handler);
}

double TFrmGenerator::GetFrequency() const
{
    return m_Generator->SignalFrequency();
}

void TFrmGenerator::SetFrequency(double x)
{
    m_Generator->SetSignalFrequency(x);
    const double shown
        = std::clamp(std::trunc(x), double(m_seFreq->minimum()), double(m_seFreq->maximum()));
    m_seFreq->setValue(int(shown));
}

double TFrmGenerator::GetAmplitude() const
{
    return m_Generator->VolumeInPercents();
}

void TFrmGenerator::SetAmplitude(double x)
{
    m_Generator->SetVolumeInPercents(x);
    if (std::isnan(x))
        return;
    const double shown
        = std::clamp(std::trunc(x), double(m_seAmp->minimum()), double(m_seAmp->maximum()));
    m_seAmp->setValue(int(shown));
}

bool TFrmGenerator::SetSignal(TSignalType signal)
{
    for (size_t i = 0; i < SignalItems.size(); ++i) {
        if (SignalItems[i].Signal == signal) {
            m_cbSygnal->setCurrentIndex(int(i));
            cbSygnalChange(int(i)); // also when the item was already selected
            return true;
        }
    }
    return false;
}

void TFrmGenerator::closeEvent(QCloseEvent *event)
{
    // FormClose: the window lives for the whole run; closing only hides it.
    hide();
    event->ignore();
}

void TFrmGenerator::cbSygnalChange(int index)
{
    if (index >= 0 && index < int(SignalItems.size()))
        m_Generator->SetSignal(SignalItems[size_t(index)].Signal);
}

void TFrmGenerator::seFreqChange(int value)
{
    try {
        m_Generator->SetSignalFrequency(value);
    } catch (const EGeneratorError &error) {
        ShowError(error.Message());
    }
}

void TFrmGenerator::seFreqTopClick()
{
    m_seFreq->setValue(StepUp(m_seFreq->value()));
}

void TFrmGenerator::seFreqBottomClick()
{
    m_seFreq->setValue(StepDown(m_seFreq->value()));
}

void TFrmGenerator::seAmpChange(int value)
{
    m_Generator->SetVolumeInPercents(value);
}

void TFrmGenerator::btnStartClick()
{
    if (!m_Generating)
        StartGenerator();
}

void TFrmGenerator::btnStopClick()
{
    if (m_Generating)
        StopGenerator();
}

void TFrmGenerator::GeneratorGenerate(int index, qint16 value)
{
    if (index >= 0 && size_t(index) < m_SampleBlock.size())
        m_SampleBlock[size_t(index)] = value;
}

bool TFrmGenerator::GenOutFillBuffer(char *buffer, int &size)
{
    try {
        m_Generator->Generate();
    } catch (const EGeneratorError &) {
        // Only a failed work-array allocation can get here; the block plays as silence
        // rather than stopping the stream from inside its own refill.
        std::fill(m_SampleBlock.begin(), m_SampleBlock.end(), qint16(0));
    }
    const int samples = std::min(int(m_SampleBlock.size()), size / m_BytesPerSample);
    if (m_BytesPerSample == 2) {
        std::memcpy(buffer, m_SampleBlock.data(), size_t(samples) * 2);
    } else {
        // 8-bit output is unsigned with its midpoint at 128.
        for (int i = 0; i < samples; ++i)
            buffer[i] = char(quint8((m_SampleBlock[size_t(i)] >> 8) + 128));
    }
    std::memset(buffer + samples * m_BytesPerSample, m_BytesPerSample == 1 ? 128 : 0,
                size_t(size - samples * m_BytesPerSample));
    return true;
}

void TFrmGenerator::GenOutStart()
{
    m_GenLed->SetActive(true);
}

void TFrmGenerator::GenOutStop()
{
    m_GenLed->SetActive(false);
    // The stop notice is posted: a new start may already have the device open again and
    // be playing from the block, which then has to stay.
    if (!m_GenOut->DeviceOpen())
        m_SampleBlock = std::vector<qint16>();
}

void TFrmGenerator::GenOutFailure()
{
    // The stream has closed the dead device itself: Idle, so "&Start" opens it afresh.
    m_Generating = false;
    const QString text = m_GenOut->ErrorMessage();
    if (m_streamFailureHandler)
        m_streamFailureHandler(text);
    else
        ShowError(text);
}

void TFrmGenerator::ShowError(const QString &text)
{
    ShowMessage(this, QMessageBox::Critical, text);
}
