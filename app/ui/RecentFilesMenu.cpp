#include "app/ui/RecentFilesMenu.h"

#include "app/RecentFiles.h"

#include <QAction>
#include <QMenu>

TRecentFilesMenu::TRecentFilesMenu(QMenu &menu, const TRecentFiles &files, QObject *parent)
    : QObject(parent)
    , m_menu(menu)
    , m_files(files)
{
    Rebuild();
}

void TRecentFilesMenu::Rebuild()
{
    for (QAction *action : std::as_const(m_items)) {
        m_menu.removeAction(action);
        delete action;
    }
    m_items.clear();
    if (m_files.Count() == 0)
        return;
    m_items.append(m_menu.addSeparator());
    const QStringList paths = m_files.Items();
    for (int i = 0; i < paths.size(); ++i) {
        QAction *action = m_menu.addAction(m_files.MenuCaption(i));
        action->setObjectName(QStringLiteral("miRecent%1").arg(i));
        action->setStatusTip(paths.at(i));
        const QString path = paths.at(i);
        connect(action, &QAction::triggered, this, [this, path] { emit Chosen(path); });
        m_items.append(action);
    }
}
