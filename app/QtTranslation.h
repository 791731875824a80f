#pragma once

// Installs Qt's own Polish texts into the running application, so the file dialogs,
// message-box buttons and standard context menus speak the program's language: "qtbase_pl"
// from Qt's translations folder (Debian: qt6-translations-l10n). Returns false, and leaves the
// application untouched, when that file is not installed; the dialogs stay English then.
// Installing twice keeps one translator. The translator belongs to the application object,
// which must exist. GUI thread.
bool InstallQtTranslation();
// Takes Qt's Polish texts out again (for a program switched to English).
void RemoveQtTranslation();
