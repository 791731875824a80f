// TAudioOut / TAudioIn on the loopback backend with a virtual clock: format and buffer
// properties, states and counters through start, steady streaming and both stops, the
// owner's handler results, Paused, lowered sizes, double opens and device errors.
#include "audio/AudioIn.h"
#include "audio/AudioOut.h"
#include "audio/LoopbackBus.h"
#include "controls/VirtualClock.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QtTest>

#include <cstring>
#include <vector>

namespace {

constexpr int Rate = 44100;

// Plays a rising 16-bit counter, so whatever arrives at an input can be checked sample by
// sample, and notes every buffer it was asked to fill.
struct TCounterSource
{
    qint16 Next = 1;
    std::vector<char *> Filled;
    std::function<bool(int call, int &size)> Decide; // result and size of each fill

    bool Fill(char *buffer, int &size)
    {
        const int call = int(Filled.size());
        Filled.push_back(buffer);
        const int capacity = size;
        bool result = true;
        if (Decide)
            result = Decide(call, size);
        // Counts on only for what is reported as filled, never past the buffer.
        for (int i = 0; i + 1 < std::min(size, capacity); i += 2) {
            std::memcpy(buffer + i, &Next, 2);
            Next = qint16(Next == 32767 ? 1 : Next + 1);
        }
        return result;
    }
};

struct TSink
{
    std::vector<qint16> Samples;
    std::vector<char *> Delivered;
    std::function<bool(int call)> Decide;

    bool Take(char *buffer, int &size)
    {
        const int call = int(Delivered.size());
        Delivered.push_back(buffer);
        const qsizetype old = qsizetype(Samples.size());
        Samples.resize(size_t(old + size / 2));
        std::memcpy(Samples.data() + old, buffer, size_t(size / 2 * 2));
        return Decide ? Decide(call) : true;
    }
};

// Play time of `bytes` of 16-bit mono at Rate, rounded up to whole ms.
int PlayMs(int bytes)
{
    return (bytes / 2 * 1000 + Rate - 1) / Rate;
}

} // namespace

class TestAudioStreams : public QObject
{
    Q_OBJECT

private:
    TVirtualClock m_clock { 1000 };

    void Configure(TAudioIO &stream, int numBuffers = 4, int bufferSize = 8192)
    {
        stream.SetBackend(EAudioBackend::Loopback);
        stream.SetNumBuffers(numBuffers);
        stream.SetBufferSize(bufferSize);
        stream.SetFrameRate(Rate);
        stream.SetQuantization(16);
        stream.SetStereo(false);
    }

    // An output stream fed by source, or an input stream without a handler.
    std::unique_ptr<TAudioIO> MakeStream(bool output, TCounterSource &source)
    {
        if (!output)
            return std::make_unique<TAudioIn>();
        auto out = std::make_unique<TAudioOut>();
        Connect(*out, source);
        return out;
    }
    void Connect(TAudioOut &out, TCounterSource &source)
    {
        out.OnFillBuffer = [&source](char *b, int &s) {
            return source.Fill(b, s);
        };
    }
    void Connect(TAudioIn &in, TSink &sink)
    {
        in.OnBufferFilled = [&sink](char *b, int &s) {
            return sink.Take(b, s);
        };
    }

    // The index of the first recorded sample equal to `value`, or -1.
    static qsizetype Find(const std::vector<qint16> &samples, qint16 value)
    {
        for (size_t i = 0; i < samples.size(); ++i)
            if (samples[i] == value)
                return qsizetype(i);
        return -1;
    }

    // True when `samples` from `from` on is the counter from `first`, `count` long.
    static bool IsCounter(const std::vector<qint16> &samples, qsizetype from, int first, int count)
    {
        if (from < 0 || from + count > qsizetype(samples.size()))
            return false;
        int expected = first;
        for (int i = 0; i < count; ++i) {
            if (samples[size_t(from + i)] != expected)
                return false;
            expected = expected == 32767 ? 1 : expected + 1;
        }
        return true;
    }

private slots:
    void init()
    {
        TLoopbackBus::Instance().SetClock(&m_clock);
        TLoopbackBus::Instance().ClearTransform();
    }
    void cleanup() { TLoopbackBus::Instance().SetClock(nullptr); }

    void defaultsAtCreation()
    {
        TAudioOut out;
        QCOMPARE(out.BufferSize(), 8192);
        QCOMPARE(out.NumBuffers(), 4);
        QCOMPARE(out.FrameRate(), 22050);
        QCOMPARE(out.Stereo(), false);
        QCOMPARE(out.Quantization(), 16);
        QCOMPARE(out.WaveDevice(), 0xFFFFFFFFu);
        QCOMPARE(out.Paused(), false);
        QCOMPARE(out.Running(), false);
        QCOMPARE(out.DeviceOpen(), false);
        QVERIFY(out.ErrorMessage().isEmpty());
        QCOMPARE(out.Format().FormatTag, quint16(1));
        QCOMPARE(out.Format().BlockAlign, quint16(2));
        QCOMPARE(out.Format().AvgBytesPerSec, quint32(44100));
    }

    void bufferSizeAndFormat_data()
    {
        QTest::addColumn<int>("requested");
        QTest::addColumn<bool>("stereo");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("effective");
        QTest::addColumn<int>("blockAlign");
        QTest::newRow("below minimum") << 100 << false << 16 << 512 << 2;
        QTest::newRow("16-bit stereo rounds down") << 8190 << true << 16 << 8188 << 4;
        QTest::newRow("16-bit mono odd") << 8191 << false << 16 << 8190 << 2;
        QTest::newRow("8-bit mono odd") << 8191 << false << 8 << 8191 << 1;
        QTest::newRow("8-bit stereo") << 1001 << true << 8 << 1000 << 2;
        QTest::newRow("quantization 12 is 16") << 1001 << false << 12 << 1000 << 2;
        QTest::newRow("quantization 0 is 8") << 1001 << false << 0 << 1001 << 1;
    }
    void bufferSizeAndFormat()
    {
        QFETCH(int, requested);
        QFETCH(bool, stereo);
        QFETCH(int, bits);
        QFETCH(int, effective);
        QFETCH(int, blockAlign);
        TAudioIn in;
        in.SetStereo(stereo);
        in.SetQuantization(bits);
        in.SetBufferSize(requested);
        QCOMPARE(in.BufferSize(), effective);
        QCOMPARE(in.RequestedBufferSize(), std::max(requested, 512));
        QCOMPARE(int(in.Format().BlockAlign), blockAlign);
        QCOMPARE(in.Quantization(), bits < 9 ? 8 : 16);
        QCOMPARE(in.Format().AvgBytesPerSec, quint32(blockAlign * 22050));
    }

    void numBuffersLimits_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::newRow("1") << 1 << 2;
        QTest::newRow("3") << 3 << 3;
        QTest::newRow("9") << 9 << 4;
        QTest::newRow("-5") << -5 << 2;
    }
    void numBuffersLimits()
    {
        QFETCH(int, value);
        QFETCH(int, stored);
        TAudioOut out;
        out.SetNumBuffers(value);
        QCOMPARE(out.NumBuffers(), stored);
    }

    void outputStartFillsAndQueuesEverySlot()
    {
        TAudioOut out;
        Configure(out);
        TCounterSource source;
        Connect(out, source);
        int starts = 0;
        out.OnStart = [&](QObject *sender) {
            QCOMPARE(sender, &out);
            ++starts;
        };
        QVERIFY2(out.Start(), qPrintable(out.ErrorMessage()));
        QCOMPARE(starts, 0); // posted, not raised inside Start
        QVERIFY(out.DeviceOpen());
        QVERIFY(out.Running());
        QVERIFY(out.Active());
        QCOMPARE(out.FilledCount(), 4);
        QCOMPARE(out.ActiveCount(), 4);
        QCOMPARE(out.DoneCount(), 0);
        QCOMPARE(out.NextBuffer(), 0); // all four queued, the ring is round again
        QCOMPARE(source.Filled.size(), size_t(4));
        for (int i = 0; i < 4; ++i)
            for (int j = i + 1; j < 4; ++j)
                QVERIFY(source.Filled[size_t(i)] != source.Filled[size_t(j)]);
        QCoreApplication::processEvents();
        QCOMPARE(starts, 1);
        out.StopAtOnce();
    }

    void steadyPlayRefillsInQueueOrderAndArrivesWhole()
    {
        TAudioIn in;
        Configure(in);
        TSink sink;
        Connect(in, sink);
        TAudioOut out;
        Configure(out);
        TCounterSource source;
        Connect(out, source);
        QVERIFY2(in.Start(), qPrintable(in.ErrorMessage()));
        QVERIFY2(out.Start(), qPrintable(out.ErrorMessage()));

        const int buffers = 20;
        m_clock.Advance(PlayMs(8192 * buffers) + 1);
        QVERIFY(out.DoneCount() >= buffers);
        QCOMPARE(out.ActiveCount(), 4); // each returned buffer is refilled at once
        QCOMPARE(out.FilledCount(), out.DoneCount() + 4);
        QVERIFY(in.DoneCount() >= buffers - 1);
        QCOMPARE(in.ActiveCount(), 4);
        QCOMPARE(in.FilledCount(), in.DoneCount());
        // The ring goes round in slot order: fill k uses the same buffer as fill k - 4.
        for (size_t k = 4; k < source.Filled.size(); ++k)
            QCOMPARE(source.Filled[k], source.Filled[k - 4]);
        for (size_t k = 4; k < sink.Delivered.size(); ++k)
            QCOMPARE(sink.Delivered[k], sink.Delivered[k - 4]);
        // What was played arrives without a gap or a swapped buffer.
        const qsizetype first = Find(sink.Samples, 1);
        QVERIFY(first >= 0);
        const int played = out.DoneCount() * 4096;
        QVERIFY(IsCounter(sink.Samples, first, 1,
                          std::min<int>(played, int(sink.Samples.size() - first))));
        QCOMPARE(out.Underruns(), 0);
        QCOMPARE(in.Overruns(), 0);
        out.StopAtOnce();
        in.StopAtOnce();
    }

    void outputGracefulStopPlaysQueuedBuffersThenCloses()
    {
        TAudioIn in;
        Configure(in, 4, 2048);
        TSink sink;
        Connect(in, sink);
        TAudioOut out;
        Configure(out);
        TCounterSource source;
        Connect(out, source);
        int stops = 0;
        out.OnStop = [&](QObject *) {
            ++stops;
        };
        QVERIFY(in.Start());
        QVERIFY(out.Start());
        m_clock.Advance(PlayMs(8192 * 3) + 5);
        const int filledBefore = out.FilledCount();
        const int queued = out.ActiveCount();
        QCOMPARE(queued, 4);
        out.StopGracefully();
        QVERIFY(!out.Active());
        QVERIFY(out.DeviceOpen()); // Draining
        m_clock.Advance(PlayMs(8192) + 1);
        QVERIFY(out.DeviceOpen());
        QCOMPARE(out.ActiveCount(), queued - (out.DoneCount() - (filledBefore - queued)));
        m_clock.Advance(PlayMs(8192 * 4) + 1);
        QVERIFY(!out.DeviceOpen());
        QVERIFY(!out.Running());
        QCOMPARE(out.ActiveCount(), 0);
        QCOMPARE(out.FilledCount(), filledBefore); // nothing filled while draining
        QCOMPARE(out.DoneCount(), filledBefore);
        QCoreApplication::processEvents();
        QCOMPARE(stops, 1);
        // Every sample filled before the stop was played to the end.
        m_clock.Advance(200);
        const qsizetype first = Find(sink.Samples, 1);
        QVERIFY(IsCounter(sink.Samples, first, 1, filledBefore * 4096));
        QCOMPARE(sink.Samples[size_t(first + filledBefore * 4096)], qint16(0));
        in.StopAtOnce();
    }

    void stopAtOnceClosesNowAndIgnoresLateBuffers()
    {
        TAudioOut out;
        Configure(out);
        TCounterSource source;
        Connect(out, source);
        int stops = 0;
        out.OnStop = [&](QObject *) {
            ++stops;
        };
        QVERIFY(out.Start());
        m_clock.Advance(150);
        const int filled = int(source.Filled.size());
        out.StopAtOnce();
        QVERIFY(!out.DeviceOpen());
        QVERIFY(!out.Running());
        QVERIFY(!out.Active());
        m_clock.Advance(2000);
        QCOMPARE(int(source.Filled.size()), filled);
        QCOMPARE(stops, 1);
        out.StopAtOnce(); // not open: nothing happens
        QCoreApplication::processEvents();
        QCOMPARE(stops, 1);

        TAudioIn in;
        Configure(in);
        in.StopAtOnce();
        in.StopGracefully();
        QVERIFY(!in.DeviceOpen());
        QVERIFY(in.ErrorMessage().isEmpty());
    }

    void firstBufferNotFilledFailsStart_data()
    {
        QTest::addColumn<bool>("withHandler");
        QTest::newRow("handler returns false") << true;
        QTest::newRow("no handler") << false;
    }
    void firstBufferNotFilledFailsStart()
    {
        QFETCH(bool, withHandler);
        TAudioOut out;
        Configure(out);
        int starts = 0, stops = 0;
        out.OnStart = [&](QObject *) {
            ++starts;
        };
        out.OnStop = [&](QObject *) {
            ++stops;
        };
        if (withHandler)
            out.OnFillBuffer = [](char *, int &) {
                return false;
            };
        QVERIFY(!out.Start());
        QCOMPARE(out.ErrorMessage(), QStringLiteral("There must be at least one filled buffer"));
        QVERIFY(!out.DeviceOpen());
        QVERIFY(!out.Running());
        QCoreApplication::processEvents();
        QCOMPARE(starts, 1); // the device did open and close again
        QCOMPARE(stops, 1);
        out.OnFillBuffer = [](char *, int &) {
            return true;
        };
        QVERIFY(out.Start()); // closed, so a new start works
        out.StopAtOnce();
    }

    void laterFillsFailingStillQueueAtStart()
    {
        TAudioOut out;
        Configure(out);
        TCounterSource source;
        source.Decide = [](int call, int &) {
            return call == 0;
        };
        Connect(out, source);
        QVERIFY(out.Start());
        QCOMPARE(out.FilledCount(), 1);
        QCOMPARE(out.ActiveCount(), 1);
        QCOMPARE(out.NextBuffer(), 0); // all four went to the device all the same
        out.StopAtOnce();
    }

    void outputHandlerFalseDrainsAndCloses()
    {
        TAudioOut out;
        Configure(out);
        TCounterSource source;
        int stopAfter = 10;
        source.Decide = [&](int call, int &) {
            return call < stopAfter;
        };
        Connect(out, source);
        int stops = 0;
        out.OnStop = [&](QObject *) {
            ++stops;
        };
        QVERIFY(out.Start());
        m_clock.Advance(PlayMs(8192 * 6) + 1);
        QVERIFY(out.DeviceOpen());
        m_clock.Advance(PlayMs(8192 * 8) + 1);
        QVERIFY(!out.DeviceOpen());
        QCOMPARE(out.FilledCount(), stopAfter);
        QCOMPARE(out.DoneCount(), stopAfter);
        QCOMPARE(out.ActiveCount(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(stops, 1);
    }

    void pausedBeforeStartHoldsPlayUntilCleared()
    {
        TAudioIn in;
        Configure(in, 4, 2048);
        TSink sink;
        Connect(in, sink);
        TAudioOut out;
        Configure(out, 2, 4096);
        TCounterSource source;
        Connect(out, source);
        QVERIFY(in.Start());
        out.SetPaused(true);
        QVERIFY(out.Start());
        QVERIFY(out.Paused());
        m_clock.Advance(500);
        QCOMPARE(out.DoneCount(), 0);
        QCOMPARE(int(source.Filled.size()), 2);
        QCOMPARE(Find(sink.Samples, 1), qsizetype(-1)); // nothing was heard
        out.SetPaused(false);
        m_clock.Advance(PlayMs(4096 * 5) + 1);
        QVERIFY(out.DoneCount() >= 5);
        const qsizetype first = Find(sink.Samples, 1);
        QVERIFY(first >= 0);
        QVERIFY(IsCounter(sink.Samples, first, 1, 4 * 2048));
        // Holding and resuming mid-play loses nothing and counts no underrun.
        out.SetPaused(true);
        const int done = out.DoneCount();
        m_clock.Advance(300);
        QCOMPARE(out.DoneCount(), done);
        out.SetPaused(false);
        m_clock.Advance(PlayMs(4096 * 4) + 1);
        QVERIFY(out.DoneCount() > done);
        out.StopGracefully();
        m_clock.Advance(500);
        QVERIFY(!out.DeviceOpen());
        QVERIFY(!out.Paused()); // closing clears it
        std::vector<qint16> heard;
        for (qint16 s : sink.Samples)
            if (s != 0)
                heard.push_back(s);
        QVERIFY(IsCounter(heard, 0, 1, out.FilledCount() * 2048));
        QCOMPARE(out.Underruns(), 0);
        in.StopAtOnce();
    }

    void loweredSizePlaysOnlyThatManyBytes()
    {
        TAudioIn in;
        Configure(in, 4, 1024);
        TSink sink;
        Connect(in, sink);
        TAudioOut out;
        Configure(out, 2, 4096);
        TCounterSource source;
        source.Decide = [](int call, int &size) {
            if (call == 1)
                size = 1000; // 500 samples
            if (call == 2)
                size = 9999; // more than the buffer holds: capped
            return true;
        };
        Connect(out, source);
        QVERIFY(in.Start());
        QVERIFY(out.Start());
        // Buffer 0 plays 2048 samples, buffer 1 only 500: its return comes that much sooner.
        m_clock.Advance(PlayMs(4096) + 1);
        QCOMPARE(out.DoneCount(), 1);
        m_clock.Advance(PlayMs(1000) + 1);
        QCOMPARE(out.DoneCount(), 2);
        m_clock.Advance(PlayMs(4096 * 3));
        out.StopAtOnce();
        m_clock.Advance(100);
        // The counter continues across the short buffer: the 1500 unfilled samples of that
        // slot were never played. The capped buffer played 2048 samples.
        const qsizetype first = Find(sink.Samples, 1);
        QVERIFY(IsCounter(sink.Samples, first, 1, 2048 + 500 + 2048 * 2));
        in.StopAtOnce();
    }

    void doubleOpen_data()
    {
        QTest::addColumn<bool>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("output") << true << QStringLiteral("Wave output device is already open");
        QTest::newRow("input") << false << QStringLiteral("Wave Input device is already open");
    }
    void doubleOpen()
    {
        QFETCH(bool, output);
        QFETCH(QString, message);
        TCounterSource source;
        std::unique_ptr<TAudioIO> stream = MakeStream(output, source);
        Configure(*stream);
        QVERIFY(stream->Start());
        m_clock.Advance(100);
        const int done = stream->DoneCount();
        const int filled = stream->FilledCount();
        QVERIFY(!stream->Start());
        QCOMPARE(stream->ErrorMessage(), message);
        QVERIFY(stream->DeviceOpen());
        QVERIFY(stream->Running());
        QCOMPARE(stream->DoneCount(), done);
        QCOMPARE(stream->FilledCount(), filled);
        stream->StopAtOnce();
    }

    void inputGracefulStopRecordsButDoesNotDeliver()
    {
        TAudioIn in;
        Configure(in, 2, 4096);
        TSink sink;
        Connect(in, sink);
        int stops = 0;
        in.OnStop = [&](QObject *) {
            ++stops;
        };
        QVERIFY(in.Start());
        QCOMPARE(in.ActiveCount(), 2);
        QCOMPARE(in.FilledCount(), 0); // nothing is delivered at open
        m_clock.Advance(PlayMs(4096 * 3) + 1);
        QCOMPARE(in.DoneCount(), 3);
        QCOMPARE(in.FilledCount(), 3);
        in.StopGracefully();
        QVERIFY(in.DeviceOpen());
        m_clock.Advance(PlayMs(4096 * 2) + 1);
        QVERIFY(!in.DeviceOpen());
        QCOMPARE(in.DoneCount(), 5); // both queued buffers came back...
        QCOMPARE(in.FilledCount(), 3); // ...and were not delivered
        QCOMPARE(int(sink.Delivered.size()), 3);
        QCoreApplication::processEvents();
        QCOMPARE(stops, 1);
    }

    void inputHandlerFalseTakesSlotOutOfRing()
    {
        TAudioIn in;
        Configure(in, 3, 4096);
        TSink sink;
        sink.Decide = [](int call) {
            return call != 1;
        };
        Connect(in, sink);
        QVERIFY(in.Start());
        m_clock.Advance(PlayMs(4096 * 2) + 1);
        QCOMPARE(in.DoneCount(), 2);
        QCOMPARE(in.FilledCount(), 1);
        QCOMPARE(in.ActiveCount(), 2); // one slot left the ring
        m_clock.Advance(PlayMs(4096 * 4) + 1);
        QVERIFY(in.Running());
        QCOMPARE(in.ActiveCount(), 2);
        // Refusing every buffer empties the ring and closes the device.
        sink.Decide = [](int) {
            return false;
        };
        m_clock.Advance(PlayMs(4096 * 3) + 1);
        QVERIFY(!in.DeviceOpen());
        QCOMPARE(in.ActiveCount(), 0);
    }

    void inputAfterRefusalDeliversEachRecordingOnce()
    {
        // The microphone hears a rising counter, so the delivered buffers must join up
        // sample by sample: after a refused buffer the next delivery holds what was
        // recorded after it, not the refused buffer once more.
        int next = 1;
        TLoopbackBus::Instance().SetTransform([&next](float *samples, int count, int, qint64) {
            for (int i = 0; i < count; ++i) {
                samples[i] = float(next) / 32768.0f;
                next = next == 30000 ? 1 : next + 1;
            }
        });
        TAudioIn in;
        Configure(in, 3, 4096);
        TSink sink;
        sink.Decide = [](int call) {
            return call != 1;
        };
        Connect(in, sink);
        QVERIFY(in.Start());
        m_clock.Advance(PlayMs(4096 * 8) + 1);
        in.StopAtOnce();
        TLoopbackBus::Instance().ClearTransform();
        QVERIFY(sink.Delivered.size() >= 6);
        QVERIFY(sink.Samples.size() > 2048);
        for (size_t i = 1; i < sink.Samples.size(); ++i) {
            const int expected = sink.Samples[i - 1] == 30000 ? 1 : sink.Samples[i - 1] + 1;
            QVERIFY2(sink.Samples[i] == expected,
                     qPrintable(QStringLiteral("sample %1: %2 after %3")
                                    .arg(i)
                                    .arg(sink.Samples[i])
                                    .arg(sink.Samples[i - 1])));
        }
    }

    void inputDeliversWholeBufferWithEffectiveSize()
    {
        TAudioIn in;
        Configure(in, 2, 1001); // 16-bit: 1000 bytes used
        std::vector<int> sizes;
        in.OnBufferFilled = [&](char *, int &size) {
            sizes.push_back(size);
            return true;
        };
        QVERIFY(in.Start());
        m_clock.Advance(100);
        QVERIFY(sizes.size() >= 3);
        for (int s : sizes)
            QCOMPARE(s, 1000);
        in.StopAtOnce();
    }

    void unavailableDeviceFailsStart_data()
    {
        QTest::addColumn<bool>("output");
        QTest::newRow("output") << true;
        QTest::newRow("input") << false;
    }
    void unavailableDeviceFailsStart()
    {
        QFETCH(bool, output);
        TCounterSource source;
        std::unique_ptr<TAudioIO> stream = MakeStream(output, source);
        Configure(*stream);
        TLoopbackBus::Instance().SetUnavailable(true); // held by another program
        const auto available = qScopeGuard([] { TLoopbackBus::Instance().SetUnavailable(false); });
        int starts = 0;
        stream->OnStart = [&](QObject *) {
            ++starts;
        };
        QVERIFY(!stream->Start());
        QVERIFY(stream->ErrorMessage().contains(QLatin1String("unavailable")));
        QVERIFY(!stream->DeviceOpen());
        QCoreApplication::processEvents();
        QCOMPARE(starts, 0);
        QVERIFY(source.Filled.empty());
    }

    void growingNumBuffersReallocatesBeforeOpen()
    {
        TAudioOut out;
        out.SetBackend(EAudioBackend::Loopback);
        out.SetNumBuffers(2);
        out.SetBufferSize(2048);
        out.SetNumBuffers(4);
        std::vector<std::pair<char *, int>> fills;
        out.OnFillBuffer = [&](char *b, int &s) {
            fills.emplace_back(b, s);
            std::memset(b, 0, size_t(s)); // touches every byte (the sanitizer build checks)
            return true;
        };
        QVERIFY(out.Start());
        QCOMPARE(fills.size(), size_t(4));
        for (const auto &f : fills) {
            QVERIFY(f.first != nullptr);
            QCOMPARE(f.second, 2048);
        }
        out.StopAtOnce();
    }

    void formatSettersWaitWhileOpen()
    {
        TAudioIn in;
        Configure(in, 2, 4096);
        QVERIFY(in.Start());
        in.SetBufferSize(512);
        in.SetFrameRate(8000);
        QCOMPARE(in.BufferSize(), 4096); // the device still uses the buffers
        QCOMPARE(in.FrameRate(), Rate);
        in.StopAtOnce();
        in.SetBufferSize(512);
        QCOMPARE(in.BufferSize(), 512);
    }

    void lateOwnerCountsUnderrunAndOverrun()
    {
        TAudioIn in;
        Configure(in, 2, 2048);
        TAudioOut out;
        Configure(out, 2, 2048);
        TCounterSource source;
        // The owner takes half a second over one buffer: both rings run dry meanwhile.
        source.Decide = [this](int call, int &) {
            if (call == 5)
                m_clock.Advance(500);
            return true;
        };
        Connect(out, source);
        int deliveries = 0;
        in.OnBufferFilled = [&](char *, int &) {
            if (++deliveries == 7)
                m_clock.Advance(500);
            return true;
        };
        QVERIFY(in.Start());
        QVERIFY(out.Start());
        m_clock.Advance(50); // before the late buffers
        QCOMPARE(out.Underruns(), 0);
        QCOMPARE(in.Overruns(), 0);
        m_clock.Advance(2000);
        QCOMPARE(out.Underruns(), 1);
        QCOMPARE(in.Overruns(), 1);
        QVERIFY(out.Running());
        QVERIFY(in.Running());
        out.StopAtOnce();
        in.StopAtOnce();
        QCOMPARE(out.Underruns(), 1); // still readable after close
        QCOMPARE(in.Overruns(), 1);
    }
};

QTEST_MAIN(TestAudioStreams)
#include "tst_audiostreams.moc"
