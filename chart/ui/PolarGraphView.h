#pragma once

#include <QWidget>

class TPolarGraph;

// The on-screen face of a TPolarGraph: paints the chart's cached picture (a repaint with a
// valid picture is one bitmap copy), repaints when the chart asks, reports the mouse.
// Does not own the chart; the chart must outlive the view. GUI thread only.
class TPolarGraphView : public QWidget
{
    Q_OBJECT

public:
    explicit TPolarGraphView(TPolarGraph &graph, QWidget *parent = nullptr);

    TPolarGraph &Graph() const { return *m_graph; }

    QSize sizeHint() const override { return QSize(300, 300); }

    // Opens the chart settings dialog ("Ustawienia wykresu") modally over this view; when it
    // ends with "&Ok" the chart fires OnChange once more. Always returns false.
    bool ShowSettings();

signals:
    // Mouse position in widget pixels (use Graph().PointToPolar for level and angle).
    void MouseMoved(int x, int y);
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    TPolarGraph *m_graph;
};
