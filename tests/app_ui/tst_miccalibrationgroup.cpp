// "Kalibracja mikrofonu" in the options: a calibration file chosen, refused or removed, the
// sensitivity reaching the settings only on Apply, and the calibrator dialog measuring a
// simulated calibrator on the loopback input under a virtual clock.
#include "app/Settings.h"
#include "app/ui/FrmKalibracja.h"
#include "app/ui/FrmOpcje.h"
#include "audio/AudioBackend.h"
#include "audio/LoopbackBus.h"
#include "controls/FileWriter.h"
#include "helpers/MainFixture.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

template<typename T>
T *Child(QWidget &parent, const char *name)
{
    T *child = parent.findChild<T *>(QLatin1String(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

const QByteArray GoodFile
    = "\"Sens Factor =-1.378dB, SERNO: 7001234\"\n20 -1.5\n1000 0\n20000 2.5\n";

} // namespace

class TestMicCalibrationGroup : public QObject
{
    Q_OBJECT

private:
    TMainFixture m_fixture;

    QString WriteFile(const QString &name, const QByteArray &text)
    {
        const QString path = m_fixture.Path(name);
        if (!TFileWriter::WriteFile(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    void Choose(TFrmOpcje &dialog, const QString &path)
    {
        m_fixture.Prompts->DialogAnswers.push_back({ true, path, 0 });
        Child<QToolButton>(dialog, "btnMicCal")->click();
    }

private slots:
    void initTestCase() { TAudioBackend::SetDefault(EAudioBackend::Loopback); }
    void init() { m_fixture.Init(); }
    void cleanup()
    {
        TLoopbackBus::Instance().ClearTransform();
        TLoopbackBus::Instance().SetUnavailable(false);
        m_fixture.Cleanup();
    }

    void chosenFileAndSensitivityReachTheSettingsOnApply()
    {
        const QString path = WriteFile("mic.txt", GoodFile);
        TFrmOpcje dialog(Settings(), nullptr);
        Choose(dialog, path);
        QCOMPARE(m_fixture.Prompts->Dialogs.size(), 1);
        QCOMPARE(m_fixture.Prompts->Dialogs[0].Kind, TFileDialogRequest::Open);
        QCOMPARE(m_fixture.Prompts->Dialogs[0].Filters,
                 QStringList({ "Pliki kalibracji (*.txt *.cal *.frd)", "Wszystkie pliki (*)" }));
        QCOMPARE(Child<QLineEdit>(dialog, "edMicCal")->text(), QDir::toNativeSeparators(path));
        QCOMPARE(Child<QLabel>(dialog, "lblSensFactor")->text(),
                 QStringLiteral("Sens Factor: −1.38 dB (informacyjnie)"));
        Child<QCheckBox>(dialog, "cbCzulosc")->setChecked(true);
        Child<QDoubleSpinBox>(dialog, "edCzulosc")->setValue(-31.25);
        QCOMPARE(Settings().MicCalFile, QString()); // nothing before Apply
        QVERIFY(!Settings().MicSensitivity);

        Child<QPushButton>(dialog, "ApplyBtn")->click();
        QCOMPARE(Settings().MicCalFile, path);
        QCOMPARE(Settings().MicSensitivity, std::optional<double>(-31.25));
        QVERIFY(m_fixture.Prompts->Messages.isEmpty());

        // "Usuń" and an unticked sensitivity store none of either.
        Child<QPushButton>(dialog, "btnMicCalUsun")->click();
        QCOMPARE(Child<QLineEdit>(dialog, "edMicCal")->text(), QString());
        QCOMPARE(Child<QLabel>(dialog, "lblSensFactor")->text(), QString());
        Child<QCheckBox>(dialog, "cbCzulosc")->setChecked(false);
        Child<QPushButton>(dialog, "ApplyBtn")->click();
        QCOMPARE(Settings().MicCalFile, QString());
        QVERIFY(!Settings().MicSensitivity);

        // A dialog opened afterwards shows what is stored.
        Settings().MicCalFile = path;
        Settings().MicSensitivity = -12.5;
        TFrmOpcje again(Settings(), nullptr);
        QCOMPARE(Child<QLineEdit>(again, "edMicCal")->text(), QDir::toNativeSeparators(path));
        QVERIFY(Child<QCheckBox>(again, "cbCzulosc")->isChecked());
        QCOMPARE(Child<QDoubleSpinBox>(again, "edCzulosc")->value(), -12.5);
    }

    void refusedFileKeepsThePrevious_data()
    {
        QTest::addColumn<QByteArray>("text"); // empty: no such file
        QTest::newRow("not numbers") << QByteArray("20 -1\nmikrofon dB\n");
        QTest::newRow("one point") << QByteArray("1000 0\n");
        QTest::newRow("missing file") << QByteArray();
    }
    void refusedFileKeepsThePrevious()
    {
        QFETCH(QByteArray, text);
        const QString good = WriteFile("mic.txt", GoodFile);
        const QString bad
            = text.isEmpty() ? m_fixture.Path("brak.txt") : WriteFile("zly.txt", text);
        Settings().MicCalFile = good;
        TFrmOpcje dialog(Settings(), nullptr);
        Choose(dialog, bad);
        QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
        QVERIFY2(m_fixture.Prompts->Messages[0].Text.contains(QFileInfo(bad).fileName()),
                 qPrintable(m_fixture.Prompts->Messages[0].Text));
        QCOMPARE(Child<QLineEdit>(dialog, "edMicCal")->text(), QDir::toNativeSeparators(good));
        QVERIFY(Child<QLabel>(dialog, "lblSensFactor")->text().startsWith("Sens Factor"));
        Child<QPushButton>(dialog, "ApplyBtn")->click();
        QCOMPARE(Settings().MicCalFile, good);
    }

    void calibratorOnTheLoopbackInput_data()
    {
        QTest::addColumn<double>("peakDb"); // of the simulated calibrator's sine, re full scale
        QTest::addColumn<bool>("calibrator114");
        QTest::addColumn<bool>("unavailable"); // the input cannot be opened
        QTest::addColumn<double>("sensitivity"); // NaN: refused

        const double refused = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("94 dB SPL") << -20.0 << false << false << -23.01;
        QTest::newRow("114 dB SPL") << -20.0 << true << false << -43.01;
        QTest::newRow("too quiet") << -70.0 << false << false << refused;
        QTest::newRow("input unavailable") << -20.0 << false << true << refused;
    }
    void calibratorOnTheLoopbackInput()
    {
        QFETCH(double, peakDb);
        QFETCH(bool, calibrator114);
        QFETCH(bool, unavailable);
        QFETCH(double, sensitivity);

        Settings().InSampleRate = 48000;
        Settings().RecordBuffSize = 8192;
        TLoopbackBus &bus = TLoopbackBus::Instance();
        bus.SetClock(&m_fixture.Clock);
        bus.SetUnavailable(unavailable);
        const double peak = std::pow(10.0, peakDb / 20.0);
        bus.SetTransform([peak](float *samples, int count, int rate, qint64 position) {
            for (int i = 0; i < count; ++i)
                samples[i]
                    = float(peak * std::sin(2 * M_PI * 1000.0 * double(position + i) / rate));
        });

        TFrmOpcje options(Settings(), nullptr);
        options.show();
        Child<QPushButton>(options, "btnKalibruj")->click();
        auto *calibrator = options.findChild<TFrmKalibracja *>();
        QVERIFY(calibrator && calibrator->isVisible());
        QCOMPARE(calibrator->windowTitle(), QStringLiteral("Kalibracja czułości"));
        Child<QRadioButton>(*calibrator, calibrator114 ? "rb114" : "rb94")->click();
        Child<QPushButton>(*calibrator, "btnPomiar")->click();
        m_fixture.Clock.Advance(TFrmKalibracja::RecordSeconds * 1000 / 2);
        QPushButton *ok = Child<QPushButton>(*calibrator, "btnOK");
        QVERIFY(!ok->isEnabled()); // not before the whole recording
        m_fixture.Clock.Advance(TFrmKalibracja::RecordSeconds * 1000);

        const QString problem = Child<QLabel>(*calibrator, "lblProblem")->text();
        if (std::isnan(sensitivity)) {
            QVERIFY(!ok->isEnabled());
            QVERIFY(!calibrator->SensitivityDbfs());
            QVERIFY(!problem.isEmpty());
            return;
        }
        QVERIFY2(calibrator->SensitivityDbfs(), qPrintable(problem));
        QVERIFY2(std::abs(*calibrator->SensitivityDbfs() - sensitivity) < 0.05,
                 qPrintable(QString::number(*calibrator->SensitivityDbfs())));
        QVERIFY(Child<QLabel>(*calibrator, "lblPoziom")->text().startsWith("Poziom: −23."));
        ok->click();
        QVERIFY(Child<QCheckBox>(options, "cbCzulosc")->isChecked());
        QVERIFY(std::abs(Child<QDoubleSpinBox>(options, "edCzulosc")->value() - sensitivity)
                < 0.05);
        QVERIFY(!Settings().MicSensitivity); // only on Apply
    }
};

QTEST_MAIN(TestMicCalibrationGroup)
#include "tst_miccalibrationgroup.moc"
