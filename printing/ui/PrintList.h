#pragma once

#include <QListWidget>

// A chart list of the print dialog: items are dragged from it as a whole (one chart at a
// time) and drops of items of any list are handed to the dialog through Dropped, which
// decides what the drop means. The list itself never moves or removes items on a drag.
// GUI thread only.
class TPrintList : public QListWidget
{
    Q_OBJECT

public:
    explicit TPrintList(QWidget *parent = nullptr);

signals:
    // An item of source was dropped at pos (this list's viewport coordinates).
    void Dropped(QListWidget *source, const QPoint &pos);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
