#pragma once

#include "audio/AudioDevice.h"

#include <QCoreApplication>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

class TClockTimer;

// In-process sound device on TLoopbackBus: an output lays each queued slot on the bus's
// time line and returns it when its play time has passed on the bus clock; an input returns
// each slot when the stretch of time it records has passed, filled from the time line.
// One device number (0; all bits set means the same). GUI thread only.
class TLoopbackDevice final : public TAudioDevice
{
    Q_DECLARE_TR_FUNCTIONS(TLoopbackDevice)

public:
    TLoopbackDevice();
    ~TLoopbackDevice() override;

    bool Open(EAudioDirection direction, quint32 device, const TWaveFormat &format,
              QString &error) override;
    bool Prepare(int slot, char *data, int capacity, QString &error) override;
    bool Queue(int slot, int bytes, QString &error) override;
    bool Start(QString &error) override;
    void Pause() override;
    void Restart() override;
    void Reset() override;
    void Close() override;
    bool IsOpen() const override { return m_open; }
    qint64 Underruns() const override { return m_underruns; }
    qint64 Overruns() const override { return m_overruns; }
    TClock &Clock() const override;
    void DeliverDone() override { Poll(); }

    static QStringList DeviceNames(EAudioDirection direction);

private:
    struct TEntry
    {
        int Slot = 0;
        int Bytes = 0;
        qint64 Frames = 0;
        qint64 Offset = 0; // frames already played before a pause
        qint64 Start = -1; // time line position of frame Offset; -1: not scheduled
    };
    static constexpr int MaxQueued = 8;

    TEntry &At(int i) { return m_queue[size_t((m_head + i) % MaxQueued)]; }
    void ScheduleFrom(int first);
    void LayOutput(const TEntry &entry);
    void FillInput(const TEntry &entry, char *data);
    qint64 DueMs(const TEntry &entry) const;
    void Poll();
    void Reschedule();
    void ReleaseTimerIfIdle();

    EAudioDirection m_direction = EAudioDirection::Output;
    TWaveFormat m_format;
    bool m_open = false;
    bool m_started = false; // input: capturing
    bool m_paused = false;
    bool m_polling = false;
    bool m_streamedAny = false;
    std::array<char *, 4> m_slots {};
    std::array<int, 4> m_capacity {}; // bytes of each lent slot
    std::array<TEntry, MaxQueued> m_queue {};
    int m_head = 0;
    int m_count = 0;
    qint64 m_tailEnd = 0; // time line position where the next slot would start
    std::vector<float> m_scratch; // one slot of mono samples
    std::unique_ptr<TClockTimer> m_timer;
    qint64 m_underruns = 0;
    qint64 m_overruns = 0;
};
