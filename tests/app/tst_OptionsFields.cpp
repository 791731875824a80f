// The options dialog's arithmetic: slider positions and sizes, rate buttons, points of a
// turn, the folder as typed.
#include "app/OptionsFields.h"

#include <QTemporaryDir>
#include <QtTest>

class TestOptionsFields : public QObject
{
    Q_OBJECT

private slots:
    void bufferPositionIsNearestPowerOfTwo_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("position");
        QTest::newRow("8192") << 8192 << 4;
        QTest::newRow("512") << 512 << 0;
        QTest::newRow("65536") << 65536 << 7;
        QTest::newRow("700 rounds down") << 700 << 0;
        QTest::newRow("1000 rounds up") << 1000 << 1;
        QTest::newRow("huge") << (1 << 24) << 7;
        QTest::newRow("zero") << 0 << 0;
    }
    void bufferPositionIsNearestPowerOfTwo()
    {
        QFETCH(int, bytes);
        QFETCH(int, position);
        QCOMPARE(TOptionsFields::BufferPosition(bytes), position);
        // Every position maps back to a size that gives the position again.
        QCOMPARE(TOptionsFields::BufferPosition(TOptionsFields::BufferSize(position)), position);
    }

    void storedRateSelectsButton_data()
    {
        QTest::addColumn<int>("hz");
        QTest::addColumn<int>("stored");
        QTest::newRow("32 kHz is neither") << 32000 << 22050;
        QTest::newRow("46001") << 46001 << 48000;
        QTest::newRow("46000") << 46000 << 44100;
        QTest::newRow("40001") << 40001 << 44100;
        QTest::newRow("40000") << 40000 << 22050;
        QTest::newRow("20001") << 20001 << 22050;
        QTest::newRow("20000") << 20000 << 11025;
        QTest::newRow("96 kHz") << 96000 << 48000;
    }
    void storedRateSelectsButton()
    {
        QFETCH(int, hz);
        QFETCH(int, stored);
        QCOMPARE(TOptionsFields::RateOfButton(TOptionsFields::RateButton(hz)), stored);
    }

    void pointsOfAFullTurn_data()
    {
        QTest::addColumn<int>("hz");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("points");
        QTest::newRow("44.1 kHz 16 bit 512") << 44100 << 16 << 512 << 3445;
        QTest::newRow("11 kHz 16 bit 65536") << 11025 << 16 << 65536 << 6;
        QTest::newRow("11 kHz 8 bit 65536") << 11025 << 8 << 65536 << 13;
        QTest::newRow("48 kHz 16 bit 8192") << 48000 << 16 << 8192 << 234;
    }
    void pointsOfAFullTurn()
    {
        QFETCH(int, hz);
        QFETCH(int, bits);
        QFETCH(int, block);
        QFETCH(int, points);
        QCOMPARE(TOptionsFields::PointsPerTurn(hz, bits, block), points);
    }

    void sizesUseTheLocalesSeparator()
    {
        // Polish leaves 4-digit numbers ungrouped in its own format; the labels do not.
        const QLocale polish(QLocale::Polish, QLocale::Poland);
        QCOMPARE(TOptionsFields::FormatBytes(8192, polish), "8" + polish.groupSeparator() + "192");
        QCOMPARE(TOptionsFields::FormatBytes(65536, polish),
                 "65" + polish.groupSeparator() + "536");
        QCOMPARE(TOptionsFields::FormatBytes(512, polish), QStringLiteral("512"));
        QCOMPARE(TOptionsFields::FormatBytes(1234567, QLocale(QLocale::English)),
                 QStringLiteral("1,234,567"));
    }

    void folderLosesOneTrailingSeparator_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("one backslash") << "C:\\Pomiary\\"
                                       << "C:\\Pomiary";
        QTest::newRow("two backslashes") << "C:\\Pomiary\\\\"
                                         << "C:\\Pomiary\\";
        QTest::newRow("slash") << "/home/ala/pomiary/"
                               << "/home/ala/pomiary";
        QTest::newRow("none") << "/home/ala"
                              << "/home/ala";
        QTest::newRow("root stays") << "/"
                                    << "/";
    }
    void folderLosesOneTrailingSeparator()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(TOptionsFields::TempDirFromEdit(typed), stored);
    }

    void folderProblemsAreNamed()
    {
        QTemporaryDir dir;
        QVERIFY(TOptionsFields::FolderProblem(dir.path()).isEmpty());
        const QString missing = dir.filePath(QStringLiteral("brak"));
        QVERIFY(TOptionsFields::FolderProblem(missing).contains(QStringLiteral("nie istnieje")));
        QFile file(dir.filePath(QStringLiteral("plik")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(
            TOptionsFields::FolderProblem(file.fileName()).contains(QStringLiteral("folderem")));
    }
};

QTEST_GUILESS_MAIN(TestOptionsFields)
#include "tst_OptionsFields.moc"
