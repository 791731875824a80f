#pragma once

// What the main-window tests share: a temporary working folder, a virtual clock, answered
// prompts, a clean settings store for every case and a main window made on it.

#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MeasurementAction.h"
#include "audio/LoopbackBus.h"
#include "controls/VirtualClock.h"
#include "document_ui/helpers/IsolatedSettings.h"
#include "document_ui/helpers/PromptStub.h"

#include <QDialog>
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
    // Also gives the measurement windows their real modal loop back and the loopback audio
    // its real time.
    void Cleanup()
    {
        TMeasurementAction::Exec() = [](QDialog &dialog) {
            return dialog.exec();
        };
        TLoopbackBus::Instance().SetStalled(false);
        TLoopbackBus::Instance().SetClock(nullptr);
        Prompts.reset();
    }

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
