#pragma once

#include "turntable/PortBackend.h"

#include <QCoreApplication>

#include <memory>

// Port access on Windows through the DriverLINX Port I/O library "DLPortIO.dll", loaded at
// run time, with its kernel driver service "DLPortIO" installed and started through the
// service control manager when it is not already (and removed again on close only if this
// program installed it). Ports and base addresses come from the registry's device map.
// Addresses are absolute I/O port addresses. GUI thread only; built on Windows only.
class TDlPortIoLibrary final : public TPortBackend
{
    Q_DECLARE_TR_FUNCTIONS(TDlPortIoLibrary)

public:
    TDlPortIoLibrary();
    ~TDlPortIoLibrary() override;

    // Folder of the kernel driver file (default: the system folder + "\DRIVERS") and of the
    // library (empty: the normal library search).
    QString DriverPath;
    QString DLLPath;

    TPortTable DetectPorts() override;
    bool Open() override;
    bool Close() override;
    bool IsOpen() const override;
    void SelectPort(int lptNumber, quint16 basePort) override;
    bool ReadByte(quint16 address, quint8 &value) override;
    bool WriteByte(quint16 address, quint8 value) override;
    QString LastError() const override;
    QString OpenFailureMessage(int lptNumber) const override;

    // The service steps; each returns false and sets LastError on failure.
    bool ConnectSCM();
    bool DriverInstall();
    bool DriverStart();
    bool DriverStop();
    bool DriverRemove();
    void DisconnectSCM();

private:
    struct TImpl;
    std::unique_ptr<TImpl> m;
};
