#include "printing/ui/FrmPrint.h"

#include "chart/PolarGraph.h"
#include "document/ui/Prompts.h"
#include "printing/ui/FrmPodglad.h"
#include "printing/ui/FrmPrinting.h"
#include "printing/ui/PrintJob.h"
#include "printing/ui/PrintList.h"

#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace {

constexpr int ChartRole = Qt::UserRole;

TPolarGraph *ChartOf(const QListWidgetItem *item)
{
    return item ? qobject_cast<TPolarGraph *>(item->data(ChartRole).value<QObject *>()) : nullptr;
}

QList<TPolarGraph *> ChartsOf(const QListWidget &list)
{
    QList<TPolarGraph *> charts;
    for (int i = 0; i < list.count(); ++i)
        charts << ChartOf(list.item(i));
    return charts;
}

void AddEntry(QListWidget &list, const TFrmPrint::TChartEntry &entry)
{
    auto *item = new QListWidgetItem(entry.Caption);
    // A caption is often a long path: the list cuts it in the middle, the tip shows it whole.
    item->setToolTip(entry.Caption);
    item->setData(ChartRole, QVariant::fromValue(static_cast<QObject *>(entry.Chart)));
    list.addItem(item);
}

// The orientation pictures: a sheet with lines of text, upright or on its side.
QPixmap PagePicture(bool portrait)
{
    QPixmap picture(48, 48);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    const QRect sheet = portrait ? QRect(10, 4, 28, 40) : QRect(4, 10, 40, 28);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(Qt::gray);
    for (int y = sheet.top() + 5; y < sheet.bottom() - 3; y += 4)
        p.drawLine(sheet.left() + 4, y, sheet.right() - 4, y);
    return picture;
}

QToolButton *SpeedButton(QWidget *parent, const char *name, const QString &text,
                         Qt::ArrowType arrow = Qt::NoArrow)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setArrowType(arrow);
    button->setMinimumSize(25, 25);
    return button;
}

// Shows the hourglass and disables the dialog's panels for one print job, undone on every
// path out.
class TBusyScope
{
public:
    explicit TBusyScope(std::initializer_list<QWidget *> panels)
        : m_panels(panels)
    {
        for (QWidget *panel : m_panels)
            panel->setEnabled(false);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TBusyScope()
    {
        QGuiApplication::restoreOverrideCursor();
        for (QWidget *panel : m_panels)
            panel->setEnabled(true);
    }
    TBusyScope(const TBusyScope &) = delete;
    TBusyScope &operator=(const TBusyScope &) = delete;

private:
    QList<QWidget *> m_panels;
};

} // namespace

TFrmPrint::TFrmPrint(const QList<TChartEntry> &available, QWidget *parent)
    : QDialog(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("FrmPrint"));
    setWindowTitle(tr("Drukuj"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    pnlMain = new QWidget(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    auto *main = new QVBoxLayout(pnlMain);
    main->setContentsMargins(6, 6, 6, 0);
    main->addWidget(CreateExtra());
    main->addWidget(CreateSimple());
    layout->addWidget(pnlMain);
    layout->addWidget(CreateButtons());
    FormCreate(available);
}

TFrmPrint::~TFrmPrint() = default;

std::function<int(QDialog &)> &TFrmPrint::Exec()
{
    static std::function<int(QDialog &)> exec = [](QDialog &dialog) {
        return dialog.exec();
    };
    return exec;
}

QWidget *TFrmPrint::CreateExtra()
{
    pnlExtra = new QWidget(pnlMain);
    pnlExtra->setObjectName(QStringLiteral("pnlExtra"));
    auto *row = new QHBoxLayout(pnlExtra);
    row->setContentsMargins(0, 0, 0, 0);

    auto *group = new QGroupBox(tr(" Wybór wykresów "), pnlExtra);
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto *grid = new QGridLayout(group);
    auto *label2 = new QLabel(tr("Dostępne wykresy"), group);
    label2->setObjectName(QStringLiteral("Label2"));
    auto *label1 = new QLabel(tr("Wykresy do druku"), group);
    label1->setObjectName(QStringLiteral("Label1"));
    lstSrc = new TPrintList(group);
    lstSrc->setObjectName(QStringLiteral("lstSrc"));
    lstDest = new TPrintList(group);
    lstDest->setObjectName(QStringLiteral("lstDest"));
    for (TPrintList *list : { lstSrc, lstDest })
        list->setFixedSize(130, 110);

    auto *moves = new QVBoxLayout;
    QToolButton *add = SpeedButton(group, "SpeedButton1", QStringLiteral(">"));
    QToolButton *remove = SpeedButton(group, "SpeedButton2", QStringLiteral("<"));
    QToolButton *removeAll = SpeedButton(group, "SpeedButton3", QStringLiteral("<<"));
    moves->addStretch(1);
    for (QToolButton *button : { add, remove, removeAll })
        moves->addWidget(button);
    moves->addStretch(1);
    auto *order = new QVBoxLayout;
    QToolButton *up = SpeedButton(group, "SpeedButton4", QString(), Qt::UpArrow);
    QToolButton *down = SpeedButton(group, "SpeedButton5", QString(), Qt::DownArrow);
    order->addStretch(1);
    order->addWidget(up);
    order->addWidget(down);
    order->addStretch(1);

    grid->addWidget(label2, 0, 0);
    grid->addWidget(lstSrc, 1, 0);
    grid->addLayout(moves, 1, 1);
    grid->addWidget(label1, 0, 2);
    grid->addWidget(lstDest, 1, 2);
    grid->addLayout(order, 1, 3);
    row->addWidget(group);

    auto *sample = new QVBoxLayout;
    auto *label3 = new QLabel(tr("Przykład"), pnlExtra);
    label3->setObjectName(QStringLiteral("Label3"));
    auto *sketches = new QWidget(pnlExtra);
    sketches->setFixedSize(130, 130);
    auto *sketchLayout = new QGridLayout(sketches);
    sketchLayout->setContentsMargins(0, 0, 0, 0);
    pbPion = new QWidget(sketches);
    pbPion->setObjectName(QStringLiteral("pbPion"));
    pbPion->setFixedSize(90, 130);
    pbPoziom = new QWidget(sketches);
    pbPoziom->setObjectName(QStringLiteral("pbPoziom"));
    pbPoziom->setFixedSize(130, 90);
    for (QWidget *area : { pbPion, pbPoziom }) {
        sketchLayout->addWidget(area, 0, 0, Qt::AlignCenter);
        area->installEventFilter(this);
    }
    sample->addWidget(label3);
    sample->addWidget(sketches);
    sample->addStretch(1);
    row->addLayout(sample);

    connect(add, &QToolButton::clicked, this, &TFrmPrint::SpeedButton1Click);
    connect(remove, &QToolButton::clicked, this, &TFrmPrint::SpeedButton2Click);
    connect(removeAll, &QToolButton::clicked, this, &TFrmPrint::SpeedButton3Click);
    connect(up, &QToolButton::clicked, this, &TFrmPrint::SpeedButton4Click);
    connect(down, &QToolButton::clicked, this, &TFrmPrint::SpeedButton5Click);
    connect(lstSrc, &QListWidget::itemDoubleClicked, this, &TFrmPrint::SpeedButton1Click);
    connect(lstDest, &QListWidget::itemDoubleClicked, this, &TFrmPrint::SpeedButton2Click);
    for (TPrintList *list : { lstSrc, lstDest })
        connect(list, &TPrintList::Dropped, this,
                [this, list](QListWidget *source, const QPoint &pos) {
                    ListDragDrop(list, source, pos);
                });
    return pnlExtra;
}

QDoubleSpinBox *TFrmPrint::AddMargin(QWidget *group, const char *label, const char *edit,
                                     const QString &caption)
{
    auto *text = new QLabel(caption, group);
    text->setObjectName(QLatin1String(label));
    auto *field = new QDoubleSpinBox(group);
    field->setObjectName(QLatin1String(edit));
    field->setDecimals(1);
    field->setRange(0, 100);
    field->setValue(TPrintLayout::DefaultMargin);
    text->setBuddy(field);
    return field;
}

QWidget *TFrmPrint::CreateSimple()
{
    pnlSimple = new QWidget(pnlMain);
    pnlSimple->setObjectName(QStringLiteral("pnlSimple"));
    auto *row = new QHBoxLayout(pnlSimple);
    row->setContentsMargins(0, 0, 0, 0);

    auto *margins = new QGroupBox(tr(" Marginesy "), pnlSimple);
    margins->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(margins);
    edLewy = AddMargin(margins, "Label4", "edLewy", tr("&Lewy"));
    edGorny = AddMargin(margins, "Label5", "edGorny", tr("&Górny"));
    edPrawy = AddMargin(margins, "Label6", "edPrawy", tr("&Prawy"));
    edDolny = AddMargin(margins, "Label7", "edDolny", tr("&Dolny"));
    const QList<QDoubleSpinBox *> fields { edLewy, edGorny, edPrawy, edDolny };
    for (int i = 0; i < fields.size(); ++i) {
        QWidget *label = margins->findChild<QLabel *>(QStringLiteral("Label%1").arg(4 + i));
        grid->addWidget(label, i / 2, (i % 2) * 2);
        grid->addWidget(fields.at(i), i / 2, (i % 2) * 2 + 1);
    }
    row->addWidget(margins, 1);

    auto *orientation = new QGroupBox(tr(" Orientacja "), pnlSimple);
    orientation->setObjectName(QStringLiteral("gbOrientacja"));
    auto *line = new QHBoxLayout(orientation);
    imgPortret = new QLabel(orientation);
    imgPortret->setObjectName(QStringLiteral("imgPortret"));
    imgPortret->setPixmap(PagePicture(true));
    imgPejzaz = new QLabel(orientation);
    imgPejzaz->setObjectName(QStringLiteral("imgPejzaz"));
    imgPejzaz->setPixmap(PagePicture(false));
    auto *pictures = new QGridLayout;
    for (QLabel *picture : { imgPortret, imgPejzaz }) {
        picture->setFixedSize(48, 48);
        pictures->addWidget(picture, 0, 0);
    }
    cbPortret = new QRadioButton(tr("Pio&nowa"), orientation);
    cbPortret->setObjectName(QStringLiteral("cbPortret"));
    cbPejzaz = new QRadioButton(tr("Po&zioma"), orientation);
    cbPejzaz->setObjectName(QStringLiteral("cbPejzaz"));
    auto *choices = new QVBoxLayout;
    choices->addWidget(cbPortret);
    choices->addWidget(cbPejzaz);
    line->addLayout(pictures);
    line->addLayout(choices);
    row->addWidget(orientation);

    connect(cbPortret, &QRadioButton::toggled, this, &TFrmPrint::cbPortretClick);
    return pnlSimple;
}

QWidget *TFrmPrint::CreateButtons()
{
    pnlButtony = new QWidget(this);
    pnlButtony->setObjectName(QStringLiteral("pnlButtony"));
    auto *row = new QHBoxLayout(pnlButtony);
    row->setContentsMargins(6, 6, 6, 6);
    auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, pnlButtony);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *preview = button("BitBtn3", tr("Podgląd wydruku"));
    QPushButton *setup = button("BitBtn4", tr("&Ustawienia wydruku"));
    QPushButton *print = button("BitBtn1", tr("&Drukuj"));
    QPushButton *cancel = button("BitBtn2", tr("&Anuluj"));
    print->setDefault(true);
    row->addWidget(preview);
    row->addWidget(setup);
    row->addStretch(1);
    row->addWidget(print);
    row->addWidget(cancel);
    connect(preview, &QPushButton::clicked, this, &TFrmPrint::BitBtn3Click);
    connect(setup, &QPushButton::clicked, this, &TFrmPrint::BitBtn4Click);
    connect(print, &QPushButton::clicked, this, &TFrmPrint::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return pnlButtony;
}

void TFrmPrint::FormCreate(const QList<TChartEntry> &available)
{
    lstSrc->clear();
    lstDest->clear();
    for (const TChartEntry &entry : available)
        AddEntry(*lstSrc, entry);
    cbPortret->setChecked(true);
    cbPortretClick();
    m_layoutCount = 0;
}

void TFrmPrint::SetSingle(const TChartEntry &active)
{
    m_single = true;
    pnlExtra->hide();
    lstDest->clear();
    AddEntry(*lstDest, active);
    m_layoutCount = 1;
}

TPrintLayout TFrmPrint::Layout() const
{
    TPrintLayout layout;
    layout.Left = TPrintLayout::WholeMillimetres(edLewy->value());
    layout.Top = TPrintLayout::WholeMillimetres(edGorny->value());
    layout.Right = TPrintLayout::WholeMillimetres(edPrawy->value());
    layout.Bottom = TPrintLayout::WholeMillimetres(edDolny->value());
    layout.Portrait = cbPortret->isChecked();
    return layout;
}

QList<TPolarGraph *> TFrmPrint::DestCharts() const
{
    return ChartsOf(*lstDest);
}

QList<TPolarGraph *> TFrmPrint::SrcCharts() const
{
    return ChartsOf(*lstSrc);
}

// --- list operations ---

void TFrmPrint::SpeedButton1Click()
{
    const int row = lstSrc->currentRow();
    if (row < 0 || lstDest->count() >= TPrintLayout::MaxCharts)
        return;
    const bool focused = lstSrc->hasFocus();
    lstDest->addItem(lstSrc->takeItem(row));
    lstSrc->setCurrentRow(focused && lstSrc->count() > 0 ? qMin(row, lstSrc->count() - 1) : -1);
    RepaintSketch();
}

void TFrmPrint::SpeedButton2Click()
{
    const int row = lstDest->currentRow();
    if (row < 0)
        return;
    const bool destFocused = lstDest->hasFocus();
    const bool srcFocused = lstSrc->hasFocus();
    lstSrc->addItem(lstDest->takeItem(row));
    if (destFocused) {
        lstDest->setCurrentRow(lstDest->count() > 0 ? qMin(row, lstDest->count() - 1) : -1);
    } else {
        lstDest->setCurrentRow(-1);
        if (srcFocused)
            lstSrc->setCurrentRow(lstSrc->count() - 1);
    }
    RepaintSketch();
}

void TFrmPrint::SpeedButton3Click()
{
    // From the last to the first, so they arrive in lstSrc in reverse order.
    while (lstDest->count() > 0)
        lstSrc->addItem(lstDest->takeItem(lstDest->count() - 1));
    lstSrc->setFocus();
    RepaintSketch();
}

void TFrmPrint::SpeedButton4Click()
{
    const int row = lstDest->currentRow();
    if (row <= 0)
        return;
    lstDest->insertItem(row - 1, lstDest->takeItem(row));
    lstDest->setCurrentRow(row - 1);
}

void TFrmPrint::SpeedButton5Click()
{
    const int row = lstDest->currentRow();
    if (row < 0 || row >= lstDest->count() - 1)
        return;
    lstDest->insertItem(row + 1, lstDest->takeItem(row));
    lstDest->setCurrentRow(row + 1);
}

void TFrmPrint::ListDragDrop(QListWidget *target, QListWidget *source, const QPoint &pos)
{
    if (target == lstSrc && source == lstDest) {
        SpeedButton2Click();
        return;
    }
    if (target != lstDest || (source != lstSrc && source != lstDest))
        return;
    const int from = source->currentRow();
    if (from < 0)
        return;
    const int under = lstDest->indexAt(pos).row();
    if (source == lstSrc) {
        if (lstDest->count() >= TPrintLayout::MaxCharts)
            return;
        const int at = under < 0 ? lstDest->count() : under;
        lstDest->insertItem(at, lstSrc->takeItem(from));
        lstSrc->setCurrentRow(-1);
        lstDest->setCurrentRow(at);
        RepaintSketch();
        return;
    }
    const int to = under < 0 ? lstDest->count() - 1 : under;
    lstDest->insertItem(to, lstDest->takeItem(from));
    lstDest->setCurrentRow(to);
}

// --- orientation and sketch ---

void TFrmPrint::cbPortretClick()
{
    for (QWidget *w : { static_cast<QWidget *>(imgPortret), static_cast<QWidget *>(imgPejzaz),
                        pbPion, pbPoziom })
        w->hide();
    if (cbPortret->isChecked()) {
        imgPortret->show();
        pbPion->show();
    } else {
        cbPejzaz->setChecked(true);
        imgPejzaz->show();
        pbPoziom->show();
    }
}

QWidget *TFrmPrint::VisibleSketch() const
{
    return cbPortret->isChecked() ? pbPion : pbPoziom;
}

void TFrmPrint::RepaintSketch()
{
    VisibleSketch()->update();
}

bool TFrmPrint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && (watched == pbPion || watched == pbPoziom)) {
        pbPionPaint(static_cast<QWidget *>(watched));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmPrint::pbPionPaint(QWidget *area)
{
    m_layoutCount = lstDest->count();
    QPainter p(area);
    const QRect page = area->rect();
    const QRect outline = page.adjusted(0, 0, -1, -1);
    p.setPen(QColor(128, 128, 128));
    if (m_layoutCount == 0) {
        p.setBrush(palette().color(QPalette::Button));
        p.drawRect(outline);
        return;
    }
    p.setBrush(Qt::white);
    p.drawRect(outline);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    const TPrintLayout layout = Layout();
    const QFontMetrics fm(p.font(), area);
    for (int n = 1; n <= m_layoutCount; ++n) {
        const QRect cell = layout.LayoutCell(area, n, true, page, m_layoutCount);
        p.drawRect(cell.adjusted(0, 0, -1, -1));
        const QString number = QString::number(n);
        p.drawText(QPoint(cell.left() + (cell.width() - fm.horizontalAdvance(number)) / 2,
                          cell.top() + (cell.height() - fm.height()) / 2 + fm.ascent()),
                   number);
    }
}

// --- buttons ---

void TFrmPrint::BitBtn1Click()
{
    if (lstDest->count() > 0)
        PrintSheet();
    accept();
}

void TFrmPrint::PrintSheet()
{
    QString error;
    bool printed = false;
    {
        TFrmPrinting progress(this);
        progress.SetText(tr("Drukowanie na %1").arg(TPrintJob::TargetName(*m_printer)));
        progress.ShowNow();
        const TBusyScope busy { pnlMain, pnlButtony };
        try {
            printed = TPrintJob::Print(*m_printer, DestCharts(), Layout(), &error);
        } catch (const std::exception &e) {
            error = tr("Drukowanie nie powiodło się: %1").arg(QString::fromLocal8Bit(e.what()));
        }
    }
    if (!printed)
        ShowMessage(this, QMessageBox::Critical, error);
}

void TFrmPrint::BitBtn3Click()
{
    TFrmPodglad preview(*this);
    Exec()(preview);
}

void TFrmPrint::BitBtn4Click()
{
    QPrintDialog dialog(m_printer.get(), this);
    Exec()(dialog);
}
