// A measurement microphone's calibration file: the variants its makers write are read, with
// the response interpolated in log frequency, and every malformed file is refused with a
// message naming the file and the line.

#include "analysis/MicCalibration.h"
#include "controls/FileWriter.h"

#include <QPointF>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

class TestMicCalibration : public QObject
{
    Q_OBJECT

private slots:
    void parseGood_data();
    void parseGood();
    void parseBad_data();
    void parseBad();
    void load_data();
    void load();
};

void TestMicCalibration::parseGood_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QPointF>>("points"); // Hz, dB
    QTest::addColumn<double>("sensDb"); // NaN: none
    QTest::addColumn<QList<QPointF>>("probes"); // Hz, expected CorrectionDb

    const double none = std::numeric_limits<double>::quiet_NaN();
    // Probes at the geometric mean of two points lie halfway in log frequency.
    QTest::newRow("quoted header, BOM, CRLF, tabs and commas")
        << QByteArray("\xEF\xBB\xBF\"Sens Factor =-1.378dB, AGain =18dB, SERNO: 7001234\"\r\n"
                      "20\t-1.5\t12.5\r\n1000\t0.0\r\n20000,2.5\r\n")
        << QList<QPointF> { { 20, -1.5 }, { 1000, 0 }, { 20000, 2.5 } } << -1.378
        << QList<QPointF> { { std::sqrt(20.0 * 1000), -0.75 },
                            { std::sqrt(1000.0 * 20000), 1.25 },
                            { 1000, 0 },
                            { 10, -1.5 },
                            { 96000, 2.5 } };
    QTest::newRow("bare header, comments after blanks, comma and blank")
        << QByteArray("Sens Factor =-.7716dB, SERNO: 123\n* maker\n  # f dB\n; x\n\n\"q\n"
                      "100, 1\n200,3,45\n")
        << QList<QPointF> { { 100, 1 }, { 200, 3 } } << -0.7716
        << QList<QPointF> { { 100 * std::sqrt(2.0), 2 }, { 0, 1 }, { -5, 1 } };
    QTest::newRow("no header, exponent and plus sign")
        << QByteArray("10 -1\n1e4 +2\n") << QList<QPointF> { { 10, -1 }, { 10000, 2 } } << none
        << QList<QPointF> { { std::sqrt(10.0 * 1e4), 0.5 } };
    QTest::newRow("unreadable sens factor is skipped")
        << QByteArray("\"Sens Factor = n/a\"\n10 1\n20 2")
        << QList<QPointF> { { 10, 1 }, { 20, 2 } } << none << QList<QPointF> {};
}

void TestMicCalibration::parseGood()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<QPointF>, points);
    QFETCH(double, sensDb);
    QFETCH(QList<QPointF>, probes);

    QString error;
    const std::optional<TMicCalibration> cal = TMicCalibration::Parse(text, "mic.txt", &error);
    QVERIFY2(cal, qPrintable(error));
    QCOMPARE(cal->Path(), QString());
    QCOMPARE(cal->Points().size(), size_t(points.size()));
    for (qsizetype i = 0; i < points.size(); ++i) {
        QCOMPARE(cal->Points()[size_t(i)].FrequencyHz, points[i].x());
        QCOMPARE(cal->Points()[size_t(i)].Db, points[i].y());
    }
    QCOMPARE(cal->SensFactorDb().has_value(), !std::isnan(sensDb));
    if (cal->SensFactorDb())
        QCOMPARE(*cal->SensFactorDb(), sensDb);
    for (const QPointF &probe : probes) {
        const double db = cal->CorrectionDb(probe.x());
        QVERIFY2(std::abs(db - probe.y()) < 1e-9,
                 qPrintable(QStringLiteral("%1 Hz: %2 dB").arg(probe.x()).arg(db)));
    }
}

void TestMicCalibration::parseBad_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("words"); // besides the file's name

    QTest::newRow("word") << QByteArray("10 1\nabc 1.0\n")
                          << QStringList { "wiersz 2:", "„abc 1.0” nie jest parą liczb" };
    QTest::newRow("one field") << QByteArray("10 1\n20\n") << QStringList { "wiersz 2:", "parą" };
    QTest::newRow("four fields") << QByteArray("10 1 2 3\n") << QStringList { "wiersz 1:", "parą" };
    QTest::newRow("decimal comma")
        << QByteArray("10 1\n1000 0,5\n") << QStringList { "wiersz 2:", "przecinkiem dziesiętnym" };
    QTest::newRow("nan") << QByteArray("10 1\n20 nan\n")
                         << QStringList { "wiersz 2:", "skończoną" };
    QTest::newRow("inf frequency")
        << QByteArray("* c\ninf 1\n20 1\n") << QStringList { "wiersz 2:", "skończoną" };
    QTest::newRow("overflow") << QByteArray("10 1e999\n")
                              << QStringList { "wiersz 1:", "skończoną" };
    QTest::newRow("zero frequency")
        << QByteArray("0 1\n10 2\n") << QStringList { "wiersz 1:", "większa od zera" };
    QTest::newRow("same frequency")
        << QByteArray("10 1\n20 2\n20 3\n") << QStringList { "wiersz 3:", "poprzedniej (20 Hz)" };
    QTest::newRow("one point") << QByteArray("\"Sens Factor =1dB\"\n10 1\n")
                               << QStringList { "mniej niż dwa punkty" };
    QTest::newRow("NUL byte") << QByteArray("10 1\n\0 20 2\n", 12)
                              << QStringList { "bajty zerowe" };
    QTest::newRow("not UTF-8") << QByteArray("10 1\n* mikrofon \xB3\n20 2\n")
                               << QStringList { "wiersz 2:", "UTF-8" };
    QTest::newRow("over the limit") << QByteArray(TMicCalibration::MaxFileBytes + 1, ' ')
                                    << QStringList { "za duży", "1048577 B" };
    QTest::newRow("CRLF lines counted, CR not quoted") << QByteArray("\xEF\xBB\xBF"
                                                                     "10 1\r\n\r\n20 x\r\n")
                                                       << QStringList { "wiersz 3:", "„20 x”" };
}

void TestMicCalibration::parseBad()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, words);

    QString error;
    QVERIFY(!TMicCalibration::Parse(text, "mic.txt", &error));
    QVERIFY2(error.startsWith("Plik kalibracji „mic.txt”"), qPrintable(error));
    for (const QString &word : words)
        QVERIFY2(error.contains(word), qPrintable(error));
}

void TestMicCalibration::load_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file
    QTest::addColumn<QString>("word"); // empty: loads

    QTest::newRow("good") << QByteArray("\"Sens Factor =0.5dB\"\n20 1\n20000 -1\n") << QString();
    QTest::newRow("missing") << QByteArray() << QStringLiteral("Nie można otworzyć");
    QTest::newRow("too large on disk")
        << QByteArray("20 1\n20000 -1\n").leftJustified(TMicCalibration::MaxFileBytes + 10, ' ')
        << QStringLiteral("(1048586 B)");
}

void TestMicCalibration::load()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, word);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("7001234.txt");
    if (!content.isEmpty())
        QVERIFY(TFileWriter::WriteFile(path, content));

    QString error;
    const std::optional<TMicCalibration> cal = TMicCalibration::Load(path, &error);
    if (word.isEmpty()) {
        QVERIFY2(cal, qPrintable(error));
        QCOMPARE(cal->Path(), path);
        QCOMPARE(cal->Points().size(), size_t(2));
        return;
    }
    QVERIFY(!cal);
    QVERIFY2(error.contains(word) && error.contains(QDir::toNativeSeparators(path)),
             qPrintable(error));
}

QTEST_GUILESS_MAIN(TestMicCalibration)
#include "tst_miccalibration.moc"
