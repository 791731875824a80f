#include "audio/AudioOut.h"

#include <algorithm>

TAudioOut::TAudioOut(QObject *parent)
    : TAudioIO(parent)
{ }

TAudioOut::~TAudioOut()
{
    if (m_deviceOpen) {
        Device()->Reset();
        CloseDevice();
    }
}

void TAudioOut::SetPaused(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    if (m_running && Device()) {
        if (paused)
            Device()->Pause();
        else
            Device()->Restart();
        ArmWatchdog();
    }
}

void TAudioOut::StopAtOnce()
{
    if (!m_deviceOpen)
        return;
    TAudioIO::StopAtOnce();
    Device()->Reset();
    CloseDevice();
}

bool TAudioOut::OpenDevice()
{
    if (!OpenDeviceCommon(EAudioDirection::Output,
                          QStringLiteral("Wave output device is already open")))
        return false;
    if (!HandleBuffer(0, BufferSize())) {
        CloseDevice();
        SetError(QStringLiteral("There must be at least one filled buffer"));
        return false;
    }
    for (int i = 1; i < NumBuffers(); ++i)
        HandleBuffer(i, BufferSize());
    return true;
}

bool TAudioOut::StartStreaming()
{
    m_running = true;
    if (m_paused)
        Device()->Pause();
    if (!QueueBuffer()) {
        CloseDevice();
        return false;
    }
    // Every slot goes to the device at start, whether or not its fill succeeded.
    for (int i = 1; i < NumBuffers(); ++i)
        QueueBuffer();
    return true;
}

bool TAudioOut::QueueBuffer()
{
    if (!m_deviceOpen)
        return false;
    TWaveHeader &h = Header(m_nextBuffer);
    h.Flags = HeaderPrepared;
    QString error;
    if (!Device()->Queue(m_nextBuffer, h.BufferLength, error)) {
        h.Flags = 0;
        SetError(error);
        StopGracefully();
        return false;
    }
    m_nextBuffer = (m_nextBuffer + 1) % NumBuffers();
    return true;
}

bool TAudioOut::HandleBuffer(int slot, int size)
{
    if (!m_active)
        return false;
    bool result = false;
    if (OnFillBuffer) {
        int filled = size;
        result = OnFillBuffer(Header(slot).Data, filled);
        // A handler cannot play more than the slot holds.
        Header(slot).BufferLength = std::clamp(filled, 0, BufferSize());
    }
    if (result)
        ++m_filledCount;
    m_activeCount = m_filledCount - m_doneCount;
    return result;
}

void TAudioOut::BufferDone(int, int)
{
    Header(m_nextBuffer).Flags = 0;
    ++m_doneCount;
    m_activeCount = m_filledCount - m_doneCount;
    m_running = m_activeCount > 0; // decided before the refill
    if (HandleBuffer(m_nextBuffer, BufferSize()))
        QueueBuffer();
    if (!m_running && m_deviceOpen) {
        m_active = false;
        CloseDevice();
    }
}

void TAudioOut::CloseDevice()
{
    m_running = false;
    m_paused = false;
    CloseDeviceCommon();
}
