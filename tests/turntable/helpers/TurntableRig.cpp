#include "TurntableRig.h"

#include "turntable/DLPrinterPortIO.h"
#include "turntable/PortBackends.h"

#include <QHash>

TTurntableRig::TTurntableRig(int turnMs, int deadTimeMs)
    : Trace(std::make_shared<QList<TTracingPort::TWrite>>())
{
    auto backend = CreateSimulatedPortBackend(Clock, &Simulated, turnMs);
    auto tracing = std::make_unique<TTracingPort>(std::move(backend), Clock, Trace);
    Controller = std::make_unique<TTurntableController>(
        std::make_unique<TDLPrinterPortIO>(std::move(tracing)), Clock);
    Controller->SetMarkUnsensitivityTime(deadTimeMs);

    TTurntableController *c = Controller.get();
    connect(c, &TTurntableController::PulseSent, this, [this](int pin) {
        static const QHash<int, QString> names
            = { { 2, "forward" }, { 3, "backward" }, { 4, "stop" }, { 6, "reset" } };
        Add("pulse", names.value(pin, QString::number(pin)));
    });
    connect(c, &TTurntableController::MarkAccepted, this,
            [this, c] { Add("marker", QString::number(c->MoveCounter())); });
    connect(c, &TTurntableController::RecordStart, this, [this] { Add("message", "105"); });
    connect(c, &TTurntableController::RecordAppend, this, [this] { Add("message", "103"); });
    connect(c, &TTurntableController::RecordStop, this, [this] { Add("message", "104"); });
    connect(c, &TTurntableController::RangeProgress, this,
            [this](int p) { Add("progress", QString::number(p)); });
    connect(c, &TTurntableController::StateChanged, this,
            [this](int s, int) { Add("state", QString::number(s)); });
    connect(c, &TTurntableController::ErrorOccurred, this,
            [this](const QString &t) { Add("error", t); });
    connect(c, &TTurntableController::ReturnedToZero, this, [this] { Add("zero", QString()); });
}

void TTurntableRig::Add(const QString &kind, const QString &value)
{
    Events.append({ Clock.NowMs(), kind, value });
}

QList<TTurntableRig::TEvent> TTurntableRig::EventsOf(const QString &kind) const
{
    QList<TEvent> result;
    for (const TEvent &e : Events)
        if (e.Kind == kind)
            result.append(e);
    return result;
}

qint64 TTurntableRig::TimeOf(const QString &kind, const QString &value) const
{
    for (const TEvent &e : Events)
        if (e.Kind == kind && e.Value == value)
            return e.TimeMs;
    return -1;
}

int TTurntableRig::MarkersBetween(qint64 fromMs, qint64 toMs) const
{
    int n = 0;
    for (const TEvent &e : Events)
        if (e.Kind == QLatin1String("marker") && e.TimeMs >= fromMs && e.TimeMs < toMs)
            ++n;
    return n;
}

QStringList TTurntableRig::PulseNames() const
{
    QStringList names;
    for (const TEvent &e : EventsOf("pulse"))
        names << e.Value;
    return names;
}
