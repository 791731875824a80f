#pragma once

// Runs the built orvi-cli with its home, data, settings and temporary folders all in a test's
// own folder, so nothing reaches the user's real folders. Header-only.

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

struct TRun
{
    int Status = -1; // -1: crashed or killed
    QString Out;
    QStringList Err; // lines
};

// args run in folder; the child's HOME (and XDG data, config, TMPDIR) is folder/home.
inline TRun RunIsolatedCli(const QStringList &args, const QString &folder)
{
    const QString home = QDir(folder).filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "TMPDIR" })
        env.insert(QLatin1String(name), home);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(ORVI_CLI_PATH), args);
    if (!p.waitForFinished(120000))
        p.kill();
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
             QString::fromUtf8(p.readAllStandardOutput()),
             QString::fromUtf8(p.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts) };
}
