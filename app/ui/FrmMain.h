#pragma once

#include "app/RecentFiles.h"
#include "document/ui/DocumentHost.h"
#include "measurement/MeasurementProposal.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSettings;
class QToolBar;
class TClock;
class TDocumentArea;
class TFrmChild;
class TFrmSplash;
class TMainActions;
class TRecentFilesMenu;
class TSizeBox;
class TToolWindowPlacement;
class TTurntable;

// What the series editor lets the main window do with it (the editor's owner fills these
// in when it creates the editor; empty functions mean "no editor").
struct TSeriesEditorHooks
{
    std::function<void(TPolarGraph *graph)> Bind; // show this chart (nullptr: none)
    // May a drag that started at dragSource drop a series on target?
    std::function<bool(QObject *dragSource, TPolarGraph &target)> CanCopyTo;
    // Copy the editor's selected series into target.
    std::function<void(TPolarGraph &target)> CopyTo;
};

// The main frame window "Orvi": menus, tool bars, status bar and actions, the document
// windows in its MDI area, the recent-files list, the tool windows it shows and hides, and
// the start-up and shut-down sequences. GUI thread only.
//
// Creation does what the program needs before the tool windows exist: file type
// registration, reading the settings and the recent files. The window owns the document
// windows, the tool windows handed to SetToolWindow and the splash window until it goes.
class TFrmMain : public QMainWindow, public TDocumentHost
{
    Q_OBJECT

public:
    enum class EToolWindow { Generator, Meter, Turntable, SeriesEditor };
    static constexpr int ToolWindowCount = 4;

    // Default series colours of new measurements, 0x00BBGGRR.
    static constexpr std::array<quint32, 8> SeriesColors = TMeasurementProposal::SeriesColors;

    // clock times the splash pause and the waits of "close all"; it must outlive the window.
    explicit TFrmMain(TClock &clock, QWidget *parent = nullptr);
    ~TFrmMain() override;

    // --- Tool windows and turntable (called while the program starts) ---

    // Takes ownership of window, makes it a hidden tool window of this one (above it, below
    // the modal dialogs) toggled by its action (ticked while visible) and placed in the
    // document area. A later call for the same kind replaces the earlier one.
    void SetToolWindow(EToolWindow which, QWidget *window);
    QWidget *ToolWindow(EToolWindow which) const;
    void SetSeriesEditorHooks(TSeriesEditorHooks hooks);
    // Places the tool windows in the document area and keeps their places; other tool
    // windows of the frame (e.g. the directivity map) are tracked here too.
    TToolWindowPlacement &ToolPlacement() const { return *m_toolPlacement; }

    // True when the turntable's parallel port is open: enables "Dodaj" and "Kontroler
    // stolika" and asks for the turntable to be switched off at exit.
    void SetPortAvailable(bool available);
    bool PortAvailable() const { return m_portAvailable; }

    // The turntable whose angle the status bar shows; not owned, may be nullptr. On each
    // OrviMessage::TurntableMark the window steps the controller's CurrentAngle by its
    // MotionState and shows it as "%d°".
    void SetTurntable(TTurntable *controller);
    TTurntable *Turntable() const { return m_turntable; }

    // Text of the last status panel (e.g. that the simulated turntable is in use).
    void SetStatusNote(const QString &text);

    // The splash window, destroyed when the main window has been shown.
    void SetSplash(std::unique_ptr<TFrmSplash> splash);
    TFrmSplash *Splash() const { return m_splash.get(); }

    // --- Documents ---

    // A new untitled document "name" in the working folder. Returns the window.
    TFrmChild *CreateDocument(const QString &name);
    // Opens a characteristic file in a new document window. False (nothing opened) when the
    // file is missing, unreadable, not a characteristic file (the user is told) or fails to
    // load (the user is told).
    bool OpenDocument(const QString &path);
    // Opens each file in order; the recent files are not changed.
    void OpenCommandLineFiles(const QStringList &paths);
    // Open document windows in creation order.
    QList<TFrmChild *> Documents() const;
    // Saves the active document / saves it under a new name (the user is asked).
    bool SaveActive();
    bool SaveActiveAs();
    // Exports the active document's chart to a picture file (the user is asked).
    bool ExportActive();
    // Closes every document (asking to save modified ones). With force no close is refused.
    void CloseAllDocuments(bool force = false);

    // Name and colour "Dodaj" proposes for the next measurement of graph.
    static TMeasurementProposal ProposeMeasurement(const TPolarGraph &graph);
    // The table angle after one marker in the given motion state (1 back, 2 forward,
    // 4 returning to 0; others keep it), degrees 0..350.
    static int StepTableAngle(int angle, int motionState);

    // Who writes what is kept beside a document's file (TDocumentHost::SaveBeside).
    using TBesideWriter = std::function<QString(TFrmChild &document, const QString &path)>;
    void SetBesideWriter(TBesideWriter writer) { m_besideWriter = std::move(writer); }

    // --- Recent files ---
    TRecentFiles &RecentFiles() { return m_recentFiles; }
    void LoadRecentFiles(QSettings &store);
    void SaveRecentFiles(QSettings &store) const;

    // --- Controls, for the windows that reach into the frame ---
    const TMainActions &Actions() const { return *m_actions; }
    QComboBox *SizeBox() const;
    QMdiArea *MdiArea() const;
    QMenu *FileMenu() const { return m_fileMenu; }
    QMenu *WindowMenu() const { return m_windowMenu; }
    // Text of status panel 0..3.
    QString StatusPanelText(int panel) const;
    // Recomputes every action's enabled and ticked state (also done on every change the
    // window sees).
    void UpdateActions();
    // Path of the manual: Manual/manual.htm beside the executable.
    static QString ManualPath();

    // --- TDocumentHost ---
    int DocumentCount() const override;
    TFrmChild *ActiveDocument() const override;
    void ShowZoom(int zoom) override;
    void BindSeriesEditor(TPolarGraph *graph) override;
    void ShowCursorReadout(const QString &text) override;
    ESaveResult SaveDocument(TFrmChild &document) override;
    QString SaveBeside(TFrmChild &document, const QString &path) override
    {
        return m_besideWriter ? m_besideWriter(document, path) : QString();
    }
    void DocumentClosed(TFrmChild &document) override;
    bool ShuttingDown() const override { return m_shuttingDown; }
    QList<QAction *> ChartContextActions() const override;
    bool CanDropSeries(QObject *dragSource, TPolarGraph &target) const override;
    void DropSeries(TPolarGraph &target) override;

signals:
    // A document was opened from its file and shows in the area (OpenDocument).
    void DocumentOpened(TFrmChild *document);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    void ConnectActions();
    void TurntableMark();
    void OpenFromDialog();
    void ToggleToolWindow(EToolWindow which);
    void ShowManual();
    void ShowAbout();
    TFrmChild *AddDocumentWindow(std::unique_ptr<TFrmChild> document);

    TClock &m_clock;
    std::unique_ptr<TMainActions> m_actions;
    TDocumentArea *m_mdiArea = nullptr;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    TRecentFilesMenu *m_recentMenu = nullptr;
    QToolBar *m_fileBar = nullptr;
    QToolBar *m_toolsBar = nullptr;
    QToolBar *m_sizeBar = nullptr;
    QToolBar *m_leftBar = nullptr;
    TSizeBox *m_sizeBox = nullptr;
    std::array<QLabel *, 4> m_panels {};
    std::array<QPointer<QWidget>, ToolWindowCount> m_toolWindows {};
    std::unique_ptr<TToolWindowPlacement> m_toolPlacement;
    TSeriesEditorHooks m_seriesEditor;
    TBesideWriter m_besideWriter;
    QList<QPointer<TFrmChild>> m_documents;
    QPointer<TFrmChild> m_lastActive;
    TRecentFiles m_recentFiles;
    TTurntable *m_turntable = nullptr;
    std::unique_ptr<TFrmSplash> m_splash;
    bool m_portAvailable = false;
    bool m_shown = false;
    bool m_shuttingDown = false;
    bool m_closed = false;
};
