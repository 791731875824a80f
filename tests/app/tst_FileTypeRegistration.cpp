// The per-user file association: MIME type with the magic and a desktop entry.
#include "app/FileTypeRegistration.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestFileTypeRegistration : public QObject
{
    Q_OBJECT

public:
    // Before the application exists: the user data folder goes to a temporary folder, and
    // no database tool is found, so nothing outside it changes.
    static void initMain()
    {
        static QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        qputenv("PATH", "");
    }

private slots:
    void writesMimeTypeAndDesktopEntry();
    void repeatedRegistrationLeavesFilesAlone();
    void damagedEntryIsRewritten();

private:
    static QString DataDir()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    }
    static QString MimeFile() { return DataDir() + "/mime/packages/orvi-characteristic.xml"; }
    static QString DesktopFile() { return DataDir() + "/applications/orvi.desktop"; }
    static QByteArray Read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

void TestFileTypeRegistration::writesMimeTypeAndDesktopEntry()
{
    QVERIFY(DataDir().startsWith(QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"))));
    RegisterFileType();
    const QByteArray mime = Read(MimeFile());
    QVERIFY(mime.contains("type=\"application/x-orvi-characteristic\""));
    QVERIFY(mime.contains("<glob pattern=\"*.ovk\"/>"));
    QVERIFY(mime.contains("offset=\"0\" value=\"ORVI SYSTEM V1.0\""));
    const QByteArray desktop = Read(DesktopFile());
    QVERIFY(desktop.startsWith("[Desktop Entry]\n"));
    QVERIFY(desktop.contains("MimeType=application/x-orvi-characteristic;\n"));
    const QByteArray exec
        = "Exec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\" %f\n";
    QVERIFY2(desktop.contains(exec), desktop.constData());
}

void TestFileTypeRegistration::repeatedRegistrationLeavesFilesAlone()
{
    RegisterFileType();
    const QDateTime mimeTime = QFileInfo(MimeFile()).lastModified();
    const QDateTime desktopTime = QFileInfo(DesktopFile()).lastModified();
    QTest::qWait(20);
    RegisterFileType();
    QCOMPARE(QFileInfo(MimeFile()).lastModified(), mimeTime);
    QCOMPARE(QFileInfo(DesktopFile()).lastModified(), desktopTime);
}

void TestFileTypeRegistration::damagedEntryIsRewritten()
{
    RegisterFileType();
    const QByteArray good = Read(DesktopFile());
    {
        QFile f(DesktopFile());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Desktop Entry]\nExec=/old/orvi %f\n");
    }
    RegisterFileType();
    QCOMPARE(Read(DesktopFile()), good);
}

QTEST_GUILESS_MAIN(TestFileTypeRegistration)
#include "tst_FileTypeRegistration.moc"
