#include "audio/AudioIn.h"

TAudioIn::TAudioIn(QObject *parent)
    : TAudioIO(parent)
{ }

TAudioIn::~TAudioIn()
{
    if (m_deviceOpen) {
        Device()->Reset();
        CloseDevice();
    }
}

void TAudioIn::StopAtOnce()
{
    if (!m_deviceOpen)
        return;
    TAudioIO::StopAtOnce();
    Device()->Reset();
    CloseDevice();
}

bool TAudioIn::OpenDevice()
{
    return OpenDeviceCommon(EAudioDirection::Input,
                            QStringLiteral("Wave Input device is already open"));
}

bool TAudioIn::StartStreaming()
{
    QString error;
    if (!Device()->Start(error)) {
        CloseDevice();
        SetError(QStringLiteral("Error starting wave record: ") + error);
        return false;
    }
    m_running = true;
    for (int i = 0; i < NumBuffers(); ++i) {
        if (!QueueBuffer()) {
            CloseDevice();
            return false;
        }
    }
    return true;
}

bool TAudioIn::QueueBuffer()
{
    if (!m_deviceOpen)
        return false;
    TWaveHeader &h = Header(m_nextBuffer);
    h.Flags = HeaderPrepared;
    h.BufferLength = BufferSize();
    QString error;
    if (!Device()->Queue(m_nextBuffer, BufferSize(), error)) {
        h.Flags = 0;
        SetError(error);
        StopGracefully();
        return false;
    }
    m_nextBuffer = (m_nextBuffer + 1) % NumBuffers();
    ++m_activeCount;
    return true;
}

bool TAudioIn::HandleBuffer(char *buffer, int size)
{
    if (!m_active)
        return false;
    bool result = true;
    if (OnBufferFilled) {
        int delivered = size;
        result = OnBufferFilled(buffer, delivered);
    }
    if (result)
        ++m_filledCount;
    return result;
}

void TAudioIn::BufferDone(int slot, int bytes)
{
    // Normally the slot that comes back is NextBuffer. After the owner refused a buffer
    // (that slot left the ring) it is the one after: the data to deliver and requeue is
    // in the slot the device returned, not in the refused one.
    if (slot >= 0 && slot < NumBuffers())
        m_nextBuffer = slot;
    TWaveHeader &h = Header(m_nextBuffer);
    h.Flags = 0;
    h.BytesRecorded = bytes;
    ++m_doneCount;
    --m_activeCount;
    m_running = m_activeCount > 0;
    // The owner always gets the whole buffer and the full effective size.
    if (HandleBuffer(h.Data, BufferSize()))
        QueueBuffer();
    if (!m_running && m_deviceOpen) {
        m_active = false;
        CloseDevice();
    }
}

void TAudioIn::CloseDevice()
{
    m_running = false;
    CloseDeviceCommon();
}
