#include "audio/LoopbackDevice.h"

#include "audio/LoopbackBus.h"
#include "controls/Clock.h"

#include <algorithm>
#include <cmath>
#include <cstring>

TLoopbackDevice::TLoopbackDevice() = default;

TLoopbackDevice::~TLoopbackDevice()
{
    Close();
    m_timer.reset();
}

QStringList TLoopbackDevice::DeviceNames(EAudioDirection)
{
    return { tr("Symulator (pętla wewnętrzna)") };
}

bool TLoopbackDevice::Open(EAudioDirection direction, quint32 device, const TWaveFormat &format,
                           QString &error)
{
    if (m_open) {
        error = QStringLiteral("The loopback device is already open");
        return false;
    }
    if (TLoopbackBus::Instance().Unavailable()) {
        error = QStringLiteral("The loopback device is unavailable");
        return false;
    }
    if (device != 0 && device != 0xFFFFFFFFu) {
        error = QStringLiteral("Loopback device %1 does not exist").arg(device);
        return false;
    }
    if (format.FormatTag != 1 || (format.Channels != 1 && format.Channels != 2)
        || (format.BitsPerSample != 8 && format.BitsPerSample != 16) || format.SamplesPerSec == 0) {
        error = QStringLiteral("Unsupported wave format");
        return false;
    }
    m_direction = direction;
    m_format = format;
    m_slots.fill(nullptr);
    m_head = 0;
    m_count = 0;
    m_started = direction == EAudioDirection::Output;
    m_paused = false;
    m_streamedAny = false;
    m_underruns = 0;
    m_overruns = 0;
    m_tailEnd = TLoopbackBus::Instance().NowPosition(int(format.SamplesPerSec));
    m_timer.reset();
    m_timer = TLoopbackBus::Instance().Clock().CreateTimer();
    m_timer->OnTimeout = [this] {
        Poll();
    };
    m_open = true;
    return true;
}

bool TLoopbackDevice::Prepare(int slot, char *data, int capacity, QString &error)
{
    if (!m_open || slot < 0 || slot >= int(m_slots.size()) || !data) {
        error = QStringLiteral("Invalid wave buffer");
        return false;
    }
    m_slots[size_t(slot)] = data;
    m_capacity[size_t(slot)] = capacity;
    const size_t frames = size_t(capacity / std::max<int>(1, m_format.BlockAlign));
    if (m_scratch.size() < frames)
        m_scratch.resize(frames);
    return true;
}

bool TLoopbackDevice::Queue(int slot, int bytes, QString &error)
{
    if (!m_open || slot < 0 || slot >= int(m_slots.size()) || !m_slots[size_t(slot)]) {
        error = QStringLiteral("The loopback device is not open");
        return false;
    }
    if (m_count == MaxQueued) {
        error = QStringLiteral("Too many wave buffers queued");
        return false;
    }
    TEntry entry;
    entry.Slot = slot;
    entry.Bytes = std::clamp(bytes, 0, m_capacity[size_t(slot)]);
    entry.Frames = entry.Bytes / m_format.BlockAlign;
    m_queue[size_t((m_head + m_count) % MaxQueued)] = entry;
    ++m_count;
    ScheduleFrom(m_count - 1);
    Reschedule();
    return true;
}

bool TLoopbackDevice::Start(QString &)
{
    if (m_direction == EAudioDirection::Input && !m_started) {
        m_started = true;
        m_tailEnd = TLoopbackBus::Instance().NowPosition(int(m_format.SamplesPerSec));
        ScheduleFrom(0);
        Reschedule();
    }
    return true;
}

void TLoopbackDevice::ScheduleFrom(int first)
{
    if (!m_started || m_paused)
        return;
    const int rate = int(m_format.SamplesPerSec);
    // Clock times are whole ms: a slot queued in the ms its predecessor ended is on time.
    const qint64 tolerance = rate / 1000 + 1;
    for (int i = first; i < m_count; ++i) {
        TEntry &e = At(i);
        if (e.Start >= 0)
            continue;
        const qint64 now = TLoopbackBus::Instance().NowPosition(rate);
        if (now > m_tailEnd + tolerance) {
            // Every slot the device had is over: time went on without one. An output
            // played silence, an input lost what it heard; neither goes back in time.
            if (m_streamedAny) {
                if (m_direction == EAudioDirection::Output)
                    ++m_underruns;
                else
                    ++m_overruns;
            }
            m_tailEnd = now;
        }
        e.Start = m_tailEnd;
        m_tailEnd += e.Frames - e.Offset;
        m_streamedAny = true;
        if (m_direction == EAudioDirection::Output)
            LayOutput(e);
    }
}

void TLoopbackDevice::LayOutput(const TEntry &entry)
{
    const char *data = m_slots[size_t(entry.Slot)];
    const int channels = m_format.Channels;
    const int bytesPerSample = m_format.BitsPerSample / 8;
    const qint64 frames = entry.Frames - entry.Offset;
    for (qint64 f = 0; f < frames; ++f) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) {
            const char *p = data + (entry.Offset + f) * m_format.BlockAlign + c * bytesPerSample;
            if (bytesPerSample == 2) {
                qint16 v;
                std::memcpy(&v, p, 2);
                sum += float(v) / 32768.0f;
            } else {
                sum += (float(quint8(*p)) - 128.0f) / 128.0f;
            }
        }
        m_scratch[size_t(f)] = sum / float(channels);
    }
    TLoopbackBus::Instance().Write(entry.Start, m_scratch.data(), int(frames),
                                   int(m_format.SamplesPerSec));
}

void TLoopbackDevice::FillInput(const TEntry &entry, char *data)
{
    const int frames = int(entry.Frames);
    TLoopbackBus::Instance().Read(entry.Start, m_scratch.data(), frames,
                                  int(m_format.SamplesPerSec));
    const int channels = m_format.Channels;
    for (int f = 0; f < frames; ++f) {
        const float x = m_scratch[size_t(f)];
        for (int c = 0; c < channels; ++c) {
            if (m_format.BitsPerSample == 16) {
                const long v = std::clamp(std::lrint(double(x) * 32768.0), -32768L, 32767L);
                const qint16 s = qint16(v);
                std::memcpy(data + (f * channels + c) * 2, &s, 2);
            } else {
                const long v = std::clamp(std::lrint(double(x) * 128.0) + 128, 0L, 255L);
                data[f * channels + c] = char(quint8(v));
            }
        }
    }
}

qint64 TLoopbackDevice::DueMs(const TEntry &entry) const
{
    return TLoopbackBus::Instance().MsAt(entry.Start + entry.Frames - entry.Offset,
                                         int(m_format.SamplesPerSec));
}

TClock &TLoopbackDevice::Clock() const
{
    return TLoopbackBus::Instance().Clock();
}

void TLoopbackDevice::Poll()
{
    if (m_polling || !m_open)
        return; // the outer Poll loop picks up what is due
    if (TLoopbackBus::Instance().Stalled()) {
        if (m_timer)
            m_timer->Stop();
        return;
    }
    m_polling = true;
    TClock &clock = TLoopbackBus::Instance().Clock();
    while (m_open && m_count > 0) {
        TEntry entry = At(0);
        if (entry.Start < 0 || clock.NowMs() < DueMs(entry))
            break;
        m_head = (m_head + 1) % MaxQueued;
        --m_count;
        int bytes = entry.Bytes;
        if (m_direction == EAudioDirection::Input) {
            FillInput(entry, m_slots[size_t(entry.Slot)]);
            bytes = int(entry.Frames) * m_format.BlockAlign;
        }
        if (OnBufferDone)
            OnBufferDone(entry.Slot, bytes);
    }
    m_polling = false;
    // A device closed from a handler keeps its timer until the next Open or its
    // destruction: the timer's own timeout is still on the stack here.
    if (m_open)
        Reschedule();
}

void TLoopbackDevice::Reschedule()
{
    if (!m_timer || m_polling)
        return;
    if (m_count == 0 || At(0).Start < 0 || TLoopbackBus::Instance().Stalled()) {
        m_timer->Stop();
        return;
    }
    const qint64 wait = DueMs(At(0)) - TLoopbackBus::Instance().Clock().NowMs();
    m_timer->Start(int(std::clamp<qint64>(wait, 0, 1 << 30)));
}

void TLoopbackDevice::Pause()
{
    if (!m_open || m_paused || m_direction != EAudioDirection::Output)
        return;
    const int rate = int(m_format.SamplesPerSec);
    const qint64 now = TLoopbackBus::Instance().NowPosition(rate);
    if (m_count > 0 && At(0).Start >= 0) {
        TEntry &head = At(0);
        head.Offset = std::clamp(head.Offset + now - head.Start, head.Offset, head.Frames);
    }
    for (int i = 0; i < m_count; ++i)
        At(i).Start = -1;
    TLoopbackBus::Instance().Erase(std::min(now, m_tailEnd), rate);
    m_tailEnd = std::min(now, m_tailEnd);
    m_paused = true;
    if (m_timer)
        m_timer->Stop();
}

void TLoopbackDevice::Restart()
{
    if (!m_open || !m_paused)
        return;
    m_paused = false;
    // A held play is no gap: start again from now without counting an underrun.
    m_tailEnd
        = std::max(m_tailEnd, TLoopbackBus::Instance().NowPosition(int(m_format.SamplesPerSec)));
    ScheduleFrom(0);
    Reschedule();
}

void TLoopbackDevice::Reset()
{
    if (!m_open)
        return;
    if (m_direction == EAudioDirection::Output) {
        const int rate = int(m_format.SamplesPerSec);
        const qint64 now = TLoopbackBus::Instance().NowPosition(rate);
        if (now < m_tailEnd)
            TLoopbackBus::Instance().Erase(now, rate);
        m_tailEnd = std::min(m_tailEnd, now);
    }
    m_head = 0;
    m_count = 0;
    if (m_timer)
        m_timer->Stop();
}

void TLoopbackDevice::Close()
{
    if (!m_open)
        return;
    Reset();
    m_open = false;
    m_started = false;
    m_slots.fill(nullptr);
    ReleaseTimerIfIdle();
}

void TLoopbackDevice::ReleaseTimerIfIdle()
{
    // Inside Poll the timer's timeout is running: it goes at the next Open instead.
    if (!m_polling && !m_open)
        m_timer.reset();
}
