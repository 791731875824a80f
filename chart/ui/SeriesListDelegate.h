#pragma once

#include <QAbstractItemDelegate>

class QHeaderView;
class QListView;

// The drawing of a list of series under a two-section header ("Nazwa", "Styl"), shared by
// the series editor and the chart settings dialog: rows 17 pixels high, selected rows in the
// highlight colours, the name at 2 pixels from the left and a line in the series colour
// across the "Styl" section that ends 2 pixels before its right edge. The list repaints when
// a header section is resized. Rows come from a TSeriesListModel. GUI thread only.
class TSeriesListDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    static constexpr int ItemHeight = 17; // pixels
    static constexpr int NameWidth = 120; // pixels, initial width of "Nazwa"
    static constexpr int StyleWidth = 100; // pixels, initial width of "Styl"

    // Draws list's rows after header's sections; installs itself on list, which owns it.
    // The header must outlive the list's painting (both are children of one window).
    TSeriesListDelegate(QHeaderView &header, QListView &list);

    // A horizontal header with the two centred, not clickable sections; owned by parent.
    static QHeaderView *CreateHeader(QWidget *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QHeaderView *m_header;
};
