#include "measurement/ui/FrmPomiar.h"

#include "controls/ui/ServiceKeyWatcher.h"
#include "document/ui/Prompts.h"
#include "measurement/MeasurementRun.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TFrmPomiar::TFrmPomiar(TMeasurementRig &rig, TClock &clock, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
    , m_run(std::make_unique<TMeasurementRun>(rig, clock))
{
    setWindowTitle(tr("Pomiar"));
    setModal(true);

    // The design caption " Pomiar " is replaced at once by the empty heading of creation.
    m_GroupBox1 = new QGroupBox(this);
    QFont bold = m_GroupBox1->font();
    bold.setBold(true);
    m_GroupBox1->setFont(bold);
    auto *group = new QVBoxLayout(m_GroupBox1);
    auto *statusRow = new QHBoxLayout;
    m_lblStatusTyp = new QLabel(tr("Status:"), m_GroupBox1);
    m_lblStatus = new QLabel(m_GroupBox1);
    m_lblStatus->setMinimumWidth(m_lblStatus->fontMetrics().horizontalAdvance(
        TMeasurementRun::tr(qUtf8Printable(TMeasurementRun::StatusReturning))
        + QStringLiteral("MM")));
    QFont normal = font();
    m_lblStatusTyp->setFont(normal);
    m_lblStatus->setFont(normal);
    statusRow->addWidget(m_lblStatusTyp);
    statusRow->addWidget(m_lblStatus, 1);
    group->addLayout(statusRow);
    m_ProgressBar1 = new QProgressBar(m_GroupBox1);
    m_ProgressBar1->setRange(0, 100);
    m_ProgressBar1->setValue(0);
    m_ProgressBar1->setFont(normal);
    group->addWidget(m_ProgressBar1);

    m_btnExtra = new QPushButton(QStringLiteral("+"), this);
    m_btnExtra->setFixedWidth(m_btnExtra->fontMetrics().horizontalAdvance(QStringLiteral("+++")));
    m_btnExtra->hide();
    m_BitBtn1 = new QPushButton(tr("Start"), this);
    m_BitBtn1->setDefault(true);
    m_BitBtn2 = new QPushButton(tr("Zamknij"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_btnExtra);
    buttons->addStretch(1);
    buttons->addWidget(m_BitBtn1);
    buttons->addWidget(m_BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_GroupBox1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_BitBtn1, &QPushButton::clicked, this, &TFrmPomiar::BitBtn1Click);
    connect(m_BitBtn2, &QPushButton::clicked, this, &TFrmPomiar::BitBtn2Click);
    connect(m_btnExtra, &QPushButton::clicked, this, &TFrmPomiar::btnExtraClick);
    connect(m_run.get(), &TMeasurementRun::Changed, this, &TFrmPomiar::ShowRun);
    m_run->ShowError = [this](const QString &text) {
        ShowMessage(this, QMessageBox::Critical, text);
    };
    m_run->ShowWarning = [this](const QString &text) {
        ShowMessage(this, QMessageBox::Warning, text);
    };

    new TServiceKeyWatcher(*this,
                           [this] { m_btnExtra->setVisible(!m_btnExtra->isVisibleTo(this)); });
}

TFrmPomiar::~TFrmPomiar() = default;

void TFrmPomiar::SetChart(TPolarGraph *chart)
{
    m_run->Chart = chart;
}

void TFrmPomiar::SetSeriesName(const QString &name)
{
    m_run->SeriesName = name;
}

void TFrmPomiar::SetSeriesColor(quint32 color)
{
    m_run->SeriesColor = color;
}

void TFrmPomiar::SetInternalGenerator(bool internal)
{
    m_run->InternalGenerator = internal;
}

void TFrmPomiar::SetBlockBytes(int bytes)
{
    m_run->BlockBytes = bytes;
}

void TFrmPomiar::SetBroadband(std::optional<TBroadbandOptions> options)
{
    m_run->Broadband = std::move(options);
}

void TFrmPomiar::ShowRun()
{
    // Before the first phase the heading is empty, as the window's creation left it.
    const QString heading = m_run->Heading();
    m_GroupBox1->setTitle(heading.isEmpty() ? QString() : QStringLiteral(" %1 ").arg(heading));
    m_lblStatus->setText((QStringList { m_run->Status() } + m_run->Notes()).join(u'\n'));
    m_ProgressBar1->setValue(m_run->Progress());
    m_ProgressBar1->setVisible(m_run->ProgressVisible());
    m_BitBtn1->setEnabled(m_run->StartEnabled() && !m_run->Running());
    m_btnExtra->setEnabled(!m_run->Running());
}

void TFrmPomiar::CloseIfAsked()
{
    if (m_run->CancelPending()) {
        m_closing = true;
        QDialog::reject();
    }
}

void TFrmPomiar::BitBtn1Click()
{
    m_run->Start();
    CloseIfAsked();
}

void TFrmPomiar::btnExtraClick()
{
    m_run->ComputeFromFile();
    CloseIfAsked();
}

void TFrmPomiar::BitBtn2Click()
{
    if (m_run->Close()) {
        m_closing = true;
        QDialog::reject();
    }
}

void TFrmPomiar::reject()
{
    // Esc: as "Zamknij".
    BitBtn2Click();
}

void TFrmPomiar::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    BitBtn2Click();
}
