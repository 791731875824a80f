#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The parallel ports a backend found: Base[n] is the I/O base address of LPTn (n = 1..8),
// 0 when not found or not known. Entry 0 is never selectable.
struct TPortTable
{
    std::array<quint16, 9> Base {};
    int NumPorts = 0; // ports entered by detection, including one reported as number 0
};

// Byte access to one parallel port's three registers, as the platform provides it: the
// Linux ppdev device, the Windows port I/O library, or the simulated controller's port.
// Addresses are absolute I/O addresses: the data register at the port's base address, the
// status register at base + 1, the control register at base + 2; register values are the
// raw bits of a standard PC port (hardware inversions not undone).
// GUI thread only. Owned by the TDLPortIO that uses it.
class TPortBackend
{
public:
    virtual ~TPortBackend() = default;

    // Finds the machine's parallel ports; called once, when the port component is created.
    virtual TPortTable DetectPorts() = 0;

    // Makes byte access possible (loads the library, ...). Returns false and leaves the
    // reason in LastError when it cannot. Opening an open backend succeeds at once.
    virtual bool Open() = 0;
    // Undoes Open. Returns false (still open, LastError set) when the platform refuses.
    virtual bool Close() = 0;
    virtual bool IsOpen() const = 0;

    // The port the following byte accesses are meant for (LPT number 1..8 and its base
    // address from the table). May be called open or closed; takes effect at once.
    virtual void SelectPort(int lptNumber, quint16 basePort) = 0;

    // False, with LastError set, when the byte cannot be read or written (backend closed,
    // device missing, address outside the selected port, ...).
    virtual bool ReadByte(quint16 address, quint8 &value) = 0;
    virtual bool WriteByte(quint16 address, quint8 value) = 0;

    // Text of the last failure; empty when nothing failed yet.
    virtual QString LastError() const = 0;

    // The warning shown when the turntable cannot reach port lptNumber; it names what
    // could not be opened on this platform.
    virtual QString OpenFailureMessage(int lptNumber) const = 0;
};
