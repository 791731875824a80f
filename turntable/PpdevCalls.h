#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The few system calls the ppdev port backend makes, behind an interface so that tests can
// run the backend against a fake port. Failures return a negative errno value.
class TPpdevCalls
{
public:
    virtual ~TPpdevCalls() = default;

    // open(path, O_RDWR | O_CLOEXEC): the descriptor, or -errno.
    virtual int Open(const QString &path) = 0;
    virtual void Close(int fd) = 0;
    // ioctl(fd, request, argument): 0, or -errno.
    virtual int Ioctl(int fd, unsigned long request, void *argument) = 0;
    // Names of the entries of /dev that start with "parport".
    virtual QStringList ParportDevices() = 0;
    // Contents of a small text file (a /proc entry); empty when it cannot be read.
    virtual QByteArray ReadTextFile(const QString &path) = 0;
    // Name of the group that owns a file (a device node); empty when unknown.
    virtual QString FileGroup(const QString &path) = 0;

    // The real calls (Linux only).
    static TPpdevCalls &System();
};
