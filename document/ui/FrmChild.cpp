#include "document/ui/FrmChild.h"

#include "app/Settings.h"
#include "chart/PolarGraph.h"
#include "chart/ui/PolarGraphView.h"
#include "document/OvkFile.h"
#include "document/ui/DocumentHost.h"
#include "document/ui/Prompts.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QVBoxLayout>

TFrmChild::TFrmChild(TDocumentHost &host, const QString &fullPath, QWidget *parent)
    : QWidget(parent)
    , m_host(host)
    , m_graph(std::make_unique<TPolarGraph>())
{
    setObjectName(QStringLiteral("FrmChild"));
    FormCreate();
    m_docFile = std::make_unique<TOvkFile>(m_graph.get(), fullPath);
    m_modified = false;
}

TFrmChild::~TFrmChild()
{
    // The chart's last notifications (its series going) must not reach this window, and
    // the view paints from the chart: it goes first.
    disconnect(m_graph.get(), nullptr, this, nullptr);
    delete m_view;
    m_view = nullptr;
}

void TFrmChild::FormCreate()
{
    QPalette shadowBackground = palette();
    shadowBackground.setColor(QPalette::Window, palette().color(QPalette::Dark));

    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setFrameShape(QFrame::NoFrame);
    m_scrollBox->setWidgetResizable(false);
    m_scrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scrollBox->setPalette(shadowBackground);
    m_scrollBox->viewport()->setPalette(shadowBackground);
    m_scrollBox->viewport()->setAutoFillBackground(true);
    m_scrollBox->viewport()->installEventFilter(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scrollBox);

    m_canvas = new QWidget;
    m_canvas->setPalette(shadowBackground);
    m_canvas->setAutoFillBackground(true);

    m_page = new QWidget(m_canvas);
    m_page->setObjectName(QStringLiteral("Panel1"));
    m_page->setPalette(shadowBackground);
    m_page->setAutoFillBackground(true);
    m_page->installEventFilter(this);

    m_shadow = new QWidget(m_page);
    m_shadow->setObjectName(QStringLiteral("Shape1"));
    QPalette black = m_shadow->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_shadow->setPalette(black);
    m_shadow->setAutoFillBackground(true);

    m_graph->setObjectName(QStringLiteral("Graph"));
    m_graph->ApplyDocumentDefaults();
    m_view = new TPolarGraphView(*m_graph, m_page);
    m_view->setObjectName(QStringLiteral("GraphView"));
    m_view->setAcceptDrops(true);
    m_view->setMouseTracking(true);
    m_view->installEventFilter(this);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QAction *action : m_host.ChartContextActions()) {
        if (action) {
            m_view->addAction(action);
        } else {
            auto *separator = new QAction(m_view);
            separator->setSeparator(true);
            m_view->addAction(separator);
        }
    }
    m_shadow->stackUnder(m_view);
    m_scrollBox->setWidget(m_canvas);

    connect(m_view, &TPolarGraphView::MouseMoved, this, &TFrmChild::GraphMouseMove);
    connect(m_view, &TPolarGraphView::DoubleClicked, this, &TFrmChild::GraphDblClick);
    connect(m_graph.get(), &TPolarGraph::OnChange, this, &TFrmChild::GraphChange);

    setWindowTitle(QString());
    // Out-of-range stored sizes would make pages of absurd size (the UI allows 50..200).
    SetZoom(qBound(MinZoom, Settings().DocumentSize, MaxZoom));
    m_page->move(0, 0);
    resize(640, 480);
}

void TFrmChild::SetCaption(const QString &caption)
{
    setWindowTitle(m_modified ? caption + QLatin1Char('~') : caption);
}

void TFrmChild::SetModified(bool flag)
{
    if (flag == m_modified)
        return;
    m_modified = flag;
    QString caption = windowTitle();
    if (flag)
        caption += QLatin1Char('~');
    else if (caption.endsWith(QLatin1Char('~')))
        caption.chop(1);
    setWindowTitle(caption);
}

void TFrmChild::SetZoom(int percent)
{
    if (percent == m_zoom)
        return;
    m_zoom = percent;
    Settings().DocumentSize = percent;
    m_page->resize(8 * percent, 6 * percent);
    // Also while hidden, when the resize event is held back until the window shows.
    Panel1Resize();
    CenterPage();
}

void TFrmChild::CenterPage()
{
    const int clientWidth = m_scrollBox->viewport()->width();
    const int pageWidth = m_page->width();
    const int left = pageWidth < clientWidth ? (clientWidth - pageWidth) / 2 : 0;
    m_canvas->resize(qMax(clientWidth, pageWidth), m_page->height());
    m_page->move(left, m_page->y());
}

void TFrmChild::Panel1Resize()
{
    m_view->setGeometry(PageMargin, PageMargin, m_page->width() - 2 * PageMargin,
                        m_page->height() - 2 * PageMargin);
    m_shadow->setGeometry(m_view->geometry().translated(2, 2));
}

void TFrmChild::SyncMainWindow()
{
    m_host.ShowZoom(m_zoom);
    m_host.BindSeriesEditor(m_graph.get());
}

QString TFrmChild::CursorReadout(int x, int y) const
{
    const TPolarPosition position = m_graph->PointToPolar(x, y);
    const TGrid &grid = m_graph->Grid();
    // At or beyond the outer circle, for either direction of the level scale.
    const bool outside = grid.RadiusMax() >= grid.RadiusMin()
        ? position.Level - grid.RadiusMax() >= 0
        : position.Level - grid.RadiusMax() <= 0;
    if (outside)
        return QString();
    return QString::number(position.Angle, 'f', 1) + QStringLiteral("° ")
        + QString::number(position.Level, 'f', 1) + QLatin1Char(' ') + grid.Units()
        + QLatin1Char(' ');
}

int TFrmChild::WindowStateCode() const
{
    const QWidget *frame = parentWidget() ? parentWidget() : this;
    if (frame->isMinimized())
        return 1;
    if (frame->isMaximized())
        return 2;
    return 0;
}

void TFrmChild::ApplyWindowStateCode(int state)
{
    QWidget *frame = parentWidget() ? parentWidget() : this;
    switch (state) {
    case 1:
        frame->showMinimized();
        break;
    case 2:
        frame->showMaximized();
        break;
    default:
        frame->showNormal();
        break;
    }
}

void TFrmChild::GraphMouseMove(int x, int y)
{
    if (m_host.ActiveDocument() != this)
        return;
    m_host.ShowCursorReadout(CursorReadout(x, y));
}

void TFrmChild::GraphChange()
{
    SetModified(true);
}

void TFrmChild::GraphDblClick()
{
    m_view->ShowSettings();
}

bool TFrmChild::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scrollBox->viewport() && event->type() == QEvent::Resize) {
        CenterPage();
    } else if (watched == m_page && event->type() == QEvent::Resize) {
        Panel1Resize();
    } else if (watched == m_view) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDropEvent *>(event);
            if (m_host.CanDropSeries(drag->source(), *m_graph))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            if (m_host.CanDropSeries(drop->source(), *m_graph)) {
                m_host.DropSeries(*m_graph);
                drop->acceptProposedAction();
            } else {
                drop->ignore();
            }
            return true;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmChild::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    Settings().DocWindowState = WindowStateCode();
    if (m_modified) {
        const auto answer
            = ShowMessage(this, QMessageBox::Warning, tr("Zapisać zmiany w %1?").arg(Caption()),
                          QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes
            && m_host.SaveDocument(*this) == TDocumentHost::ESaveResult::Failed
            && !m_host.ShuttingDown()) {
            // The error has been shown; closing now would lose the changes.
            event->ignore();
            return;
        }
    }
    m_closing = true;
    event->accept();
    m_host.DocumentClosed(*this);
}
