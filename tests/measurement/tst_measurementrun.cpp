// The measurement run on a simulated turntable (virtual clock) with a stand-in recorder
// that writes a known test recording while the run says it is recording.

#include "audio/RecordFile.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "controls/VirtualClock.h"
#include "measurement/MeasurementRig.h"
#include "measurement/MeasurementRun.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/PortBackends.h"
#include "turntable/SimulatedController.h"
#include "turntable/TurntableController.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

constexpr int TurnMs = 36000; // 1 s per 10 degrees
constexpr int TickMs = 100; // the stand-in recorder delivers a buffer every 100 ms
constexpr int SamplesPerTick = 4410;

// Recorder and generator as the tool windows behave, in the test's hands.
class TTestRig final : public TMeasurementRig
{
public:
    explicit TTestRig(const QString &folder)
        : m_path(QDir(folder).filePath(QStringLiteral("temp.raw")))
    {
        auto backend = CreateSimulatedPortBackend(Clock, &Simulated, TurnMs);
        Controller = std::make_unique<TTurntableController>(
            std::make_unique<TDLPrinterPortIO>(std::move(backend)), Clock);
        Controller->SetMarkUnsensitivityTime(500);
        Controller->Open(1);
        m_timer = Clock.CreateTimer();
        m_timer->OnTimeout = [this] {
            Deliver();
        };
    }

    TTurntableController &Turntable() override { return *Controller; }
    int StartAngle() const override { return Start; }
    int StopAngle() const override { return Stop; }
    void OpenRecordFile() override
    {
        m_file = std::make_unique<TRecordFile>();
        m_file->Open(m_path);
    }
    void StartRecorder() override { m_timer->Start(TickMs); }
    void SetRecording(bool on) override { m_recording = on; }
    void StopRecorder() override { m_timer->Stop(); }
    void CloseRecordFile() override
    {
        if (m_failed)
            m_file = std::make_unique<TRecordFile>(); // dropped, as after a failed write
        else
            m_file->Close();
    }
    QString RecordFilePath() const override { return m_path; }
    bool RecordWriteFailed() const override { return m_failed; }
    void SetWriteErrorHandler(std::function<void(const QString &)> handler) override
    {
        m_handler = std::move(handler);
    }
    void StartGenerator() override { GeneratorLog << "start"; }
    void StopGenerator() override { GeneratorLog << "stop"; }

    TVirtualClock Clock;
    std::shared_ptr<TSimulatedController> Simulated;
    std::unique_ptr<TTurntableController> Controller;
    int Start = 0;
    int Stop = 360;
    qint64 FailAfterBytes = -1; // a write past this many bytes fails, as on a full disk
    QStringList GeneratorLog;

private:
    void Deliver()
    {
        if (!m_recording)
            return;
        // A tone whose level follows the table: 1 + cos(angle) / 2 keeps it above 0.
        const double gain = 0.5 + 0.25 * std::cos(Simulated->TrueAngle() * M_PI / 180.0);
        QByteArray buffer(SamplesPerTick * 2, '\0');
        auto *x = reinterpret_cast<qint16 *>(buffer.data());
        for (int i = 0; i < SamplesPerTick; ++i)
            x[i] = qint16(std::lround(20000 * gain * std::sin(i * 2 * M_PI / 44.1)));
        if (FailAfterBytes >= 0 && m_written + buffer.size() > FailAfterBytes) {
            if (!m_failed) {
                m_failed = true;
                QMetaObject::invokeMethod(
                    &m_context, [this] { m_handler(QStringLiteral("dysk pełny")); },
                    Qt::QueuedConnection);
            }
            return;
        }
        m_file->Append(buffer.constData(), int(buffer.size()), 16);
        m_written += buffer.size();
    }

    QString m_path;
    std::unique_ptr<TRecordFile> m_file;
    std::unique_ptr<TClockTimer> m_timer;
    std::function<void(const QString &)> m_handler;
    QObject m_context;
    qint64 m_written = 0;
    bool m_recording = false;
    bool m_failed = false;
};

// count samples of a 1 kHz tone at 44.1 kHz of the given peak, as raw recording bytes; a
// whole number of periods per 4410 samples.
QByteArray Tone(int count, int peak)
{
    QByteArray bytes(count * 2, '\0');
    auto *x = reinterpret_cast<qint16 *>(bytes.data());
    for (int i = 0; i < count; ++i)
        x[i] = qint16(std::lround(peak * std::sin(i * 2 * M_PI / 44.1)));
    return bytes;
}

// Runs `action` once, `ms` after now, from inside the run's waits.
class TLater
{
public:
    TLater(TClock &clock, int ms, std::function<void()> action)
        : m_timer(clock.CreateTimer())
    {
        m_timer->OnTimeout = [this, action] {
            m_timer->Stop();
            action();
        };
        m_timer->Start(ms);
    }

private:
    std::unique_ptr<TClockTimer> m_timer;
};

} // namespace

class TestMeasurementRun : public QObject
{
    Q_OBJECT

private slots:
    void fullTurnAddsNormalisedSeries();
    void cancel_data();
    void cancel();
    void noSeriesFromAnotherRecording_data();
    void noSeriesFromAnotherRecording();
    void writeErrorEndsRunWithOneError();
    void extraBeforeStartUsesExistingFile();
    void recordingWithoutMeasurementAddsNothing_data();
    void recordingWithoutMeasurementAddsNothing();

private:
    struct TFixture
    {
        QTemporaryDir Dir;
        TTestRig Rig { Dir.path() };
        TPolarGraph Chart;
        TMeasurementRun Run { Rig, Rig.Clock };
        QStringList Phases;
        QStringList Errors;
        TFixture()
        {
            Run.Chart = &Chart;
            Run.SeriesName = QStringLiteral("Pomiar 1");
            Run.SeriesColor = 0x008000;
            Run.BlockBytes = 8820; // one level per 100 ms buffer
            Run.ShowError = [this](const QString &text) {
                Errors << text;
            };
            QObject::connect(&Run, &TMeasurementRun::Changed, [this] {
                const QString phase = Run.Heading() + " / " + Run.Status();
                if (Phases.isEmpty() || Phases.last() != phase)
                    Phases << phase;
            });
            Rig.Clock.Advance(200);
        }
    };
};

void TestMeasurementRun::fullTurnAddsNormalisedSeries()
{
    TFixture f;
    f.Rig.Simulated->SetTrueAngle(40); // the run first returns to 0
    f.Run.Start();
    QCOMPARE(f.Phases,
             QStringList({ "Ustawienia początkowe / Powrót stolika do pozycji 0° ...",
                           "Ustawienia początkowe / Przygotowanie do pomiaru...",
                           "Pomiar / Nagrywanie do pliku: temp.raw",
                           "Pomiar / Wyznaczenie charakterystyki...", "Pomiar / Gotowe..." }));
    QVERIFY(f.Errors.isEmpty());
    QCOMPARE(f.Rig.GeneratorLog, QStringList({ "start", "stop" }));
    TSeries *s = f.Run.AddedSeries();
    QVERIFY(s);
    QCOMPARE(s->Name, QStringLiteral("Pomiar 1"));
    QCOMPARE(s->Color(), quint32(0x008000));
    // About 36 s of recording in 100 ms blocks, one level each.
    QVERIFY2(s->Count() >= 355 && s->Count() <= 375, qPrintable(QString::number(s->Count())));
    QCOMPARE(s->Points().front().Angle, 0.0);
    QCOMPARE(s->Points().front().Level, 0.0);
    // The stand-in's level follows the table: lowest (-9.5 dB) half-way round.
    const TPolarSample half = s->Points()[size_t(s->Count() / 2)];
    QVERIFY(std::abs(half.Angle - 180.0) < 1.0);
    QVERIFY2(std::abs(half.Level - 20 * std::log10(0.25 / 0.75)) < 0.5,
             qPrintable(QString::number(half.Level)));
    QVERIFY(!f.Run.StartEnabled());
    QVERIFY(!f.Run.ProgressVisible());
    QVERIFY(f.Run.Idle());
    QVERIFY(!f.Run.CancelPending());
}

void TestMeasurementRun::cancel_data()
{
    QTest::addColumn<int>("atMs"); // "Zamknij" this long after Start
    QTest::addColumn<bool>("series"); // a series is still made
    // The table starts at 40°: the return to 0° takes about 4 s.
    QTest::newRow("returning to 0") << 1000 << true;
    QTest::newRow("settle pause") << 4600 << false;
    QTest::newRow("turning") << 15000 << false;
}

void TestMeasurementRun::cancel()
{
    QFETCH(int, atMs);
    QFETCH(bool, series);
    TFixture f;
    f.Rig.Simulated->SetTrueAngle(40);
    bool closeNow = true;
    const TLater later(f.Rig.Clock, atMs, [&] { closeNow = f.Run.Close(); });
    f.Run.Start();
    QVERIFY(!closeNow); // during a run the window waits for its end
    QVERIFY(f.Run.CancelPending());
    QCOMPARE(f.Run.AddedSeries() != nullptr, series);
    QCOMPARE(f.Chart.SeriesCount(), series ? 1 : 0);
    QCOMPARE(f.Rig.Simulated->State(), 3);
    QVERIFY(f.Errors.isEmpty());
}

void TestMeasurementRun::noSeriesFromAnotherRecording_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stop");
    QTest::addColumn<int>("stopTableAtMs"); // the turntable window's "Stop"; 0: none
    QTest::newRow("stopped while positioning") << -90 << 90 << 3000;
    QTest::newRow("stopped while turning") << 0 << 360 << 10000;
    QTest::newRow("invalid range") << 90 << 30 << 0;
}

void TestMeasurementRun::noSeriesFromAnotherRecording()
{
    QFETCH(int, start);
    QFETCH(int, stop);
    QFETCH(int, stopTableAtMs);
    TFixture f;
    // An older recording that must not become this run's series.
    {
        QFile old(f.Rig.RecordFilePath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(8820 * 20, '\x11'));
    }
    f.Rig.Start = start;
    f.Rig.Stop = stop;
    std::unique_ptr<TLater> later;
    if (stopTableAtMs > 0)
        later = std::make_unique<TLater>(f.Rig.Clock, stopTableAtMs,
                                         [&] { f.Rig.Controller->StopMove(); });
    f.Run.Start();
    QVERIFY(!f.Run.AddedSeries());
    QCOMPARE(f.Chart.SeriesCount(), 0);
    QCOMPARE(f.Run.Status(), TMeasurementRun::StatusInterrupted);
    QVERIFY(!f.Run.CancelPending());
}

void TestMeasurementRun::writeErrorEndsRunWithOneError()
{
    TFixture f;
    f.Rig.FailAfterBytes = 8820 * 50; // 5 s into the turn
    const QByteArray before(100, 'x');
    {
        QFile old(f.Rig.RecordFilePath());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(before);
    }
    f.Run.Start();
    QCOMPARE(f.Errors.size(), 1);
    QVERIFY2(f.Errors.first().contains(QStringLiteral("dysk pełny")), qPrintable(f.Errors.first()));
    QVERIFY(!f.Run.AddedSeries());
    QCOMPARE(f.Run.Status(), TMeasurementRun::StatusInterrupted);
    // The table stopped at the failure, not after the whole turn.
    QVERIFY2(f.Rig.Clock.NowMs() < 20000, qPrintable(QString::number(f.Rig.Clock.NowMs())));
    QCOMPARE(f.Rig.Simulated->State(), 3);
    QFile kept(f.Rig.RecordFilePath());
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), before);
}

void TestMeasurementRun::extraBeforeStartUsesExistingFile()
{
    TFixture f;
    {
        QFile raw(f.Rig.RecordFilePath());
        QVERIFY(raw.open(QIODevice::WriteOnly));
        raw.write(Tone(4410 * 4, 20000)); // a steady tone: every level 0 dB after the shift
    }
    f.Run.ComputeFromFile();
    TSeries *s = f.Run.AddedSeries();
    QVERIFY(s);
    QCOMPARE(s->Count(), 4);
    for (const TPolarSample &p : s->Points())
        QCOMPARE(p.Level, 0.0);
    QCOMPARE(f.Run.Status(), TMeasurementRun::StatusDone);
    QVERIFY(!f.Run.StartEnabled());
    // "Zamknij" after it closes at once with Cancel.
    QVERIFY(f.Run.Close());
}

void TestMeasurementRun::recordingWithoutMeasurementAddsNothing_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("reason"); // part of the error
    const QString silent = QStringLiteral("brak sygnału w nagraniu");
    const QString tooFew = QStringLiteral("co najmniej dwóch");
    QTest::newRow("all zeros") << QByteArray(8820 * 4, '\0') << silent;
    // A peak of 3 is about -84 dB FS in rms: the noise of a rig without its signal.
    QTest::newRow("noise only") << Tone(4410 * 4, 3) << silent;
    QTest::newRow("one block") << Tone(4410, 20000) << tooFew;
    QTest::newRow("shorter than a block") << Tone(4000, 20000) << tooFew;
}

void TestMeasurementRun::recordingWithoutMeasurementAddsNothing()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, reason);
    TFixture f;
    {
        QFile file(f.Rig.RecordFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(raw);
    }
    f.Run.ComputeFromFile();
    QVERIFY(!f.Run.AddedSeries());
    QCOMPARE(f.Chart.SeriesCount(), 0);
    QCOMPARE(f.Errors.size(), 1);
    QVERIFY2(f.Errors.first().contains(reason), qPrintable(f.Errors.first()));
    QCOMPARE(f.Run.Status(), TMeasurementRun::StatusInterrupted);
}

QTEST_MAIN(TestMeasurementRun)
#include "tst_measurementrun.moc"
