#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenu;
class TRecentFiles;

// The recent files at the end of the "Plik" menu: a separator, then one item per entry,
// top entry first, captioned "&1 path" .. "&9 path", "&A path". Rebuild after the list
// changes. The menu and the list must outlive this object.
class TRecentFilesMenu : public QObject
{
    Q_OBJECT

public:
    TRecentFilesMenu(QMenu &menu, const TRecentFiles &files, QObject *parent = nullptr);

    void Rebuild();

signals:
    // An entry was chosen (the list is not reordered by this).
    void Chosen(const QString &path);

private:
    QMenu &m_menu;
    const TRecentFiles &m_files;
    QList<QAction *> m_items; // the separator and the entries
};
