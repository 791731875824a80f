// The "Nowy pomiar" dialog over a real generator window and a real turntable window (on a
// simulated port): what it copies when created, the octave steps of the frequency arrows,
// the fields acting at once on both windows (also after Cancel), the external generator
// switch, what the caller presets and reads, and the broadband analysis options: which
// signals allow them, what OK returns and the warning that keeps the dialog open.

#include "audio/AudioBackend.h"
#include "audio/ui/FrmGenerator.h"
#include "controls/VirtualClock.h"
#include "controls/ui/ColorComboBox.h"
#include "document_ui/helpers/PromptStub.h"
#include "measurement/ui/FrmParametry.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/PortBackends.h"
#include "turntable/TurntableController.h"
#include "turntable/ui/FrmStolikKontrol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {

// The two windows the dialog works on, as the program creates them at start-up.
struct TRig
{
    TVirtualClock Clock;
    TFrmGenerator Generator;
    std::unique_ptr<TFrmStolikKontrol> Turntable;

    TRig()
    {
        auto port = std::make_unique<TDLPrinterPortIO>(CreateSimulatedPortBackend(Clock, nullptr));
        Turntable = std::make_unique<TFrmStolikKontrol>(
            std::make_unique<TTurntableController>(std::move(port), Clock));
    }
};

} // namespace

class TstFrmParametry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void creationCopiesBothWindows_data();
    void creationCopiesBothWindows();
    void frequencyArrows_data();
    void frequencyArrows();
    void signalFieldsActOnTheGenerator();
    void rangeFieldsActOnTheTurntable();
    void switchingToRangeRunsTheShownRange();
    void cancelKeepsTheNewFrequency();
    void externalGeneratorDisablesTheSignalFields();
    void presetAndReadBack();
    void textsFitTheirControls_data();
    void textsFitTheirControls();
    void broadbandDefaults();
    void broadbandOptionsAfterOk_data();
    void broadbandOptionsAfterOk();
    void broadbandRefused_data();
    void broadbandRefused();
    void broadbandHintFollowsTheFields();
    void badBandListKeepsTheDialogOpen();
    void broadbandRememberedForTheNext_data();
    void broadbandRememberedForTheNext();
};

void TstFrmParametry::initTestCase()
{
    TAudioBackend::SetDefault(EAudioBackend::Loopback);
}

void TstFrmParametry::creationCopiesBothWindows_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<bool>("full");
    QTest::addColumn<int>("shownStart");
    QTest::addColumn<int>("shownStop");

    // The turntable's own range fields hold -30..120 in every row.
    QTest::newRow("full turn shows 0..360") << 5 << 250.0 << 70.0 << true << 0 << 360;
    QTest::newRow("range") << 3 << 3150.0 << 40.0 << false << -30 << 120;
}

void TstFrmParametry::creationCopiesBothWindows()
{
    QFETCH(int, signal);
    QFETCH(double, frequency);
    QFETCH(double, amplitude);
    QFETCH(bool, full);
    QFETCH(int, shownStart);
    QFETCH(int, shownStop);

    TRig rig;
    rig.Generator.SetSignal(TFrmGenerator::SignalItems[size_t(signal)].Signal);
    rig.Generator.SetFrequency(frequency);
    rig.Generator.SetAmplitude(amplitude);
    rig.Turntable->SetStartField(-30);
    rig.Turntable->SetStopField(120);
    rig.Turntable->SetFullTurn(full);

    const double before = rig.Generator.GetFrequency();
    TFrmParametry dialog(rig.Generator, *rig.Turntable);

    QCOMPARE(dialog.cbSygnal().count(), rig.Generator.cbSygnal().count());
    QCOMPARE(dialog.cbSygnal().currentIndex(), signal);
    QCOMPARE(dialog.cbSygnal().currentText(), rig.Generator.cbSygnal().currentText());
    QCOMPARE(dialog.seFreq().value(), int(frequency));
    QCOMPARE(dialog.seAmp().value(), int(amplitude));
    QCOMPARE(dialog.rbFull().isChecked(), full);
    QCOMPARE(dialog.rbRange().isChecked(), !full);
    QCOMPARE(dialog.edStart().value(), shownStart);
    QCOMPARE(dialog.edStop().value(), shownStop);
    QCOMPARE(dialog.edStart().isEnabled(), !full);
    QCOMPARE(dialog.edStop().isEnabled(), !full);
    QVERIFY(dialog.rbWewnetrzny().isChecked());
    QVERIFY(dialog.seFreq().isEnabled());

    // Opening the dialog changes neither window.
    QCOMPARE(rig.Generator.GetFrequency(), before);
    QCOMPARE(rig.Turntable->IsFullTurn(), full);
    QCOMPARE(rig.Turntable->edStart->value(), -30);
    QCOMPARE(rig.Turntable->edStop->value(), 120);
}

void TstFrmParametry::frequencyArrows_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");

    QTest::newRow("1000 up") << 1000 << int(Qt::Key_Up) << 2000;
    QTest::newRow("1000 down") << 1000 << int(Qt::Key_Down) << 500;
    QTest::newRow("999 up: the step reaches 1000 first") << 999 << int(Qt::Key_Up) << 2000;
    QTest::newRow("1001 down: the step reaches 1000 first") << 1001 << int(Qt::Key_Down) << 500;
    QTest::newRow("21 down") << 21 << int(Qt::Key_Down) << 20;
    QTest::newRow("20 down stays") << 20 << int(Qt::Key_Down) << 20;
    QTest::newRow("16000 up") << 16000 << int(Qt::Key_Up) << 20000;
    QTest::newRow("20000 up stays") << 20000 << int(Qt::Key_Up) << 20000;
}

void TstFrmParametry::frequencyArrows()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);

    TRig rig;
    TFrmParametry dialog(rig.Generator, *rig.Turntable);
    dialog.seFreq().setValue(from);
    QList<int> seen;
    connect(&dialog.seFreq(), &QSpinBox::valueChanged, this, [&](int v) { seen << v; });

    QTest::keyClick(&dialog.seFreq(), Qt::Key(key));

    QCOMPARE(dialog.seFreq().value(), to);
    QCOMPARE(rig.Generator.GetFrequency(), double(to));
    QCOMPARE(rig.Generator.seFreq().value(), to);
    // The field's own step of 1 is applied (and handled) before the octave step.
    if (to != from) {
        QVERIFY(seen.size() >= 1);
        QCOMPARE(seen.first(), key == Qt::Key_Up ? from + 1 : from - 1);
        QCOMPARE(seen.last(), to);
    }
}

void TstFrmParametry::signalFieldsActOnTheGenerator()
{
    TRig rig;
    TFrmParametry dialog(rig.Generator, *rig.Turntable);

    dialog.cbSygnal().setCurrentIndex(5);
    QCOMPARE(rig.Generator.cbSygnal().currentIndex(), 5);
    QCOMPARE(rig.Generator.Generator().Signal(), TFrmGenerator::SignalItems[5].Signal);

    // The generator window may have moved on meanwhile; picking again still sets its signal.
    rig.Generator.cbSygnal().setCurrentIndex(1);
    dialog.cbSygnal().setCurrentIndex(2);
    QCOMPARE(rig.Generator.Generator().Signal(), TFrmGenerator::SignalItems[2].Signal);

    dialog.seFreq().setValue(4321);
    QCOMPARE(rig.Generator.GetFrequency(), 4321.0);
    dialog.seAmp().setValue(30);
    QCOMPARE(rig.Generator.GetAmplitude(), 30.0);
    QCOMPARE(rig.Generator.seAmp().value(), 30);
}

void TstFrmParametry::rangeFieldsActOnTheTurntable()
{
    TRig rig;
    TFrmParametry dialog(rig.Generator, *rig.Turntable);

    QTest::mouseClick(&dialog.rbRange(), Qt::LeftButton);
    QVERIFY(!rig.Turntable->IsFullTurn());
    QVERIFY(dialog.edStart().isEnabled());
    dialog.edStart().setValue(-90);
    dialog.edStop().setValue(90);
    QCOMPARE(rig.Turntable->StartAngle(), -90);
    QCOMPARE(rig.Turntable->StopAngle(), 90);

    QTest::mouseClick(&dialog.rbFull(), Qt::LeftButton);
    QVERIFY(rig.Turntable->IsFullTurn());
    QVERIFY(!dialog.edStart().isEnabled());
    QVERIFY(!dialog.edStop().isEnabled());
    QCOMPARE(rig.Turntable->StopAngle(), 360);
}

void TstFrmParametry::switchingToRangeRunsTheShownRange()
{
    TRig rig;
    rig.Turntable->SetStartField(-90);
    rig.Turntable->SetStopField(90);
    TFrmParametry dialog(rig.Generator, *rig.Turntable); // full turn: shows 0..360

    QTest::mouseClick(&dialog.rbRange(), Qt::LeftButton);

    QCOMPARE(rig.Turntable->StartAngle(), dialog.edStart().value());
    QCOMPARE(rig.Turntable->StopAngle(), dialog.edStop().value());
}

void TstFrmParametry::cancelKeepsTheNewFrequency()
{
    TRig rig;
    {
        TFrmParametry dialog(rig.Generator, *rig.Turntable);
        dialog.show();
        dialog.seFreq().setValue(2500);
        QTest::mouseClick(&dialog.btnAnuluj(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    QCOMPARE(rig.Generator.GetFrequency(), 2500.0);
    QCOMPARE(rig.Generator.seFreq().value(), 2500);
}

void TstFrmParametry::externalGeneratorDisablesTheSignalFields()
{
    TRig rig;
    TFrmParametry dialog(rig.Generator, *rig.Turntable);
    dialog.cbSygnal().setCurrentIndex(3);
    dialog.seFreq().setValue(4000);
    dialog.seAmp().setValue(50);

    QTest::mouseClick(&dialog.rbZewnetrzny(), Qt::LeftButton);

    QVERIFY(!dialog.InternalGenerator());
    QList<QWidget *> fields = { &dialog.cbSygnal(), &dialog.seFreq(), &dialog.seAmp() };
    for (QWidget *field : fields)
        QVERIFY2(!field->isEnabled(), qPrintable(field->objectName()));
    QVERIFY(dialog.rbWewnetrzny().isEnabled());
    QCOMPARE(dialog.cbSygnal().currentIndex(), 3);
    QCOMPARE(dialog.seFreq().value(), 4000);
    QCOMPARE(dialog.seAmp().value(), 50);
    QCOMPARE(rig.Generator.GetFrequency(), 4000.0);

    QTest::mouseClick(&dialog.rbWewnetrzny(), Qt::LeftButton);
    QVERIFY(dialog.InternalGenerator());
    for (QWidget *field : fields)
        QVERIFY2(field->isEnabled(), qPrintable(field->objectName()));
}

void TstFrmParametry::presetAndReadBack()
{
    TRig rig;
    TFrmParametry dialog(rig.Generator, *rig.Turntable);
    dialog.SetSeriesName(QStringLiteral("Pomiar 3"));
    dialog.SetSeriesColor(0x0000FF);
    QCOMPARE(dialog.ColorComboBox1().currentText(), QStringLiteral("Czerwony"));

    dialog.show();
    QTest::keyClicks(&dialog.Edit1(), QStringLiteral(" bok"));
    QTest::mouseClick(&dialog.btnOK(), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.SeriesName(), QStringLiteral("Pomiar 3 bok"));
    QCOMPARE(dialog.SeriesColor(), quint32(0x0000FF));
    QVERIFY(dialog.InternalGenerator());
}

void TstFrmParametry::textsFitTheirControls_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("broadband"); // MLS, the analysis on, a gate length

    QTest::newRow("default") << QString() << 0 << false;
    QTest::newRow("Arial") << QStringLiteral("Arial") << 8 << false; // Liberation Sans here
    QTest::newRow("DejaVu Sans 11") << QStringLiteral("DejaVu Sans") << 11 << false;
    QTest::newRow("DejaVu Sans 11 broadband") << QStringLiteral("DejaVu Sans") << 11 << true;
}

void TstFrmParametry::textsFitTheirControls()
{
    // The layout must give every caption its full size in the fonts of this platform. A
    // picture for a person to look at: ORVI_SCREENSHOT names the file, each font's row name
    // is added before its extension.
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(bool, broadband);
    TRig rig;
    if (broadband)
        rig.Generator.SetSignal(TSignalType::MLS);
    TFrmParametry dialog(rig.Generator, *rig.Turntable);
    if (!family.isEmpty())
        dialog.setFont(QFont(family, points));
    dialog.gbSzerokopasmowa().setChecked(broadband);
    dialog.chkBramkaAuto().setChecked(!broadband);
    dialog.SetSeriesName(QStringLiteral("Pomiar 1"));
    dialog.SetSeriesColor(0xFFFFFF);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    const QList<QWidget *> controls = dialog.findChildren<QWidget *>();
    int checked = 0;
    for (QWidget *w : controls) {
        QSize needed;
        auto *label = qobject_cast<QLabel *>(w);
        if (label && label->wordWrap()) // any width will do, given the height for it
            needed = QSize(0, label->heightForWidth(label->width()));
        else if (label || qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w))
            needed = w->sizeHint();
        else if (qobject_cast<QGroupBox *>(w))
            needed = w->minimumSizeHint();
        else
            continue;
        ++checked;
        const QString what = w->metaObject()->className() + QLatin1Char(' ') + w->objectName();
        QVERIFY2(w->width() >= needed.width() && w->height() >= needed.height(), qPrintable(what));
    }
    QVERIFY(checked >= 18); // 7 labels, 6 buttons, 2 lists, 3 groups
    const QLineEdit &bands = dialog.edPasma();
    QVERIFY(bands.width() > bands.fontMetrics().horizontalAdvance(bands.text()));

    QString target = QString::fromLocal8Bit(qgetenv("ORVI_SCREENSHOT"));
    if (!target.isEmpty()) {
        const QFileInfo file(target);
        target = file.path() + QLatin1Char('/') + file.completeBaseName() + QLatin1Char('-')
            + QString::fromLatin1(QTest::currentDataTag()).remove(QLatin1Char(' '))
            + QLatin1Char('.') + file.suffix();
        QVERIFY(dialog.grab().save(target));
    }
}

void TstFrmParametry::broadbandDefaults()
{
    TRig rig;
    rig.Generator.SetSignal(TSignalType::MLS);
    TFrmParametry dialog(rig.Generator, *rig.Turntable);

    QVERIFY(dialog.gbSzerokopasmowa().isEnabled());
    QVERIFY(!dialog.gbSzerokopasmowa().isChecked());
    QVERIFY(!dialog.Broadband());
    QCOMPARE(dialog.edPasma().text(), QStringLiteral("500, 1000, 2000, 4000, 8000, 16000"));
    QCOMPARE(dialog.cbWygladzanie().currentText(), QStringLiteral("brak"));
    QVERIFY(dialog.chkBramkaAuto().isChecked());
    QCOMPARE(dialog.seBramka().value(), 3.0);
    QVERIFY(dialog.lblSzerokopasmowa().text().isEmpty());

    dialog.gbSzerokopasmowa().setChecked(true);
    QVERIFY(dialog.Broadband());
    QVERIFY(dialog.edPasma().isEnabled());
    QVERIFY(!dialog.seBramka().isEnabled()); // the automatic gate needs no length
}

void TstFrmParametry::broadbandOptionsAfterOk_data()
{
    QTest::addColumn<QString>("bands");
    QTest::addColumn<QString>("smoothing");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<QList<double>>("expectedBands");
    QTest::addColumn<int>("expectedSmoothing");
    QTest::addColumn<double>("expectedGate");

    QTest::newRow("1/6, automatic gate")
        << QStringLiteral("250, 1000 4000") << QStringLiteral("1/6 oktawy") << true
        << QList<double> { 250, 1000, 4000 } << 6 << 0.0;
    QTest::newRow("none, 7.5 ms gate") << QStringLiteral("1000") << QStringLiteral("brak") << false
                                       << QList<double> { 1000 } << 0 << 7.5;
    QTest::newRow("1/24") << QStringLiteral("100;200") << QStringLiteral("1/24 oktawy") << false
                          << QList<double> { 100, 200 } << 24 << 7.5;
}

void TstFrmParametry::broadbandOptionsAfterOk()
{
    QFETCH(QString, bands);
    QFETCH(QString, smoothing);
    QFETCH(bool, automatic);
    QFETCH(QList<double>, expectedBands);
    QFETCH(int, expectedSmoothing);
    QFETCH(double, expectedGate);

    TRig rig;
    rig.Generator.SetSignal(TSignalType::MLS);
    TFrmParametry dialog(rig.Generator, *rig.Turntable);
    dialog.show();
    dialog.gbSzerokopasmowa().setChecked(true);
    dialog.edPasma().setText(bands);
    dialog.cbWygladzanie().setCurrentText(smoothing);
    QCOMPARE(dialog.cbWygladzanie().currentText(), smoothing);
    if (!automatic)
        QTest::mouseClick(&dialog.chkBramkaAuto(), Qt::LeftButton);
    QCOMPARE(dialog.seBramka().isEnabled(), !automatic);
    dialog.seBramka().setValue(7.5); // unused with the automatic gate
    QTest::mouseClick(&dialog.btnOK(), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.Broadband());
    const TBroadbandOptions options = dialog.BroadbandOptions();
    QCOMPARE(QList<double>(options.BandsHz.begin(), options.BandsHz.end()), expectedBands);
    QCOMPARE(options.Smoothing, expectedSmoothing);
    QCOMPARE(options.GateMs, expectedGate);
}

void TstFrmParametry::broadbandRefused_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<bool>("external");
    QTest::addColumn<bool>("bandsOpen"); // the band field stays usable

    QTest::newRow("Sinus") << int(TSignalType::Sinus) << 1000.0 << false << false;
    QTest::newRow("Impuls") << int(TSignalType::Impuls) << 1000.0 << false << false;
    QTest::newRow("MLS, external generator") << int(TSignalType::MLS) << 1000.0 << true << false;
    QTest::newRow("Chirp ending below 16 kHz")
        << int(TSignalType::Chirp) << 8000.0 << false << true;
}

void TstFrmParametry::broadbandRefused()
{
    QFETCH(int, signal);
    QFETCH(double, frequency);
    QFETCH(bool, external);
    QFETCH(bool, bandsOpen);

    TRig rig;
    rig.Generator.SetSignal(TSignalType(signal));
    rig.Generator.SetFrequency(frequency);
    TFrmParametry dialog(rig.Generator, *rig.Turntable);
    dialog.gbSzerokopasmowa().setChecked(true);
    if (external)
        QTest::mouseClick(&dialog.rbZewnetrzny(), Qt::LeftButton);

    QVERIFY(!dialog.lblSzerokopasmowa().text().isEmpty());
    QVERIFY(!dialog.Broadband());
    QCOMPARE(dialog.edPasma().isEnabled(), bandsOpen);
    QVERIFY(!dialog.cbWygladzanie().isEnabled());
    QVERIFY(!dialog.chkBramkaAuto().isEnabled());
    QVERIFY(!dialog.seBramka().isEnabled());

    // Whatever the band text, OK accepts: the analysis is off. (A band field still open is
    // read: an unreadable list may be what the chirp falls short of.)
    if (!bandsOpen) {
        TPromptStub prompts;
        dialog.edPasma().setText(QStringLiteral("x"));
        dialog.btnOK().click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(prompts.Messages.isEmpty());
    }
}

void TstFrmParametry::broadbandHintFollowsTheFields()
{
    TRig rig;
    rig.Generator.SetSignal(TSignalType::MLS);
    TFrmParametry dialog(rig.Generator, *rig.Turntable);
    dialog.gbSzerokopasmowa().setChecked(true);
    const auto refused = [&] {
        return !dialog.lblSzerokopasmowa().text().isEmpty();
    };
    const int chirp = dialog.cbSygnal().findText(QStringLiteral("Chirp"));
    const int mls = dialog.cbSygnal().findText(QStringLiteral("MLS"));

    dialog.seFreq().setValue(8000);
    dialog.cbSygnal().setCurrentIndex(chirp);
    QVERIFY(refused());
    QVERIFY(!dialog.Broadband());
    dialog.seFreq().setValue(16000);
    QVERIFY(!refused());
    QVERIFY(dialog.Broadband());
    QVERIFY(dialog.cbWygladzanie().isEnabled());
    dialog.seFreq().setValue(8000);
    QVERIFY(refused());
    dialog.edPasma().setText(QStringLiteral("1000, 8000"));
    QVERIFY(!refused());
    QVERIFY(dialog.Broadband());
    dialog.edPasma().setText(QStringLiteral("1000, 10000"));
    QVERIFY(refused());
    dialog.cbSygnal().setCurrentIndex(mls);
    QVERIFY(!refused());
    QVERIFY(dialog.Broadband());
    QVERIFY(dialog.cbWygladzanie().isEnabled());
}

void TstFrmParametry::badBandListKeepsTheDialogOpen()
{
    TRig rig;
    rig.Generator.SetSignal(TSignalType::MLS);
    TFrmParametry dialog(rig.Generator, *rig.Turntable);
    dialog.show();
    dialog.gbSzerokopasmowa().setChecked(true);
    const QString bad = QStringLiteral("2000, 1000");
    dialog.edPasma().setText(bad);
    TPromptStub prompts;

    QTest::mouseClick(&dialog.btnOK(), Qt::LeftButton);

    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != int(QDialog::Accepted));
    QCOMPARE(prompts.Messages.size(), 1);
    QCOMPARE(prompts.Messages[0].Icon, QMessageBox::Warning);
    QString error;
    QVERIFY(!TBroadbandOptions::ParseBands(bad, &error));
    QCOMPARE(prompts.Messages[0].Text, error);
    QCOMPARE(dialog.edPasma().text(), bad); // nothing the user typed is lost

    dialog.edPasma().setText(QStringLiteral("1000, 2000"));
    QTest::mouseClick(&dialog.btnOK(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(prompts.Messages.size(), 1);
}

void TstFrmParametry::broadbandRememberedForTheNext_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("asked");
    QTest::newRow("asked, closed with OK") << true << true;
    QTest::newRow("asked, cancelled") << false << true;
    // Unticked again after an earlier dialog had ticked it: unticked is remembered too.
    QTest::newRow("unticked again, closed with OK") << true << false;
}

void TstFrmParametry::broadbandRememberedForTheNext()
{
    QFETCH(bool, ok);
    QFETCH(bool, asked);
    TRig rig;
    rig.Generator.SetSignal(TSignalType::MLS);
    {
        TFrmParametry first(rig.Generator, *rig.Turntable);
        first.gbSzerokopasmowa().setChecked(true);
        first.btnOK().click();
    }
    {
        TFrmParametry dialog(rig.Generator, *rig.Turntable);
        dialog.show();
        dialog.gbSzerokopasmowa().setChecked(asked);
        dialog.edPasma().setText(QStringLiteral("250, 1000, 6300"));
        dialog.cbWygladzanie().setCurrentText(QStringLiteral("1/6 oktawy"));
        dialog.chkBramkaAuto().setChecked(false);
        dialog.seBramka().setValue(7.5);
        dialog.gbSzerokopasmowa().cbPlaszczyzna().setCurrentText(QStringLiteral("pionowa"));
        QTest::mouseClick(ok ? &dialog.btnOK() : &dialog.btnAnuluj(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(ok ? QDialog::Accepted : QDialog::Rejected));
    }

    TFrmParametry next(rig.Generator, *rig.Turntable);
    next.show();
    QCOMPARE(next.gbSzerokopasmowa().isChecked(), asked);
    QCOMPARE(next.Broadband(), asked);
    QCOMPARE(next.edPasma().text(), QStringLiteral("250, 1000, 6300"));
    QCOMPARE(next.cbWygladzanie().currentText(), QStringLiteral("1/6 oktawy"));
    QVERIFY(!next.chkBramkaAuto().isChecked());
    QCOMPARE(next.seBramka().value(), 7.5);
    QCOMPARE(next.BroadbandOptions().GateMs, 7.5);
    QVERIFY(next.BroadbandOptions().Vertical);
    // The fields open as the remembered state wants: the band field with the tick.
    QCOMPARE(next.edPasma().isEnabled(), asked);

    // Another program run (a new generator window) starts from the defaults.
    TRig fresh;
    TFrmParametry other(fresh.Generator, *fresh.Turntable);
    QVERIFY(!other.gbSzerokopasmowa().isChecked());
    QVERIFY(other.chkBramkaAuto().isChecked());
}

QTEST_MAIN(TstFrmParametry)
#include "tst_frmparametry.moc"
