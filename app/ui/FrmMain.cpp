#include "app/ui/FrmMain.h"

#include "app/FileTypeRegistration.h"
#include "app/Settings.h"
#include "app/ui/BroadbandActions.h"
#include "app/ui/DocumentArea.h"
#include "app/ui/FrmAbout.h"
#include "app/ui/FrmOpcje.h"
#include "app/ui/FrmSplash.h"
#include "app/ui/MainActions.h"
#include "app/ui/MeasurementAction.h"
#include "app/ui/PrintAction.h"
#include "app/ui/ProgramPicture.h"
#include "app/ui/RecentFilesMenu.h"
#include "app/ui/SizeBox.h"
#include "app/ui/StatusPanels.h"
#include "app/ui/ToolWindowPlacement.h"
#include "chart/PolarGraph.h"
#include "chart/ui/PolarGraphView.h"
#include "controls/Clock.h"
#include "controls/Messages.h"
#include "controls/ui/FormHelpers.h"
#include "document/InOutError.h"
#include "document/OvkFile.h"
#include "document/ui/DocumentFiles.h"
#include "document/ui/FrmChild.h"
#include "document/ui/Prompts.h"
#include "turntable/TurntableController.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

// Shown when the program ends while the turntable's port is in use (translated there).
const char *const SwitchOffWarning
    = QT_TRANSLATE_NOOP("TFrmMain",
                        "Przed zakończeniem pracy należy wyłączyć stolik,\r\naby przywrócić "
                        "poprzedni stan portu LPT.\r\n\r\nGdy będziesz gotowy wciśnij OK.  ");

// Settings keys under which the tool windows' places are kept, by EToolWindow.
const std::array<QString, TFrmMain::ToolWindowCount> ToolWindowPlaceKeys {
    QStringLiteral("GeneratorPos"), QStringLiteral("MeterPos"), QStringLiteral("TurntablePos"),
    QStringLiteral("SeriesEditorPos")
};

} // namespace

TFrmMain::TFrmMain(TClock &clock, QWidget *parent)
    : QMainWindow(parent)
    , m_clock(clock)
    , m_actions(std::make_unique<TMainActions>(this))
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Orvi"));
    setWindowIcon(QIcon(ProgramPicture(QSize(32, 32), false)));
    setMinimumSize(550, 375);

    m_mdiArea = new TDocumentArea(this);
    setCentralWidget(m_mdiArea);
    m_toolPlacement = std::make_unique<TToolWindowPlacement>(*m_mdiArea);

    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    ConnectActions();
    TBroadbandActions::Install(*this);
    FormCreate();
    RegisterForm(this);
    UpdateActions();
}

TFrmMain::~TFrmMain()
{
    // Tool windows before the rest of the frame: while they go they must not reach back
    // into a half-destroyed main window.
    for (QPointer<QWidget> &window : m_toolWindows) {
        if (window) {
            window->removeEventFilter(this);
            delete window.data();
        }
    }
    // Then the documents, without the closing questions (the program is ending).
    const QList<QPointer<TFrmChild>> documents = m_documents;
    m_documents.clear();
    for (const QPointer<TFrmChild> &doc : documents) {
        if (!doc)
            continue;
        QWidget *frame = doc->parentWidget();
        delete (frame ? frame : doc.data());
    }
    m_turntable = nullptr;
}

void TFrmMain::FormCreate()
{
    RegisterFileType();
    std::unique_ptr<QSettings> store = OpenSettingsStore();
    if (const QStringList reset = Settings().ReadSettings(*store); !reset.isEmpty())
        ShowMessage(this, QMessageBox::Warning, TSettings::ResetMessage(reset));
    LoadRecentFiles(*store);
    m_toolPlacement->Read(*store);
    m_portAvailable = false;
    setAcceptDrops(true);
    // Hints reach status panel 0 through QEvent::StatusTip (see event()).
}

void TFrmMain::CreateMenus()
{
    const TMainActions &a = *m_actions;
    m_fileMenu = menuBar()->addMenu(tr("&Plik"));
    m_fileMenu->addActions({ a.acNowy, a.acOtworz, a.acZapisz, a.acZapiszJako, a.acDrukujExtra,
                             a.acZamknij, a.acZamknijWszy });
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(a.acZakoncz);
    m_recentMenu = new TRecentFilesMenu(*m_fileMenu, m_recentFiles, this);
    // Opening from the list leaves its order and the entry alone, also when it fails.
    connect(m_recentMenu, &TRecentFilesMenu::Chosen, this, &TFrmMain::OpenDocument);

    menuBar()->addMenu(tr("Po&miar"))->addAction(a.acDodaj);

    QMenu *chart = menuBar()->addMenu(tr("&Wykres"));
    chart->addActions({ a.acZapiszWykres, a.acDrukuj });
    chart->addSeparator();
    chart->addActions({ a.acSerie, a.acUstawienia });

    QMenu *tools = menuBar()->addMenu(tr("&Narzędzia"));
    tools->addAction(a.acGenerator);
    // The menu names the turntable item differently from its action.
    QAction *turntableItem
        = TMainActions::MenuItemFor(a.acStolikKontrol, tr("&Kontrola stolika"), this);
    turntableItem->setObjectName(QStringLiteral("miStolikKontrol"));
    tools->addAction(turntableItem);
    tools->addAction(a.acdBMeter);
    tools->addSeparator();
    tools->addAction(a.acUstawieniaG);

    m_windowMenu = menuBar()->addMenu(tr("&Okno"));
    m_windowMenu->addActions({ a.acKaskada, a.acPion, a.acPoziom });
    connect(m_windowMenu, &QMenu::aboutToShow, this,
            [this] { m_mdiArea->FillWindowList(*m_windowMenu); });

    QMenu *help = menuBar()->addMenu(tr("&Pomoc"));
    help->addAction(a.acPomoc);
    help->addSeparator();
    help->addAction(a.acAbout);
    connect(help, &QMenu::aboutToShow, this, &TFrmMain::UpdateActions);
}

void TFrmMain::CreateToolBars()
{
    const TMainActions &a = *m_actions;
    a.SetIcons(*style());

    m_fileBar = addToolBar(tr("Plik"));
    m_fileBar->setObjectName(QStringLiteral("ToolBar1"));
    m_fileBar->addActions({ a.acNowy, a.acOtworz, a.acZapisz });
    m_fileBar->addSeparator();
    m_fileBar->addActions({ a.acDrukuj, a.acSerie });

    m_toolsBar = addToolBar(tr("Narzędzia"));
    m_toolsBar->setObjectName(QStringLiteral("ToolBar2"));
    m_toolsBar->addActions({ a.acGenerator, a.acStolikKontrol, a.acdBMeter });
    m_toolsBar->addSeparator();
    m_toolsBar->addAction(a.acUstawieniaG);

    m_sizeBar = addToolBar(tr("Rozmiar"));
    m_sizeBar->setObjectName(QStringLiteral("ToolBar3"));
    m_sizeBox = new TSizeBox(m_sizeBar);
    m_sizeBar->addWidget(m_sizeBox);
    connect(m_sizeBox, &TSizeBox::ZoomChosen, this, [this](int percent) {
        if (TFrmChild *doc = ActiveDocument())
            doc->SetZoom(percent);
    });
    connect(m_sizeBox, &TSizeBox::InvalidEntered, this, [this] {
        if (TFrmChild *doc = ActiveDocument())
            m_sizeBox->ShowZoom(doc->Zoom());
    });

    m_leftBar = new QToolBar(tr("Pomiar"), this);
    m_leftBar->setObjectName(QStringLiteral("ToolBar4"));
    m_leftBar->setOrientation(Qt::Vertical);
    m_leftBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_leftBar->setIconSize(QSize(32, 32));
    m_leftBar->addActions({ a.acDodaj, a.acOdswiez });
    addToolBar(Qt::LeftToolBarArea, m_leftBar);

    // Moving the mouse over the frame, the status bar or the file bar clears the read-out.
    for (QWidget *w : { static_cast<QWidget *>(this), m_mdiArea->viewport(),
                        static_cast<QWidget *>(m_fileBar) }) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    for (QToolButton *button : m_fileBar->findChildren<QToolButton *>()) {
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
}

void TFrmMain::CreateStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setMouseTracking(true);
    bar->installEventFilter(this);
    m_panels = (new TStatusPanels(*bar))->Panels();
    for (QLabel *panel : m_panels) {
        panel->setMouseTracking(true);
        panel->installEventFilter(this);
    }
}

void TFrmMain::ConnectActions()
{
    const TMainActions &a = *m_actions;
    connect(a.acNowy, &QAction::triggered, this,
            [this] { CreateDocument(QStringLiteral("Seria_%1").arg(DocumentCount() + 1)); });
    connect(a.acOtworz, &QAction::triggered, this, &TFrmMain::OpenFromDialog);
    connect(a.acZapisz, &QAction::triggered, this, &TFrmMain::SaveActive);
    connect(a.acZapiszJako, &QAction::triggered, this, &TFrmMain::SaveActiveAs);
    connect(a.acZamknij, &QAction::triggered, this, [this] {
        if (TFrmChild *doc = ActiveDocument())
            (doc->parentWidget() ? doc->parentWidget() : doc)->close();
    });
    connect(a.acZamknijWszy, &QAction::triggered, this, [this] { CloseAllDocuments(false); });
    connect(a.acZakoncz, &QAction::triggered, this, &QWidget::close);
    connect(a.acZapiszWykres, &QAction::triggered, this, &TFrmMain::ExportActive);
    connect(a.acOdswiez, &QAction::triggered, this, [this] {
        if (TFrmChild *doc = ActiveDocument())
            doc->Graph().Refresh();
    });
    connect(a.acDodaj, &QAction::triggered, this,
            [this] { TMeasurementAction::Run(*this, m_clock); });
    connect(a.acSerie, &QAction::triggered, this,
            [this] { ToggleToolWindow(EToolWindow::SeriesEditor); });
    connect(a.acUstawienia, &QAction::triggered, this, [this] {
        if (TFrmChild *doc = ActiveDocument())
            doc->GraphView().ShowSettings();
    });
    connect(a.acGenerator, &QAction::triggered, this,
            [this] { ToggleToolWindow(EToolWindow::Generator); });
    connect(a.acStolikKontrol, &QAction::triggered, this,
            [this] { ToggleToolWindow(EToolWindow::Turntable); });
    connect(a.acdBMeter, &QAction::triggered, this,
            [this] { ToggleToolWindow(EToolWindow::Meter); });
    connect(a.acKaskada, &QAction::triggered, m_mdiArea, &QMdiArea::cascadeSubWindows);
    connect(a.acPion, &QAction::triggered, this, [this] { m_mdiArea->Tile(Qt::Horizontal); });
    connect(a.acPoziom, &QAction::triggered, this, [this] { m_mdiArea->Tile(Qt::Vertical); });
    connect(a.acPomoc, &QAction::triggered, this, &TFrmMain::ShowManual);
    connect(a.acAbout, &QAction::triggered, this, &TFrmMain::ShowAbout);
    connect(a.acUstawieniaG, &QAction::triggered, this, [this] {
        auto *controller = qobject_cast<TTurntableController *>(m_turntable);
        TFrmOpcje options(Settings(), controller ? &controller->Port() : nullptr, this);
        options.exec();
    });
    connect(a.acDrukuj, &QAction::triggered, this, [this] { TPrintAction::RunSingle(*this); });
    connect(a.acDrukujExtra, &QAction::triggered, this, [this] { TPrintAction::RunExtra(*this); });

    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        auto *doc = sub ? qobject_cast<TFrmChild *>(sub->widget()) : nullptr;
        if (doc && m_documents.contains(doc)) {
            m_lastActive = doc;
            doc->SyncMainWindow();
        }
        UpdateActions();
    });
}

// --- tool windows and turntable ---

void TFrmMain::SetToolWindow(EToolWindow which, QWidget *window)
{
    QPointer<QWidget> &slot = m_toolWindows[size_t(which)];
    if (slot == window)
        return;
    delete slot.data();
    slot = window;
    if (window) {
        // The series editor keeps the frame it asks for (with its maximise box), but not a
        // stay-on-top hint, which would put it over the modal dialogs.
        const bool editor = which == EToolWindow::SeriesEditor;
        const Qt::WindowFlags editorFlags
            = (window->windowFlags() | Qt::Tool) & ~Qt::WindowStaysOnTopHint;
        window->setParent(this, editor ? editorFlags : TToolWindowPlacement::SmallToolWindowFlags);
        m_toolPlacement->Track(*window, ToolWindowPlaceKeys[size_t(which)]);
        window->hide();
        window->installEventFilter(this);
        RegisterForm(window);
    }
    UpdateActions();
}

QWidget *TFrmMain::ToolWindow(EToolWindow which) const
{
    return m_toolWindows[size_t(which)];
}

void TFrmMain::SetSeriesEditorHooks(TSeriesEditorHooks hooks)
{
    m_seriesEditor = std::move(hooks);
    if (TFrmChild *doc = ActiveDocument())
        BindSeriesEditor(&doc->Graph());
}

void TFrmMain::ToggleToolWindow(EToolWindow which)
{
    if (QWidget *window = ToolWindow(which))
        window->setVisible(!window->isVisible());
    UpdateActions();
}

void TFrmMain::SetPortAvailable(bool available)
{
    m_portAvailable = available;
    UpdateActions();
}

void TFrmMain::SetTurntable(TTurntable *controller)
{
    if (m_turntable)
        disconnect(m_turntable, &QObject::destroyed, this, nullptr);
    m_turntable = controller;
    if (controller)
        connect(controller, &QObject::destroyed, this, [this] { m_turntable = nullptr; });
}

void TFrmMain::SetStatusNote(const QString &text)
{
    m_panels[3]->setText(text);
}

void TFrmMain::SetSplash(std::unique_ptr<TFrmSplash> splash)
{
    m_splash = std::move(splash);
}

int TFrmMain::StepTableAngle(int angle, int motionState)
{
    switch (motionState) {
    case 1: // turning back
    case 4: // returning to 0, which turns back
        angle -= 10;
        break;
    case 2: // turning forward
        angle += 10;
        break;
    default:
        return angle;
    }
    return ((angle % 360) + 360) % 360;
}

void TFrmMain::TurntableMark()
{
    if (!m_turntable)
        return;
    // A table that reports its position knows its angle; the others are counted in markers.
    const int angle = m_turntable->ReportsPosition()
        ? m_turntable->CurrentAngle()
        : StepTableAngle(m_turntable->CurrentAngle(), m_turntable->State());
    m_turntable->SetCurrentAngle(angle);
    m_panels[1]->setText(QStringLiteral("%1°").arg(angle));
}

TMeasurementProposal TFrmMain::ProposeMeasurement(const TPolarGraph &graph)
{
    return TMeasurementProposal::For(graph);
}

// --- actions' state ---

void TFrmMain::UpdateActions()
{
    const TMainActions &a = *m_actions;
    const bool open = DocumentCount() > 0;
    for (QAction *action :
         { a.acZapisz, a.acZapiszJako, a.acZamknij, a.acZapiszWykres, a.acOdswiez })
        action->setEnabled(open);
    a.acZamknijWszy->setEnabled(ActiveDocument() != nullptr);
    m_sizeBox->setEnabled(open);

    a.acDrukuj->setEnabled(open);
    a.acDrukujExtra->setEnabled(open);
    a.acUstawieniaG->setEnabled(true);
    a.acDodaj->setEnabled(open && m_portAvailable);
    a.acUstawienia->setEnabled(open);

    auto visible = [this](EToolWindow which) {
        const QWidget *w = ToolWindow(which);
        return w && w->isVisible();
    };
    a.acGenerator->setEnabled(ToolWindow(EToolWindow::Generator));
    a.acGenerator->setChecked(visible(EToolWindow::Generator));
    a.acdBMeter->setEnabled(ToolWindow(EToolWindow::Meter));
    a.acdBMeter->setChecked(visible(EToolWindow::Meter));
    a.acSerie->setEnabled(open && ToolWindow(EToolWindow::SeriesEditor));
    a.acSerie->setChecked(visible(EToolWindow::SeriesEditor));
    if (!m_portAvailable) {
        if (QWidget *turntable = ToolWindow(EToolWindow::Turntable))
            turntable->hide();
    }
    a.acStolikKontrol->setEnabled(m_portAvailable && ToolWindow(EToolWindow::Turntable));
    a.acStolikKontrol->setChecked(visible(EToolWindow::Turntable));

    a.acPomoc->setEnabled(QFileInfo::exists(ManualPath()));
}

QString TFrmMain::ManualPath()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("Manual/manual.htm"));
}

void TFrmMain::ShowManual()
{
    const QString path = ManualPath();
    if (QFileInfo::exists(path))
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    UpdateActions();
}

void TFrmMain::ShowAbout()
{
    TFrmAbout about(this);
    about.exec();
}

QMdiArea *TFrmMain::MdiArea() const
{
    return m_mdiArea;
}

QComboBox *TFrmMain::SizeBox() const
{
    return m_sizeBox->Combo();
}

QString TFrmMain::StatusPanelText(int panel) const
{
    return panel >= 0 && panel < 4 ? m_panels[size_t(panel)]->text() : QString();
}

// --- documents ---

int TFrmMain::DocumentCount() const
{
    int count = 0;
    for (const QPointer<TFrmChild> &doc : m_documents)
        count += doc ? 1 : 0;
    return count;
}

QList<TFrmChild *> TFrmMain::Documents() const
{
    QList<TFrmChild *> list;
    for (const QPointer<TFrmChild> &doc : m_documents)
        if (doc)
            list.append(doc);
    return list;
}

TFrmChild *TFrmMain::ActiveDocument() const
{
    if (QMdiSubWindow *sub = m_mdiArea->currentSubWindow()) {
        auto *doc = qobject_cast<TFrmChild *>(sub->widget());
        if (doc && m_documents.contains(doc))
            return doc;
    }
    // The area has no current window while the frame itself is not active (for instance
    // before it is first shown): the last activated or created document is the active one.
    if (m_lastActive && m_documents.contains(m_lastActive.data()))
        return m_lastActive;
    for (auto it = m_documents.crbegin(); it != m_documents.crend(); ++it)
        if (*it)
            return *it;
    return nullptr;
}

TFrmChild *TFrmMain::AddDocumentWindow(std::unique_ptr<TFrmChild> document)
{
    const bool first = DocumentCount() == 0;
    TFrmChild *doc = document.release(); // the area's sub-window owns it from here
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(doc);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    m_documents.append(doc);
    m_lastActive = doc;
    // The first window after none takes the remembered state; later ones the area's default.
    if (first)
        doc->ApplyWindowStateCode(Settings().DocWindowState);
    else
        sub->show();
    m_mdiArea->setActiveSubWindow(sub);
    UpdateActions();
    return doc;
}

TFrmChild *TFrmMain::CreateDocument(const QString &name)
{
    TFrmChild *doc = AddDocumentWindow(
        std::make_unique<TFrmChild>(*this, Settings().TempDir + QDir::separator() + name));
    doc->SetCaption(name);
    doc->Graph().SetTitle(name);
    doc->SyncMainWindow();
    doc->SetModified(false);
    return doc;
}

bool TFrmMain::OpenDocument(const QString &path)
{
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    switch (CheckOvkFile(fullPath)) {
    case EOvkValidity::Valid:
        break;
    case EOvkValidity::WrongMagic:
        ShowMessage(this, QMessageBox::Critical, InvalidFileMessage(fullPath));
        return false;
    case EOvkValidity::Unreadable:
        ShowMessage(this, QMessageBox::Critical, UnreadableFileMessage(fullPath));
        return false;
    }

    // Loaded before it joins the area: a window that fails goes without having been shown,
    // so the other windows keep their state (a maximised one stays maximised and active).
    auto loading = std::make_unique<TFrmChild>(*this, fullPath);
    loading->DocFile().Untitled = false;
    try {
        loading->DocFile().Load();
    } catch (const EInOutError &error) {
        loading.reset(); // without the closing questions: it never held a document
        ShowMessage(this, QMessageBox::Critical, error.Message());
        return false;
    }
    // Captioned before it joins the area: a maximised window lends the frame its caption.
    loading->Graph().SetTitle(loading->DocFile().Title);
    loading->SetModified(false);
    loading->SetCaption(loading->DocFile().FullPath());
    TFrmChild *doc = AddDocumentWindow(std::move(loading));
    doc->SyncMainWindow();
    doc->SetModified(false);
    emit DocumentOpened(doc);
    return true;
}

void TFrmMain::OpenCommandLineFiles(const QStringList &paths)
{
    for (const QString &path : paths)
        OpenDocument(path);
}

void TFrmMain::OpenFromDialog()
{
    const QString path = TDocumentFiles::AskOpenPath(this);
    if (!path.isEmpty() && OpenDocument(path)) {
        m_recentFiles.Add(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        m_recentMenu->Rebuild();
    }
}

bool TFrmMain::SaveActive()
{
    TFrmChild *doc = ActiveDocument();
    return doc && SaveDocument(*doc) == ESaveResult::Saved;
}

bool TFrmMain::SaveActiveAs()
{
    TFrmChild *doc = ActiveDocument();
    return doc && TDocumentFiles::SaveAs(this, *doc) == ESaveResult::Saved;
}

TDocumentHost::ESaveResult TFrmMain::SaveDocument(TFrmChild &document)
{
    return TDocumentFiles::Save(this, document);
}

bool TFrmMain::ExportActive()
{
    TFrmChild *doc = ActiveDocument();
    return doc && TDocumentFiles::Export(this, *doc);
}

void TFrmMain::CloseAllDocuments(bool force)
{
    const bool wasShuttingDown = m_shuttingDown;
    if (force)
        m_shuttingDown = true; // no document may refuse to close
    while (TFrmChild *doc = ActiveDocument()) {
        QWidget *frame = doc->parentWidget() ? doc->parentWidget() : doc;
        if (!frame->close() || m_documents.contains(doc)) {
            if (!force)
                break; // the document kept its changes after a failed save
            m_documents.removeAll(doc);
        }
        // Let the closed window go before the next one is taken.
        m_clock.WaitProcessing(0);
    }
    m_shuttingDown = wasShuttingDown;
    UpdateActions();
}

// --- TDocumentHost ---

void TFrmMain::ShowZoom(int zoom)
{
    m_sizeBox->ShowZoom(zoom);
}

void TFrmMain::BindSeriesEditor(TPolarGraph *graph)
{
    if (m_seriesEditor.Bind)
        m_seriesEditor.Bind(graph);
}

void TFrmMain::ShowCursorReadout(const QString &text)
{
    m_panels[2]->setText(text);
}

void TFrmMain::DocumentClosed(TFrmChild &document)
{
    const bool wasActive = ActiveDocument() == &document;
    m_documents.removeAll(&document);
    if (m_lastActive == &document)
        m_lastActive = nullptr;
    if (wasActive)
        BindSeriesEditor(nullptr); // the next activation binds the next document
    if (DocumentCount() == 0) {
        if (QWidget *editor = ToolWindow(EToolWindow::SeriesEditor))
            editor->hide();
        m_panels[2]->clear();
    }
    // The area activates the next window after this close has finished.
    QMetaObject::invokeMethod(this, &TFrmMain::UpdateActions, Qt::QueuedConnection);
    UpdateActions();
}

QList<QAction *> TFrmMain::ChartContextActions() const
{
    return { m_actions->acZapiszWykres, m_actions->acDrukuj, nullptr, m_actions->acUstawienia };
}

bool TFrmMain::CanDropSeries(QObject *dragSource, TPolarGraph &target) const
{
    return m_seriesEditor.CanCopyTo && m_seriesEditor.CopyTo
        && m_seriesEditor.CanCopyTo(dragSource, target);
}

void TFrmMain::DropSeries(TPolarGraph &target)
{
    if (m_seriesEditor.CopyTo)
        m_seriesEditor.CopyTo(target);
}

// --- recent files ---

void TFrmMain::LoadRecentFiles(QSettings &store)
{
    m_recentFiles.Load(store);
    m_recentMenu->Rebuild();
}

void TFrmMain::SaveRecentFiles(QSettings &store) const
{
    m_recentFiles.Save(store);
}

// --- events ---

bool TFrmMain::event(QEvent *event)
{
    if (event->type() == OrviMessage::TurntableMark) {
        TurntableMark();
        return true;
    }
    if (event->type() == OrviMessage::ProgramClosing)
        return true; // sent by this window itself
    if (event->type() == QEvent::StatusTip) {
        // Status panel 0 shows the long part of the hint of what is under the mouse.
        m_panels[0]->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TFrmMain::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
        if (watched == this || watched == m_mdiArea->viewport() || watched == statusBar()
            || watched == m_fileBar || watched->parent() == m_fileBar
            || watched->parent() == statusBar())
            m_panels[2]->clear();
        break;
    case QEvent::Show:
    case QEvent::Hide:
        for (const QPointer<QWidget> &w : m_toolWindows) {
            if (w == watched) {
                // After the change has taken effect.
                QMetaObject::invokeMethod(this, &TFrmMain::UpdateActions, Qt::QueuedConnection);
                break;
            }
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        QMetaObject::invokeMethod(this, &TFrmMain::FormShow, Qt::QueuedConnection);
    }
}

void TFrmMain::FormShow()
{
    if (!ActiveDocument())
        m_actions->acNowy->trigger();
    if (m_splash) {
        m_clock.WaitProcessing(500);
        m_splash->hide();
        m_splash.reset();
    }
}

void TFrmMain::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    m_shuttingDown = true;
    BroadcastToForms(OrviMessage::ProgramClosing);
    CloseAllDocuments(true);
    {
        std::unique_ptr<QSettings> store = OpenSettingsStore();
        Settings().WriteSettings(*store);
        SaveRecentFiles(*store);
        m_toolPlacement->Write(*store);
        store->sync();
    }
    if (m_portAvailable && (!m_turntable || qobject_cast<TTurntableController *>(m_turntable)))
        ShowMessage(this, QMessageBox::Warning, tr(SwitchOffWarning), QMessageBox::Ok);
    m_closed = true;
    for (const QPointer<QWidget> &w : m_toolWindows)
        if (w)
            w->hide();
    event->accept();
}

void TFrmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls()) {
        for (const QUrl &url : event->mimeData()->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
    event->ignore();
}

void TFrmMain::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    // Each file on its own: one that fails does not stop the others. Dropped files are not
    // added to the recent files.
    for (const QUrl &url : urls)
        if (url.isLocalFile())
            OpenDocument(url.toLocalFile());
}
