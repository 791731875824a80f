#include "app/ui/DocumentArea.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

TDocumentArea::TDocumentArea(QWidget *parent)
    : QMdiArea(parent)
{
    setObjectName(QStringLiteral("MdiArea"));
    // The frame's background is the system colour of button shadows.
    setBackground(palette().brush(QPalette::Dark));
}

void TDocumentArea::Tile(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : subWindowList())
        if (sub->isVisible() && !sub->isMinimized())
            windows.append(sub);
    if (windows.isEmpty())
        return;
    const QRect area = viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = windows.at(i);
        if (sub->isMaximized())
            sub->showNormal();
        if (orientation == Qt::Horizontal) {
            const int x0 = area.width() * i / n, x1 = area.width() * (i + 1) / n;
            sub->setGeometry(x0, 0, x1 - x0, area.height());
        } else {
            const int y0 = area.height() * i / n, y1 = area.height() * (i + 1) / n;
            sub->setGeometry(0, y0, area.width(), y1 - y0);
        }
    }
}

void TDocumentArea::FillWindowList(QMenu &menu)
{
    for (QAction *action : std::as_const(m_listItems)) {
        menu.removeAction(action);
        delete action;
    }
    m_listItems.clear();
    // Windows being closed are hidden until they are deleted: not listed.
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : subWindowList(QMdiArea::CreationOrder))
        if (!sub->isHidden() || sub->isMinimized())
            windows.append(sub);
    if (windows.isEmpty())
        return;
    m_listItems.append(menu.addSeparator());
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *sub = windows.at(i);
        const QString caption = sub->windowTitle().replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *action
            = menu.addAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(caption) : caption);
        action->setCheckable(true);
        action->setChecked(sub == currentSubWindow());
        QPointer<QMdiSubWindow> target(sub);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target)
                setActiveSubWindow(target);
        });
        m_listItems.append(action);
    }
}
