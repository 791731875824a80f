#include "app/ui/BroadbandActions.h"

#include "analysis/BroadbandStore.h"
#include "analysis/FrdExport.h"
#include "analysis/MeasurementFolder.h"
#include "analysis/ui/FrmMapa.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/RecordingAnalysisAction.h"
#include "app/ui/SpinActions.h"
#include "app/ui/ToolWindowPlacement.h"
#include "chart/PolarGraph.h"
#include "document/OvkFile.h"
#include "document/ui/FrmChild.h"
#include "document/ui/Prompts.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>

namespace {

TBroadbandStore::TEntry ActiveEntry(const TFrmMain &main)
{
    const TFrmChild *doc = main.ActiveDocument();
    return doc ? TBroadbandStore::Instance().Get(&doc->Graph()) : TBroadbandStore::TEntry {};
}

} // namespace

QString TBroadbandActions::FilesWord(int count)
{
    if (count == 1)
        return tr("plik");
    const int tens = count % 100;
    const int ones = count % 10;
    if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14))
        return tr("pliki");
    return tr("plików");
}

std::function<QString(QWidget *, const QString &)> &TBroadbandActions::AskFolder()
{
    static std::function<QString(QWidget *, const QString &)> ask
        = [](QWidget *owner, const QString &start) {
              return QFileDialog::getExistingDirectory(owner, tr("Folder plików FRD"), start);
          };
    return ask;
}

TBroadbandActions &TBroadbandActions::Install(TFrmMain &main)
{
    if (TBroadbandActions *existing = Of(main))
        return *existing;
    auto *actions = new TBroadbandActions(main); // a child of main from here
    actions->AddToMenu();
    actions->Update();
    TRecordingAnalysisAction::Install(main);
    TSpinActions::Install(main);
    return *actions;
}

TBroadbandActions *TBroadbandActions::Of(const TFrmMain &main)
{
    return main.findChild<TBroadbandActions *>(QString(), Qt::FindDirectChildrenOnly);
}

TBroadbandActions::TBroadbandActions(TFrmMain &main)
    : QObject(&main)
    , m_main(main)
{
    m_map = new QAction(tr("&Mapa kierunkowości"), this);
    m_map->setObjectName(QStringLiteral("acMapa"));
    TMainActions::SetHint(m_map,
                          tr("|Pokazuje mapę kierunkowości ostatniego pomiaru "
                             "szerokopasmowego aktywnego dokumentu"));
    m_frd = new QAction(tr("Eksportuj &FRD…"), this);
    m_frd->setObjectName(QStringLiteral("acEksportFrd"));
    TMainActions::SetHint(m_frd,
                          tr("|Zapisuje charakterystyki ostatnich pomiarów "
                             "szerokopasmowych w obu płaszczyznach co 10° do "
                             "plików FRD"));
    connect(m_map, &QAction::triggered, this, &TBroadbandActions::ShowMap);
    connect(m_frd, &QAction::triggered, this, &TBroadbandActions::ExportFrd);

    connect(&TBroadbandStore::Instance(), &TBroadbandStore::Changed, this,
            &TBroadbandActions::ScheduleUpdate);
    connect(main.MdiArea(), &QMdiArea::subWindowActivated, this,
            &TBroadbandActions::ScheduleUpdate);
    connect(&main, &TFrmMain::DocumentOpened, this, &TBroadbandActions::RestoreMeasurements);
    main.SetBesideWriter(
        [this](TFrmChild &document, const QString &path) { return SaveBeside(document, path); });
}

void TBroadbandActions::AddToMenu()
{
    // Beside the chart's own export, in whichever menu holds it.
    QAction *exportChart = m_main.Actions().acZapiszWykres;
    for (QObject *holder : exportChart->associatedObjects()) {
        auto *menu = qobject_cast<QMenu *>(holder);
        if (!menu)
            continue;
        const QList<QAction *> items = menu->actions();
        const qsizetype at = items.indexOf(exportChart);
        QAction *next = at + 1 < items.size() ? items.at(at + 1) : nullptr;
        menu->insertAction(next, m_frd);
        menu->addSeparator();
        menu->addAction(m_map);
        return;
    }
}

void TBroadbandActions::ScheduleUpdate()
{
    if (m_updatePending)
        return;
    m_updatePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_updatePending = false;
            Update();
        },
        Qt::QueuedConnection);
}

void TBroadbandActions::Update()
{
    const bool has = ActiveEntry(m_main).Result != nullptr;
    m_map->setEnabled(has);
    m_frd->setEnabled(has);
    // An open map window follows the active document, also to one without a result.
    if (m_window) {
        TFrmChild *doc = m_main.ActiveDocument();
        m_window->SetChart(doc ? &doc->Graph() : nullptr);
    }
}

TFrmMapa *TBroadbandActions::MapWindow() const
{
    return m_window;
}

void TBroadbandActions::ShowMap()
{
    if (!m_window) {
        m_window = new TFrmMapa(&m_main); // a tool window of the main window
        // Placed in the document area beside the other tool windows, not over the menus.
        m_main.ToolPlacement().Track(*m_window, QStringLiteral("MapPos"));
    }
    TFrmChild *doc = m_main.ActiveDocument();
    m_window->SetChart(doc ? &doc->Graph() : nullptr);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

bool TBroadbandActions::ExportFrd()
{
    const TFrmChild *doc = m_main.ActiveDocument();
    const TBroadbandStore::TEntry entry = ActiveEntry(m_main);
    if (!doc || !entry.Result)
        return false;
    QString start = m_lastFolder;
    if (start.isEmpty())
        start = doc->DocFile().Untitled ? QDir::homePath() : doc->DocFile().Path;
    const QString folder = AskFolder()(&m_main, start);
    if (folder.isEmpty())
        return false;
    m_lastFolder = folder;

    // Both planes' sets when the document has both ("hor" and "ver" files).
    QString error;
    int written = 0;
    for (const bool vertical : { false, true }) {
        const TBroadbandStore::TEntry plane
            = TBroadbandStore::Instance().Get(&doc->Graph(), vertical);
        int files = 0;
        if (plane.Result
            && !TFrdExport::WriteSet(*plane.Result, folder, FrdStepDeg, plane.Options.Smoothing,
                                     &error, &files)) {
            ShowMessage(&m_main, QMessageBox::Critical, error);
            return false;
        }
        written += files;
    }
    ShowMessage(&m_main, QMessageBox::Information,
                tr("Zapisano %1 %2 FRD w folderze %3")
                    .arg(written)
                    .arg(FilesWord(written), QDir::toNativeSeparators(folder)));
    return true;
}

QString TBroadbandActions::SaveBeside(TFrmChild &document, const QString &path)
{
    TBroadbandStore &store = TBroadbandStore::Instance();
    const std::vector<TKeptMeasurement> kept = store.Kept(&document.Graph());
    if (kept.empty())
        return {};
    QString error;
    std::optional<std::vector<TKeptMeasurement>> placed
        = TMeasurementFolder::Write(path, kept, &error);
    if (!placed)
        return error;
    // From now on the copies beside the document are the ones it refers to.
    store.SetKept(&document.Graph(), std::move(*placed));
    return {};
}

QString TBroadbandActions::RestoreMessage(const QStringList &problems)
{
    if (problems.isEmpty())
        return {};
    return tr("Nie wszystkie pomiary dokumentu odczytano: %1").arg(problems.join(QLatin1Char(' ')));
}

void TBroadbandActions::RestoreMeasurements(TFrmChild *document)
{
    if (!document)
        return;
    TMeasurementFolder::TContents contents
        = TMeasurementFolder::Read(document->DocFile().FullPath());
    if (!contents.Exists)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // The newest result of each plane, in the order they were measured.
    std::vector<std::pair<std::shared_ptr<const TDirectivityResult>, TBroadbandOptions>> newest;
    QStringList uncalibrated;
    for (const TKeptMeasurement &m : contents.Measurements) {
        QString error;
        std::optional<TDirectivityResult> result = m.Analyse(&error);
        if (!result) {
            contents.Problems << error;
            continue;
        }
        if (!result->CalibrationProblem.isEmpty())
            uncalibrated << result->CalibrationProblem;
        std::erase_if(newest,
                      [&m](const auto &e) { return e.second.Vertical == m.Options.Vertical; });
        newest.emplace_back(std::make_shared<const TDirectivityResult>(std::move(*result)),
                            m.Options);
    }
    QGuiApplication::restoreOverrideCursor();
    TBroadbandStore &store = TBroadbandStore::Instance();
    // Recordings that could not be analysed are still carried along by the next save.
    store.SetKept(&document->Graph(), std::move(contents.Measurements));
    for (const auto &[result, options] : newest)
        store.Set(&document->Graph(), result, options);
    // What is missing first, then what is there but without its calibration.
    QStringList parts = uncalibrated;
    if (const QString missing = RestoreMessage(contents.Problems); !missing.isEmpty())
        parts.prepend(missing);
    const QString message = parts.join(QLatin1Char(' '));
    if (!message.isEmpty())
        m_main.statusBar()->showMessage(message, RestoreMessageMs);
}
