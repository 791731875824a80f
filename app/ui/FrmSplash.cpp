#include "app/ui/FrmSplash.h"

#include "app/ui/ProgramPicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TFrmSplash::TFrmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmSplash"));
    setFixedSize(PictureWidth, PictureHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFrmSplash::ShowNow()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    show();
    repaint();
}

void TFrmSplash::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    RenderProgramPicture(painter, rect(), true);
}
