#pragma once

#include <QWidget>

#include <memory>

class QScrollArea;
class TDocumentHost;
class TOvkFile;
class TPolarGraph;
class TPolarGraphView;

// A document window: one chart (TPolarGraph, owned) laid out as a page of 8 x 6 zoom
// pixels with a 10-pixel margin and a drop shadow, centred horizontally in a scrolling
// area, and the document's file object (TOvkFile, owned). Tracks whether the document was
// modified ("~" after the caption) and shows the level and angle under the mouse in the
// host's status bar. Lives inside the host's MDI area (its QMdiSubWindow is the parent);
// the host creates it and sets caption and chart title. GUI thread only.
class TFrmChild : public QWidget
{
    Q_OBJECT

public:
    static constexpr int PageMargin = 10; // pixels around the chart inside the page
    static constexpr int MinZoom = 50; // percent, the range the size box accepts
    static constexpr int MaxZoom = 200;

    // fullPath: the document's file (for a new document, the working folder and its name).
    TFrmChild(TDocumentHost &host, const QString &fullPath, QWidget *parent = nullptr);
    ~TFrmChild() override;

    TPolarGraph &Graph() const { return *m_graph; }
    TPolarGraphView &GraphView() const { return *m_view; }
    TOvkFile &DocFile() const { return *m_docFile; }
    TDocumentHost &Host() const { return m_host; }

    // The window's caption: the document name or full path, "~" appended while modified.
    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &caption);

    bool Modified() const { return m_modified; }
    // Appends "~" to the caption when set, removes a last "~" when cleared.
    void SetModified(bool flag);

    // Page size in percent (page = 8 x zoom by 6 x zoom pixels); a change is remembered in
    // the DocumentSize setting.
    int Zoom() const { return m_zoom; }
    void SetZoom(int percent);
    // Puts the page at the horizontal centre of the scrolling area, or at 0 when wider.
    void CenterPage();
    QWidget *Page() const { return m_page; }
    QScrollArea *ScrollBox() const { return m_scrollBox; }

    // Shows this window's zoom in the host's size box and binds the series editor to it.
    void SyncMainWindow();

    // The status bar text for the mouse at (x, y) of the chart view; empty at or beyond the
    // outer grid circle.
    QString CursorReadout(int x, int y) const;

    // Window state to remember: 0 normal, 1 minimised, 2 maximised.
    int WindowStateCode() const;
    void ApplyWindowStateCode(int state);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void Panel1Resize();
    void GraphMouseMove(int x, int y);
    void GraphChange();
    void GraphDblClick();

    TDocumentHost &m_host;
    std::unique_ptr<TPolarGraph> m_graph;
    std::unique_ptr<TOvkFile> m_docFile;
    QScrollArea *m_scrollBox = nullptr;
    QWidget *m_canvas = nullptr; // the scrolling area's content, holds the page
    QWidget *m_page = nullptr;
    QWidget *m_shadow = nullptr;
    TPolarGraphView *m_view = nullptr;
    int m_zoom = 0;
    bool m_modified = false;
    bool m_closing = false;
};
