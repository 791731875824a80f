#include "controls/ui/FormHelpers.h"

#include "controls/Messages.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

static QList<QPointer<QWidget>> &Forms()
{
    static QList<QPointer<QWidget>> forms;
    return forms;
}

void RegisterForm(QWidget *form)
{
    Forms().removeAll(nullptr);
    if (form && !Forms().contains(form))
        Forms().append(form);
}

void BroadcastToForms(QEvent::Type type, qintptr wParam)
{
    // A copy: a handler may create or destroy windows while we go through the list.
    const QList<QPointer<QWidget>> forms = Forms();
    for (const QPointer<QWidget> &form : forms) {
        if (!form)
            continue;
        TOrviEvent event(type, wParam);
        QCoreApplication::sendEvent(form, &event);
    }
}

void SetGroup(QWidget *control, int group)
{
    control->setProperty(GroupProperty, group);
}

void EnableGroup(QWidget *container, int group, bool disable)
{
    for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->property(GroupProperty).toInt() == group)
            child->setEnabled(!disable);
    }
}
