#pragma once

#include <QList>

class QAction;
class QObject;
class QString;

// The main window's actions with their captions, hints ("short|long": the short part is the
// tool button's tooltip, the long part the status bar text) and shortcuts. The main window
// connects them and keeps their enabled and ticked states. Owned by the main window (they
// are QObject children of it).
class TMainActions
{
public:
    explicit TMainActions(QObject *owner);

    QAction *acNowy;
    QAction *acOtworz;
    QAction *acZapisz;
    QAction *acZapiszJako;
    QAction *acDrukujExtra;
    QAction *acZamknij;
    QAction *acZamknijWszy;
    QAction *acZakoncz;
    QAction *acDodaj;
    QAction *acZapiszWykres;
    QAction *acDrukuj;
    QAction *acSerie;
    QAction *acUstawienia;
    QAction *acOdswiez;
    QAction *acUstawieniaG;
    QAction *acGenerator;
    QAction *acStolikKontrol;
    QAction *acdBMeter;
    QAction *acKaskada;
    QAction *acPion;
    QAction *acPoziom;
    QAction *acPomoc;
    QAction *acAbout;

    QList<QAction *> All() const;

    // Splits a hint "short|long" into the tooltip (short) and status text (long) of action.
    static void SetHint(QAction *action, const QString &hint);
};
