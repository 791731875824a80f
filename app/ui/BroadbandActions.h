#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QWidget;
class TFrmChild;
class TFrmMain;
class TFrmMapa;

// The main window's actions for the last broadband measurement of the active document:
// "Mapa kierunkowości" (shows one TFrmMapa that follows the active document) and
// "Eksportuj FRD…" (one FRD file per 10° into a folder the user picks, for the newest turn of
// each plane). Both are in the
// chart menu, next to "Eksportuj", and enabled only while the active document has a
// broadband result. It also keeps a document's measurements beside its file: a save writes
// them into "<name>.pomiary" (TMeasurementFolder), and opening the document analyses them
// again, so its results come back. Owned by the main window (a QObject child, as is the map
// window). GUI thread only.
class TBroadbandActions : public QObject
{
    Q_OBJECT

public:
    static constexpr int FrdStepDeg = 10;
    // How long the status bar says what was not found when a document opened, ms.
    static constexpr int RestoreMessageMs = 30000;

    // Creates the actions for main and puts them into its menu.
    static TBroadbandActions &Install(TFrmMain &main);
    // The instance Install made for main, or nullptr.
    static TBroadbandActions *Of(const TFrmMain &main);

    // Asks for an existing folder (owner, start folder); empty when cancelled. Tests
    // replace it. Default: QFileDialog::getExistingDirectory.
    static std::function<QString(QWidget *owner, const QString &start)> &AskFolder();

    // "plik", "pliki" or "plików" after count.
    static QString FilesWord(int count);

    QAction *MapAction() const { return m_map; }
    QAction *FrdAction() const { return m_frd; }
    // The map window, nullptr until "Mapa kierunkowości" was first used.
    TFrmMapa *MapWindow() const;

    // Shows and raises the map window for the active document.
    void ShowMap();
    // "Eksportuj FRD…" for the active document. True when the set was written.
    bool ExportFrd();

    // Writes the document's kept measurements beside path (before the document file is
    // written there); the user's message when that failed, empty otherwise (also when the
    // document has none).
    QString SaveBeside(TFrmChild &document, const QString &path);
    // Analyses the measurements kept beside an opened document again: its newest result
    // is back for the map and the FRD export. What was not found or could not be read is
    // said in one status bar line; nothing is written.
    void RestoreMeasurements(TFrmChild *document);
    // The status bar line RestoreMeasurements shows (empty when all was found).
    static QString RestoreMessage(const QStringList &problems);

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
