// Typing the service word: matching characters advance, a wrong one starts over without
// being retried as the first character, the whole word reports once and starts over.

#include "controls/ui/ServiceWord.h"

#include <QtTest>

class TstServiceWords : public QObject
{
    Q_OBJECT

private slots:
    void typing_data();
    void typing();
};

void TstServiceWords::typing_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("matches"); // how many times the word was completed
    QTest::addColumn<int>("position"); // afterwards
    QTest::newRow("the word") << "kapsel" << 1 << 0;
    QTest::newRow("twice") << "kapselkapsel" << 2 << 0;
    QTest::newRow("half") << "kap" << 0 << 3;
    QTest::newRow("case matters") << "Kapsel" << 0 << 0;
    QTest::newRow("wrong letter restarts") << "kapxsel" << 0 << 0;
    // The k that breaks "kak" is not taken as a new start.
    QTest::newRow("mismatch is not retried") << "kakapsel" << 0 << 0;
    QTest::newRow("after a mismatch") << "kax"
                                         "kapsel"
                                      << 1 << 0;
    QTest::newRow("text before") << "xyzkapsel" << 1 << 0;
}

void TstServiceWords::typing()
{
    QFETCH(QString, typed);
    QFETCH(int, matches);
    QFETCH(int, position);
    int pos = 0, completed = 0;
    for (QChar c : typed)
        completed += MatchServiceWord(c, ServiceWord, pos) ? 1 : 0;
    QCOMPARE(completed, matches);
    QCOMPARE(pos, position);
    QCOMPARE(ServiceWord, QString("kapsel"));
}

QTEST_MAIN(TstServiceWords)
#include "tst_servicewords.moc"
