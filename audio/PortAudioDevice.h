#pragma once

#include "audio/AudioDevice.h"
#include "audio/SpscRing.h"

#include <QStringList>

#include <array>
#include <atomic>
#include <memory>

class QSocketNotifier;
typedef void PaStream;

// Sound card device on PortAudio: one callback stream per direction at the stream's rate,
// channels and 16- or 8-bit format. Device numbers count the devices of that direction in
// PortAudio's order; all bits set is the default device.
//
// Threading: every member runs on the GUI thread. PortAudio's callback runs on its own
// real-time thread and only copies whole queued slots to or from the device: it takes slots
// from a lock-free queue, returns finished ones through another, and wakes the GUI thread by
// writing one byte to a pipe (a socket notifier there raises OnBufferDone). It never touches
// Qt objects, allocates or locks. The stream calls that may wait for the sound server
// (open, start, stop, close) run on TPortAudioWorker's thread: Open waits for them at most
// 5 s with the window painting, the others at most 5 s asleep, and a stream given up on is
// left to the worker.
class TPortAudioDevice final : public TAudioDevice
{
public:
    TPortAudioDevice();
    ~TPortAudioDevice() override;

    bool Open(EAudioDirection direction, quint32 device, const TWaveFormat &format,
              QString &error) override;
    bool Prepare(int slot, char *data, int capacity, QString &error) override;
    bool Queue(int slot, int bytes, QString &error) override;
    bool Start(QString &error) override;
    void Pause() override;
    void Restart() override;
    void Reset() override;
    void Close() override;
    // Leaves the stream to the PortAudio worker, which stops and closes it; the callback no
    // longer reaches this device from the moment of the call.
    void Abandon() override;
    bool IsOpen() const override { return m_stream != nullptr; }
    qint64 Underruns() const override { return m_underruns.load(std::memory_order_relaxed); }
    qint64 Overruns() const override { return m_overruns.load(std::memory_order_relaxed); }
    qint64 DeviceXruns() const override { return m_xruns.load(std::memory_order_relaxed); }
    void DeliverDone() override { Dispatch(); }

    // Waits (handling events) at most 5 s from the first probe for the sound system to
    // answer; an empty list then, with ProbeError() set.
    static QStringList DeviceNames(EAudioDirection direction);
    // Why the last probe or open found no sound system (Polish when the server did not
    // answer); empty when it answered.
    static QString ProbeError();

private:
    struct TSlotRef
    {
        int Slot = 0;
        int Bytes = 0;
    };

    // What a stream's callback reaches: this device, until the device detaches. Shared by
    // the device and the worker's jobs on the stream, so it lives until the stream is closed.
    struct TCallbackTarget
    {
        std::atomic<TPortAudioDevice *> Device;
        std::atomic<bool> Busy { false }; // the callback is using Device
        // What an abandoned output plays until it stops: BlockAlign bytes per frame.
        int BlockAlign = 1;
        char Silence = 0;
    };

    friend struct TPortAudioCallback;
    // Audio thread.
    void PlayInto(char *out, int bytes, unsigned long statusFlags);
    void RecordFrom(const char *in, int bytes, unsigned long statusFlags);
    // Counts bytes of the slot at the front as done; a full slot goes back to the GUI
    // thread and true is returned.
    bool AdvanceFront(const TSlotRef &front, int bytes);
    void Wake();
    // GUI thread.
    void Dispatch();
    // Makes sure no callback reaches this device from now on.
    static void Detach(TCallbackTarget &target);
    // Drops every reference to the session's stream and slots.
    void Forget();

    EAudioDirection m_direction = EAudioDirection::Output;
    TWaveFormat m_format;
    PaStream *m_stream = nullptr;
    std::shared_ptr<TCallbackTarget> m_target;
    bool m_started = false;
    bool m_dispatching = false;
    std::array<char *, 4> m_slots {};
    std::array<int, 4> m_capacity {}; // bytes of each lent slot
    TSpscRing<TSlotRef, 8> m_toDevice; // GUI -> audio thread
    TSpscRing<TSlotRef, 8> m_fromDevice; // audio thread -> GUI
    std::atomic<bool> m_paused { false };
    std::atomic<bool> m_capturing { false };
    std::atomic<qint64> m_underruns { 0 };
    std::atomic<qint64> m_overruns { 0 };
    std::atomic<qint64> m_xruns { 0 };
    // Audio thread only (reset while the stream is stopped).
    int m_offset = 0; // bytes of the front slot already played or recorded
    bool m_streamedAny = false;
    bool m_gap = false;

    int m_wakePipe[2] = { -1, -1 };
    std::unique_ptr<QSocketNotifier> m_notifier;
};
