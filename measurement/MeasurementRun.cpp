#include "measurement/MeasurementRun.h"

#include "analysis/BroadbandAnalysis.h"
#include "analysis/BroadbandStore.h"
#include "analysis/RecordingArchive.h"
#include "audio/RecordFile.h"
#include "chart/Series.h"
#include "controls/Clock.h"
#include "document/InOutError.h"
#include "measurement/LevelComputation.h"
#include "measurement/MeasurementRig.h"
#include "turntable/Turntable.h"
#include "turntable/TurntableController.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>

namespace {

// The phase texts as the run shows them, translated when they are set (the public constants
// below are these source texts, made before any translation is installed).
const char *const HeadingSetupText = QT_TRANSLATE_NOOP("TMeasurementRun", "Ustawienia początkowe");
const char *const HeadingMeasureText = QT_TRANSLATE_NOOP("TMeasurementRun", "Pomiar");
const char *const StatusReturningText
    = QT_TRANSLATE_NOOP("TMeasurementRun", "Powrót stolika do pozycji 0° ...");
const char *const StatusPreparingText
    = QT_TRANSLATE_NOOP("TMeasurementRun", "Przygotowanie do pomiaru...");
const char *const StatusComputingText
    = QT_TRANSLATE_NOOP("TMeasurementRun", "Wyznaczenie charakterystyki...");
const char *const StatusRecordingText
    = QT_TRANSLATE_NOOP("TMeasurementRun", "Nagrywanie do pliku: ");
const char *const StatusDoneText = QT_TRANSLATE_NOOP("TMeasurementRun", "Gotowe...");
const char *const StatusInterruptedText
    = QT_TRANSLATE_NOOP("TMeasurementRun", "Pomiar przerwany...");

} // namespace

const QString TMeasurementRun::HeadingSetup = QString::fromUtf8(HeadingSetupText);
const QString TMeasurementRun::HeadingMeasure = QString::fromUtf8(HeadingMeasureText);
const QString TMeasurementRun::StatusReturning = QString::fromUtf8(StatusReturningText);
const QString TMeasurementRun::StatusPreparing = QString::fromUtf8(StatusPreparingText);
const QString TMeasurementRun::StatusRecording
    = QString::fromUtf8(StatusRecordingText) + QStringLiteral("temp.raw");
const QString TMeasurementRun::StatusComputing = QString::fromUtf8(StatusComputingText);
const QString TMeasurementRun::StatusDone = QString::fromUtf8(StatusDoneText);
const QString TMeasurementRun::StatusInterrupted = QString::fromUtf8(StatusInterruptedText);

QString TMeasurementRun::StatusRecordingTo(const QString &fileName)
{
    return tr(StatusRecordingText) + fileName;
}

namespace {
// Slice of the wait for the end of the return to 0°, ms.
constexpr int ReturnPollMs = 10;
} // namespace

TMeasurementRun::TMeasurementRun(TMeasurementRig &rig, TClock &clock, QObject *parent)
    : QObject(parent)
    , m_rig(rig)
    , m_clock(clock)
{
    // The range run talks to a measurement only while one exists: these connections go
    // with this object.
    TTurntable *turntable = &rig.Turntable();
    connect(turntable, &TTurntable::RecordStart, this, &TMeasurementRun::RecordStart);
    connect(turntable, &TTurntable::RecordAppend, this, &TMeasurementRun::RecordAppend);
    connect(turntable, &TTurntable::RangeProgress, this, &TMeasurementRun::RangeProgress);
    connect(turntable, &TTurntable::RecordStop, this, &TMeasurementRun::RecordStop);
    connect(turntable, &TTurntable::MarkAccepted, this, &TMeasurementRun::MarkCounted);
    connect(turntable, &TTurntable::PositionReported, this, &TMeasurementRun::PositionReported);
    // Kept for the run's whole life: a failure reported late (it is queued) must still
    // reach the run rather than open a second box.
    m_rig.SetWriteErrorHandler([this](const QString &text) { WriteFailed(text); });
    m_rig.SetStreamFailureHandler([this](const QString &text) { StreamFailed(text); });
}

TMeasurementRun::~TMeasurementRun()
{
    m_rig.SetWriteErrorHandler(nullptr);
    m_rig.SetStreamFailureHandler(nullptr);
}

void TMeasurementRun::SetPhase(const QString &heading, const QString &status)
{
    m_heading = heading;
    m_status = status;
    emit Changed();
}

void TMeasurementRun::SetStatus(const QString &status)
{
    SetPhase(m_heading, status);
}

void TMeasurementRun::SetProgress(int percent)
{
    if (percent == m_progress)
        return;
    m_progress = percent;
    emit Changed();
}

void TMeasurementRun::Fail(const QString &text)
{
    if (!m_error.isEmpty())
        return;
    m_error = text;
    // Ends the range run's wait; the recording is then stopped and closed as usual.
    if (m_running && !m_idle)
        m_rig.Turntable().StopMove();
}

void TMeasurementRun::WriteFailed(const QString &text)
{
    if (m_running)
        Fail(text + tr("\n\nPomiar został przerwany."));
}

void TMeasurementRun::StreamFailed(const QString &text)
{
    // A dead sound device ends a run as a failed write does; between runs it is only news.
    if (m_running)
        WriteFailed(text);
    else if (ShowError)
        ShowError(text);
}

void TMeasurementRun::Start()
{
    if (m_running || !m_startEnabled)
        return;
    m_running = true;
    m_abort = false;
    m_error.clear();
    m_recordOpened = m_recordAppended = m_recordComplete = false;
    m_progress = 0;
    m_warnings.clear();
    m_notes.clear();
    m_keptRecording.clear();

    TTurntable &turntable = m_rig.Turntable();
    turntable.ResetMove();
    SetPhase(tr(HeadingSetupText), tr(StatusReturningText));
    while (turntable.State() == 4)
        m_clock.WaitProcessing(ReturnPollMs);
    m_idle = false;
    SetStatus(tr(StatusPreparingText));

    const bool ran = turntable.RunRange(m_rig.StartAngle(), m_rig.StopAngle());
    // A write failure is reported through the event loop; let it arrive.
    m_clock.WaitProcessing(0);
    if (m_rig.RecordWriteFailed() && m_error.isEmpty())
        Fail(
            tr("Błąd zapisu do pliku %1.\n\nPomiar został przerwany.").arg(m_rig.RecordFilePath()));

    SetStatus(tr(StatusComputingText));
    const bool recorded = ran && m_recordComplete && RangeCovered() && m_error.isEmpty();
    if (!m_abort && recorded) {
        KeepRecording();
        Compute(true);
    }
    if (m_abort)
        m_cancelPending = true;
    else
        SetStatus(recorded && m_error.isEmpty() ? tr(StatusDoneText) : tr(StatusInterruptedText));
    Finish();
}

void TMeasurementRun::ComputeFromFile()
{
    if (m_running)
        return;
    m_running = true;
    m_error.clear();
    m_warnings.clear();
    m_notes.clear();
    SetPhase(tr(HeadingMeasureText), tr(StatusComputingText));
    Compute(false);
    if (m_abort)
        m_cancelPending = true;
    else
        SetStatus(m_error.isEmpty() ? tr(StatusDoneText) : tr(StatusInterruptedText));
    Finish();
}

bool TMeasurementRun::Close()
{
    if (!m_running)
        return true;
    m_cancelPending = true;
    // While the table returns to 0° the run is still idle: it goes on to its end.
    if (!m_idle) {
        m_abort = true;
        m_rig.Turntable().StopMove();
    }
    return false;
}

bool TMeasurementRun::RangeCovered() const
{
    const int span = std::abs(m_rig.StopAngle() - m_rig.StartAngle());
    return m_rig.Turntable().MoveCounter() >= span / 10;
}

int TMeasurementRun::LevelStopDeg(bool runRecording)
{
    if (!runRecording || !m_logged)
        return m_rig.StopAngle();
    m_log.RecordedSamples = QFileInfo(m_rig.RecordFilePath()).size() / 2;
    const std::optional<int> end = m_log.EarlyEndDeg();
    if (!end)
        return m_rig.StopAngle();
    m_warnings << TLevelComputation::EarlyEndWarning(*end, m_rig.StopAngle());
    return *end;
}

void TMeasurementRun::Compute(bool runRecording)
{
    if (!Chart)
        return;
    TLevelComputation computation;
    computation.SetProgress([this](int percent) {
        SetProgress(percent);
        m_clock.WaitProcessing(0); // the window stays responsive; "Zamknij" can arrive
    });
    computation.SetAbortCheck([this] { return m_abort; });
    std::vector<double> levels;
    try {
        levels = computation.Compute(m_rig.RecordFilePath(), BlockBytes);
    } catch (const EInOutError &error) {
        Fail(error.Message());
        return;
    }
    if (m_abort || computation.Aborted())
        return;
    const QString refusal = TLevelComputation::MeasurementRefusal(levels);
    if (!refusal.isEmpty()) {
        Fail(refusal);
        return;
    }
    m_added = TLevelComputation::AddMeasuredSeries(*Chart, SeriesName, SeriesColor, levels,
                                                   m_rig.StartAngle(), LevelStopDeg(runRecording));
    if (Broadband)
        ComputeBroadband();
}

void TMeasurementRun::ComputeBroadband()
{
    if (!m_logValid) {
        m_warnings << tr("Analiza szerokopasmowa wymaga nagrania z dziennikiem "
                         "znaczników i sygnałem generatora wewnętrznego o tej samej "
                         "częstotliwości próbkowania co wejście; dodano tylko "
                         "charakterystykę poziomu.");
        return;
    }
    QString error;
    const std::optional<std::vector<qint16>> raw = TRecordingArchive::ReadRaw(
        m_rig.RecordFilePath(), TWavFile::MaxTurnSamples(m_log.SampleRate), &error);
    std::optional<TDirectivityResult> result;
    if (raw) {
        m_log.RecordedSamples = qint64(raw->size());
        result = TBroadbandAnalysis::Analyse(*raw, m_log, *Broadband, &error, [this](int percent) {
            SetProgress(percent);
            m_clock.WaitProcessing(0);
            return m_abort;
        });
    }
    if (m_abort)
        return;
    if (!result) {
        m_warnings << tr("Analiza szerokopasmowa nie powiodła się: %1").arg(error);
        return;
    }
    result->Name = SeriesName;
    m_warnings << result->Warnings;
    m_notes << result->Notes;
    m_bandSeries = TBroadbandAnalysis::AddBandSeries(*Chart, *result, *Broadband);
    m_broadband = std::make_shared<const TDirectivityResult>(std::move(*result));
    TBroadbandStore::Instance().Set(Chart, m_broadband, *Broadband);
    if (!m_keptRecording.isEmpty())
        TBroadbandStore::Instance().AddKept(Chart, KeptMeasurement());
}

TKeptMeasurement TMeasurementRun::KeptMeasurement() const
{
    TKeptMeasurement kept;
    kept.Recording = m_keptRecording;
    kept.Log = m_log;
    kept.Options = Broadband.value_or(TBroadbandOptions {});
    kept.Plane = TKeptMeasurement::PlaneOf(kept.Options);
    kept.Name = SeriesName;
    if (m_added)
        kept.SeriesNames << m_added->Name;
    for (const TSeries *band : m_bandSeries)
        kept.SeriesNames << band->Name;
    return kept;
}

void TMeasurementRun::MarkCounted()
{
    TRecordFile *recording = m_rig.Recording();
    if (!m_logged || !m_recordAppended || !recording)
        return;
    const double position = recording->PositionNow();
    if (position < 0)
        return;
    // The marker timer sees a marker up to one interval after the table reached it, half an
    // interval on average; a table that reports its position counts markers from the reports.
    const double late = m_rig.Turntable().ReportsPosition()
        ? 0.0
        : TTurntableController::MarkerIntervalMs / 2.0 * m_log.SampleRate / 1000.0;
    m_log.MarkerSamples.push_back(std::max(0.0, position - late));
}

void TMeasurementRun::PositionReported(double degrees, qint64 ms)
{
    TRecordFile *recording = m_rig.Recording();
    if (!m_logged || !m_recordAppended || !recording || ms != m_clock.NowMs())
        return;
    // The report is the table's position now: at the recording's sample now.
    const double position = recording->PositionNow();
    if (position < 0
        || (!m_log.Positions.empty()
            && (position <= m_log.Positions.back().Sample
                || degrees < m_log.Positions.back().Degrees)))
        return;
    m_log.Positions.push_back({ position, degrees });
}

void TMeasurementRun::KeepRecording()
{
    if (WorkingFolder.isEmpty() || !m_logged)
        return;
    QString error;
    const std::optional<QString> kept
        = TRecordingArchive::Keep(m_rig.RecordFilePath(), m_log, WorkingFolder,
                                  QDateTime::currentDateTime(), SeriesName, &error);
    if (kept)
        m_keptRecording = *kept;
    else
        m_warnings << tr("Nagranie pomiaru nie zostało zachowane: %1").arg(error);
}

void TMeasurementRun::Finish()
{
    m_progressVisible = false;
    m_startEnabled = false;
    m_idle = true;
    m_running = false;
    emit Changed();
    if (!m_error.isEmpty() && ShowError)
        ShowError(m_error);
    if (!m_warnings.isEmpty() && ShowWarning)
        ShowWarning(m_warnings.join(QLatin1Char('\n')));
}

void TMeasurementRun::RecordStart()
{
    try {
        m_rig.OpenRecordFile();
        m_recordOpened = true;
    } catch (const EInOutError &error) {
        Fail(error.Message());
        return;
    }
    m_log = TMarkerLog {};
    m_log.StartDeg = m_rig.StartAngle();
    m_log.StopDeg = m_rig.StopAngle();
    m_generatorStartMs = -1.0;
    TRecordFile *recording = m_rig.Recording();
    m_logged = recording && m_rig.DescribeExcitation(m_log);
    // Only what the program's own generator played can be made again for an analysis.
    m_logValid = m_logged && InternalGenerator;
    if (recording)
        recording->SetTiming(&m_clock, m_log.SampleRate);
    m_rig.StartRecorder();
    if (InternalGenerator) {
        m_generatorStartMs = double(m_clock.NowMs());
        m_rig.StartGenerator();
    }
}

void TMeasurementRun::RecordAppend()
{
    SetPhase(tr(HeadingMeasureText),
             StatusRecordingTo(QFileInfo(m_rig.RecordFilePath()).fileName()));
    m_rig.SetRecording(true);
    m_recordAppended = m_recordOpened;
}

void TMeasurementRun::RangeProgress(int percent)
{
    SetProgress(percent);
}

void TMeasurementRun::RecordStop()
{
    // How long the excitation had played before the first recorded sample: the analysis
    // starts where the rig was in steady state.
    const TRecordFile *recording = m_rig.Recording();
    if (recording && recording->FirstSampleMs() >= 0 && m_generatorStartMs >= 0)
        m_log.LeadMs = recording->FirstSampleMs() - m_generatorStartMs;
    m_rig.SetRecording(false);
    m_rig.StopRecorder();
    m_rig.StopGenerator();
    const bool written = m_recordOpened && m_recordAppended && !m_rig.RecordWriteFailed();
    try {
        m_rig.CloseRecordFile();
        m_recordComplete = written;
    } catch (const EInOutError &error) {
        Fail(error.Message());
    }
}
