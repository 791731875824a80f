// The port component: byte access only while active, the connector's pin map with its
// inversions, and the LPTNumber rules over the detected port table.

#include "helpers/FakePort.h"

#include "turntable/DLPrinterPortIO.h"
#include "turntable/PortIOError.h"

#include <QtTest>

namespace {

TPortTable Table(std::initializer_list<std::pair<int, quint16>> entries)
{
    TPortTable table;
    for (const auto &[n, base] : entries) {
        table.Base[size_t(n)] = base;
        ++table.NumPorts;
    }
    return table;
}

} // namespace

class TstDLPrinterPortIO : public QObject
{
    Q_OBJECT

private slots:
    void inactiveAccessFails();
    void openAndClose();
    void getPin_data();
    void getPin();
    void setPinChangesOnlyItsBit_data();
    void setPinChangesOnlyItsBit();
    void inputAndUnknownPinsAreIgnored_data();
    void inputAndUnknownPinsAreIgnored();
    void lptNumberRules_data();
    void lptNumberRules();
    void noPortsFound();
};

void TstDLPrinterPortIO::inactiveAccessFails()
{
    auto registers = std::make_shared<TFakeRegisters>();
    registers->OpenResult = false;
    TDLPrinterPortIO port(std::make_unique<TFakePort>(registers, Table({ { 1, 0x378 } })));
    QVERIFY(!port.ActiveHW());
    QVERIFY(port.LastError().isEmpty());
    QVERIFY_THROWS_EXCEPTION(EPortIOError, port.ReadPortByte(0x378));
    QVERIFY_THROWS_EXCEPTION(EPortIOError, port.WritePortByte(0x378, 1));
    QVERIFY_THROWS_EXCEPTION(EPortIOError, port.GetPin(11));
    port.OpenDriver();
    QVERIFY(!port.ActiveHW());
    QVERIFY(!port.LastError().isEmpty());
    QVERIFY_THROWS_EXCEPTION(EPortIOError, port.SetPin(2, true));
    QCOMPARE(registers->Reads, 0);
}

void TstDLPrinterPortIO::openAndClose()
{
    auto registers = std::make_shared<TFakeRegisters>();
    {
        TDLPrinterPortIO port(std::make_unique<TFakePort>(registers, Table({ { 1, 0x378 } })));
        port.OpenDriver();
        QVERIFY(port.ActiveHW());
        registers->Status = 0x5A;
        QCOMPARE(port.ReadPortByte(0x379), quint8(0x5A));
        port.WritePortByte(0x37A, 0x0B);
        QCOMPARE(registers->Control, quint8(0x0B));
        port.CloseDriver();
        QVERIFY(!port.ActiveHW());
        QVERIFY(registers->CloseCalled);
        registers->CloseCalled = false;
        port.OpenDriver();
    }
    QVERIFY(registers->CloseCalled); // destruction closes an active driver
}

// The connector's pin map; outputsOnly leaves out the status register's input pins.
static void AddPinRows(bool outputsOnly)
{
    QTest::addColumn<int>("pin");
    QTest::addColumn<int>("offset"); // 0 data, 1 status, 2 control
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("inverted");
    QTest::newRow("1") << 1 << 2 << 1 << true;
    for (int pin = 2; pin <= 9; ++pin)
        QTest::addRow("%d", pin) << pin << 0 << (1 << (pin - 2)) << false;
    if (!outputsOnly) {
        QTest::newRow("10") << 10 << 1 << 64 << false;
        QTest::newRow("11") << 11 << 1 << 128 << true;
        QTest::newRow("12") << 12 << 1 << 32 << false;
        QTest::newRow("13") << 13 << 1 << 16 << false;
        QTest::newRow("15") << 15 << 1 << 8 << false;
    }
    QTest::newRow("14") << 14 << 2 << 2 << true;
    QTest::newRow("16") << 16 << 2 << 4 << false;
    QTest::newRow("17") << 17 << 2 << 8 << true;
}

void TstDLPrinterPortIO::getPin_data()
{
    AddPinRows(false);
}

void TstDLPrinterPortIO::getPin()
{
    QFETCH(int, pin);
    QFETCH(int, offset);
    QFETCH(int, mask);
    QFETCH(bool, inverted);
    auto registers = std::make_shared<TFakeRegisters>();
    TDLPrinterPortIO port(std::make_unique<TFakePort>(registers, Table({ { 1, 0x3BC } })));
    port.OpenDriver();
    quint8 *reg
        = offset == 0 ? &registers->Data : (offset == 1 ? &registers->Status : &registers->Control);
    // Only the pin's own bit set, then every bit but the pin's.
    *reg = quint8(mask);
    QCOMPARE(port.GetPin(pin), !inverted);
    *reg = quint8(~mask);
    QCOMPARE(port.GetPin(pin), inverted);
}

void TstDLPrinterPortIO::setPinChangesOnlyItsBit_data()
{
    AddPinRows(true);
}

void TstDLPrinterPortIO::setPinChangesOnlyItsBit()
{
    QFETCH(int, pin);
    QFETCH(int, offset);
    QFETCH(int, mask);
    QFETCH(bool, inverted);
    auto registers = std::make_shared<TFakeRegisters>();
    TDLPrinterPortIO port(std::make_unique<TFakePort>(registers, Table({ { 1, 0x378 } })));
    port.OpenDriver();
    quint8 *reg = offset == 0 ? &registers->Data : &registers->Control;
    for (quint8 start : { quint8(0x00), quint8(0xA5), quint8(0xFF) }) {
        *reg = start;
        port.SetPin(pin, true);
        QCOMPARE(*reg, inverted ? quint8(start & ~mask) : quint8(start | mask));
        QCOMPARE(port.GetPin(pin), true);
        *reg = start;
        port.SetPin(pin, false);
        QCOMPARE(*reg, inverted ? quint8(start | mask) : quint8(start & ~mask));
        QCOMPARE(port.GetPin(pin), false);
    }
}

void TstDLPrinterPortIO::inputAndUnknownPinsAreIgnored_data()
{
    QTest::addColumn<int>("pin");
    for (int pin : { 10, 11, 12, 13, 15, 0, 18, -1, 25 })
        QTest::addRow("%d", pin) << pin;
}

void TstDLPrinterPortIO::inputAndUnknownPinsAreIgnored()
{
    QFETCH(int, pin);
    auto registers = std::make_shared<TFakeRegisters>();
    TDLPrinterPortIO port(std::make_unique<TFakePort>(registers, Table({ { 1, 0x378 } })));
    port.OpenDriver();
    registers->Data = registers->Status = registers->Control = 0xFF;
    port.SetPin(pin, false);
    port.SetPin(pin, true);
    QVERIFY(registers->Writes.isEmpty());
    if (pin < 1 || pin > 17)
        QCOMPARE(port.GetPin(pin), false);
}

void TstDLPrinterPortIO::lptNumberRules_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("expectedNumber");
    QTest::addColumn<int>("expectedBase");
    // Table: LPT1 0x378, LPT2 0x278, and a port reported as number 0 at 0x3BC.
    QTest::newRow("1") << 1 << 1 << 0x378;
    QTest::newRow("2") << 2 << 2 << 0x278;
    QTest::newRow("8, not found") << 8 << 8 << 0;
    QTest::newRow("3, not found") << 3 << 3 << 0;
    QTest::newRow("0 ignored") << 0 << 2 << 0x278;
    QTest::newRow("9 ignored") << 9 << 2 << 0x278;
    QTest::newRow("-1 ignored") << -1 << 2 << 0x278;
}

void TstDLPrinterPortIO::lptNumberRules()
{
    QFETCH(int, number);
    QFETCH(int, expectedNumber);
    QFETCH(int, expectedBase);
    auto registers = std::make_shared<TFakeRegisters>();
    auto backend = std::make_unique<TFakePort>(registers,
                                               Table({ { 1, 0x378 }, { 2, 0x278 }, { 0, 0x3BC } }));
    TFakePort *fake = backend.get();
    TDLPrinterPortIO port(std::move(backend));
    QCOMPARE(port.LPTNumber(), 1);
    QCOMPARE(port.LPTBasePort(), quint16(0x378));
    QCOMPARE(port.LPTNumPorts(), 3); // entry 0 counts, though nothing can select it
    port.SetLPTNumber(2);
    port.SetLPTNumber(number);
    QCOMPARE(port.LPTNumber(), expectedNumber);
    QCOMPARE(port.LPTBasePort(), quint16(expectedBase));
    QCOMPARE(fake->SelectedPort(), expectedNumber);
    QCOMPARE(port.PortTable().Base[0], quint16(0x3BC));
}

void TstDLPrinterPortIO::noPortsFound()
{
    auto registers = std::make_shared<TFakeRegisters>();
    TDLPrinterPortIO port(std::make_unique<TFakePort>(registers, TPortTable {}));
    QCOMPARE(port.LPTNumPorts(), 0);
    QCOMPARE(port.LPTNumber(), 1);
    QCOMPARE(port.LPTBasePort(), quint16(0));
}

QTEST_MAIN(TstDLPrinterPortIO)
#include "tst_dlprinterportio.moc"
