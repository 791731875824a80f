#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QWidget;
class TFrmMain;
class TFrmSpinorama;
class TSpinorama;
struct TSpinSource;

// The main window's actions for the spin of the active document (its newest horizontal and
// newest vertical broadband turns): "Spinorama" (one TFrmSpinorama that follows the active
// document), "Eksportuj dla spinoramy…" (both planes every 10° as text files into a folder)
// and "Eksportuj krzywe CTA-2034…" (the curves as CSV). They sit in the chart menu beside
// the map and the FRD export and are enabled only while the active document has both planes.
// Owned by the main window (a QObject child, as is the window). GUI thread only.
class TSpinActions : public QObject
{
    Q_OBJECT

public:
    // Creates the actions for main (after TBroadbandActions) and puts them into its menu.
    static TSpinActions &Install(TFrmMain &main);
    static TSpinActions *Of(const TFrmMain &main);

    // Asks for an existing folder (owner, start folder); empty when cancelled. Tests replace
    // it. Default: QFileDialog::getExistingDirectory.
    static std::function<QString(QWidget *owner, const QString &start)> &AskFolder();

    QAction *SpinAction() const { return m_spin; }
    QAction *FolderAction() const { return m_folder; }
    QAction *CurvesAction() const { return m_curves; }
    // The window, nullptr until "Spinorama" was first used.
    TFrmSpinorama *Window() const;

    void ShowSpin();
    // "Eksportuj dla spinoramy…"; true when the files were written.
    bool ExportFolder();
    // "Eksportuj krzywe CTA-2034…"; true when the file was written.
    bool ExportCurves();

private:
    explicit TSpinActions(TFrmMain &main);
    void AddToMenu();
    void ScheduleUpdate();
    void Update();
    // The active document's two turns and their spin; std::nullopt after saying why not.
    std::optional<TSpinSource> ActiveSpin();
    // Where the export dialogs start: the last folder used, or the document's.
    QString StartFolder() const;

    TFrmMain &m_main;
    QAction *m_spin = nullptr;
    QAction *m_folder = nullptr;
    QAction *m_curves = nullptr;
    QPointer<TFrmSpinorama> m_window;
    QString m_lastFolder;
    bool m_updatePending = false;
};
