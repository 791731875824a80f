#pragma once

#include <QStringList>

class QSettings;

// The recent-files list of the "Plik" menu: at most 10 full paths, newest first. Stored in
// the settings group "1.0/RecentFilesMRU" as one string value per entry named "a", "b", ...
// and the value "MRUList" naming those letters in list order. GUI thread only.
class TRecentFiles
{
public:
    static constexpr int MaxCount = 10;

    // Puts path on top: an entry already in the list moves there, a new one is inserted
    // and the oldest entry beyond MaxCount is dropped.
    void Add(const QString &path);
    QStringList Items() const { return m_items; }
    int Count() const { return int(m_items.size()); }
    void Clear() { m_items.clear(); }

    // The menu caption of entry index: "&1 path" .. "&9 path", "&A path" for the tenth
    // ("&" in the path is doubled so it shows as itself).
    QString MenuCaption(int index) const;

    // Replaces the list with the stored one (the order "MRUList" gives). A "MRUList" that is
    // not a text is replaced by an empty one; missing or empty entries are skipped.
    void Load(QSettings &store);
    // Writes "a".. and "MRUList". Values of a longer earlier list stay but are not named.
    void Save(QSettings &store) const;

private:
    QStringList m_items;
};
