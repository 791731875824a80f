#include "app/ui/ToolWindows.h"

#include <QtGlobal>

// includes: generator window
#include "app/ui/FrmMain.h"
#include "audio/AudioBackend.h"
#include "audio/ui/FrmGenerator.h"
// includes: level meter window
#include "audio/ui/FrmMeter.h"
#include "controls/Clock.h"
// includes: turntable control window
#include "app/Settings.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/PortBackends.h"
#include "turntable/TurntableController.h"
#include "turntable/ui/FrmStolikKontrol.h"
// includes: series editor

void CreateToolWindows(TFrmMain &main, const TStartOptions &options)
{
    // section: generator window
    // The simulated rig plays into the in-process loopback instead of the sound card.
    if (options.Simulate)
        TAudioBackend::SetDefault(EAudioBackend::Loopback);
    main.SetToolWindow(TFrmMain::EToolWindow::Generator, new TFrmGenerator());
    // section: level meter window
    main.SetToolWindow(TFrmMain::EToolWindow::Meter, new TFrmMeter(TClock::System()));
    // section: turntable control window
    {
        // The simulated controller stands in for the hardware on a port of its own.
        std::unique_ptr<TPortBackend> backend = options.Simulate
            ? CreateSimulatedPortBackend(TClock::System(), nullptr)
            : CreateHardwarePortBackend();
        auto controller = std::make_unique<TTurntableController>(
            std::make_unique<TDLPrinterPortIO>(std::move(backend)), TClock::System());
        controller->SetMarkUnsensitivityTimeSource([] { return Settings().MarkUnsensitivityTime; });
        TTurntableController *turntable = controller.get();
        auto *turntableWindow = new TFrmStolikKontrol(std::move(controller));
        turntableWindow->SetMainWindow(&main);
        main.SetToolWindow(TFrmMain::EToolWindow::Turntable, turntableWindow);
        main.SetTurntable(turntable);
        main.SetPortAvailable(turntableWindow->OpenPort(Settings().LPTNumber));
        if (options.Simulate)
            main.SetStatusNote(QStringLiteral("Symulator stolika"));
    }
    // section: series editor
}
