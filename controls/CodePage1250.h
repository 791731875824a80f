#pragma once

#include <QByteArray>
#include <QString>

// Windows-1250 (Central European), the code page of the program's texts in characteristic
// files and old-style metafiles. The same bytes come out on every platform: where Qt has no
// converter for it a built-in table stands in. Thread-safe.
class TCodePage1250
{
public:
    // One byte per character; a character outside the code page (a surrogate pair counts as
    // one) becomes '?', as Windows writes it.
    static QByteArray Encode(const QString &text);
    static QChar Decode(quint8 byte);
};
