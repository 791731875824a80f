#include "app/ui/FrmAbout.h"
#include "app/ui/FrmSplash.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void texts();
    void okEndsTheDialog_data();
    void okEndsTheDialog();
    void splashIsThePicture();
};

void TestFrmAbout::texts()
{
    TFrmAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral("O programie..."));
    QStringList texts;
    for (QLabel *label : about.findChildren<QLabel *>())
        texts << label->text();
    QVERIFY(texts.contains(
        QStringLiteral("program do pomiaru charakterystyk kierunkowości głośników")));
    QVERIFY(texts.contains(QStringLiteral("wersja 1.0")));
    QPushButton *ok = about.findChild<QPushButton *>(QStringLiteral("btnOK"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
}

void TestFrmAbout::okEndsTheDialog_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter (default button)") << int(Qt::Key_Return);
    QTest::newRow("Escape (cancel button)") << int(Qt::Key_Escape);
}

void TestFrmAbout::okEndsTheDialog()
{
    QFETCH(int, key);
    TFrmAbout about;
    bool ended = false;
    QTimer::singleShot(0, &about, [&] {
        QTest::keyClick(&about, Qt::Key(key));
        ended = !about.isVisible();
        if (!ended)
            about.done(-1);
    });
    about.exec();
    QVERIFY(ended);
}

void TestFrmAbout::splashIsThePicture()
{
    TFrmSplash splash;
    splash.ShowNow();
    QCOMPARE(splash.size(), QSize(300, 225));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(splash.geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(splash.geometry().center().y() - screen.center().y()) <= 1);
    const QImage picture = splash.grab().toImage();
    QVERIFY(picture.pixel(5, 5) != picture.pixel(150, 112)); // a drawing, not a blank
}

QTEST_MAIN(TestFrmAbout)
#include "tst_FrmAbout.moc"
