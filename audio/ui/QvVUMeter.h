#pragma once

#include "audio/VUMeterModel.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

class QPainter;

// Needle level meter: an arc of ticks in three colour zones with dB labels, a title and a
// needle swinging from the left end (silence, Sensitivity() dB) to the right (full scale).
// Fed with recorded 16-bit buffers through ProcessBuffer; the needle rises at once and
// falls back slowly (Decay()); OnClip is emitted for each block whose peak is full scale.
//
// Drawing: the scale is drawn into ScaleBitmap() only when the appearance or the size
// changes; a level update copies it into NeedleBitmap() and adds the needle line; a paint
// copies NeedleBitmap() to the screen. Render() draws the whole meter onto any painter.
// GUI thread only.
class TQvVUMeter : public QWidget
{
    Q_OBJECT

public:
    enum TBevelStyle { bsLowered, bsRaised, bsNone };
    enum TScaleOrigin { soInner, soOuter };
    enum TMode { mMono, mStereo };

    explicit TQvVUMeter(QWidget *parent = nullptr);
    ~TQvVUMeter() override;

    // Feeds a recorded buffer: Size bytes of signed 16-bit little-endian samples, of which
    // at most BufferSize() bytes are examined (every second sample from sample 4 on); one
    // needle update per BlockLength examined samples. The level meter window passes 400.
    void ProcessBuffer(const char *Buffer, int Size, int BlockLength = 400);
    // One block peak in sample units (0 .. FullScale()): clip check, ballistics, needle.
    void SetLevel(int peak);
    // Needle to 0 at once; HeldLevel() stays, so the next update falls from it.
    void ResetNeedle();

    // Draws bevel, title, scale and needle into rect (the meter's geometry is taken from the
    // rectangle's size). The one drawing path for the screen bitmaps and any export.
    void Render(QPainter &painter, const QRect &rect);

    QSize sizeHint() const override { return QSize(170, 100); }

    int FullScale() const { return TVUMeterModel::FullScale; }
    int Level() const { return m_Model.Level(); }
    double HeldLevel() const { return m_Model.HeldLevel(); }
    int NeedlePos() const { return m_Model.NeedlePos(); }
    // Needle pivot in widget pixels: mid-width, NeedleOffset() below the bottom edge.
    int PivotX() const { return width() / 2; }
    int PivotY() const { return height() + m_NeedleOffset; }
    bool ScaleDirty() const { return m_ScaleDirty; }
    // The cached drawings (empty until the first paint).
    const QImage &ScaleBitmap() const { return m_ScaleBitmap; }
    const QImage &NeedleBitmap() const { return m_NeedleBitmap; }

    // Appearance: changing one redraws the scale at the next paint.
    TBevelStyle BevelStyle() const { return m_BevelStyle; }
    void SetBevelStyle(TBevelStyle value);
    int BevelWidth() const { return m_BevelWidth; }
    void SetBevelWidth(int value); // pixels; values below 1 are ignored
    QColor Color() const { return m_Color; } // background
    void SetColor(const QColor &value);
    QColor FontColor() const { return m_FontColor; } // title and labels
    void SetFontColor(const QColor &value);
    QColor ScaleColor1() const { return m_ScaleColor1; }
    void SetScaleColor1(const QColor &value);
    QColor ScaleColor2() const { return m_ScaleColor2; }
    void SetScaleColor2(const QColor &value);
    QColor ScaleColor3() const { return m_ScaleColor3; }
    void SetScaleColor3(const QColor &value);
    QString Title() const { return m_Title; }
    void SetTitle(const QString &value);
    TScaleOrigin ScaleOrigin() const { return m_ScaleOrigin; }
    void SetScaleOrigin(TScaleOrigin value);
    int ScaleAngle() const { return m_ScaleAngle; } // degrees
    void SetScaleAngle(int value);
    int ScaleTicks() const { return m_ScaleTicks; } // fewer than 2 draws no ticks
    void SetScaleTicks(int value);
    int ScaleTickMainEvery() const { return m_ScaleTickMainEvery; }
    void SetScaleTickMainEvery(int value);
    int ScaleTickTextEvery() const { return m_ScaleTickTextEvery; }
    void SetScaleTickTextEvery(int value);
    int Tick1Size() const { return m_Tick1Size; } // pixels, short tick
    void SetTick1Size(int value);
    int Tick2Size() const { return m_Tick2Size; } // pixels, long tick
    void SetTick2Size(int value);
    int ScalePart1() const { return m_ScalePart1; } // percent of the arc
    void SetScalePart1(int value);
    int ScalePart2() const { return m_ScalePart2; }
    void SetScalePart2(int value);
    int Sensitivity() const { return m_Model.Sensitivity(); } // dB at the left end, negative
    void SetSensitivity(int value);
    int NeedleOffset() const { return m_NeedleOffset; } // pixels of the pivot below the bottom
    void SetNeedleOffset(int value);
    int TopMargin() const { return m_TopMargin; } // pixels between the top and the arc
    void SetTopMargin(int value);
    bool LogScale() const { return m_Model.LogScale(); } // dB (true) or linear amplitude
    void SetLogScale(bool value);
    // Shows from the next needle update.
    QColor NeedleColor() const { return m_NeedleColor; }
    void SetNeedleColor(const QColor &value);

    // Only stored.
    int BufferSize() const { return m_Model.BufferSize(); } // bytes
    void SetBufferSize(int value) { m_Model.SetBufferSize(value); }
    TMode Mode() const { return m_Mode; }
    void SetMode(TMode value) { m_Mode = value; }
    quint16 BitsPerSample() const { return m_BitsPerSample; }
    void SetBitsPerSample(quint16 value) { m_BitsPerSample = value; }
    int Decay() const { return m_Model.Decay(); } // 0 follows each peak; large values hold it
    void SetDecay(int value) { m_Model.SetDecay(value); }

signals:
    void OnClip(TQvVUMeter *sender);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QPoint LevelToPoint(double p, int r, QPoint pivot) const;
    void RenderBackground(QPainter &painter, QSize size);
    void RenderScale(QPainter &painter, const QRect &inner, QPoint pivot);
    void RenderNeedle(QPainter &painter, QSize size);
    void DrawBackground();
    void DrawNeedle();
    void NeedleChanged();
    void AppearanceChanged();

    TVUMeterModel m_Model;
    QImage m_ScaleBitmap;
    QImage m_NeedleBitmap;
    TBevelStyle m_BevelStyle = bsLowered;
    QColor m_Color { 0, 0, 0 };
    QColor m_FontColor { 192, 192, 192 };
    QColor m_ScaleColor1 { 0, 128, 0 };
    QColor m_ScaleColor2 { 255, 255, 0 };
    QColor m_ScaleColor3 { 255, 0, 0 };
    int m_BevelWidth = 1;
    QString m_Title;
    TScaleOrigin m_ScaleOrigin = soInner;
    int m_ScaleAngle = 90;
    int m_ScaleTicks = 41;
    int m_ScaleTickMainEvery = 4;
    int m_ScaleTickTextEvery = 8;
    int m_Tick1Size = 4;
    int m_Tick2Size = 8;
    int m_ScalePart1 = 60;
    int m_ScalePart2 = 80;
    QColor m_NeedleColor { 192, 192, 192 };
    int m_NeedleOffset = 30;
    int m_TopMargin = 16;
    TMode m_Mode = mMono;
    quint16 m_BitsPerSample = 16;
    bool m_ScaleDirty = true;
};
