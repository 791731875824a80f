#include "analysis/ui/FrmSpinorama.h"

#include "analysis/BroadbandStore.h"
#include "analysis/ui/PictureFileDialog.h"
#include "chart/PolarGraph.h"
#include "controls/BusyCursor.h"
#include "document/ui/Prompts.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Shown without both planes (translated where it is shown).
const char *const NoMeasurements
    = QT_TRANSLATE_NOOP("TFrmSpinorama",
                        "Brak pomiarów szerokopasmowych w obu płaszczyznach "
                        "(poziomej i pionowej) w aktywnym dokumencie.");

// Paints the window's picture; the picture belongs to the window.
class TSpinView : public QWidget
{
public:
    TSpinView(const TSpinoramaChart &picture, QWidget *parent)
        : QWidget(parent)
        , m_picture(picture)
    {
        setObjectName(QStringLiteral("SpinView"));
        setMinimumSize(320, 220);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_picture.Render(painter, rect());
    }

private:
    const TSpinoramaChart &m_picture;
};

} // namespace

TFrmSpinorama::TFrmSpinorama(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmSpinorama"));
    setWindowTitle(tr("Spinorama"));
    resize(800, 560);

    m_empty = new QLabel(tr(NoMeasurements), this);
    m_empty->setObjectName(QStringLiteral("lbBrak"));
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    m_view = new TSpinView(m_picture, this);

    m_pages = new QStackedLayout;
    m_pages->addWidget(m_empty);
    m_pages->addWidget(m_view);

    m_export = new QPushButton(tr("Eksportuj…"), this);
    m_export->setObjectName(QStringLiteral("btEksportuj"));
    connect(m_export, &QPushButton::clicked, this, &TFrmSpinorama::ExportPicture);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_export);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_pages, 1);
    layout->addLayout(buttons);

    connect(&TBroadbandStore::Instance(), &TBroadbandStore::Changed, this,
            [this](TPolarGraph *chart) {
                // nullptr: some chart went, perhaps this one.
                if (!chart || chart == m_chart)
                    Reload();
            });
    Reload();
}

TFrmSpinorama::~TFrmSpinorama() = default;

void TFrmSpinorama::SetChart(TPolarGraph *chart)
{
    m_chart = chart;
    Reload();
}

bool TFrmSpinorama::HasSpin() const
{
    return m_picture.Spin() != nullptr;
}

void TFrmSpinorama::Reload()
{
    const TBroadbandStore &store = TBroadbandStore::Instance();
    const TBroadbandStore::TEntry h
        = m_chart ? store.Get(m_chart, false) : TBroadbandStore::TEntry {};
    const TBroadbandStore::TEntry v
        = m_chart ? store.Get(m_chart, true) : TBroadbandStore::TEntry {};
    if (h.Result != m_horizontal || v.Result != m_vertical || h.Options.Smoothing != m_smoothing) {
        m_horizontal = h.Result;
        m_vertical = v.Result;
        m_smoothing = h.Options.Smoothing;
        MakePicture(h.Result && !h.Result->Name.isEmpty()
                        ? h.Result->Name
                        : (m_chart ? m_chart->Title() : QString()));
    }
    m_pages->setCurrentWidget(HasSpin() ? m_view : static_cast<QWidget *>(m_empty));
    m_export->setEnabled(HasSpin());
    m_view->update();
}

void TFrmSpinorama::MakePicture(const QString &title)
{
    m_picture = TSpinoramaChart();
    m_empty->setText(tr(NoMeasurements));
    if (!m_horizontal || !m_vertical)
        return;
    QString error;
    std::optional<TSpinorama> spin;
    {
        // Two full turns at 1/20 octave take a moment: say so with the cursor.
        const TBusyCursor busy;
        spin = TSpinorama::Compute(*m_horizontal, *m_vertical, m_smoothing, &error);
    }
    if (!spin) {
        m_empty->setText(error);
        return;
    }
    m_picture.SetSpin(std::make_shared<const TSpinorama>(std::move(*spin)));
    m_picture.SetTitle(title);
}

bool TFrmSpinorama::ExportPicture()
{
    if (!HasSpin())
        return false;
    const QString fileName = AskPictureFileName(this, m_picture.Title());
    if (fileName.isEmpty())
        return false;
    QString error;
    if (!TSpinoramaChart::Export(m_picture, fileName, ExportSize, &error)) {
        ShowMessage(this, QMessageBox::Critical, error);
        return false;
    }
    return true;
}
