#pragma once

// Points the settings store and the user's data folder at a temporary folder before the
// first QSettings is made, so tests never touch the real configuration.

#include <QTemporaryDir>
#include <QtGlobal>

inline QTemporaryDir &IsolateUserFolders()
{
    static QTemporaryDir dir;
    static const bool done = [] {
        qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (dir.path() + QStringLiteral("/data")).toLocal8Bit());
        return true;
    }();
    Q_UNUSED(done);
    return dir;
}
