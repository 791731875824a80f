// The generator window on the loopback backend with a virtual clock: its controls and
// signal list, the frequency arrows' octave steps, the operations the measurement uses,
// starting and stopping the output, and what it plays (recorded back through the loopback:
// a continuous wave, also across a frequency change while playing).

#include "app/Settings.h"
#include "audio/AudioBackend.h"
#include "audio/AudioIn.h"
#include "audio/AudioOut.h"
#include "audio/LoopbackBus.h"
#include "audio/ui/FrmGenerator.h"
#include "controls/VirtualClock.h"
#include "controls/ui/QvLed.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Closes the next modal message box and keeps its text.
class TBoxCloser
{
public:
    TBoxCloser()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                Text = box->text();
                Title = box->windowTitle();
                Icon = box->icon();
                box->done(0);
                m_timer.stop();
            }
        });
        m_timer.start();
    }
    QString Text;
    QString Title;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;

private:
    QTimer m_timer;
};

// Records what the loopback carries.
struct TRecorder
{
    TAudioIn In;
    std::vector<qint16> Samples;

    explicit TRecorder(int rate)
    {
        In.SetBackend(EAudioBackend::Loopback);
        In.SetNumBuffers(4);
        In.SetBufferSize(4096);
        In.SetFrameRate(rate);
        In.SetWaveDevice(0);
        In.OnBufferFilled = [this](char *buffer, int &size) {
            const size_t old = Samples.size();
            Samples.resize(old + size_t(size / 2));
            std::memcpy(Samples.data() + old, buffer, size_t(size / 2) * 2);
            return true;
        };
    }
};

// Largest step between neighbouring samples from the first sounding sample on.
double LargestStep(const std::vector<qint16> &s, size_t &first)
{
    first = 0;
    while (first < s.size() && s[first] == 0)
        ++first;
    double largest = 0;
    for (size_t i = first + 1; i < s.size(); ++i)
        largest = std::max(largest, std::fabs(double(s[i]) - s[i - 1]));
    return largest;
}

// Largest deviation from the sine recurrence s[n+1] + s[n-1] = 2 cos(ω) s[n], which holds
// for a sine of angular step ω whatever its phase and amplitude (up to rounding).
double RecurrenceError(const std::vector<qint16> &s, size_t from, size_t to, double omega)
{
    double worst = 0;
    for (size_t n = from + 1; n + 1 < to; ++n)
        worst = std::max(worst, std::fabs(s[n + 1] + s[n - 1] - 2 * std::cos(omega) * s[n]));
    return worst;
}

} // namespace

class TestGeneratorWindow : public QObject
{
    Q_OBJECT

private:
    TVirtualClock m_clock { 5000 };

private slots:
    void initTestCase();
    void init();
    void controlsAndDefaults();
    void signalListGivesTheGeneratorItsSignal();
    void frequencyArrows_data();
    void frequencyArrows();
    void setFrequencyAndAmplitude_data();
    void setFrequencyAndAmplitude();
    void setFrequencyRefusesZero();
    void startPlaysBlocksOfTheSettingsSize();
    void startTwiceOpensOnceAndStopWhenIdleDoesNothing();
    void failedStartShowsTheStreamErrorAndStaysGenerating();
    void settingsAreReadAtEveryStart();
    void playsAContinuousSineAcrossAFrequencyChange();
    void amplitudeTenPercent();
    void eightBitOutputPlaysTheSameWave();
    void closingOnlyHides();
};

void TestGeneratorWindow::initTestCase()
{
    TAudioBackend::SetDefault(EAudioBackend::Loopback);
    TLoopbackBus::Instance().SetClock(&m_clock);
}

void TestGeneratorWindow::init()
{
    TSettings &s = Settings();
    s.OutSampleRate = 44100;
    s.PlayBuffSize = 8192;
    s.WaveOUTDevID = 0;
    s.OutQuant = 16;
}

void TestGeneratorWindow::controlsAndDefaults()
{
    TFrmGenerator w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Generator"));
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(w.size(), QSize(200, 135));
    QStringList labels;
    for (QLabel *l : w.findChildren<QLabel *>())
        labels << l->text();
    labels.sort();
    QCOMPARE(labels,
             (QStringList { QString::fromUtf8("&Amplituda"), QString::fromUtf8("&Częstotliwość"),
                            QString::fromUtf8("&Rodzaj sygnału") }));
    QCOMPARE(w.btnStart().text(), QStringLiteral("&Start"));
    QCOMPARE(w.btnStop().text(), QStringLiteral("S&top"));
    QCOMPARE(w.seFreq().minimum(), 20);
    QCOMPARE(w.seFreq().maximum(), 20000);
    QCOMPARE(w.seFreq().value(), 1000);
    QCOMPARE(w.seAmp().minimum(), 10);
    QCOMPARE(w.seAmp().maximum(), 100);
    QCOMPARE(w.seAmp().singleStep(), 10);
    QCOMPARE(w.seAmp().value(), 100);
    QVERIFY(!w.GenLed().Active());
    QCOMPARE(w.GenLed().OnColor(), quint32(0x00FF00));
    QCOMPARE(w.GenLed().OffColor(), quint32(0x008000));
    QVERIFY(!w.Generating());

    TGenerator &g = w.Generator();
    QVERIFY(g.AutoPhase());
    QCOMPARE(g.NumSamples(), 8192);
    QCOMPARE(g.SignalFrequency(), 1000.0);
    QCOMPARE(g.SamplingFrequency(), 44100);
    QCOMPARE(g.Signal(), TSignalType::Sinus);
    QCOMPARE(g.VolumeInPercents(), 100.0);
    QCOMPARE(g.ImpulsLength(), 50.0);
    QCOMPARE(w.GenOut().NumBuffers(), 4);
}

void TestGeneratorWindow::signalListGivesTheGeneratorItsSignal()
{
    TFrmGenerator w;
    const QStringList captions = { "Sinus",      "Cosinus",     "Prostokąt", "Trójkąt", "Chirp",
                                   "Szum biały", "Szum różowy", "MLS",       "Impuls" };
    const TSignalType kinds[]
        = { TSignalType::Sinus,     TSignalType::Cosinus, TSignalType::Square2,
            TSignalType::Triangle,  TSignalType::Chirp,   TSignalType::WhiteNoise,
            TSignalType::PinkNoise, TSignalType::MLS,     TSignalType::Impuls };
    QCOMPARE(w.cbSygnal().count(), 9);
    QCOMPARE(w.cbSygnal().currentIndex(), 0);
    for (int i = 8; i >= 0; --i) {
        QCOMPARE(w.cbSygnal().itemText(i), captions[i]);
        w.cbSygnal().setCurrentIndex(i);
        QCOMPARE(w.Generator().Signal(), kinds[i]);
    }
    QVERIFY(!w.SetSignal(TSignalType::Square1)); // not offered
    QCOMPARE(w.Generator().Signal(), TSignalType::Sinus);
    QVERIFY(w.SetSignal(TSignalType::MLS));
    QCOMPARE(w.cbSygnal().currentIndex(), 7);
    QCOMPARE(w.Generator().Signal(), TSignalType::MLS);
}

void TestGeneratorWindow::frequencyArrows_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("1000 up") << 1000 << int(Qt::Key_Up) << 2000;
    QTest::newRow("1500 up") << 1500 << int(Qt::Key_Up) << 2000;
    QTest::newRow("999 up: the increment reaches 1000 first") << 999 << int(Qt::Key_Up) << 2000;
    QTest::newRow("16000 up") << 16000 << int(Qt::Key_Up) << 20000;
    QTest::newRow("19999 up") << 19999 << int(Qt::Key_Up) << 20000;
    QTest::newRow("20000 up stays") << 20000 << int(Qt::Key_Up) << 20000;
    QTest::newRow("20 up") << 20 << int(Qt::Key_Up) << 32;
    QTest::newRow("1000 down") << 1000 << int(Qt::Key_Down) << 500;
    QTest::newRow("1500 down") << 1500 << int(Qt::Key_Down) << 1000;
    QTest::newRow("1001 down: the decrement reaches 1000 first")
        << 1001 << int(Qt::Key_Down) << 500;
    QTest::newRow("32 down") << 32 << int(Qt::Key_Down) << 20;
    QTest::newRow("21 down") << 21 << int(Qt::Key_Down) << 20;
    QTest::newRow("20 down stays") << 20 << int(Qt::Key_Down) << 20;
    QTest::newRow("20000 down") << 20000 << int(Qt::Key_Down) << 16000;
}

void TestGeneratorWindow::frequencyArrows()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    TFrmGenerator w;
    w.seFreq().setValue(start);
    QTest::keyClick(&w.seFreq(), Qt::Key(key));
    QCOMPARE(w.seFreq().value(), expected);
    QCOMPARE(w.Generator().SignalFrequency(), double(expected));
}

void TestGeneratorWindow::setFrequencyAndAmplitude_data()
{
    QTest::addColumn<double>("frequency");
    QTest::addColumn<int>("shownFrequency");
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<int>("shownAmplitude");
    QTest::newRow("fractions are cut") << 1234.9 << 1234 << 55.5 << 55;
    QTest::newRow("below the boxes' ranges") << 5.0 << 20 << 5.0 << 10;
    QTest::newRow("above the frequency box") << 30000.0 << 20000 << 100.0 << 100;
}

void TestGeneratorWindow::setFrequencyAndAmplitude()
{
    QFETCH(double, frequency);
    QFETCH(int, shownFrequency);
    QFETCH(double, amplitude);
    QFETCH(int, shownAmplitude);
    TFrmGenerator w;
    w.SetFrequency(frequency);
    QCOMPARE(w.seFreq().value(), shownFrequency);
    // The box applies what it shows.
    QCOMPARE(w.GetFrequency(), double(shownFrequency));
    w.SetAmplitude(amplitude);
    QCOMPARE(w.seAmp().value(), shownAmplitude);
    QCOMPARE(w.GetAmplitude(), double(shownAmplitude));
}

void TestGeneratorWindow::setFrequencyRefusesZero()
{
    TFrmGenerator w;
    try {
        w.SetFrequency(0.0);
        QFAIL("0 Hz must be refused");
    } catch (const EGeneratorError &e) {
        QCOMPARE(e.Message(), QString::fromUtf8("No co ty, chcesz to usłyczeć ???"));
    }
    QCOMPARE(w.GetFrequency(), 1000.0);
    QCOMPARE(w.seFreq().value(), 1000);
}

void TestGeneratorWindow::startPlaysBlocksOfTheSettingsSize()
{
    TFrmGenerator w;
    w.StartGenerator();
    QVERIFY(w.Generating());
    QVERIFY(w.GenOut().DeviceOpen());
    QCOMPARE(w.GenOut().BufferSize(), 8192);
    QCOMPARE(w.GenOut().FrameRate(), 44100);
    QCOMPARE(w.Generator().NumSamples(), 4096);
    QCOMPARE(int(w.SampleBlock().size()), 4096);
    QCOMPARE(w.GenOut().FilledCount(), 4); // every slot filled at start
    m_clock.Advance(0);
    QVERIFY(w.GenLed().Active());

    // About 93 ms per block: after one second some ten more blocks were generated, four
    // still queued.
    m_clock.Advance(1000);
    QVERIFY(w.GenOut().DoneCount() >= 10);
    QCOMPARE(w.GenOut().FilledCount(), w.GenOut().DoneCount() + 4);
    QCOMPARE(w.GenOut().Underruns(), 0);

    w.btnStop().click();
    QVERIFY(!w.Generating());
    QVERIFY(!w.GenOut().DeviceOpen());
    m_clock.Advance(10);
    QVERIFY(!w.GenLed().Active());
    QVERIFY(w.SampleBlock().empty());
}

void TestGeneratorWindow::startTwiceOpensOnceAndStopWhenIdleDoesNothing()
{
    TFrmGenerator w;
    w.btnStop().click(); // idle: nothing
    QVERIFY(!w.Generating());
    w.btnStart().click();
    const int filled = w.GenOut().FilledCount();
    {
        TBoxCloser closer;
        w.btnStart().click();
        m_clock.Advance(20);
        QVERIFY(closer.Text.isEmpty()); // no "already open" error: the click was ignored
    }
    QVERIFY(w.GenOut().ErrorMessage().isEmpty());
    QVERIFY(w.GenOut().FilledCount() >= filled);
    QVERIFY(w.Generating());

    // The measurement run may call StartGenerator itself: the open device is reported and
    // the playing stream keeps its format and block, whatever the settings say now.
    Settings().PlayBuffSize = 2048;
    Settings().OutSampleRate = 22050;
    {
        TBoxCloser again;
        w.StartGenerator();
        QVERIFY(!again.Text.isEmpty());
        QCOMPARE(again.Text, w.GenOut().ErrorMessage());
    }
    QCOMPARE(w.GenOut().BufferSize(), 8192);
    QCOMPARE(w.Generator().SamplingFrequency(), 44100);
    QCOMPARE(int(w.SampleBlock().size()), 4096);
    const int done = w.GenOut().DoneCount();
    m_clock.Advance(300);
    QVERIFY(w.GenOut().DoneCount() > done);

    w.btnStop().click();
    QVERIFY(!w.GenOut().DeviceOpen());
    m_clock.Advance(10);
}

void TestGeneratorWindow::failedStartShowsTheStreamErrorAndStaysGenerating()
{
    TFrmGenerator w;
    TLoopbackBus::Instance().SetUnavailable(true); // held by another program
    {
        TBoxCloser closer;
        w.btnStart().click();
        QVERIFY(!closer.Text.isEmpty());
        QCOMPARE(closer.Text, w.GenOut().ErrorMessage());
        QCOMPARE(closer.Title, QStringLiteral("Orvi"));
        QCOMPARE(closer.Icon, QMessageBox::Critical);
    }
    QVERIFY(w.Generating());
    QVERIFY(!w.GenOut().DeviceOpen());
    w.btnStart().click(); // still Generating: ignored, no second box
    w.btnStop().click();
    QVERIFY(!w.Generating());

    TLoopbackBus::Instance().SetUnavailable(false);
    w.btnStart().click();
    QVERIFY(w.GenOut().DeviceOpen());
    m_clock.Advance(10);
    QVERIFY(w.GenLed().Active());
    w.StopGenerator();
    m_clock.Advance(10);
}

void TestGeneratorWindow::settingsAreReadAtEveryStart()
{
    TFrmGenerator w;
    w.StartGenerator();
    m_clock.Advance(100);
    w.StopGenerator();
    m_clock.Advance(10);

    Settings().OutSampleRate = 22050;
    Settings().PlayBuffSize = 4096;
    w.StartGenerator();
    QCOMPARE(w.Generator().SamplingFrequency(), 22050);
    QCOMPARE(w.Generator().NumSamples(), 2048);
    QCOMPARE(w.GenOut().FrameRate(), 22050);
    QCOMPARE(w.GenOut().BufferSize(), 4096);
    m_clock.Advance(300);
    QVERIFY(w.GenOut().DoneCount() > 0);
    w.StopGenerator();
    m_clock.Advance(10);
}

void TestGeneratorWindow::playsAContinuousSineAcrossAFrequencyChange()
{
    const int rate = 44100;
    TFrmGenerator w;
    TRecorder recorder(rate);
    QVERIFY2(recorder.In.Start(), qPrintable(recorder.In.ErrorMessage()));
    w.StartGenerator();
    m_clock.Advance(1000);
    const size_t change = recorder.Samples.size();
    w.seFreq().setValue(1500); // while it plays
    m_clock.Advance(1000);
    recorder.In.StopAtOnce();
    w.StopGenerator();
    m_clock.Advance(10);

    const std::vector<qint16> &s = recorder.Samples;
    QVERIFY(s.size() > size_t(1.5 * rate));
    size_t first = 0;
    const double step = LargestStep(s, first);
    // No click: no step larger than the faster wave's steepest slope (plus rounding).
    QVERIFY2(step <= 32767 * 2 * Pi * 1500 / rate + 3, qPrintable(QString::number(step)));
    // Before the change a 1 kHz sine, after the queued blocks have played a 1.5 kHz one.
    const double w1 = 2 * Pi * 1000 / rate, w2 = 2 * Pi * 1500 / rate;
    QVERIFY(RecurrenceError(s, first, change, w1) < 4);
    const size_t later = change + 5 * 4096; // the buffers queued before the change
    QVERIFY(later + 4096 < s.size());
    QVERIFY(RecurrenceError(s, later, s.size(), w2) < 4);
    QVERIFY(RecurrenceError(s, later, s.size(), w1) > 100); // it really changed
    const auto peak = *std::max_element(s.begin(), s.end());
    QVERIFY(peak >= 32760);
}

void TestGeneratorWindow::amplitudeTenPercent()
{
    TFrmGenerator w;
    TRecorder recorder(44100);
    QVERIFY(recorder.In.Start());
    w.SetAmplitude(10);
    w.StartGenerator();
    m_clock.Advance(500);
    recorder.In.StopAtOnce();
    w.StopGenerator();
    m_clock.Advance(10);
    const auto [lo, hi] = std::minmax_element(recorder.Samples.begin(), recorder.Samples.end());
    QVERIFY2(*hi >= 3270 && *hi <= 3277, qPrintable(QString::number(*hi)));
    QVERIFY(*lo <= -3270 && *lo >= -3277);
}

void TestGeneratorWindow::eightBitOutputPlaysTheSameWave()
{
    // 8-bit output: one unsigned byte per sample, so the block holds PlayBuffSize samples.
    Settings().OutQuant = 8;
    TFrmGenerator w;
    TRecorder recorder(44100);
    QVERIFY(recorder.In.Start());
    w.StartGenerator();
    QCOMPARE(w.GenOut().Quantization(), 8);
    QCOMPARE(w.Generator().NumSamples(), 8192);
    m_clock.Advance(1000);
    recorder.In.StopAtOnce();
    w.StopGenerator();
    m_clock.Advance(10);

    const std::vector<qint16> &s = recorder.Samples;
    size_t first = 0;
    const double step = LargestStep(s, first);
    QVERIFY2(step <= 32767 * 2 * Pi * 1000 / 44100 + 512, qPrintable(QString::number(step)));
    int crossings = 0;
    for (size_t i = first + 1; i < s.size(); ++i)
        crossings += (s[i - 1] < 0) != (s[i] < 0);
    const double seconds = double(s.size() - first) / 44100;
    QVERIFY2(std::fabs(crossings / seconds - 2000) < 40, qPrintable(QString::number(crossings)));
    const auto peak = *std::max_element(s.begin(), s.end());
    QVERIFY(peak >= 32000);
}

void TestGeneratorWindow::closingOnlyHides()
{
    QPointer<TFrmGenerator> w = new TFrmGenerator;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->close();
    QVERIFY(w);
    QVERIFY(!w->isVisible());
    delete w;
}

QTEST_MAIN(TestGeneratorWindow)
#include "tst_generatorwindow.moc"
