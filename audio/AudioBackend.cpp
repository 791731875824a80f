#include "audio/AudioBackend.h"

#include "audio/LoopbackDevice.h"
#include "audio/PortAudioDevice.h"

namespace {

// The sound card unless the program was started on the simulated rig (or by a test).
EAudioBackend &DefaultBackend()
{
    static EAudioBackend backend = EAudioBackend::PortAudio;
    return backend;
}

} // namespace

EAudioBackend TAudioBackend::Default()
{
    return DefaultBackend();
}

void TAudioBackend::SetDefault(EAudioBackend backend)
{
    DefaultBackend() = backend;
}

bool TAudioBackend::IsAvailable(EAudioBackend backend)
{
    switch (backend) {
    case EAudioBackend::Loopback:
        return true;
    case EAudioBackend::PortAudio:
        return true;
    }
    return false;
}

std::unique_ptr<TAudioDevice> TAudioBackend::Create(EAudioBackend backend)
{
    switch (backend) {
    case EAudioBackend::Loopback:
        return std::make_unique<TLoopbackDevice>();
    case EAudioBackend::PortAudio:
        return std::make_unique<TPortAudioDevice>();
    }
    return nullptr;
}

QStringList TAudioBackend::DeviceNames(EAudioBackend backend, EAudioDirection direction)
{
    switch (backend) {
    case EAudioBackend::Loopback:
        return TLoopbackDevice::DeviceNames(direction);
    case EAudioBackend::PortAudio:
        return TPortAudioDevice::DeviceNames(direction);
    }
    return {};
}

QString TAudioBackend::ProbeError(EAudioBackend backend)
{
    return backend == EAudioBackend::PortAudio ? TPortAudioDevice::ProbeError() : QString();
}

QString TAudioBackend::Name(EAudioBackend backend)
{
    return backend == EAudioBackend::PortAudio ? QStringLiteral("PortAudio")
                                               : QStringLiteral("loopback");
}
