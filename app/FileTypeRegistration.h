#pragma once

// Associates "*.OvK" files with this program for the current user, overwriting an earlier
// association. Windows: HKEY_CURRENT_USER\Software\Classes (".OvK" -> "Orvi.File", its
// description, icon and open command). Elsewhere: a freedesktop MIME type recognised by
// name and by the 16-byte magic, and a .desktop entry, both under the user's data folder;
// the MIME database is refreshed in the background when update-mime-database exists.
// Failures are ignored: the program runs the same without the association. GUI thread.
void RegisterFileType();

// The freedesktop MIME type name of characteristic files.
inline constexpr const char *OvkMimeType = "application/x-orvi-characteristic";
