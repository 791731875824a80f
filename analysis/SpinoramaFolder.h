#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <vector>

class TDirectivityResult;
class TSpinorama;

// "Eksportuj dla spinoramy…": the responses of both planes every 10° (−170° … 180°) as text
// files directly in one folder, "<name> _H <angle>.txt" and "<name> _V <angle>.txt", the
// layout spinorama tools read: the line "Freq[Hz] dBSPL Phase[Deg]", then "frequency dB
// phase" rows, '.' decimals, on the spin's measured frequencies (one grid for every file).
// Each response is the one the spin used (TSpinorama::SourceOf, the same smoothing). Any one
// thread.
class TSpinoramaFolder
{
    Q_DECLARE_TR_FUNCTIONS(TSpinoramaFolder)

public:
    static constexpr int FileCount = 72;

    // Empty when name can name the files; otherwise why not (Polish): it must not be empty,
    // and "_H" or "_V" in it would make the planes ambiguous to the tools that read them.
    static QString NameProblem(const QString &name);
    // "<name> _H <angle>.txt" ("_V" for the vertical plane), the angle signed in −179 … 180.
    static QString FileName(const QString &name, int angleDeg, bool vertical);
    // Writes the 72 files; false with the Polish message in *error (a refused name or a missing
    // folder writes nothing; after a failed write the files before it stay, each complete).
    static bool Write(const TSpinorama &spin, const TDirectivityResult &horizontal,
                      const TDirectivityResult &vertical, int smoothing, const QString &folder,
                      const QString &name, QString *error = nullptr, int *written = nullptr);
    // The text of one file.
    static QByteArray Text(const TDirectivityResult &result, int angleDeg,
                           const std::vector<double> &frequencies, int smoothing);
};
