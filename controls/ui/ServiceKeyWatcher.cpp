#include "controls/ui/ServiceKeyWatcher.h"

#include "controls/ui/ServiceWord.h"

#include <QKeyEvent>
#include <QWidget>

TServiceKeyWatcher::TServiceKeyWatcher(QWidget &window, std::function<void()> onWord)
    : QObject(&window)
    , m_onWord(std::move(onWord))
{
    window.installEventFilter(this);
    for (QWidget *child : window.findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool TServiceKeyWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        m_keySeen = nullptr; // the press has been through the whole chain
    } else if (event->type() == QEvent::KeyPress && event != m_keySeen) {
        // A key a control ignores travels up to the window and passes this filter again;
        // it counts once, at its first receiver.
        m_keySeen = event;
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (!text.isEmpty() && MatchServiceWord(text.at(0), ServiceWord, m_position) && m_onWord)
            m_onWord();
    }
    return QObject::eventFilter(watched, event);
}
