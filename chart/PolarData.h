#pragma once

#include "chart/PolarSample.h"

#include <QString>

#include <vector>

// The point store of one curve: (angle, level) points in insertion order. Nothing sorts
// them; the curve is drawn in this order. A point's 1-based insertion number (its Index) is
// its position in Points() plus one, because points are only ever appended or all cleared.
// GUI thread only.
class TPolarData
{
public:
    TPolarData() = default;
    virtual ~TPolarData() = default;
    TPolarData(const TPolarData &) = delete;
    TPolarData &operator=(const TPolarData &) = delete;

    // Name of the curve as the legend, the series lists and the file show it. Assigning it
    // directly fires nothing and marks nothing for redrawing.
    QString Name;

    // Appends one point (Angle in degrees, Level in the chart's unit). Always returns 0.
    virtual int Add(double Angle, double Level);
    // Removes every point; Count() becomes 0.
    virtual void Clear();

    // Number of points appended since creation or the last Clear.
    int Count() const { return int(m_points.size()); }
    const std::vector<TPolarSample> &Points() const { return m_points; }

    // Clear, then Add for Samples[0] … Samples[N-1] in order (through the virtual
    // operations, so a series notifies its chart). N <= 0 leaves the store empty.
    void SetPoints(const TPolarSample *Samples, int N);
    // Writes the points in order into Samples[0 … Count()-1]; the caller provides the room.
    void GetPoints(TPolarSample *Samples) const;
    // Adds Offset (level units) to every level. Fires nothing and marks nothing for
    // redrawing: a caller that wants the change shown calls the chart's Refresh.
    void AddLevelOffset(double Offset);

protected:
    // Lets a bulk loader reserve room without changing the observable behaviour.
    void ReservePoints(int n);
    // Replaces every point with these, taking over their storage (no copy, no notice).
    void TakePoints(std::vector<TPolarSample> &&points);

private:
    std::vector<TPolarSample> m_points;
};
