#pragma once

#include <QString>

#include <stdexcept>

// Raised by a port byte access that fails: the driver is not active, or the platform
// refused the access. The message is stored in UTF-8.
class EPortIOError : public std::runtime_error
{
public:
    explicit EPortIOError(const QString &message)
        : std::runtime_error(message.toStdString())
    { }
    QString Message() const { return QString::fromUtf8(what()); }
};
