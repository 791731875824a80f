#include "analysis/ui/FrmMapa.h"

#include "analysis/BroadbandStore.h"
#include "chart/ChartExporter.h"
#include "chart/PolarGraph.h"
#include "document/ui/DocumentFiles.h"
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

// The wait cursor for as long as it lives.
class TBusyCursor
{
public:
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;
};

// The dialog's filters in the order of their formats.
constexpr TChartExporter::Format FilterFormats[]
    = { TChartExporter::Format::Png, TChartExporter::Format::Svg, TChartExporter::Format::Pdf };

} // namespace

TFrmMapa::TFrmMapa(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("FrmMapa"));
    setWindowTitle(QStringLiteral("Mapa kierunkowości"));
    resize(720, 480);

    m_empty
        = new QLabel(QStringLiteral("Brak pomiaru szerokopasmowego w aktywnym dokumencie."), this);
    m_empty->setObjectName(QStringLiteral("lbBrak"));
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    m_view = new TMapView(m_map, this);

    m_pages = new QStackedLayout;
    m_pages->addWidget(m_empty);
    m_pages->addWidget(m_view);

    m_export = new QPushButton(QStringLiteral("Eksportuj…"), this);
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
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Save;
    request.FileName = m_map.Title();
    request.Filters = { QStringLiteral("PNG (*.png)"), QStringLiteral("SVG (*.svg)"),
                        QStringLiteral("PDF (*.pdf)") };
    // The filter decides the extension; the question about replacing a file is asked
    // below about the name really written.
    request.ConfirmOverwrite = false;
    if (!AskFileName(this, request))
        return false;
    const int index = std::clamp(request.FilterIndex, 0, int(std::size(FilterFormats)) - 1);
    const QString fileName = TChartExporter::ApplyExtension(request.FileName, FilterFormats[index]);
    if (QFileInfo::exists(fileName) && !TDocumentFiles::ConfirmOverwrite(this, fileName))
        return false;
    QString error;
    if (!TDirectivityMap::Export(m_map, fileName, ExportSize, &error)) {
        ShowMessage(this, QMessageBox::Critical, error);
        return false;
    }
    return true;
}
