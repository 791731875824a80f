#include "app/ui/SpinActions.h"

#include "analysis/BroadbandStore.h"
#include "analysis/FrdFile.h"
#include "analysis/Spinorama.h"
#include "analysis/SpinoramaFolder.h"
#include "analysis/ui/FrmSpinorama.h"
#include "app/ui/BroadbandActions.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/ToolWindowPlacement.h"
#include "chart/PolarGraph.h"
#include "controls/BusyCursor.h"
#include "controls/FileWriter.h"
#include "document/OvkFile.h"
#include "document/ui/DocumentFiles.h"
#include "document/ui/FrmChild.h"
#include "document/ui/Prompts.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

// The two turns of a document and the spin made of them.
struct TSpinSource
{
    TBroadbandStore::TEntry Horizontal;
    TBroadbandStore::TEntry Vertical;
    TSpinorama Spin;
};

namespace {

bool HasBothPlanes(const TFrmChild *doc)
{
    const TBroadbandStore &store = TBroadbandStore::Instance();
    return doc && store.Get(&doc->Graph(), false).Result && store.Get(&doc->Graph(), true).Result;
}

// The menu holding action, with the position after it.
QMenu *MenuOf(QAction *action, QAction **next)
{
    for (QObject *holder : action->associatedObjects()) {
        auto *menu = qobject_cast<QMenu *>(holder);
        if (!menu)
            continue;
        const QList<QAction *> items = menu->actions();
        const qsizetype at = items.indexOf(action);
        *next = at + 1 < items.size() ? items.at(at + 1) : nullptr;
        return menu;
    }
    return nullptr;
}

} // namespace

std::function<QString(QWidget *, const QString &)> &TSpinActions::AskFolder()
{
    static std::function<QString(QWidget *, const QString &)> ask
        = [](QWidget *owner, const QString &start) {
              return QFileDialog::getExistingDirectory(owner, tr("Folder dla spinoramy"), start);
          };
    return ask;
}

TSpinActions &TSpinActions::Install(TFrmMain &main)
{
    if (TSpinActions *existing = Of(main))
        return *existing;
    auto *actions = new TSpinActions(main); // a child of main from here
    actions->AddToMenu();
    actions->Update();
    return *actions;
}

TSpinActions *TSpinActions::Of(const TFrmMain &main)
{
    return main.findChild<TSpinActions *>(QString(), Qt::FindDirectChildrenOnly);
}

TSpinActions::TSpinActions(TFrmMain &main)
    : QObject(&main)
    , m_main(main)
{
    m_spin = new QAction(tr("Spi&norama"), this);
    m_spin->setObjectName(QStringLiteral("acSpinorama"));
    TMainActions::SetHint(m_spin,
                          tr("|Pokazuje krzywe CTA-2034 z ostatnich pomiarów "
                             "szerokopasmowych w płaszczyźnie poziomej i pionowej"));
    m_folder = new QAction(tr("Eksportuj dla spinoram&y…"), this);
    m_folder->setObjectName(QStringLiteral("acEksportSpinorama"));
    TMainActions::SetHint(m_folder,
                          tr("|Zapisuje charakterystyki obu płaszczyzn co 10° do "
                             "plików tekstowych w jednym folderze"));
    m_curves = new QAction(tr("Eksportuj krzywe &CTA-2034…"), this);
    m_curves->setObjectName(QStringLiteral("acEksportCta"));
    TMainActions::SetHint(m_curves,
                          tr("|Zapisuje krzywe spinoramy i wskaźniki kierunkowości "
                             "do pliku CSV"));
    connect(m_spin, &QAction::triggered, this, &TSpinActions::ShowSpin);
    connect(m_folder, &QAction::triggered, this, &TSpinActions::ExportFolder);
    connect(m_curves, &QAction::triggered, this, &TSpinActions::ExportCurves);
    connect(&TBroadbandStore::Instance(), &TBroadbandStore::Changed, this,
            &TSpinActions::ScheduleUpdate);
    connect(main.MdiArea(), &QMdiArea::subWindowActivated, this, &TSpinActions::ScheduleUpdate);
}

void TSpinActions::AddToMenu()
{
    const TBroadbandActions *broadband = TBroadbandActions::Of(m_main);
    if (!broadband)
        return;
    QAction *next = nullptr;
    if (QMenu *menu = MenuOf(broadband->FrdAction(), &next)) {
        menu->insertAction(next, m_folder);
        menu->insertAction(next, m_curves);
    }
    if (QMenu *menu = MenuOf(broadband->MapAction(), &next))
        menu->insertAction(next, m_spin);
}

void TSpinActions::ScheduleUpdate()
{
    if (m_updatePending)
        return;
    m_updatePending = true;
    // After the change that asked for it (a closing document still counts as active).
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_updatePending = false;
            Update();
        },
        Qt::QueuedConnection);
}

void TSpinActions::Update()
{
    TFrmChild *doc = m_main.ActiveDocument();
    const bool both = HasBothPlanes(doc);
    for (QAction *action : { m_spin, m_folder, m_curves })
        action->setEnabled(both);
    if (m_window)
        m_window->SetChart(doc ? &doc->Graph() : nullptr);
}

TFrmSpinorama *TSpinActions::Window() const
{
    return m_window;
}

void TSpinActions::ShowSpin()
{
    if (!m_window) {
        m_window = new TFrmSpinorama(&m_main); // a tool window of the main window
        m_main.ToolPlacement().Track(*m_window, QStringLiteral("SpinPos"));
    }
    TFrmChild *doc = m_main.ActiveDocument();
    m_window->SetChart(doc ? &doc->Graph() : nullptr);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

std::optional<TSpinSource> TSpinActions::ActiveSpin()
{
    const TFrmChild *doc = m_main.ActiveDocument();
    if (!HasBothPlanes(doc))
        return std::nullopt;
    const TBroadbandStore &store = TBroadbandStore::Instance();
    const TBroadbandStore::TEntry h = store.Get(&doc->Graph(), false);
    const TBroadbandStore::TEntry v = store.Get(&doc->Graph(), true);
    QString error;
    std::optional<TSpinorama> spin;
    {
        const TBusyCursor busy;
        spin = TSpinorama::Compute(*h.Result, *v.Result, h.Options.Smoothing, &error);
    }
    if (!spin) {
        ShowMessage(&m_main, QMessageBox::Critical, error);
        return std::nullopt;
    }
    return TSpinSource { h, v, std::move(*spin) };
}

QString TSpinActions::StartFolder() const
{
    if (!m_lastFolder.isEmpty())
        return m_lastFolder;
    const TFrmChild *doc = m_main.ActiveDocument();
    return !doc || doc->DocFile().Untitled ? QDir::homePath() : doc->DocFile().Path;
}

bool TSpinActions::ExportFolder()
{
    const std::optional<TSpinSource> source = ActiveSpin();
    if (!source)
        return false;
    // The files are named after the horizontal turn's measurement.
    const QString name = source->Horizontal.Result->Name;
    if (const QString problem = TSpinoramaFolder::NameProblem(name); !problem.isEmpty()) {
        ShowMessage(&m_main, QMessageBox::Warning, problem);
        return false;
    }
    const QString folder = AskFolder()(&m_main, StartFolder());
    if (folder.isEmpty())
        return false;
    m_lastFolder = folder;
    QString error;
    int written = 0;
    bool ok = false;
    {
        const TBusyCursor busy;
        ok = TSpinoramaFolder::Write(source->Spin, *source->Horizontal.Result,
                                     *source->Vertical.Result, source->Horizontal.Options.Smoothing,
                                     folder, name, &error, &written);
    }
    if (!ok) {
        ShowMessage(&m_main, QMessageBox::Critical, error);
        return false;
    }
    ShowMessage(&m_main, QMessageBox::Information,
                tr("Zapisano %1 %2 dla spinoramy w folderze %3")
                    .arg(written)
                    .arg(TBroadbandActions::FilesWord(written), QDir::toNativeSeparators(folder)));
    return true;
}

bool TSpinActions::ExportCurves()
{
    const std::optional<TSpinSource> source = ActiveSpin();
    if (!source)
        return false;
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Save;
    const QString name = TFrdFile::SafeFileName(source->Horizontal.Result->Name);
    request.FileName = QDir(StartFolder())
                           .filePath(name.trimmed().isEmpty() ? QStringLiteral("spinorama") : name);
    request.Filters = { tr("CSV (*.csv)") };
    request.DefaultSuffix = QStringLiteral("csv");
    if (!AskFileName(&m_main, request))
        return false;
    m_lastFolder = QFileInfo(request.FileName).absolutePath();
    QString error;
    if (!TFileWriter::WriteFile(request.FileName, TSpinorama::CsvText(source->Spin).toUtf8(),
                                &error)) {
        ShowMessage(&m_main, QMessageBox::Critical, error);
        return false;
    }
    return true;
}
