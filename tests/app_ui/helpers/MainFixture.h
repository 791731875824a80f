#pragma once

// What the main-window tests share: a temporary working folder, a virtual clock, answered
// prompts, a clean settings store for every case and a main window made on it.

#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "controls/VirtualClock.h"
#include "document_ui/helpers/IsolatedSettings.h"
#include "document_ui/helpers/PromptStub.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

class TMainFixture
{
public:
    TMainFixture() { IsolateUserFolders(); }

    // Call from the test's init() and cleanup().
    void Init()
    {
        Prompts = std::make_unique<TPromptStub>();
        OpenSettingsStore()->clear();
        Settings() = TSettings();
        Settings().TempDir = Dir.path();
    }
    void Cleanup() { Prompts.reset(); }

    QString Path(const QString &name) const { return Dir.filePath(name); }

    std::unique_ptr<TFrmMain> MakeMain()
    {
        auto main = std::make_unique<TFrmMain>(Clock);
        Settings().TempDir = Dir.path(); // the store held the system default
        main->resize(1000, 750);
        return main;
    }

    QTemporaryDir Dir;
    TVirtualClock Clock;
    std::unique_ptr<TPromptStub> Prompts;
};
