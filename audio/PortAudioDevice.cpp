#include "audio/PortAudioDevice.h"

#ifdef ORVI_HAVE_PORTAUDIO

#include "audio/DeviceList.h"
#include "audio/PortAudioWorker.h"
#include "audio/StderrFilter.h"
#include "controls/Clock.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <alsa/error.h>
#include <jack/jack.h>

#include <pa_linux_alsa.h>
#include <portaudio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

// ALSA's and JACK's libraries print every failed probe to stderr (about a hundred lines on
// a machine without a sound card, or without a JACK server). What failed for us is said in
// our own messages, so their printers are silenced for the whole run.
void SilenceAlsa(const char *, int, const char *, int, const char *, ...) { }
void SilenceJack(const char *) { }

void SilenceSoundLibraries()
{
    snd_lib_error_set_handler(&SilenceAlsa);
    jack_set_error_function(&SilenceJack);
    jack_set_info_function(&SilenceJack);
    // PortAudio's own reports of failed calls (a stream whose sound server died) go to
    // stderr from its threads, with no switch to turn them off.
    TStderrFilter::Install(&TStderrFilter::IsPortAudioAssertion);
    // Probing must not try to start a JACK server of its own.
    if (!qEnvironmentVariableIsSet("JACK_NO_START_SERVER"))
        qputenv("JACK_NO_START_SERVER", "1");
}

// PortAudio is initialised once, at the first use, and stays up for the whole run. Its
// initialisation probes every ALSA device, and a probe of a sound server that froze waits
// for the server, maybe for ever: it runs on a thread of its own, and callers wait for it
// (handling events) at most ProbeLimitMs from its start. Later calls find it done, or fail
// at once while it is still stuck.
constexpr int ProbeLimitMs = 5000;

struct TInitialisation
{
    std::atomic<int> Phase { 0 }; // 0: not begun, 1: running, 2: done
    PaError Result = paNoError; // written by the thread before Phase becomes 2
    qint64 BeganMs = 0; // system clock
    QString ProbeError; // of the last call; GUI thread
};

TInitialisation &Initialisation()
{
    static TInitialisation *state = new TInitialisation; // the thread may outlive main
    return *state;
}

bool EnsurePortAudio(QString *error)
{
    TInitialisation &init = Initialisation();
    TClock &clock = TClock::System();
    if (init.Phase.load(std::memory_order_acquire) == 0) {
        init.Phase.store(1, std::memory_order_relaxed);
        init.BeganMs = clock.NowMs();
        SilenceSoundLibraries();
        std::thread([&init] {
            init.Result = Pa_Initialize();
            init.Phase.store(2, std::memory_order_release);
        }).detach();
    }
    while (init.Phase.load(std::memory_order_acquire) != 2
           && clock.NowMs() - init.BeganMs < ProbeLimitMs)
        clock.WaitProcessing(10);
    if (init.Phase.load(std::memory_order_acquire) != 2) {
        init.ProbeError
            = QCoreApplication::translate("TPortAudioDevice",
                                          "Urządzenia dźwiękowe nie zgłosiły się w ciągu %1 s: "
                                          "serwer dźwięku nie odpowiada.")
                  .arg(ProbeLimitMs / 1000);
    } else if (init.Result != paNoError) {
        init.ProbeError = QString::fromLocal8Bit(Pa_GetErrorText(init.Result));
    } else {
        init.ProbeError.clear();
    }
    if (error)
        *error = init.ProbeError;
    return init.ProbeError.isEmpty();
}

} // namespace

QString TPortAudioDevice::ProbeError()
{
    return Initialisation().ProbeError;
}

namespace {

QString ServerNotAnswering()
{
    return QCoreApplication::translate(
               "TPortAudioDevice",
               "Urządzenie dźwiękowe nie odpowiedziało w ciągu %1 s: serwer dźwięku "
               "nie odpowiada.")
        .arg(TPortAudioWorker::LimitMs / 1000);
}

// Worker thread (it reads PortAudio's last host error).
QString PaErrorText(PaError code)
{
    if (code == paUnanticipatedHostError) {
        const PaHostErrorInfo *info = Pa_GetLastHostErrorInfo();
        if (info && info->errorText && *info->errorText)
            return QString::fromLocal8Bit(info->errorText);
    }
    return QString::fromLocal8Bit(Pa_GetErrorText(code));
}

bool HasDirection(const PaDeviceInfo *info, EAudioDirection direction)
{
    return info
        && (direction == EAudioDirection::Output ? info->maxOutputChannels : info->maxInputChannels)
        > 0;
}

PaDeviceIndex DefaultDevice(EAudioDirection direction)
{
    return direction == EAudioDirection::Output ? Pa_GetDefaultOutputDevice()
                                                : Pa_GetDefaultInputDevice();
}

// PortAudio's device index of every device number of one direction (number = position):
// the default device first. PortAudio must be initialised.
std::vector<int> NumberedDevices(EAudioDirection direction)
{
    std::vector<int> devices;
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex i = 0; i < count; ++i)
        if (HasDirection(Pa_GetDeviceInfo(i), direction))
            devices.push_back(i);
    return TDeviceList::Numbering(devices, DefaultDevice(direction));
}

// The one mapping from our device number to PortAudio's index; all bits set is the
// default as well.
PaDeviceIndex DeviceIndex(EAudioDirection direction, quint32 number)
{
    if (number == 0xFFFFFFFFu)
        return DefaultDevice(direction);
    const std::vector<int> devices = NumberedDevices(direction);
    return number < devices.size() ? devices[number] : paNoDevice;
}

} // namespace

struct TPortAudioCallback
{
    static int Run(const void *input, void *output, unsigned long frames,
                   const PaStreamCallbackTimeInfo *, PaStreamCallbackFlags statusFlags, void *self)
    {
        auto *target = static_cast<TPortAudioDevice::TCallbackTarget *>(self);
        // Busy before Device: a detaching GUI thread that still sees the device here waits
        // for Busy to drop (both sequentially consistent).
        target->Busy.store(true);
        TPortAudioDevice *device = target->Device.load();
        if (!device) {
            target->Busy.store(false);
            if (output)
                std::memset(output, target->Silence, size_t(frames) * size_t(target->BlockAlign));
            return paAbort;
        }
        const int bytes = int(frames) * device->m_format.BlockAlign;
        if (device->m_direction == EAudioDirection::Output)
            device->PlayInto(static_cast<char *>(output), bytes, statusFlags);
        else
            device->RecordFrom(static_cast<const char *>(input), bytes, statusFlags);
        target->Busy.store(false);
        return paContinue;
    }
};

TPortAudioDevice::TPortAudioDevice()
{
    if (::pipe(m_wakePipe) == 0) {
        for (int fd : m_wakePipe) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        m_notifier = std::make_unique<QSocketNotifier>(m_wakePipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { Dispatch(); });
    }
}

TPortAudioDevice::~TPortAudioDevice()
{
    Close();
    m_notifier.reset();
    for (int fd : m_wakePipe)
        if (fd >= 0)
            ::close(fd);
}

QStringList TPortAudioDevice::DeviceNames(EAudioDirection direction)
{
    QStringList names;
    if (!EnsurePortAudio(nullptr))
        return names;
    const PaDeviceIndex defaultDevice = DefaultDevice(direction);
    for (int index : NumberedDevices(direction)) {
        const QString name = QString::fromUtf8(Pa_GetDeviceInfo(index)->name);
        names << (index == defaultDevice ? TDeviceList::DefaultDeviceName(name) : name);
    }
    return names;
}

bool TPortAudioDevice::Open(EAudioDirection direction, quint32 device, const TWaveFormat &format,
                            QString &error)
{
    if (m_stream) {
        error = QStringLiteral("The sound device is already open");
        return false;
    }
    if (m_wakePipe[0] < 0) {
        error = QStringLiteral("Could not create the sound notification pipe: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!EnsurePortAudio(&error))
        return false;
    if (TPortAudioWorker::Instance().IsStuck()) {
        error = ServerNotAnswering();
        return false;
    }
    if (format.FormatTag != 1 || (format.BitsPerSample != 8 && format.BitsPerSample != 16)) {
        error = QStringLiteral("Unsupported wave format");
        return false;
    }
    const PaDeviceIndex index = DeviceIndex(direction, device);
    if (index == paNoDevice) {
        error = device == 0xFFFFFFFFu
            ? QStringLiteral("There is no default sound %1 device")
                  .arg(direction == EAudioDirection::Output ? QStringLiteral("output")
                                                            : QStringLiteral("input"))
            : QStringLiteral("Sound %1 device %2 does not exist")
                  .arg(direction == EAudioDirection::Output ? QStringLiteral("output")
                                                            : QStringLiteral("input"))
                  .arg(device);
        return false;
    }
    const PaDeviceInfo *info = Pa_GetDeviceInfo(index);
    PaStreamParameters params {};
    params.device = index;
    params.channelCount = format.Channels;
    params.sampleFormat = format.BitsPerSample == 16 ? paInt16 : paUInt8;
    // Latency matters little here (a test signal plays while a recording runs), gaps do: a
    // roomy device buffer (at least 200 ms) rides out a busy machine, where the default 35 ms
    // of ALSA's "pulse" device ran dry.
    params.suggestedLatency
        = std::max(0.2,
                   direction == EAudioDirection::Output ? info->defaultHighOutputLatency
                                                        : info->defaultHighInputLatency);
    const bool output = direction == EAudioDirection::Output;

    m_direction = direction;
    m_format = format;
    m_toDevice.Clear();
    m_fromDevice.Clear();
    m_slots.fill(nullptr);
    m_offset = 0;
    m_streamedAny = false;
    m_gap = false;
    m_underruns = 0;
    m_overruns = 0;
    m_xruns = 0;
    m_paused = false;
    m_capturing = false;
    m_started = false;

    auto target = std::make_shared<TCallbackTarget>();
    target->Device = this;
    target->BlockAlign = format.BlockAlign;
    target->Silence = format.BitsPerSample == 8 ? char(0x80) : 0;
    const PaHostApiInfo *hostApi = Pa_GetHostApiInfo(info->hostApi);
    const bool alsa = hostApi && hostApi->type == paALSA;
    const double rate = double(format.SamplesPerSec);
    struct TOpened
    {
        PaStream *Stream = nullptr;
        QString Error;
    };
    auto opened = std::make_shared<TOpened>();
    const auto open = [opened, target, params, output, alsa, rate] {
        PaStream *stream = nullptr;
        PaError result = Pa_OpenStream(
            &stream, output ? nullptr : &params, output ? &params : nullptr, rate,
            paFramesPerBufferUnspecified, paNoFlag, &TPortAudioCallback::Run, target.get());
        if (result != paNoError) {
            opened->Error = PaErrorText(result);
            return;
        }
        // ALSA's callback thread asks for real-time scheduling where the system allows it,
        // so a busy machine does not starve the device between callbacks.
        if (alsa)
            PaAlsa_EnableRealtimeScheduling(stream, 1);
        // An output plays silence until the first slot arrives, like an opened wave device.
        if (output && (result = Pa_StartStream(stream)) != paNoError) {
            opened->Error = PaErrorText(result);
            Pa_CloseStream(stream);
            return;
        }
        opened->Stream = stream;
    };
    // An open given up on is closed as soon as it returns.
    const auto undo = [opened, target] {
        if (opened->Stream)
            Pa_CloseStream(opened->Stream);
    };
    if (!TPortAudioWorker::Instance().Run(open, undo, TPortAudioWorker::EWait::Processing)) {
        Detach(*target);
        error = ServerNotAnswering();
        return false;
    }
    if (!opened->Stream) {
        error = opened->Error;
        return false;
    }
    m_stream = opened->Stream;
    m_target = std::move(target);
    m_started = output;
    return true;
}

bool TPortAudioDevice::Prepare(int slot, char *data, int capacity, QString &error)
{
    if (!m_stream || slot < 0 || slot >= int(m_slots.size()) || !data || capacity <= 0) {
        error = QStringLiteral("Invalid wave buffer");
        return false;
    }
    m_slots[size_t(slot)] = data;
    m_capacity[size_t(slot)] = capacity;
    return true;
}

bool TPortAudioDevice::Queue(int slot, int bytes, QString &error)
{
    if (!m_stream || slot < 0 || slot >= int(m_slots.size()) || !m_slots[size_t(slot)]) {
        error = QStringLiteral("The sound device is not open");
        return false;
    }
    // Whole frames only.
    const int whole = std::clamp(bytes, 0, m_capacity[size_t(slot)]) / m_format.BlockAlign
        * m_format.BlockAlign;
    if (!m_toDevice.Push(TSlotRef { slot, whole })) {
        error = QStringLiteral("Too many wave buffers queued");
        return false;
    }
    return true;
}

bool TPortAudioDevice::Start(QString &error)
{
    if (!m_stream) {
        error = QStringLiteral("The sound device is not open");
        return false;
    }
    if (m_direction == EAudioDirection::Input) {
        m_capturing = true;
        if (!m_started) {
            auto failure = std::make_shared<QString>();
            const auto start = [stream = m_stream, failure] {
                const PaError result = Pa_StartStream(stream);
                if (result != paNoError)
                    *failure = PaErrorText(result);
            };
            TPortAudioWorker &worker = TPortAudioWorker::Instance();
            if (worker.IsStuck() || !worker.Run(start, {}, TPortAudioWorker::EWait::Blocking)) {
                m_capturing = false;
                Abandon();
                error = ServerNotAnswering();
                return false;
            }
            if (!failure->isEmpty()) {
                m_capturing = false;
                error = *failure;
                return false;
            }
            m_started = true;
        }
    }
    return true;
}

void TPortAudioDevice::Pause()
{
    m_paused = true;
}

void TPortAudioDevice::Restart()
{
    m_paused = false;
}

void TPortAudioDevice::Reset()
{
    if (!m_stream)
        return;
    // The callback must be quiet before the queues can be emptied from this side. A stop
    // that does not return in time leaves the stream to the worker, detached from us.
    if (m_started) {
        const auto abort = [stream = m_stream] {
            Pa_AbortStream(stream);
        };
        TPortAudioWorker &worker = TPortAudioWorker::Instance();
        if (worker.IsStuck() || !worker.Run(abort, {}, TPortAudioWorker::EWait::Blocking)) {
            Abandon();
            return;
        }
        m_started = false;
    }
    m_capturing = false;
    m_toDevice.Clear();
    m_fromDevice.Clear();
    m_offset = 0;
}

void TPortAudioDevice::Close()
{
    if (!m_stream)
        return;
    // An output that ran dry by itself still has its last slot in the device's own buffer:
    // let it play out. Inputs have nothing worth waiting for. The stream keeps its callback
    // target until it is closed.
    const auto close = [stream = m_stream, target = m_target, started = m_started,
                        drain = m_direction == EAudioDirection::Output] {
        if (started && drain)
            Pa_StopStream(stream);
        else if (started)
            Pa_AbortStream(stream);
        Pa_CloseStream(stream);
    };
    TPortAudioWorker &worker = TPortAudioWorker::Instance();
    if (worker.IsStuck()) {
        Detach(*m_target);
        worker.Post(close);
    } else if (!worker.Run(close, {}, TPortAudioWorker::EWait::Blocking)) {
        Detach(*m_target);
    }
    Forget();
}

void TPortAudioDevice::Abandon()
{
    if (!m_stream)
        return;
    Detach(*m_target);
    // The stop is what waits for a server that froze; the worker closes the stream after it.
    TPortAudioWorker::Instance().Post([stream = m_stream, target = m_target, started = m_started] {
        if (started)
            Pa_AbortStream(stream);
        Pa_CloseStream(stream);
    });
    Forget();
}

void TPortAudioDevice::Detach(TCallbackTarget &target)
{
    target.Device.store(nullptr);
    while (target.Busy.load())
        std::this_thread::yield(); // a callback copies one device buffer: microseconds
}

void TPortAudioDevice::Forget()
{
    m_stream = nullptr;
    m_target.reset();
    m_started = false;
    m_capturing = false;
    m_toDevice.Clear();
    m_fromDevice.Clear();
    m_slots.fill(nullptr);
    char sink[64];
    while (::read(m_wakePipe[0], sink, sizeof sink) > 0) { }
}

void TPortAudioDevice::PlayInto(char *out, int bytes, unsigned long statusFlags)
{
    if ((statusFlags & paOutputUnderflow) && m_streamedAny) {
        m_underruns.fetch_add(1, std::memory_order_relaxed);
        m_xruns.fetch_add(1, std::memory_order_relaxed);
    }
    const char silence = m_format.BitsPerSample == 8 ? char(0x80) : 0;
    bool finished = false;
    while (bytes > 0) {
        const TSlotRef *front
            = m_paused.load(std::memory_order_relaxed) ? nullptr : m_toDevice.Front();
        if (!front) {
            // Played silence: a gap if play goes on afterwards (not when paused).
            if (m_streamedAny && !m_paused.load(std::memory_order_relaxed))
                m_gap = true;
            std::memset(out, silence, size_t(bytes));
            break;
        }
        if (m_gap) {
            m_underruns.fetch_add(1, std::memory_order_relaxed);
            m_gap = false;
        }
        const int n = std::min(bytes, front->Bytes - m_offset);
        std::memcpy(out, m_slots[size_t(front->Slot)] + m_offset, size_t(n));
        out += n;
        bytes -= n;
        if (AdvanceFront(*front, n))
            finished = true;
    }
    if (finished)
        Wake();
}

void TPortAudioDevice::RecordFrom(const char *in, int bytes, unsigned long statusFlags)
{
    if ((statusFlags & paInputOverflow) && m_streamedAny) {
        m_overruns.fetch_add(1, std::memory_order_relaxed);
        m_xruns.fetch_add(1, std::memory_order_relaxed);
    }
    if (!m_capturing.load(std::memory_order_relaxed))
        return;
    bool finished = false;
    while (bytes > 0) {
        const TSlotRef *front = m_toDevice.Front();
        if (!front) {
            if (m_streamedAny)
                m_gap = true; // captured audio dropped
            break;
        }
        if (m_gap) {
            m_overruns.fetch_add(1, std::memory_order_relaxed);
            m_gap = false;
        }
        const int n = std::min(bytes, front->Bytes - m_offset);
        char *target = m_slots[size_t(front->Slot)] + m_offset;
        if (in) {
            std::memcpy(target, in, size_t(n));
            in += n;
        } else {
            std::memset(target, m_format.BitsPerSample == 8 ? 0x80 : 0, size_t(n));
        }
        bytes -= n;
        if (AdvanceFront(*front, n))
            finished = true;
    }
    if (finished)
        Wake();
}

bool TPortAudioDevice::AdvanceFront(const TSlotRef &front, int bytes)
{
    m_offset += bytes;
    if (m_offset < front.Bytes)
        return false;
    const TSlotRef done = front; // front lives in the queue that Drop() advances
    m_fromDevice.Push(done);
    m_toDevice.Drop();
    m_offset = 0;
    m_streamedAny = true;
    return true;
}

void TPortAudioDevice::Wake()
{
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing is lost by failing here.
    [[maybe_unused]] const ssize_t written = ::write(m_wakePipe[1], &byte, 1);
}

void TPortAudioDevice::Dispatch()
{
    char sink[64];
    while (::read(m_wakePipe[0], sink, sizeof sink) > 0) { }
    if (m_dispatching)
        return; // the outer loop below picks the new slots up
    m_dispatching = true;
    TSlotRef done;
    while (m_stream && m_fromDevice.Pop(done)) {
        if (OnBufferDone)
            OnBufferDone(done.Slot, done.Bytes);
    }
    m_dispatching = false;
}

#endif // ORVI_HAVE_PORTAUDIO
