#pragma once

#include <QWidget>

enum TBevelStyle { bsLowered, bsRaised };
enum TLedColor { lcRed, lcYellow, lcGreen, lcBlue, lcCustom };

// A small lamp: a rectangle filled with OnColor while Active, OffColor otherwise, framed by
// a one-pixel bevel. Colours are Windows 0x00BBGGRR values. Setters act only on a changed
// value and then repaint; giving the lamp its own colour switches LedColor to lcCustom.
// A new lamp is 16 x 8 pixels. GUI thread only.
class TQvLed : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(int BevelStyle READ BevelStyle WRITE SetBevelStyle)
    Q_PROPERTY(int LedColor READ LedColor WRITE SetLedColor)
    Q_PROPERTY(quint32 OnColor READ OnColor WRITE SetOnColor)
    Q_PROPERTY(quint32 OffColor READ OffColor WRITE SetOffColor)

public:
    explicit TQvLed(QWidget *parent = nullptr);

    bool Active() const { return m_active; }
    void SetActive(bool active);
    TBevelStyle BevelStyle() const { return m_bevelStyle; }
    void SetBevelStyle(TBevelStyle style);
    void SetBevelStyle(int style) { SetBevelStyle(TBevelStyle(style)); }
    TLedColor LedColor() const { return m_ledColor; }
    void SetLedColor(TLedColor color);
    void SetLedColor(int color) { SetLedColor(TLedColor(color)); }
    quint32 OnColor() const { return m_onColor; }
    void SetOnColor(quint32 color);
    quint32 OffColor() const { return m_offColor; }
    void SetOffColor(quint32 color);

    // The preset colours of a LedColor; false for lcCustom, which has none.
    static bool PresetColors(TLedColor color, quint32 &onColor, quint32 &offColor);
    // 0x00BBGGRR to QColor.
    static QColor ToQColor(quint32 color);

    // Draws the lamp into rect: the fill, then the left/top and right/bottom bevel lines in
    // the palette's button shadow and highlight colours.
    void Render(QPainter &painter, const QRect &rect) const;

    QSize sizeHint() const override { return QSize(16, 8); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_active = false;
    TBevelStyle m_bevelStyle = bsLowered;
    TLedColor m_ledColor = lcGreen;
    quint32 m_onColor = 0x00FF00;
    quint32 m_offColor = 0x008000;
};
