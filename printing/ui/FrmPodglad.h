#pragma once

#include <QDialog>
#include <QImage>

class QScrollArea;
class TFrmPrint;

// "Podgląd wydruku": the sheet the print dialog would print, drawn once when shown onto a
// page image of fixed pixel size (600 × 800 portrait, 800 × 600 landscape, less an 8-pixel
// border) with the screen's resolution, not scaled from the printer's paper. It keeps no
// copy of the print settings: orientation, margins and charts are read from the owning
// dialog, which must outlive it. Owns the page image. GUI thread only.
class TFrmPodglad : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PanelBorder = 8; // pixels around the page inside Panel2
    static constexpr int ShadowOffset = 2; // pixels right and down

    explicit TFrmPodglad(TFrmPrint &owner);

    // The drawn page (null until the window has been shown).
    const QImage &PageImage() const { return m_page; }
    // Puts the page panel at the horizontal centre of the scrolling area, or at 0 when the
    // area is narrower.
    void ScrollBox1Resize();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void Panel2Resize();

    TFrmPrint &m_owner;
    QImage m_page;
    QScrollArea *ScrollBox1 = nullptr;
    QWidget *m_canvas = nullptr; // the scrolling area's content, holds Panel2
    QWidget *Panel2 = nullptr;
    QWidget *Shape1 = nullptr;
    QWidget *PaintBox1 = nullptr;
    bool m_drawn = false;
};
