#include "FakePort.h"

#include "controls/Clock.h"

TFakePort::TFakePort(std::shared_ptr<TFakeRegisters> registers, TPortTable table, TClock *clock)
    : m_registers(std::move(registers))
    , m_table(table)
    , m_clock(clock)
{ }

bool TFakePort::Open()
{
    if (!m_registers->OpenResult) {
        m_lastError = QStringLiteral("fake: cannot open");
        return false;
    }
    m_registers->Opened = true;
    return true;
}

bool TFakePort::Close()
{
    m_registers->CloseCalled = true;
    m_registers->Opened = false;
    return true;
}

void TFakePort::SelectPort(int lptNumber, quint16 basePort)
{
    m_lptNumber = lptNumber;
    m_base = basePort;
}

bool TFakePort::ReadByte(quint16 address, quint8 &value)
{
    const int offset = int(address) - int(m_base);
    if (!m_registers->Opened || m_registers->FailAccess || offset < 0 || offset > 2) {
        m_lastError = QStringLiteral("fake: no access");
        return false;
    }
    ++m_registers->Reads;
    value = offset == 0 ? m_registers->Data
                        : (offset == 1 ? m_registers->Status : m_registers->Control);
    return true;
}

bool TFakePort::WriteByte(quint16 address, quint8 value)
{
    const int offset = int(address) - int(m_base);
    if (!m_registers->Opened || m_registers->FailAccess || offset < 0 || offset > 2) {
        m_lastError = QStringLiteral("fake: no access");
        return false;
    }
    m_registers->Writes.append({ m_clock ? m_clock->NowMs() : 0, offset, value });
    if (offset == 0)
        m_registers->Data = value;
    else if (offset == 2)
        m_registers->Control = value;
    return true;
}

QString TFakePort::OpenFailureMessage(int lptNumber) const
{
    return QStringLiteral("fake port LPT%1 missing").arg(lptNumber);
}

TTracingPort::TTracingPort(std::unique_ptr<TPortBackend> inner, TClock &clock,
                           std::shared_ptr<QList<TWrite>> trace)
    : m_inner(std::move(inner))
    , m_clock(clock)
    , m_trace(std::move(trace))
{ }

void TTracingPort::SelectPort(int lptNumber, quint16 basePort)
{
    m_base = basePort;
    m_inner->SelectPort(lptNumber, basePort);
}

bool TTracingPort::WriteByte(quint16 address, quint8 value)
{
    if (address == m_base)
        m_trace->append({ m_clock.NowMs(), value });
    return m_inner->WriteByte(address, value);
}

QList<TPinPulse> PulsesOf(const QList<TTracingPort::TWrite> &trace, qint64 fromMs)
{
    QList<TPinPulse> pulses;
    qint64 fallAt[8];
    quint8 previous = 0xFF;
    bool started = false;
    for (const TTracingPort::TWrite &w : trace) {
        if (w.TimeMs < fromMs)
            continue;
        if (!started) {
            started = true;
            previous = 0xFF;
        }
        for (int bit = 0; bit < 8; ++bit) {
            const quint8 mask = quint8(1u << bit);
            if ((previous & mask) && !(w.Data & mask))
                fallAt[bit] = w.TimeMs;
            else if (!(previous & mask) && (w.Data & mask))
                pulses.append({ bit + 2, fallAt[bit], w.TimeMs - fallAt[bit] });
        }
        previous = w.Data;
    }
    return pulses;
}
