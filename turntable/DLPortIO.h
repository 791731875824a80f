#pragma once

#include "turntable/PortBackend.h"

#include <QString>
#include <QtGlobal>

#include <memory>

// Byte access to I/O ports through a platform backend (Linux ppdev, the Windows port I/O
// library, or the simulator). The component is inactive until OpenDriver succeeds; byte
// access while inactive raises EPortIOError instead of touching hardware, which the
// turntable relies on to find out that the port is missing. GUI thread only.
class TDLPortIO
{
public:
    explicit TDLPortIO(std::unique_ptr<TPortBackend> backend);
    virtual ~TDLPortIO(); // calls CloseDriver while active

    TDLPortIO(const TDLPortIO &) = delete;
    TDLPortIO &operator=(const TDLPortIO &) = delete;

    // Makes the component active if it is not; ActiveHW tells the outcome, LastError why not.
    void OpenDriver();
    // Undoes OpenDriver; a backend that refuses leaves the component active.
    void CloseDriver();

    // True while the backend is open and byte access works.
    bool ActiveHW() const;
    // Text of the last failed driver step; empty at creation.
    QString LastError() const;

    // One byte of an I/O port (data register at the port's base, status at base + 1,
    // control at base + 2). Throw EPortIOError while inactive or when the access fails.
    quint8 ReadPortByte(quint16 address);
    void WritePortByte(quint16 address, quint8 value);

    TPortBackend &Backend() const { return *m_backend; }

private:
    std::unique_ptr<TPortBackend> m_backend;
    QString m_lastError;
};
