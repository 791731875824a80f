#pragma once

#include "chart/PolarGraph.h"

#include <QAbstractListModel>
#include <QPointer>

#include <vector>

class TSeries;

// The series of one chart as a list: one row per existing series in ascending Number order,
// showing its name (DisplayRole) and its colour (ColorRole, 0x00BBGGRR). Rows keep the
// series' Number, not the series: a row whose series has gone gives nullptr from SeriesAt,
// and the list refills by itself whenever the chart creates or destroys a series or is
// destroyed. Names and colours are read from the chart at each request, so a direct rename
// shows at the next repaint. Does not own the chart. GUI thread only.
class TSeriesListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int ColorRole = Qt::UserRole + 1;
    static constexpr int NumberRole = Qt::UserRole + 2;
    // MIME type of a dragged row; the data is the series' Number in decimal.
    static inline const QString MimeType = QStringLiteral("application/x-orvi-series");

    explicit TSeriesListModel(QObject *parent = nullptr);

    // Shows graph (nullptr: nothing) and refills.
    void SetGraph(TPolarGraph *graph);
    TPolarGraph *Graph() const { return m_graph; }

    // Empties the list, then adds the series for Number = 0 … MaxSeriesNumber that exist.
    // Views see one model reset.
    void Refill();

    // Number of the series in row, -1 outside the list.
    int NumberAt(int row) const;
    // The series in row, nullptr outside the list or when it no longer exists.
    TSeries *SeriesAt(int row) const;
    // Row of the series with this Number, -1 when it is not listed.
    int RowOfNumber(int number) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    void GraphDestroyed();

    QPointer<TPolarGraph> m_graph;
    std::vector<int> m_numbers;
};
