// "Analiza nagrania": what the recording is, which bands its signal can give, and a band
// text that does not parse keeping the dialog open.

#include "document_ui/helpers/PromptStub.h"
#include "measurement/ui/BroadbandGroup.h"
#include "measurement/ui/FrmAnaliza.h"
#include "measurement/ui/SeriesGroup.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestFrmAnaliza : public QObject
{
    Q_OBJECT

private slots:
    void signalDecidesWhatCanBeAnalysed_data();
    void signalDecidesWhatCanBeAnalysed();
    void badBandsKeepTheDialogOpen();
};

void TestFrmAnaliza::signalDecidesWhatCanBeAnalysed_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<QString>("bands");
    QTest::addColumn<bool>("ok");
    QTest::newRow("MLS") << int(TSignalType::MLS) << 1000.0 << "500, 16000" << true;
    QTest::newRow("chirp to 20 kHz") << int(TSignalType::Chirp) << 20000.0 << "16000" << true;
    QTest::newRow("chirp below the band") << int(TSignalType::Chirp) << 5000.0 << "8000" << false;
    QTest::newRow("sine") << int(TSignalType::Sinus) << 1000.0 << "1000" << false;
}

void TestFrmAnaliza::signalDecidesWhatCanBeAnalysed()
{
    QFETCH(int, signal);
    QFETCH(double, frequency);
    QFETCH(QString, bands);
    QFETCH(bool, ok);
    TMarkerLog log;
    log.Signal = TSignalType(signal);
    log.FrequencyHz = frequency;
    log.StartDeg = -90;
    log.StopDeg = 90;
    TFrmAnaliza dialog(QStringLiteral("/x/Pomiary/2026-12-09 10-00-00 Pomiar 1.wav"), log);
    dialog.gbSzerokopasmowa().edPasma().setText(bands);
    QVERIFY(dialog.lblNagranie().text().startsWith(
        QStringLiteral("2026-12-09 10-00-00 Pomiar 1.wav: ") + SignalTypeName(log.Signal)));
    QVERIFY(dialog.lblNagranie().text().contains(QStringLiteral("-90°..90°, 44100 Hz")));
    QCOMPARE(dialog.btnOK().isEnabled(), ok);
    QCOMPARE(dialog.lblSzerokopasmowa().text().isEmpty(), ok);
}

void TestFrmAnaliza::badBandsKeepTheDialogOpen()
{
    TPromptStub prompts;
    TFrmAnaliza dialog(QStringLiteral("a.wav"), TMarkerLog {});
    dialog.gbSeria().SetName(QStringLiteral("Pomiar 3"));
    dialog.show();
    dialog.gbSzerokopasmowa().edPasma().setText(QStringLiteral("2000, 1000"));
    dialog.btnOK().click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(prompts.Messages.size(), 1);
    QCOMPARE(prompts.Messages.front().Icon, QMessageBox::Warning);
    dialog.gbSzerokopasmowa().edPasma().setText(QStringLiteral("1000, 2000"));
    QComboBox &smoothing = dialog.gbSzerokopasmowa().cbWygladzanie();
    smoothing.setCurrentIndex(smoothing.findData(12));
    dialog.btnOK().click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.gbSeria().Name(), QStringLiteral("Pomiar 3"));
    QCOMPARE(dialog.BroadbandOptions().BandsHz, (std::vector<double> { 1000, 2000 }));
    QCOMPARE(dialog.BroadbandOptions().Smoothing, 12);
}

QTEST_MAIN(TestFrmAnaliza)
#include "tst_frmanaliza.moc"
