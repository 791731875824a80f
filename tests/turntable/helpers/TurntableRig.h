#pragma once

#include "FakePort.h"

#include "controls/VirtualClock.h"
#include "turntable/SimulatedController.h"
#include "turntable/TurntableController.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

// A turntable controller on the simulated controller, on a virtual clock, with the data
// register's writes traced and every signal written down as "<ms> <event>" (the event
// words of orvi-cli: pulse, marker, message, progress, state, error, zero).
class TTurntableRig : public QObject
{
    Q_OBJECT

public:
    explicit TTurntableRig(int turnMs = TSimulatedController::DefaultTurnMs, int deadTimeMs = 1000);

    TVirtualClock Clock;
    std::shared_ptr<TSimulatedController> Simulated;
    std::shared_ptr<QList<TTracingPort::TWrite>> Trace;
    std::unique_ptr<TTurntableController> Controller;

    struct TEvent
    {
        qint64 TimeMs;
        QString Kind; // pulse, marker, message, progress, state, error, zero
        QString Value;
    };
    QList<TEvent> Events;

    QList<TEvent> EventsOf(const QString &kind) const;
    // Time of the first event of this kind and value; -1 when there is none.
    qint64 TimeOf(const QString &kind, const QString &value) const;
    // Markers counted between two times (from inclusive, to exclusive).
    int MarkersBetween(qint64 fromMs, qint64 toMs) const;
    QStringList PulseNames() const;

private:
    void Add(const QString &kind, const QString &value);
};
