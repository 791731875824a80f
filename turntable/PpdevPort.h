#pragma once

#include "turntable/PortBackend.h"

#include <QCoreApplication>

class TPpdevCalls;

// Port access through the Linux parallel-port device /dev/parportN (N = LPT number - 1):
// the device is opened and claimed at the first byte access of the selected port and
// released when another port is selected or the backend closes; registers are read and
// written with the ppdev ioctls. Ports are found from /dev/parport*, their base addresses
// from /proc/sys/dev/parport/parportN/base-addr (0 when absent). Open loads nothing and
// always succeeds; a missing device shows at the first access. GUI thread only.
class TPpdevPort final : public TPortBackend
{
    Q_DECLARE_TR_FUNCTIONS(TPpdevPort)

public:
    // calls must outlive the backend.
    explicit TPpdevPort(TPpdevCalls &calls);
    ~TPpdevPort() override;

    TPortTable DetectPorts() override;
    bool Open() override;
    bool Close() override;
    bool IsOpen() const override { return m_open; }
    void SelectPort(int lptNumber, quint16 basePort) override;
    bool ReadByte(quint16 address, quint8 &value) override;
    bool WriteByte(quint16 address, quint8 value) override;
    QString LastError() const override { return m_lastError; }
    QString OpenFailureMessage(int lptNumber) const override;

    // "/dev/parportN" of an LPT number.
    static QString DevicePath(int lptNumber);
    // Whether the selected port's device is open and claimed now.
    bool DeviceClaimed() const { return m_fd >= 0; }

private:
    bool EnsureDevice();
    void ReleaseDevice();
    bool Register(quint16 address, int &offset);
    bool Fail(const QString &what, int error);
    // The middle line of the open-failure warning: why the device could not be used, in
    // terms the user can act on; empty when no access to it failed.
    QString FailureReason(const QString &path) const;

    TPpdevCalls &m_calls;
    bool m_open = false;
    int m_lptNumber = 1;
    quint16 m_base = 0;
    int m_fd = -1;
    QString m_lastError;
    QString m_failedPath; // the device whose open, claim or access failed last
    int m_failedErrno = 0;
};
