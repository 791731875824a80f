#include "app/ui/RecordingAnalysisAction.h"

#include "analysis/BroadbandStore.h"
#include "analysis/RecordingAnalysis.h"
#include "analysis/RecordingArchive.h"
#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "chart/PolarGraph.h"
#include "document/ui/FrmChild.h"
#include "document/ui/Prompts.h"
#include "measurement/ui/FrmAnaliza.h"
#include "measurement/ui/SeriesGroup.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>

namespace {

constexpr int NoteMessageMs = 30000; // how long a note stays in the status bar

} // namespace

std::function<int(QDialog &)> &TRecordingAnalysisAction::Exec()
{
    static std::function<int(QDialog &)> exec = [](QDialog &dialog) {
        return dialog.exec();
    };
    return exec;
}

QString TRecordingAnalysisAction::RecordingFilter()
{
    return tr("Nagrania pomiarów (*.wav)");
}

TRecordingAnalysisAction &TRecordingAnalysisAction::Install(TFrmMain &main)
{
    if (TRecordingAnalysisAction *existing = Of(main))
        return *existing;
    auto *action = new TRecordingAnalysisAction(main); // a child of main from here
    action->AddToMenu();
    action->Update();
    return *action;
}

TRecordingAnalysisAction *TRecordingAnalysisAction::Of(const TFrmMain &main)
{
    return main.findChild<TRecordingAnalysisAction *>(QString(), Qt::FindDirectChildrenOnly);
}

TRecordingAnalysisAction::TRecordingAnalysisAction(TFrmMain &main)
    : QObject(&main)
    , m_main(main)
{
    m_action = new QAction(tr("Analizuj &nagranie…"), this);
    m_action->setObjectName(QStringLiteral("acAnalizuj"));
    TMainActions::SetHint(m_action,
                          tr("|Analizuje zachowane nagranie pomiaru i dodaje jego "
                             "charakterystyki do aktywnego dokumentu"));
    connect(m_action, &QAction::triggered, this, &TRecordingAnalysisAction::Run);
    connect(main.MdiArea(), &QMdiArea::subWindowActivated, this, &TRecordingAnalysisAction::Update);
}

void TRecordingAnalysisAction::AddToMenu()
{
    QAction *dodaj = m_main.Actions().acDodaj;
    for (QObject *holder : dodaj->associatedObjects()) {
        if (auto *menu = qobject_cast<QMenu *>(holder)) {
            menu->addAction(m_action);
            // A document may have closed since the last look.
            connect(menu, &QMenu::aboutToShow, this, &TRecordingAnalysisAction::Update);
            return;
        }
    }
}

void TRecordingAnalysisAction::Update()
{
    m_action->setEnabled(m_main.ActiveDocument() != nullptr);
}

QString TRecordingAnalysisAction::AskRecording()
{
    const QString folder = TRecordingArchive::Folder(Settings().RecordingsFolder());
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Open;
    request.FileName = QDir::toNativeSeparators(folder) + QDir::separator();
    request.Filters = { RecordingFilter() };
    request.DefaultSuffix = QStringLiteral("wav");
    return AskFileName(&m_main, request) ? request.FileName : QString();
}

bool TRecordingAnalysisAction::Run()
{
    QPointer<TFrmChild> doc = m_main.ActiveDocument();
    if (!doc)
        return false;
    const QString path = AskRecording();
    if (path.isEmpty())
        return false;
    QString error;
    const std::optional<std::pair<TWavFile::TRecording, TMarkerLog>> loaded
        = TRecordingArchive::Load(path, &error);
    if (!loaded) {
        ShowMessage(&m_main, QMessageBox::Critical, error);
        return false;
    }

    TFrmAnaliza dialog(path, loaded->second, &m_main);
    const TMeasurementProposal proposal = TFrmMain::ProposeMeasurement(doc->Graph());
    dialog.gbSeria().SetName(proposal.Name);
    dialog.gbSeria().SetColor(proposal.Color);
    if (Exec()(dialog) != QDialog::Accepted || !doc)
        return false;

    TKeptMeasurement measurement;
    measurement.Recording = QFileInfo(path).absoluteFilePath();
    measurement.Log = loaded->second;
    measurement.Options = Settings().Calibrated(dialog.BroadbandOptions());
    measurement.Plane = TKeptMeasurement::PlaneOf(measurement.Options);
    measurement.Name = dialog.gbSeria().Name();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    std::optional<TRecordingAnalysis::TOutcome> outcome = TRecordingAnalysis::AddTo(
        doc->Graph(), measurement, dialog.gbSeria().Color(), Settings().RMSBuffNumber, &error);
    QGuiApplication::restoreOverrideCursor();
    if (!outcome) {
        ShowMessage(&m_main, QMessageBox::Critical, error);
        return false;
    }
    TBroadbandStore &store = TBroadbandStore::Instance();
    store.Set(&doc->Graph(), outcome->Result, measurement.Options);
    store.AddKept(&doc->Graph(), std::move(outcome->Kept));
    doc->SetModified(true);
    if (!outcome->Result->Warnings.isEmpty())
        ShowMessage(&m_main, QMessageBox::Warning,
                    outcome->Result->Warnings.join(QLatin1Char('\n')));
    // Normal findings (no reflection found) are news, not warnings: a line of status.
    if (!outcome->Result->Notes.isEmpty())
        m_main.statusBar()->showMessage(outcome->Result->Notes.join(QLatin1Char(' ')),
                                        NoteMessageMs);
    m_main.UpdateActions();
    return true;
}
