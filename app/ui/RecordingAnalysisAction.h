#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QDialog;
class TFrmMain;

// "Pomiar → Analizuj nagranie…": picks a kept recording (a WAV with its marker log beside
// it, in the working folder's "Pomiary" at first), asks for the series name and the broadband
// settings ("Analiza nagrania") and adds the level series and the band series to the active
// document as orvi-cli analyse does. The result is then the document's like a fresh
// measurement's: the map, the FRD export and the measurements saved beside the document.
// Owned by the main window (a QObject child). GUI thread only.
class TRecordingAnalysisAction : public QObject
{
    Q_OBJECT

public:
    // Creates the action for main and puts it into the measurement menu after "Dodaj".
    static TRecordingAnalysisAction &Install(TFrmMain &main);
    static TRecordingAnalysisAction *Of(const TFrmMain &main);

    // Shows the modal dialog and returns its result; tests replace it. Default: exec().
    static std::function<int(QDialog &dialog)> &Exec();
    // The open dialog's filter of kept recordings.
    static QString RecordingFilter();

    QAction *Action() const { return m_action; }

    // The whole action on the active document. True when series were added.
    bool Run();

private:
    explicit TRecordingAnalysisAction(TFrmMain &main);
    void AddToMenu();
    void Update();
    // Asks for the recording; empty when cancelled.
    QString AskRecording();

    TFrmMain &m_main;
    QAction *m_action = nullptr;
};
