#pragma once

#include "analysis/BroadbandOptions.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;

// The "Analiza szerokopasmowa" group of the measurement dialogs: the band frequencies, the
// smoothing, the gate (automatic or a length in ms) and the plane the turn sweeps. It only edits;
// its owner decides what may be edited (SetFieldsEnabled). A child of its dialog; GUI thread only.
class TBroadbandGroup : public QGroupBox
{
    Q_OBJECT

public:
    // What the fields show, as typed, and whether the analysis is asked for: what a dialog
    // hands from one use to the next. The defaults are what a new group shows.
    struct TFields
    {
        bool Asked = false; // the title's check box (checkable groups only)
        QString Bands = TBroadbandOptions::BandsText(TBroadbandOptions {}.BandsHz);
        int Smoothing = TBroadbandOptions {}.Smoothing; // 0 or N for 1/N octave
        bool AutomaticGate = true;
        double GateMs = 3.0; // the gate's length, ms, used when the automatic gate is off
        bool Vertical = false; // "Płaszczyzna": "pionowa"
    };

    // checkable: the group's title is a check box asking for the analysis (unticked at first).
    TBroadbandGroup(bool checkable, QWidget *parent);

    TFields Fields() const;
    // Shows fields; a smoothing the list does not offer leaves the list as it is.
    void SetFields(const TFields &fields);

    // The fields' options; the default bands while the band text does not parse.
    TBroadbandOptions Options() const;
    // The bands as typed, or std::nullopt with the reason in *error.
    std::optional<std::vector<double>> Bands(QString *error = nullptr) const;
    // The band field open or not; the smoothing and gate fields open or not (the gate's
    // length only while the automatic gate is off).
    void SetFieldsEnabled(bool bands, bool options);

    QLineEdit &edPasma() const { return *m_edPasma; }
    QComboBox &cbWygladzanie() const { return *m_cbWygladzanie; }
    QCheckBox &chkBramkaAuto() const { return *m_chkBramkaAuto; }
    QDoubleSpinBox &seBramka() const { return *m_seBramka; }
    QComboBox &cbPlaszczyzna() const { return *m_cbPlaszczyzna; }

signals:
    // A field's value changed: the band text, the smoothing, the automatic gate, the gate's
    // length or the plane (not the title's check box: that is QGroupBox::toggled).
    void FieldsChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    void FitBandField();

    QLabel *m_lblPasma = nullptr;
    QLineEdit *m_edPasma = nullptr;
    QLabel *m_lblWygladzanie = nullptr;
    QComboBox *m_cbWygladzanie = nullptr;
    QLabel *m_lblBramka = nullptr;
    QCheckBox *m_chkBramkaAuto = nullptr;
    QDoubleSpinBox *m_seBramka = nullptr;
    QLabel *m_lblPlaszczyzna = nullptr;
    QComboBox *m_cbPlaszczyzna = nullptr;
};
