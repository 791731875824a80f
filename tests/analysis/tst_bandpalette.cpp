// The band series' colours: the bands of one broadband measurement differ from each other
// and from every series already in the chart (the level series included), well apart while
// the palette allows; a colour repeats only once the chart holds every palette colour.
#include "analysis/BandPalette.h"
#include "analysis/BroadbandAnalysis.h"
#include "analysis/BroadbandOptions.h"
#include "analysis/DirectivityResult.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "measurement/MeasurementProposal.h"

#include <QTest>

namespace {

// Three frames of a flat response: enough for the band series to be made.
TDirectivityResult FlatResult(const QString &name)
{
    TDirectivityResult result;
    result.Name = name;
    result.SampleRate = 48000;
    result.FrameAnglesDeg = { -10.0, 0.0, 10.0 };
    result.GateLength = 8;
    result.Responses.assign(size_t(result.FrameCount() * result.GateLength), 0.0f);
    for (int f = 0; f < result.FrameCount(); ++f)
        result.Responses[size_t(f * result.GateLength)] = 1.0f;
    return result;
}

TBroadbandOptions Bands(int count)
{
    TBroadbandOptions options;
    options.BandsHz.clear();
    for (int b = 0; b < count; ++b)
        options.BandsHz.push_back(250.0 * (b + 1));
    return options;
}

// A level series as a measurement adds it: the next number, the proposal's colour.
void AddLevelSeries(TPolarGraph &chart, quint32 color)
{
    TSeries *series = chart.GetSeries(chart.MaxSeriesNumber() + 1);
    series->SetColor(color);
    series->Add(0.0, 0.0);
}

} // namespace

class TestBandPalette : public QObject
{
    Q_OBJECT

private slots:
    void bandColours_data();
    void bandColours();
};

void TestBandPalette::bandColours_data()
{
    using P = TMeasurementProposal;
    QTest::addColumn<QList<quint32>>("before"); // series colours already in the chart
    QTest::addColumn<int>("earlierBands"); // band series after each of them
    QTest::addColumn<int>("bands"); // of the new measurement, after its level series
    QTest::addColumn<bool>("apart"); // well apart from every other colour, not only unequal
    QTest::addColumn<bool>("fromExisting"); // none is a colour the chart already had

    QTest::newRow("first measurement, 16 bands") << QList<quint32> {} << 0 << 16 << true << true;
    QTest::newRow("third measurement beside two broadband ones")
        << QList<quint32> { P::SeriesColors[0], P::SeriesColors[1] } << 4 << 8 << true << true;
    QTest::newRow("beside all eight level colours")
        << QList<quint32>(P::SeriesColors.begin(), P::SeriesColors.end()) << 0 << 12 << true
        << true;
    QTest::newRow("four palette colours left")
        << QList<quint32>(TBandPalette::Colors.begin(), TBandPalette::Colors.begin() + 15) << 0 << 4
        << false << true;
    QTest::newRow("more series than palette colours")
        << QList<quint32>(TBandPalette::Colors.begin(), TBandPalette::Colors.end()) << 0 << 6
        << false << false;
}

void TestBandPalette::bandColours()
{
    QFETCH(QList<quint32>, before);
    QFETCH(int, earlierBands);
    QFETCH(int, bands);
    QFETCH(bool, apart);
    QFETCH(bool, fromExisting);

    TPolarGraph chart;
    for (quint32 color : before) {
        AddLevelSeries(chart, color);
        if (earlierBands > 0)
            TBroadbandAnalysis::AddBandSeries(chart, FlatResult(QStringLiteral("Wcześniej")),
                                              Bands(earlierBands));
    }
    AddLevelSeries(chart, TMeasurementProposal::For(chart).Color);
    QList<quint32> existing;
    for (const TSeries *series : chart.SeriesList())
        existing << series->Color();

    const std::vector<TSeries *> added = TBroadbandAnalysis::AddBandSeries(
        chart, FlatResult(QStringLiteral("Nowy")), Bands(bands));
    QCOMPARE(int(added.size()), bands);
    for (size_t b = 0; b < added.size(); ++b) {
        const quint32 color = added[b]->Color();
        const QString band = added[b]->Name;
        for (size_t o = 0; o < b; ++o) {
            QVERIFY2(color != added[o]->Color(), qPrintable(band + " = " + added[o]->Name));
            if (apart)
                QVERIFY2(TBandPalette::Distance(color, added[o]->Color())
                             >= TBandPalette::NearDistance,
                         qPrintable(band + " near " + added[o]->Name));
        }
        for (quint32 other : existing) {
            if (fromExisting)
                QVERIFY2(color != other, qPrintable(band + " = " + QString::number(other, 16)));
            if (apart)
                QVERIFY2(TBandPalette::Distance(color, other) >= TBandPalette::NearDistance,
                         qPrintable(band + " near " + QString::number(other, 16)));
        }
    }
}

QTEST_GUILESS_MAIN(TestBandPalette)
#include "tst_bandpalette.moc"
