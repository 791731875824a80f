#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Lets a window see typed keys before its controls do and runs onWord each time the
// service word ("kapsel") has been typed, wherever the focus is in the window. Watches the
// window and the children it has when the watcher is made; owned by the window (its Qt
// parent). GUI thread only.
class TServiceKeyWatcher : public QObject
{
public:
    TServiceKeyWatcher(QWidget &window, std::function<void()> onWord);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_onWord;
    int m_position = 0; // position reached in the service word
    const QEvent *m_keySeen = nullptr; // the key press counted last, until its release
};
