// The characteristic file: byte layout, text fields, renumbering on load, damaged files,
// the validity check and the safety of saving.
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/InOutError.h"
#include "document/OvkFile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace {

const QByteArray Magic("ORVI SYSTEM V1.0");

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

double DoubleAt(const QByteArray &bytes, int offset)
{
    const quint64 bits = qFromLittleEndian<quint64>(bytes.constData() + offset);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// A header built by hand, independent of the writer: magic, date, blank title and info,
// series count.
QByteArray Header(quint16 seriesCount)
{
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
    s.writeRawData(Magic.constData(), 16);
    s << 40000.25;
    s.writeRawData(QByteArray(256, ' ').constData(), 256);
    s.writeRawData(QByteArray(50, ' ').constData(), 50);
    s << seriesCount;
    return bytes;
}

QByteArray Record(const QByteArray &name, quint32 color, qint32 count,
                  const QList<QPair<double, double>> &points)
{
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.setFloatingPointPrecision(QDataStream::DoublePrecision);
    s.writeRawData((name + QByteArray(50, ' ')).left(50).constData(), 50);
    s << color << count;
    for (const auto &p : points)
        s << p.first << p.second;
    return bytes;
}

// What a listener of the chart can see: title and every series' name, colour and points.
QByteArray ChartState(const TPolarGraph &graph)
{
    QByteArray state = graph.Title().toUtf8();
    for (const TSeries *s : graph.SeriesList()) {
        state += '|' + QByteArray::number(s->Number()) + ':' + s->Name.toUtf8() + ':'
            + QByteArray::number(s->Color()) + ':';
        state += QByteArray(reinterpret_cast<const char *>(s->Points().data()),
                            qsizetype(s->Points().size() * sizeof(TPolarSample)));
    }
    return state;
}

} // namespace

class TestOvkFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    // layout
    void emptyDocumentIsHeaderOnly();
    void seriesRecordLayout();
    void zeroPointSeriesIsBareRecord();
    void titleFieldWidth_data();
    void titleFieldWidth();
    void windows1250Texts_data();
    void windows1250Texts();

    // reading
    void readsIndependentFixture();
    void decodeText_data();
    void decodeText();
    void gapsAreRenumberedOnLoad();
    void pointsRoundTripBitExact();
    void loadListenerSeesFinalState();
    void damagedFileFailsAndLeavesChart_data();
    void damagedFileFailsAndLeavesChart();
    void readOnlyFileLoads();

    // validity check
    void checkFile_data();
    void checkFile();
    void invalidFileMessage();

    // saving
    void saveStampsCurrentDate();
    void failedSaveKeepsOldFile();
    void saveRefusesReadOnlyTarget();
    void pathSplit();

    // date numbers
    void dateConversion_data();
    void dateConversion();

private:
    QString FilePath(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestOvkFile::init()
{
    QVERIFY(m_dir.isValid());
}

void TestOvkFile::emptyDocumentIsHeaderOnly()
{
    TPolarGraph graph;
    TOvkFile file(&graph, FilePath("empty.OvK"));
    file.Title = QStringLiteral("Seria_1");
    file.Save();
    const QByteArray bytes = ReadAll(FilePath("empty.OvK"));
    QCOMPARE(bytes.size(), 332);
    QCOMPARE(bytes.left(16), Magic);
    QCOMPARE(bytes.mid(24, 256), QByteArray("Seria_1") + QByteArray(249, ' '));
    QCOMPARE(bytes.mid(280, 50), QByteArray(50, ' '));
    QCOMPARE(bytes.right(2), QByteArray(2, '\0'));
}

void TestOvkFile::seriesRecordLayout()
{
    TPolarGraph graph;
    TSeries *series = graph.GetSeries(0);
    series->Name = QStringLiteral("Pomiar 1");
    series->SetColor(0x00123456);
    for (int i = 0; i < 36; ++i)
        series->Add(i * 10.0, -0.5 * i);
    TOvkFile file(&graph, FilePath("one.OvK"));
    file.Save();

    const QByteArray bytes = ReadAll(FilePath("one.OvK"));
    QCOMPARE(bytes.size(), 332 + 58 + 576);
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 330), quint16(1));
    QCOMPARE(bytes.mid(332, 50), QByteArray("Pomiar 1") + QByteArray(42, ' '));
    QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 382), quint32(0x00123456));
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 386), 36);
    for (int i = 0; i < 36; ++i) {
        QCOMPARE(DoubleAt(bytes, 390 + 16 * i), i * 10.0);
        QCOMPARE(DoubleAt(bytes, 390 + 16 * i + 8), -0.5 * i);
    }
}

void TestOvkFile::zeroPointSeriesIsBareRecord()
{
    TPolarGraph graph;
    graph.GetSeries(0)->Name = QStringLiteral("pusta");
    TOvkFile file(&graph, FilePath("zero.OvK"));
    file.Save();
    QCOMPARE(ReadAll(FilePath("zero.OvK")).size(), 332 + 58);

    TPolarGraph loaded;
    TOvkFile reader(&loaded, FilePath("zero.OvK"));
    QVERIFY(reader.Load());
    QCOMPARE(loaded.SeriesCount(), 1);
    QCOMPARE(loaded.GetSeries(0)->Name, QStringLiteral("pusta"));
    QCOMPARE(loaded.GetSeries(0)->Count(), 0);
}

void TestOvkFile::titleFieldWidth_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("readBack");
    const QString long300 = QString(300, u'x').replace(255, 1, u'Y').replace(256, 1, u'Z');
    QTest::newRow("300 characters cut to 256") << long300 << long300.left(256);
    QTest::newRow("exactly 256") << QString(256, u'q') << QString(256, u'q');
    QTest::newRow("trailing blanks dropped")
        << QStringLiteral("Kolumna 10") + QString(20, u' ') << QStringLiteral("Kolumna 10");
    QTest::newRow("leading blanks and controls dropped")
        << QStringLiteral(" \t\r\nKolumna") << QStringLiteral("Kolumna");
    QTest::newRow("empty") << QString() << QString();
}

void TestOvkFile::titleFieldWidth()
{
    QFETCH(QString, title);
    QFETCH(QString, readBack);
    TPolarGraph graph;
    TOvkFile file(&graph, FilePath("title.OvK"));
    file.Title = title;
    file.Save();
    QCOMPARE(ReadAll(FilePath("title.OvK")).size(), 332);

    TPolarGraph loaded;
    TOvkFile reader(&loaded, FilePath("title.OvK"));
    reader.Load();
    QCOMPARE(reader.Title, readBack);
    QCOMPARE(loaded.Title(), readBack);
}

void TestOvkFile::windows1250Texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("Polish letters") << QStringLiteral("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ")
                                    << QByteArray("\xb9\xe6\xea\xb3\xf1\xf3\x9c\x9f\xbf "
                                                  "\xa5\xc6\xca\xa3\xd1\xd3\x8c\x8f\xaf")
                                    << QStringLiteral("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
    QTest::newRow("euro and degree")
        << QStringLiteral("€ 90°") << QByteArray("\x80 90\xb0") << QStringLiteral("€ 90°");
    QTest::newRow("outside the code page becomes ?")
        << QStringLiteral("a日b") << QByteArray("a?b") << QStringLiteral("a?b");
    QTest::newRow("one ? per character beyond 16 bits")
        << QStringLiteral("x\U0001F50Ay") << QByteArray("x?y") << QStringLiteral("x?y");
    QTest::newRow("SUB control stays itself") << QStringLiteral("a\x1a"
                                                                "b")
                                              << QByteArray("a\x1a"
                                                            "b")
                                              << QStringLiteral("a\x1a"
                                                                "b");
}

void TestOvkFile::windows1250Texts()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    QFETCH(QString, readBack);
    TPolarGraph graph;
    graph.GetSeries(0)->Name = text;
    TOvkFile file(&graph, FilePath("cp.OvK"));
    file.Title = text;
    file.Save();
    const QByteArray bytes = ReadAll(FilePath("cp.OvK"));
    QCOMPARE(bytes.mid(24, stored.size()), stored);
    QCOMPARE(bytes.at(24 + stored.size()), ' ');
    QCOMPARE(bytes.mid(332, stored.size()), stored);

    TPolarGraph loaded;
    TOvkFile reader(&loaded, FilePath("cp.OvK"));
    reader.Load();
    QCOMPARE(reader.Title, readBack);
    QCOMPARE(loaded.GetSeries(0)->Name, readBack);
}

void TestOvkFile::readsIndependentFixture()
{
    // Made by tests/data/document/make_fixtures.py, see there for its content.
    TPolarGraph graph;
    TOvkFile file(&graph, QStringLiteral(ORVI_TEST_DATA_DIR "/document/two_series.OvK"));
    QVERIFY(file.Load());
    QCOMPARE(file.Date, 45000.5);
    QCOMPARE(file.Title, QStringLiteral("Kolumna ł ą"));
    QCOMPARE(graph.Title(), QStringLiteral("Kolumna ł ą"));
    QCOMPARE(file.Info, QStringLiteral("Nieznany"));
    QCOMPARE(file.SeriesCount, 2);
    QCOMPARE(graph.SeriesCount(), 2);
    QCOMPARE(graph.MaxSeriesNumber(), 1);

    const TSeries *first = graph.GetSeries(0);
    QCOMPARE(first->Name, QStringLiteral("Pomiar 1"));
    QCOMPARE(first->Color(), quint32(0x00008000));
    QCOMPARE(first->Count(), 3);
    const std::vector<TPolarSample> expected { { 0.0, -1.5 }, { 10.0, -2.25 }, { 350.0, 0.125 } };
    for (size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(first->Points()[i].Angle, expected[i].Angle);
        QCOMPARE(first->Points()[i].Level, expected[i].Level);
    }
    const TSeries *second = graph.GetSeries(1);
    QCOMPARE(second->Name, QStringLiteral("Tył"));
    QCOMPARE(second->Color(), quint32(0x80000005));
    QCOMPARE(second->Count(), 0);
}

void TestOvkFile::decodeText_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("blank padded") << QByteArray("Pomiar 1").append(42, ' ')
                                  << QStringLiteral("Pomiar 1");
    QTest::newRow("zero then junk")
        << QByteArray("Pomiar 1\0\xff junk\x01", 15).append(35, 'Q') << QStringLiteral("Pomiar 1");
    QTest::newRow("zero first") << QByteArray(1, '\0').append(49, 'A') << QString();
    QTest::newRow("all blanks") << QByteArray(50, ' ') << QString();
    QTest::newRow("inner blanks kept")
        << QByteArray("\x01 a  b \x1f").append(42, ' ') << QStringLiteral("a  b");
    QTest::newRow("full width, no end") << QByteArray(50, 'z') << QString(50, u'z');
}

void TestOvkFile::decodeText()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QCOMPARE(field.size(), 50);
    QCOMPARE(TOvkFile::DecodeText(field.constData(), 50), text);
}

void TestOvkFile::gapsAreRenumberedOnLoad()
{
    TPolarGraph graph;
    for (int n = 0; n <= 5; ++n) {
        TSeries *s = graph.GetSeries(n);
        s->Name = QStringLiteral("S%1").arg(n);
        s->SetColor(quint32(0x010101 * (n + 1)));
        for (int i = 0; i <= n; ++i)
            s->Add(n * 100 + i, -i - 0.25);
    }
    for (int n : { 1, 3, 4 })
        graph.DeleteSeries(n);
    TOvkFile file(&graph, FilePath("gaps.OvK"));
    file.Save();
    QCOMPARE(ReadAll(FilePath("gaps.OvK")).size(), 332 + 3 * 58 + 16 * (1 + 3 + 6));

    TPolarGraph loaded;
    TOvkFile reader(&loaded, FilePath("gaps.OvK"));
    reader.Load();
    QCOMPARE(loaded.SeriesCount(), 3);
    QCOMPARE(loaded.MaxSeriesNumber(), 2);
    const int original[] = { 0, 2, 5 };
    for (int k = 0; k < 3; ++k) {
        QVERIFY(loaded.HasSeries(k));
        const TSeries *s = loaded.GetSeries(k);
        const TSeries *o = graph.GetSeries(original[k]);
        QCOMPARE(s->Name, o->Name);
        QCOMPARE(s->Color(), o->Color());
        QCOMPARE(s->Count(), o->Count());
        for (int i = 0; i < s->Count(); ++i) {
            QCOMPARE(s->Points()[size_t(i)].Angle, o->Points()[size_t(i)].Angle);
            QCOMPARE(s->Points()[size_t(i)].Level, o->Points()[size_t(i)].Level);
        }
    }
}

void TestOvkFile::pointsRoundTripBitExact()
{
    const double special[] = { 0.1,
                               -0.0,
                               1e-310,
                               std::numeric_limits<double>::max(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(),
                               123456.789e-7 };
    TPolarGraph graph;
    TSeries *s = graph.GetSeries(0);
    for (double v : special)
        s->Add(v, -v);
    TOvkFile file(&graph, FilePath("bits.OvK"));
    file.Save();
    TPolarGraph loaded;
    TOvkFile reader(&loaded, FilePath("bits.OvK"));
    reader.Load();
    const TSeries *r = loaded.GetSeries(0);
    QCOMPARE(r->Count(), s->Count());
    QCOMPARE(std::memcmp(r->Points().data(), s->Points().data(), sizeof(TPolarSample) * 7), 0);
}

void TestOvkFile::loadListenerSeesFinalState()
{
    // The load notifies once per series instead of once per point; a listener (the document
    // window marks itself modified on every notice) must still end up with what the notice
    // per point gave: the last notice shows the final chart, the same as point by point.
    TPolarGraph source;
    source.SetTitle(QStringLiteral("Wykres"));
    for (int n = 0; n < 3; ++n) {
        TSeries *s = source.GetSeries(n);
        s->Name = QStringLiteral("Pomiar %1").arg(n + 1);
        s->SetColor(quint32(0x102030 * (n + 1)));
        for (int i = 0; i < 10 * n; ++i)
            s->Add(i * 3.0, -0.5 * i);
    }
    TOvkFile file(&source, FilePath("notice.OvK"));
    file.Title = source.Title();
    file.Save();

    const auto listen = [](TPolarGraph &graph, QByteArray &seen, int &notices) {
        QObject::connect(&graph, &TPolarGraph::OnChange, &graph, [&](TPolarGraph *sender) {
            seen = ChartState(*sender);
            ++notices;
        });
    };
    TPolarGraph loaded;
    QByteArray loadedSeen;
    int loadedNotices = 0;
    listen(loaded, loadedSeen, loadedNotices);
    TOvkFile reader(&loaded, FilePath("notice.OvK"));
    reader.Load();

    TPolarGraph pointwise;
    QByteArray pointwiseSeen;
    int pointwiseNotices = 0;
    listen(pointwise, pointwiseSeen, pointwiseNotices);
    pointwise.SetTitle(source.Title());
    for (const TSeries *s : source.SeriesList()) {
        TSeries *copy = pointwise.GetSeries(s->Number());
        copy->Name = s->Name;
        copy->SetColor(s->Color());
        copy->SetPoints(s->Points().data(), s->Count());
    }

    QVERIFY(loadedNotices > 0);
    QCOMPARE(loadedSeen, ChartState(loaded));
    QCOMPARE(pointwiseSeen, ChartState(pointwise));
    QCOMPARE(ChartState(loaded), ChartState(pointwise));
}

void TestOvkFile::damagedFileFailsAndLeavesChart_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QList<QPair<double, double>> two { { 0, 1 }, { 10, 2 } };
    const QByteArray good = Record("a", 1, 2, two);
    QTest::newRow("header cut") << Header(0).left(200);
    QTest::newRow("3 announced, 2 present") << Header(3) + good + good;
    QTest::newRow("record header cut") << Header(1) + good.left(40);
    QTest::newRow("points cut by one byte") << Header(1) + good.left(good.size() - 1);
    QTest::newRow("negative count") << Header(1) + Record("a", 1, -1, {});
    QTest::newRow("most negative count")
        << Header(1) + Record("a", 1, std::numeric_limits<qint32>::min(), {});
    QTest::newRow("impossible count")
        << Header(1) + Record("a", 1, std::numeric_limits<qint32>::max(), two);
    QTest::newRow("second series damaged") << Header(2) + good + Record("b", 1, 3, two);
}

void TestOvkFile::damagedFileFailsAndLeavesChart()
{
    QFETCH(QByteArray, bytes);
    const QString path = FilePath("damaged.OvK");
    WriteBytes(path, bytes);

    TPolarGraph graph;
    graph.SetTitle(QStringLiteral("before"));
    TOvkFile file(&graph, path);
    QString message;
    // Any other exception fails this case instead of ending the whole test program.
    QVERIFY_THROWS_EXCEPTION(EInOutError, [&] {
        try {
            file.Load();
        } catch (const EInOutError &e) {
            message = e.Message();
            throw;
        }
    }());
    QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
    QCOMPARE(graph.SeriesCount(), 0);
    QCOMPARE(graph.Title(), QStringLiteral("before"));
}

void TestOvkFile::readOnlyFileLoads()
{
    const QString path = FilePath("readonly.OvK");
    WriteBytes(path, Header(1) + Record("ro", 7, 1, { { 5, 6 } }));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QCOMPARE(CheckOvkFile(path), EOvkValidity::Valid);
    TPolarGraph graph;
    TOvkFile file(&graph, path);
    QVERIFY(file.Load());
    QCOMPARE(graph.GetSeries(0)->Name, QStringLiteral("ro"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
}

void TestOvkFile::checkFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("validity");
    const QByteArray rest = Header(0).mid(16);
    QTest::newRow("valid") << Header(0) << int(EOvkValidity::Valid);
    QTest::newRow("magic alone") << Magic << int(EOvkValidity::Valid);
    QTest::newRow("other version")
        << QByteArray("ORVI SYSTEM V1.1") + rest << int(EOvkValidity::WrongMagic);
    QTest::newRow("lower case") << QByteArray("orvi system v1.0") + rest
                                << int(EOvkValidity::WrongMagic);
    QTest::newRow("text file") << QByteArray("hello, this is not a chart\n")
                               << int(EOvkValidity::WrongMagic);
    QTest::newRow("10 bytes") << Magic.left(10) << int(EOvkValidity::Unreadable);
    QTest::newRow("15 bytes") << Magic.left(15) << int(EOvkValidity::Unreadable);
    QTest::newRow("empty") << QByteArray() << int(EOvkValidity::Unreadable);
}

void TestOvkFile::checkFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, validity);
    const QString path = FilePath("check.OvK");
    WriteBytes(path, bytes);
    QCOMPARE(int(CheckOvkFile(path)), validity);
    QCOMPARE(CheckOvkFile(FilePath("missing.OvK")), EOvkValidity::Unreadable);
    QCOMPARE(CheckOvkFile(m_dir.path()), EOvkValidity::Unreadable);
}

void TestOvkFile::invalidFileMessage()
{
    QCOMPARE(InvalidFileMessage(QStringLiteral("/tmp/a b.OvK")),
             QStringLiteral("\"/tmp/a b.OvK\" nie jest prawidłowym plikiem programu Orvi."));
}

void TestOvkFile::saveStampsCurrentDate()
{
    TPolarGraph graph;
    TOvkFile file(&graph, FilePath("date.OvK"));
    file.Date = 1.0; // the field is not what is written
    const double before = TOvkFile::NowAsDate();
    file.Save();
    const double after = TOvkFile::NowAsDate();
    const double stored = DoubleAt(ReadAll(FilePath("date.OvK")), 16);
    QVERIFY(stored >= before && stored <= after);
    const QDateTime when = TOvkFile::DateTimeFromDate(stored);
    QVERIFY(qAbs(when.secsTo(QDateTime::currentDateTime())) < 60);
}

void TestOvkFile::failedSaveKeepsOldFile()
{
    // A good file, then a save that runs out of room part-way (file size limit).
    QVERIFY(QDir(m_dir.path()).mkpath("keep"));
    const QString path = FilePath("keep/keep.OvK");
    TPolarGraph small;
    small.GetSeries(0)->Add(1, 2);
    TOvkFile first(&small, path);
    first.Save();
    const QByteArray old = ReadAll(path);

    TPolarGraph big;
    TSeries *s = big.GetSeries(0);
    for (int i = 0; i < 20000; ++i)
        s->Add(i, i);
    TOvkFile second(&big, path);

    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool threw = false;
    try {
        second.Save();
    } catch (const EInOutError &e) {
        threw = e.Message().contains(QDir::toNativeSeparators(path));
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(threw);
    QCOMPARE(ReadAll(path), old);
    QCOMPARE(QDir(FilePath("keep")).entryList(QDir::Files), QStringList { "keep.OvK" });
}

void TestOvkFile::saveRefusesReadOnlyTarget()
{
    const QString path = FilePath("locked.OvK");
    const QByteArray old = Header(0);
    WriteBytes(path, old);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    TPolarGraph graph;
    graph.GetSeries(0);
    TOvkFile file(&graph, path);
    QVERIFY_THROWS_EXCEPTION(EInOutError, file.Save());
    QCOMPARE(ReadAll(path), old);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));

    TOvkFile nowhere(&graph, FilePath("no/such/folder/x.OvK"));
    QVERIFY_THROWS_EXCEPTION(EInOutError, nowhere.Save());
}

void TestOvkFile::pathSplit()
{
    TOvkFile file(nullptr, QStringLiteral("/data/charts/a.OvK"));
    QCOMPARE(file.Path, QStringLiteral("/data/charts/"));
    QCOMPARE(file.FileName, QStringLiteral("a.OvK"));
    QCOMPARE(file.FullPath(), QStringLiteral("/data/charts/a.OvK"));
    QVERIFY(file.Untitled);
    TOvkFile bare(nullptr, QStringLiteral("b.OvK"));
    QCOMPARE(bare.Path, QString());
    QCOMPARE(bare.FileName, QStringLiteral("b.OvK"));
}

void TestOvkFile::dateConversion_data()
{
    // Day numbers of the Windows date type (day 0 is 1899-12-30, fraction = time of day,
    // before day 0 the fraction still counts forward from midnight).
    QTest::addColumn<double>("days");
    QTest::addColumn<QDateTime>("local");
    QTest::newRow("day 0") << 0.0 << QDateTime(QDate(1899, 12, 30), QTime(0, 0));
    QTest::newRow("1900-01-01") << 2.0 << QDateTime(QDate(1900, 1, 1), QTime(0, 0));
    QTest::newRow("1996-01-01") << 35065.0 << QDateTime(QDate(1996, 1, 1), QTime(0, 0));
    QTest::newRow("noon") << 45000.5 << QDateTime(QDate(2023, 3, 15), QTime(12, 0));
    QTest::newRow("6 in the morning") << 2.25 << QDateTime(QDate(1900, 1, 1), QTime(6, 0));
    QTest::newRow("before day 0") << -1.25 << QDateTime(QDate(1899, 12, 29), QTime(6, 0));
}

void TestOvkFile::dateConversion()
{
    QFETCH(double, days);
    QFETCH(QDateTime, local);
    QCOMPARE(TOvkFile::DateTimeFromDate(days), local);
    QCOMPARE(TOvkFile::DateFromDateTime(local), days);
}

QTEST_MAIN(TestOvkFile)
#include "tst_OvkFile.moc"
