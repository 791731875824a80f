#include "app/RecentFiles.h"

#include <QSettings>
#include <QVariant>

namespace {

const char *const RecentGroup = "1.0/RecentFilesMRU";
const char *const ListName = "MRUList";

// Paths name the same file when they are equal; Windows file names ignore case.
Qt::CaseSensitivity PathCase()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

int IndexOf(const QStringList &items, const QString &path)
{
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).compare(path, PathCase()) == 0)
            return i;
    }
    return -1;
}

} // namespace

void TRecentFiles::Add(const QString &path)
{
    if (path.isEmpty())
        return;
    const int existing = IndexOf(m_items, path);
    if (existing >= 0)
        m_items.removeAt(existing);
    m_items.prepend(path);
    while (m_items.size() > MaxCount)
        m_items.removeLast();
}

QString TRecentFiles::MenuCaption(int index) const
{
    if (index < 0 || index >= m_items.size())
        return {};
    const QChar key = index < 9 ? QChar(u'1' + index) : QChar(u'A' + (index - 9));
    QString path = m_items.at(index);
    path.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(key, path);
}

void TRecentFiles::Load(QSettings &store)
{
    m_items.clear();
    store.beginGroup(QLatin1String(RecentGroup));
    const QVariant list = store.value(QLatin1String(ListName));
    if (list.isValid() && list.typeId() != QMetaType::QString) {
        store.setValue(QLatin1String(ListName), QString());
    } else {
        // Each character of the list names one value, its first the top entry.
        for (const QChar letter : list.toString()) {
            const QVariant entry = store.value(QString(letter));
            if (entry.typeId() != QMetaType::QString)
                continue;
            const QString path = entry.toString();
            if (path.isEmpty() || IndexOf(m_items, path) >= 0)
                continue;
            m_items.append(path);
            if (m_items.size() == MaxCount)
                break;
        }
    }
    store.endGroup();
}

void TRecentFiles::Save(QSettings &store) const
{
    store.beginGroup(QLatin1String(RecentGroup));
    QString letters;
    for (int i = 0; i < m_items.size(); ++i) {
        const QString name(QChar(u'a' + i));
        store.setValue(name, m_items.at(i));
        letters += name;
    }
    store.setValue(QLatin1String(ListName), letters);
    store.endGroup();
    store.sync();
}
