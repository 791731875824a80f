#pragma once

#include "measurement/MeasurementRig.h"

class TFrmGenerator;
class TFrmMeter;
class TFrmStolikKontrol;

// The program's measurement rig: the turntable, level meter and generator tool windows.
// Not owning; the windows outlive it. GUI thread only.
class TWindowRig final : public TMeasurementRig
{
public:
    TWindowRig(TFrmStolikKontrol &turntable, TFrmMeter &meter, TFrmGenerator &generator);

    TTurntable &Turntable() override;
    int StartAngle() const override;
    int StopAngle() const override;
    void OpenRecordFile() override;
    void StartRecorder() override;
    void SetRecording(bool on) override;
    void StopRecorder() override;
    void CloseRecordFile() override;
    QString RecordFilePath() const override;
    bool RecordWriteFailed() const override;
    void SetWriteErrorHandler(std::function<void(const QString &)> handler) override;
    void SetStreamFailureHandler(std::function<void(const QString &)> handler) override;
    void StartGenerator() override;
    void StopGenerator() override;
    TRecordFile *Recording() override;
    bool DescribeExcitation(TMarkerLog &log) const override;

private:
    TFrmStolikKontrol &m_turntable;
    TFrmMeter &m_meter;
    TFrmGenerator &m_generator;
};
