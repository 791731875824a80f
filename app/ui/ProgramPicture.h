#pragma once

#include <QPixmap>
#include <QSize>

class QIcon;
class QPainter;
class QRect;

// The program's pictures, drawn in code (no image files): the splash picture and About
// banner (a polar pattern over a blue gradient with the program name) and the tool bar
// icons.
void RenderProgramPicture(QPainter &painter, const QRect &rect, bool withName);
QPixmap ProgramPicture(const QSize &size, bool withName = true);

// Tool bar icons that the style does not offer.
enum class EProgramIcon { Generator, Turntable, Meter, Options, Series, Measure, Refresh, Print };
QIcon ProgramIcon(EProgramIcon which);
