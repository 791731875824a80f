#include "turntable/PpdevPort.h"

#include "turntable/PpdevCalls.h"

#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

#include <linux/ppdev.h>

TPpdevPort::TPpdevPort(TPpdevCalls &calls)
    : m_calls(calls)
{ }

TPpdevPort::~TPpdevPort()
{
    ReleaseDevice();
}

QString TPpdevPort::DevicePath(int lptNumber)
{
    return QStringLiteral("/dev/parport%1").arg(lptNumber - 1);
}

TPortTable TPpdevPort::DetectPorts()
{
    static const QRegularExpression name(QStringLiteral("^parport(\\d+)$"));
    TPortTable table;
    for (const QString &device : m_calls.ParportDevices()) {
        const QRegularExpressionMatch match = name.match(device);
        if (!match.hasMatch())
            continue;
        bool ok = false;
        const int index = match.captured(1).toInt(&ok);
        if (!ok || index + 1 > 8)
            continue;
        // "888\t1912\n": the base address, then the extended one (or -1); decimal.
        const QByteArray text = m_calls.ReadTextFile(
            QStringLiteral("/proc/sys/dev/parport/parport%1/base-addr").arg(index));
        const QList<QByteArray> fields = text.simplified().split(' ');
        const uint base = fields.isEmpty() ? 0 : fields.first().toUInt(&ok);
        table.Base[index + 1] = ok && base <= 0xFFFF ? quint16(base) : 0;
        ++table.NumPorts;
    }
    return table;
}

bool TPpdevPort::Open()
{
    m_open = true;
    return true;
}

bool TPpdevPort::Close()
{
    ReleaseDevice();
    m_open = false;
    return true;
}

void TPpdevPort::SelectPort(int lptNumber, quint16 basePort)
{
    if (lptNumber != m_lptNumber)
        ReleaseDevice();
    m_lptNumber = lptNumber;
    m_base = basePort;
}

bool TPpdevPort::Fail(const QString &what, int error)
{
    m_failedPath = DevicePath(m_lptNumber);
    m_failedErrno = error;
    m_lastError = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(error)));
    return false;
}

bool TPpdevPort::EnsureDevice()
{
    if (m_fd >= 0)
        return true;
    const QString path = DevicePath(m_lptNumber);
    const int fd = m_calls.Open(path);
    if (fd < 0)
        return Fail(path, -fd);
    if (const int result = m_calls.Ioctl(fd, PPCLAIM, nullptr); result < 0) {
        m_calls.Close(fd);
        return Fail(path + QStringLiteral(" (PPCLAIM)"), -result);
    }
    // Pins 2..9 are outputs; a port left in reverse mode by another program would not
    // drive them. Ports without a direction switch refuse this harmlessly.
    int forward = 0;
    m_calls.Ioctl(fd, PPDATADIR, &forward);
    m_fd = fd;
    m_failedErrno = 0;
    return true;
}

void TPpdevPort::ReleaseDevice()
{
    if (m_fd < 0)
        return;
    m_calls.Ioctl(m_fd, PPRELEASE, nullptr);
    m_calls.Close(m_fd);
    m_fd = -1;
}

bool TPpdevPort::Register(quint16 address, int &offset)
{
    if (!m_open) {
        m_lastError = QStringLiteral("Port I/O driver is not active");
        return false;
    }
    offset = int(address) - int(m_base);
    if (offset < 0 || offset > 2) {
        m_lastError = tr("Adres 0x%1 nie należy do portu %2")
                          .arg(address, 0, 16)
                          .arg(DevicePath(m_lptNumber));
        return false;
    }
    return EnsureDevice();
}

bool TPpdevPort::ReadByte(quint16 address, quint8 &value)
{
    int offset = 0;
    if (!Register(address, offset))
        return false;
    static const unsigned long requests[3] = { PPRDATA, PPRSTATUS, PPRCONTROL };
    unsigned char byte = 0;
    if (const int result = m_calls.Ioctl(m_fd, requests[offset], &byte); result < 0)
        return Fail(DevicePath(m_lptNumber), -result);
    value = byte;
    return true;
}

bool TPpdevPort::WriteByte(quint16 address, quint8 value)
{
    int offset = 0;
    if (!Register(address, offset))
        return false;
    if (offset == 1) {
        m_lastError
            = tr("Rejestr stanu portu %1 jest tylko do odczytu").arg(DevicePath(m_lptNumber));
        return false;
    }
    unsigned char byte = value;
    const unsigned long request = offset == 0 ? PPWDATA : PPWCONTROL;
    if (const int result = m_calls.Ioctl(m_fd, request, &byte); result < 0)
        return Fail(DevicePath(m_lptNumber), -result);
    return true;
}

QString TPpdevPort::FailureReason(const QString &path) const
{
    if (path != m_failedPath || m_failedErrno == 0)
        return {};
    switch (m_failedErrno) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return tr("Nie ma urządzenia %1: moduł jądra ppdev nie jest załadowany "
                  "(sudo modprobe ppdev) albo komputer nie ma tego portu")
            .arg(path);
    case EACCES:
    case EPERM: {
        QString group = m_calls.FileGroup(path);
        if (group.isEmpty())
            group = QStringLiteral("lp");
        return tr("Brak uprawnień do %1: użytkownik musi należeć do grupy \"%2\" "
                  "(sudo usermod -aG %2 $USER, potem ponowne zalogowanie)")
            .arg(path, group);
    }
    case EBUSY:
        return tr("Port %1 jest zajęty przez inny sterownik (na przykład lp: "
                  "sudo rmmod lp)")
            .arg(path);
    default:
        return QStringLiteral("%1: %2").arg(path,
                                            QString::fromLocal8Bit(std::strerror(m_failedErrno)));
    }
}

QString TPpdevPort::OpenFailureMessage(int lptNumber) const
{
    const QString path = DevicePath(lptNumber);
    const QString reason = FailureReason(path);
    return tr("Nie można otworzyć portu %1\r\n").arg(path)
        + (reason.isEmpty() ? QString() : reason + QStringLiteral("\r\n"))
        + tr("Funkcje pomiarowe nie będą dostępne");
}
