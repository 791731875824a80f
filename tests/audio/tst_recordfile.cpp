// The raw recording file: always signed 16-bit samples, and never half a file.

#include "audio/RecordFile.h"
#include "document/InOutError.h"
#include "document/helpers/FileSizeLimit.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

class TestRecordFile : public QObject
{
    Q_OBJECT

private slots:
    void eightBitInputIsWidenedTo16Bits();
    void failedWriteLeavesEarlierRecording();
    void missingFolderThrows();

private:
    static QByteArray Read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

void TestRecordFile::eightBitInputIsWidenedTo16Bits()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("temp.raw");
    TRecordFile file;
    file.Open(path);
    const char eight[] = { char(0), char(1), char(127), char(128), char(129), char(255) };
    QVERIFY(file.Append(eight, 6, 8));
    const qint16 sixteen[] = { 1000, -1000 };
    QVERIFY(file.Append(reinterpret_cast<const char *>(sixteen), 4, 16));
    QVERIFY(!QFileInfo::exists(path)); // the file appears when it is complete
    file.Close();
    const QByteArray bytes = Read(path);
    QCOMPARE(bytes.size(), 16);
    QList<int> samples;
    for (int i = 0; i < 8; ++i)
        samples << qFromLittleEndian<qint16>(bytes.constData() + 2 * i);
    QCOMPARE(samples, QList<int>({ -32768, -32512, -256, 0, 256, 32512, 1000, -1000 }));
}

void TestRecordFile::failedWriteLeavesEarlierRecording()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("temp.raw");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("earlier");
    }
    TRecordFile file;
    file.Open(path);
    const QByteArray buffer(8192, '\x22');
    {
        const TFileSizeLimit limit(20000);
        QVERIFY(limit.Ok());
        QVERIFY(file.Append(buffer.constData(), 8192, 16));
        QVERIFY(file.Append(buffer.constData(), 8192, 16));
        QVERIFY(!file.Append(buffer.constData(), 8192, 16));
        QVERIFY(!file.Append(buffer.constData(), 8192, 16)); // nothing more after a failure
    }
    QVERIFY(file.WriteFailed());
    QVERIFY(file.WriteError().contains(QLatin1String("File too large")));
    file.Close(); // reported already: no second report
    QCOMPARE(Read(path), QByteArray("earlier"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "temp.raw" });
}

void TestRecordFile::missingFolderThrows()
{
    QTemporaryDir dir;
    TRecordFile file;
    QVERIFY_THROWS_EXCEPTION(EInOutError, file.Open(dir.filePath("gone/temp.raw")));
    QVERIFY(!file.IsOpen());
    QVERIFY(!file.Append("x", 1, 16));
}

QTEST_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
