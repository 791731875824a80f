#include "printing/ui/FrmPodglad.h"

#include "document/ui/Prompts.h"
#include "printing/PrintPage.h"
#include "printing/ui/FrmPrint.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <exception>

namespace {

// The hourglass for one drawing of the page, restored on every path out.
class TWaitCursor
{
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};

} // namespace

TFrmPodglad::TFrmPodglad(TFrmPrint &owner)
    : QDialog(&owner)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("FrmPodglad"));
    setWindowTitle(tr("Podgląd wydruku"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowState(Qt::WindowMaximized);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->viewport()->installEventFilter(this);
    m_canvas = new QWidget;
    Panel2 = new QWidget(m_canvas);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->installEventFilter(this);
    Shape1 = new QWidget(Panel2);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    QPalette black = Shape1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Shape1->setPalette(black);
    Shape1->setAutoFillBackground(true);
    PaintBox1 = new QWidget(Panel2);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->installEventFilter(this);
    Shape1->stackUnder(PaintBox1);
    ScrollBox1->setWidget(m_canvas);
    layout->addWidget(ScrollBox1, 1);

    auto *panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedHeight(41);
    auto *buttons = new QHBoxLayout(panel1);
    auto *close = new QPushButton(tr("&Zamknij"), panel1);
    close->setObjectName(QStringLiteral("BitBtn1"));
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addStretch(1);
    layout->addWidget(panel1);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    // FormCreate: the page panel by the dialog's orientation.
    Panel2->resize(m_owner.Layout().Portrait ? QSize(600, 800) : QSize(800, 600));
    Panel2Resize();
    ScrollBox1Resize();
}

void TFrmPodglad::ScrollBox1Resize()
{
    const int clientWidth = ScrollBox1->viewport()->width();
    const int panelWidth = Panel2->width();
    m_canvas->resize(qMax(clientWidth, panelWidth), Panel2->height());
    Panel2->move(panelWidth < clientWidth ? (clientWidth - panelWidth) / 2 : 0, 0);
}

void TFrmPodglad::Panel2Resize()
{
    PaintBox1->setGeometry(
        Panel2->rect().adjusted(PanelBorder, PanelBorder, -PanelBorder, -PanelBorder));
    Shape1->setGeometry(PaintBox1->geometry().translated(ShadowOffset, ShadowOffset));
}

void TFrmPodglad::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_drawn) {
        m_drawn = true;
        FormShow();
    }
}

void TFrmPodglad::FormShow()
{
    const TWaitCursor wait;
    m_page = QImage(PaintBox1->size(), QImage::Format_RGB32);
    // The screen's resolution: margins and gaps in true millimetres of this screen.
    m_page.setDotsPerMeterX(qRound(PaintBox1->logicalDpiX() / 0.0254));
    m_page.setDotsPerMeterY(qRound(PaintBox1->logicalDpiY() / 0.0254));
    m_page.fill(Qt::white);
    QPainter painter(&m_page);
    const QRect area = m_page.rect();
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    const QList<TPolarGraph *> charts = m_owner.DestCharts();
    try {
        TPrintPage::Paint(painter, charts, m_owner.Layout(), area, int(charts.size()));
    } catch (const std::exception &e) {
        // The page stays as far as it was drawn; the charts are back in their screen colours.
        ShowMessageLater(
            this, QMessageBox::Critical,
            tr("Nie można narysować podglądu wydruku: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    PaintBox1->update();
}

bool TFrmPodglad::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Resize) {
        ScrollBox1Resize();
    } else if (watched == Panel2 && event->type() == QEvent::Resize) {
        Panel2Resize();
    } else if (watched == PaintBox1 && event->type() == QEvent::Paint) {
        QPainter painter(PaintBox1);
        if (!m_page.isNull())
            painter.drawImage(0, 0, m_page);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
