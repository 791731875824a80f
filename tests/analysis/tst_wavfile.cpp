// Kept recordings: the WAV holds exactly the recorded 16-bit samples, foreign files read as
// expected, bad ones fail with the file's name, and the archive keeps recording and log
// together without ever leaving half a file.

#include "analysis/RecordingArchive.h"
#include "analysis/WavFile.h"
#include "controls/FileWriter.h"
#include "document/helpers/FileSizeLimit.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sndfile.h>
#include <sys/stat.h>

class TestWavFile : public QObject
{
    Q_OBJECT

private slots:
    void writtenWavReadsBackExactly();
    void floatStereoGivesFirstChannel();
    void unreadableFails_data();
    void unreadableFails();
    void baseName_data();
    void baseName();
    void keepAndLoad();
    void loadWithoutLogFails();
    void fullDiskLeavesNothing();
    void irregularFilesRefused_data();
    void irregularFilesRefused();
    void longerThanATurnRefused_data();
    void longerThanATurnRefused();
    void keptWavAlwaysHasItsLog();

private:
    static std::vector<qint16> TestSamples(int count)
    {
        std::vector<qint16> samples { -32768, 32767, 0, -1, 1 };
        for (int i = 0; int(samples.size()) < count; ++i)
            samples.push_back(qint16((i * 7919) % 65536 - 32768));
        return samples;
    }
    static void WriteRaw(const QString &path, const std::vector<qint16> &samples)
    {
        QByteArray bytes(qsizetype(samples.size() * 2), '\0');
        qToLittleEndian<qint16>(samples.data(), qsizetype(samples.size()), bytes.data());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    static TMarkerLog Log()
    {
        TMarkerLog log;
        log.Signal = TSignalType::Chirp;
        log.SampleRate = 22050;
        log.MarkerSamples = { 10.5, 300.25, 301 };
        return log;
    }
    static const QDateTime When;

    // Reads path as a kept recording (wav), a marker log (log) or a raw recording (raw) of at
    // most maxSamples; false with the message in error.
    static bool ReadAs(const QString &reader, const QString &path, qint64 maxSamples,
                       QString &error)
    {
        if (reader == QLatin1String("wav"))
            return bool(TWavFile::Read(path, &error));
        if (reader == QLatin1String("log"))
            return bool(TRecordingArchive::ReadLog(path, &error));
        return bool(TRecordingArchive::ReadRaw(path, maxSamples, &error));
    }
};

const QDateTime TestWavFile::When(QDate(2024, 3, 5), QTime(14, 7, 9));

void TestWavFile::writtenWavReadsBackExactly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.wav");
    const std::vector<qint16> samples = TestSamples(70001); // more than one write piece
    QString error;
    QVERIFY2(TWavFile::Write(path, samples.data(), qint64(samples.size()), 48000, &error),
             qPrintable(error));

    SF_INFO info {};
    SNDFILE *file = sf_open(path.toLocal8Bit().constData(), SFM_READ, &info);
    QVERIFY(file);
    sf_close(file);
    QCOMPARE(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    QCOMPARE(info.channels, 1);
    QCOMPARE(info.samplerate, 48000);
    QCOMPARE(info.frames, sf_count_t(samples.size()));

    const std::optional<TWavFile::TRecording> back = TWavFile::Read(path, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->SampleRate, 48000);
    QVERIFY(back->Samples == samples);
}

void TestWavFile::floatStereoGivesFirstChannel()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("stereo.wav");
    SF_INFO info {};
    info.samplerate = 8000;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE *file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    QVERIFY(file);
    const float frames[] = { 0.5f, 0.9f, -1.0f, 0.0f, 0.25f, -0.9f, 2.0f, 0.0f };
    QCOMPARE(sf_writef_float(file, frames, 4), sf_count_t(4));
    QCOMPARE(sf_close(file), 0);

    const std::optional<TWavFile::TRecording> back = TWavFile::Read(path);
    QVERIFY(back);
    QCOMPARE(back->SampleRate, 8000);
    QCOMPARE(back->Samples, (std::vector<qint16> { 16384, -32768, 8192, 32767 }));
}

void TestWavFile::unreadableFails_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text") << QByteArray("this is not a recording at all, just some words.");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("cut header") << QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16);
}

void TestWavFile::unreadableFails()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.wav");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QString error;
    QVERIFY(!TWavFile::Read(path, &error));
    QVERIFY2(error.startsWith("Nie można odczytać nagrania \"" + QDir::toNativeSeparators(path)),
             qPrintable(error));
    error.clear();
    QVERIFY(!TWavFile::ReadBytes(bytes.constData(), bytes.size(), &error));
    QVERIFY(!error.isEmpty());
}

void TestWavFile::baseName_data()
{
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("base");
    QTest::newRow("plain") << "Pomiar 1"
                           << "2024-03-05 14-07-09 Pomiar 1";
    QTest::newRow("forbidden") << " a/b:c? "
                               << "2024-03-05 14-07-09 a_b_c_";
    QTest::newRow("none") << ""
                          << "2024-03-05 14-07-09";
}

void TestWavFile::baseName()
{
    QFETCH(QString, series);
    QFETCH(QString, base);
    QCOMPARE(TRecordingArchive::BaseName(When, series), base);
}

void TestWavFile::keepAndLoad()
{
    QTemporaryDir dir;
    const QString raw = dir.filePath("temp.raw");
    const std::vector<qint16> samples = TestSamples(1000);
    WriteRaw(raw, samples);
    QString error;
    const std::optional<QString> kept
        = TRecordingArchive::Keep(raw, Log(), dir.path(), When, "Pomiar 1", &error);
    QVERIFY2(kept, qPrintable(error));
    const QString base = dir.path() + "/Pomiary/2024-03-05 14-07-09 Pomiar 1";
    QCOMPARE(*kept, base + ".wav");
    QVERIFY(QFileInfo::exists(base + ".markers.txt"));

    const auto loaded = TRecordingArchive::Load(*kept, &error);
    QVERIFY2(loaded, qPrintable(error));
    QCOMPARE(loaded->first.SampleRate, 22050);
    QVERIFY(loaded->first.Samples == samples);
    QCOMPARE(loaded->second.Signal, TSignalType::Chirp);
    QCOMPARE(loaded->second.RecordedSamples, qint64(samples.size()));
    QCOMPARE(loaded->second.MarkerSamples, Log().MarkerSamples);

    // The same moment again: a new pair beside the first, which stays as it was.
    WriteRaw(raw, { 5, 6 });
    const std::optional<QString> second
        = TRecordingArchive::Keep(raw, Log(), dir.path(), When, "Pomiar 1", &error);
    QVERIFY2(second, qPrintable(error));
    QCOMPARE(*second, base + " (2).wav");
    QCOMPARE(TRecordingArchive::Load(*second)->first.Samples, (std::vector<qint16> { 5, 6 }));
    QVERIFY(TRecordingArchive::Load(*kept)->first.Samples == samples);

    // A log left alone under the next name (its WAV gone) is not overwritten either.
    const QByteArray orphan = "# Orvi marker log 1\nsignal = MLS\nrate = 44100\n";
    QVERIFY(TFileWriter::WriteFile(base + " (3).markers.txt", orphan));
    const std::optional<QString> third
        = TRecordingArchive::Keep(raw, Log(), dir.path(), When, "Pomiar 1", &error);
    QVERIFY2(third, qPrintable(error));
    QCOMPARE(*third, base + " (4).wav");
    QVERIFY(!QFileInfo::exists(base + " (3).wav"));
    QFile left(base + " (3).markers.txt");
    QVERIFY(left.open(QIODevice::ReadOnly));
    QCOMPARE(left.readAll(), orphan);
}

void TestWavFile::loadWithoutLogFails()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("alone.wav");
    const qint16 samples[] = { 1, 2, 3 };
    QVERIFY(TWavFile::Write(path, samples, 3, 44100));
    QString error;
    QVERIFY(!TRecordingArchive::Load(path, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(dir.filePath("alone.markers.txt"))),
             qPrintable(error));
}

void TestWavFile::fullDiskLeavesNothing()
{
    QTemporaryDir dir;
    const QString raw = dir.filePath("temp.raw");
    WriteRaw(raw, TestSamples(100000)); // 200 kB
    QVERIFY(QDir().mkpath(TRecordingArchive::Folder(dir.path())));
    QString error;
    {
        const TFileSizeLimit limit(100000);
        QVERIFY(limit.Ok());
        QVERIFY(!TRecordingArchive::Keep(raw, Log(), dir.path(), When, "Pomiar", &error));
    }
    QVERIFY2(error.contains("File too large"), qPrintable(error));
    QVERIFY2(error.contains("Pomiar.wav"), qPrintable(error));
    QCOMPARE(QDir(TRecordingArchive::Folder(dir.path())).entryList(QDir::Files | QDir::Hidden),
             QStringList());
}

void TestWavFile::irregularFilesRefused_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("kind");
    for (const char *reader : { "wav", "log", "raw" })
        for (const char *kind : { "folder", "fifo", "device" })
            QTest::addRow("%s %s", reader, kind) << QString(reader) << QString(kind);
}

void TestWavFile::irregularFilesRefused()
{
    QFETCH(QString, reader);
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("rec.wav");
    // A FIFO nobody writes to would block a reader forever, a device never ends.
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(QFile::link("/dev/zero", path));
    QString error;
    QVERIFY(!ReadAs(reader, path, qint64(1) << 20, error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
}

void TestWavFile::longerThanATurnRefused_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QByteArray>("bytes"); // empty: a WAV at 1000 Hz one sample past the limit
    QTest::addColumn<QString>("reason");
    QTest::newRow("wav") << "wav" << QByteArray() << "20 min";
    QTest::newRow("raw") << "raw" << QByteArray(2002, '\1') << "20 min";
    // A turn's log is a few kB; one of 300 kB is no turn's.
    QTest::newRow("log") << "log"
                         << "# Orvi marker log 1\nsignal = MLS\nrate = 44100\n"
            + QByteArray(300000, '#') + '\n'
                         << "za duży";
}

void TestWavFile::longerThanATurnRefused()
{
    QFETCH(QString, reader);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("long");
    if (bytes.isEmpty()) {
        const std::vector<qint16> samples(size_t(TWavFile::MaxTurnSamples(1000) + 1), 100);
        QVERIFY(TWavFile::Write(path, samples.data(), qint64(samples.size()), 1000));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QString error;
    QVERIFY(!ReadAs(reader, path, 1000, error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestWavFile::keptWavAlwaysHasItsLog()
{
    QTemporaryDir dir;
    const QString raw = dir.filePath("temp.raw");
    WriteRaw(raw, TestSamples(1000));
    // The WAV's name is held by an empty file, which can be written in place; the log is a new
    // file and cannot be made: the one write fails, as when the program is killed between them.
    TFileWriter::RefuseTemporaryFilesForTesting(true);
    QString error;
    const bool kept = bool(TRecordingArchive::Keep(raw, Log(), dir.path(), When, "Pomiar", &error));
    TFileWriter::RefuseTemporaryFilesForTesting(false);
    QVERIFY(!kept);
    const QDir folder(TRecordingArchive::Folder(dir.path()));
    for (const QString &wav : folder.entryList({ "*.wav" }, QDir::Files))
        QVERIFY2(QFileInfo::exists(TMarkerLog::PathFor(folder.filePath(wav))), qPrintable(wav));
}

QTEST_MAIN(TestWavFile)
#include "tst_wavfile.moc"
