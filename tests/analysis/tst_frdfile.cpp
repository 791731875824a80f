// The per-angle frequency response files: "." decimals in any locale, nothing that is not a
// number written, the usual variants read, and file names every system accepts.

#include "analysis/FrdFile.h"

#include <QLocale>
#include <QtTest>

#include <cmath>
#include <limits>

class TestFrdFile : public QObject
{
    Q_OBJECT

private slots:
    void formatReadsBack();
    void parse_data();
    void parse();
    void fileName_data();
    void fileName();
    void signedAngle_data();
    void signedAngle();
};

void TestFrdFile::formatReadsBack()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<TFrequencyPoint> points {
        { 20.0, -3.14159, 179.996 },  { 1000.5, nan, 0.0 },
        { 1234.56789, 0.25, -45.5 },  { inf, 1.0, 0.0 },
        { 2000.0, -1.0, -nan },       { 20000.0, -60.00004, -180.0 },
        { 20050.0, -0.00001, -0.001 }
    };
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const QByteArray text = TFrdFile::Format(points);
    QLocale::setDefault(saved);
    QVERIFY2(text.contains("1234.5679 0.2500 -45.50\n"), text.constData());
    QVERIFY(!text.contains(','));
    // A phase or level that rounds to zero is written without a sign.
    QVERIFY2(text.endsWith("20050.0000 0.0000 0.00\n"), text.constData());

    const std::optional<std::vector<TFrequencyPoint>> back = TFrdFile::Parse(text);
    QVERIFY(back);
    const std::vector<int> finite { 0, 2, 5, 6 }; // in the order given
    QCOMPARE(back->size(), finite.size());
    for (size_t i = 0; i < finite.size(); ++i) {
        const TFrequencyPoint &want = points[size_t(finite[i])];
        QVERIFY(qAbs((*back)[i].FrequencyHz - want.FrequencyHz) <= 0.00005);
        QVERIFY(qAbs((*back)[i].LevelDb - want.LevelDb) <= 0.00005);
        QVERIFY(qAbs((*back)[i].PhaseDeg - want.PhaseDeg) <= 0.005);
    }
}

void TestFrdFile::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("count"); // -1: refused
    QTest::addColumn<double>("lastPhase");

    QTest::newRow("spaces") << QByteArray("10 1 2\n20 3 4\n") << 2 << 4.0;
    QTest::newRow("tabs crlf") << QByteArray("10\t1\t2\r\n20\t3\t-4.5\r\n") << 2 << -4.5;
    QTest::newRow("commas") << QByteArray("10, 1, 2\n20,3,4") << 2 << 4.0;
    QTest::newRow("semicolons") << QByteArray("10;1;2\n") << 1 << 2.0;
    QTest::newRow("no phase") << QByteArray("10 1\n20 -3\n") << 2 << 0.0;
    QTest::newRow("comments") << QByteArray("* tool\n# x y z\n; note\n\n  \n10 1 7\n") << 1 << 7.0;
    QTest::newRow("empty") << QByteArray() << 0 << 0.0;
    QTest::newRow("one number") << QByteArray("10 1 2\n20\n") << -1 << 0.0;
    QTest::newRow("four numbers") << QByteArray("10 1 2 3\n") << -1 << 0.0;
    QTest::newRow("word") << QByteArray("10 dB 2\n") << -1 << 0.0;
    QTest::newRow("decimal comma") << QByteArray("10 1,5 2,5 3\n") << -1 << 0.0;
    QTest::newRow("nan") << QByteArray("10 nan 2\n") << -1 << 0.0;
}

void TestFrdFile::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(int, count);
    QFETCH(double, lastPhase);
    const std::optional<std::vector<TFrequencyPoint>> points = TFrdFile::Parse(text);
    if (count < 0) {
        QVERIFY(!points);
        return;
    }
    QVERIFY(points);
    QCOMPARE(int(points->size()), count);
    if (count > 0) {
        QCOMPARE(points->front().FrequencyHz, 10.0);
        QCOMPARE(points->back().PhaseDeg, lastPhase);
    }
}

void TestFrdFile::fileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("angle");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "Kolumna A" << 190 << "Kolumna A hor -170.frd";
    QTest::newRow("forbidden") << "a/b\\c:d*e?f\"g<h>i|j\tk" << 0
                               << "a_b_c_d_e_f_g_h_i_j_k hor 0.frd";
    QTest::newRow("polish") << "Głośnik żółty" << -180 << "Głośnik żółty hor 180.frd";
    QTest::newRow("empty") << "" << 10 << "Orvi hor 10.frd";
    QTest::newRow("blank") << "  " << 10 << "Orvi hor 10.frd";
}

void TestFrdFile::fileName()
{
    QFETCH(QString, name);
    QFETCH(int, angle);
    QFETCH(QString, file);
    QCOMPARE(TFrdFile::FileName(name, angle), file);
}

void TestFrdFile::signedAngle_data()
{
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("signedAngle");
    const int rows[][2]
        = { { 0, 0 },     { 180, 180 },  { 181, -179 },  { 190, -170 }, { 359, -1 }, { 360, 0 },
            { 540, 180 }, { -180, 180 }, { -179, -179 }, { -190, 170 }, { -720, 0 } };
    for (const auto &row : rows)
        QTest::addRow("%d", row[0]) << row[0] << row[1];
}

void TestFrdFile::signedAngle()
{
    QFETCH(int, angle);
    QFETCH(int, signedAngle);
    QCOMPARE(TFrdFile::SignedAngle(angle), signedAngle);
}

QTEST_MAIN(TestFrdFile)
#include "tst_frdfile.moc"
