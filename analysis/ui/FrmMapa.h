#pragma once

#include "analysis/DirectivityMap.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QStackedLayout;
class TDirectivityResult;
class TPolarGraph;

// "Mapa kierunkowości": a non-modal tool window with the directivity map of one chart's
// last broadband measurement (from TBroadbandStore, followed as it changes) and
// "Eksportuj…" to PNG, SVG or PDF. Without a measurement it says so. The chart is not owned
// and may go at any time. GUI thread only.
class TFrmMapa : public QWidget
{
    Q_OBJECT

public:
    // The picture "Eksportuj…" writes, pixels (96 per inch).
    static constexpr QSize ExportSize { 1200, 800 };

    explicit TFrmMapa(QWidget *parent = nullptr);
    ~TFrmMapa() override;

    // The chart whose map is shown; nullptr for none.
    void SetChart(TPolarGraph *chart);
    TPolarGraph *Chart() const { return m_chart; }

    // True while a map is shown (not the "no measurement" text).
    bool HasMap() const;
    const TDirectivityMap &Map() const { return m_map; }

    // "Eksportuj…": asks for the file (through TPrompts, so tests can answer) and writes the
    // map; an error is shown in a message box. True when a file was written.
    bool ExportMap();

private:
    void Reload();

    QPointer<TPolarGraph> m_chart;
    std::shared_ptr<const TDirectivityResult> m_result; // the one m_map was made from
    int m_smoothing = 0; // and its smoothing, 1/N octave
    TDirectivityMap m_map;
    QStackedLayout *m_pages = nullptr;
    QLabel *m_empty = nullptr;
    QWidget *m_view = nullptr;
    QPushButton *m_export = nullptr;
};
