// One print through a real CUPS queue, the path a user takes: the private server of
// tools/cups-private.sh with its cups-pdf queue turns the job into a PDF file, which must
// arrive as one sheet under the first chart's title. Skips itself where no such server runs.
#include "chart/PolarGraph.h"
#include "document_ui/helpers/PromptStub.h"
#include "printing/ui/FrmPrint.h"
#include "printing/ui/PrintJob.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <unistd.h>

namespace {

// The variables the server's start wrote (CUPS_SERVER, ORVI_CUPS_QUEUE, ORVI_CUPS_OUT).
QMap<QString, QString> ServerEnv()
{
    const QByteArray dir = qgetenv("ORVI_CUPS_DIR");
    const QString base = dir.isEmpty() ? QStringLiteral("/tmp/orvi-cups-%1").arg(getuid())
                                       : QString::fromLocal8Bit(dir);
    QMap<QString, QString> env;
    QFile file(base + QStringLiteral("/env"));
    if (!file.open(QIODevice::ReadOnly))
        return env;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            env.insert(QString::fromLocal8Bit(line.left(eq)),
                       QString::fromLocal8Bit(line.mid(eq + 1)));
    }
    return env;
}

} // namespace

class TestPrintCups : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void printsThroughTheQueue();

private:
    QString m_queue;
    QString m_out;
};

void TestPrintCups::initTestCase()
{
    const QMap<QString, QString> env = ServerEnv();
    QString reason;
    if (env.value(QStringLiteral("CUPS_SERVER")).isEmpty()) {
        reason = QStringLiteral("no private CUPS server (start it with tools/cups-private.sh)");
    } else {
        // Before anything asks libcups for printers: it keeps the first server it uses.
        qputenv("CUPS_SERVER", env.value(QStringLiteral("CUPS_SERVER")).toLocal8Bit());
        m_queue = env.value(QStringLiteral("ORVI_CUPS_QUEUE"));
        m_out = env.value(QStringLiteral("ORVI_CUPS_OUT"));
        if (!QPrinterInfo::availablePrinterNames().contains(m_queue))
            reason = QStringLiteral("the CUPS queue %1 is not offered to Qt").arg(m_queue);
    }
    if (!reason.isEmpty()) {
        // The test script sets this once it has started the server: from then on a missing
        // queue is a fault, not a reason to skip.
        if (qEnvironmentVariableIntValue("ORVI_REQUIRE_CUPS") == 1)
            QFAIL(qPrintable(reason));
        QSKIP(qPrintable(reason));
    }
}

void TestPrintCups::printsThroughTheQueue()
{
    const TPromptStub prompts;
    // A title of this run only: cups-pdf names its file after the job's title.
    const QString title = QStringLiteral("OrviCups%1x%2")
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDateTime::currentMSecsSinceEpoch());
    TPolarGraph first, second;
    for (TPolarGraph *graph : { &first, &second }) {
        graph->ApplyDocumentDefaults();
        TSeries *series = graph->GetSeries(0);
        for (int a = 0; a < 360; a += 10)
            series->Add(a, -6.0);
    }
    first.SetTitle(title);
    second.SetTitle(QStringLiteral("DrugiWykres"));

    TFrmPrint dialog({ { title, &first }, { QStringLiteral("Drugi"), &second } });
    dialog.Printer().setPrinterName(m_queue);
    QCOMPARE(dialog.Printer().outputFormat(), QPrinter::NativeFormat);
    QCOMPARE(TPrintJob::TargetName(dialog.Printer()), m_queue);
    auto *src = dialog.findChild<QListWidget *>(QStringLiteral("lstSrc"));
    for (int i = 0; i < 2; ++i) {
        src->setCurrentRow(0);
        dialog.SpeedButton1Click();
    }
    dialog.show();
    dialog.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY2(prompts.Messages.isEmpty(),
             prompts.Messages.isEmpty() ? "" : qPrintable(prompts.Messages.first().Text));
    QVERIFY(!first.PrintMode() && !second.PrintMode());

    // The job runs through the server's filters and the backend: real time, seconds.
    QString printed;
    const QDir out(m_out);
    QVERIFY2(QTest::qWaitFor(
                 [&] {
                     for (const QFileInfo &f : out.entryInfoList(QDir::Files)) {
                         if (f.fileName().contains(title) && f.size() > 0) {
                             printed = f.filePath();
                             return true;
                         }
                     }
                     return false;
                 },
                 60000),
             qPrintable(QStringLiteral("no PDF of %1 in %2").arg(title, m_out)));
    // Written by the backend in one go once the job is done; let it finish.
    QTest::qWait(500);
    QFile pdf(printed);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(4) == "%PDF");
    pdf.close();
    // One sheet, and the job carried the first chart's title.
    if (!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), { printed });
        QVERIFY(info.waitForFinished(60000));
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))),
                 qPrintable(text));
        QVERIFY2(text.contains(title), qPrintable(text));
    }
    QFile::remove(printed);
}

QTEST_MAIN(TestPrintCups)
#include "tst_PrintCups.moc"
