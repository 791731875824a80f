#pragma once

#include <QString>

// Associates "*.OvK" files with this program for the current user, overwriting an earlier
// association. Windows: HKEY_CURRENT_USER\Software\Classes (".OvK" -> "Orvi.File", its
// description, icon and open command). Elsewhere: a freedesktop MIME type recognised by
// name and by the 16-byte magic, and a .desktop entry, both under the user's data folder;
// the MIME database is refreshed in the background when update-mime-database exists.
// Failures are ignored: the program runs the same without the association. GUI thread.
void RegisterFileType();

// The value of the desktop entry's Exec key that opens the files given to it with program:
// the path as one quoted argument followed by %f. The quoting of the Exec key comes first
// ('"', '`', '$' and '\' escaped by a backslash inside double quotes, '%' doubled), then
// the escapes of every string value ('\' doubled, newline, tab and carriage return as \n,
// \t, \r), so one backslash of the path is written as four.
QString DesktopExecValue(const QString &program);

// The freedesktop MIME type name of characteristic files.
inline constexpr const char *OvkMimeType = "application/x-orvi-characteristic";
