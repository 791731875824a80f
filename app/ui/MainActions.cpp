#include "app/ui/MainActions.h"

#include "app/ui/ProgramPicture.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QStyle>

static QAction *MakeAction(QObject *owner, const char *name, const QString &caption,
                           const QString &hint, const QKeySequence &shortcut = {})
{
    auto *action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    TMainActions::SetHint(action, hint);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

void TMainActions::SetHint(QAction *action, const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    const QString shortPart = bar < 0 ? hint : hint.left(bar);
    const QString longPart = bar < 0 ? hint : hint.mid(bar + 1);
    // An empty tooltip would make Qt fall back to the caption with its "&".
    action->setToolTip(shortPart.isEmpty() ? QString(action->text()).remove(QLatin1Char('&'))
                                           : shortPart);
    action->setStatusTip(longPart);
}

QAction *TMainActions::MenuItemFor(QAction *source, const QString &caption, QObject *owner)
{
    // The menu shows the text after a tab as the item's shortcut.
    const QString keys = source->shortcut().toString(QKeySequence::NativeText);
    auto *item = new QAction(keys.isEmpty() ? caption : caption + QLatin1Char('\t') + keys, owner);
    item->setCheckable(source->isCheckable());
    item->setStatusTip(source->statusTip());
    auto sync = [item, source] {
        item->setEnabled(source->isEnabled());
        item->setChecked(source->isChecked());
    };
    QObject::connect(source, &QAction::changed, item, sync);
    QObject::connect(item, &QAction::triggered, source, [source] { source->trigger(); });
    sync();
    return item;
}

TMainActions::TMainActions(QObject *owner)
{
    acNowy = MakeAction(owner, "acNowy", QStringLiteral("&Nowy"),
                        QStringLiteral("Nowy|Tworzy nowy dokument"),
                        QKeySequence(QStringLiteral("Ctrl+N")));
    acOtworz = MakeAction(owner, "acOtworz", QStringLiteral("&Otworz"),
                          QStringLiteral("Otwórz|Otwiera istniejący dokument"),
                          QKeySequence(QStringLiteral("Ctrl+O")));
    acZapisz = MakeAction(owner, "acZapisz", QStringLiteral("&Zapisz"),
                          QStringLiteral("Zapisz|Zapisuje aktywny dokument"),
                          QKeySequence(QStringLiteral("Ctrl+S")));
    acZapiszJako = MakeAction(owner, "acZapiszJako", QStringLiteral("Zapisz &jako..."),
                              QStringLiteral("|Zapisuje aktywny dokument z nową nazwą"));
    acDrukujExtra
        = MakeAction(owner, "acDrukujExtra", QStringLiteral("&Drukuj"),
                     QStringLiteral("|Drukuje wiącej otwartych dokumentów na jednej stronie"));
    acZamknij = MakeAction(owner, "acZamknij", QStringLiteral("Za&mknij"),
                           QStringLiteral("|Zamyka aktywny dokument"));
    acZamknijWszy = MakeAction(owner, "acZamknijWszy", QStringLiteral("Zamknij &wszystko"),
                               QStringLiteral("|Zamyka wszystkie okna"));
    acZakoncz = MakeAction(owner, "acZakoncz", QStringLiteral("Za&koncz"),
                           QStringLiteral("|Kończy działanie programu"),
                           QKeySequence(QStringLiteral("Alt+F4")));
    acDodaj = MakeAction(owner, "acDodaj", QStringLiteral("&Dodaj"),
                         QStringLiteral("|Dodaje nowy pomiar do aktywnego dokumentu"));
    acZapiszWykres
        = MakeAction(owner, "acZapiszWykres", QStringLiteral("&Eksportuj"),
                     QStringLiteral("|Eksportuje aktywny dokument do pliku graficznego"));
    acDrukuj = MakeAction(owner, "acDrukuj", QStringLiteral("&Drukuj"),
                          QStringLiteral("|Drukuje aktywny dokument"),
                          QKeySequence(QStringLiteral("Ctrl+P")));
    acSerie = MakeAction(owner, "acSerie", QStringLiteral("Edytor &serii"),
                         QStringLiteral("Edytor serii|Pokazuje/ukrywa menadżera serii"));
    acUstawienia = MakeAction(owner, "acUstawienia", QStringLiteral("&Ustawienia"),
                              QStringLiteral("|Zmienia ustawienia wykresu"));
    acOdswiez = MakeAction(owner, "acOdswiez", QStringLiteral("&Odswiez"),
                           QStringLiteral("|Odświeża zawartość dokumentu"));
    acUstawieniaG = MakeAction(owner, "acUstawieniaG", QStringLiteral("&Opcje"),
                               QStringLiteral("Opcje|Zmienia opcje programu"));
    acGenerator = MakeAction(owner, "acGenerator", QStringLiteral("&Generator"),
                             QStringLiteral("Generator|Pokazuje/ukrywa generator"),
                             QKeySequence(QStringLiteral("Ctrl+G")));
    acStolikKontrol
        = MakeAction(owner, "acStolikKontrol", QStringLiteral("&Kontroler stolika"),
                     QStringLiteral("Kontrola stolika|Pokazuje/ukrywa panel kontrolny stolika"),
                     QKeySequence(QStringLiteral("Ctrl+K")));
    acdBMeter
        = MakeAction(owner, "acdBMeter", QStringLiteral("&Wskaźnik wysterowania"),
                     QStringLiteral("Wskaźnik wysterowania|Pokazuje/ukrywa wskaźnik wysterowania"),
                     QKeySequence(QStringLiteral("Ctrl+M")));
    acKaskada = MakeAction(owner, "acKaskada", QStringLiteral("&Kaskada"),
                           QStringLiteral("|Rozmieszca okna kaskadowo"));
    acPion = MakeAction(owner, "acPion", QStringLiteral("&Sąsiadująco w pionie"),
                        QStringLiteral("|Rozmieszca okna sąsiadująco w pionie"));
    acPoziom = MakeAction(owner, "acPoziom", QStringLiteral("Sąsiadująco w &poziomie"),
                          QStringLiteral("|Rozmieszca okna sąsiadująco w poziomie"));
    acPomoc = MakeAction(owner, "acPomoc", QStringLiteral("&Dokumentacja"), QString());
    acAbout = MakeAction(owner, "acAbout", QStringLiteral("&O programie..."),
                         QStringLiteral("|Pokazuje informacje o programie"));

    for (QAction *toggle : { acSerie, acGenerator, acStolikKontrol, acdBMeter })
        toggle->setCheckable(true);
}

QList<QAction *> TMainActions::All() const
{
    return { acNowy,        acOtworz,  acZapisz,      acZapiszJako,   acDrukujExtra,   acZamknij,
             acZamknijWszy, acZakoncz, acDodaj,       acZapiszWykres, acDrukuj,        acSerie,
             acUstawienia,  acOdswiez, acUstawieniaG, acGenerator,    acStolikKontrol, acdBMeter,
             acKaskada,     acPion,    acPoziom,      acPomoc,        acAbout };
}

void TMainActions::SetIcons(const QStyle &style) const
{
    acNowy->setIcon(style.standardIcon(QStyle::SP_FileIcon));
    acOtworz->setIcon(style.standardIcon(QStyle::SP_DialogOpenButton));
    acZapisz->setIcon(style.standardIcon(QStyle::SP_DialogSaveButton));
    acDrukuj->setIcon(ProgramIcon(EProgramIcon::Print));
    acSerie->setIcon(ProgramIcon(EProgramIcon::Series));
    acGenerator->setIcon(ProgramIcon(EProgramIcon::Generator));
    acStolikKontrol->setIcon(ProgramIcon(EProgramIcon::Turntable));
    acdBMeter->setIcon(ProgramIcon(EProgramIcon::Meter));
    acUstawieniaG->setIcon(ProgramIcon(EProgramIcon::Options));
    acDodaj->setIcon(ProgramIcon(EProgramIcon::Measure));
    acOdswiez->setIcon(ProgramIcon(EProgramIcon::Refresh));
}
