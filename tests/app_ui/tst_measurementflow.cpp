// "&Dodaj" end to end on the simulated rig and a virtual clock: the parameters dialog, the
// measurement window, the run, and the new series in the document with its "~".

#include "analysis/BroadbandStore.h"
#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/MeasurementAction.h"
#include "app/ui/ToolWindows.h"
#include "audio/LoopbackBus.h"
#include "audio/RecordSlot.h"
#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "document/ui/FrmChild.h"
#include "helpers/MainFixture.h"
#include "helpers/MeasurementScript.h"
#include "measurement/MeasurementRun.h"
#include "measurement/ui/BroadbandGroup.h"
#include "measurement/ui/FrmParametry.h"
#include "measurement/ui/FrmPomiar.h"
#include "turntable/GrblEmulator.h"
#include "turntable/Turntable.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

// Pictures for a person to look at: ORVI_SCREENSHOT names a file prefix.
void SaveShot(QWidget &window, const char *name)
{
    const QString prefix = qEnvironmentVariable("ORVI_SCREENSHOT");
    if (!prefix.isEmpty())
        window.grab().save(prefix + QLatin1Char('-') + QLatin1String(name) + ".png");
}

class TestMeasurementFlow : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }
    void dodajRunsMeasurementIntoActiveDocument_data();
    void dodajRunsMeasurementIntoActiveDocument();
    void dodajNeedsDocumentAndPort();
    void broadbandMeasurementAddsBandsAndKeepsTheRecording();
    void besideAnotherProgramInTheSystemTemporaryFolder();
    void grblFaultEndsTheMeasurement_data();
    void grblFaultEndsTheMeasurement();

private:
    TMainFixture m_fixture;
};

void TestMeasurementFlow::dodajRunsMeasurementIntoActiveDocument_data()
{
    QTest::addColumn<bool>("grbl");
    QTest::newRow("parallel-port table") << false;
    QTest::newRow("Grbl table (orvi --simulate-grbl)") << true;
}

void TestMeasurementFlow::dodajRunsMeasurementIntoActiveDocument()
{
    QFETCH(bool, grbl);
    auto main = m_fixture.MakeMain();
    CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock, grbl });
    QVERIFY(main->Turntable());
    QCOMPARE(main->Turntable()->ReportsPosition(), grbl);
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    doc->Graph().GetSeries(0)->Add(0, 0); // one series made before: Pomiar 2 is proposed
    doc->SetModified(false);
    QVERIFY(main->Actions().acDodaj->isEnabled());

    QStringList seen;
    TMeasurementAction::Exec() = [&](QDialog &dialog) {
        if (auto *p = qobject_cast<TFrmParametry *>(&dialog)) {
            seen << p->windowTitle() << p->Edit1().text();
            [&] {
                QCOMPARE(p->SeriesColor(), quint32(0x008000));
            }();
            p->rbRange().setChecked(true);
            p->edStart().setValue(-90);
            p->edStop().setValue(90);
            SaveShot(*p, "parametry");
            p->btnOK().click();
            return p->result();
        }
        auto *pomiar = qobject_cast<TFrmPomiar *>(&dialog);
        if (!pomiar)
            return int(QDialog::Rejected);
        seen << pomiar->windowTitle();
        // No phase has begun: the heading is as empty as the status.
        seen << QStringLiteral("heading '%1'").arg(pomiar->GroupBox1().title());
        QTest::keyClicks(pomiar, QStringLiteral("kapsel"));
        seen << (pomiar->btnExtra().isVisibleTo(pomiar) ? "+" : "no +");
        pomiar->BitBtn1().click(); // the whole run, on the virtual clock
        seen << pomiar->lblStatus().text();
        seen << QStringLiteral("heading '%1'").arg(pomiar->GroupBox1().title());
        SaveShot(*pomiar, "pomiar");
        seen << (pomiar->BitBtn1().isEnabled() ? "Start enabled" : "Start disabled");
        pomiar->BitBtn2().click();
        return pomiar->result();
    };
    main->Actions().acDodaj->trigger();

    QCOMPARE(seen,
             QStringList({ "Nowy pomiar", "Pomiar 2", "Pomiar", "heading ''", "+", "Gotowe...",
                           "heading ' Pomiar '", "Start disabled" }));
    QCOMPARE(doc->Graph().SeriesCount(), 2);
    const TSeries *s = doc->Graph().GetSeries(1);
    QCOMPARE(s->Name, QStringLiteral("Pomiar 2"));
    QCOMPARE(s->Color(), quint32(0x008000));
    // 18 s over -90..90 in 512-byte blocks at 44100 Hz.
    QVERIFY2(s->Count() > 1500, qPrintable(QString::number(s->Count())));
    QCOMPARE(s->Points().front().Angle, -90.0);
    // The loudspeaker faces 0°: the level there is the reference, the sides are lower.
    double atSide = 0;
    for (const TPolarSample &p : s->Points())
        if (std::abs(p.Angle + 90) < 1)
            atSide = p.Level;
    QVERIFY2(atSide < -1.0, qPrintable(QString::number(atSide)));
    QVERIFY(doc->Modified());
    QVERIFY(doc->Caption().endsWith(QLatin1Char('~')));
    main->resize(1000, 750);
    doc->parentWidget()->showMaximized();
    SaveShot(*main, "main");
}

void TestMeasurementFlow::besideAnotherProgramInTheSystemTemporaryFolder()
{
    // The working folder is the system's temporary folder (kept from an earlier version or
    // chosen by hand), and another running program records there.
    QTemporaryDir systemTemp;
    const QByteArray tmpdir = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([&] {
        if (tmpdir.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", tmpdir);
    });
    qputenv("TMPDIR", QFile::encodeName(systemTemp.path()));
    QVERIFY(TSettings::IsSystemTempFolder(systemTemp.path()));
    TRecordSlot other;
    other.PathIn(systemTemp.path());

    auto main = m_fixture.MakeMain();
    Settings().TempDir = systemTemp.path();
    CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock });
    main->Actions().acNowy->trigger();
    QStringList statuses;
    TMeasurementScript script { -20, 20 };
    script.BeforeStart = [&](TFrmPomiar &pomiar) {
        QObject::connect(&pomiar.Run(), &TMeasurementRun::Changed, &pomiar,
                         [&] { statuses << pomiar.lblStatus().text(); });
    };
    TMeasurementAction::Exec() = script;
    main->Actions().acDodaj->trigger();

    QCOMPARE(main->ActiveDocument()->Graph().SeriesCount(), 1);
    QVERIFY2(statuses.contains(QStringLiteral("Nagrywanie do pliku: temp-2.raw")),
             qPrintable(statuses.join(" | ")));
    QVERIFY(QFile(QDir(systemTemp.path()).filePath("temp-2.raw")).size() > 0);
    QVERIFY(!QFileInfo::exists(QDir(systemTemp.path()).filePath("temp.raw")));
    // The kept recording outlasts a restart: it is in the user's own folder.
    const QDir kept(TSettings::PerUserFolder() + QStringLiteral("/Pomiary"));
    QCOMPARE(kept.entryList({ QStringLiteral("*Pomiar 1.wav") }).size(), 1);
    QVERIFY(!QFileInfo::exists(QDir(systemTemp.path()).filePath("Pomiary")));
}

void TestMeasurementFlow::dodajNeedsDocumentAndPort()
{
    auto main = m_fixture.MakeMain();
    CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock });
    QVERIFY(!main->Actions().acDodaj->isEnabled()); // no document
    main->Actions().acNowy->trigger();
    QVERIFY(main->Actions().acDodaj->isEnabled());
    main->SetPortAvailable(false);
    QVERIFY(!main->Actions().acDodaj->isEnabled());
    // Cancel in the parameters dialog: no measurement window, nothing changes.
    main->SetPortAvailable(true);
    int shown = 0;
    TMeasurementAction::Exec() = [&](QDialog &dialog) {
        ++shown;
        dialog.reject();
        return dialog.result();
    };
    main->Actions().acDodaj->trigger();
    QCOMPARE(shown, 1);
    QCOMPARE(main->ActiveDocument()->Graph().SeriesCount(), 0);
    QVERIFY(!main->ActiveDocument()->Modified());
}

void TestMeasurementFlow::grblFaultEndsTheMeasurement_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("atPercent"); // of the range; -1: in the pause
    QTest::addColumn<QString>("says");
    using F = TGrblEmulator::EFault;
    QTest::newRow("silent while turning") << int(F::Silent) << 40 << "przestał odpowiadać";
    QTest::newRow("silent in the pause") << int(F::Silent) << -1 << "przestał odpowiadać";
    QTest::newRow("cable pulled") << int(F::Drop) << 70 << "przestał odpowiadać";
    QTest::newRow("alarm") << int(F::AlarmMidJog) << -1 << "ALARM:1";
}

// A Grbl table that fails in a measurement: the run stops, no series is added, the document
// stays unchanged, and one message says why.
void TestMeasurementFlow::grblFaultEndsTheMeasurement()
{
    QFETCH(int, fault);
    QFETCH(int, atPercent);
    QFETCH(QString, says);
    auto main = m_fixture.MakeMain();
    CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock, true });
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    TGrblEmulator *board = TGrblEmulator::Instance();
    QVERIFY(board);
    const auto inject = [&] {
        board->SetFault(TGrblEmulator::EFault(fault));
    };
    TTurntable *table = main->Turntable();
    if (atPercent < 0)
        connect(table, &TTurntable::RecordStart, this, inject);
    else
        connect(table, &TTurntable::RangeProgress, this, [&](int percent) {
            if (percent == atPercent)
                inject();
        });
    QString status;
    TMeasurementScript script { -90, 90 };
    script.AfterRun = [&](TFrmPomiar &pomiar) {
        status = pomiar.lblStatus().text();
    };
    TMeasurementAction::Exec() = script;
    main->Actions().acDodaj->trigger();
    QCOMPARE(doc->Graph().SeriesCount(), 0);
    QVERIFY(!doc->Modified());
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    QVERIFY2(m_fixture.Prompts->Messages.front().Text.contains(says),
             qPrintable(m_fixture.Prompts->Messages.front().Text));
    QVERIFY2(!status.startsWith(QStringLiteral("Gotowe")), qPrintable(status));
}

QTEST_MAIN(TestMeasurementFlow)
#include "tst_measurementflow.moc"

void TestMeasurementFlow::broadbandMeasurementAddsBandsAndKeepsTheRecording()
{
    auto main = m_fixture.MakeMain();
    CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock });
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    QStringList warnings;
    QStringList status;
    TMeasurementScript script { -90, 90, QStringLiteral("1000, 4000") };
    script.BeforeStart = [&](TFrmPomiar &pomiar) {
        pomiar.Run().ShowWarning = [&](const QString &text) {
            warnings << text;
        };
    };
    script.AfterRun = [&](TFrmPomiar &pomiar) {
        status = pomiar.lblStatus().text().split('\n');
    };
    TMeasurementAction::Exec() = script;
    main->Actions().acDodaj->trigger();

    // The level series, then one per band, each 0 dB at 0°.
    QCOMPARE(doc->Graph().SeriesCount(), 3);
    QCOMPARE(doc->Graph().GetSeries(1)->Name, QStringLiteral("Pomiar 1 1000 Hz"));
    const TSeries *band = doc->Graph().GetSeries(2);
    QCOMPARE(band->Name, QStringLiteral("Pomiar 1 4000 Hz"));
    QVERIFY(band->Count() > 300);
    double nearest = 1e9;
    double nearZero = 1e9;
    double atSide = 0;
    for (const TPolarSample &p : band->Points()) {
        if (std::abs(p.Angle) < nearest) {
            nearest = std::abs(p.Angle);
            nearZero = p.Level;
        }
        if (std::abs(p.Angle - 60) < 0.5)
            atSide = p.Level;
    }
    QCOMPARE(nearZero, 0.0);
    QVERIFY2(atSide < -15, qPrintable(QString::number(atSide))); // 4 kHz: a narrow beam
    QVERIFY(TBroadbandStore::Instance().Get(&doc->Graph()).Result);
    // Nothing measured is lost: the recording and its marker log are kept.
    const QDir kept(Settings().TempDir + QStringLiteral("/Pomiary"));
    QCOMPARE(kept.entryList({ QStringLiteral("*Pomiar 1.wav") }).size(), 1);
    QCOMPARE(kept.entryList({ QStringLiteral("*Pomiar 1.markers.txt") }).size(), 1);
    // The simulated room has no walls: the gate stays open as far as it looks, and the
    // status says so in a line of its own; that is normal, so no warning box.
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    QCOMPARE(status.size(), 2);
    QCOMPARE(status.front(), TMeasurementRun::StatusDone);
    QVERIFY2(status.back().startsWith(QStringLiteral("Nie znaleziono odbicia")),
             qPrintable(status.back()));
}
