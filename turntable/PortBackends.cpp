#include "turntable/PortBackends.h"

#include "turntable/SimulatedController.h"
#include "turntable/SimulatedPort.h"

#include <QCoreApplication>

#if defined(Q_OS_LINUX)
#include "turntable/PpdevCalls.h"
#include "turntable/PpdevPort.h"
#elif defined(Q_OS_WIN)
#include "turntable/DlPortIoLibrary.h"
#endif

#if !defined(Q_OS_LINUX) && !defined(Q_OS_WIN)
namespace {

// For platforms without port access: finds nothing and never opens.
class TNoPort final : public TPortBackend
{
public:
    TPortTable DetectPorts() override { return {}; }
    bool Open() override
    {
        m_lastError = QStringLiteral("No parallel port access on this platform");
        return false;
    }
    bool Close() override { return true; }
    bool IsOpen() const override { return false; }
    void SelectPort(int, quint16) override { }
    bool ReadByte(quint16, quint8 &) override { return false; }
    bool WriteByte(quint16, quint8) override { return false; }
    QString LastError() const override { return m_lastError; }
    QString OpenFailureMessage(int lptNumber) const override
    {
        return QCoreApplication::translate("TPortBackends",
                                           "Nie można otworzyć portu LPT%1\r\n"
                                           "Funkcje pomiarowe nie będą dostępne")
            .arg(lptNumber);
    }

private:
    QString m_lastError;
};

} // namespace
#endif

std::unique_ptr<TPortBackend> CreateHardwarePortBackend()
{
#if defined(Q_OS_LINUX)
    return std::make_unique<TPpdevPort>(TPpdevCalls::System());
#elif defined(Q_OS_WIN)
    return std::make_unique<TDlPortIoLibrary>();
#else
    return std::make_unique<TNoPort>();
#endif
}

std::unique_ptr<TPortBackend>
CreateSimulatedPortBackend(TClock &clock, std::shared_ptr<TSimulatedController> *controller,
                           int turnMs, int markerLowMs)
{
    auto simulated = std::make_shared<TSimulatedController>(clock, turnMs, markerLowMs);
    if (controller)
        *controller = simulated;
    return std::make_unique<TSimulatedPort>(std::move(simulated));
}
