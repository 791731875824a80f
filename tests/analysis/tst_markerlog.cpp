// The marker log kept beside a recording: its text reads back to the same log in any locale,
// anything malformed is refused with a reason, and angles follow the markers.

#include "analysis/MarkerLog.h"

#include <QLocale>
#include <QtTest>

class TestMarkerLog : public QObject
{
    Q_OBJECT

private slots:
    void textRoundTrip();
    void missingAndUnknownKeys();
    void malformedRefused_data();
    void malformedRefused();
    void tooManyMarkersRefused();
    void angleAt_data();
    void angleAt();
    void angleAtFromPositions_data();
    void angleAtFromPositions();
    void pathFor_data();
    void pathFor();

private:
    static QByteArray Valid(const QByteArray &extra = {})
    {
        return "# Orvi marker log 1\nsignal = Chirp\nfrequency = 1000\nrate = 48000\n"
               "start = 0\nstop = 360\nmarker 1 100.5\nmarker 2 200\n"
            + extra;
    }
};

void TestMarkerLog::textRoundTrip()
{
    TMarkerLog log;
    log.Signal = TSignalType::PinkNoise;
    log.FrequencyHz = 1234.5678;
    log.AmplitudePercent = 37.25;
    log.PlayBufferBytes = 8192;
    log.SampleRate = 96000;
    log.StartDeg = -180;
    log.StopDeg = 180;
    log.LeadMs = 512.0625;
    log.RecordedSamples = 9876543210;
    log.MarkerSamples = { 0.125, 48000.1, 1234567890.123456789 };
    log.Positions = { { 10.5, -180.125 }, { 2205.25, -179.9 }, { 2205.5, -179.9 } };
    // A decimal comma locale must not leak into the file.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const QByteArray text = log.ToText();
    QLocale::setDefault(saved);
    QVERIFY(text.startsWith("# Orvi marker log 1\n"));
    QVERIFY(text.contains("\nmarker 2 48000.1\n"));

    QString error;
    const std::optional<TMarkerLog> back = TMarkerLog::FromText(text, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->Signal, log.Signal);
    QCOMPARE(back->FrequencyHz, log.FrequencyHz);
    QCOMPARE(back->AmplitudePercent, log.AmplitudePercent);
    QCOMPARE(back->PlayBufferBytes, log.PlayBufferBytes);
    QCOMPARE(back->SampleRate, log.SampleRate);
    QCOMPARE(back->StartDeg, log.StartDeg);
    QCOMPARE(back->StopDeg, log.StopDeg);
    QCOMPARE(back->LeadMs, log.LeadMs);
    QCOMPARE(back->RecordedSamples, log.RecordedSamples);
    QCOMPARE(back->MarkerSamples, log.MarkerSamples);
    QCOMPARE(back->Positions.size(), log.Positions.size());
    for (std::size_t i = 0; i < log.Positions.size(); ++i) {
        QCOMPARE(back->Positions[i].Sample, log.Positions[i].Sample);
        QCOMPARE(back->Positions[i].Degrees, log.Positions[i].Degrees);
    }
}

void TestMarkerLog::missingAndUnknownKeys()
{
    const std::optional<TMarkerLog> log = TMarkerLog::FromText(
        "# Orvi marker log 1\r\nrate = 22050\r\ncolour = blue\r\nsignal = Sinus\r\n");
    QVERIFY(log);
    QCOMPARE(log->Signal, TSignalType::Sinus);
    QCOMPARE(log->SampleRate, 22050);
    const TMarkerLog defaults;
    QCOMPARE(log->PlayBufferBytes, defaults.PlayBufferBytes);
    QCOMPARE(log->StopDeg, defaults.StopDeg);
    QVERIFY(log->MarkerSamples.empty());
}

void TestMarkerLog::malformedRefused_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("reason"); // part of the message

    QTest::newRow("no header") << Valid().mid(20) << "# Orvi marker log 1";
    QTest::newRow("later version") << "# Orvi marker log 2\n" + Valid().mid(20) << "wersja";
    QTest::newRow("unknown signal") << Valid().replace("Chirp", "Chirp2") << "Chirp2";
    QTest::newRow("rate low") << Valid().replace("48000", "999") << "\"rate\" w wierszu 4";
    QTest::newRow("rate high") << Valid().replace("48000", "384001") << "rate";
    QTest::newRow("rate fraction") << Valid().replace("48000", "48000.5") << "rate";
    QTest::newRow("play-buffer low") << Valid("play-buffer = 511\n") << "play-buffer";
    QTest::newRow("play-buffer high") << Valid("play-buffer = 4194305\n") << "play-buffer";
    QTest::newRow("start low") << Valid().replace("start = 0", "start = -361") << "start";
    QTest::newRow("stop high") << Valid().replace("stop = 360", "stop = 721") << "stop";
    QTest::newRow("start not below stop")
        << Valid().replace("stop = 360", "stop = 0") << "mniejszy";
    QTest::newRow("amplitude") << Valid("amplitude = 100.5\n") << "amplitude";
    QTest::newRow("frequency zero") << Valid().replace("= 1000", "= 0") << "frequency";
    QTest::newRow("frequency inf") << Valid().replace("= 1000", "= inf") << "frequency";
    QTest::newRow("lead nan") << Valid("lead-ms = nan\n") << "lead-ms";
    QTest::newRow("samples negative") << Valid("samples = -1\n") << "samples";
    QTest::newRow("duplicate") << Valid("rate = 48000\n") << "Powtórzony";
    QTest::newRow("no rate") << Valid().replace("rate = 48000\n", "") << "\"rate\"";
    QTest::newRow("no signal") << Valid().replace("signal = Chirp\n", "") << "\"signal\"";
    QTest::newRow("marker skipped") << Valid("marker 4 300\n") << "zamiast 3";
    QTest::newRow("marker from 2") << Valid().replace("marker 1", "marker 2") << "zamiast 1";
    QTest::newRow("marker backwards") << Valid("marker 3 199.9\n") << "przed poprzednim";
    QTest::newRow("marker repeated")
        << Valid("marker 3 200\n") << "(wiersz 9) leży w nagraniu w tym";
    QTest::newRow("marker negative") << Valid().replace("100.5", "-0.5") << "wierszu 7";
    QTest::newRow("marker nan") << Valid("marker 3 nan\n") << "wierszu 9";
    QTest::newRow("marker words") << Valid("marker 3 300 1\n") << "wierszu 9";
    QTest::newRow("stray line") << Valid("hello\n") << "wiersz 9";
    QTest::newRow("position at the same sample")
        << Valid("position 50 1\nposition 50 2\n") << "wierszu 10 nie leży";
    QTest::newRow("position turning back")
        << Valid("position 50 2\nposition 60 1.5\n") << "wierszu 10 cofa";
    QTest::newRow("position nan") << Valid("position 50 nan\n") << "wierszu 9";
    QTest::newRow("position far out") << Valid("position 50 1e9\n") << "wierszu 9";
    QTest::newRow("position words") << Valid("position 50\n") << "wierszu 9";
}

void TestMarkerLog::malformedRefused()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!TMarkerLog::FromText(text, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestMarkerLog::tooManyMarkersRefused()
{
    QByteArray text = Valid().replace("marker 1 100.5\nmarker 2 200\n", "");
    for (int k = 1; k <= 100000; ++k)
        text += "marker " + QByteArray::number(k) + ' ' + QByteArray::number(k * 10) + '\n';
    QVERIFY(TMarkerLog::FromText(text));
    QString error;
    QVERIFY(!TMarkerLog::FromText(text + "marker 100001 2000000\n", &error));
    QVERIFY2(error.contains("100000"), qPrintable(error));
}

void TestMarkerLog::angleAt_data()
{
    QTest::addColumn<QList<double>>("markers");
    QTest::addColumn<int>("startDeg");
    QTest::addColumn<qint64>("recorded");
    QTest::addColumn<double>("sample");
    QTest::addColumn<double>("angle");

    // Uneven spacing (500, 2000, 500 samples): 30° over 3000 samples on average, 0.01°/sample.
    const QList<double> uneven { 1000, 1500, 3500, 4000 };
    QTest::newRow("at first") << uneven << -180 << qint64(5000) << 1000.0 << -170.0;
    QTest::newRow("short span") << uneven << -180 << qint64(5000) << 1250.0 << -165.0;
    QTest::newRow("long span") << uneven << -180 << qint64(5000) << 2000.0 << -157.5;
    QTest::newRow("at third") << uneven << -180 << qint64(5000) << 3500.0 << -150.0;
    QTest::newRow("at last") << uneven << -180 << qint64(5000) << 4000.0 << -140.0;
    QTest::newRow("before first") << uneven << -180 << qint64(5000) << 0.0 << -180.0;
    QTest::newRow("after last") << uneven << -180 << qint64(5000) << 4500.5 << -134.995;
    // One marker: the speed of the whole recording (360° over 36000 samples), from the marker.
    QTest::newRow("one marker before")
        << QList<double> { 2000 } << 0 << qint64(36000) << 0.0 << -10.0;
    QTest::newRow("one marker after")
        << QList<double> { 2000 } << 0 << qint64(36000) << 3000.0 << 20.0;
    QTest::newRow("no marker") << QList<double> {} << 0 << qint64(36000) << 18000.0 << 180.0;
    QTest::newRow("nothing recorded") << QList<double> {} << 30 << qint64(0) << 500.0 << 30.0;
}

void TestMarkerLog::angleAt()
{
    QFETCH(QList<double>, markers);
    QFETCH(int, startDeg);
    QFETCH(qint64, recorded);
    QFETCH(double, sample);
    QFETCH(double, angle);
    TMarkerLog log;
    log.StartDeg = startDeg;
    log.StopDeg = startDeg + 360;
    log.RecordedSamples = recorded;
    log.MarkerSamples.assign(markers.begin(), markers.end());
    QVERIFY2(qAbs(log.AngleAt(sample) - angle) < 1e-9,
             qPrintable(QString::number(log.AngleAt(sample))));
}

// With two or more reported positions the angles come from them, whatever the markers say.
void TestMarkerLog::angleAtFromPositions_data()
{
    QTest::addColumn<double>("sample");
    QTest::addColumn<double>("angle");
    QTest::newRow("at a report") << 1000.0 << -89.5;
    QTest::newRow("between reports") << 1500.0 << -89.0;
    QTest::newRow("before the first") << 0.0 << -90.0; // at the mean speed, 0.0005°/sample
    QTest::newRow("after the last") << 5000.0 << -87.5;
}

void TestMarkerLog::angleAtFromPositions()
{
    QFETCH(double, sample);
    QFETCH(double, angle);
    TMarkerLog log;
    log.StartDeg = -90;
    log.StopDeg = 90;
    log.RecordedSamples = 5000;
    log.MarkerSamples = { 100, 200 }; // not where the table was
    log.Positions = { { 1000, -89.5 }, { 2000, -88.5 }, { 3000, -88.5 }, { 4000, -88.0 } };
    QVERIFY2(qAbs(log.AngleAt(sample) - angle) < 1e-9,
             qPrintable(QString::number(log.AngleAt(sample))));
}

void TestMarkerLog::pathFor_data()
{
    QTest::addColumn<QString>("recording");
    QTest::addColumn<QString>("log");
    QTest::newRow("wav") << "x/a.wav"
                         << "x/a.markers.txt";
    QTest::newRow("upper case") << "x/a.WaV"
                                << "x/a.markers.txt";
    QTest::newRow("other") << "x/a.raw"
                           << "x/a.raw.markers.txt";
    QTest::newRow("wav inside") << "x/a.wav.bak"
                                << "x/a.wav.bak.markers.txt";
}

void TestMarkerLog::pathFor()
{
    QFETCH(QString, recording);
    QFETCH(QString, log);
    QCOMPARE(TMarkerLog::PathFor(recording), log);
}

QTEST_MAIN(TestMarkerLog)
#include "tst_markerlog.moc"
