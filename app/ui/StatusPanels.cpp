#include "app/ui/StatusPanels.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

#include <algorithm>

TStatusPanels::TStatusPanels(QStatusBar &bar)
    : QObject(&bar)
    , m_bar(bar)
{
    static constexpr Qt::Alignment Aligns[Count]
        = { Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignRight | Qt::AlignVCenter,
            Qt::AlignRight | Qt::AlignVCenter, Qt::AlignCenter };
    for (int i = 0; i < Count; ++i) {
        auto *panel = new QLabel(&bar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setAlignment(Aligns[i]);
        if (i < Count - 1)
            panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar.addWidget(panel);
        m_panels[size_t(i)] = panel;
    }
    FitWidths();
    bar.installEventFilter(this);
}

QString TStatusPanels::LongestText(int index)
{
    switch (index) {
    case 1:
        return QStringLiteral("350°");
    case 2:
        return QStringLiteral("-179.9° -100.0 dB ");
    default:
        return QString();
    }
}

int TStatusPanels::TextMargins(const QLabel &panel)
{
    // As QLabel sizes its text: the frame on both sides, the margin on both sides, and an
    // indent on the aligned side (with a frame and no indent of its own, one "x" less the
    // margins).
    const QMargins contents = panel.contentsMargins();
    int indent = panel.indent();
    if (indent < 0)
        indent = panel.frameWidth() > 0
            ? QFontMetrics(panel.font()).horizontalAdvance(u'x') - 2 * panel.margin()
            : 0;
    return contents.left() + contents.right() + 2 * panel.margin() + std::max(indent, 0);
}

void TStatusPanels::FitWidths()
{
    const QFontMetrics metrics(m_bar.font());
    for (int i = 0; i < Count - 1; ++i) {
        QLabel *panel = m_panels[size_t(i)];
        const QString longest = LongestText(i);
        // The advance, or the inked width where a glyph reaches beyond it.
        const int text = std::max(
            metrics.horizontalAdvance(longest),
            metrics.boundingRect(QRect(0, 0, 10000, 1000), int(panel->alignment()), longest)
                .width());
        const int fitting = longest.isEmpty() ? 0 : text + TextMargins(*panel);
        panel->setFixedWidth(std::max(BaseWidths[size_t(i)], fitting));
    }
    // The note grows to its text (the simulator note), at least its base width.
    m_panels[Count - 1]->setMinimumWidth(BaseWidths[Count - 1]);
    m_panels[Count - 1]->setMaximumWidth(QWIDGETSIZE_MAX);
}

bool TStatusPanels::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_bar
        && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
        FitWidths();
    return QObject::eventFilter(watched, event);
}
