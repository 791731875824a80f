#pragma once

#include <QEvent>

class QWidget;

// Windows that take part in broadcasts register once, at creation (main window first, then
// the tool windows in their creation order). A destroyed window drops out by itself.
void RegisterForm(QWidget *form);

// Sends a TOrviEvent of this type synchronously to every registered window, in registration
// order; each send returns once that window has handled it.
void BroadcastToForms(QEvent::Type type, qintptr wParam = 0);

// Property that marks a control's group (1 or 2) for EnableGroup.
inline constexpr char GroupProperty[] = "orviGroup";
void SetGroup(QWidget *control, int group);

// Every direct child control of container whose group equals group gets
// enabled := !disable.
void EnableGroup(QWidget *container, int group, bool disable);
