#include "chart/ui/SeriesListDelegate.h"

#include "chart/SeriesListModel.h"
#include "chart/WinColor.h"

#include <QHeaderView>
#include <QListView>
#include <QPainter>
#include <QStandardItemModel>

TSeriesListDelegate::TSeriesListDelegate(QHeaderView &header, QListView &list)
    : QAbstractItemDelegate(&list)
    , m_header(&header)
{
    list.setItemDelegate(this);
    list.setUniformItemSizes(true);
    connect(&header, &QHeaderView::sectionResized, list.viewport(), qOverload<>(&QWidget::update));
}

QHeaderView *TSeriesListDelegate::CreateHeader(QWidget *parent)
{
    auto *header = new QHeaderView(Qt::Horizontal, parent);
    auto *sections = new QStandardItemModel(0, 2, header);
    sections->setHorizontalHeaderLabels({ tr("Nazwa"), tr("Styl") });
    header->setModel(sections);
    header->setObjectName(QStringLiteral("headList"));
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(0, NameWidth);
    header->resizeSection(1, StyleWidth);
    // One line of text in the parent's font; a header beside a list would take any height.
    header->setFixedHeight(header->sizeHint().height());
    return header;
}

void TSeriesListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const QRect rect = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette &palette = option.palette;
    painter->save();
    painter->fillRect(
        rect, selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base));

    // The line shows the colour only: a plain one-pixel pen.
    const int nameWidth = m_header->sectionSize(0);
    const int styleWidth = m_header->sectionSize(1);
    const int y = rect.top() + rect.height() / 2;
    const quint32 color = index.data(TSeriesListModel::ColorRole).value<quint32>();
    painter->setPen(QPen(WinColor::ToQColor(color), 0));
    painter->drawLine(rect.left() + nameWidth, y, rect.left() + nameWidth + styleWidth - 2, y);

    // A long name runs on over the line.
    painter->setPen(selected ? palette.color(QPalette::HighlightedText)
                             : palette.color(QPalette::Text));
    painter->setFont(option.font);
    const QRect textRect(rect.left() + 2, rect.top(), rect.width() - 2, rect.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize TSeriesListDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return QSize(m_header->sectionSize(0) + m_header->sectionSize(1), ItemHeight);
}
