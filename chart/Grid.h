#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QtGlobal>

class QPainter;
class TPolarGraph;

// The grid settings of a polar chart and the drawing of its disc, angle rays and level
// circles. Owned by its TPolarGraph. Every setter ignores an unchanged value; a change
// marks the chart for rendering, repaints it at once when its AutoRepaint is on and fires
// its OnChange. GUI thread only.
class TGrid
{
public:
    explicit TGrid(TPolarGraph &graph);

    TPolarGraph &Graph() const { return *m_graph; }

    // Font of the angle and level labels. SetFont copies the attributes (also when they are
    // equal) and acts like a value change.
    const QFont &Font() const { return m_font; }
    void SetFont(const QFont &font);

    // Spacing of the dotted angle rays, degrees; 0 = none.
    int AngleStep() const { return m_angleStep; }
    void SetAngleStep(int value);
    // Spacing of the solid, labelled angle rays, degrees; 0 = none.
    int AngleMainStep() const { return m_angleMainStep; }
    void SetAngleMainStep(int value);
    // Spacing of the dotted level circles, level units; 0 = none.
    int RadiusStep() const { return m_radiusStep; }
    void SetRadiusStep(int value);
    // Spacing of the solid, labelled level circles, level units; 0 = none.
    int RadiusMainStep() const { return m_radiusMainStep; }
    void SetRadiusMainStep(int value);
    // Level at the outer grid circle and at the centre. Max may be below Min: the scale
    // then runs downwards from the centre.
    int RadiusMax() const { return m_radiusMax; }
    void SetRadiusMax(int value);
    int RadiusMin() const { return m_radiusMin; }
    void SetRadiusMin(int value);
    // Unit appended to level labels after one space ("dB" in documents).
    const QString &Units() const { return m_units; }
    void SetUnits(const QString &value);
    // Colours 0x00BBGGRR: main rays, main circles and the disc outline; dotted lines.
    quint32 LineMainColor() const { return m_lineMainColor; }
    void SetLineMainColor(quint32 value);
    quint32 LineColor() const { return m_lineColor; }
    void SetLineColor(quint32 value);
    // Places the disc at the right end of an area wider than high.
    bool AlignToRight() const { return m_alignToRight; }
    void SetAlignToRight(bool value);

    // |RadiusMax - RadiusMin| in level units, without the 16-bit truncation.
    qint64 Span() const;

    // Draws the disc, rays, circles and labels into Area and sets the chart's level-scale
    // centre and radius (pixels). Called by the chart's Render only.
    void Draw(QPainter &Canvas, const QRect &Area);

private:
    template<typename T>
    void Assign(T &field, const T &value);
    void Changed();
    void DrawRays(QPainter &Canvas, int lw, int onePx);
    void DrawCircles(QPainter &Canvas);

    TPolarGraph *m_graph;
    QFont m_font;
    int m_angleStep = 15;
    int m_radiusStep = 5;
    int m_angleMainStep = 45;
    int m_radiusMainStep = 20;
    int m_radiusMax = 100;
    int m_radiusMin = 0;
    QString m_units;
    quint32 m_lineMainColor = 0x000000;
    quint32 m_lineColor = 0x808080;
    bool m_alignToRight = false;
};
