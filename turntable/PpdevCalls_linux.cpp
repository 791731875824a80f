#include "turntable/PpdevCalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

class TSystemPpdevCalls final : public TPpdevCalls
{
public:
    int Open(const QString &path) override
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        return fd >= 0 ? fd : -errno;
    }

    void Close(int fd) override { ::close(fd); }

    int Ioctl(int fd, unsigned long request, void *argument) override
    {
        int result;
        do {
            result = ::ioctl(fd, request, argument);
        } while (result < 0 && errno == EINTR);
        return result < 0 ? -errno : 0;
    }

    QStringList ParportDevices() override
    {
        return QDir(QStringLiteral("/dev"))
            .entryList({ QStringLiteral("parport*") }, QDir::System | QDir::Files);
    }

    QByteArray ReadTextFile(const QString &path) override
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.read(256);
    }

    QString FileGroup(const QString &path) override { return QFileInfo(path).group(); }
};

} // namespace

TPpdevCalls &TPpdevCalls::System()
{
    static TSystemPpdevCalls calls;
    return calls;
}
