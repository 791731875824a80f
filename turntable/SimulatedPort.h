#pragma once

#include "turntable/PortBackend.h"

#include <QCoreApplication>

#include <memory>

class TSimulatedController;

// A parallel port with a simulated turntable controller on its pins: the data register's
// pins 2..9 go to the controller's command inputs, the status register shows its state and
// marker outputs. Reports one port, LPT1 at 0x378; any selected port reaches the same
// controller. Never fails. GUI thread only.
class TSimulatedPort final : public TPortBackend
{
    Q_DECLARE_TR_FUNCTIONS(TSimulatedPort)

public:
    static constexpr quint16 BaseAddress = 0x378;

    explicit TSimulatedPort(std::shared_ptr<TSimulatedController> controller);
    ~TSimulatedPort() override;

    TPortTable DetectPorts() override;
    bool Open() override;
    bool Close() override;
    bool IsOpen() const override { return m_open; }
    void SelectPort(int lptNumber, quint16 basePort) override;
    bool ReadByte(quint16 address, quint8 &value) override;
    bool WriteByte(quint16 address, quint8 value) override;
    QString LastError() const override { return m_lastError; }
    QString OpenFailureMessage(int lptNumber) const override;

    TSimulatedController &Controller() const { return *m_controller; }

private:
    bool Offset(quint16 address, int &offset);

    std::shared_ptr<TSimulatedController> m_controller;
    bool m_open = false;
    quint16 m_base = BaseAddress;
    quint8 m_data = 0xFF; // command lines rest high
    quint8 m_control = 0x0C; // as a port comes up after reset: init and select-in set
    QString m_lastError;
};
