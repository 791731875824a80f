#pragma once

#include "audio/RecordFile.h"
#include "audio/SignalType.h"
#include "measurement/MeasurementRig.h"

#include <QObject>

#include <memory>
#include <vector>

class TAudioIn;
class TAudioOut;
class TClock;
class TGenerator;
class TGrblEmulator;
class TSimulatedController;
class TTurntable;

// The measurement rig of the batch tool, made of the headless parts the tool windows wrap:
// the turntable controller on the simulated port (or a Grbl table on the emulated board
// behind a pseudo-terminal), an input stream that records into the
// raw file as the level meter window does, and the generator on an output stream as the
// generator window plays it. Streams use the process-wide default backend. GUI thread only.
class TCliRig final : public TMeasurementRig
{
public:
    struct TConfig
    {
        int Start = 0; // degrees
        int Stop = 360;
        QString RecordPath;
        int SampleRate = 44100; // Hz, both directions
        int PlayBuffBytes = 4096;
        int RecordBuffBytes = 8192;
        int DeadTimeMs = 1000; // marker dead time
        TSignalType Signal = TSignalType::Sinus;
        double FrequencyHz = 1000;
        double AmplitudePercent = 100;
        bool Grbl = false; // the emulated Grbl board instead of the parallel-port controller
    };

    TCliRig(TClock &clock, const TConfig &config);
    ~TCliRig() override;

    // Opens the simulated port or connects to the emulated board; false with the reason in
    // OpenFailure() when it cannot.
    bool Open();
    QString OpenFailure() const { return m_openFailure; }
    // The emulated board of a Grbl rig, else nullptr.
    TGrblEmulator *Board() const { return m_board.get(); }
    // The first error a stream reported (empty: none).
    QString StreamError() const { return m_streamError; }

    TTurntable &Turntable() override { return *m_turntable; }
    int StartAngle() const override { return m_config.Start; }
    int StopAngle() const override { return m_config.Stop; }
    void OpenRecordFile() override;
    void StartRecorder() override;
    void SetRecording(bool on) override { m_recording = on; }
    void StopRecorder() override;
    void CloseRecordFile() override;
    QString RecordFilePath() const override { return m_config.RecordPath; }
    bool RecordWriteFailed() const override { return m_file.WriteFailed(); }
    void SetWriteErrorHandler(std::function<void(const QString &)> handler) override;
    void StartGenerator() override;
    void StopGenerator() override;
    TRecordFile *Recording() override { return &m_file; }
    bool DescribeExcitation(TMarkerLog &log) const override;

private:
    bool Recorded(char *buffer, int &size);
    bool Fill(char *buffer, int &size);

    TConfig m_config;
    std::shared_ptr<TSimulatedController> m_simulated;
    std::unique_ptr<TGrblEmulator> m_board; // before the table that talks to it
    std::unique_ptr<TTurntable> m_turntable;
    QString m_openFailure;
    std::unique_ptr<TAudioIn> m_in;
    std::unique_ptr<TAudioOut> m_out;
    std::unique_ptr<TGenerator> m_generator;
    std::vector<qint16> m_block;
    TRecordFile m_file;
    std::function<void(const QString &)> m_writeErrorHandler;
    QObject m_context; // receiver of the queued write-failure report
    QString m_streamError;
    bool m_recording = false;
};
