// A sound device that stops returning buffers (a sound server that died or froze), on the
// loopback backend with a virtual clock: the streams close it after max(2 s, 2 x buffer
// time) with one Polish message, the tool windows show stopped, and the next Start works.
#include "app/Settings.h"
#include "audio/AudioIn.h"
#include "audio/AudioOut.h"
#include "audio/LoopbackBus.h"
#include "audio/ui/FrmGenerator.h"
#include "audio/ui/FrmMeter.h"
#include "controls/VirtualClock.h"
#include "controls/ui/QvLed.h"
#include "document_ui/helpers/PromptStub.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestStreamStall : public QObject
{
    Q_OBJECT

private:
    TVirtualClock m_clock { 1000 };
    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void initTestCase() { m_dir = std::make_unique<QTemporaryDir>(); }
    void init()
    {
        TSettings &s = Settings();
        s.TempDir = m_dir->path();
        s.RecordBuffSize = s.PlayBuffSize = 8192;
        s.InSampleRate = s.OutSampleRate = 44100;
        s.InQuant = s.OutQuant = 16;
        s.WaveINDevID = s.WaveOUTDevID = 0;
        TAudioBackend::SetDefault(EAudioBackend::Loopback);
        TLoopbackBus::Instance().SetClock(&m_clock);
    }
    void cleanup()
    {
        TLoopbackBus::Instance().SetStalled(false);
        m_clock.Advance(10); // posted notices of closed streams
        TLoopbackBus::Instance().SetClock(nullptr);
    }

    void deadDeviceIsClosedAtTheLimit_data();
    void deadDeviceIsClosedAtTheLimit();
    void generatorWindowShowsStoppedAndStartsAgain();
    void meterWindowShowsStoppedAndReleasesRec();
};

void TestStreamStall::deadDeviceIsClosedAtTheLimit_data()
{
    QTest::addColumn<bool>("input");
    QTest::addColumn<int>("bufferBytes");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("limitMs");
    QTest::addColumn<QString>("seconds");
    // 93 ms buffers: the 2 s floor. 4.1 s buffers: twice the buffer time.
    QTest::newRow("input, short buffers") << true << 8192 << 44100 << 2000 << "2";
    QTest::newRow("output, short buffers") << false << 8192 << 44100 << 2000 << "2";
    QTest::newRow("input, long buffers") << true << 65536 << 8000 << 8192 << "8,2";
    QTest::newRow("output, long buffers") << false << 65536 << 8000 << 8192 << "8,2";
}

void TestStreamStall::deadDeviceIsClosedAtTheLimit()
{
    QFETCH(bool, input);
    QFETCH(int, bufferBytes);
    QFETCH(int, rate);
    QFETCH(int, limitMs);
    QFETCH(QString, seconds);

    std::unique_ptr<TAudioIO> stream;
    if (input) {
        auto in = std::make_unique<TAudioIn>();
        in->OnBufferFilled = [](char *, int &) {
            return true;
        };
        stream = std::move(in);
    } else {
        auto out = std::make_unique<TAudioOut>();
        out->OnFillBuffer = [](char *, int &) {
            return true;
        };
        stream = std::move(out);
    }
    stream->SetBufferSize(bufferBytes);
    stream->SetFrameRate(rate);
    QStringList events;
    stream->OnStop = [&](QObject *) {
        events << "stop";
    };
    stream->OnFailure = [&](QObject *) {
        events << "failure";
    };
    QCOMPARE(stream->StallLimitMs(), limitMs);

    QVERIFY(stream->Start());
    m_clock.Advance(3 * limitMs); // a healthy device is never taken for a dead one
    QVERIFY(stream->DeviceOpen());
    if (auto *out = dynamic_cast<TAudioOut *>(stream.get())) {
        out->SetPaused(true); // a held output returns nothing and is not dead either
        m_clock.Advance(3 * limitMs);
        QVERIFY(stream->DeviceOpen());
        out->SetPaused(false);
        m_clock.Advance(limitMs);
        QVERIFY(stream->DeviceOpen());
    }
    const int done = stream->DoneCount();
    QVERIFY(done > 0);

    TLoopbackBus::Instance().SetStalled(true);
    const qint64 stalledAt = m_clock.NowMs();
    while (stream->DeviceOpen() && m_clock.NowMs() < stalledAt + 3 * limitMs)
        m_clock.Advance(10);
    const qint64 noticedMs = m_clock.NowMs() - stalledAt;
    // The last buffer came back at most one buffer time before the stall.
    const int bufferMs = bufferBytes * 1000 / (2 * rate);
    QVERIFY2(noticedMs > limitMs - bufferMs - 20 && noticedMs <= limitMs + 20,
             qPrintable(QString::number(noticedMs)));
    QVERIFY(stream->DeviceFailed());
    QCOMPARE(stream->DoneCount(), done);
    QVERIFY2(stream->ErrorMessage().contains(QStringLiteral("serwer dźwięku nie odpowiada")),
             qPrintable(stream->ErrorMessage()));
    QVERIFY2(stream->ErrorMessage().contains(QStringLiteral(" od %1 s").arg(seconds)),
             qPrintable(stream->ErrorMessage()));
    m_clock.Advance(10);
    QCOMPARE(events, QStringList({ "stop", "failure" }));

    // The server is back: a new Start opens a working device.
    TLoopbackBus::Instance().SetStalled(false);
    QVERIFY(stream->Start());
    QVERIFY(!stream->DeviceFailed());
    m_clock.Advance(3 * limitMs);
    QVERIFY(stream->DeviceOpen());
    QVERIFY(stream->DoneCount() > 0);
    stream->StopAtOnce();
}

void TestStreamStall::generatorWindowShowsStoppedAndStartsAgain()
{
    TPromptStub prompts;
    TFrmGenerator w;
    w.btnStart().click();
    m_clock.Advance(500);
    QVERIFY(w.GenLed().Active());

    TLoopbackBus::Instance().SetStalled(true);
    m_clock.Advance(2500);
    QVERIFY(!w.GenOut().DeviceOpen());
    QVERIFY(!w.Generating());
    QVERIFY(!w.GenLed().Active());
    QCOMPARE(prompts.Messages.size(), 1);
    QCOMPARE(prompts.Messages.front().Text, w.GenOut().ErrorMessage());
    QCOMPARE(prompts.Messages.front().Icon, QMessageBox::Critical);

    TLoopbackBus::Instance().SetStalled(false);
    w.btnStart().click(); // not Generating any more: opens the device afresh
    m_clock.Advance(500);
    QVERIFY(w.GenOut().DeviceOpen());
    QVERIFY(w.GenLed().Active());
    QCOMPARE(prompts.Messages.size(), 1);
    w.StopGenerator();
}

void TestStreamStall::meterWindowShowsStoppedAndReleasesRec()
{
    TPromptStub prompts;
    TFrmMeter w(m_clock);
    w.btnRec().click(); // records to the file
    m_clock.Advance(1000);
    QVERIFY(w.Led().Active());
    QVERIFY(w.RecordFileOpen());

    TLoopbackBus::Instance().SetStalled(true);
    m_clock.Advance(2500);
    QVERIFY(!w.Recorder().DeviceOpen());
    QVERIFY(!w.Led().Active());
    QVERIFY(!w.btnRec().isChecked());
    QVERIFY(!w.Recording);
    QVERIFY(!w.RecordFileOpen());
    QCOMPARE(prompts.Messages.size(), 1);
    QCOMPARE(prompts.Messages.front().Text, w.Recorder().ErrorMessage());

    TLoopbackBus::Instance().SetStalled(false);
    w.btnStart().click();
    m_clock.Advance(500);
    QVERIFY(w.Recorder().DeviceOpen());
    QVERIFY(w.Led().Active());
    w.StopRecorder();
}

QTEST_MAIN(TestStreamStall)
#include "tst_streamstall.moc"
