#pragma once

#include <QCoreApplication>
#include <QList>

class QAction;
class QObject;
class QStyle;
class QString;

// The main window's actions with their captions, hints ("short|long": the short part is the
// tool button's tooltip, the long part the status bar text) and shortcuts. The main window
// connects them and keeps their enabled and ticked states. Owned by the main window (they
// are QObject children of it).
class TMainActions
{
    Q_DECLARE_TR_FUNCTIONS(TMainActions)

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

    // The tool bar pictures: the style's for new, open and save, the program's own for the
    // others that appear on a bar.
    void SetIcons(const QStyle &style) const;

    // Splits a hint "short|long" into the tooltip (short) and status text (long) of action.
    static void SetHint(QAction *action, const QString &hint);

    // A menu item with its own caption standing for source: it mirrors source's enabled,
    // ticked and status text and triggers source. It shows source's shortcut beside the
    // caption but does not take it, so the key stays with source alone (two holders of one
    // key in a window make it ambiguous and then neither fires). Owned by owner.
    static QAction *MenuItemFor(QAction *source, const QString &caption, QObject *owner);
};
