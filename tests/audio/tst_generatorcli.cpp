// orvi-cli generate: the files it writes (WAV header or raw samples, K joined blocks) and its
// one-line refusals of bad arguments.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <vector>

namespace {

struct TResult
{
    int Exit = -1;
    QStringList ErrorLines;
};

TResult RunCli(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVI_CLI_PATH), QStringList { QStringLiteral("generate") } + args);
    TResult r;
    if (!p.waitForFinished(60000))
        return r;
    r.Exit = p.exitCode();
    // Qt may add its own environment notes; the command's lines carry its name.
    for (const QString &line : QString::fromUtf8(p.readAllStandardError()).split('\n'))
        if (line.startsWith(QLatin1String("orvi-cli")))
            r.ErrorLines << line;
    return r;
}

std::vector<qint16> ReadSamples(const QByteArray &bytes)
{
    std::vector<qint16> s(size_t(bytes.size() / 2));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = qFromLittleEndian<qint16>(bytes.constData() + 2 * i);
    return s;
}

} // namespace

class TestGeneratorCli : public QObject
{
    Q_OBJECT

private slots:
    void wavFileHoldsJoinedBlocks();
    void rawFileHasNoHeader();
    void badArguments_data();
    void badArguments();
};

void TestGeneratorCli::wavFileHoldsJoinedBlocks()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("sine.WAV"));
    const TResult r = RunCli({ "--signal", "Sinus", "--freq", "1000", "--amp", "50", "--rate",
                               "48000", "--block", "4096", "--blocks", "3", out });
    QCOMPARE(r.Exit, 0);
    QVERIFY(r.ErrorLines.isEmpty());
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    QCOMPARE(all.size(), 44 + 3 * 4096 * 2);
    const char *h = all.constData();
    QCOMPARE(QByteArray(h, 4), QByteArray("RIFF"));
    QCOMPARE(qFromLittleEndian<quint32>(h + 4), quint32(all.size() - 8));
    QCOMPARE(QByteArray(h + 8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(qFromLittleEndian<quint32>(h + 16), 16u);
    QCOMPARE(qFromLittleEndian<quint16>(h + 20), quint16(1)); // PCM
    QCOMPARE(qFromLittleEndian<quint16>(h + 22), quint16(1)); // mono
    QCOMPARE(qFromLittleEndian<quint32>(h + 24), 48000u);
    QCOMPARE(qFromLittleEndian<quint32>(h + 28), 96000u);
    QCOMPARE(qFromLittleEndian<quint16>(h + 32), quint16(2));
    QCOMPARE(qFromLittleEndian<quint16>(h + 34), quint16(16));
    QCOMPARE(QByteArray(h + 36, 4), QByteArray("data"));
    QCOMPARE(qFromLittleEndian<quint32>(h + 40), quint32(3 * 4096 * 2));

    // Three blocks joined by the phase chain are one sine from phase 0.
    const std::vector<qint16> s = ReadSamples(all.mid(44));
    const double a = 50 * 32767.0 / 100, w = 2 * 3.14159265358979323846 * 1000 / 48000;
    for (size_t k = 0; k < s.size(); ++k)
        QVERIFY2(std::fabs(s[k] - a * std::sin(w * double(k))) <= 1.0,
                 qPrintable(QString::number(k)));
}

void TestGeneratorCli::rawFileHasNoHeader()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("imp.raw"));
    const TResult r = RunCli({ "--signal", "Impuls", "--freq", "1", "--amp", "10", "--rate", "8000",
                               "--block", "10", "--blocks", "2", out });
    QCOMPARE(r.Exit, 0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const std::vector<qint16> s = ReadSamples(f.readAll());
    // Half of each block at nearest(3276.7), the rest 0.
    const std::vector<qint16> want = { 3277, 3277, 3277, 3277, 3277, 0, 0, 0, 0, 0,
                                       3277, 3277, 3277, 3277, 3277, 0, 0, 0, 0, 0 };
    QCOMPARE(s, want);
}

void TestGeneratorCli::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("outName"); // empty: no output named
    const QStringList good = { "--signal", "Sinus", "--freq",  "1000", "--amp",    "50",
                               "--rate",   "44100", "--block", "64",   "--blocks", "1" };
    auto with = [&](const QString &option, const QString &value) {
        QStringList a = good;
        a[a.indexOf(option) + 1] = value;
        return a;
    };
    QTest::newRow("unknown signal") << with("--signal", "Sine") << QStringLiteral("out.raw");
    QTest::newRow("zero frequency") << with("--freq", "0") << QStringLiteral("out.raw");
    QTest::newRow("text frequency") << with("--freq", "abc") << QStringLiteral("out.raw");
    QTest::newRow("amplitude above 100") << with("--amp", "150") << QStringLiteral("out.raw");
    QTest::newRow("zero rate") << with("--rate", "0") << QStringLiteral("out.raw");
    QTest::newRow("zero block") << with("--block", "0") << QStringLiteral("out.raw");
    QTest::newRow("negative blocks") << with("--blocks", "-2") << QStringLiteral("out.raw");
    QTest::newRow("missing option") << good.mid(2) << QStringLiteral("out.raw");
    QTest::newRow("option without value")
        << (good + QStringList { "--blocks" }) << QStringLiteral("out.raw");
    QTest::newRow("unknown option")
        << (good + QStringList { "--loud", "1" }) << QStringLiteral("out.raw");
    QTest::newRow("no output") << good << QString();
    QTest::newRow("folder missing") << good << QStringLiteral("no/such/out.raw");
}

void TestGeneratorCli::badArguments()
{
    QFETCH(QStringList, args);
    QFETCH(QString, outName);
    QTemporaryDir dir;
    const QString out = dir.filePath(outName.isEmpty() ? QStringLiteral("out.raw") : outName);
    if (!outName.isEmpty())
        args << out;
    const TResult r = RunCli(args);
    QCOMPARE(r.Exit, 1);
    QCOMPARE(r.ErrorLines.size(), 1);
    QVERIFY(!QFile::exists(out));
}

QTEST_GUILESS_MAIN(TestGeneratorCli)
#include "tst_generatorcli.moc"
