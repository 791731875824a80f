#pragma once

#include "audio/AudioIO.h"

// Plays buffers that its owner fills on demand through OnFillBuffer (GUI thread). At
// Start every slot is filled and queued; each buffer the device returns is refilled and
// queued again at once, so up to NumBuffers - 1 buffers keep playing while one is filled.
class TAudioOut : public TAudioIO
{
public:
    explicit TAudioOut(QObject *parent = nullptr);
    ~TAudioOut() override;

    bool Paused() const { return m_paused; }
    // Stores; while Running, holds (true) or resumes (false) the device.
    void SetPaused(bool paused);

    void StopAtOnce() override;

    // Fill handler: fill `size` bytes (or fewer, lowering `size`) and return true, or
    // return false to leave the slot unplayed.
    TBufferEvent OnFillBuffer;

protected:
    bool OpenDevice() override;
    bool StartStreaming() override;
    bool QueueBuffer() override;
    void CloseDevice() override;
    void BufferDone(int slot, int bytes) override;

    bool HandleBuffer(int slot, int size);
};
