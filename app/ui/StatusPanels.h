#pragma once

#include <QObject>
#include <QString>

#include <array>

class QLabel;
class QStatusBar;

// The four panels of the main window's status bar, left to right: the long part of the hint
// (300 px, left), the turntable angle (100 px, right), the cursor read-out of the active
// document (100 px, right) and a note (50 px, centred, no bevel, grows with its text).
// The angle and read-out panels widen to their longest text in the status bar's font, so
// "-179.9° -100.0 dB " is never cut on a platform whose font is wider than the one the
// widths were chosen for; they are fitted again when that font changes. The panels are
// children of the bar; this object is too. GUI thread only.
class TStatusPanels : public QObject
{
    Q_OBJECT

public:
    static constexpr int Count = 4;
    // The widths the window always had, pixels; a panel is never narrower.
    static constexpr std::array<int, Count> BaseWidths { 300, 100, 100, 50 };

    explicit TStatusPanels(QStatusBar &bar);

    QLabel *Panel(int index) const { return m_panels.at(size_t(index)); }
    const std::array<QLabel *, Count> &Panels() const { return m_panels; }

    // The longest text panel index shows (empty for the hint and note panels, whose width
    // does not follow their text).
    static QString LongestText(int index);
    // Pixels a label needs beside the advance of its text: frame, margins and indent.
    static int TextMargins(const QLabel &panel);
    // Sets each panel's width from BaseWidths and its longest text in the current font.
    void FitWidths();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QStatusBar &m_bar;
    std::array<QLabel *, Count> m_panels {};
};
