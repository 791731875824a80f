#pragma once

#include <QCoreApplication>
#include <QString>

class TDirectivityResult;

// "Eksportuj FRD…": one FRD file per angle step of a result, "<name> hor <angle>.frd" (or
// "ver" for a vertical turn),
// each interpolated in angle between the frames around it (TDirectivityResult::SpectrumAt), at
// log-spaced frequencies from what the gate resolves to 20 kHz. Angles that were not measured get
// no file.
class TFrdExport
{
    Q_DECLARE_TR_FUNCTIONS(TFrdExport)

public:
    // Writes the set into folder; false with the program's message in *error (files written
    // before a failure stay; each file is complete or absent). *written counts the files.
    static bool WriteSet(const TDirectivityResult &result, const QString &folder, int stepDeg,
                         int smoothing = 0, QString *error = nullptr, int *written = nullptr);
};
