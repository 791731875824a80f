// The Grbl protocol pieces and the serial link against the Grbl emulator through a real
// pseudo-terminal: the greeting and the soft reset, "$$", jog lines as Grbl takes them, status
// reports, errors and alarms with their meanings, and a board that goes silent or away.

#include "controls/FileWriter.h"
#include "controls/VirtualClock.h"
#include "turntable/GrblEmulator.h"
#include "turntable/GrblLink.h"
#include "turntable/GrblProtocol.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <grp.h>
#include <unistd.h>

class TestGrblLink : public QObject
{
    Q_OBJECT

private slots:
    void statusReports_data();
    void statusReports();
    void settingsAndCodes_data();
    void settingsAndCodes();
    void connectsAndReadsSettings_data();
    void connectsAndReadsSettings();
    void jogLinesMoveTheTable();
    void refusedLinesSayWhy_data();
    void refusedLinesSayWhy();
    void lostBoardIsReported_data();
    void lostBoardIsReported();
    void openFailuresSayWhy();

private:
    // An emulator with config on the test's clock, and a link connected to it.
    bool Connect(const TGrblEmulator::TConfig &config = {});

    TVirtualClock m_clock;
    std::unique_ptr<TGrblEmulator> m_board;
    std::unique_ptr<TGrblLink> m_link;
};

bool TestGrblLink::Connect(const TGrblEmulator::TConfig &config)
{
    m_link.reset();
    m_board = std::make_unique<TGrblEmulator>(m_clock);
    m_board->SetConfig(config);
    QString error;
    if (!m_board->Open(&error)) {
        qWarning() << error;
        return false;
    }
    m_link = std::make_unique<TGrblLink>();
    return m_link->Connect(m_board->SlavePath());
}

void TestGrblLink::statusReports_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("subState");
    QTest::addColumn<bool>("machine");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("offset"); // NaN: none
    const double none = qQNaN();
    QTest::newRow("idle, MPos") << QByteArray("<Idle|MPos:12.345,0.000,0.000|FS:0,0>") << true
                                << "Idle" << -1 << true << 12.345 << none;
    QTest::newRow("jog, WPos, WCO, Ov, Bf")
        << QByteArray("<Jog|WPos:-720.500,1.000,0.000|Bf:15,128|FS:270,0|Ov:100,100,100|"
                      "WCO:10.000,0.000,0.000>\r")
        << true << "Jog" << -1 << false << -720.5 << 10.0;
    QTest::newRow("hold with sub-state, F only")
        << QByteArray("<Hold:0|MPos:1.000,0.000,0.000|F:500>") << true << "Hold" << 0 << true << 1.0
        << none;
    QTest::newRow("no position") << QByteArray("<Idle|FS:0,0>") << false << "" << 0 << true << 0.0
                                 << none;
    QTest::newRow("bad number") << QByteArray("<Idle|MPos:1e,0,0>") << false << "" << 0 << true
                                << 0.0 << none;
    QTest::newRow("unclosed") << QByteArray("<Idle|MPos:1.000,0.000,0.000") << false << "" << 0
                              << true << 0.0 << none;
    QTest::newRow("no state") << QByteArray("<|MPos:1.000,0.000,0.000>") << false << "" << 0 << true
                              << 0.0 << none;
}

void TestGrblLink::statusReports()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    const auto status = TGrblProtocol::ParseStatus(line);
    QCOMPARE(status.has_value(), valid);
    if (!valid)
        return;
    QFETCH(QString, state);
    QFETCH(int, subState);
    QFETCH(bool, machine);
    QFETCH(double, x);
    QFETCH(double, offset);
    QCOMPARE(status->State, state);
    QCOMPARE(status->SubState, subState);
    QCOMPARE(status->Machine, machine);
    QCOMPARE(status->X, x);
    QCOMPARE(status->WorkOffsetX.has_value(), !qIsNaN(offset));
    if (status->WorkOffsetX)
        QCOMPARE(*status->WorkOffsetX, offset);
}

void TestGrblLink::settingsAndCodes_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("setting"); // -1: not a setting
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("error"); // -1: not an error line
    QTest::addColumn<int>("alarm");
    QTest::newRow("setting") << QByteArray("$110=500.000") << 110 << 500.0 << -1 << -1;
    QTest::newRow("with comment") << QByteArray("$120=25.5 (x accel, mm/sec^2)") << 120 << 25.5
                                  << -1 << -1;
    QTest::newRow("no value") << QByteArray("$110=") << -1 << 0.0 << -1 << -1;
    QTest::newRow("error") << QByteArray("error:15") << -1 << 0.0 << 15 << -1;
    QTest::newRow("alarm") << QByteArray("ALARM:1") << -1 << 0.0 << -1 << 1;
    QTest::newRow("greeting") << QByteArray("Grbl 1.1h ['$' for help]") << -1 << 0.0 << -1 << -1;
}

void TestGrblLink::settingsAndCodes()
{
    QFETCH(QByteArray, line);
    QFETCH(int, setting);
    QFETCH(double, value);
    QFETCH(int, error);
    QFETCH(int, alarm);
    const auto parsed = TGrblProtocol::ParseSetting(line);
    QCOMPARE(parsed.has_value(), setting >= 0);
    if (parsed) {
        QCOMPARE(parsed->Number, setting);
        QCOMPARE(parsed->Value, value);
    }
    QCOMPARE(TGrblProtocol::ErrorCode(line).value_or(-1), error);
    QCOMPARE(TGrblProtocol::AlarmCode(line).value_or(-1), alarm);
    QCOMPARE(TGrblProtocol::IsGreeting(line), line.startsWith("Grbl"));
}

void TestGrblLink::connectsAndReadsSettings_data()
{
    QTest::addColumn<bool>("greetOnOpen");
    QTest::addColumn<bool>("homing");
    QTest::addColumn<QString>("refusal"); // empty: connects
    QTest::newRow("greets when opened") << true << false << QString();
    QTest::newRow("greets after a soft reset") << false << false << QString();
    QTest::newRow("in alarm (homing on)") << true << true << QStringLiteral("$X");
}

void TestGrblLink::connectsAndReadsSettings()
{
    QFETCH(bool, greetOnOpen);
    QFETCH(bool, homing);
    QFETCH(QString, refusal);
    TGrblEmulator::TConfig config;
    config.GreetOnOpen = greetOnOpen;
    config.Homing = homing;
    config.MaxRateDegPerMin = 720.0;
    config.AccelerationDegPerS2 = 45.5;
    QElapsedTimer took;
    took.start();
    QCOMPARE(Connect(config), refusal.isEmpty());
    if (!refusal.isEmpty()) {
        QVERIFY2(m_link->ErrorMessage().contains(refusal), qPrintable(m_link->ErrorMessage()));
        return;
    }
    // The soft reset comes only after the whole wait for a greeting.
    QCOMPARE(took.elapsed() >= TGrblLink::GreetingWaitMs, !greetOnOpen);
    QCOMPARE(m_board->Greetings(), 1);
    QVERIFY(m_link->Greeting().startsWith("Grbl 1.1"));
    QCOMPARE(m_link->Setting(110).value_or(0), 720.0);
    QCOMPARE(m_link->Setting(120).value_or(0), 45.5);
    QCOMPARE(m_board->Lines(), QList<QByteArray> { "$$" }); // nothing written to the board
}

void TestGrblLink::jogLinesMoveTheTable()
{
    QVERIFY(Connect());
    // 30°/s at 90°/s²: a third of a second and 5° to reach the speed, as long to stop.
    QVERIFY(m_link->Command(TGrblProtocol::JogRelative(90.0004, 1800)));
    QCOMPARE(m_board->Lines().back(), QByteArray("$J=G91 X90.000 F1800.0"));
    m_clock.Advance(1000);
    QCOMPARE(m_link->Query()->State, QStringLiteral("Jog"));
    QVERIFY(qAbs(m_board->MachineX() - (5.0 + 20.0)) < 1e-6);
    m_clock.Advance(2400);
    QCOMPARE(m_link->Query()->State, QStringLiteral("Idle"));
    QVERIFY(qAbs(m_link->Query()->X - 90.0) < 1e-6);

    // Absolute in machine X, whatever work offset the user set; a cancel decelerates.
    m_board->SetWorkOffset(30.0);
    QVERIFY(m_link->Command(TGrblProtocol::JogToMachine(-720.0, 1800)));
    QCOMPARE(m_board->Lines().back(), QByteArray("$J=G53 X-720.000 F1800.0"));
    m_clock.Advance(1000);
    m_link->SendRealTime(TGrblProtocol::JogCancel);
    // A report asked for after the cancel comes when the board has taken the cancel too.
    QCOMPARE(m_link->Query()->State, QStringLiteral("Jog"));
    m_clock.Advance(400);
    QCOMPARE(m_link->Query()->State, QStringLiteral("Idle"));
    // Cancelled at 65° with 30°/s: 5° more to stop.
    QVERIFY2(qAbs(m_board->MachineX() - (90.0 - 25.0 - 5.0)) < 1e-6,
             qPrintable(QString::number(m_board->MachineX())));
}

void TestGrblLink::refusedLinesSayWhy_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("softLimits");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    QTest::newRow("no feed") << QByteArray("$J=G91 X10") << false << 22 << "prędkości";
    QTest::newRow("bad number") << QByteArray("$J=G91 X1.2.3 F100") << false << 2
                                << "nie zrozumiał";
    QTest::newRow("past the travel")
        << TGrblProtocol::JogRelative(10, 100) << true << 15 << "$20=0";
    QTest::newRow("unknown $") << QByteArray("$Q") << false << 3 << "$";
}

void TestGrblLink::refusedLinesSayWhy()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, softLimits);
    QFETCH(int, code);
    QFETCH(QString, says);
    TGrblEmulator::TConfig config;
    config.SoftLimits = softLimits;
    QVERIFY(Connect(config));
    QVERIFY(!m_link->Command(line));
    QCOMPARE(m_link->LastErrorCode(), code);
    QVERIFY(!m_link->Lost());
    QVERIFY2(m_link->ErrorMessage().contains(QStringLiteral("error:%1").arg(code))
                 && m_link->ErrorMessage().contains(says),
             qPrintable(m_link->ErrorMessage()));
}

void TestGrblLink::lostBoardIsReported_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("query");
    QTest::newRow("silent, a line") << int(TGrblEmulator::EFault::Silent) << false;
    QTest::newRow("silent, a report") << int(TGrblEmulator::EFault::Silent) << true;
    QTest::newRow("cable pulled") << int(TGrblEmulator::EFault::Drop) << true;
}

void TestGrblLink::lostBoardIsReported()
{
    QFETCH(int, fault);
    QFETCH(bool, query);
    QVERIFY(Connect());
    QSignalSpy lost(m_link.get(), &TGrblLink::ConnectionLost);
    m_board->SetFault(TGrblEmulator::EFault(fault));
    QElapsedTimer took;
    took.start();
    const bool answered = query ? m_link->Query().has_value() : m_link->Command("$J=G91 X1 F10");
    QVERIFY(!answered);
    QVERIFY(took.elapsed() < TGrblLink::AnswerLimitMs + 500);
    QVERIFY(m_link->Lost());
    QCOMPARE(lost.count(), 1);
    QVERIFY2(m_link->ErrorMessage().contains(QStringLiteral("przestał odpowiadać")),
             qPrintable(m_link->ErrorMessage()));
    QVERIFY(!m_link->Command("")); // later calls fail at once
    QCOMPARE(lost.count(), 1);
}

// A port another program holds, and one this user may not open: the message says which, and
// for the second the group to join (the device's own group, whatever it is called).
void TestGrblLink::openFailuresSayWhy()
{
    QVERIFY(Connect());
    TGrblLink second;
    QVERIFY(!second.Connect(m_board->SlavePath()));
    QVERIFY2(second.ErrorMessage().contains(QStringLiteral("zajęty przez inny program")),
             qPrintable(second.ErrorMessage()));
    QCOMPARE(m_board->Greetings(), 1); // the holder's session went on

    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyACM0"));
    QVERIFY(TFileWriter::WriteFile(device, QByteArray()));
    const struct group *owner = ::getgrnam("dialout");
    const QString groupName
        = owner && ::chown(QFile::encodeName(device).constData(), uid_t(-1), owner->gr_gid) == 0
        ? QStringLiteral("dialout")
        : QString::fromLocal8Bit(::getgrgid(::getegid())->gr_name);
    const QString message = TGrblLink::PermissionMessage(device);
    QVERIFY2(message.contains(device) && message.contains("„" + groupName + "”")
                 && message.contains("sudo usermod -aG " + groupName + " $USER"),
             qPrintable(message));
}

QTEST_GUILESS_MAIN(TestGrblLink)
#include "tst_grbllink.moc"
