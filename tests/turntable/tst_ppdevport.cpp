// The Linux ppdev backend against a fake system-call layer: port detection from /dev and
// /proc, claiming at the first access, register ioctls, release, and the warning text.

#include <QtTest>

#if defined(Q_OS_LINUX)

#include "controls/VirtualClock.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/PortIOError.h"
#include "turntable/PpdevCalls.h"
#include "turntable/PpdevPort.h"
#include "turntable/TurntableController.h"

#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>

#include <linux/ppdev.h>

namespace {

// A machine with some parallel-port devices, each with the three registers of a port.
class TFakePpdev final : public TPpdevCalls
{
public:
    struct TDevice
    {
        quint8 Data = 0, Status = 0, Control = 0;
        bool Claimed = false;
        int OpenError = 0; // errno of a failing open
        int ClaimError = 0; // errno of a failing PPCLAIM
        int Claims = 0;
    };
    QMap<QString, TDevice> Devices; // by path
    QMap<QString, QByteArray> Files;
    QStringList Listing;
    QMap<int, QString> Open_; // fd -> path
    QStringList Log; // "open /dev/parport0", "PPCLAIM", ...
    int NextFd = 10;

    int Open(const QString &path) override
    {
        Log << "open " + path;
        if (!Devices.contains(path))
            return -ENOENT;
        if (Devices[path].OpenError)
            return -Devices[path].OpenError;
        Open_[NextFd] = path;
        return NextFd++;
    }
    void Close(int fd) override
    {
        Log << "close";
        Open_.remove(fd);
    }
    int Ioctl(int fd, unsigned long request, void *argument) override
    {
        if (!Open_.contains(fd))
            return -EBADF;
        TDevice &d = Devices[Open_[fd]];
        auto *byte = static_cast<unsigned char *>(argument);
        switch (request) {
        case PPCLAIM:
            Log << "PPCLAIM";
            if (d.ClaimError)
                return -d.ClaimError;
            d.Claimed = true;
            ++d.Claims;
            return 0;
        case PPRELEASE:
            Log << "PPRELEASE";
            d.Claimed = false;
            return 0;
        case PPDATADIR:
            return *static_cast<int *>(argument) == 0 ? 0 : -EINVAL;
        default:
            break;
        }
        if (!d.Claimed)
            return -EINVAL; // register access needs the claim
        switch (request) {
        case PPRDATA:
            *byte = d.Data;
            return 0;
        case PPRSTATUS:
            *byte = d.Status;
            return 0;
        case PPRCONTROL:
            *byte = d.Control;
            return 0;
        case PPWDATA:
            d.Data = *byte;
            return 0;
        case PPWCONTROL:
            d.Control = *byte & 0x0F;
            return 0;
        default:
            return -ENOTTY;
        }
    }
    QStringList ParportDevices() override { return Listing; }
    QByteArray ReadTextFile(const QString &path) override { return Files.value(path); }
    QString FileGroup(const QString &) override { return QStringLiteral("uucp"); }
};

} // namespace

class TstPpdevPort : public QObject
{
    Q_OBJECT

private slots:
    void detection();
    void pinsThroughIoctls();
    void selectingAnotherPortReleasesTheDevice();
    void missingDeviceWarnsWithItsName_data();
    void missingDeviceWarnsWithItsName();
    void statusRegisterIsReadOnly();
    void turntableRunsOnPpdev();
};

void TstPpdevPort::detection()
{
    TFakePpdev calls;
    calls.Listing = { "parport0", "parport1", "parport7", "parport8", "parportx", "parport" };
    calls.Files["/proc/sys/dev/parport/parport0/base-addr"] = "888\t1912\n";
    calls.Files["/proc/sys/dev/parport/parport7/base-addr"] = "632\t-1\n";
    calls.Files["/proc/sys/dev/parport/parport1/base-addr"] = "garbage\n";
    TDLPrinterPortIO port(std::make_unique<TPpdevPort>(calls));
    QCOMPARE(port.LPTNumPorts(), 3); // parport8 would be LPT9
    QCOMPARE(port.PortTable().Base[1], quint16(0x378));
    QCOMPARE(port.PortTable().Base[2], quint16(0));
    QCOMPARE(port.PortTable().Base[8], quint16(0x278));
    QCOMPARE(port.LPTBasePort(), quint16(0x378));
    QVERIFY(calls.Log.isEmpty()); // detection opens no device
}

void TstPpdevPort::pinsThroughIoctls()
{
    TFakePpdev calls;
    calls.Listing = { "parport0" };
    calls.Files["/proc/sys/dev/parport/parport0/base-addr"] = "888\t1912\n";
    calls.Devices["/dev/parport0"].Status = 0x80 | 0x08;
    calls.Devices["/dev/parport0"].Control = 0x04;
    {
        TDLPrinterPortIO port(std::make_unique<TPpdevPort>(calls));
        port.OpenDriver();
        QVERIFY(port.ActiveHW());
        QVERIFY(calls.Log.isEmpty()); // claimed only when first used
        QCOMPARE(port.GetPin(11), false); // status bit 7 set: pin 11 low
        QCOMPARE(port.GetPin(15), true);
        QCOMPARE(calls.Log, QStringList({ "open /dev/parport0", "PPCLAIM" }));
        port.SetPin(3, true);
        port.SetPin(1, true); // inverted: clears control bit 0
        port.SetPin(17, false); // inverted: sets control bit 3
        QCOMPARE(calls.Devices["/dev/parport0"].Data, quint8(0x02));
        QCOMPARE(calls.Devices["/dev/parport0"].Control, quint8(0x0C));
        QCOMPARE(port.ReadPortByte(0x378 + 2), quint8(0x0C));
        QCOMPARE(calls.Devices["/dev/parport0"].Claims, 1);
    }
    QVERIFY(!calls.Devices["/dev/parport0"].Claimed);
    QCOMPARE(calls.Log.mid(calls.Log.size() - 2), QStringList({ "PPRELEASE", "close" }));
    QVERIFY(calls.Open_.isEmpty());
}

void TstPpdevPort::selectingAnotherPortReleasesTheDevice()
{
    TFakePpdev calls;
    calls.Listing = { "parport0", "parport1" };
    calls.Devices["/dev/parport0"].Data = 0x11;
    calls.Devices["/dev/parport1"].Data = 0x22;
    TDLPrinterPortIO port(std::make_unique<TPpdevPort>(calls));
    port.OpenDriver();
    QCOMPARE(port.ReadPortByte(0), quint8(0x11)); // no base address known: base 0
    port.SetLPTNumber(2);
    QVERIFY(!calls.Devices["/dev/parport0"].Claimed);
    QCOMPARE(port.ReadPortByte(0), quint8(0x22));
    QVERIFY(calls.Devices["/dev/parport1"].Claimed);
    QVERIFY_THROWS_EXCEPTION(EPortIOError, port.ReadPortByte(3)); // not a register of it
}

void TstPpdevPort::missingDeviceWarnsWithItsName_data()
{
    QTest::addColumn<int>("lpt");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("openError");
    QTest::addColumn<int>("claimError");
    QTest::addColumn<QString>("reason");
    QTest::newRow("LPT1 missing")
        << 1 << false << 0 << 0
        << QString::fromUtf8("Nie ma urządzenia /dev/parport0: moduł jądra ppdev nie jest "
                             "załadowany (sudo modprobe ppdev) albo komputer nie ma tego portu");
    QTest::newRow("LPT3 refused")
        << 3 << true << EACCES << 0
        << QString::fromUtf8("Brak uprawnień do /dev/parport2: użytkownik musi należeć do grupy "
                             "\"uucp\" (sudo usermod -aG uucp $USER, potem ponowne zalogowanie)");
    QTest::newRow("LPT1 busy") << 1 << true << 0 << EBUSY
                               << QString::fromUtf8("Port /dev/parport0 jest zajęty przez inny "
                                                    "sterownik (na przykład lp: sudo rmmod lp)");
    QTest::newRow("LPT2 other") << 2 << true << EIO << 0
                                << QStringLiteral("/dev/parport1: ")
            + QString::fromLocal8Bit(std::strerror(EIO));
}

void TstPpdevPort::missingDeviceWarnsWithItsName()
{
    QFETCH(int, lpt);
    QFETCH(bool, present);
    QFETCH(int, openError);
    QFETCH(int, claimError);
    QFETCH(QString, reason);
    TFakePpdev calls;
    if (present) {
        calls.Devices[TPpdevPort::DevicePath(lpt)].OpenError = openError;
        calls.Devices[TPpdevPort::DevicePath(lpt)].ClaimError = claimError;
    }
    TVirtualClock clock;
    TTurntableController controller(
        std::make_unique<TDLPrinterPortIO>(std::make_unique<TPpdevPort>(calls)), clock);
    QVERIFY(!controller.Open(lpt));
    QCOMPARE(controller.OpenFailureMessage(),
             QStringLiteral("Nie można otworzyć portu %1\r\n%2\r\nFunkcje pomiarowe nie będą "
                            "dostępne")
                 .arg(TPpdevPort::DevicePath(lpt), reason));
    QVERIFY(calls.Log.contains("open " + TPpdevPort::DevicePath(lpt)));
}

void TstPpdevPort::statusRegisterIsReadOnly()
{
    TFakePpdev calls;
    calls.Devices["/dev/parport0"];
    TDLPrinterPortIO port(std::make_unique<TPpdevPort>(calls));
    port.OpenDriver();
    QVERIFY_THROWS_EXCEPTION(EPortIOError, port.WritePortByte(1, 0xFF));
}

void TstPpdevPort::turntableRunsOnPpdev()
{
    // The controller's start-up and a command pulse on a "real" port: pins saved, pins 2..6
    // raised, a 5 ms low pulse on pin 4, the pins put back at the end.
    TFakePpdev calls;
    calls.Listing = { "parport0" };
    calls.Devices["/dev/parport0"].Data = 0x80;
    calls.Devices["/dev/parport0"].Status = 0x18; // stopped
    TVirtualClock clock;
    {
        TTurntableController controller(
            std::make_unique<TDLPrinterPortIO>(std::make_unique<TPpdevPort>(calls)), clock);
        QVERIFY(controller.Open(1));
        QCOMPARE(calls.Devices["/dev/parport0"].Data, quint8(0x9F));
        quint8 during = 0;
        std::unique_ptr<TClockTimer> probe = clock.CreateTimer();
        probe->OnTimeout = [&] {
            during = calls.Devices["/dev/parport0"].Data;
        };
        probe->Start(2);
        controller.StopMove();
        probe->Stop();
        QCOMPARE(during, quint8(0x9F & ~0x04));
        QCOMPARE(calls.Devices["/dev/parport0"].Data, quint8(0x9F));
        clock.Advance(200);
        QCOMPARE(controller.ShownState(), 3);
    }
    QCOMPARE(calls.Devices["/dev/parport0"].Data, quint8(0x80));
    QVERIFY(!calls.Devices["/dev/parport0"].Claimed);
}

#else

// ppdev exists on Linux only.
class TstPpdevPort : public QObject
{
    Q_OBJECT

private slots:
    void notOnThisPlatform() { QSKIP("the ppdev backend is built on Linux only"); }
};

#endif

QTEST_MAIN(TstPpdevPort)
#include "tst_ppdevport.moc"
