// The streams on the real PortAudio backend: a 1 kHz sine played through TAudioOut comes
// back through TAudioIn from a sound server's null sink, both on device number 0, the
// system's default (tools/pulse-private.sh starts a private PulseAudio with one and writes
// the variables that point ALSA's default device at it). Skipped when no such server runs.
#include "audio/AudioIn.h"
#include "audio/AudioOut.h"
#include "audio/DeviceList.h"
#include "controls/Clock.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <cmath>
#include <numbers>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace {

constexpr int Rate = 44100;
constexpr double Frequency = 1000.0; // Hz
constexpr double Amplitude = 16000.0; // sample units, about -6.2 dB re full scale

QString EnvFilePath()
{
    const QByteArray dir = qgetenv("ORVI_PULSE_DIR");
    const QString base = dir.isEmpty() ? QStringLiteral("/tmp/orvi-pulse-%1").arg(getuid())
                                       : QString::fromLocal8Bit(dir);
    return base + QStringLiteral("/env");
}

double Rms(const qint16 *samples, int count)
{
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / count);
}

// Frequency from the upward zero crossings, interpolated between samples (Hz).
double ZeroCrossingFrequency(const qint16 *s, int count, int rate)
{
    double first = -1, last = -1;
    int crossings = 0;
    for (int i = 1; i < count; ++i) {
        if (s[i - 1] < 0 && s[i] >= 0) {
            const double t = (i - 1) + double(-s[i - 1]) / double(s[i] - s[i - 1]);
            if (first < 0)
                first = t;
            last = t;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0;
    return (crossings - 1) * rate / (last - first);
}

} // namespace

class TestAudioRealAudio : public QObject
{
    Q_OBJECT

private:
    QString m_skipReason;
    quint32 m_device = TAudioIO::DefaultDevice;

private slots:
    void initTestCase()
    {
#ifndef ORVI_HAVE_PORTAUDIO
        m_skipReason = QStringLiteral("built without PortAudio");
        return;
#endif
        QFile env(EnvFilePath());
        if (!env.open(QIODevice::ReadOnly)) {
            m_skipReason = QStringLiteral("no private sound server (%1 missing; run "
                                          "tools/pulse-private.sh start)")
                               .arg(env.fileName());
            return;
        }
        qint64 pid = 0;
        QString socket;
        for (const QByteArray &line : env.readAll().split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq <= 0)
                continue;
            const QByteArray key = line.left(eq), value = line.mid(eq + 1);
            qputenv(key.constData(), value);
            if (key == "ORVI_PULSE_PID")
                pid = value.toLongLong();
            if (key == "PULSE_SERVER")
                socket = QString::fromLocal8Bit(value.mid(value.indexOf(':') + 1));
        }
        if (pid <= 0 || ::kill(pid_t(pid), 0) != 0 || !QFileInfo(socket).exists()) {
            m_skipReason = QStringLiteral("the private sound server (pid %1, %2) is not running")
                               .arg(pid)
                               .arg(socket);
            return;
        }
        // Number 0 is the system's default, which the script's ALSA configuration leads to
        // the server: what a user gets without choosing anything.
        const QStringList outputs
            = TDeviceList::Names(EAudioBackend::PortAudio, EAudioDirection::Output);
        const QStringList inputs
            = TDeviceList::Names(EAudioBackend::PortAudio, EAudioDirection::Input);
        const QString defaultName = TDeviceList::DefaultDeviceName(QStringLiteral("default"));
        if (outputs.value(0) != defaultName || inputs.value(0) != defaultName) {
            m_skipReason
                = QStringLiteral("device 0 is not ALSA's default in both directions "
                                 "(outputs: %1; inputs: %2)")
                      .arg(outputs.join(QLatin1String(", ")), inputs.join(QLatin1String(", ")));
            return;
        }
        m_device = 0;
    }

    void init()
    {
        if (!m_skipReason.isEmpty()) {
            // The test script sets this once it has started the server: from then on a
            // missing device is a fault, not a reason to skip.
            if (qEnvironmentVariableIntValue("ORVI_REQUIRE_REAL_AUDIO") == 1)
                QFAIL(qPrintable(m_skipReason));
            QSKIP(qPrintable(m_skipReason));
        }
    }

    // The command line lists the same numbering, and nothing from the sound libraries'
    // own probing reaches the terminal.
    void commandLineListsDefaultFirstWithoutLibraryNoise()
    {
        QProcess cli;
        cli.start(QStringLiteral(ORVI_CLI_PATH), { QStringLiteral("devices") });
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardError()), QString());
        const QString text = QString::fromUtf8(cli.readAllStandardOutput());
        const QString first = QStringLiteral("  0: ")
            + TDeviceList::DefaultDeviceName(QStringLiteral("default")) + QLatin1Char('\n');
        QCOMPARE(text.count(first), 2); // output and input
    }

    void sinePlayedComesBackAtSameLevelAndFrequency()
    {

        // A machine busy enough to starve the sound server leaves gaps in the signal; the
        // streams count them. Such a run says nothing about level or frequency, so it is
        // repeated (at most three runs); the last run is checked whatever its counts.
        TRun run;
        for (int attempt = 1; attempt <= 3; ++attempt) {
            run = PlayAndRecord();
            if (!run.Error.isEmpty())
                QFAIL(qPrintable(run.Error));
            qInfo("run %d: output %d buffers, %lld underruns; input %d buffers, %lld overruns",
                  attempt, run.OutBuffers, run.Underruns, run.InBuffers, run.Overruns);
            if (run.Underruns == 0 && run.Overruns == 0)
                break;
        }
        const std::vector<qint16> &recorded = run.Recorded;

        // Where the sine arrived: the first sample above half its amplitude.
        qsizetype onset = -1;
        for (size_t i = 0; i < recorded.size(); ++i) {
            if (std::abs(int(recorded[i])) > Amplitude / 2) {
                onset = qsizetype(i);
                break;
            }
        }
        QVERIFY2(onset >= 0, "nothing came back from the null sink's monitor");
        // A steady second from 0.5 s after the onset (the server's resampler settles).
        const qsizetype from = onset + Rate / 2;
        QVERIFY2(from + Rate <= qsizetype(recorded.size()), "the recording is too short");
        const qint16 *steady = recorded.data() + from;

        const double expectedRms = Amplitude / std::sqrt(2.0);
        const double levelDb = 20 * std::log10(Rms(steady, Rate) / expectedRms);
        const double f = ZeroCrossingFrequency(steady, Rate, Rate);
        qInfo("level %+.4f dB, frequency %.3f Hz", levelDb, f);
        QVERIFY2(std::abs(levelDb) <= 0.1, qPrintable(QStringLiteral("level %1 dB").arg(levelDb)));
        QVERIFY2(std::abs(f - Frequency) < 0.5, qPrintable(QStringLiteral("%1 Hz").arg(f)));
    }

private:
    struct TRun
    {
        QString Error;
        std::vector<qint16> Recorded;
        int OutBuffers = 0;
        int InBuffers = 0;
        qint64 Underruns = 0;
        qint64 Overruns = 0;
    };

    static TRun Failed(const QString &error)
    {
        TRun run;
        run.Error = error;
        return run;
    }

    // Plays 3 s of the sine through TAudioOut while TAudioIn records, both at Rate.
    TRun PlayAndRecord()
    {
        TRun run;
        TAudioIn in;
        in.SetBackend(EAudioBackend::PortAudio);
        in.SetWaveDevice(m_device);
        in.SetNumBuffers(4);
        in.SetBufferSize(8192);
        in.SetFrameRate(Rate);
        run.Recorded.reserve(size_t(Rate) * 8);
        in.OnBufferFilled = [&](char *buffer, int &size) {
            const auto *s = reinterpret_cast<const qint16 *>(buffer);
            run.Recorded.insert(run.Recorded.end(), s, s + size / 2);
            return true;
        };

        TAudioOut out;
        out.SetBackend(EAudioBackend::PortAudio);
        out.SetWaveDevice(m_device);
        out.SetBufferSize(8192);
        out.SetFrameRate(Rate);
        qint64 n = 0;
        const qint64 total = qint64(Rate) * 3;
        out.OnFillBuffer = [&](char *buffer, int &size) {
            if (n >= total)
                return false;
            auto *s = reinterpret_cast<qint16 *>(buffer);
            const int count = size / 2;
            for (int i = 0; i < count; ++i, ++n)
                s[i] = qint16(std::lrint(
                    Amplitude * std::sin(2 * std::numbers::pi * Frequency * double(n) / Rate)));
            return true;
        };

        if (!in.Start())
            return Failed(QStringLiteral("input: ") + in.ErrorMessage());
        if (!out.Start()) {
            in.StopAtOnce();
            return Failed(QStringLiteral("output: ") + out.ErrorMessage());
        }
        TClock &clock = TClock::System();
        const qint64 limit = clock.NowMs() + 15000;
        while (out.DeviceOpen() && clock.NowMs() < limit)
            clock.WaitProcessing(20);
        if (out.DeviceOpen()) {
            out.StopAtOnce();
            in.StopAtOnce();
            return Failed(QStringLiteral("the output did not finish within 15 s"));
        }
        clock.WaitProcessing(300); // the tail reaches the monitor
        in.StopGracefully();
        while (in.DeviceOpen() && clock.NowMs() < limit + 2000)
            clock.WaitProcessing(20);
        if (in.DeviceOpen()) {
            in.StopAtOnce();
            return Failed(QStringLiteral("the input did not close after a graceful stop"));
        }
        run.OutBuffers = out.DoneCount();
        run.InBuffers = in.FilledCount();
        run.Underruns = out.Underruns();
        run.Overruns = in.Overruns();
        return run;
    }
};

QTEST_MAIN(TestAudioRealAudio)
#include "tst_audiorealaudio.moc"
