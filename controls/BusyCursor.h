#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

// The wait cursor for as long as it lives, restored on every path. Only while a GUI
// application runs (orvi-cli and the core tests have none). GUI thread.
class TBusyCursor
{
public:
    TBusyCursor()
        : m_active(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_active)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~TBusyCursor()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;

private:
    bool m_active;
};
