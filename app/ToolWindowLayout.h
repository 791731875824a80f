#pragma once

#include <QList>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QSettings;

// Where the small tool windows go: the first places inside the main window's document area
// and the places the user gave them, kept by name in the settings store (group
// "1.0/Windows", one QPoint per window, e.g. "GeneratorPos"). Positions are the top-left
// corners of the windows' frames in screen pixels. GUI thread only.
class TToolWindowLayout
{
public:
    // Pixels between the windows and from the area's edges.
    static constexpr int Gap = 8;

    // Top-left corners for windows of these frame sizes, in order: left to right along the
    // area's top edge, a new row below when one does not fit. No two overlap while the area
    // holds them all; one that does not fit is pushed back inside as far as its size allows.
    static QList<QPoint> FirstPlaces(const QRect &area, const QList<QSize> &frames);

    // The stored place of a window, if the user gave it one.
    std::optional<QPoint> Place(const QString &key) const;
    void SetPlace(const QString &key, const QPoint &place);

    // Reads every stored place; values that are not points are ignored. No other group of
    // the store is touched.
    void Read(QSettings &store);
    void Write(QSettings &store) const;

private:
    QMap<QString, QPoint> m_places;
};
