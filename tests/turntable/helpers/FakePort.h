#pragma once

#include "turntable/PortBackend.h"

#include <QList>

#include <memory>

class TClock;

// Registers of a fake port, shared with the test so that they can be read after the port
// component that owned the backend is gone.
struct TFakeRegisters
{
    quint8 Data = 0;
    quint8 Status = 0;
    quint8 Control = 0;
    bool OpenResult = true;
    bool Opened = false;
    bool CloseCalled = false;
    bool FailAccess = false; // every byte access fails, as with a missing device
    int Reads = 0;
    struct TWrite
    {
        qint64 TimeMs;
        int Offset;
        quint8 Value;
    };
    QList<TWrite> Writes;
};

// A backend with plain registers at a base address; optionally records write times.
class TFakePort final : public TPortBackend
{
public:
    explicit TFakePort(std::shared_ptr<TFakeRegisters> registers, TPortTable table = {},
                       TClock *clock = nullptr);

    TPortTable DetectPorts() override { return m_table; }
    bool Open() override;
    bool Close() override;
    bool IsOpen() const override { return m_registers->Opened; }
    void SelectPort(int lptNumber, quint16 basePort) override;
    bool ReadByte(quint16 address, quint8 &value) override;
    bool WriteByte(quint16 address, quint8 value) override;
    QString LastError() const override { return m_lastError; }
    QString OpenFailureMessage(int lptNumber) const override;

    int SelectedPort() const { return m_lptNumber; }

private:
    std::shared_ptr<TFakeRegisters> m_registers;
    TPortTable m_table;
    TClock *m_clock;
    int m_lptNumber = 0;
    quint16 m_base = 0;
    QString m_lastError;
};

// Passes every access to another backend and records the data register's writes with the
// clock's time, for checking pulse shapes.
class TTracingPort final : public TPortBackend
{
public:
    struct TWrite
    {
        qint64 TimeMs;
        quint8 Data;
    };

    TTracingPort(std::unique_ptr<TPortBackend> inner, TClock &clock,
                 std::shared_ptr<QList<TWrite>> trace);

    TPortTable DetectPorts() override { return m_inner->DetectPorts(); }
    bool Open() override { return m_inner->Open(); }
    bool Close() override { return m_inner->Close(); }
    bool IsOpen() const override { return m_inner->IsOpen(); }
    void SelectPort(int lptNumber, quint16 basePort) override;
    bool ReadByte(quint16 address, quint8 &value) override
    {
        return m_inner->ReadByte(address, value);
    }
    bool WriteByte(quint16 address, quint8 value) override;
    QString LastError() const override { return m_inner->LastError(); }
    QString OpenFailureMessage(int lptNumber) const override
    {
        return m_inner->OpenFailureMessage(lptNumber);
    }

private:
    std::unique_ptr<TPortBackend> m_inner;
    TClock &m_clock;
    std::shared_ptr<QList<TWrite>> m_trace;
    quint16 m_base = 0;
};

// One low-going pulse on a data pin, from the trace: start and width in ms.
struct TPinPulse
{
    int Pin;
    qint64 StartMs;
    qint64 WidthMs;
};
// Low intervals of pins 2..9 in the order they began; skips writes before fromMs.
QList<TPinPulse> PulsesOf(const QList<TTracingPort::TWrite> &trace, qint64 fromMs = 0);
