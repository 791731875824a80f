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
    void execQuotesProgramPath_data();
    void execQuotesProgramPath();

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

void TestFileTypeRegistration::execQuotesProgramPath_data()
{
    // Expected values written out by hand from the desktop entry rules: Exec quoting
    // first, then the string escapes (a path's backslash becomes four in the file).
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << QString("/usr/bin/orvi") << QString(R"("/usr/bin/orvi" %f)");
    QTest::newRow("spaces") << QString("/opt/my programs/orvi 2")
                            << QString(R"("/opt/my programs/orvi 2" %f)");
    QTest::newRow("backslash") << QString(R"(/opt/a\b/orvi)")
                               << QString(R"("/opt/a\\\\b/orvi" %f)");
    QTest::newRow("quote, dollar, backtick")
        << QString(R"(/opt/"x"/$HOME/`id`)") << QString(R"("/opt/\\"x\\"/\\$HOME/\\`id\\`" %f)");
    QTest::newRow("percent") << QString("/opt/100%/orvi") << QString(R"("/opt/100%%/orvi" %f)");
    QTest::newRow("tab and newline") << QString("/opt/a\tb\nc") << QString(R"("/opt/a\tb\nc" %f)");
}

void TestFileTypeRegistration::execQuotesProgramPath()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QCOMPARE(DesktopExecValue(program), exec);
}

QTEST_GUILESS_MAIN(TestFileTypeRegistration)
#include "tst_FileTypeRegistration.moc"
