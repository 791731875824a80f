#include "printing/ui/PrintList.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QStyledItemDelegate>

namespace {

const QString ChartMime = QStringLiteral("application/x-orvi-print-chart");

// Rows that ask for no width of their own: the list then makes each row as wide as its
// viewport, and the text is elided to that instead of running on past the list's edge.
class TViewportWideDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(0);
        return size;
    }
};

} // namespace

TPrintList::TPrintList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(true);
    // Captions are file paths: their start and the file name both matter, so a long one is
    // cut in the middle to the list's width (which needs the list not to scroll sideways).
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new TViewportWideDelegate(this));
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
