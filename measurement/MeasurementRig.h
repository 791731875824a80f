#pragma once

#include <QString>

#include <functional>

class TMarkerLog;
class TRecordFile;
class TTurntable;

// What a measurement drives: the turntable, the recorder that writes "temp.raw" and the
// generator that plays the test signal. The program's rig is its three tool windows; the
// batch tool has one made of the headless parts. GUI thread only; the rig outlives the run.
class TMeasurementRig
{
public:
    virtual ~TMeasurementRig() = default;

    virtual TTurntable &Turntable() = 0;
    // The range the run turns over, degrees (0 and 360 for a full turn).
    virtual int StartAngle() const = 0;
    virtual int StopAngle() const = 0;

    // Starts a new raw recording file; throws EInOutError when it cannot be created.
    virtual void OpenRecordFile() = 0;
    virtual void StartRecorder() = 0;
    // Recorded buffers reach the file while true.
    virtual void SetRecording(bool on) = 0;
    virtual void StopRecorder() = 0;
    // Finishes the file; throws EInOutError when its last bytes cannot be written.
    virtual void CloseRecordFile() = 0;
    virtual QString RecordFilePath() const = 0;
    // A write to the file failed since it was opened (the handler was told).
    virtual bool RecordWriteFailed() const = 0;
    // Who hears of a write failure (called later, from the event loop, with the message);
    // an empty function gives the rig's own report back.
    virtual void SetWriteErrorHandler(std::function<void(const QString &text)> handler) = 0;

    // Who hears that a sound stream of the rig stopped on a dead device (called from the event
    // loop with the message, the stream already closed); an empty function gives the rig's
    // own report back. Rigs without such streams ignore it.
    virtual void SetStreamFailureHandler(std::function<void(const QString &text)> handler)
    {
        (void)handler;
    }

    virtual void StartGenerator() = 0;
    virtual void StopGenerator() = 0;

    // The recording being written, whose timing tells where in it a marker was counted;
    // nullptr when the rig cannot say. Owned by the rig.
    virtual TRecordFile *Recording() { return nullptr; }
    // Fills what makes the played excitation again (signal, frequency, amplitude, play
    // buffer, rate); false when the rig does not know it.
    virtual bool DescribeExcitation(TMarkerLog &log) const
    {
        (void)log;
        return false;
    }
};
