#pragma once

// Answers the two windows of "&Dodaj" for TMeasurementAction::Exec(): "Nowy pomiar" with a
// range (and, with bands, MLS and the broadband analysis of them), then "Pomiar": Start, the
// whole run on the fixture's clock, and Zamknij. Header-only.

#include "measurement/ui/FrmParametry.h"
#include "measurement/ui/FrmPomiar.h"

#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <functional>

struct TMeasurementScript
{
    int StartDeg = -90;
    int StopDeg = 90;
    QString Bands; // empty: no broadband analysis
    std::function<void(TFrmPomiar &)> BeforeStart; // may be empty
    std::function<void(TFrmPomiar &)> AfterRun; // before Zamknij; may be empty

    int operator()(QDialog &dialog) const
    {
        if (auto *p = qobject_cast<TFrmParametry *>(&dialog)) {
            if (!Bands.isEmpty()) {
                p->cbSygnal().setCurrentIndex(p->cbSygnal().findText(QStringLiteral("MLS")));
                p->gbSzerokopasmowa().setChecked(true);
                p->edPasma().setText(Bands);
            }
            p->rbRange().setChecked(true);
            p->edStart().setValue(StartDeg);
            p->edStop().setValue(StopDeg);
            p->btnOK().click();
            return p->result();
        }
        auto *pomiar = qobject_cast<TFrmPomiar *>(&dialog);
        if (!pomiar)
            return int(QDialog::Rejected);
        if (BeforeStart)
            BeforeStart(*pomiar);
        pomiar->BitBtn1().click();
        if (AfterRun)
            AfterRun(*pomiar);
        pomiar->BitBtn2().click();
        return pomiar->result();
    }
};
