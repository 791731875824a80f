#include "printing/ui/PrintList.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>

namespace {

const QString ChartMime = QStringLiteral("application/x-orvi-print-chart");

} // namespace

TPrintList::TPrintList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(true);
}

void TPrintList::startDrag(Qt::DropActions)
{
    if (currentRow() < 0)
        return;
    auto *drag = new QDrag(this);
    auto *mime = new QMimeData;
    mime->setData(ChartMime, QByteArray::number(currentRow()));
    drag->setMimeData(mime);
    // The drop target has done everything by the time exec returns.
    drag->exec(Qt::MoveAction);
}

void TPrintList::dragEnterEvent(QDragEnterEvent *event)
{
    if (qobject_cast<QListWidget *>(event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TPrintList::dragMoveEvent(QDragMoveEvent *event)
{
    if (qobject_cast<QListWidget *>(event->source()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TPrintList::dropEvent(QDropEvent *event)
{
    auto *source = qobject_cast<QListWidget *>(event->source());
    if (!source) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit Dropped(source, event->position().toPoint());
}
