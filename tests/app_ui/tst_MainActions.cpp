#include "app/ui/MainActions.h"

#include <QAction>
#include <QKeySequence>
#include <QObject>
#include <QtTest>

// The actions' texts are the program's user interface: every caption, hint part and
// shortcut must be exactly the one the users know.
class TestMainActions : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void everyActionOnce();
    void toggles();
    void hintWithoutShortPart();
};

void TestMainActions::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shortcut");

    const struct
    {
        const char *name, *caption, *hint, *shortcut;
    } rows[] = {
        { "acNowy", "&Nowy", "Nowy|Tworzy nowy dokument", "Ctrl+N" },
        { "acOtworz", "&Otworz", "Otwórz|Otwiera istniejący dokument", "Ctrl+O" },
        { "acZapisz", "&Zapisz", "Zapisz|Zapisuje aktywny dokument", "Ctrl+S" },
        { "acZapiszJako", "Zapisz &jako...", "|Zapisuje aktywny dokument z nową nazwą", "" },
        { "acDrukujExtra", "&Drukuj", "|Drukuje wiącej otwartych dokumentów na jednej stronie",
          "" },
        { "acZamknij", "Za&mknij", "|Zamyka aktywny dokument", "" },
        { "acZamknijWszy", "Zamknij &wszystko", "|Zamyka wszystkie okna", "" },
        { "acZakoncz", "Za&koncz", "|Kończy działanie programu", "Alt+F4" },
        { "acDodaj", "&Dodaj", "|Dodaje nowy pomiar do aktywnego dokumentu", "" },
        { "acZapiszWykres", "&Eksportuj", "|Eksportuje aktywny dokument do pliku graficznego", "" },
        { "acDrukuj", "&Drukuj", "|Drukuje aktywny dokument", "Ctrl+P" },
        { "acSerie", "Edytor &serii", "Edytor serii|Pokazuje/ukrywa menadżera serii", "" },
        { "acUstawienia", "&Ustawienia", "|Zmienia ustawienia wykresu", "" },
        { "acOdswiez", "&Odswiez", "|Odświeża zawartość dokumentu", "" },
        { "acUstawieniaG", "&Opcje", "Opcje|Zmienia opcje programu", "" },
        { "acGenerator", "&Generator", "Generator|Pokazuje/ukrywa generator", "Ctrl+G" },
        { "acStolikKontrol", "&Kontroler stolika",
          "Kontrola stolika|Pokazuje/ukrywa panel kontrolny stolika", "Ctrl+K" },
        { "acdBMeter", "&Wskaźnik wysterowania",
          "Wskaźnik wysterowania|Pokazuje/ukrywa wskaźnik wysterowania", "Ctrl+M" },
        { "acKaskada", "&Kaskada", "|Rozmieszca okna kaskadowo", "" },
        { "acPion", "&Sąsiadująco w pionie", "|Rozmieszca okna sąsiadująco w pionie", "" },
        { "acPoziom", "Sąsiadująco w &poziomie", "|Rozmieszca okna sąsiadująco w poziomie", "" },
        { "acPomoc", "&Dokumentacja", "", "" },
        { "acAbout", "&O programie...", "|Pokazuje informacje o programie", "" },
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromUtf8(row.name) << QString::fromUtf8(row.caption)
                                << QString::fromUtf8(row.hint) << QString::fromUtf8(row.shortcut);
}

void TestMainActions::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(QString, shortcut);

    QObject owner;
    TMainActions actions(&owner);
    QAction *action = owner.findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), QKeySequence(shortcut));
    const QString longPart = hint.section(QLatin1Char('|'), 1);
    QCOMPARE(action->statusTip(), longPart);
    const QString shortPart = hint.section(QLatin1Char('|'), 0, 0);
    if (!shortPart.isEmpty())
        QCOMPARE(action->toolTip(), shortPart);
}

void TestMainActions::everyActionOnce()
{
    QObject owner;
    TMainActions actions(&owner);
    const QList<QAction *> all = actions.All();
    QCOMPARE(all.size(), 23);
    QCOMPARE(QSet<QAction *>(all.begin(), all.end()).size(), all.size());
    QCOMPARE(owner.findChildren<QAction *>().size(), all.size());
}

void TestMainActions::toggles()
{
    QObject owner;
    TMainActions actions(&owner);
    for (QAction *action : actions.All()) {
        const bool toggle = action == actions.acSerie || action == actions.acGenerator
            || action == actions.acStolikKontrol || action == actions.acdBMeter;
        QCOMPARE(action->isCheckable(), toggle);
    }
}

void TestMainActions::hintWithoutShortPart()
{
    // A hint with nothing before "|" still gives a readable tooltip (no "&").
    QObject owner;
    TMainActions actions(&owner);
    QCOMPARE(actions.acZamknijWszy->toolTip(), QStringLiteral("Zamknij wszystko"));
}

QTEST_MAIN(TestMainActions)
#include "tst_MainActions.moc"
