#include "analysis/ui/FrmMapa.h"

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

// Paints the window's map; the map belongs to the window.
class TMapView : public QWidget
{
public:
    TMapView(const TDirectivityMap &map, QWidget *parent)
        : QWidget(parent)
        , m_map(map)
    {
        setObjectName(QStringLiteral("MapView"));
        setMinimumSize(240, 160);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_map.Render(painter, rect());
    }

private:
    const TDirectivityMap &m_map;
};

} // namespace

TFrmMapa::TFrmMapa(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmMapa"));
    setWindowTitle(tr("Mapa kierunkowości"));
    resize(720, 480);

    m_empty = new QLabel(tr("Brak pomiaru szerokopasmowego w aktywnym dokumencie."), this);
    m_empty->setObjectName(QStringLiteral("lbBrak"));
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    m_view = new TMapView(m_map, this);

    m_pages = new QStackedLayout;
    m_pages->addWidget(m_empty);
    m_pages->addWidget(m_view);

    m_export = new QPushButton(tr("Eksportuj…"), this);
    m_export->setObjectName(QStringLiteral("btEksportuj"));
    connect(m_export, &QPushButton::clicked, this, &TFrmMapa::ExportMap);

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

TFrmMapa::~TFrmMapa() = default;

void TFrmMapa::SetChart(TPolarGraph *chart)
{
    m_chart = chart;
    Reload();
}

bool TFrmMapa::HasMap() const
{
    return m_result != nullptr;
}

void TFrmMapa::Reload()
{
    const TBroadbandStore::TEntry entry
        = m_chart ? TBroadbandStore::Instance().Get(m_chart) : TBroadbandStore::TEntry {};
    if (entry.Result != m_result || entry.Options.Smoothing != m_smoothing) {
        m_result = entry.Result;
        m_smoothing = entry.Options.Smoothing;
        if (m_result) {
            // The grid takes a moment for a long gate: say so with the cursor.
            const TBusyCursor busy;
            m_map.SetGrid(m_result->Grid(1.0, 24, entry.Options.Smoothing));
            m_map.SetTitle(m_result->Name.isEmpty() ? m_chart->Title() : m_result->Name);
        } else {
            m_map = TDirectivityMap();
        }
    }
    m_pages->setCurrentWidget(m_result ? m_view : static_cast<QWidget *>(m_empty));
    m_export->setEnabled(m_result != nullptr);
    m_view->update();
}

bool TFrmMapa::ExportMap()
{
    if (!m_result)
        return false;
    const QString fileName = AskPictureFileName(this, m_map.Title());
    if (fileName.isEmpty())
        return false;
    QString error;
    if (!TDirectivityMap::Export(m_map, fileName, ExportSize, &error)) {
        ShowMessage(this, QMessageBox::Critical, error);
        return false;
    }
    return true;
}
