// The LED lamp: defaults, colour presets, the rules that tie OnColor/OffColor to LedColor,
// repainting only on a changed value, and the painted fill and bevel.

#include "controls/ui/QvLed.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

// Counts the paint events a widget gets.
class TPaintCounter : public QObject
{
public:
    int Count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

QImage Rendered(const TQvLed &led, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    led.Render(painter, QRect(QPoint(0, 0), size));
    return image;
}

} // namespace

class TstQvLed : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void presets_data();
    void presets();
    void ownColourMakesCustom_data();
    void ownColourMakesCustom();
    void customKeepsColours();
    void repaintsOnlyOnChange_data();
    void repaintsOnlyOnChange();
    void paintsFillAndBevel_data();
    void paintsFillAndBevel();
};

void TstQvLed::defaults()
{
    TQvLed led;
    QCOMPARE(led.Active(), false);
    QCOMPARE(led.BevelStyle(), bsLowered);
    QCOMPARE(led.LedColor(), lcGreen);
    QCOMPARE(led.OnColor(), quint32(0x00FF00));
    QCOMPARE(led.OffColor(), quint32(0x008000));
    QVERIFY(led.isEnabled());
    QCOMPARE(led.size(), QSize(16, 8));
    // The properties are reachable by name, as a window description would set them.
    QVERIFY(led.setProperty("Active", true));
    QCOMPARE(led.Active(), true);
}

void TstQvLed::presets_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<quint32>("on");
    QTest::addColumn<quint32>("off");
    QTest::newRow("red") << int(lcRed) << quint32(0x0000FF) << quint32(0x000080);
    QTest::newRow("yellow") << int(lcYellow) << quint32(0x00FFFF) << quint32(0x008080);
    QTest::newRow("blue") << int(lcBlue) << quint32(0xFFFF00) << quint32(0xFF0000);
    QTest::newRow("green") << int(lcGreen) << quint32(0x00FF00) << quint32(0x008000);
}

void TstQvLed::presets()
{
    QFETCH(int, color);
    QFETCH(quint32, on);
    QFETCH(quint32, off);
    TQvLed led;
    // Start from another preset so that every row is a change.
    led.SetLedColor(color == lcYellow ? lcRed : lcYellow);
    led.SetLedColor(TLedColor(color));
    QCOMPARE(led.LedColor(), TLedColor(color));
    QCOMPARE(led.OnColor(), on);
    QCOMPARE(led.OffColor(), off);
}

void TstQvLed::ownColourMakesCustom_data()
{
    QTest::addColumn<bool>("onColour");
    QTest::newRow("OnColor") << true;
    QTest::newRow("OffColor") << false;
}

void TstQvLed::ownColourMakesCustom()
{
    QFETCH(bool, onColour);
    TQvLed led;
    led.SetLedColor(lcRed);
    auto set = [&](quint32 c) {
        onColour ? led.SetOnColor(c) : led.SetOffColor(c);
    };
    set(onColour ? 0x0000FF : 0x000080); // the value it already has
    QCOMPARE(led.LedColor(), lcRed);
    set(0x123456);
    QCOMPARE(led.LedColor(), lcCustom);
    QCOMPARE(onColour ? led.OnColor() : led.OffColor(), quint32(0x123456));
    QCOMPARE(onColour ? led.OffColor() : led.OnColor(),
             onColour ? quint32(0x000080) : quint32(0x0000FF));
}

void TstQvLed::customKeepsColours()
{
    TQvLed led;
    led.SetLedColor(lcBlue);
    led.SetLedColor(lcCustom);
    QCOMPARE(led.LedColor(), lcCustom);
    QCOMPARE(led.OnColor(), quint32(0xFFFF00));
    QCOMPARE(led.OffColor(), quint32(0xFF0000));
    // Back to a preset loads it again.
    led.SetLedColor(lcGreen);
    QCOMPARE(led.OnColor(), quint32(0x00FF00));
}

void TstQvLed::repaintsOnlyOnChange_data()
{
    QTest::addColumn<QString>("property");
    QTest::newRow("Active") << "Active";
    QTest::newRow("BevelStyle") << "BevelStyle";
    QTest::newRow("LedColor") << "LedColor";
    QTest::newRow("OnColor") << "OnColor";
}

void TstQvLed::repaintsOnlyOnChange()
{
    QFETCH(QString, property);
    QWidget window;
    auto *led = new TQvLed(&window);
    TPaintCounter counter;
    led->installEventFilter(&counter);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    auto setTo = [&](bool second) {
        if (property == "Active")
            led->SetActive(second);
        else if (property == "BevelStyle")
            led->SetBevelStyle(second ? bsRaised : bsLowered);
        else if (property == "LedColor")
            led->SetLedColor(second ? lcRed : lcGreen);
        else
            led->SetOnColor(second ? 0x0000FF : 0x00FF00);
    };
    auto paintsAfter = [&](bool second) {
        counter.Count = 0;
        setTo(second);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return counter.Count;
    };
    QCOMPARE(paintsAfter(false), 0); // current value: nothing to do
    QVERIFY(paintsAfter(true) > 0);
    QCOMPARE(paintsAfter(true), 0);
    QVERIFY(paintsAfter(false) > 0);
}

void TstQvLed::paintsFillAndBevel_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("bevel");
    QTest::newRow("off, lowered") << false << int(bsLowered);
    QTest::newRow("on, lowered") << true << int(bsLowered);
    QTest::newRow("on, raised") << true << int(bsRaised);
}

void TstQvLed::paintsFillAndBevel()
{
    QFETCH(bool, active);
    QFETCH(int, bevel);
    TQvLed led;
    led.SetLedColor(lcRed);
    led.SetActive(active);
    led.SetBevelStyle(TBevelStyle(bevel));
    const QSize size(16, 8);
    const QImage image = Rendered(led, size);
    const QRgb fill = QColor(active ? QColor(255, 0, 0) : QColor(128, 0, 0)).rgb();
    const QRgb shadow = led.palette().color(QPalette::Dark).rgb();
    const QRgb light = led.palette().color(QPalette::Light).rgb();
    const QRgb leftTop = bevel == bsLowered ? shadow : light;
    const QRgb rightBottom = bevel == bsLowered ? light : shadow;
    QVERIFY(shadow != light);

    for (int x = 1; x < size.width() - 1; ++x)
        for (int y = 1; y < size.height() - 1; ++y)
            QCOMPARE(image.pixel(x, y), fill);
    for (int y = 0; y < size.height(); ++y)
        QCOMPARE(image.pixel(0, y), leftTop); // left edge, both corners on the left
    for (int x = 0; x < size.width() - 1; ++x)
        QCOMPARE(image.pixel(x, 0), leftTop);
    QCOMPARE(image.pixel(size.width() - 1, 0), rightBottom); // top-right corner
    for (int y = 0; y < size.height(); ++y)
        QCOMPARE(image.pixel(size.width() - 1, y), rightBottom);
    for (int x = 1; x < size.width(); ++x)
        QCOMPARE(image.pixel(x, size.height() - 1), rightBottom);
}

QTEST_MAIN(TstQvLed)
#include "tst_qvled.moc"
