// A kept recording analysed again into a chart: recordings that hold no signal add nothing,
// and one that ended before the range did spreads its level series over what it covers.

#include "analysis/BroadbandAnalysis.h"
#include "analysis/RecordingAnalysis.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sndfile.h>

#include <cmath>

namespace {

constexpr int Rate = 44100;
constexpr int Period = 8192; // the MLS of a 16384-byte play buffer
// The range -90..90 takes this many samples: 80 periods, a marker every 10°.
constexpr double TurnSamples = 80.0 * Period;

TMarkerLog RangeLog()
{
    TMarkerLog log;
    log.Signal = TSignalType::MLS;
    log.PlayBufferBytes = 16384;
    log.SampleRate = Rate;
    log.StartDeg = -90;
    log.StopDeg = 90;
    log.LeadMs = 1000;
    return log;
}

// periods periods of the excitation at half scale, with the markers the table gave on its way.
TWavFile::TRecording Recorded(TMarkerLog &log, int periods)
{
    const std::optional<std::vector<double>> x = TBroadbandAnalysis::Excitation(log, {});
    TWavFile::TRecording recording;
    recording.SampleRate = Rate;
    for (int n = 0; n < periods * Period; ++n)
        recording.Samples.push_back(qint16(std::lround(16384 * (*x)[size_t(n % Period)])));
    const double spacing = TurnSamples / 18;
    for (double s = spacing; s <= double(recording.Samples.size()); s += spacing)
        log.MarkerSamples.push_back(s);
    log.RecordedSamples = qint64(recording.Samples.size());
    return recording;
}

TKeptMeasurement Measurement(const TMarkerLog &log)
{
    TKeptMeasurement m;
    m.Recording = QStringLiteral("/nagrania/rec.wav");
    m.Log = log;
    m.Options.BandsHz = { 1000, 4000 };
    m.Name = QStringLiteral("Pomiar 1");
    return m;
}

// A stereo WAV whose first channel is silent and whose second holds the excitation, read
// back as the program reads it.
TWavFile::TRecording SilentFirstChannel(const QString &path, const TWavFile::TRecording &signal)
{
    SF_INFO info {};
    info.samplerate = Rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    std::vector<qint16> frames;
    for (qint16 s : signal.Samples)
        frames.insert(frames.end(), { qint16(0), s });
    sf_writef_short(file, frames.data(), sf_count_t(signal.Samples.size()));
    sf_close(file);
    return TWavFile::Read(path).value_or(TWavFile::TRecording {});
}

} // namespace

class TestRecordingAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void silentRecordingAddsNothing_data();
    void silentRecordingAddsNothing();
    void levelSeriesCoversWhatWasRecorded_data();
    void levelSeriesCoversWhatWasRecorded();
};

void TestRecordingAnalysis::silentRecordingAddsNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("all zeros") << "zeros";
    QTest::newRow("silent first channel") << "stereo";
    // ±1 LSB: about -92 dB FS, the noise of a rig that played nothing.
    QTest::newRow("noise only") << "noise";
}

void TestRecordingAnalysis::silentRecordingAddsNothing()
{
    QFETCH(QString, kind);
    TMarkerLog log = RangeLog();
    TWavFile::TRecording recording = Recorded(log, 40);
    QTemporaryDir dir;
    if (kind == QLatin1String("stereo")) {
        recording = SilentFirstChannel(dir.filePath("stereo.wav"), recording);
    } else {
        for (size_t i = 0; i < recording.Samples.size(); ++i)
            recording.Samples[i] = kind == QLatin1String("noise") ? qint16(int(i % 3) - 1) : 0;
    }
    QCOMPARE(qint64(recording.Samples.size()), log.RecordedSamples);
    TPolarGraph chart;
    QString error;
    QVERIFY(!TRecordingAnalysis::AddTo(chart, Measurement(log), recording, 0x0000FF, 512, &error));
    QVERIFY2(error.contains(QStringLiteral("brak sygnału w nagraniu")), qPrintable(error));
    QCOMPARE(chart.SeriesCount(), 0);
}

void TestRecordingAnalysis::levelSeriesCoversWhatWasRecorded_data()
{
    QTest::addColumn<int>("periods");
    QTest::addColumn<bool>("early"); // the recording ended before the range did
    QTest::newRow("whole range") << 80 << false;
    QTest::newRow("ended at 45 degrees") << 60 << true;
}

void TestRecordingAnalysis::levelSeriesCoversWhatWasRecorded()
{
    QFETCH(int, periods);
    QFETCH(bool, early);
    TMarkerLog log = RangeLog();
    const TWavFile::TRecording recording = Recorded(log, periods);
    TPolarGraph chart;
    QString error;
    const auto outcome
        = TRecordingAnalysis::AddTo(chart, Measurement(log), recording, 0x0000FF, 512, &error);
    QVERIFY2(outcome, qPrintable(error));
    const double end = log.AngleAt(double(log.RecordedSamples));
    const double lastLevel = outcome->Level->Points().back().Angle;
    const double lastBand = outcome->Bands.front()->Points().back().Angle;
    // The level series ends where the recording did, as the band series do.
    QVERIFY2(lastLevel <= end && lastLevel > end - 1.5,
             qPrintable(QStringLiteral("%1 / %2").arg(lastLevel).arg(end)));
    QVERIFY2(std::abs(lastLevel - lastBand) < 2.5,
             qPrintable(QStringLiteral("%1 / %2").arg(lastLevel).arg(lastBand)));
    const QString warnings = outcome->Result->Warnings.join(QLatin1Char(' '));
    QCOMPARE(warnings.contains(QStringLiteral("skończyło się wcześniej")), early);
}

QTEST_MAIN(TestRecordingAnalysis)
#include "tst_recordinganalysis.moc"
