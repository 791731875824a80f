#pragma once

#include "app/ToolWindowLayout.h"

#include <QObject>
#include <QPointer>

#include <optional>

#include <vector>

class QSettings;
class QWidget;

// Places the main window's tool windows (generator, level meter, turntable control, series
// editor, directivity map): the first time one is shown it goes to its own slot inside the owner's
// document area, below the menus and tool bars, beside the others rather than over them; after that
// it keeps the place the user gave it across hiding and showing, and across runs through Read and
// Write. GUI thread only. Owned by the main window; the windows are not owned.
class TToolWindowPlacement : public QObject
{
    Q_OBJECT

public:
    // Frame of a small tool window: title and close box, no minimise or maximise box. As a
    // Qt::Tool child of the main window it stays above that window; it must not ask to stay
    // above everything, or window managers put it over the program's modal dialogs.
    static constexpr Qt::WindowFlags SmallToolWindowFlags = Qt::Tool | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

    // area is the widget whose screen rectangle the first places fill (the document area);
    // it must outlive this object.
    explicit TToolWindowPlacement(QWidget &area, QObject *parent = nullptr);

    // Places window under key (e.g. "GeneratorPos"); slots follow the order of the calls. A
    // later window under the same key takes the earlier one's slot and stored place.
    void Track(QWidget &window, const QString &key);

    // The stored places, read once at start and written once at exit beside the settings.
    void Read(QSettings &store);
    void Write(QSettings &store);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TTracked
    {
        QPointer<QWidget> Window;
        QString Key;
        bool Placed = false; // has been shown at a place of its own
        // Where the frame's corner must be once the window manager has framed the window.
        std::optional<QPoint> FrameTarget;
    };

    void Showing(TTracked &tracked);
    // Puts the top-left corner of the window's frame at place (screen pixels).
    void MoveFrame(TTracked &tracked, const QPoint &place);
    void Framed(TTracked &tracked);
    static bool FrameKnown(const QWidget &window);
    void Remember(TTracked &tracked);
    QPoint FirstPlace(const TTracked &tracked) const;
    static QSize FrameSize(const QWidget &window);
    static bool OnSomeScreen(const QPoint &place);

    QWidget &m_area;
    TToolWindowLayout m_layout;
    std::vector<TTracked> m_tracked;
};
