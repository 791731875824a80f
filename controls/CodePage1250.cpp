#include "controls/CodePage1250.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace {

// Upper half of Windows-1250 as Windows maps it (undefined bytes map to the C1 controls).
// Used only when the platform offers no "windows-1250" converter, so files stay identical.
constexpr std::array<char16_t, 128> Cp1250High = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// The code page as two tables. Encoding goes character by character through the reverse
// table because the converter substitutes unmappable characters with 0x1A, which is a
// valid character of its own; here they become '?' as Windows writes them.
struct TCodePage
{
    std::array<char16_t, 256> Decode {};
    QHash<char16_t, char> Encode;

    TCodePage()
    {
        QStringDecoder decoder("windows-1250");
        for (int b = 0; b < 256; ++b) {
            char16_t c = b < 0x80 ? char16_t(b) : Cp1250High[b - 0x80];
            if (decoder.isValid() && b >= 0x80) {
                const char byte = char(b);
                const QString text = decoder.decode(QByteArrayView(&byte, 1));
                decoder.resetState();
                if (text.size() == 1 && text.at(0) != QChar::ReplacementCharacter)
                    c = text.at(0).unicode();
            }
            Decode[b] = c;
            if (!Encode.contains(c))
                Encode.insert(c, char(b));
        }
    }
};

const TCodePage &CodePage()
{
    static const TCodePage table;
    return table;
}

} // namespace

QByteArray TCodePage1250::Encode(const QString &text)
{
    const TCodePage &cp = CodePage();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one character outside the code page, one '?'
        const auto it = cp.Encode.constFind(c.unicode());
        out.append(it == cp.Encode.constEnd() ? '?' : *it);
    }
    return out;
}

QChar TCodePage1250::Decode(quint8 byte)
{
    return QChar(CodePage().Decode[byte]);
}
