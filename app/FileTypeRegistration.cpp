#include "app/FileTypeRegistration.h"

#include "controls/FileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include <QProcess>
#endif

namespace {

QString ProgramPath()
{
    if (!QCoreApplication::instance())
        return {};
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

#ifdef Q_OS_WIN

void RegisterForUser(const QString &program)
{
    // HKEY_CURRENT_USER\Software\Classes is merged into HKEY_CLASSES_ROOT and needs no
    // administrator rights. "." addresses a key's default (unnamed) value.
    QSettings classes(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"),
                      QSettings::NativeFormat);
    classes.setValue(QStringLiteral(".OvK/."), QStringLiteral("Orvi.File"));
    classes.setValue(QStringLiteral("Orvi.File/."), QStringLiteral("Ch-ka kierunkowości"));
    classes.setValue(QStringLiteral("Orvi.File/DefaultIcon/."),
                     QStringLiteral("%1 ,1").arg(program));
    classes.setValue(QStringLiteral("Orvi.File/Shell/Open/Command/."),
                     QStringLiteral("%1 \"%2\"").arg(program, QStringLiteral("%1")));
    classes.sync();
}

#else

// Writes content to path unless the file already holds exactly that; true when written.
bool WriteIfChanged(const QString &path, const QByteArray &content)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return false;
    existing.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return TFileWriter::WriteFile(path, content);
}

QByteArray MimeDefinition()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-orvi-characteristic\">\n"
        "    <comment>Ch-ka kierunkowości</comment>\n"
        "    <glob pattern=\"*.ovk\"/>\n"
        "    <magic priority=\"80\">\n"
        "      <match type=\"string\" offset=\"0\" value=\"ORVI SYSTEM V1.0\"/>\n"
        "    </magic>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

QByteArray DesktopEntry(const QString &program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Orvi\n"
                          "Comment=program do pomiaru charakterystyk kierunkowości głośników\n"
                          "Exec=%1\n"
                          "MimeType=application/x-orvi-characteristic;\n"
                          "Terminal=false\n"
                          "Categories=Science;AudioVideo;\n"
                          "NoDisplay=true\n")
        .arg(DesktopExecValue(program))
        .toUtf8();
}

void RegisterForUser(const QString &program)
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return;
    const QString mimeRoot = data + QStringLiteral("/mime");
    const QString applications = data + QStringLiteral("/applications");
    const bool mimeChanged = WriteIfChanged(
        mimeRoot + QStringLiteral("/packages/orvi-characteristic.xml"), MimeDefinition());
    const bool desktopChanged
        = WriteIfChanged(applications + QStringLiteral("/orvi.desktop"), DesktopEntry(program));

    // The databases are rebuilt in the background, and only when something changed, so a
    // slow or missing tool never delays the start.
    if (mimeChanged) {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        if (!tool.isEmpty())
            QProcess::startDetached(tool, { mimeRoot });
    }
    if (desktopChanged) {
        const QString tool
            = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
        if (!tool.isEmpty())
            QProcess::startDetached(tool, { applications });
    }
}

#endif

} // namespace

QString DesktopExecValue(const QString &program)
{
    QString quoted;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'%', QStringLiteral("%%"));
    const QString exec = u'"' + quoted + QStringLiteral("\" %f");
    QString value;
    for (const QChar c : exec) {
        switch (c.unicode()) {
        case u'\\':
            value += QStringLiteral("\\\\");
            break;
        case u'\n':
            value += QStringLiteral("\\n");
            break;
        case u'\t':
            value += QStringLiteral("\\t");
            break;
        case u'\r':
            value += QStringLiteral("\\r");
            break;
        default:
            value += c;
        }
    }
    return value;
}

void RegisterFileType()
{
    const QString program = ProgramPath();
    if (program.isEmpty())
        return;
    RegisterForUser(program);
}
