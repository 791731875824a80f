// The checked writer in a folder that refuses new files: an existing writable file is
// written in place, only when the device has room for it, and a failure says so and keeps
// the old file. Root ignores a folder's permissions, so there the refusal is injected.
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "controls/FileWriter.h"
#include "document/OvkFile.h"
#include "document/helpers/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

#include <unistd.h>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Pattern(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i % 251);
    return bytes;
}

} // namespace

class TestFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void existingFileIsWrittenInPlace_data();
    void existingFileIsWrittenInPlace();
    void newFileIsRefused();
    void documentSavesInReadOnlyFolder();
    void inPlaceFailureKeepsOldFileAndSaysSo_data();
    void inPlaceFailureKeepsOldFileAndSaysSo();
    void writableFolderStillReplacesAtomically();

private:
    // Makes the folder refuse new files: no write permission, and for root (whom
    // permissions do not stop) the injected refusal.
    void LockFolder();
    QString FilePath(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileWriter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileWriter::cleanup()
{
    TFileWriter::RefuseTemporaryFilesForTesting(false);
    TFileWriter::SetFreeBytesForTesting(-1);
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_dir.reset();
}

void TestFileWriter::LockFolder()
{
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    if (geteuid() == 0)
        TFileWriter::RefuseTemporaryFilesForTesting(true);
}

void TestFileWriter::existingFileIsWrittenInPlace_data()
{
    QTest::addColumn<int>("oldSize");
    QTest::addColumn<int>("newSize");
    QTest::newRow("grows") << 1000 << 300000;
    QTest::newRow("shrinks") << 300000 << 1000;
    QTest::newRow("empties") << 500 << 0;
}

void TestFileWriter::existingFileIsWrittenInPlace()
{
    QFETCH(int, oldSize);
    QFETCH(int, newSize);
    const QString path = FilePath(QStringLiteral("doc.OvK"));
    QVERIFY(TFileWriter::WriteFile(path, Pattern(oldSize, 'a')));
    LockFolder();

    const QByteArray content = Pattern(newSize, 'Z');
    TFileWriter writer(path);
    QVERIFY(writer.Open());
    QVERIFY(writer.InPlace());
    // Written in pieces, as the document writer does.
    for (int at = 0; at < newSize; at += 4096)
        QVERIFY(writer.Write(content.constData() + at, qMin(4096, newSize - at)));
    QVERIFY2(writer.Commit(), qPrintable(writer.ErrorMessage()));
    QVERIFY(!writer.IsOpen());
    QVERIFY(!writer.Commit()); // nothing left to write: the file stays as committed
    QCOMPARE(ReadAll(path), content);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList { "doc.OvK" });
}

void TestFileWriter::newFileIsRefused()
{
    LockFolder();
    const QString path = FilePath(QStringLiteral("new.OvK"));
    QString message;
    QVERIFY(!TFileWriter::WriteFile(path, QByteArray("abc"), &message));
    QVERIFY(message.startsWith(QStringLiteral("Nie można zapisać pliku")));
    QVERIFY(!QFile::exists(path));
}

void TestFileWriter::documentSavesInReadOnlyFolder()
{
    const QString path = FilePath(QStringLiteral("wykres.OvK"));
    TPolarGraph graph;
    TOvkFile file(&graph, path);
    file.Save();
    LockFolder();

    TSeries *series = graph.GetSeries(0);
    series->Name = QStringLiteral("Pomiar 1");
    for (int i = 0; i < 360; ++i)
        series->Add(i, -0.01 * i);
    file.Save();

    TPolarGraph loaded;
    TOvkFile reader(&loaded, path);
    reader.Load();
    QCOMPARE(loaded.SeriesCount(), 1);
    QCOMPARE(loaded.SeriesList().first()->Points().size(), size_t(360));
    QCOMPARE(loaded.SeriesList().first()->Points().back().Level, -3.59);
}

void TestFileWriter::inPlaceFailureKeepsOldFileAndSaysSo_data()
{
    QTest::addColumn<bool>("sizeLimit");
    QTest::addColumn<QString>("says");
    // Reserving the room fails, as on a disk that fills up between the check and the write.
    QTest::newRow("file-size limit") << true << QStringLiteral("pliku tymczasowego");
    // The device has less room than the new file needs: seen before the old file is touched.
    QTest::newRow("no room on the device") << false << QStringLiteral("nie ma miejsca");
}

void TestFileWriter::inPlaceFailureKeepsOldFileAndSaysSo()
{
    QFETCH(bool, sizeLimit);
    QFETCH(QString, says);
    const QString path = FilePath(QStringLiteral("doc.OvK"));
    const QByteArray old = Pattern(20000, 'o');
    QVERIFY(TFileWriter::WriteFile(path, old));
    LockFolder();
    if (!sizeLimit)
        TFileWriter::SetFreeBytesForTesting(100000);

    TFileWriter writer(path);
    QVERIFY(writer.Open());
    QVERIFY(writer.Write(Pattern(200000, 'n')));
    bool committed = true;
    {
        std::optional<TFileSizeLimit> limit;
        if (sizeLimit)
            QVERIFY(limit.emplace(100000).Ok());
        committed = writer.Commit();
    }
    QVERIFY(!committed);
    const QString message = writer.ErrorMessage();
    QVERIFY2(message.contains(says) && message.contains(QStringLiteral("zapis w miejscu"))
                 && message.contains(QStringLiteral("bez zmian")),
             qPrintable(message));
    QCOMPARE(ReadAll(path), old);
}

void TestFileWriter::writableFolderStillReplacesAtomically()
{
    const QString path = FilePath(QStringLiteral("doc.OvK"));
    QVERIFY(TFileWriter::WriteFile(path, Pattern(100, 'a')));
    TFileWriter writer(path);
    QVERIFY(writer.Open());
    QVERIFY(!writer.InPlace());
    QVERIFY(writer.Write(Pattern(50, 'b')));
    QVERIFY(writer.Commit());
    QCOMPARE(ReadAll(path), Pattern(50, 'b'));
}

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
