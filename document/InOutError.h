#pragma once

#include <QString>

#include <stdexcept>

// A read or write error of a document file (or another file the program reads or writes).
// Thrown by TOvkFile::Load and TOvkFile::Save; the caller shows Message() to the user in a
// message box ("Orvi", error icon) and ends the operation. The text is the program's own
// Polish message and names the file.
class EInOutError : public std::runtime_error
{
public:
    explicit EInOutError(const QString &message)
        : std::runtime_error(message.toStdString())
    { }

    // The message as the user sees it (stored as UTF-8 in what()).
    QString Message() const { return QString::fromUtf8(what()); }
};
