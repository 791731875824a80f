#pragma once

#include "analysis/FrequencyPoint.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The per-angle frequency response text files that crossover-design tools import: one
// "frequency dB phase" line per point, frequencies rising, "." as the decimal separator.
// A set is one file per angle, "<name> hor <angle>.frd", with the signed angle in whole
// degrees (-170 .. 180 for a 10° step).
class TFrdFile
{
public:
    // The text of one file; points that are not finite are left out. Each comment becomes a
    // line "* <comment>" before the points.
    static QByteArray Format(const std::vector<TFrequencyPoint> &points,
                             const QStringList &comments = {});
    // Lines of text read back (comment lines starting with '*', '#' or ';' and blank lines are
    // skipped); std::nullopt for a malformed line.
    static std::optional<std::vector<TFrequencyPoint>> Parse(const QByteArray &text);
    // "<name> hor <angle>.frd" ("ver" for a vertical turn), the angle signed in -179 .. 180;
    // characters a file name cannot hold are replaced in name.
    static QString FileName(const QString &name, int angleDeg, bool vertical = false);
    // An angle in degrees as the set names it: brought into -179 .. 180.
    static int SignedAngle(int angleDeg);
    // name with the characters a file name cannot hold on any system (/ \ : * ? " < > | and
    // control characters) replaced by '_'; shared by every file name made of a user's text.
    static QString SafeFileName(const QString &name);
};
