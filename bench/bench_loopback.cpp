// Gaps in a long play+record with the program's default buffers (output 4 x 8192 bytes as
// the generator window plays, input 2 x 8192 bytes as the level meter window records),
// 16-bit mono at 48000 Hz:
//   BM_LoopbackRealTime   in-process loopback paced by the system clock
//   BM_PortAudioPulse     PortAudio through ALSA's "pulse" device to the private PulseAudio
//                         null sink of tools/pulse-private.sh (skipped when it is not running)
//   BM_LoopbackVirtual    the same on a virtual clock: the CPU cost of the stream machinery
// The counters underruns / overruns are the figures that matter; they should be 0.
// ORVI_BENCH_SECONDS sets the length of the real-time runs (default 60 s).
#include "audio/AudioIn.h"
#include "audio/AudioOut.h"
#include "audio/DeviceList.h"
#include "audio/LoopbackBus.h"
#include "controls/Clock.h"
#include "controls/VirtualClock.h"

#include <QCoreApplication>
#include <QFile>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include <signal.h>
#include <unistd.h>

namespace {

constexpr int Rate = 48000;

int Seconds()
{
    bool ok = false;
    const int s = qEnvironmentVariableIntValue("ORVI_BENCH_SECONDS", &ok);
    return ok && s > 0 ? s : 60;
}

struct TResult
{
    QString Error;
    qint64 Underruns = 0;
    qint64 Overruns = 0;
    qint64 DeviceXruns = 0;
    int Played = 0;
    int Recorded = 0;
};

// Plays a 1 kHz sine for `seconds` while recording, on `backend`, timed by `clock`.
TResult PlayAndRecord(EAudioBackend backend, quint32 device, TClock &clock, int seconds)
{
    TResult result;
    TAudioIn in;
    in.SetBackend(backend);
    in.SetWaveDevice(device);
    in.SetNumBuffers(2);
    in.SetBufferSize(8192);
    in.SetFrameRate(Rate);
    qint64 recordedBytes = 0;
    in.OnBufferFilled = [&](char *, int &size) {
        recordedBytes += size;
        return true;
    };
    TAudioOut out;
    out.SetBackend(backend);
    out.SetWaveDevice(device);
    out.SetNumBuffers(4);
    out.SetBufferSize(8192);
    out.SetFrameRate(Rate);
    const qint64 total = qint64(Rate) * seconds;
    qint64 n = 0;
    out.OnFillBuffer = [&](char *buffer, int &size) {
        if (n >= total)
            return false;
        auto *s = reinterpret_cast<qint16 *>(buffer);
        for (int i = 0; i < size / 2; ++i, ++n)
            s[i] = qint16(
                std::lrint(8000 * std::sin(2 * std::numbers::pi * 1000.0 * double(n) / Rate)));
        return true;
    };
    if (!in.Start()) {
        result.Error = in.ErrorMessage();
        return result;
    }
    if (!out.Start()) {
        result.Error = out.ErrorMessage();
        in.StopAtOnce();
        return result;
    }
    const qint64 limit = clock.NowMs() + qint64(seconds) * 1000 + 10000;
    while (out.DeviceOpen() && clock.NowMs() < limit)
        clock.WaitProcessing(50);
    in.StopGracefully();
    while (in.DeviceOpen() && clock.NowMs() < limit + 2000)
        clock.WaitProcessing(50);
    if (out.DeviceOpen() || in.DeviceOpen())
        result.Error = QStringLiteral("the streams did not finish");
    out.StopAtOnce();
    in.StopAtOnce();
    result.Underruns = out.Underruns();
    result.Overruns = in.Overruns();
    result.DeviceXruns = out.DeviceXruns() + in.DeviceXruns();
    result.Played = out.DoneCount();
    result.Recorded = in.FilledCount();
    Q_UNUSED(recordedBytes);
    return result;
}

void Report(benchmark::State &state, const TResult &r)
{
    if (!r.Error.isEmpty()) {
        state.SkipWithError(r.Error.toLocal8Bit().constData());
        return;
    }
    state.counters["underruns"] = double(r.Underruns);
    state.counters["overruns"] = double(r.Overruns);
    state.counters["device_xruns"] = double(r.DeviceXruns);
    state.counters["played_buffers"] = double(r.Played);
    state.counters["recorded_buffers"] = double(r.Recorded);
}

void BM_LoopbackRealTime(benchmark::State &state)
{
    TLoopbackBus::Instance().SetClock(nullptr);
    for (auto _ : state)
        Report(state, PlayAndRecord(EAudioBackend::Loopback, 0, TClock::System(), Seconds()));
}

void BM_LoopbackVirtual(benchmark::State &state)
{
    for (auto _ : state) {
        TVirtualClock clock;
        TLoopbackBus::Instance().SetClock(&clock);
        Report(state, PlayAndRecord(EAudioBackend::Loopback, 0, clock, 60));
        TLoopbackBus::Instance().SetClock(nullptr);
    }
}

// Points PortAudio at the private server, as the real-audio test does. Empty when usable.
QString PreparePulse(quint32 &device)
{
    const QString path
        = QStringLiteral("%1/env").arg(qEnvironmentVariableIsEmpty("ORVI_PULSE_DIR")
                                           ? QStringLiteral("/tmp/orvi-pulse-%1").arg(getuid())
                                           : qEnvironmentVariable("ORVI_PULSE_DIR"));
    QFile env(path);
    if (!env.open(QIODevice::ReadOnly))
        return QStringLiteral("no private PulseAudio (run tools/pulse-private.sh start)");
    qint64 pid = 0;
    for (const QByteArray &line : env.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        qputenv(line.left(eq).constData(), line.mid(eq + 1));
        if (line.startsWith("ORVI_PULSE_PID="))
            pid = line.mid(eq + 1).toLongLong();
    }
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
        return QStringLiteral("the private PulseAudio is not running");
    const qsizetype index = TDeviceList::Names(EAudioBackend::PortAudio, EAudioDirection::Output)
                                .indexOf(QStringLiteral("pulse"));
    if (index < 0)
        return QStringLiteral("PortAudio has no \"pulse\" device");
    device = quint32(index);
    return {};
}

void BM_PortAudioPulse(benchmark::State &state)
{
#ifdef ORVI_HAVE_PORTAUDIO
    quint32 device = 0;
    const QString why = PreparePulse(device);
    if (!why.isEmpty()) {
        state.SkipWithError(why.toLocal8Bit().constData());
        for (auto _ : state) { }
        return;
    }
    for (auto _ : state)
        Report(state, PlayAndRecord(EAudioBackend::PortAudio, device, TClock::System(), Seconds()));
#else
    state.SkipWithError("built without PortAudio");
    for (auto _ : state) { }
#endif
}

} // namespace

BENCHMARK(BM_LoopbackVirtual)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoopbackRealTime)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_PortAudioPulse)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
