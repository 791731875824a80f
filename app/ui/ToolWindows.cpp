#include "app/ui/ToolWindows.h"

#include <QCoreApplication>
#include <QtGlobal>

// includes: generator window
#include "app/ui/FrmMain.h"
#include "audio/AudioBackend.h"
#include "audio/LoopbackBus.h"
#include "audio/SimulatedLoudspeaker.h"
#include "audio/ui/FrmGenerator.h"
// includes: level meter window
#include "audio/ui/FrmMeter.h"
#include "controls/Clock.h"
// includes: turntable control window
#include "app/Settings.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/GrblEmulator.h"
#include "turntable/GrblTable.h"
#include "turntable/PortBackends.h"
#include "turntable/TurntableController.h"
#include "turntable/ui/FrmStolikKontrol.h"
// includes: series editor
#include "app/ui/SeriesEditorSetup.h"

namespace {

// Keeps the simulated loudspeaker in the loopback for as long as the main window lives.
class TSimulatedAcoustics : public QObject
{
public:
    TSimulatedAcoustics(QObject *owner, TSimulatedLoudspeaker::TAngleSource angle)
        : QObject(owner)
        , m_speaker(std::move(angle), TSimulatedLoudspeaker::TParams())
    {
        m_speaker.Install(TLoopbackBus::Instance());
    }

private:
    TSimulatedLoudspeaker m_speaker; // uninstalls itself when destroyed
};

// The turntable window over a Grbl table: on the board in the settings, or on an emulated one
// (owned by the main window) when simulating.
TFrmStolikKontrol *CreateGrblTurntable(TFrmMain &main, TClock &clock, bool simulate)
{
    auto table = std::make_unique<TGrblTable>(clock);
    TGrblTable *grbl = table.get();
    grbl->SetTurnSeconds(Settings().GrblTurnTime);
    grbl->SetZeroOffset(Settings().GrblZeroOffset);
    auto *window = new TFrmStolikKontrol(std::move(table));
    window->OnZeroSet = [grbl] {
        Settings().GrblZeroOffset = grbl->ZeroOffset();
    };
    QString port = Settings().GrblPort;
    if (simulate) {
        auto *board = new TGrblEmulator(clock, &main);
        if (board->Open())
            port = board->SlavePath(); // otherwise the open below says what is missing
    }
    main.SetToolWindow(TFrmMain::EToolWindow::Turntable, window);
    main.SetTurntable(grbl);
    main.SetPortAvailable(window->OpenTable([&](TTurntable &) { return grbl->Open(port); }));
    return window;
}

} // namespace

void CreateToolWindows(TFrmMain &main, const TStartOptions &options)
{
    TClock &clock = options.Clock ? *options.Clock : TClock::System();
    // section: generator window
    // The simulated rig plays into the in-process loopback instead of the sound card, and
    // the microphone hears it through the loudspeaker on the simulated table.
    if (options.Simulate) {
        TAudioBackend::SetDefault(EAudioBackend::Loopback);
        TLoopbackBus::Instance().SetClock(options.Clock);
        new TSimulatedAcoustics(&main,
                                options.SimulateGrbl
                                    ? TSimulatedLoudspeaker::GrblEmulatorAngle()
                                    : TSimulatedLoudspeaker::SimulatedControllerAngle());
    }
    main.SetToolWindow(TFrmMain::EToolWindow::Generator, new TFrmGenerator());
    // section: level meter window
    main.SetToolWindow(TFrmMain::EToolWindow::Meter, new TFrmMeter(clock));
    // section: turntable control window
    if (options.SimulateGrbl || (!options.Simulate && Settings().TurntableDriver == 1)) {
        TFrmStolikKontrol *turntableWindow = CreateGrblTurntable(main, clock, options.SimulateGrbl);
        turntableWindow->SetMainWindow(&main);
        if (options.SimulateGrbl)
            main.SetStatusNote(
                QCoreApplication::translate("TToolWindows", "Emulator stolika Grbl"));
    } else {
        // The simulated controller stands in for the hardware on a port of its own.
        std::unique_ptr<TPortBackend> backend = options.Simulate
            ? CreateSimulatedPortBackend(clock, nullptr)
            : CreateHardwarePortBackend();
        auto controller = std::make_unique<TTurntableController>(
            std::make_unique<TDLPrinterPortIO>(std::move(backend)), clock);
        controller->SetMarkUnsensitivityTimeSource([] { return Settings().MarkUnsensitivityTime; });
        TTurntableController *turntable = controller.get();
        auto *turntableWindow = new TFrmStolikKontrol(std::move(controller));
        turntableWindow->SetMainWindow(&main);
        main.SetToolWindow(TFrmMain::EToolWindow::Turntable, turntableWindow);
        main.SetTurntable(turntable);
        main.SetPortAvailable(turntableWindow->OpenPort(Settings().LPTNumber));
        if (options.Simulate)
            main.SetStatusNote(QCoreApplication::translate("TToolWindows", "Symulator stolika"));
    }
    // section: series editor
    InstallSeriesEditor(main);
}
