#include "controls/PictureWriter.h"

#include "controls/FileWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

bool Fail(QString *error, const QString &fileName, const QString &reason)
{
    if (error)
        *error = TFileWriter::FailureMessage(fileName, reason);
    return false;
}

bool Store(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QString message;
    if (TFileWriter::WriteFile(fileName, bytes, &message))
        return true;
    if (error)
        *error = message;
    return false;
}

} // namespace

bool TPictureWriter::WritePng(const QString &fileName, QSize size, const TRender &render,
                              QString *error)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return Fail(error, fileName, tr("obraz zbyt duży"));
    image.setDotsPerMeterX(qRound(Dpi / 0.0254));
    image.setDotsPerMeterY(qRound(Dpi / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        render(painter, QRect(QPoint(0, 0), size));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return Fail(error, fileName, tr("błąd kodowania PNG"));
    buffer.close();
    return Store(fileName, bytes, error);
}

bool TPictureWriter::WriteSvg(const QString &fileName, QSize size, const QString &title,
                              const TRender &render, QString *error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(Dpi);
    generator.setTitle(title);
    {
        QPainter painter;
        if (!painter.begin(&generator))
            return Fail(error, fileName, tr("błąd SVG"));
        render(painter, QRect(QPoint(0, 0), size));
    }
    buffer.close();
    return Store(fileName, bytes, error);
}

bool TPictureWriter::WritePdf(const QString &fileName, QSize size, const QString &title,
                              const TRender &render, QString *error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(Dpi);
        writer.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / Dpi, size.height() * 72.0 / Dpi),
                                     QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(title);
        QPainter painter;
        if (!painter.begin(&writer))
            return Fail(error, fileName, tr("błąd PDF"));
        render(painter, QRect(QPoint(0, 0), size));
    }
    buffer.close();
    return Store(fileName, bytes, error);
}

bool TPictureWriter::WriteByExtension(const QString &fileName, QSize size, const QString &title,
                                      const TRender &render, const QString &what, QString *error)
{
    constexpr int MaxSide = 20000; // pixels
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")
        && suffix != QLatin1String("pdf")) {
        if (error)
            *error = tr("Nieznany format pliku \"%1\". %2 można zapisać jako PNG, SVG "
                        "lub PDF.")
                         .arg(QFileInfo(fileName).fileName(), what);
        return false;
    }
    if (size.width() <= 0 || size.height() <= 0 || size.width() > MaxSide
        || size.height() > MaxSide) {
        if (error)
            *error
                = tr("Nieprawidłowy rozmiar obrazu: %1 × %2").arg(size.width()).arg(size.height());
        return false;
    }
    if (suffix == QLatin1String("svg"))
        return WriteSvg(fileName, size, title, render, error);
    if (suffix == QLatin1String("pdf"))
        return WritePdf(fileName, size, title, render, error);
    return WritePng(fileName, size, render, error);
}
