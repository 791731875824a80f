#include "chart/ui/PolarGraphView.h"

#include "chart/PolarGraph.h"
#include "chart/ui/GraphSet.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

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

bool TPolarGraphView::ShowSettings()
{
    // The dialog is a child of this view: should the view go while it is open, the dialog
    // goes with it and must not be deleted a second time here.
    QPointer<TFrmGraphSettings> dialog = new TFrmGraphSettings(*m_graph, this);
    const int result = dialog->exec();
    if (!dialog)
        return false;
    delete dialog.data();
    if (result == QDialog::Accepted)
        m_graph->Change();
    return false;
}
