#include "turntable/DLPortIO.h"

#include "turntable/PortIOError.h"

TDLPortIO::TDLPortIO(std::unique_ptr<TPortBackend> backend)
    : m_backend(std::move(backend))
{ }

TDLPortIO::~TDLPortIO()
{
    if (ActiveHW())
        CloseDriver();
}

void TDLPortIO::OpenDriver()
{
    if (ActiveHW())
        return;
    if (!m_backend->Open())
        m_lastError = m_backend->LastError();
}

void TDLPortIO::CloseDriver()
{
    if (!ActiveHW())
        return;
    if (!m_backend->Close())
        m_lastError = m_backend->LastError();
}

bool TDLPortIO::ActiveHW() const
{
    return m_backend->IsOpen();
}

QString TDLPortIO::LastError() const
{
    return m_lastError;
}

quint8 TDLPortIO::ReadPortByte(quint16 address)
{
    if (!ActiveHW())
        throw EPortIOError(QStringLiteral("Port I/O driver is not active"));
    quint8 value = 0;
    if (!m_backend->ReadByte(address, value))
        throw EPortIOError(m_backend->LastError());
    return value;
}

void TDLPortIO::WritePortByte(quint16 address, quint8 value)
{
    if (!ActiveHW())
        throw EPortIOError(QStringLiteral("Port I/O driver is not active"));
    if (!m_backend->WriteByte(address, value))
        throw EPortIOError(m_backend->LastError());
}
