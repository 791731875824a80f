// The loopback backend under the streams: format conversion between what an output plays
// and what an input records, the transform, rates that differ, cutting the sound at a stop,
// plus the device lists and the lock-free queue the real backend hands slots through.
#include "audio/AudioIn.h"
#include "audio/AudioOut.h"
#include "audio/DeviceList.h"
#include "audio/LoopbackBus.h"
#include "audio/SpscRing.h"
#include "controls/VirtualClock.h"

#include <QtTest>

#include <cstring>
#include <thread>
#include <vector>

class TestAudioLoopback : public QObject
{
    Q_OBJECT

private:
    TVirtualClock m_clock { 100 };

    // One output frame as it is played: `bits` 8 or 16, `values` one per channel (for 8-bit
    // the unsigned byte).
    struct TFormat
    {
        int Bits;
        bool Stereo;
        int Rate;
    };

    static void Setup(TAudioIO &s, const TFormat &f, int numBuffers, int bytes)
    {
        s.SetBackend(EAudioBackend::Loopback);
        s.SetNumBuffers(numBuffers);
        s.SetQuantization(f.Bits);
        s.SetStereo(f.Stereo);
        s.SetFrameRate(f.Rate);
        s.SetBufferSize(bytes);
    }

    // Plays `frame` (raw bytes of one frame) repeated, for `ms`, and returns every byte the
    // input recorded meanwhile.
    QByteArray PlayConstant(const TFormat &outFormat, const QByteArray &frame,
                            const TFormat &inFormat, int ms)
    {
        TAudioIn in;
        Setup(in, inFormat, 4, 1024);
        QByteArray recorded;
        in.OnBufferFilled = [&](char *b, int &size) {
            recorded.append(b, size);
            return true;
        };
        TAudioOut out;
        Setup(out, outFormat, 4, 2048);
        out.OnFillBuffer = [&](char *b, int &size) {
            for (int i = 0; i + frame.size() <= size; i += int(frame.size()))
                std::memcpy(b + i, frame.constData(), size_t(frame.size()));
            return true;
        };
        if (!in.Start() || !out.Start())
            return {};
        m_clock.Advance(ms);
        out.StopAtOnce();
        in.StopAtOnce();
        return recorded;
    }

    static QByteArray Frame16(std::initializer_list<qint16> values)
    {
        QByteArray f;
        for (qint16 v : values)
            f.append(reinterpret_cast<const char *>(&v), 2);
        return f;
    }

private slots:
    void init()
    {
        TLoopbackBus::Instance().SetClock(&m_clock);
        TLoopbackBus::Instance().ClearTransform();
    }
    void cleanup()
    {
        TLoopbackBus::Instance().ClearTransform();
        TLoopbackBus::Instance().SetClock(nullptr);
    }

    void formatConversion_data()
    {
        QTest::addColumn<int>("outBits");
        QTest::addColumn<bool>("outStereo");
        QTest::addColumn<QByteArray>("outFrame");
        QTest::addColumn<int>("inBits");
        QTest::addColumn<bool>("inStereo");
        QTest::addColumn<QByteArray>("inFrame");
        QTest::newRow("16 mono -> 16 mono")
            << 16 << false << Frame16({ -12345 }) << 16 << false << Frame16({ -12345 });
        QTest::newRow("16 stereo averages")
            << 16 << true << Frame16({ 1000, 3000 }) << 16 << false << Frame16({ 2000 });
        QTest::newRow("16 mono -> 16 stereo")
            << 16 << false << Frame16({ 777 }) << 16 << true << Frame16({ 777, 777 });
        QTest::newRow("8 unsigned -> 16")
            << 8 << false << QByteArray(1, char(192)) << 16 << false << Frame16({ 16384 });
        QTest::newRow("16 -> 8 unsigned")
            << 16 << false << Frame16({ -16384 }) << 8 << false << QByteArray(1, char(64));
        QTest::newRow("full negative 16 -> 8")
            << 16 << false << Frame16({ -32768 }) << 8 << false << QByteArray(1, char(0));
        QTest::newRow("8 stereo -> 8 stereo")
            << 8 << true << QByteArray("\x60\xA0", 2) << 8 << true << QByteArray("\x80\x80", 2);
    }
    void formatConversion()
    {
        QFETCH(int, outBits);
        QFETCH(bool, outStereo);
        QFETCH(QByteArray, outFrame);
        QFETCH(int, inBits);
        QFETCH(bool, inStereo);
        QFETCH(QByteArray, inFrame);
        const QByteArray rec = PlayConstant({ outBits, outStereo, 44100 }, outFrame,
                                            { inBits, inStereo, 44100 }, 300);
        QVERIFY(!rec.isEmpty());
        const QByteArray playing = rec.mid(rec.size() / 2, 64 * inFrame.size());
        QVERIFY(!playing.isEmpty());
        for (qsizetype i = 0; i < playing.size(); i += inFrame.size())
            QCOMPARE(playing.mid(i, inFrame.size()).toHex(), inFrame.toHex());
    }

    void silenceWhileNothingPlays()
    {
        TAudioIn in;
        Setup(in, { 16, false, 44100 }, 2, 4096);
        QByteArray recorded;
        in.OnBufferFilled = [&](char *b, int &size) {
            recorded.append(b, size);
            return true;
        };
        QVERIFY(in.Start());
        m_clock.Advance(500);
        in.StopAtOnce();
        QVERIFY(recorded.size() >= 4096 * 4);
        QCOMPARE(recorded.count('\0'), recorded.size());
    }

    void transformShapesWhatInputHears()
    {
        std::vector<int> rates;
        int calls = 0;
        qint64 nextPosition = -1;
        bool consecutive = true;
        bool inThePast = true;
        TLoopbackBus &bus = TLoopbackBus::Instance();
        bus.SetTransform([&](float *s, int n, int rate, qint64 position) {
            rates.push_back(rate);
            ++calls;
            // One recording: each stretch follows the last, and its time has passed.
            consecutive = consecutive && (nextPosition < 0 || position == nextPosition);
            nextPosition = position + n;
            inThePast = inThePast && bus.TimeMsAt(position + n, rate) <= double(m_clock.NowMs());
            for (int i = 0; i < n; ++i)
                s[i] = s[i] * 0.5f + 0.125f; // half the gain plus an offset of 4096
        });
        const QByteArray rec
            = PlayConstant({ 16, false, 44100 }, Frame16({ 16384 }), { 16, false, 32000 }, 300);
        QVERIFY(calls > 1);
        QVERIFY(consecutive);
        QVERIFY(inThePast);
        for (int r : rates)
            QCOMPARE(r, 32000);
        const auto *s = reinterpret_cast<const qint16 *>(rec.constData());
        const qsizetype n = rec.size() / 2;
        QCOMPARE(int(s[n / 2]), 8192 + 4096);
        QCOMPARE(int(s[n - 1]), 8192 + 4096);
    }

    void differentRatesHoldEachSample()
    {
        // A 22050 Hz output counting up, recorded at 44100 Hz: every value twice.
        TAudioIn in;
        Setup(in, { 16, false, 44100 }, 4, 1024);
        std::vector<qint16> rec;
        in.OnBufferFilled = [&](char *b, int &size) {
            const auto *s = reinterpret_cast<const qint16 *>(b);
            rec.insert(rec.end(), s, s + size / 2);
            return true;
        };
        TAudioOut out;
        Setup(out, { 16, false, 22050 }, 4, 1024);
        qint16 next = 1;
        out.OnFillBuffer = [&](char *b, int &size) {
            auto *s = reinterpret_cast<qint16 *>(b);
            for (int i = 0; i < size / 2; ++i)
                s[i] = next++;
            return true;
        };
        QVERIFY(in.Start());
        QVERIFY(out.Start());
        m_clock.Advance(300);
        out.StopAtOnce();
        in.StopAtOnce();
        size_t first = 0;
        while (first < rec.size() && rec[first] != 1)
            ++first;
        QVERIFY(first + 2000 < rec.size());
        for (size_t i = 0; i < 2000; ++i)
            QCOMPARE(int(rec[first + i]), int(1 + i / 2));
    }

    void stopAtOnceCutsTheSound()
    {
        TAudioIn in;
        Setup(in, { 16, false, 44100 }, 4, 882); // 10 ms buffers
        std::vector<qint16> rec;
        in.OnBufferFilled = [&](char *b, int &size) {
            const auto *s = reinterpret_cast<const qint16 *>(b);
            rec.insert(rec.end(), s, s + size / 2);
            return true;
        };
        TAudioOut out;
        Setup(out, { 16, false, 44100 }, 4, 44100); // 500 ms buffers
        out.OnFillBuffer = [](char *b, int &size) {
            auto *s = reinterpret_cast<qint16 *>(b);
            std::fill(s, s + size / 2, qint16(1000));
            return true;
        };
        QVERIFY(in.Start());
        QVERIFY(out.Start());
        m_clock.Advance(200);
        out.StopAtOnce();
        m_clock.Advance(300);
        in.StopAtOnce();
        // About 200 ms of sound, then silence although 1.8 s more were queued.
        const qsizetype loud = std::count(rec.begin(), rec.end(), qint16(1000));
        QVERIFY2(loud >= 44100 * 195 / 1000 && loud <= 44100 * 201 / 1000,
                 qPrintable(QString::number(loud)));
        QCOMPARE(rec.back(), qint16(0));
    }

    void loopbackHasOneDeviceEachWay()
    {
        for (EAudioDirection d : { EAudioDirection::Output, EAudioDirection::Input }) {
            const QStringList names = TDeviceList::Names(EAudioBackend::Loopback, d);
            QCOMPARE(names.size(), 1);
            QVERIFY(names.first().size() <= TDeviceList::MaxNameLength);
        }
        // Device 0 and the default device both open it; 1 does not exist.
        TAudioIn in;
        Setup(in, { 16, false, 44100 }, 2, 1024);
        for (quint32 device : { 0u, TAudioIO::DefaultDevice }) {
            in.SetWaveDevice(device);
            QVERIFY2(in.Start(), qPrintable(in.ErrorMessage()));
            in.StopAtOnce();
        }
        QVERIFY(in.Notice().isEmpty());
        // A number that no longer exists (a card unplugged) records on the default instead,
        // and says so; the next start on a listed number says nothing again.
        in.SetWaveDevice(1);
        QVERIFY2(in.Start(), qPrintable(in.ErrorMessage()));
        QVERIFY(in.DeviceOpen());
        QVERIFY(in.Notice().contains(QStringLiteral("nr 1")));
        in.StopAtOnce();
        in.SetWaveDevice(0);
        QVERIFY(in.Start());
        QVERIFY(in.Notice().isEmpty());
        in.StopAtOnce();
    }

    void numberZeroIsTheDefault_data()
    {
        QTest::addColumn<std::vector<int>>("devices"); // backend indexes of one direction
        QTest::addColumn<int>("defaultDevice");
        QTest::addColumn<std::vector<int>>("numbered");
        QTest::newRow("default in the middle")
            << std::vector { 0, 3, 5, 7 } << 5 << std::vector { 5, 0, 3, 7 };
        QTest::newRow("default first") << std::vector { 2, 4 } << 2 << std::vector { 2, 4 };
        QTest::newRow("default last") << std::vector { 2, 4 } << 4 << std::vector { 4, 2 };
        QTest::newRow("no default") << std::vector { 1, 2 } << -1 << std::vector { 1, 2 };
        QTest::newRow("default of the other direction")
            << std::vector { 1, 2 } << 9 << std::vector { 1, 2 };
        QTest::newRow("no devices") << std::vector<int> {} << -1 << std::vector<int> {};
    }
    void numberZeroIsTheDefault()
    {
        QFETCH(std::vector<int>, devices);
        QFETCH(int, defaultDevice);
        QFETCH(std::vector<int>, numbered);
        QCOMPARE(TDeviceList::Numbering(devices, defaultDevice), numbered);
    }

    void shortNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        QTest::newRow("short") << "pulse"
                               << "pulse";
        QTest::newRow("exactly 32")
            << QString(32, QLatin1Char('x')) << QString(32, QLatin1Char('x'));
        QTest::newRow("long") << "HDA Intel PCH: ALC892 Analog (hw:0,0)"
                              << "HDA Intel PCH: ALC892 Analog (hw";
        // A character outside the BMP straddling the limit is dropped whole.
        QTest::newRow("surrogate pair")
            << QString(31, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x8E\xA4") + "b"
            << QString(31, QLatin1Char('a'));
    }
    void shortNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        QCOMPARE(TDeviceList::ShortName(name), shortName);
    }

    void backendDefaultIsProcessWide()
    {
        const EAudioBackend old = TAudioBackend::Default();
        TAudioBackend::SetDefault(EAudioBackend::Loopback);
        TAudioOut out; // not told otherwise: follows the default at each Start
        QCOMPARE(out.Backend(), EAudioBackend::Loopback);
        TAudioBackend::SetDefault(EAudioBackend::PortAudio);
        QCOMPARE(out.Backend(), EAudioBackend::PortAudio);
        out.SetBackend(EAudioBackend::Loopback);
        QCOMPARE(out.Backend(), EAudioBackend::Loopback);
        TAudioBackend::SetDefault(old);
        QVERIFY(TAudioBackend::IsAvailable(EAudioBackend::Loopback));
    }

    void handoffQueueKeepsOrderAcrossThreads()
    {
        // The real backend's slot queues: one thread pushes, another pops, no lock.
        TSpscRing<int, 8> ring;
        constexpr int Count = 200000;
        std::vector<int> received;
        received.reserve(Count);
        std::thread consumer([&] {
            int v;
            while (int(received.size()) < Count) {
                if (ring.Pop(v))
                    received.push_back(v);
                else
                    std::this_thread::yield();
            }
        });
        for (int i = 0; i < Count;) {
            if (ring.Push(i))
                ++i;
            else
                std::this_thread::yield();
        }
        consumer.join();
        QCOMPARE(int(received.size()), Count);
        for (int i = 0; i < Count; ++i)
            QCOMPARE(received[size_t(i)], i);
        QVERIFY(ring.Empty());
        // Capacity - 1 items fit.
        for (int i = 0; i < 7; ++i)
            QVERIFY(ring.Push(i));
        QVERIFY(!ring.Push(7));
    }
};

QTEST_MAIN(TestAudioLoopback)
#include "tst_audioloopback.moc"
