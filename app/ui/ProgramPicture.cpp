#include "app/ui/ProgramPicture.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

// A cardioid-like polar pattern around centre c with radius r, 0° up, clockwise.
static QPainterPath PolarPattern(const QPointF &c, double r, double tightness)
{
    QPainterPath path;
    for (int deg = 0; deg <= 360; deg += 3) {
        const double a = qDegreesToRadians(double(deg));
        const double gain = std::pow((1.0 + std::cos(a)) / 2.0, tightness);
        const double rr = r * (0.15 + 0.85 * gain);
        const QPointF p(c.x() + rr * std::sin(a), c.y() - rr * std::cos(a));
        if (deg == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

void RenderProgramPicture(QPainter &painter, const QRect &rect, bool withName)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(rect.topLeft(), rect.bottomLeft());
    sky.setColorAt(0.0, QColor(16, 40, 96));
    sky.setColorAt(1.0, QColor(40, 110, 180));
    painter.fillRect(rect, sky);

    const double r = qMin(rect.width(), rect.height()) * 0.36;
    const QPointF c(withName ? rect.left() + rect.width() * 0.66 : rect.center().x() + 0.5,
                    rect.top() + rect.height() * 0.5);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1, Qt::DotLine));
    for (int k = 1; k <= 4; ++k)
        painter.drawEllipse(c, r * k / 4.0, r * k / 4.0);
    for (int deg = 0; deg < 360; deg += 30) {
        const double a = qDegreesToRadians(double(deg));
        painter.drawLine(c, QPointF(c.x() + r * std::sin(a), c.y() - r * std::cos(a)));
    }
    painter.setPen(QPen(QColor(255, 210, 60), qMax(1.5, r / 30.0)));
    painter.drawPath(PolarPattern(c, r, 1.0));
    painter.setPen(QPen(QColor(255, 110, 90), qMax(1.5, r / 30.0)));
    painter.drawPath(PolarPattern(c, r * 0.8, 3.0));

    if (withName) {
        QFont big(QStringLiteral("Arial"));
        big.setBold(true);
        big.setPixelSize(qMax(8, rect.height() / 5));
        painter.setFont(big);
        painter.setPen(Qt::white);
        const QRect nameRect(rect.left() + rect.width() / 20, rect.top() + rect.height() / 8,
                             rect.width() / 2, rect.height() / 3);
        painter.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvi"));
        QFont small(QStringLiteral("Arial"));
        small.setPixelSize(qMax(6, rect.height() / 16));
        painter.setFont(small);
        const QRect lineRect(nameRect.left(), nameRect.bottom(), rect.width() / 2,
                             rect.height() / 2);
        painter.drawText(lineRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         QCoreApplication::translate("TProgramPicture",
                                                     "charakterystyki kierunkowości głośników"));
    }
    painter.restore();
}

QPixmap ProgramPicture(const QSize &size, bool withName)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    RenderProgramPicture(painter, QRect(QPoint(0, 0), size), withName);
    return pixmap;
}

QIcon ProgramIcon(EProgramIcon which)
{
    constexpr int S = 32;
    QPixmap pixmap(S, S);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen ink(QColor(20, 20, 20), 2);
    p.setPen(ink);
    switch (which) {
    case EProgramIcon::Generator: { // a sine wave in a box
        p.setBrush(QColor(230, 240, 255));
        p.drawRoundedRect(3, 6, 26, 20, 3, 3);
        QPainterPath wave;
        for (int x = 0; x <= 20; ++x) {
            const QPointF pt(6 + x, 16 - 6 * std::sin(x * 2 * M_PI / 20.0));
            x == 0 ? wave.moveTo(pt) : wave.lineTo(pt);
        }
        p.setPen(QPen(QColor(0, 90, 200), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
        break;
    }
    case EProgramIcon::Turntable: // the table seen from above with its zero mark
        p.setBrush(QColor(200, 200, 200));
        p.drawEllipse(4, 4, 24, 24);
        p.setBrush(QColor(120, 120, 120));
        p.drawEllipse(13, 13, 6, 6);
        p.setPen(QPen(QColor(200, 0, 0), 2));
        p.drawLine(16, 5, 16, 12);
        break;
    case EProgramIcon::Meter: // a needle meter
        p.setBrush(QColor(255, 250, 220));
        p.drawRect(3, 7, 26, 20);
        p.setBrush(Qt::NoBrush);
        p.drawArc(7, 12, 18, 18, 30 * 16, 120 * 16);
        p.setPen(QPen(QColor(200, 0, 0), 2));
        p.drawLine(16, 24, 22, 13);
        break;
    case EProgramIcon::Options: // a cog: a circle with teeth
        p.setBrush(QColor(150, 150, 160));
        for (int k = 0; k < 8; ++k) {
            p.save();
            p.translate(16, 16);
            p.rotate(45 * k);
            p.drawRect(-2, -14, 4, 6);
            p.restore();
        }
        p.drawEllipse(7, 7, 18, 18);
        p.setBrush(Qt::white);
        p.drawEllipse(12, 12, 8, 8);
        break;
    case EProgramIcon::Series: // three coloured lines
        p.setPen(QPen(QColor(128, 0, 0), 3));
        p.drawLine(5, 9, 27, 9);
        p.setPen(QPen(QColor(0, 128, 0), 3));
        p.drawLine(5, 16, 27, 16);
        p.setPen(QPen(QColor(0, 0, 128), 3));
        p.drawLine(5, 23, 27, 23);
        break;
    case EProgramIcon::Measure: // a polar pattern with a plus
        p.setPen(QPen(QColor(0, 90, 200), 2));
        p.drawPath(PolarPattern(QPointF(14, 17), 12, 1.0));
        p.setPen(QPen(QColor(0, 140, 0), 3));
        p.drawLine(25, 3, 25, 13);
        p.drawLine(20, 8, 30, 8);
        break;
    case EProgramIcon::Refresh: // a circular arrow
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 120, 0), 3));
        p.drawArc(6, 6, 20, 20, 60 * 16, 280 * 16);
        p.setBrush(QColor(0, 120, 0));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({ QPointF(18, 2), QPointF(26, 8), QPointF(17, 12) }));
        break;
    case EProgramIcon::Print: // a printer
        p.setBrush(Qt::white);
        p.drawRect(9, 3, 14, 10);
        p.setBrush(QColor(170, 170, 180));
        p.drawRect(4, 12, 24, 12);
        p.setBrush(Qt::white);
        p.drawRect(9, 20, 14, 9);
        break;
    }
    p.end();
    return QIcon(pixmap);
}
