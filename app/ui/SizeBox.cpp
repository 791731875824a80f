#include "app/ui/SizeBox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

TSizeBox::TSizeBox(QWidget *parent)
    : QWidget(parent)
    , m_lblSize(new QLabel(tr("&Rozmiar"), this))
    , m_cbSize(new QComboBox(this))
{
    setObjectName(QStringLiteral("SizeBox"));
    m_lblSize->setObjectName(QStringLiteral("lblSize"));
    m_lblSize->setContentsMargins(4, 0, 4, 0);
    m_cbSize->setObjectName(QStringLiteral("cbSize"));
    m_cbSize->setEditable(true);
    // Typed text is applied by Enter only, never added to the list or completed.
    m_cbSize->setInsertPolicy(QComboBox::NoInsert);
    m_cbSize->setCompleter(nullptr);
    m_cbSize->addItems({ QStringLiteral("200"), QStringLiteral("175"), QStringLiteral("150"),
                         QStringLiteral("125"), QStringLiteral("100"), QStringLiteral("75"),
                         QStringLiteral("50") });
    m_cbSize->setCurrentIndex(-1);
    m_cbSize->setEditText(QStringLiteral("100"));
    m_cbSize->setToolTip(tr("Rozmiar "));
    m_cbSize->setStatusTip(tr(" Ustala rozmiar dokumentu"));
    m_cbSize->setMinimumContentsLength(4);
    m_lblSize->setBuddy(m_cbSize);
    m_cbSize->installEventFilter(this);
    m_cbSize->lineEdit()->installEventFilter(this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_lblSize);
    layout->addWidget(m_cbSize);

    connect(m_cbSize, &QComboBox::activated, this, [this](int index) {
        bool ok = false;
        const int percent = m_cbSize->itemText(index).toInt(&ok);
        if (ok)
            emit ZoomChosen(percent);
    });
}

void TSizeBox::ShowZoom(int percent)
{
    m_cbSize->setEditText(QString::number(percent));
}

void TSizeBox::Entered()
{
    bool ok = false;
    const int percent = m_cbSize->currentText().trimmed().toInt(&ok);
    if (ok && percent >= MinZoom && percent <= MaxZoom)
        emit ZoomChosen(percent);
    else
        emit InvalidEntered();
}

bool TSizeBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress
        && (watched == m_cbSize || watched == m_cbSize->lineEdit())) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Entered();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
