#pragma once

#include <QString>

#include <stdexcept>

// Raised by TGenerator for a refused frequency, a missing sample handler or a work array
// that cannot be allocated. The message is the program's own text, shown as is in the
// application's error box.
class EGeneratorError : public std::runtime_error
{
public:
    explicit EGeneratorError(const QString &message)
        : std::runtime_error(message.toUtf8().toStdString())
    { }

    // The message as text (what() holds the same text in UTF-8).
    QString Message() const { return QString::fromUtf8(what()); }
};
