// Qt's own dialogs and buttons speak Polish once the program has installed Qt's translation.
#include "app/QtTranslation.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class TestQtTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(InstallQtTranslation(), "qtbase_pl missing: install qt6-translations-l10n");
        QVERIFY(InstallQtTranslation()); // a second call adds no second translator
        QCOMPARE(qApp->findChildren<QTranslator *>().size(), 1);
    }

    void standardButtonsArePolish_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << QStringLiteral("Anuluj");
        QTest::newRow("Yes") << int(QDialogButtonBox::Yes) << QStringLiteral("&Tak");
        QTest::newRow("No") << int(QDialogButtonBox::No) << QStringLiteral("&Nie");
    }

    void standardButtonsArePolish()
    {
        QFETCH(int, button);
        QFETCH(QString, text);
        QDialogButtonBox box { QDialogButtonBox::StandardButton(button) };
        QCOMPARE(box.button(QDialogButtonBox::StandardButton(button))->text(), text);
        QMessageBox message;
        message.setStandardButtons(QMessageBox::StandardButton(button));
        QCOMPARE(message.button(QMessageBox::StandardButton(button))->text(), text);
    }

    void fileDialogIsPolish()
    {
        QTemporaryDir dir;
        QFileDialog dialog(nullptr, QString(), dir.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.resize(640, 400);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QStringList labels;
        for (const QLabel *label : dialog.findChildren<QLabel *>())
            labels << label->text();
        QVERIFY2(!labels.contains(QStringLiteral("Look in:")), qPrintable(labels.join('|')));
        QVERIFY2(!labels.contains(QStringLiteral("File &name:")), qPrintable(labels.join('|')));
        // For a person to look at: ORVI_SCREENSHOT_DIALOG names the picture's file.
        const QByteArray target = qgetenv("ORVI_SCREENSHOT_DIALOG");
        if (!target.isEmpty())
            QVERIFY(dialog.grab().save(QString::fromLocal8Bit(target)));
    }
};

QTEST_MAIN(TestQtTranslation)
#include "tst_QtTranslation.moc"
