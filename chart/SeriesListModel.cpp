#include "chart/SeriesListModel.h"

#include "chart/PolarGraph.h"

#include <QMimeData>

TSeriesListModel::TSeriesListModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

void TSeriesListModel::SetGraph(TPolarGraph *graph)
{
    if (m_graph)
        disconnect(m_graph, nullptr, this, nullptr);
    m_graph = graph;
    if (graph) {
        connect(graph, &TPolarGraph::SeriesListChanged, this, &TSeriesListModel::Refill);
        connect(graph, &QObject::destroyed, this, &TSeriesListModel::GraphDestroyed);
    }
    Refill();
}

void TSeriesListModel::Refill()
{
    beginResetModel();
    m_numbers.clear();
    if (m_graph) {
        for (int n = 0; n <= m_graph->MaxSeriesNumber(); ++n) {
            if (m_graph->HasSeries(n))
                m_numbers.push_back(n);
        }
    }
    endResetModel();
}

void TSeriesListModel::GraphDestroyed()
{
    // The pointer is already null here: nothing of the chart may be touched.
    m_graph = nullptr;
    Refill();
}

int TSeriesListModel::NumberAt(int row) const
{
    return row >= 0 && row < int(m_numbers.size()) ? m_numbers[size_t(row)] : -1;
}

TSeries *TSeriesListModel::SeriesAt(int row) const
{
    const int number = NumberAt(row);
    return m_graph && number >= 0 ? m_graph->SeriesByNumber(number) : nullptr;
}

int TSeriesListModel::RowOfNumber(int number) const
{
    for (size_t row = 0; row < m_numbers.size(); ++row) {
        if (m_numbers[row] == number)
            return int(row);
    }
    return -1;
}

int TSeriesListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_numbers.size());
}

QVariant TSeriesListModel::data(const QModelIndex &index, int role) const
{
    const TSeries *series = SeriesAt(index.row());
    if (!series)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return series->Name;
    case ColorRole:
        return QVariant::fromValue(series->Color());
    case NumberRole:
        return series->Number();
    default:
        return QVariant();
    }
}

Qt::ItemFlags TSeriesListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList TSeriesListModel::mimeTypes() const
{
    return { MimeType };
}

QMimeData *TSeriesListModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty() || NumberAt(indexes.first().row()) < 0)
        return nullptr;
    auto *mime = new QMimeData;
    mime->setData(MimeType, QByteArray::number(NumberAt(indexes.first().row())));
    return mime;
}
