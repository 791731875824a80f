#include "audio/AudioIO.h"

#include <QLocale>
#include <QMetaObject>

#include <algorithm>
#include <cstring>
#include <new>

TAudioIO::TAudioIO(QObject *parent)
    : QObject(parent)
{
    UpdateFormat();
    AllocBuffers();
}

TAudioIO::~TAudioIO()
{
    // The device must stop borrowing the buffers before they go.
    if (m_device)
        m_device->Close();
    m_watchdog.reset();
    m_device.reset();
    FreeBuffers();
}

bool TAudioIO::Start()
{
    m_notice.clear();
    if (m_deviceFailed && !m_deviceOpen) {
        // A device that died is not reused: the next session starts on a fresh one.
        m_device.reset();
        m_deviceFailed = false;
    }
    if (!OpenDevice())
        return false;
    if (!StartStreaming())
        return false;
    ArmWatchdog();
    return true;
}

int TAudioIO::StallLimitMs() const
{
    const qint64 bufferMs
        = (qint64(m_effectiveSize) * 1000 + m_format.AvgBytesPerSec - 1) / m_format.AvgBytesPerSec;
    return int(std::max<qint64>(MinStallMs, 2 * bufferMs));
}

void TAudioIO::ArmWatchdog()
{
    if (!m_watchdog)
        return;
    if (m_deviceOpen && !m_paused)
        m_watchdog->Start(StallLimitMs());
    else
        m_watchdog->Stop();
}

void TAudioIO::WatchdogTimeout()
{
    if (!m_deviceOpen || m_paused) {
        m_watchdog->Stop();
        return;
    }
    m_inWatchdog = true;
    // A GUI thread held up for longer than the limit finds the device's buffers waiting:
    // that device is alive.
    const int done = m_doneCount;
    m_device->DeliverDone();
    const bool dead = m_doneCount == done && m_deviceOpen;
    if (dead) {
        m_errorMessage = StallText();
        m_deviceFailed = true;
        m_active = false;
        m_device->Abandon();
        CloseDevice();
    }
    m_inWatchdog = false;
    if (!dead)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (OnFailure)
                OnFailure(this);
        },
        Qt::QueuedConnection);
}

void TAudioIO::ReleaseWatchdog()
{
    // Inside its own timeout the timer stays until the next open or the destruction.
    if (m_inWatchdog)
        m_watchdog->Stop();
    else
        m_watchdog.reset();
}

QString TAudioIO::StallText() const
{
    const int limit = StallLimitMs();
    const QString seconds
        = QLocale(QLocale::Polish).toString(limit / 1000.0, 'f', limit % 1000 ? 1 : 0);
    return m_direction == EAudioDirection::Output
        ? tr("Urządzenie wyjściowe nie przyjmuje dźwięku od %1 s: serwer dźwięku "
             "nie odpowiada. Odtwarzanie zatrzymano.")
              .arg(seconds)
        : tr("Urządzenie wejściowe nie dostarcza dźwięku od %1 s: serwer dźwięku "
             "nie odpowiada. Nagrywanie zatrzymano.")
              .arg(seconds);
}

void TAudioIO::StopGracefully()
{
    if (m_deviceOpen)
        m_active = false;
}

void TAudioIO::StopAtOnce()
{
    m_running = false;
    m_active = false;
}

void TAudioIO::SetBufferSize(int bytes)
{
    if (m_deviceOpen)
        return; // the device is still using the buffers
    m_requestedSize = std::max(bytes, MinBufferSize);
    UpdateFormat();
    FreeBuffers();
    AllocBuffers();
}

void TAudioIO::SetNumBuffers(int count)
{
    if (m_deviceOpen)
        return;
    m_numBuffers = std::clamp(count, 2, MaxBuffers);
}

void TAudioIO::SetFrameRate(int hz)
{
    if (m_deviceOpen)
        return;
    m_format.SamplesPerSec = quint32(std::max(hz, 1));
    UpdateFormat();
}

void TAudioIO::SetStereo(bool stereo)
{
    if (m_deviceOpen)
        return;
    m_format.Channels = stereo ? 2 : 1;
    UpdateFormat();
}

void TAudioIO::SetQuantization(int bits)
{
    if (m_deviceOpen)
        return;
    m_format.BitsPerSample = bits < 9 ? 8 : 16;
    UpdateFormat();
}

EAudioBackend TAudioIO::Backend() const
{
    return m_backend.value_or(TAudioBackend::Default());
}

qint64 TAudioIO::Underruns() const
{
    return m_deviceOpen && m_device ? m_device->Underruns() : m_lastUnderruns;
}

qint64 TAudioIO::Overruns() const
{
    return m_deviceOpen && m_device ? m_device->Overruns() : m_lastOverruns;
}

qint64 TAudioIO::DeviceXruns() const
{
    return m_deviceOpen && m_device ? m_device->DeviceXruns() : m_lastXruns;
}

void TAudioIO::UpdateFormat()
{
    m_format.FormatTag = 1;
    m_format.BlockAlign = quint16(m_format.BitsPerSample / 8 * m_format.Channels);
    m_format.AvgBytesPerSec = m_format.BlockAlign * m_format.SamplesPerSec;
    m_effectiveSize = m_requestedSize - m_requestedSize % m_format.BlockAlign;
}

bool TAudioIO::AllocBuffers()
{
    for (int i = 0; i < m_numBuffers; ++i) {
        // Zeroed so that a slot queued without a successful fill plays silence, not
        // whatever the allocator left there.
        m_buffers[size_t(i)].reset(new (std::nothrow) char[size_t(m_effectiveSize)]());
        if (!m_buffers[size_t(i)]) {
            m_errorMessage = QStringLiteral("Error allocating wave buffer memory");
            FreeBuffers();
            return false;
        }
        m_bufferSizes[size_t(i)] = m_effectiveSize;
        m_headers[size_t(i)].Data = m_buffers[size_t(i)].get();
    }
    return true;
}

void TAudioIO::FreeBuffers()
{
    for (int i = 0; i < MaxBuffers; ++i) {
        m_buffers[size_t(i)].reset();
        m_bufferSizes[size_t(i)] = 0;
        m_headers[size_t(i)].Data = nullptr;
    }
}

bool TAudioIO::BuffersMatch() const
{
    for (int i = 0; i < m_numBuffers; ++i)
        if (!m_buffers[size_t(i)] || m_bufferSizes[size_t(i)] != m_effectiveSize)
            return false;
    return true;
}

quint32 TAudioIO::UsableDevice(EAudioBackend backend, EAudioDirection direction)
{
    m_notice.clear();
    if (m_waveDevice == DefaultDevice)
        return m_waveDevice;
    const auto count = quint32(TAudioBackend::DeviceNames(backend, direction).size());
    // A sound system that did not answer lists nothing: the open says why.
    if (m_waveDevice < count || !TAudioBackend::ProbeError(backend).isEmpty())
        return m_waveDevice;
    // A card unplugged since its number was chosen: play or record on the default rather
    // than fail or stay silent, and say so.
    m_notice = (direction == EAudioDirection::Output
                    ? tr("Nie ma urządzenia wyjściowego nr %1 (odłączone?); "
                         "użyto domyślnego urządzenia.")
                    : tr("Nie ma urządzenia wejściowego nr %1 (odłączone?); "
                         "użyto domyślnego urządzenia."))
                   .arg(m_waveDevice);
    return 0;
}

bool TAudioIO::OpenDeviceCommon(EAudioDirection direction, const QString &alreadyOpenText)
{
    if (m_deviceOpen) {
        m_errorMessage = alreadyOpenText;
        return false;
    }
    m_nextBuffer = 0;
    // NumBuffers may have grown (or an allocation failed) since the buffers were made.
    if (!BuffersMatch()) {
        FreeBuffers();
        if (!AllocBuffers())
            return false;
    }
    const EAudioBackend backend = Backend();
    if (!m_device || m_deviceBackend != backend) {
        m_device = TAudioBackend::Create(backend);
        m_deviceBackend = backend;
        if (!m_device) {
            m_errorMessage = QStringLiteral("The sound backend \"%1\" is not available")
                                 .arg(TAudioBackend::Name(backend));
            return false;
        }
        m_device->OnBufferDone = [this](int slot, int bytes) {
            if (!m_deviceOpen)
                return;
            ArmWatchdog();
            BufferDone(slot, bytes);
        };
    }
    QString error;
    if (!m_device->Open(direction, UsableDevice(backend, direction), m_format, error)) {
        m_errorMessage = error;
        return false;
    }
    m_deviceOpen = true;
    m_direction = direction;
    if (!m_inWatchdog) {
        m_watchdog.reset();
        m_watchdog = m_device->Clock().CreateTimer();
        m_watchdog->OnTimeout = [this] {
            WatchdogTimeout();
        };
    }
    PostStart();
    for (int i = 0; i < m_numBuffers; ++i) {
        TWaveHeader &h = m_headers[size_t(i)];
        h.BufferLength = m_effectiveSize;
        h.BytesRecorded = 0;
        h.Flags = 0;
        if (!m_device->Prepare(i, h.Data, m_effectiveSize, error)) {
            m_errorMessage = error;
            CloseDevice();
            return false;
        }
    }
    m_activeCount = 0;
    m_doneCount = 0;
    m_filledCount = 0;
    m_active = true;
    m_running = true;
    return true;
}

void TAudioIO::CloseDeviceCommon()
{
    m_running = false;
    if (m_device) {
        m_lastUnderruns = m_device->Underruns();
        m_lastOverruns = m_device->Overruns();
        m_lastXruns = m_device->DeviceXruns();
        m_device->Close();
    }
    if (m_watchdog)
        ReleaseWatchdog();
    for (TWaveHeader &h : m_headers)
        h.Flags = 0;
    const bool wasOpen = m_deviceOpen;
    m_deviceOpen = false;
    if (wasOpen)
        PostStop();
}

void TAudioIO::PostStart()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (OnStart)
                OnStart(this);
        },
        Qt::QueuedConnection);
}

void TAudioIO::PostStop()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (OnStop)
                OnStop(this);
        },
        Qt::QueuedConnection);
}
