#pragma once

#include <QList>
#include <QMdiArea>

class QAction;
class QMenu;

// The frame's area of document windows: the MDI client with the arrangements of the
// "Okno" menu and its list of windows. GUI thread only.
class TDocumentArea : public QMdiArea
{
    Q_OBJECT

public:
    explicit TDocumentArea(QWidget *parent = nullptr);

    // Places the visible, not minimised windows side by side (Qt::Horizontal, "w pionie")
    // or one above the other (Qt::Vertical, "w poziomie"), each an equal share of the area.
    void Tile(Qt::Orientation orientation);

    // Replaces the window list at the end of menu: a separator and one item per window in
    // creation order, "&1 caption" .. "&9 caption" (no accelerator after the ninth), the
    // active one ticked; choosing an item activates that window.
    void FillWindowList(QMenu &menu);

private:
    QList<QAction *> m_listItems;
};
