#include "chart/GraphSettingsFields.h"
#include "chart/PolarGraph.h"

#include <QSignalSpy>
#include <QtTest>

class TestGraphSettingsFields : public QObject
{
    Q_OBJECT

private slots:
    void gridTextRules_data();
    void gridTextRules();
    void maximumBeforeMinimumWithoutRepaint();
    void fontDescription_data();
    void fontDescription();
};

void TestGraphSettingsFields::gridTextRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("taken");
    QTest::newRow("number") << "12" << true;
    QTest::newRow("negative") << "-5" << true;
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("blanks around") << " 7 " << true;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("digits then letters") << "15x" << false;
    QTest::newRow("decimal") << "1.5" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("too large") << "99999999999" << false;
}

void TestGraphSettingsFields::gridTextRules()
{
    QFETCH(QString, text);
    QFETCH(bool, taken);
    for (int f = 0; f < TGraphSettingsFields::gfCount; ++f) {
        TPolarGraph graph;
        graph.ApplyDocumentDefaults();
        TGraphSettingsFields fields = TGraphSettingsFields::Load(graph);
        const TGraphSettingsFields before = fields;
        fields.Grid[size_t(f)] = text;
        fields.Store(graph);
        const TGraphSettingsFields after = TGraphSettingsFields::Load(graph);
        for (int g = 0; g < TGraphSettingsFields::gfCount; ++g) {
            // The edited field is taken or put back to the chart's value; the others stay.
            const QString expected = g == f && taken ? QString::number(text.trimmed().toInt())
                                                     : before.Grid[size_t(g)];
            QCOMPARE(after.Grid[size_t(g)], expected);
            QCOMPARE(fields.Grid[size_t(g)], g == f && taken ? text : expected);
        }
    }
}

void TestGraphSettingsFields::maximumBeforeMinimumWithoutRepaint()
{
    TPolarGraph graph;
    graph.ApplyDocumentDefaults(); // -40 … 10
    QList<QPair<int, int>> seen; // (max, min) at each OnChange
    connect(&graph, &TPolarGraph::OnChange, this, [&] {
        seen.append({ graph.Grid().RadiusMax(), graph.Grid().RadiusMin() });
    });
    QSignalSpy repaints(&graph, &TPolarGraph::RepaintNow);

    TGraphSettingsFields fields = TGraphSettingsFields::Load(graph);
    fields.Grid[TGraphSettingsFields::gfRadiusMax] = QStringLiteral("0");
    fields.Grid[TGraphSettingsFields::gfRadiusMin] = QStringLiteral("-50");
    fields.Store(graph);

    QCOMPARE(graph.Grid().RadiusMax(), 0);
    QCOMPARE(graph.Grid().RadiusMin(), -50);
    QVERIFY(seen.size() >= 2);
    QCOMPARE(seen.at(0), qMakePair(0, -40));
    QCOMPARE(seen.at(1), qMakePair(0, -50));
    QCOMPARE(repaints.count(), 0);
    QVERIFY(graph.AutoRepaint());
    QVERIFY(graph.NeedsRender());
}

void TestGraphSettingsFields::fontDescription_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QString>("description");
    QFont arial(QStringLiteral("Arial"), 8);
    QTest::newRow("plain") << arial << "Arial, 8";
    arial.setBold(true);
    QTest::newRow("bold") << arial << "Arial, 8, pogrubiony";
    arial.setItalic(true);
    QTest::newRow("bold italic") << arial << "Arial, 8, pogrubiony, kursywa";
    QFont chart(QStringLiteral("Times"));
    chart.setPointSizeF(8.25); // an 11-pixel font at 96 dots per inch
    chart.setItalic(true);
    QTest::newRow("fractional size") << chart << "Times, 8, kursywa";
    QFont pixels(QStringLiteral("Arial"));
    pixels.setPixelSize(16);
    QTest::newRow("pixel size") << pixels << "Arial, 12";
}

void TestGraphSettingsFields::fontDescription()
{
    QFETCH(QFont, font);
    QFETCH(QString, description);
    QCOMPARE(TGraphSettingsFields::FontDescription(font), description);
}

QTEST_GUILESS_MAIN(TestGraphSettingsFields)
#include "tst_GraphSettingsFields.moc"
