// "orvi-cli export": formats by extension, sizes, and one-line failures without output files.
#include "chart/PolarGraph.h"
#include "document/OvkFile.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCliExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void writesEveryFormat_data();
    void writesEveryFormat();
    void pngHonoursSize();
    void badInput_data();
    void badInput();

private:
    struct TResult
    {
        int Status;
        QByteArray Err;
    };
    TResult Run(const QStringList &args);

    QTemporaryDir m_dir;
    QString m_document;
};

TestCliExport::TResult TestCliExport::Run(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ORVI_CLI_PATH), QStringList { QStringLiteral("export") } + args);
    if (!p.waitForFinished(60000))
        return { -1, {} };
    QByteArray err = p.readAllStandardError();
    // Qt's own start-up notice is not ours.
    QList<QByteArray> lines = err.split('\n');
    lines.removeIf(
        [](const QByteArray &l) { return l.isEmpty() || l.startsWith("QStandardPaths"); });
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, lines.join('\n') };
}

void TestCliExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_document = m_dir.filePath(QStringLiteral("doc.OvK"));
    TPolarGraph g;
    TSeries *s = g.GetSeries(0);
    s->Name = QStringLiteral("Pomiar 1");
    s->SetColor(0x0000FF);
    for (int a = 0; a <= 360; a += 10)
        s->Add(a, -5);
    TOvkFile file(&g, m_document);
    file.Title = QStringLiteral("Dokument");
    file.Save();
    QVERIFY(QFile::exists(m_document));
}

void TestCliExport::writesEveryFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("magic");
    QTest::newRow("emf") << "out.emf" << QByteArray::fromHex("01000000");
    QTest::newRow("wmf") << "out.WMF" << QByteArray::fromHex("d7cdc69a");
    QTest::newRow("svg") << "out.svg" << QByteArray("<?xml");
    QTest::newRow("pdf") << "out.pdf" << QByteArray("%PDF");
    QTest::newRow("png") << "out.png" << QByteArray("\x89PNG");
}

void TestCliExport::writesEveryFormat()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, magic);
    const QString out = m_dir.filePath(name);
    const TResult r = Run({ m_document, out });
    QCOMPARE(r.Status, 0);
    QCOMPARE(r.Err, QByteArray());
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith(magic));
}

void TestCliExport::pngHonoursSize()
{
    const QString out = m_dir.filePath(QStringLiteral("sized.png"));
    QCOMPARE(Run({ m_document, out, QStringLiteral("--width"), QStringLiteral("640"),
                   QStringLiteral("--height"), QStringLiteral("480") })
                 .Status,
             0);
    QCOMPARE(QImage(out).size(), QSize(640, 480));
    const QString plain = m_dir.filePath(QStringLiteral("plain.png"));
    QCOMPARE(Run({ m_document, plain }).Status, 0);
    QCOMPARE(QImage(plain).size(), QSize(800, 600));
}

void TestCliExport::badInput_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QStringList>("extra");
    QTest::newRow("missing file") << "nothing.OvK"
                                  << "a.emf" << QStringList();
    QTest::newRow("not a document") << "junk.OvK"
                                    << "b.emf" << QStringList();
    QTest::newRow("unknown format") << "doc.OvK"
                                    << "c.bmp" << QStringList();
    QTest::newRow("bad width") << "doc.OvK"
                               << "d.png" << QStringList { "--width", "x" };
    QTest::newRow("missing height value") << "doc.OvK"
                                          << "e.png" << QStringList { "--height" };
    QTest::newRow("unknown option") << "doc.OvK"
                                    << "f.png" << QStringList { "--dpi", "3" };
    QTest::newRow("unwritable") << "doc.OvK"
                                << "no/such/dir/g.png" << QStringList();
}

void TestCliExport::badInput()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QStringList, extra);
    QFile junk(m_dir.filePath(QStringLiteral("junk.OvK")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a characteristic file at all");
    junk.close();
    const QString out = m_dir.filePath(output);
    const TResult r = Run(QStringList { m_dir.filePath(input), out } + extra);
    QCOMPARE(r.Status, 1);
    QVERIFY(!r.Err.isEmpty());
    QVERIFY2(!r.Err.contains('\n'), r.Err.constData()); // one line
    QVERIFY2(r.Err.startsWith("orvi-cli export: "), r.Err.constData());
    QVERIFY(!QFile::exists(out));
}

QTEST_MAIN(TestCliExport)
#include "tst_CliExport.moc"
