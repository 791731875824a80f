#pragma once

#include "audio/AudioDevice.h"

#include <QStringList>

#include <memory>

enum class EAudioBackend {
    PortAudio, // the real sound card
    Loopback // in-process: what an output plays arrives at the inputs (TLoopbackBus)
};

// Picks the sound backend. The program sets the process-wide default once at start
// (loopback for --simulate); a stream that was not told otherwise opens its device on the
// default at every Start. GUI thread only.
class TAudioBackend
{
public:
    // PortAudio, until SetDefault chose the loopback (--simulate, tests).
    static EAudioBackend Default();
    static void SetDefault(EAudioBackend backend);

    static bool IsAvailable(EAudioBackend backend);

    // A new closed device of that backend; the caller owns it.
    static std::unique_ptr<TAudioDevice> Create(EAudioBackend backend);

    // Device names in device-number order (number = index), as the backend reports them.
    // Never waits more than 5 s for a sound server that does not answer.
    static QStringList DeviceNames(EAudioBackend backend, EAudioDirection direction);
    // Why the last DeviceNames of that backend could not ask the sound system (then its
    // list is empty though devices may exist); empty when it did.
    static QString ProbeError(EAudioBackend backend);

    // Short text for messages and the command line ("PortAudio", "loopback").
    static QString Name(EAudioBackend backend);
};
