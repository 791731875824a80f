#pragma once

#include "controls/Clock.h"

#include <QString>
#include <QtGlobal>

#include <functional>

enum class EAudioDirection { Output, Input };

// The PCM format record a stream hands to its device unchanged (18 bytes, packed like the
// platform's wave format record). Audio is little-endian; 8-bit samples are unsigned.
#pragma pack(push, 1)
struct TWaveFormat
{
    quint16 FormatTag = 1; // always PCM
    quint16 Channels = 1; // 1 or 2
    quint32 SamplesPerSec = 22050; // Hz
    quint32 AvgBytesPerSec = 44100; // BlockAlign x SamplesPerSec
    quint16 BlockAlign = 2; // bytes per sample frame
    quint16 BitsPerSample = 16; // 8 or 16
    quint16 ExtraSize = 0;
};
#pragma pack(pop)
static_assert(sizeof(TWaveFormat) == 18, "the wave format record is 18 bytes");

// One open sound device in one direction, as a stream sees it. The stream owns the slot
// memory; the device only borrows the pointers given to Prepare until Close.
//
// Every member is called on the GUI thread (the thread that created the device), and
// OnBufferDone is raised there too, once per queued slot and in the order the slots were
// queued. A backend may run its own thread underneath (PortAudio does) but never calls
// back on it.
class TAudioDevice
{
public:
    virtual ~TAudioDevice() = default;

    // Opens device number `device` (all bits set: the system's default) with `format`.
    // On failure returns false with a readable reason in `error`; the device stays closed.
    virtual bool Open(EAudioDirection direction, quint32 device, const TWaveFormat &format,
                      QString &error)
        = 0;

    // Lends the device slot `slot`'s memory (`capacity` bytes) for the session.
    virtual bool Prepare(int slot, char *data, int capacity, QString &error) = 0;

    // Hands a prepared slot to the device: output plays its first `bytes` bytes (whole
    // frames), input fills `bytes` bytes. The device returns it through OnBufferDone.
    virtual bool Queue(int slot, int bytes, QString &error) = 0;

    // Input: starts capturing into the queued slots. Output plays from the first Queue on.
    virtual bool Start(QString &error) = 0;

    // Output: holds play (queued slots wait, the device plays silence) and resumes it.
    virtual void Pause() = 0;
    virtual void Restart() = 0;

    // Drops every queued slot at once, without OnBufferDone for them.
    virtual void Reset() = 0;

    // Ends the session: stops the device, forgets the lent memory, raises nothing more.
    virtual void Close() = 0;

    // Ends a session whose device stopped answering, without waiting for it (a call into a
    // frozen sound server may never return): afterwards the device is closed as after Close
    // and raises nothing more; what is left of the session is released in the background.
    virtual void Abandon()
    {
        Reset();
        Close();
    }

    virtual bool IsOpen() const = 0;

    // Gaps since Open: an output that had to play silence because no slot was queued, or an
    // input that had to drop captured audio because no slot was queued (counted when
    // streaming resumes after the gap, so the silence after the last slot of a stream does
    // not count), plus the device's own reported underflows and overflows.
    virtual qint64 Underruns() const = 0;
    virtual qint64 Overruns() const = 0;
    // Of those, the ones the device or its driver reported itself (the device ran dry or
    // overflowed between two of our callbacks), as opposed to an empty slot queue.
    virtual qint64 DeviceXruns() const { return 0; }

    // The clock on which this device returns its slots: the system clock for a sound card,
    // the bus clock for the loopback. A stream times its stall watchdog on it.
    virtual TClock &Clock() const { return TClock::System(); }

    // Raises OnBufferDone now for slots that have come back but were not reported yet (the
    // GUI thread was held up). Called before a stream declares the device dead.
    virtual void DeliverDone() { }

    // Raised on the GUI thread when slot `slot` comes back; `bytes` is what was played or
    // recorded into it.
    std::function<void(int slot, int bytes)> OnBufferDone;
};
