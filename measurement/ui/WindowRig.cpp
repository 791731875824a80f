#include "measurement/ui/WindowRig.h"

#include "analysis/MarkerLog.h"
#include "app/Settings.h"
#include "audio/Generator.h"

#include "audio/ui/FrmGenerator.h"
#include "audio/ui/FrmMeter.h"
#include "turntable/Turntable.h"
#include "turntable/ui/FrmStolikKontrol.h"

TWindowRig::TWindowRig(TFrmStolikKontrol &turntable, TFrmMeter &meter, TFrmGenerator &generator)
    : m_turntable(turntable)
    , m_meter(meter)
    , m_generator(generator)
{ }

TTurntable &TWindowRig::Turntable()
{
    return m_turntable.Controller();
}

int TWindowRig::StartAngle() const
{
    return m_turntable.StartAngle();
}

int TWindowRig::StopAngle() const
{
    return m_turntable.StopAngle();
}

void TWindowRig::OpenRecordFile()
{
    m_meter.OpenRecordFile();
}

void TWindowRig::StartRecorder()
{
    m_meter.StartRecorder();
}

void TWindowRig::SetRecording(bool on)
{
    m_meter.Recording = on;
}

void TWindowRig::StopRecorder()
{
    m_meter.StopRecorder();
}

void TWindowRig::CloseRecordFile()
{
    m_meter.CloseRecordFile();
}

QString TWindowRig::RecordFilePath() const
{
    return m_meter.RecordFilePath();
}

bool TWindowRig::RecordWriteFailed() const
{
    return m_meter.RecordWriteFailed();
}

void TWindowRig::SetWriteErrorHandler(std::function<void(const QString &)> handler)
{
    m_meter.SetWriteErrorHandler(std::move(handler));
}

void TWindowRig::SetStreamFailureHandler(std::function<void(const QString &)> handler)
{
    m_meter.SetStreamFailureHandler(handler);
    m_generator.SetStreamFailureHandler(std::move(handler));
}

void TWindowRig::StartGenerator()
{
    m_generator.StartGenerator();
}

void TWindowRig::StopGenerator()
{
    m_generator.StopGenerator();
}

TRecordFile *TWindowRig::Recording()
{
    return &m_meter.RecordFile();
}

bool TWindowRig::DescribeExcitation(TMarkerLog &log) const
{
    const TSettings &settings = Settings();
    // The excitation is made again at the recording's rate: both directions must share it.
    if (settings.OutSampleRate != settings.InSampleRate)
        return false;
    const TGenerator &generator = m_generator.Generator();
    log.Signal = generator.Signal();
    log.FrequencyHz = generator.SignalFrequency();
    log.AmplitudePercent = generator.VolumeInPercents();
    log.PlayBufferBytes = generator.NumSamples() * 2;
    log.SampleRate = settings.InSampleRate;
    return true;
}
