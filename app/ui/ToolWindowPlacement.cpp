#include "app/ui/ToolWindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// Room for a window manager's border and title bar, in pixels, while a window has never been
// shown and its real frame is not known yet.
const QSize AssumedFrameExtra(8, 30);

// The part of a frame that must be on a screen for the user to grab it: its title bar.
const QPoint TitleBarProbe(16, 8);

} // namespace

TToolWindowPlacement::TToolWindowPlacement(QWidget &area, QObject *parent)
    : QObject(parent)
    , m_area(area)
{ }

void TToolWindowPlacement::Track(QWidget &window, const QString &key)
{
    for (TTracked &tracked : m_tracked) {
        if (tracked.Key == key) {
            if (tracked.Window)
                tracked.Window->removeEventFilter(this);
            tracked.Window = &window;
            tracked.Placed = false;
            window.installEventFilter(this);
            return;
        }
    }
    m_tracked.push_back({ &window, key, false, std::nullopt });
    window.installEventFilter(this);
}

void TToolWindowPlacement::Read(QSettings &store)
{
    m_layout.Read(store);
}

void TToolWindowPlacement::Write(QSettings &store)
{
    for (TTracked &tracked : m_tracked)
        if (tracked.Window && tracked.Window->isVisible())
            Remember(tracked);
    m_layout.Write(store);
}

bool TToolWindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Expose) {
        for (TTracked &tracked : m_tracked)
            if (tracked.Window && tracked.Window->windowHandle() == watched)
                Framed(tracked);
    } else if (type == QEvent::Show || type == QEvent::Hide) {
        for (TTracked &tracked : m_tracked) {
            if (tracked.Window != watched)
                continue;
            if (type == QEvent::Show)
                Showing(tracked);
            else
                Remember(tracked);
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TToolWindowPlacement::Showing(TTracked &tracked)
{
    // The show event comes before the window is mapped, so a move here is where it appears.
    if (tracked.Placed) {
        if (const std::optional<QPoint> place = m_layout.Place(tracked.Key))
            MoveFrame(tracked, *place);
        return;
    }
    const std::optional<QPoint> stored = m_layout.Place(tracked.Key);
    // A place on a screen that is no longer there would hide the window from the user.
    MoveFrame(tracked, stored && OnSomeScreen(*stored) ? *stored : FirstPlace(tracked));
    tracked.Placed = true;
    Remember(tracked);
}

void TToolWindowPlacement::MoveFrame(TTracked &tracked, const QPoint &place)
{
    QWidget &window = *tracked.Window;
    window.move(place);
    tracked.FrameTarget.reset();
    QWindow *handle = window.windowHandle();
    if (!handle || FrameKnown(window))
        return;
    // Until the window manager has framed the window once, a move places its client area,
    // and the frame would stand out above and left of place by its title bar and border: the
    // platform window asks for the frame's corner instead, and Framed checks it once shown.
    handle->setFramePosition(place);
    tracked.FrameTarget = place;
    handle->removeEventFilter(this);
    handle->installEventFilter(this);
}

void TToolWindowPlacement::Framed(TTracked &tracked)
{
    // Some windows are mapped with their client's corner at the place all the same (a
    // layout that settles while they are shown asks for the client's position again); now
    // that the frame is known, the client goes inside it.
    QWindow *handle = tracked.Window->windowHandle();
    if (!tracked.FrameTarget || !handle || !handle->isExposed() || handle->frameMargins().isNull())
        return;
    const QPoint place = *tracked.FrameTarget;
    tracked.FrameTarget.reset();
    const QMargins frame = handle->frameMargins();
    if (handle->framePosition() != place)
        handle->setPosition(place + QPoint(frame.left(), frame.top()));
}

bool TToolWindowPlacement::FrameKnown(const QWidget &window)
{
    return window.testAttribute(Qt::WA_WState_Created)
        && window.frameGeometry() != window.geometry();
}

void TToolWindowPlacement::Remember(TTracked &tracked)
{
    if (tracked.Placed)
        m_layout.SetPlace(tracked.Key, tracked.Window->pos());
}

QPoint TToolWindowPlacement::FirstPlace(const TTracked &tracked) const
{
    QList<QSize> frames;
    qsizetype slot = 0;
    for (const TTracked &other : m_tracked) {
        if (&other == &tracked)
            slot = frames.size();
        frames.append(other.Window ? FrameSize(*other.Window) : QSize());
    }
    const QRect area(m_area.mapToGlobal(QPoint(0, 0)), m_area.size());
    return TToolWindowLayout::FirstPlaces(area, frames).at(slot);
}

QSize TToolWindowPlacement::FrameSize(const QWidget &window)
{
    // A top-level widget that nobody has sized yet takes its size hint when it is shown.
    const QSize client = window.testAttribute(Qt::WA_Resized) || window.isVisible()
        ? window.size()
        : window.sizeHint().expandedTo(window.minimumSize());
    const QSize frame = window.frameGeometry().size();
    return FrameKnown(window) ? client + (frame - window.size()) : client + AssumedFrameExtra;
}

bool TToolWindowPlacement::OnSomeScreen(const QPoint &place)
{
    return QGuiApplication::screenAt(place + TitleBarProbe) != nullptr;
}
