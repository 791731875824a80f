#include "audio/AudioBackend.h"

#include "audio/LoopbackDevice.h"
#ifdef ORVI_HAVE_PORTAUDIO
#include "audio/PortAudioDevice.h"
#endif

namespace {

EAudioBackend &DefaultBackend()
{
#ifdef ORVI_HAVE_PORTAUDIO
    static EAudioBackend backend = EAudioBackend::PortAudio;
#else
    static EAudioBackend backend = EAudioBackend::Loopback;
#endif
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
#ifdef ORVI_HAVE_PORTAUDIO
        return true;
#else
        return false;
#endif
    }
    return false;
}

std::unique_ptr<TAudioDevice> TAudioBackend::Create(EAudioBackend backend)
{
    switch (backend) {
    case EAudioBackend::Loopback:
        return std::make_unique<TLoopbackDevice>();
    case EAudioBackend::PortAudio:
#ifdef ORVI_HAVE_PORTAUDIO
        return std::make_unique<TPortAudioDevice>();
#else
        return nullptr;
#endif
    }
    return nullptr;
}

QStringList TAudioBackend::DeviceNames(EAudioBackend backend, EAudioDirection direction)
{
    switch (backend) {
    case EAudioBackend::Loopback:
        return TLoopbackDevice::DeviceNames(direction);
    case EAudioBackend::PortAudio:
#ifdef ORVI_HAVE_PORTAUDIO
        return TPortAudioDevice::DeviceNames(direction);
#else
        return {};
#endif
    }
    return {};
}

QString TAudioBackend::Name(EAudioBackend backend)
{
    return backend == EAudioBackend::PortAudio ? QStringLiteral("PortAudio")
                                               : QStringLiteral("loopback");
}
