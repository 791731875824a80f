// The turntable window over the simulated controller: its controls and their modes, the
// buttons' commands, the lamps following the state, the marker lamp and broadcast, the
// message to the main window when a return to 0 ends, and the boxes it shows.

#include "helpers/TurntableRig.h"

#include "controls/Messages.h"
#include "controls/ui/FormHelpers.h"
#include "controls/ui/QvLed.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/GrblEmulator.h"
#include "turntable/GrblTable.h"
#include "turntable/ui/FrmStolikKontrol.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

namespace {

// Stands in for the main window: writes down the TurntableMark events it gets with the
// controller's state and angle at that moment, and steps the angle as the main window does.
class TStandInMain : public QWidget
{
public:
    TTurntableController *Controller = nullptr;
    QList<int> StatesSeen;
    QList<int> AnglesShown;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == OrviMessage::TurntableMark && Controller) {
            const int state = Controller->MotionState();
            int angle = Controller->CurrentAngle();
            if (state == 1 || state == 4)
                angle = (angle + 350) % 360;
            else if (state == 2)
                angle = (angle + 10) % 360;
            Controller->SetCurrentAngle(angle);
            StatesSeen << state;
            AnglesShown << angle;
            return true;
        }
        return QWidget::event(event);
    }
};

struct TWindowRig
{
    TTurntableRig Rig;
    TTurntableController *Controller = Rig.Controller.get();
    TStandInMain Main;
    std::unique_ptr<TFrmStolikKontrol> Window;
    QStringList Errors, Warnings;

    TWindowRig()
    {
        RegisterForm(&Main);
        Main.Controller = Controller;
        Window = std::make_unique<TFrmStolikKontrol>(std::move(Rig.Controller));
        Window->SetMainWindow(&Main);
        Window->ShowErrorBox = [this](const QString &t) {
            Errors << t;
        };
        Window->ShowWarningBox = [this](const QString &t) {
            Warnings << t;
        };
    }
};

} // namespace

class TstFrmStolikKontrol : public QObject
{
    Q_OBJECT

private slots:
    void controls_data();
    void controls();
    void fieldRanges_data();
    void fieldRanges();
    void modesEnableGroups_data();
    void modesEnableGroups();
    void anglesFollowMode();
    void lampsFollowState();
    void markerFlashesAndBroadcasts();
    void flashDoesNotHoldMarkerTimer();
    void returnToZeroTellsMainWindow();
    void stepButtonsStep_data();
    void stepButtonsStep();
    void invalidRangeShowsErrorBox();
    void failedPortWarns();
    void programClosingStopsRun();
    void grblTableFromTheButtons();
};

void TstFrmStolikKontrol::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("rbFull") << "rbFull" << QString::fromUtf8("&Pełny obrót");
    QTest::newRow("rbRange") << "rbRange" << QString::fromUtf8("Prz&edział");
    QTest::newRow("rbStep") << "rbStep"
                            << "K&rok";
    QTest::newRow("btnStart") << "btnStart"
                              << "&Start";
    QTest::newRow("btnStop") << "btnStop"
                             << "S&top";
    QTest::newRow("btnWstecz") << "btnWstecz"
                               << "&Wstecz";
    QTest::newRow("btnReset") << "btnReset"
                              << "R&eset";
}

void TstFrmStolikKontrol::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    TWindowRig w;
    QCOMPARE(w.Window->windowTitle(), QString("Kontroler stolika"));
    auto *button = w.Window->findChild<QAbstractButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);

    QStringList labels;
    for (QLabel *label : w.Window->findChildren<QLabel *>())
        labels << label->text();
    for (const char *text : { "Zakres pomiaru:", "&Od", "&Do", "O &kąt", "Marker" })
        QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    QCOMPARE(w.Window->lblStart->buddy(), w.Window->edStart);
    QCOMPARE(w.Window->lblStep->buddy(), w.Window->edStep);
}

void TstFrmStolikKontrol::fieldRanges_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::newRow("edStart") << "edStart" << -180 << 180;
    QTest::newRow("edStop") << "edStop" << 0 << 360;
    QTest::newRow("edStep") << "edStep" << 0 << 360;
}

void TstFrmStolikKontrol::fieldRanges()
{
    QFETCH(QString, name);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    TWindowRig w;
    auto *field = w.Window->findChild<QSpinBox *>(name);
    QVERIFY(field);
    QCOMPARE(field->minimum(), minimum);
    QCOMPARE(field->maximum(), maximum);
    QCOMPARE(field->singleStep(), 10);
    QCOMPARE(field->value(), 0);
}

void TstFrmStolikKontrol::modesEnableGroups_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("rangeFields");
    QTest::addColumn<bool>("stepField");
    QTest::addColumn<bool>("back");
    QTest::newRow("full") << "rbFull" << false << false << true;
    QTest::newRow("range") << "rbRange" << true << false << false;
    QTest::newRow("step") << "rbStep" << false << true << true;
}

void TstFrmStolikKontrol::modesEnableGroups()
{
    QFETCH(QString, mode);
    QFETCH(bool, rangeFields);
    QFETCH(bool, stepField);
    QFETCH(bool, back);
    TWindowRig w;
    QVERIFY(w.Window->rbFull->isChecked());
    // Go through another mode first so that each row is a change.
    (mode == "rbStep" ? w.Window->rbRange : w.Window->rbStep)->click();
    w.Window->findChild<QRadioButton *>(mode)->click();
    for (QWidget *c :
         { static_cast<QWidget *>(w.Window->lblStart), static_cast<QWidget *>(w.Window->edStart),
           static_cast<QWidget *>(w.Window->lblStop), static_cast<QWidget *>(w.Window->edStop) })
        QCOMPARE(c->isEnabled(), rangeFields);
    QCOMPARE(w.Window->lblStep->isEnabled(), stepField);
    QCOMPARE(w.Window->edStep->isEnabled(), stepField);
    QCOMPARE(w.Window->btnWstecz->isEnabled(), back);
    QVERIFY(w.Window->btnStart->isEnabled() && w.Window->btnStop->isEnabled()
            && w.Window->btnReset->isEnabled());
}

void TstFrmStolikKontrol::anglesFollowMode()
{
    TWindowRig w;
    w.Window->SetStartField(-30);
    w.Window->SetStopField(120);
    QVERIFY(w.Window->IsFullTurn());
    QCOMPARE(w.Window->StartAngle(), 0);
    QCOMPARE(w.Window->StopAngle(), 360);
    w.Window->SetFullTurn(false);
    QVERIFY(w.Window->rbRange->isChecked());
    QVERIFY(w.Window->edStart->isEnabled());
    QCOMPARE(w.Window->StartAngle(), -30);
    QCOMPARE(w.Window->StopAngle(), 120);
    w.Window->SetFullTurn(true);
    QVERIFY(!w.Window->edStart->isEnabled());
    QCOMPARE(w.Window->StopAngle(), 360);
}

void TstFrmStolikKontrol::lampsFollowState()
{
    TWindowRig w;
    TFrmStolikKontrol &f = *w.Window;
    QVERIFY(f.ledStart->Active()); // lit before the first state is seen
    QCOMPARE(f.ledMark->LedColor(), lcRed);
    QCOMPARE(f.ledStop->OnColor(), quint32(0x00FF00));
    QCOMPARE(f.ledStop->OffColor(), quint32(0x008000));
    QVERIFY(f.OpenPort(1));
    QVERIFY(w.Warnings.isEmpty());

    auto lit = [&] {
        QStringList names;
        for (TQvLed *led : { f.ledStart, f.ledStop, f.ledWstecz, f.ledReset })
            if (led->Active())
                names << led->objectName();
        return names;
    };
    w.Rig.Simulated->SetTrueAngle(90); // so that a return to 0 takes a while
    w.Rig.Clock.Advance(150);
    QCOMPARE(lit(), QStringList({ "ledStop" }));
    f.btnStart->click();
    w.Rig.Clock.Advance(150);
    QCOMPARE(lit(), QStringList({ "ledStart" }));
    f.btnWstecz->click();
    w.Rig.Clock.Advance(150);
    QCOMPARE(lit(), QStringList({ "ledWstecz" }));
    f.btnReset->click();
    w.Rig.Clock.Advance(150);
    QCOMPARE(lit(), QStringList({ "ledReset" }));
    f.btnStop->click();
    w.Rig.Clock.Advance(150);
    QCOMPARE(lit(), QStringList({ "ledStop" }));
    w.Rig.Simulated->SetSwitchedOff(true);
    w.Rig.Clock.Advance(150);
    QCOMPARE(lit(), QStringList());
}

void TstFrmStolikKontrol::markerFlashesAndBroadcasts()
{
    TWindowRig w;
    TFrmStolikKontrol &f = *w.Window;
    QVERIFY(f.OpenPort(1));
    // Watch the marker lamp every 10 ms.
    qint64 litSince = -1;
    QList<qint64> flashes;
    std::unique_ptr<TClockTimer> probe = w.Rig.Clock.CreateTimer();
    probe->OnTimeout = [&] {
        if (f.ledMark->Active() && litSince < 0)
            litSince = w.Rig.Clock.NowMs();
        if (!f.ledMark->Active() && litSince >= 0) {
            flashes << w.Rig.Clock.NowMs() - litSince;
            litSince = -1;
        }
    };
    probe->Start(10);
    w.Controller->SetCurrentAngle(340);
    f.MoveForward();
    w.Rig.Clock.Advance(7000);
    QCOMPARE(w.Controller->MoveCounter(), 3);
    QCOMPARE(flashes.size(), 3);
    for (qint64 ms : flashes)
        QVERIFY(ms >= 190 && ms <= 210);
    // Every counted marker reached the main window while the table turned forward.
    QCOMPARE(w.Main.StatesSeen, QList<int>({ 2, 2, 2 }));
    QCOMPARE(w.Main.AnglesShown, QList<int>({ 350, 0, 10 }));
}

void TstFrmStolikKontrol::flashDoesNotHoldMarkerTimer()
{
    // A marker held low (150 ms) longer than a 60 ms dead time counts again at the next
    // 50 ms tick after the dead time: twice per marker, unless the 200 ms lamp flash holds
    // the marker timer until the line is high again.
    TWindowRig w;
    TFrmStolikKontrol &f = *w.Window;
    QVERIFY(f.OpenPort(1));
    w.Controller->SetMarkUnsensitivityTime(60);
    w.Rig.Simulated->SetTrueAngle(355);
    w.Rig.Clock.Advance(200);
    f.MoveForward();
    w.Rig.Clock.Advance(2000); // 5 degrees to the marker at 0, then 4 more
    QCOMPARE(w.Controller->MoveCounter(), 2);
}

void TstFrmStolikKontrol::returnToZeroTellsMainWindow()
{
    TWindowRig w;
    QVERIFY(w.Window->OpenPort(1));
    w.Rig.Simulated->SetTrueAngle(30);
    w.Controller->SetCurrentAngle(30);
    w.Rig.Clock.Advance(200);
    w.Window->btnReset->click();
    w.Rig.Clock.Advance(10000);
    // Markers at 20 and 10 while returning, then the end of the return: angle 0, state 3.
    QCOMPARE(w.Main.StatesSeen.mid(0, 2), QList<int>({ 4, 4 }));
    QCOMPARE(w.Main.StatesSeen.last(), 3);
    QCOMPARE(w.Main.AnglesShown.last(), 0);
    QCOMPARE(w.Controller->CurrentAngle(), 0);
    QVERIFY(w.Window->ledStop->Active());
}

void TstFrmStolikKontrol::stepButtonsStep_data()
{
    QTest::addColumn<bool>("back");
    QTest::addColumn<int>("step");
    QTest::addColumn<QStringList>("pulses");
    QTest::addColumn<int>("markers");
    QTest::newRow("start steps forward") << false << 20 << QStringList { "forward", "stop" } << 2;
    QTest::newRow("back steps backward") << true << 30 << QStringList { "backward", "stop" } << 3;
    QTest::newRow("step of 5 stops at once")
        << false << 5 << QStringList { "forward", "stop" } << 0;
}

void TstFrmStolikKontrol::stepButtonsStep()
{
    QFETCH(bool, back);
    QFETCH(int, step);
    QFETCH(QStringList, pulses);
    QFETCH(int, markers);
    TWindowRig w;
    QVERIFY(w.Window->OpenPort(1));
    w.Window->rbStep->click();
    w.Window->edStep->setValue(step);
    w.Rig.Events.clear();
    (back ? w.Window->btnWstecz : w.Window->btnStart)->click();
    QCOMPARE(w.Rig.PulseNames(), pulses);
    QCOMPARE(w.Rig.EventsOf("marker").size(), markers);
}

void TstFrmStolikKontrol::invalidRangeShowsErrorBox()
{
    TWindowRig w;
    QVERIFY(w.Window->OpenPort(1));
    w.Window->rbRange->click();
    w.Window->SetStartField(90);
    w.Window->SetStopField(90);
    w.Rig.Events.clear();
    w.Window->btnStart->click();
    QCOMPARE(w.Errors, QStringList({ QString::fromUtf8("Nieprawidłowy przedział") }));
    QVERIFY(w.Rig.PulseNames().isEmpty());
}

void TstFrmStolikKontrol::failedPortWarns()
{
    TVirtualClock clock;
    auto registers = std::make_shared<TFakeRegisters>();
    registers->OpenResult = false;
    auto controller = std::make_unique<TTurntableController>(
        std::make_unique<TDLPrinterPortIO>(std::make_unique<TFakePort>(registers)), clock);
    TFrmStolikKontrol window(std::move(controller));
    QStringList warnings;
    window.ShowWarningBox = [&](const QString &t) {
        warnings << t;
    };
    QVERIFY(!window.OpenPort(1));
    QVERIFY(!window.PortAvailable());
    QCOMPARE(warnings, QStringList({ "fake port LPT1 missing" }));
    window.btnStart->click();
    clock.Advance(500);
    QVERIFY(registers->Writes.isEmpty());
}

void TstFrmStolikKontrol::programClosingStopsRun()
{
    TWindowRig w;
    QVERIFY(w.Window->OpenPort(1));
    std::unique_ptr<TClockTimer> closing = w.Rig.Clock.CreateTimer();
    closing->OnTimeout = [&] {
        closing->Stop();
        BroadcastToForms(OrviMessage::ProgramClosing);
    };
    closing->Start(5000);
    w.Rig.Events.clear();
    w.Window->rbStep->click();
    w.Window->edStep->setValue(360);
    w.Window->btnStart->click(); // returns only when the step has ended
    QVERIFY(w.Rig.Clock.NowMs() < 5500);
    QCOMPARE(w.Rig.PulseNames(), QStringList({ "forward", "stop" }));
}

// The same window over a Grbl table on the emulated board: the buttons drive the board, the
// lamps follow its reports, and "Ustaw 0°" (only there) makes where it stands the 0°.
void TstFrmStolikKontrol::grblTableFromTheButtons()
{
    TWindowRig parallel;
    QVERIFY(parallel.Window->btnZero->isHidden());

    TVirtualClock clock;
    TGrblEmulator board(clock);
    QVERIFY(board.Open());
    auto owned = std::make_unique<TGrblTable>(clock);
    TGrblTable *table = owned.get();
    TFrmStolikKontrol window(std::move(owned));
    QVERIFY(window.OpenTable([&](TTurntable &) { return table->Open(board.SlavePath()); }));
    QVERIFY(!window.btnZero->isHidden());
    int zeroSet = 0;
    window.OnZeroSet = [&] {
        ++zeroSet;
    };

    window.btnStart->click(); // full-turn mode: turns until stopped
    clock.Advance(2000);
    QCOMPARE(board.State(), QStringLiteral("Jog"));
    QVERIFY(window.ledStart->Active());
    window.btnStop->click();
    QCOMPARE(board.State(), QStringLiteral("Idle"));
    clock.Advance(500);
    QVERIFY(window.ledStop->Active());
    const double stoppedAt = board.MachineX();
    QVERIFY(stoppedAt > 5.0);

    window.btnZero->click();
    QCOMPARE(zeroSet, 1);
    QCOMPARE(table->ZeroOffset(), stoppedAt);
    window.rbStep->click();
    window.edStep->setValue(20);
    window.btnWstecz->click();
    QVERIFY(qAbs(board.MachineX() - (stoppedAt - 20.0)) < 1e-6);
    window.btnReset->click();
    while (table->State() == 4)
        clock.Advance(10);
    QVERIFY(qAbs(board.MachineX() - stoppedAt) < 1e-6);
    QCOMPARE(table->CurrentAngle(), 0);
}

QTEST_MAIN(TstFrmStolikKontrol)
#include "tst_frmstolikkontrol.moc"
