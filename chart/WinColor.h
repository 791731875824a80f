#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are kept as the program stores them: 0x00BBGGRR, or a system-colour code
// (0x80000000 | index) that stands for a colour of the desktop palette.
namespace WinColor {

inline constexpr quint32 clBlack = 0x000000;
inline constexpr quint32 clRed = 0x0000FF;
inline constexpr quint32 clWhite = 0xFFFFFF;
inline constexpr quint32 clGray = 0x808080;

inline constexpr quint32 SystemFlag = 0x80000000u;
inline constexpr quint32 clHighlight = SystemFlag | 13;
inline constexpr quint32 clHighlightText = SystemFlag | 14;
inline constexpr quint32 clWindow = SystemFlag | 5;
inline constexpr quint32 clWindowText = SystemFlag | 8;
inline constexpr quint32 clBtnFace = SystemFlag | 15;
inline constexpr quint32 clBtnShadow = SystemFlag | 16;
inline constexpr quint32 clBtnText = SystemFlag | 18;
inline constexpr quint32 clBtnHighlight = SystemFlag | 20;

inline constexpr bool IsSystemColor(quint32 c)
{
    return (c & SystemFlag) != 0;
}

// The QColor that a stored colour stands for. System codes are looked up in the
// application's palette (GUI thread); unknown codes give black.
QColor ToQColor(quint32 c);

// The stored form 0x00BBGGRR of an RGB colour (alpha is dropped).
quint32 FromQColor(const QColor &c);

} // namespace WinColor
