#pragma once

#include "analysis/BroadbandOptions.h"
#include "measurement/ui/BroadbandGroup.h"
#include "measurement/ui/SeriesGroup.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TArrowSpinBox;
class TColorComboBox;
class TFrmGenerator;
class TFrmStolikKontrol;

// The "Nowy pomiar" dialog: the new series' name and colour, the test signal and the angular
// range of a measurement, and whether the run also computes the broadband analysis. It keeps
// no settings of its own: the signal fields act at once on the generator window, the range
// fields on the turntable window and the broadband group on its memory beside the generator
// window (TBroadbandMemory), and those changes stay when the dialog is cancelled. After OK the
// caller reads SeriesName, SeriesColor, InternalGenerator, Broadband and BroadbandOptions.
//
// Created modal for each new measurement and freed afterwards. It refers to the generator
// and turntable windows, which must outlive it (both live for the whole program run).
// GUI thread only.
class TFrmParametry : public QDialog
{
    Q_OBJECT

public:
    // Fills the fields from the generator's and the turntable's current state; opening the
    // dialog changes neither window.
    TFrmParametry(TFrmGenerator &generator, TFrmStolikKontrol &turntable,
                  QWidget *parent = nullptr);
    ~TFrmParametry() override;

    // What the caller presets.
    void SetSeriesName(const QString &name);
    // Colour 0x00BBGGRR; one that the list does not offer leaves the list without a selection.
    void SetSeriesColor(quint32 color);

    // What the caller reads after OK.
    QString SeriesName() const;
    quint32 SeriesColor() const; // 0x00BBGGRR
    bool InternalGenerator() const; // false: an external generator plays the signal
    // Asked for, and the internal generator plays a signal the analysis can use.
    bool Broadband() const;
    // The fields' options; the default bands while the band text does not parse.
    TBroadbandOptions BroadbandOptions() const;

    // Controls, named as in the dialog's description.
    QLineEdit &Edit1() const { return m_gbSeria->Edit1(); }
    TColorComboBox &ColorComboBox1() const { return m_gbSeria->ColorComboBox1(); }
    QGroupBox &gbGenerator() const { return *m_gbGenerator; }
    QRadioButton &rbZewnetrzny() const { return *m_rbZewnetrzny; }
    QRadioButton &rbWewnetrzny() const { return *m_rbWewnetrzny; }
    QComboBox &cbSygnal() const { return *m_cbSygnal; }
    QSpinBox &seFreq() const;
    QSpinBox &seAmp() const { return *m_seAmp; }
    QGroupBox &gbStolikKontrol() const { return *m_gbStolikKontrol; }
    QRadioButton &rbFull() const { return *m_rbFull; }
    QRadioButton &rbRange() const { return *m_rbRange; }
    QSpinBox &edStart() const { return *m_edStart; }
    QSpinBox &edStop() const { return *m_edStop; }
    TBroadbandGroup &gbSzerokopasmowa() const { return *m_gbSzerokopasmowa; }
    QLineEdit &edPasma() const;
    QComboBox &cbWygladzanie() const;
    QCheckBox &chkBramkaAuto() const;
    QDoubleSpinBox &seBramka() const;
    QLabel &lblSzerokopasmowa() const { return *m_lblSzerokopasmowa; } // why not, or empty
    QPushButton &btnOK() const { return *m_btnOK; }
    QPushButton &btnAnuluj() const { return *m_btnAnuluj; }

public slots:
    // Stays open with a warning while the asked-for analysis has a band text that does not
    // parse.
    void accept() override;

private:
    void CreateControls();
    QGroupBox *CreateSeriesGroup();
    QGroupBox *CreateGeneratorGroup();
    QGroupBox *CreateRangeGroup();
    QGroupBox *CreateBroadbandGroup();
    void FormCreate();
    void ConnectHandlers();

    void cbSygnalChange(int index);
    void seFreqChange(int value);
    void seFreqTopClick();
    void seFreqBottomClick();
    void seAmpChange(int value);
    void edStartChange(int value);
    void edStopChange(int value);
    void rbGeneratorClick();
    void rbRangeClick();
    void UpdateGeneratorGroup();
    void UpdateRangeGroup();
    void UpdateBroadbandGroup();
    void RememberBroadband();
    QString BroadbandRefusal() const;

    TFrmGenerator &m_generator;
    TFrmStolikKontrol &m_turntable;

    TSeriesGroup *m_gbSeria = nullptr;
    QGroupBox *m_gbGenerator = nullptr;
    QRadioButton *m_rbZewnetrzny = nullptr;
    QRadioButton *m_rbWewnetrzny = nullptr;
    QComboBox *m_cbSygnal = nullptr;
    TArrowSpinBox *m_seFreq = nullptr;
    QSpinBox *m_seAmp = nullptr;
    QGroupBox *m_gbStolikKontrol = nullptr;
    QRadioButton *m_rbFull = nullptr;
    QRadioButton *m_rbRange = nullptr;
    QSpinBox *m_edStart = nullptr;
    QSpinBox *m_edStop = nullptr;
    TBroadbandGroup *m_gbSzerokopasmowa = nullptr;
    QLabel *m_lblSzerokopasmowa = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnAnuluj = nullptr;
};
