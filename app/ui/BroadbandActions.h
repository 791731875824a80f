#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QWidget;
class TFrmMain;
class TFrmMapa;

// The main window's actions for the last broadband measurement of the active document:
// "Mapa kierunkowości" (shows one TFrmMapa that follows the active document) and
// "Eksportuj FRD…" (one FRD file per 10° into a folder the user picks). Both are in the
// chart menu, next to "Eksportuj", and enabled only while the active document has a
// broadband result. Owned by the main window (a QObject child, as is the map window).
// GUI thread only.
class TBroadbandActions : public QObject
{
    Q_OBJECT

public:
    static constexpr int FrdStepDeg = 10;

    // Creates the actions for main and puts them into its menu.
    static TBroadbandActions &Install(TFrmMain &main);
    // The instance Install made for main, or nullptr.
    static TBroadbandActions *Of(const TFrmMain &main);

    // Asks for an existing folder (owner, start folder); empty when cancelled. Tests
    // replace it. Default: QFileDialog::getExistingDirectory.
    static std::function<QString(QWidget *owner, const QString &start)> &AskFolder();

    QAction *MapAction() const { return m_map; }
    QAction *FrdAction() const { return m_frd; }
    // The map window, nullptr until "Mapa kierunkowości" was first used.
    TFrmMapa *MapWindow() const;

    // Shows and raises the map window for the active document.
    void ShowMap();
    // "Eksportuj FRD…" for the active document. True when the set was written.
    bool ExportFrd();

private:
    explicit TBroadbandActions(TFrmMain &main);
    void AddToMenu();
    // Soon, once the change that asked for it has finished (a closing document still
    // counts as active while it goes).
    void ScheduleUpdate();
    void Update();

    TFrmMain &m_main;
    QAction *m_map = nullptr;
    QAction *m_frd = nullptr;
    QPointer<TFrmMapa> m_window;
    QString m_lastFolder;
    bool m_updatePending = false;
};
