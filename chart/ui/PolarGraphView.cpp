#include "chart/ui/PolarGraphView.h"

#include "chart/PolarGraph.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TPolarGraphView::TPolarGraphView(TPolarGraph &graph, QWidget *parent)
    : QWidget(parent)
    , m_graph(&graph)
{
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    // The picture covers every pixel: no background erase before the copy.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_graph, &TPolarGraph::RepaintNow, this, [this] {
        if (isVisible())
            repaint();
    });
    connect(m_graph, &TPolarGraph::InvalidateRequested, this, [this] { update(); });
}

void TPolarGraphView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_graph->PaintCached(painter, size(), logicalDpiX(), logicalDpiY());
}

void TPolarGraphView::resizeEvent(QResizeEvent *event)
{
    m_graph->SetNeedsRender();
    QWidget::resizeEvent(event);
}

void TPolarGraphView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    emit MouseMoved(p.x(), p.y());
    QWidget::mouseMoveEvent(event);
}

void TPolarGraphView::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit DoubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}
