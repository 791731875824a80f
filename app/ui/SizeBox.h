#pragma once

#include <QWidget>

class QComboBox;
class QLabel;

// The tool bar's size box: the label "&Rozmiar" and the editable combo box cbSize with the
// zoom steps 200 .. 50 percent. Choosing a list entry applies it at once; typed text is
// applied only on Enter, when it is a whole number from 50 to 200; anything else typed is
// refused and the box shows the active document's zoom again (the owner answers
// InvalidEntered with ShowZoom).
class TSizeBox : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MinZoom = 50; // percent
    static constexpr int MaxZoom = 200;

    explicit TSizeBox(QWidget *parent = nullptr);

    QComboBox *Combo() const { return m_cbSize; }
    QLabel *Label() const { return m_lblSize; }
    // Shows a zoom in percent.
    void ShowZoom(int percent);

signals:
    void ZoomChosen(int percent);
    void InvalidEntered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Entered();

    QLabel *m_lblSize;
    QComboBox *m_cbSize;
};
