// TFrmMeter on the loopback backend with a virtual clock: creation, the service word,
// recorder start/stop, needle and clip lamp, recording to temp.raw and its failures.
#include "app/Settings.h"
#include "audio/AudioIn.h"
#include "audio/LoopbackBus.h"
#include "audio/ui/FrmMeter.h"
#include "audio/ui/QvVUMeter.h"
#include "controls/Clock.h"
#include "controls/VirtualClock.h"
#include "controls/ui/QvLed.h"
#include "document/InOutError.h"
#include "document/ui/Prompts.h"

#include <QFile>
#include <QFrame>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// What the microphone hears in these tests: a constant level, or a rising counter (so a
// recording can be checked sample by sample).
struct TMicrophone
{
    float Level = 0.0f;
    bool Counter = false;
    int Next = 1;

    void operator()(float *samples, int count, int, qint64)
    {
        for (int i = 0; i < count; ++i) {
            if (Counter) {
                samples[i] = float(Next) / 32768.0f;
                Next = Next == 30000 ? 1 : Next + 1;
            } else {
                samples[i] = Level;
            }
        }
    }
};

} // namespace

class TestMeterWindow : public QObject
{
    Q_OBJECT

private:
    TVirtualClock m_clock { 5000 };
    std::unique_ptr<QTemporaryDir> m_dir;
    std::shared_ptr<TMicrophone> m_mic;
    QStringList m_messages;

    std::unique_ptr<TFrmMeter> NewWindow() { return std::make_unique<TFrmMeter>(m_clock); }

    // Buffer length in ms at the test's input settings (8192 bytes, 16-bit mono, 44100 Hz).
    static constexpr int BufferMs = 93;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        TSettings &s = Settings();
        s.TempDir = m_dir->path();
        s.RecordBuffSize = 8192;
        s.InSampleRate = 44100;
        s.InQuant = 16;
        s.WaveINDevID = 0;
        TAudioBackend::SetDefault(EAudioBackend::Loopback);
        TLoopbackBus::Instance().SetClock(&m_clock);
        m_mic = std::make_shared<TMicrophone>();
        auto mic = m_mic;
        TLoopbackBus::Instance().SetTransform(
            [mic](float *s, int n, int r, qint64 p) { (*mic)(s, n, r, p); });
        m_messages.clear();
        TPrompts::Instance().Message = [this](QWidget *, QMessageBox::Icon, const QString &text,
                                              QMessageBox::StandardButtons) {
            m_messages << text;
            return QMessageBox::Ok;
        };
    }

    void cleanup()
    {
        TLoopbackBus::Instance().ClearTransform();
        TLoopbackBus::Instance().SetClock(nullptr);
        TLoopbackBus::Instance().SetUnavailable(false);
        TPrompts::Instance().Reset();
    }

    void createdAsDescribed()
    {
        auto w = NewWindow();
        QCOMPARE(w->windowTitle(), QStringLiteral("Wskaźnik wysterowania"));
        QCOMPARE(w->width(), 177);
        QCOMPARE(w->height(), 166);
        QCOMPARE(w->Recording, false);
        QVERIFY(!w->pnlService().isVisibleTo(w.get()));
        QCOMPARE(w->dBMeter().Decay(), 9);
        QCOMPARE(w->dBMeter().Title(), QStringLiteral("dB"));
        QCOMPARE(w->dBMeter().NeedleOffset(), 20);
        QVERIFY(w->dBMeter().LogScale());
        QCOMPARE(w->dBMeter().width(), 177);
        QCOMPARE(w->dBMeter().height(), 105);
        QCOMPARE(w->Recorder().NumBuffers(), 2);
        QCOMPARE(w->Recorder().Stereo(), false);
        QCOMPARE(w->btnStart().text(), QStringLiteral("Włącz"));
        QCOMPARE(w->SpeedButton1().text(), QStringLiteral("Mikser"));
        QCOMPARE(w->btnRec().text(), QStringLiteral("Rec"));
        QVERIFY(w->btnRec().isCheckable());
        QCOMPARE(w->RxSpinEdit1().minimum(), 0);
        QCOMPARE(w->RxSpinEdit1().maximum(), 100);
        QCOMPARE(w->RxSpinEdit1().value(), 10);
        QVERIFY(!w->Led().Active());
        QCOMPARE(w->Led().OnColor(), 0x00FF00u);
        QCOMPARE(w->ledClip().OnColor(), 0x0000FFu);
        QCOMPARE(w->ledClip().OffColor(), 0x000080u);
        w->RxSpinEdit1().setValue(3);
        QCOMPARE(w->dBMeter().Decay(), 3);
    }

    void serviceWordTogglesPanel_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("target"); // typed into the spin edit instead of the window
        QTest::addColumn<bool>("shown");
        QTest::newRow("word") << "kapsel" << false << true;
        QTest::newRow("word twice") << "kapselkapsel" << false << false;
        QTest::newRow("into a control") << "kapsel" << true << true;
        QTest::newRow("wrong letter") << "kapxsel" << false << false;
        QTest::newRow("mismatch not retried") << "kkapsel" << false << false;
        QTest::newRow("restart after mismatch") << "kaxkapsel" << false << true;
        QTest::newRow("case-sensitive") << "Kapsel" << false << false;
    }
    void serviceWordTogglesPanel()
    {
        QFETCH(QString, typed);
        QFETCH(bool, target);
        QFETCH(bool, shown);
        auto w = NewWindow();
        if (target)
            QTest::keyClicks(&w->RxSpinEdit1(), typed);
        else
            QTest::keyClicks(w.get(), typed);
        QCOMPARE(w->pnlService().isVisibleTo(w.get()), shown);
        QCOMPARE(w->height(), shown ? 204 : 166);
    }

    void startLightsLedAndStopResets()
    {
        auto w = NewWindow();
        m_mic->Level = 0.5f;
        QTest::mouseClick(&w->btnStart(), Qt::LeftButton);
        QVERIFY(w->Recorder().Running());
        QCOMPARE(w->Recorder().BufferSize(), 8192);
        QCOMPARE(w->Recorder().FrameRate(), 44100);
        QCOMPARE(w->dBMeter().BufferSize(), 8192);
        m_clock.Advance(1);
        QVERIFY(w->Led().Active());
        m_clock.Advance(BufferMs * 3);
        QVERIFY(w->Recorder().FilledCount() >= 2);
        QVERIFY(w->dBMeter().NeedlePos() > 0);
        QCOMPARE(w->dBMeter().Level(), 16384);
        QVERIFY(m_messages.isEmpty());

        QTest::mouseClick(&w->btnStart(), Qt::LeftButton); // "Włącz" again stops
        QCOMPARE(w->dBMeter().NeedlePos(), 0);
        const int delivered = w->Recorder().FilledCount();
        m_clock.Advance(BufferMs * 3);
        QVERIFY(!w->Recorder().DeviceOpen());
        QCOMPARE(w->Recorder().FilledCount(), delivered); // queued buffers not delivered
        QVERIFY(!w->Led().Active());
        QVERIFY(w->LevelBuffer().isEmpty());

        QTest::mouseClick(&w->btnStart(), Qt::LeftButton); // and starts again
        m_clock.Advance(BufferMs * 2);
        QVERIFY(w->Recorder().Running());
        QVERIFY(w->Led().Active());
        w->StopRecorder();
        m_clock.Advance(BufferMs * 3);
    }

    void clipLampHoldsHalfASecond()
    {
        auto w = NewWindow();
        qint64 lastClip = -1;
        connect(&w->dBMeter(), &TQvVUMeter::OnClip, this, [&] { lastClip = m_clock.NowMs(); });
        m_mic->Level = 0.999f; // 32735: loud but not full scale
        w->StartRecorder();
        m_clock.Advance(BufferMs * 3);
        QCOMPARE(lastClip, qint64(-1));
        QVERIFY(!w->ledClip().Active());

        m_mic->Level = 1.0f; // full scale
        m_clock.Advance(BufferMs * 3);
        QVERIFY(lastClip >= 0);
        QVERIFY(w->ledClip().Active());
        m_mic->Level = 0.1f;
        // Wait until the last clipping buffer has been shown, then watch the lamp.
        qint64 seen = lastClip;
        for (int i = 0; i < 10; ++i) {
            m_clock.Advance(BufferMs);
            if (lastClip == seen)
                break;
            seen = lastClip;
        }
        const qint64 offAt = lastClip + 10 * TFrmMeter::ClipTimerMs;
        m_clock.Advance(int(offAt - 5 - m_clock.NowMs()));
        QVERIFY(w->ledClip().Active());
        m_clock.Advance(10);
        QVERIFY(!w->ledClip().Active());
        QVERIFY(!w->Timer1().IsActive());
        w->StopRecorder();
        m_clock.Advance(BufferMs * 3);
    }

    void recordButtonWritesEveryDeliveredBuffer()
    {
        auto w = NewWindow();
        m_mic->Counter = true;
        QTest::keyClicks(w.get(), QStringLiteral("kapsel"));
        QTest::mouseClick(&w->btnRec(), Qt::LeftButton);
        QVERIFY(w->btnRec().isChecked());
        QVERIFY(w->Recording);
        QVERIFY(w->RecordFileOpen());
        QCOMPARE(w->RecordFilePath(), QDir(m_dir->path()).filePath(QStringLiteral("temp.raw")));
        QVERIFY(w->Recorder().Running());
        m_clock.Advance(1000);
        QTest::mouseClick(&w->btnRec(), Qt::LeftButton);
        QVERIFY(!w->Recording);
        QVERIFY(!w->RecordFileOpen());
        const int delivered = w->Recorder().FilledCount();
        QVERIFY(delivered >= 9);
        m_clock.Advance(BufferMs * 3);
        QVERIFY(!w->Recorder().DeviceOpen());

        QFile file(w->RecordFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        QCOMPARE(data.size(), qsizetype(delivered) * 8192);
        // Headerless 16-bit little-endian samples, in order and without a gap.
        const auto *samples = reinterpret_cast<const qint16 *>(data.constData());
        int expected = samples[0];
        for (qsizetype i = 0; i < data.size() / 2; ++i) {
            QCOMPARE(int(samples[i]), expected);
            expected = expected == 30000 ? 1 : expected + 1;
        }
        QVERIFY(m_messages.isEmpty());
    }

    void measurementRunSequence()
    {
        // As the measurement run drives it: open, start, capture, stop, close.
        auto w = NewWindow();
        m_mic->Level = 0.25f;
        w->OpenRecordFile();
        w->StartRecorder();
        m_clock.Advance(BufferMs * 2 + 1);
        QCOMPARE(QFile(w->RecordFilePath()).size(), 0); // not Recording yet
        w->Recording = true;
        const int before = w->Recorder().FilledCount();
        m_clock.Advance(BufferMs * 5);
        w->Recording = false;
        const int written = w->Recorder().FilledCount() - before;
        w->StopRecorder();
        w->CloseRecordFile();
        QCOMPARE(QFile(w->RecordFilePath()).size(), qint64(written) * 8192);
        m_clock.Advance(BufferMs * 3);
        QVERIFY(!w->Recorder().DeviceOpen());
    }

    void writeErrorReportedOnceAndWritingStops()
    {
        auto w = NewWindow();
        m_mic->Level = 0.25f;
        // A file-size limit makes writes past 20000 bytes fail (EFBIG) like a full disk.
        struct rlimit old
        {
        };
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = old;
        limited.rlim_cur = 20000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);

        // An earlier recording that the failing one must not destroy.
        const QByteArray earlier(3000, 'e');
        {
            QFile f(w->RecordFilePath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(earlier), earlier.size());
        }
        w->OpenRecordFile();
        w->Recording = true;
        w->StartRecorder();
        m_clock.Advance(1500);
        QVERIFY(w->Recorder().FilledCount() >= 10);
        QVERIFY(w->RecordWriteFailed());
        QVERIFY(w->Recorder().Running()); // the level meter goes on
        w->Recording = false;
        w->StopRecorder();
        w->CloseRecordFile(); // the failure was reported already
        m_clock.Advance(BufferMs * 3);

        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains(QLatin1String("temp.raw")));
        // The failed recording replaced nothing and left no temporary file behind.
        {
            QFile f(w->RecordFilePath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), earlier);
        }
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
                 QStringList({ QStringLiteral("temp.raw"), QStringLiteral("temp.raw.lock") }));

        // A new file starts clean.
        w->OpenRecordFile();
        w->Recording = true;
        w->StartRecorder();
        m_clock.Advance(BufferMs * 2 + 1);
        QVERIFY(!w->RecordWriteFailed());
        w->Recording = false;
        w->StopRecorder();
        w->CloseRecordFile();
        QVERIFY(QFile(w->RecordFilePath()).size() >= 8192);
        QCOMPARE(m_messages.size(), 1);
        m_clock.Advance(BufferMs * 3);
    }

    void missingFolderFailsOpen()
    {
        auto w = NewWindow();
        Settings().TempDir = m_dir->filePath(QStringLiteral("gone"));
        QVERIFY_THROWS_EXCEPTION(EInOutError, w->OpenRecordFile());
        try {
            w->OpenRecordFile();
        } catch (const EInOutError &e) {
            QVERIFY(e.Message().contains(QLatin1String("temp.raw")));
        }
        QVERIFY(!w->RecordFileOpen());
        // Through the button the operation ends: one message, Rec up, nothing started.
        QTest::keyClicks(w.get(), QStringLiteral("kapsel"));
        QTest::mouseClick(&w->btnRec(), Qt::LeftButton);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains(QLatin1String("temp.raw")));
        QVERIFY(!w->btnRec().isChecked());
        QVERIFY(!w->Recording);
        QVERIFY(!w->Recorder().DeviceOpen());
        m_clock.Advance(BufferMs * 3);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(!w->Led().Active());
        // Once the folder is there, the next press records.
        Settings().TempDir = m_dir->path();
        QTest::mouseClick(&w->btnRec(), Qt::LeftButton);
        QVERIFY(w->btnRec().isChecked());
        QVERIFY(w->Recording);
        QVERIFY(w->Recorder().Running());
        QTest::mouseClick(&w->btnRec(), Qt::LeftButton);
        m_clock.Advance(BufferMs * 3);
        QCOMPARE(m_messages.size(), 1);
    }

    void recWithFailingRecorderEndsUp()
    {
        auto w = NewWindow();
        TLoopbackBus::Instance().SetUnavailable(true);
        QTest::keyClicks(w.get(), QStringLiteral("kapsel"));
        QTest::mouseClick(&w->btnRec(), Qt::LeftButton);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first(), w->Recorder().ErrorMessage());
        QVERIFY(!w->btnRec().isChecked());
        QVERIFY(!w->Recording);
        QVERIFY(!w->RecordFileOpen());
    }

    void recorderFailureShowsErrorMessage()
    {
        auto w = NewWindow();
        TLoopbackBus::Instance().SetUnavailable(true);
        w->StartRecorder();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first(), w->Recorder().ErrorMessage());
        QVERIFY(m_messages.first().contains(QLatin1String("unavailable")));
        QVERIFY(!w->Recorder().DeviceOpen());
        m_clock.Advance(100);
        QVERIFY(!w->Led().Active());
    }

    void unpluggedDeviceFallsBackToDefaultOnce()
    {
        auto w = NewWindow();
        Settings().WaveINDevID = 5; // stored before the card went away
        m_mic->Level = 0.5f;
        QVERIFY(w->StartRecorder());
        QVERIFY(w->Recorder().DeviceOpen());
        QCOMPARE(Settings().WaveINDevID, 0);
        QVERIFY(m_messages.isEmpty()); // posted: recording is under way first
        QTRY_COMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains(QStringLiteral("nr 5")));
        m_clock.Advance(BufferMs * 3);
        QVERIFY(w->Recorder().FilledCount() > 0);
        w->StopRecorder();
        m_clock.Advance(BufferMs * 2);
        QVERIFY(w->StartRecorder());
        m_clock.Advance(BufferMs);
        QCOMPARE(m_messages.size(), 1); // said once
        w->StopRecorder();
        m_clock.Advance(BufferMs * 2);
    }

    void smallRecordBufferKeepsCopyInside()
    {
        auto w = NewWindow();
        Settings().RecordBuffSize = 100; // the stream takes 512
        m_mic->Level = 0.5f;
        w->StartRecorder();
        QCOMPARE(w->Recorder().BufferSize(), 512);
        QVERIFY(w->LevelBuffer().size() >= 512);
        m_clock.Advance(100);
        QVERIFY(w->Recorder().FilledCount() > 5);
        w->StopRecorder();
        m_clock.Advance(50);
    }

    void mixerMissingGivesClearMessage()
    {
        QTemporaryDir empty;
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", empty.path().toLocal8Bit());
        auto w = NewWindow();
        QVERIFY(TFrmMeter::MixerProgram().isEmpty());
        QTest::mouseClick(&w->SpeedButton1(), Qt::LeftButton);
        qputenv("PATH", oldPath);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains(QLatin1String("pavucontrol")));
    }
};

QTEST_MAIN(TestMeterWindow)
#include "tst_meterwindow.moc"
