#pragma once

#include <QWidget>

// The start-up picture: a borderless 300 x 225 window centred on the desktop. It exists
// from program start until the main window has been shown; the main window owns it then.
class TFrmSplash : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PictureWidth = 300;
    static constexpr int PictureHeight = 225;

    explicit TFrmSplash(QWidget *parent = nullptr);

    // Shows the window centred on the primary screen and paints it at once.
    void ShowNow();

protected:
    void paintEvent(QPaintEvent *event) override;
};
