#include "chart/PolarGraph.h"
#include "chart/SeriesEditorColors.h"
#include "chart/SeriesListModel.h"

#include <QSet>
#include <QtTest>

class TestSeriesListModel : public QObject
{
    Q_OBJECT

private slots:
    void listsExistingSeriesInNumberOrder();
    void refillsWhenSeriesComeAndGo();
    void editorColours();
};

namespace {

QStringList Names(const TSeriesListModel &model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names.append(model.index(row).data().toString());
    return names;
}

} // namespace

void TestSeriesListModel::listsExistingSeriesInNumberOrder()
{
    TPolarGraph graph;
    for (int n : { 5, 2, 7, 3 })
        graph.GetSeries(n)->Name = QStringLiteral("S%1").arg(n);
    graph.DeleteSeries(3);
    graph.GetSeries(7)->SetColor(0x00FF00);
    TSeriesListModel model;
    model.SetGraph(&graph);
    QCOMPARE(Names(model), QStringList({ "S2", "S5", "S7" }));
    QCOMPARE(model.NumberAt(1), 5);
    QCOMPARE(model.RowOfNumber(7), 2);
    QCOMPARE(model.RowOfNumber(3), -1);
    QCOMPARE(model.index(2).data(TSeriesListModel::ColorRole).value<quint32>(), 0x00FF00u);
    // A direct rename shows without a refill.
    graph.GetSeries(2)->Name = QStringLiteral("nowa");
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("nowa"));
}

void TestSeriesListModel::refillsWhenSeriesComeAndGo()
{
    TPolarGraph graph;
    graph.GetSeries(0);
    graph.GetSeries(1);
    TSeriesListModel model;
    model.SetGraph(&graph);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    graph.DeleteSeries(0);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.SeriesAt(0), graph.SeriesByNumber(1));

    graph.GetSeries(graph.MaxSeriesNumber() + 1); // as a measurement adds its series
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.NumberAt(1), 2);

    graph.ClearSeries();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.SeriesAt(0), nullptr);
}

void TestSeriesListModel::editorColours()
{
    const QList<TNamedColor> colors = SeriesEditorColors();
    QCOMPARE(colors.size(), 16);
    QSet<quint32> values;
    QSet<QString> names;
    for (const TNamedColor &c : colors) {
        values.insert(c.Color);
        names.insert(c.Name);
    }
    QCOMPARE(values.size(), 16);
    QCOMPARE(names.size(), 16);
    // Down the first column from black, then the second from red (the default series colour).
    QCOMPARE(colors.first().Name, QStringLiteral("Czarny"));
    QCOMPARE(colors.first().Color, 0u);
    QCOMPARE(colors.at(8).Name, QStringLiteral("Czerwony"));
    QCOMPARE(colors.at(8).Color, 255u); // the default colour of a new series
    TPolarGraph graph;
    QCOMPARE(graph.GetSeries(0)->Color(), colors.at(8).Color);
    QCOMPARE(colors.at(1).Name, QStringLiteral("Wiśniowy"));
    QCOMPARE(colors.at(1).Color, 0x000080u); // 128, 0, 0 as 0x00BBGGRR
    QCOMPARE(colors.last().Name, QStringLiteral("Srebrny"));
}

QTEST_GUILESS_MAIN(TestSeriesListModel)
#include "tst_SeriesListModel.moc"
