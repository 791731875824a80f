// A measurement on the simulated rig whose sound device stops returning buffers part way
// through the turn (the loopback stalls as a dead sound server does): the run ends as on a
// write error, with one message, no series and the document unchanged.

#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/MeasurementAction.h"
#include "app/ui/ToolWindows.h"
#include "audio/AudioIn.h"
#include "audio/AudioOut.h"
#include "audio/LoopbackBus.h"
#include "audio/ui/FrmGenerator.h"
#include "audio/ui/FrmMeter.h"
#include "chart/PolarGraph.h"
#include "controls/ui/QvLed.h"
#include "document/ui/FrmChild.h"
#include "helpers/MainFixture.h"
#include "helpers/MeasurementScript.h"
#include "measurement/MeasurementRun.h"
#include "measurement/ui/FrmParametry.h"
#include "measurement/ui/FrmPomiar.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

class TestMeasurementStall : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }
    void deadSoundDeviceEndsTheRunWithoutSeries();

private:
    TMainFixture m_fixture;
};

void TestMeasurementStall::deadSoundDeviceEndsTheRunWithoutSeries()
{
    auto main = m_fixture.MakeMain();
    CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock });
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    using W = TFrmMain::EToolWindow;
    auto *generator = qobject_cast<TFrmGenerator *>(main->ToolWindow(W::Generator));
    auto *meter = qobject_cast<TFrmMeter *>(main->ToolWindow(W::Meter));
    QVERIFY(generator && meter);

    // 6 s into the turn over -90..90 (18 s) the sound server dies.
    std::unique_ptr<TClockTimer> death = m_fixture.Clock.CreateTimer();
    death->OnTimeout = [&] {
        death->Stop();
        TLoopbackBus::Instance().SetStalled(true);
    };
    qint64 stalledAt = -1, endedAt = -1;
    QString status;
    TMeasurementScript script;
    script.BeforeStart = [&](TFrmPomiar &pomiar) {
        QObject::connect(&pomiar.Run(), &TMeasurementRun::Changed, &pomiar, [&] {
            if (pomiar.Run().Heading() == TMeasurementRun::HeadingMeasure && stalledAt < 0
                && !death->IsActive()) {
                death->Start(6000);
                stalledAt = m_fixture.Clock.NowMs() + 6000;
            }
        });
    };
    script.AfterRun = [&](TFrmPomiar &pomiar) {
        endedAt = m_fixture.Clock.NowMs();
        status = pomiar.lblStatus().text();
    };
    TMeasurementAction::Exec() = script;
    main->Actions().acDodaj->trigger();

    QVERIFY(stalledAt > 0);
    QCOMPARE(status, TMeasurementRun::StatusInterrupted);
    // The run ended soon after the stall limit, not at the end of the turn.
    QVERIFY2(endedAt - stalledAt < 2000 + 1500, qPrintable(QString::number(endedAt - stalledAt)));
    QCOMPARE(doc->Graph().SeriesCount(), 0);
    QVERIFY(!doc->Modified());
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    const QString text = m_fixture.Prompts->Messages.front().Text;
    QVERIFY2(text.contains(QStringLiteral("serwer dźwięku nie odpowiada"))
                 && text.endsWith(QStringLiteral("Pomiar został przerwany.")),
             qPrintable(text));
    m_fixture.Clock.Advance(10);
    QVERIFY(!meter->Led().Active());
    QVERIFY(!generator->GenLed().Active());
    QVERIFY(!generator->Generating());
}

QTEST_MAIN(TestMeasurementStall)
#include "tst_measurementstall.moc"
