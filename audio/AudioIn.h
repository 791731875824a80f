#pragma once

#include "audio/AudioIO.h"

// Records buffers and hands each filled one to its owner through OnBufferFilled (GUI
// thread), always the whole buffer with the effective size. A handler returning true sends
// the buffer straight back to the device; false leaves that slot out of the ring.
class TAudioIn : public TAudioIO
{
public:
    explicit TAudioIn(QObject *parent = nullptr);
    ~TAudioIn() override;

    void StopAtOnce() override;

    TBufferEvent OnBufferFilled;

protected:
    bool OpenDevice() override;
    bool StartStreaming() override;
    bool QueueBuffer() override;
    void CloseDevice() override;
    void BufferDone(int slot, int bytes) override;

    bool HandleBuffer(char *buffer, int size);
};
