#pragma once

#include "audio/AudioBackend.h"
#include "audio/AudioDevice.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

// Handler of one buffer: `buffer` points to the slot's bytes, `size` is the effective
// buffer size in bytes on entry (an output handler may lower it to what it filled). The
// result says the buffer holds data to play, or the delivered data was taken.
using TBufferEvent = std::function<bool(char *buffer, int &size)>;
// Raised with the stream as sender.
using TAudioNotifyEvent = std::function<void(QObject *sender)>;

// Base of the buffered wave streams TAudioOut and TAudioIn: format, the ring of
// NumBuffers equal buffers, counters, start and stop notifications.
//
// Threading: GUI thread only. The device reports every returned buffer on this thread, so
// OnFillBuffer / OnBufferFilled run between the program's other handlers and must return
// quickly (the next buffer is queued only when they do). OnStart and OnStop are posted to
// the event loop when the device opens and closes, never raised from inside Start or a stop.
//
// The stream owns its buffers; they are allocated at creation and whenever BufferSize is
// set (or, if NumBuffers grew since, at the next Start), never while streaming.
//
// States: Closed (DeviceOpen false) -> Start -> Streaming (Active, Running) ->
// StopGracefully or a handler returning false -> Draining (Active false; returned buffers
// are not requeued) -> last buffer back -> Closed. StopAtOnce goes straight to Closed.
//
// A device that returns no buffer for StallLimitMs() (a sound server that died or froze) is
// closed by the stream itself: ErrorMessage then holds a Polish sentence saying so,
// DeviceFailed() is true, and OnStop and then OnFailure are posted. The next Start opens a
// new device object. The watchdog runs on the device's clock and is held while an output
// is paused.
class TAudioIO : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(TAudioIO)

public:
    static constexpr int MaxBuffers = 4;
    static constexpr int MinBufferSize = 512; // bytes
    static constexpr quint32 DefaultDevice = 0xFFFFFFFFu; // WaveDevice: the system's default
    static constexpr int MinStallMs = 2000; // the shortest stall limit, ms

    explicit TAudioIO(QObject *parent = nullptr);
    ~TAudioIO() override;

    // Opens the device and starts streaming. False on any failure, with ErrorMessage set.
    bool Start();
    // Device open: stop filling/delivering; the device closes when the last queued buffer
    // comes back (OnStop then follows).
    virtual void StopGracefully();
    // Device open: drop every queued buffer and close the device now.
    virtual void StopAtOnce();

    // Bytes per buffer actually used: the requested size rounded down to whole frames.
    int BufferSize() const { return m_effectiveSize; }
    // Stores max(bytes, 512) as the requested size and reallocates the buffers of the
    // NumBuffers slots in use (only while the device is closed; ignored while open).
    void SetBufferSize(int bytes);
    int RequestedBufferSize() const { return m_requestedSize; }

    int NumBuffers() const { return m_numBuffers; }
    // Limited to 2..4; buffers are not reallocated (set it before BufferSize).
    void SetNumBuffers(int count);

    int FrameRate() const { return int(m_format.SamplesPerSec); } // Hz
    void SetFrameRate(int hz);
    bool Stereo() const { return m_format.Channels == 2; }
    void SetStereo(bool stereo);
    int Quantization() const { return m_format.BitsPerSample; } // bits: 8 or 16
    void SetQuantization(int bits); // below 9 gives 8, anything else 16
    quint32 WaveDevice() const { return m_waveDevice; }
    void SetWaveDevice(quint32 device) { m_waveDevice = device; }
    const TWaveFormat &Format() const { return m_format; }

    // The backend the next Start opens; by default the process-wide TAudioBackend::Default().
    EAudioBackend Backend() const;
    void SetBackend(EAudioBackend backend) { m_backend = backend; }

    bool DeviceOpen() const { return m_deviceOpen; }
    bool Active() const { return m_active; }
    bool Running() const { return m_running; }
    int NextBuffer() const { return m_nextBuffer; }
    int FilledCount() const { return m_filledCount; } // buffers filled/delivered with true
    int ActiveCount() const { return m_activeCount; } // buffers at the device
    int DoneCount() const { return m_doneCount; } // buffers returned since open
    QString ErrorMessage() const { return m_errorMessage; }
    // How long the open device may go without returning a buffer before the stream counts
    // it as dead, ms: MinStallMs, or twice the time one buffer holds where that is longer.
    int StallLimitMs() const;
    // The last session was ended by the stream because the device stopped returning
    // buffers (ErrorMessage says so); cleared at every Start.
    bool DeviceFailed() const { return m_deviceFailed; }
    // Set by a Start that found no device numbered WaveDevice and opened number 0 (the
    // system's default) instead; empty otherwise. Cleared at every Start.
    QString Notice() const { return m_notice; }

    // Gaps of the current or last session (see TAudioDevice): output underruns, input
    // overruns.
    qint64 Underruns() const;
    qint64 Overruns() const;
    // Of Underruns() + Overruns(), those the device reported itself.
    qint64 DeviceXruns() const;

    TAudioNotifyEvent OnStart;
    TAudioNotifyEvent OnStop;
    // Posted after OnStop when the stream closed a device that stopped returning buffers.
    TAudioNotifyEvent OnFailure;

protected:
    struct TWaveHeader
    {
        char *Data = nullptr;
        qint32 BufferLength = 0; // bytes to play / to record
        qint32 BytesRecorded = 0;
        quint32 Flags = 0; // 2: prepared and queued, not done
    };
    static constexpr quint32 HeaderPrepared = 2;

    virtual bool OpenDevice() = 0;
    virtual bool StartStreaming() = 0;
    virtual bool QueueBuffer() = 0;
    virtual void CloseDevice() = 0;
    // Called on the GUI thread for every slot the device returns, in queue order; `slot`
    // is the slot that came back, `bytes` what was played or recorded into it.
    virtual void BufferDone(int slot, int bytes) = 0;

    // Shared steps of OpenDevice / CloseDevice.
    bool OpenDeviceCommon(EAudioDirection direction, const QString &alreadyOpenText);
    void CloseDeviceCommon();
    void PostStart();
    void PostStop();
    void SetError(const QString &text) { m_errorMessage = text; }
    // (Re)starts the stall watchdog, or holds it while paused.
    void ArmWatchdog();

    TAudioDevice *Device() const { return m_device.get(); }
    TWaveHeader &Header(int slot) { return m_headers[size_t(slot)]; }

    bool m_deviceOpen = false;
    bool m_active = false;
    bool m_running = false;
    bool m_paused = false;
    int m_nextBuffer = 0;
    int m_filledCount = 0;
    int m_activeCount = 0;
    int m_doneCount = 0;

private:
    void UpdateFormat();
    // WaveDevice, or 0 with Notice set when the backend has no device of that number.
    quint32 UsableDevice(EAudioBackend backend, EAudioDirection direction);
    bool AllocBuffers();
    void FreeBuffers();
    bool BuffersMatch() const;
    void WatchdogTimeout();
    void ReleaseWatchdog();
    QString StallText() const;

    int m_effectiveSize = 8192;
    int m_requestedSize = 8192;
    int m_numBuffers = MaxBuffers;
    TWaveFormat m_format;
    quint32 m_waveDevice = DefaultDevice;
    std::optional<EAudioBackend> m_backend;
    EAudioBackend m_deviceBackend = EAudioBackend::Loopback;
    QString m_errorMessage;
    QString m_notice;
    std::array<TWaveHeader, MaxBuffers> m_headers {};
    std::array<std::unique_ptr<char[]>, MaxBuffers> m_buffers;
    std::array<int, MaxBuffers> m_bufferSizes {};
    std::unique_ptr<TAudioDevice> m_device;
    EAudioDirection m_direction = EAudioDirection::Output;
    bool m_deviceFailed = false;
    // Fires when the open device has returned nothing for StallLimitMs(); made on the
    // device's clock at every open.
    std::unique_ptr<TClockTimer> m_watchdog;
    bool m_inWatchdog = false;
    qint64 m_lastUnderruns = 0;
    qint64 m_lastOverruns = 0;
    qint64 m_lastXruns = 0;
};
