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
    acNowy = MakeAction(owner, "acNowy", tr("&Nowy"), tr("Nowy|Tworzy nowy dokument"),
                        QKeySequence(QStringLiteral("Ctrl+N")));
    acOtworz
        = MakeAction(owner, "acOtworz", tr("&Otworz"), tr("Otwórz|Otwiera istniejący dokument"),
                     QKeySequence(QStringLiteral("Ctrl+O")));
    acZapisz = MakeAction(owner, "acZapisz", tr("&Zapisz"), tr("Zapisz|Zapisuje aktywny dokument"),
                          QKeySequence(QStringLiteral("Ctrl+S")));
    acZapiszJako = MakeAction(owner, "acZapiszJako", tr("Zapisz &jako..."),
                              tr("|Zapisuje aktywny dokument z nową nazwą"));
    acDrukujExtra = MakeAction(owner, "acDrukujExtra", tr("&Drukuj"),
                               tr("|Drukuje wiącej otwartych dokumentów na jednej stronie"));
    acZamknij = MakeAction(owner, "acZamknij", tr("Za&mknij"), tr("|Zamyka aktywny dokument"));
    acZamknijWszy
        = MakeAction(owner, "acZamknijWszy", tr("Zamknij &wszystko"), tr("|Zamyka wszystkie okna"));
    acZakoncz = MakeAction(owner, "acZakoncz", tr("Za&koncz"), tr("|Kończy działanie programu"),
                           QKeySequence(QStringLiteral("Alt+F4")));
    acDodaj = MakeAction(owner, "acDodaj", tr("&Dodaj"),
                         tr("|Dodaje nowy pomiar do aktywnego dokumentu"));
    acZapiszWykres = MakeAction(owner, "acZapiszWykres", tr("&Eksportuj"),
                                tr("|Eksportuje aktywny dokument do pliku graficznego"));
    acDrukuj = MakeAction(owner, "acDrukuj", tr("&Drukuj"), tr("|Drukuje aktywny dokument"),
                          QKeySequence(QStringLiteral("Ctrl+P")));
    acSerie = MakeAction(owner, "acSerie", tr("Edytor &serii"),
                         tr("Edytor serii|Pokazuje/ukrywa menadżera serii"));
    acUstawienia
        = MakeAction(owner, "acUstawienia", tr("&Ustawienia"), tr("|Zmienia ustawienia wykresu"));
    acOdswiez = MakeAction(owner, "acOdswiez", tr("&Odswiez"), tr("|Odświeża zawartość dokumentu"));
    acUstawieniaG
        = MakeAction(owner, "acUstawieniaG", tr("&Opcje"), tr("Opcje|Zmienia opcje programu"));
    acGenerator = MakeAction(owner, "acGenerator", tr("&Generator"),
                             tr("Generator|Pokazuje/ukrywa generator"),
                             QKeySequence(QStringLiteral("Ctrl+G")));
    acStolikKontrol = MakeAction(owner, "acStolikKontrol", tr("&Kontroler stolika"),
                                 tr("Kontrola stolika|Pokazuje/ukrywa panel kontrolny stolika"),
                                 QKeySequence(QStringLiteral("Ctrl+K")));
    acdBMeter = MakeAction(owner, "acdBMeter", tr("&Wskaźnik wysterowania"),
                           tr("Wskaźnik wysterowania|Pokazuje/ukrywa wskaźnik wysterowania"),
                           QKeySequence(QStringLiteral("Ctrl+M")));
    acKaskada = MakeAction(owner, "acKaskada", tr("&Kaskada"), tr("|Rozmieszca okna kaskadowo"));
    acPion = MakeAction(owner, "acPion", tr("&Sąsiadująco w pionie"),
                        tr("|Rozmieszca okna sąsiadująco w pionie"));
    acPoziom = MakeAction(owner, "acPoziom", tr("Sąsiadująco w &poziomie"),
                          tr("|Rozmieszca okna sąsiadująco w poziomie"));
    acPomoc = MakeAction(owner, "acPomoc", tr("&Dokumentacja"), QString());
    acAbout = MakeAction(owner, "acAbout", tr("&O programie..."),
                         tr("|Pokazuje informacje o programie"));

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
