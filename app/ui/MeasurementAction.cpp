#include "app/ui/MeasurementAction.h"

#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "audio/ui/FrmGenerator.h"
#include "audio/ui/FrmMeter.h"
#include "chart/Series.h"
#include "document/ui/FrmChild.h"
#include "measurement/MeasurementRun.h"
#include "measurement/ui/FrmParametry.h"
#include "measurement/ui/FrmPomiar.h"
#include "measurement/ui/WindowRig.h"
#include "turntable/ui/FrmStolikKontrol.h"

#include <QPointer>

std::function<int(QDialog &)> &TMeasurementAction::Exec()
{
    static std::function<int(QDialog &)> exec = [](QDialog &dialog) {
        return dialog.exec();
    };
    return exec;
}

void TMeasurementAction::Run(TFrmMain &main, TClock &clock)
{
    using W = TFrmMain::EToolWindow;
    auto *generator = qobject_cast<TFrmGenerator *>(main.ToolWindow(W::Generator));
    auto *meter = qobject_cast<TFrmMeter *>(main.ToolWindow(W::Meter));
    auto *turntable = qobject_cast<TFrmStolikKontrol *>(main.ToolWindow(W::Turntable));
    QPointer<TFrmChild> doc = main.ActiveDocument();
    if (!doc || !main.PortAvailable() || !generator || !meter || !turntable)
        return;

    TFrmParametry parameters(*generator, *turntable, &main);
    const TMeasurementProposal proposal = TFrmMain::ProposeMeasurement(doc->Graph());
    parameters.SetSeriesColor(proposal.Color);
    parameters.SetSeriesName(proposal.Name);
    if (Exec()(parameters) != QDialog::Accepted || !doc)
        return;

    TWindowRig rig(*turntable, *meter, *generator);
    TFrmPomiar pomiar(rig, clock, &main);
    pomiar.SetInternalGenerator(parameters.InternalGenerator());
    pomiar.SetChart(&doc->Graph());
    pomiar.SetSeriesColor(parameters.SeriesColor());
    pomiar.SetSeriesName(parameters.SeriesName());
    pomiar.SetBlockBytes(Settings().RMSBuffNumber);
    // The kept recordings must outlast a restart, also when TempDir is the system's
    // temporary folder.
    pomiar.Run().WorkingFolder = Settings().RecordingsFolder();
    TSettings::MakeWorkingFolder(pomiar.Run().WorkingFolder);
    pomiar.SetBroadband(parameters.Broadband()
                            ? std::optional(Settings().Calibrated(parameters.BroadbandOptions()))
                            : std::nullopt);
    Exec()(pomiar);
    if (doc && pomiar.Run().AddedSeries())
        doc->SetModified(true);
    main.UpdateActions();
}
