#pragma once

#include "analysis/SpinoramaChart.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QStackedLayout;
class TDirectivityResult;
class TPolarGraph;

// "Spinorama": a non-modal tool window with the CTA-2034 curves of one chart's newest
// horizontal and newest vertical broadband measurements (from TBroadbandStore, followed as it
// changes) and "Eksportuj…" to PNG, SVG or PDF. Without both planes, or when the two turns do
// not make a spin, it says why. The chart is not owned and may go at any time. GUI thread only.
class TFrmSpinorama : public QWidget
{
    Q_OBJECT

public:
    // The picture "Eksportuj…" writes, pixels (96 per inch).
    static constexpr QSize ExportSize { 1200, 800 };

    explicit TFrmSpinorama(QWidget *parent = nullptr);
    ~TFrmSpinorama() override;

    // The chart whose spin is shown; nullptr for none.
    void SetChart(TPolarGraph *chart);
    TPolarGraph *Chart() const { return m_chart; }

    // True while a spin is shown (not the text saying why there is none).
    bool HasSpin() const;
    const TSpinoramaChart &Picture() const { return m_picture; }

    // "Eksportuj…": asks for the file (through TPrompts, so tests can answer) and writes the
    // picture; an error is shown in a message box. True when a file was written.
    bool ExportPicture();

private:
    void Reload();
    // The spin of the two results into m_picture, or the reason there is none into m_empty.
    void MakePicture(const QString &title);

    QPointer<TPolarGraph> m_chart;
    // The results and smoothing (1/N octave) m_picture was made from.
    std::shared_ptr<const TDirectivityResult> m_horizontal;
    std::shared_ptr<const TDirectivityResult> m_vertical;
    int m_smoothing = 0;
    TSpinoramaChart m_picture;
    QStackedLayout *m_pages = nullptr;
    QLabel *m_empty = nullptr;
    QWidget *m_view = nullptr;
    QPushButton *m_export = nullptr;
};
