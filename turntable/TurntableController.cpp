#include "turntable/TurntableController.h"

#include "turntable/PortIOError.h"

#include <cmath>
#include <cstdlib>

TTurntableController::TTurntableController(std::unique_ptr<TDLPrinterPortIO> port, TClock &clock,
                                           QObject *parent)
    : TTurntable(parent)
    , m_port(std::move(port))
    , m_clock(clock)
    , m_markerTimer(clock.CreateTimer())
    , m_stateTimer(clock.CreateTimer())
{
    m_markerTimer->OnTimeout = [this] {
        MarkerTick();
    };
    m_stateTimer->OnTimeout = [this] {
        StateTick();
    };
    SetMarkUnsensitivityTime(1000);
    m_lastMarkTime = m_clock.NowMs();
}

TTurntableController::~TTurntableController()
{
    m_markerTimer->Stop();
    m_stateTimer->Stop();
    if (m_portAvailable) {
        for (int pin = 1; pin <= 17; ++pin) {
            try {
                m_port->SetPin(pin, m_savedPins[pin]);
            } catch (const EPortIOError &) {
                break; // the port went away; nothing left to restore
            }
        }
    }
    m_port->CloseDriver();
}

bool TTurntableController::Open(int lptNumber)
{
    m_lastMarkTime = m_clock.NowMs();
    m_angle = 0;
    m_stateTimer->Stop();
    m_port->SetLPTNumber(lptNumber);
    m_port->OpenDriver();
    bool ok = m_port->ActiveHW();
    if (ok) {
        try {
            m_port->GetPin(PinForwardOrReset);
        } catch (const EPortIOError &) {
            ok = false;
        }
    }
    if (!ok) {
        m_portAvailable = false;
        m_openFailure = m_port->Backend().OpenFailureMessage(m_port->LPTNumber());
        return false;
    }
    try {
        for (int pin = 1; pin <= 17; ++pin)
            m_savedPins[pin] = m_port->GetPin(pin);
        for (int pin = PinForward; pin <= PinReset; ++pin)
            m_port->SetPin(pin, true);
    } catch (const EPortIOError &) {
        m_portAvailable = false;
        m_openFailure = m_port->Backend().OpenFailureMessage(m_port->LPTNumber());
        return false;
    }
    m_portAvailable = true;
    m_openFailure.clear();
    m_moveCounter = 0;
    m_shownState = 0;
    m_stateTimer->Start(StateIntervalMs);
    return true;
}

int TTurntableController::State() const
{
    if (!m_portAvailable)
        return 0;
    try {
        if (!m_port->GetPin(PinPresent))
            return 0;
        if (m_port->GetPin(PinStopped))
            return 3;
        if (!m_port->GetPin(PinBackwardState))
            return 1;
        if (!m_port->GetPin(PinForwardOrReset))
            return 2;
        return 4;
    } catch (const EPortIOError &) {
        return 0;
    }
}

bool TTurntableController::MarkerTimerActive() const
{
    return m_markerTimer->IsActive();
}

void TTurntableController::SetMarkUnsensitivityTime(int ms)
{
    m_deadTimeSource = [ms] {
        return ms;
    };
}

void TTurntableController::SetMarkUnsensitivityTimeSource(std::function<int()> source)
{
    if (source)
        m_deadTimeSource = std::move(source);
}

int TTurntableController::MarkUnsensitivityTime() const
{
    return m_deadTimeSource();
}

bool TTurntableController::ReadPin(int pin, bool fallback) const
{
    try {
        return m_port->GetPin(pin);
    } catch (const EPortIOError &) {
        return fallback;
    }
}

void TTurntableController::WritePin(int pin, bool level)
{
    try {
        m_port->SetPin(pin, level);
        m_portErrorReported = false;
    } catch (const EPortIOError &error) {
        // One box per failing streak: a port that vanished must not flood the user.
        if (!m_portErrorReported) {
            m_portErrorReported = true;
            emit ErrorOccurred(error.Message());
        }
    }
}

void TTurntableController::Pulse(int pin)
{
    emit PulseSent(pin);
    WritePin(pin, false);
    m_clock.WaitProcessing(PulseMs);
    WritePin(pin, true);
}

void TTurntableController::EnableMarkerTimer()
{
    // Enabling a running timer leaves its phase alone.
    if (!m_markerTimer->IsActive())
        m_markerTimer->Start(MarkerIntervalMs);
}

void TTurntableController::StartTurning(int commandPin)
{
    if (!m_portAvailable)
        return;
    m_stopFlag = false;
    m_markerArmed = true;
    m_moveCounter = 0;
    EnableMarkerTimer();
    m_lastMarkTime = m_clock.NowMs();
    Pulse(commandPin);
}

void TTurntableController::MoveForward()
{
    StartTurning(PinForward);
}

void TTurntableController::MoveBackward()
{
    StartTurning(PinBackward);
}

void TTurntableController::StopMove()
{
    if (!m_portAvailable)
        return;
    m_stopFlag = true;
    ++m_stopRequests;
    Pulse(PinStop);
    m_markerTimer->Stop();
}

void TTurntableController::ResetMove()
{
    if (!m_portAvailable)
        return;
    EnableMarkerTimer();
    m_stopFlag = true;
    ++m_stopRequests;
    Pulse(PinReset);
}

void TTurntableController::ProgramClosing()
{
    m_stopFlag = true;
    ++m_stopRequests;
}

void TTurntableController::MarkerTick()
{
    if (ReadPin(PinMarker, true)) {
        m_markerArmed = true;
        return;
    }
    const qint64 now = m_clock.NowMs();
    if (now - m_lastMarkTime <= MarkUnsensitivityTime()) {
        m_markerArmed = true;
        return;
    }
    if (!m_markerArmed)
        return;
    m_lastMarkTime = now;
    m_markerArmed = false;
    ++m_moveCounter;
    emit MarkAccepted();
}

void TTurntableController::StateTick()
{
    const int state = State();
    if (state == m_shownState)
        return;
    m_shownState = state;
    const int previous = m_previousState;
    m_previousState = state;
    switch (state) {
    case 1:
    case 2:
    case 4:
        EnableMarkerTimer();
        break;
    case 3:
        m_markerTimer->Stop();
        break;
    default:
        break;
    }
    emit StateChanged(state, previous);
    if (state == 3 && previous == 4) {
        m_angle = 0;
        emit ReturnedToZero();
    }
}

void TTurntableController::WaitForMarkers(int target, double progressDivisor)
{
    while (m_moveCounter < target && !m_stopFlag) {
        if (progressDivisor > 0) {
            // Halves go to even, as the progress bar's Round does.
            emit RangeProgress(int(std::nearbyint(m_moveCounter / progressDivisor * 100.0)));
        }
        m_clock.WaitProcessing(LoopSliceMs);
    }
}

void TTurntableController::Step(int degrees, bool backward)
{
    if (!m_portAvailable)
        return;
    if (backward)
        MoveBackward();
    else
        MoveForward();
    WaitForMarkers(std::abs(degrees) / 10);
    StopMove();
}

bool TTurntableController::RunRange(int start, int stop)
{
    if (start >= stop) {
        emit ErrorOccurred(tr("Nieprawidłowy przedział"));
        return false;
    }
    if (!m_portAvailable)
        return false;
    ResetMove();
    m_moveCounter = 0;
    // The reset above sets the stop flag itself; a stop requested after it (button,
    // measurement cancel, program close) must end the run, not just the positioning.
    const quint64 stopsAtStart = m_stopRequests;
    if (start != 0) {
        if (start < 0)
            MoveBackward();
        else
            MoveForward();
        WaitForMarkers(std::abs(start) / 10);
        Pulse(PinStop);
    }
    // Sent in every case, so the measurement opens this run's recording and never goes on
    // with an older one.
    emit RecordStart();
    if (m_stopRequests == stopsAtStart)
        m_clock.WaitProcessing(RangePauseMs);
    if (m_stopRequests != stopsAtStart) {
        // Stopped while positioning or during the pause: close what RecordStart opened,
        // with nothing appended; the table stays where it is.
        emit RecordStop();
        return true;
    }
    emit RecordAppend();
    m_moveCounter = 0;
    MoveForward();
    const int span = std::abs(stop - start);
    WaitForMarkers(span / 10, span / 10.0);
    StopMove();
    emit RecordStop();
    return true;
}
