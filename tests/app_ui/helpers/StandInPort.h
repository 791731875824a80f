#pragma once

// A parallel port whose registers are plain bytes, so a test can put the turntable
// controller into any state without hardware.

#include "turntable/PortBackend.h"

class TStandInPort : public TPortBackend
{
public:
    explicit TStandInPort(quint8 *status)
        : m_status(status)
    { }

    TPortTable DetectPorts() override
    {
        TPortTable table;
        table.Base[1] = 0x378;
        table.NumPorts = 1;
        return table;
    }
    bool Open() override { return m_open = true; }
    bool Close() override
    {
        m_open = false;
        return true;
    }
    bool IsOpen() const override { return m_open; }
    void SelectPort(int, quint16 base) override { m_base = base; }
    bool ReadByte(quint16 address, quint8 &value) override
    {
        const int offset = address - m_base;
        value = offset == 1 ? *m_status : m_registers[offset == 0 ? 0 : 2];
        return true;
    }
    bool WriteByte(quint16 address, quint8 value) override
    {
        const int offset = address - m_base;
        if (offset != 1)
            m_registers[offset == 0 ? 0 : 2] = value;
        return true;
    }
    QString LastError() const override { return QString(); }
    QString OpenFailureMessage(int) const override { return QStringLiteral("no port"); }

private:
    quint8 *m_status; // owned by the test
    quint8 m_registers[3] = { 0, 0, 0 };
    quint16 m_base = 0x378;
    bool m_open = false;
};
