#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QString>

// What the options dialog shows for a setting and what it stores back: the buffer slider
// positions, the sample-rate buttons, the points a full turn gives and the working folder
// as typed. Plain functions of their arguments; no state.
class TOptionsFields
{
    Q_DECLARE_TR_FUNCTIONS(TOptionsFields)

public:
    static constexpr int MinBufferSize = 512; // bytes at slider position 0
    static constexpr int MaxBufferPosition = 7; // 512 x 2^7 = 65536 bytes
    static constexpr int FullTurnSeconds = 80; // a full turn reckoned as 80 s of recording

    // The sample-rate buttons of either direction, top to bottom.
    enum ERateButton { Rate48000, Rate44100, Rate22050, Rate11025 };

    // Slider position p -> 512 x 2^p bytes, and back: the nearest position of a stored size
    // (log2 of size / 512 rounded), limited to 0..7.
    static int BufferSize(int position);
    static int BufferPosition(int bytes);
    // A size as the labels show it: every thousand separated by the locale's group separator,
    // no decimals.
    static QString FormatBytes(int bytes, const QLocale &locale = QLocale());

    // The button a stored rate selects (48 000 from 46 001 Hz, 44 100 from 40 001 Hz,
    // 11 025 below 20 001 Hz, 22 050 otherwise) and the rate a button stores.
    static ERateButton RateButton(int hz);
    static int RateOfButton(ERateButton button);

    // Characteristic points of one full turn when each is computed from `blockBytes` bytes
    // of input at `hz` and `bits` per sample (integer divisions).
    static int PointsPerTurn(int hz, int bits, int blockBytes);

    // The working folder as stored from the typed text: one trailing "\" or "/" removed (a
    // lone "/", the root, stays).
    static QString TempDirFromEdit(const QString &text);
    // The line the dialog shows under the working folder while the typed text names the
    // system's temporary folder, else an empty text.
    static QString TempFolderNote(const QString &typed);
    // What is wrong with a folder about to be stored, as a warning for the user, or empty
    // when it exists and can be written into. An empty text is not checked here.
    static QString FolderProblem(const QString &dir);
};
