#include "app/ToolWindowLayout.h"

#include <QSettings>
#include <QVariant>

#include <algorithm>

namespace {

const char *const WindowsGroup = "1.0/Windows";

// Keeps a frame of this size inside area where it can; the top-left corner wins when the
// area is smaller than the frame.
QPoint Inside(const QRect &area, const QPoint &place, const QSize &frame)
{
    const int x = std::max(area.left(), std::min(place.x(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(place.y(), area.bottom() + 1 - frame.height()));
    return { x, y };
}

} // namespace

QList<QPoint> TToolWindowLayout::FirstPlaces(const QRect &area, const QList<QSize> &frames)
{
    QList<QPoint> places;
    int x = area.left() + Gap;
    int y = area.top() + Gap;
    int rowHeight = 0;
    for (const QSize &frame : frames) {
        const bool rowStarted = rowHeight > 0;
        if (rowStarted && x + frame.width() + Gap > area.right() + 1) {
            x = area.left() + Gap;
            y += rowHeight + Gap;
            rowHeight = 0;
        }
        places.append(Inside(area, { x, y }, frame));
        x += frame.width() + Gap;
        rowHeight = std::max(rowHeight, frame.height());
    }
    return places;
}

std::optional<QPoint> TToolWindowLayout::Place(const QString &key) const
{
    const auto it = m_places.constFind(key);
    if (it == m_places.constEnd())
        return std::nullopt;
    return *it;
}

void TToolWindowLayout::SetPlace(const QString &key, const QPoint &place)
{
    m_places.insert(key, place);
}

void TToolWindowLayout::Read(QSettings &store)
{
    store.beginGroup(QLatin1String(WindowsGroup));
    const QStringList keys = store.childKeys();
    for (const QString &key : keys) {
        const QVariant value = store.value(key);
        if (value.typeId() == QMetaType::QPoint)
            m_places.insert(key, value.toPoint());
    }
    store.endGroup();
}

void TToolWindowLayout::Write(QSettings &store) const
{
    store.beginGroup(QLatin1String(WindowsGroup));
    for (auto it = m_places.constBegin(); it != m_places.constEnd(); ++it)
        store.setValue(it.key(), it.value());
    store.endGroup();
}
