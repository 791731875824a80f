#pragma once

#include "analysis/BroadbandOptions.h"
#include "analysis/KeptMeasurement.h"
#include "analysis/MarkerLog.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TClock;
class TDirectivityResult;
class TMeasurementRig;
class TPolarGraph;
class TSeries;

// One measurement: returns the table to 0°, has the turntable's range run drive the
// recording (RecordStart, RecordAppend, RangeProgress, RecordStop), computes one level per
// block of the recording and adds the normalised series to the target chart. The
// measurement window "Pomiar" is a thin view over it.
//
// A series is made only from a recording that this run wrote completely while the table
// turned over the whole range; any other end (cancel, a stop, a write error, an invalid
// range) adds nothing and says that the measurement was interrupted. Nor is one made from a
// recording that gives fewer than two levels or holds no signal (its loudest block below
// TLevelComputation::SilenceDbFs): the run says why. A recording that ended before the range
// did (as its marker log shows) spreads its levels over the angles it covers, with a warning.
//
// GUI thread only. Start() and ComputeFromFile() return when the run is over; they process
// events (through the clock) while they wait, so Close() can arrive inside them.
class TMeasurementRun : public QObject
{
    Q_OBJECT

public:
    // Phase texts (heading of the group box, status line) as Polish source texts; Heading()
    // and Status() give them in the program's language.
    static const QString HeadingSetup; // "Ustawienia początkowe"
    static const QString HeadingMeasure; // "Pomiar"
    static const QString StatusReturning; // "Powrót stolika do pozycji 0° ..."
    static const QString StatusPreparing; // "Przygotowanie do pomiaru..."
    static const QString StatusRecording; // "Nagrywanie do pliku: temp.raw"
    // "Nagrywanie do pliku: " and the name of the file being recorded (no folder).
    static QString StatusRecordingTo(const QString &fileName);
    static const QString StatusComputing; // "Wyznaczenie charakterystyki..."
    static const QString StatusDone; // "Gotowe..."
    static const QString StatusInterrupted; // "Pomiar przerwany..."

    // Connects to the rig's turntable for the run's lifetime; both must outlive the run.
    TMeasurementRun(TMeasurementRig &rig, TClock &clock, QObject *parent = nullptr);
    ~TMeasurementRun() override;

    // What the main window hands over before the window is shown.
    TPolarGraph *Chart = nullptr; // not owned
    QString SeriesName;
    quint32 SeriesColor = 0; // 0x00BBGGRR
    bool InternalGenerator = true;
    int BlockBytes = 512; // one level per block of this many bytes (RMSBuffNumber)
    // Set: the band polars of a broadband analysis follow the level series.
    std::optional<TBroadbandOptions> Broadband;
    // Every complete recording is kept, with its marker log, in "Pomiary" under this folder
    // (empty: not kept).
    QString WorkingFolder;

    // "Start": the whole run.
    void Start();
    // "+": steps from the computation on, from the recording file as it is now.
    void ComputeFromFile();
    // "Zamknij". Returns true when the window should close now with the Cancel result
    // (idle); during a run it asks for the Cancel result at the run's end and, once the
    // table has left 0°, cancels the run.
    bool Close();

    bool Idle() const { return m_idle; }
    bool Aborted() const { return m_abort; }
    // The window closes with the Cancel result once Start/ComputeFromFile has returned.
    bool CancelPending() const { return m_cancelPending; }
    bool Running() const { return m_running; }
    // "Start" stays disabled after a run or a "+".
    bool StartEnabled() const { return m_startEnabled; }
    bool ProgressVisible() const { return m_progressVisible; }
    QString Heading() const { return m_heading; }
    QString Status() const { return m_status; }
    // Normal findings of the last run (an anechoic room has no reflection to gate before),
    // one line each: the window shows them under the status, not in a box.
    QStringList Notes() const { return m_notes; }
    int Progress() const { return m_progress; }
    // The series this run added, or nullptr.
    TSeries *AddedSeries() const { return m_added; }
    // The band series of the broadband analysis, in band order (empty without one).
    const std::vector<TSeries *> &BandSeries() const { return m_bandSeries; }
    std::shared_ptr<const TDirectivityResult> BroadbandResult() const { return m_broadband; }
    // The kept recording (WAV) of the last complete run, or empty.
    QString KeptRecording() const { return m_keptRecording; }
    const TMarkerLog &MarkerLog() const { return m_log; }
    // The broadband measurement as it can be analysed again from its kept recording.
    TKeptMeasurement KeptMeasurement() const;

    // How an error is shown (default: ignored; the window and the batch tool set it).
    std::function<void(const QString &text)> ShowError;
    // How a warning is shown once the run has ended: the series were still added (default:
    // ignored).
    std::function<void(const QString &text)> ShowWarning;

signals:
    // Heading, status, progress or a button state changed.
    void Changed();

private:
    // The range run's messages.
    void RecordStart();
    void RecordAppend();
    void RangeProgress(int percent);
    void RecordStop();
    void WriteFailed(const QString &text);
    void StreamFailed(const QString &text);

    void SetPhase(const QString &heading, const QString &status);
    void SetStatus(const QString &status);
    void SetProgress(int percent);
    void Fail(const QString &text);
    bool RangeCovered() const;
    // runRecording: the recording is this run's, so its marker log tells where it ended.
    void Compute(bool runRecording);
    // Where the level series ends, degrees: the stop angle, or where a recording of this run
    // that ended early stops (with a warning).
    int LevelStopDeg(bool runRecording);
    void ComputeBroadband();
    void MarkCounted();
    void PositionReported(double degrees, qint64 ms);
    void KeepRecording();
    void Finish();

    TMeasurementRig &m_rig;
    TClock &m_clock;
    QString m_heading;
    QString m_status;
    QString m_error; // the first error of this run; shown once at its end
    TSeries *m_added = nullptr;
    std::vector<TSeries *> m_bandSeries;
    std::shared_ptr<const TDirectivityResult> m_broadband;
    QStringList m_warnings; // shown after the error, at the run's end
    QStringList m_notes;
    // Where each counted marker fell in this run's recording; valid once the rig described
    // the excitation and the recording has timing.
    TMarkerLog m_log;
    bool m_logged = false; // the recording's markers are logged
    bool m_logValid = false; // and the excitation can be made again
    double m_generatorStartMs = -1.0;
    QString m_keptRecording;
    int m_progress = 0;
    bool m_abort = false;
    bool m_idle = true;
    bool m_running = false;
    bool m_cancelPending = false;
    bool m_startEnabled = true;
    bool m_progressVisible = true;
    // The recording of this run: opened, appended to while the table turned, closed whole.
    bool m_recordOpened = false;
    bool m_recordAppended = false;
    bool m_recordComplete = false;
};
