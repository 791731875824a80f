#pragma once

#include <QCoreApplication>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

// Writes one drawing as PNG, SVG or PDF: the picture's own Render draws it into memory at
// `size` pixels (96 per inch for SVG and PDF, white under PNG), and the bytes reach the file
// through TFileWriter only once they are complete, so a full disk or a file-size limit never
// leaves a truncated picture or replaces a good one. False with the program's message in
// *error. GUI thread (or any one thread that may paint).
class TPictureWriter
{
    Q_DECLARE_TR_FUNCTIONS(TPictureWriter)

public:
    using TRender = std::function<void(QPainter &painter, const QRect &rect)>;

    static constexpr int Dpi = 96;

    static bool WritePng(const QString &fileName, QSize size, const TRender &render,
                         QString *error = nullptr);
    static bool WriteSvg(const QString &fileName, QSize size, const QString &title,
                         const TRender &render, QString *error = nullptr);
    static bool WritePdf(const QString &fileName, QSize size, const QString &title,
                         const TRender &render, QString *error = nullptr);
    // As the extension of fileName says (.png, .svg or .pdf, any case), each side of size from
    // 1 to 20000 pixels. what names the picture in the refusal of another extension, in the
    // accusative ("Mapę").
    static bool WriteByExtension(const QString &fileName, QSize size, const QString &title,
                                 const TRender &render, const QString &what,
                                 QString *error = nullptr);
};
