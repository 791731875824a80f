#include "printing/ui/FrmPrinting.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

TFrmPrinting::TFrmPrinting(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmPrinting"));
    setFixedSize(243, 66);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(3);
    outer->addWidget(panel);

    auto *inner = new QVBoxLayout(panel);
    inner->setContentsMargins(5, 2, 5, 2);
    inner->addStretch(1);
    m_label = new QLabel(panel);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setFixedHeight(45);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    inner->addWidget(m_label);
}

QString TFrmPrinting::Text() const
{
    return m_label->text();
}

void TFrmPrinting::SetText(const QString &text)
{
    m_label->setText(text);
}

void TFrmPrinting::ShowNow()
{
    if (QWidget *owner = parentWidget()) {
        const QRect area = owner->window()->frameGeometry();
        move(area.center() - rect().center());
    }
    show();
    repaint();
}
