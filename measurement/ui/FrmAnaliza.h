#pragma once

#include "analysis/BroadbandOptions.h"
#include "analysis/MarkerLog.h"

#include <QDialog>

class QLabel;
class QPushButton;
class TBroadbandGroup;
class TSeriesGroup;

// The "Analiza nagrania" dialog of "Pomiar → Analizuj nagranie…": the kept recording that is
// analysed again (its file, signal, range and rate, as its marker log has them), the name and
// colour of the level series it adds, and the "Analiza szerokopasmowa" group with the bands,
// smoothing and gate. OK stays unavailable while the recording's signal cannot give the
// bands asked for. Created modal for one analysis and freed afterwards; GUI thread only.
class TFrmAnaliza : public QDialog
{
    Q_OBJECT

public:
    TFrmAnaliza(const QString &recording, const TMarkerLog &log, QWidget *parent = nullptr);
    ~TFrmAnaliza() override;

    TBroadbandOptions BroadbandOptions() const;

    // The recording's description: "<file>: <signal> <f> Hz, <start>°..<stop>°, <rate> Hz".
    static QString Description(const QString &recording, const TMarkerLog &log);

    QLabel &lblNagranie() const { return *m_lblNagranie; }
    TSeriesGroup &gbSeria() const { return *m_gbSeria; } // the level series' name and colour
    TBroadbandGroup &gbSzerokopasmowa() const { return *m_gbSzerokopasmowa; }
    QLabel &lblSzerokopasmowa() const { return *m_lblSzerokopasmowa; } // why not, or empty
    QPushButton &btnOK() const { return *m_btnOK; }
    QPushButton &btnAnuluj() const { return *m_btnAnuluj; }

public slots:
    // Stays open with a warning while the band text does not parse.
    void accept() override;

private:
    void UpdateRefusal();

    TMarkerLog m_log;
    QLabel *m_lblNagranie = nullptr;
    TSeriesGroup *m_gbSeria = nullptr;
    TBroadbandGroup *m_gbSzerokopasmowa = nullptr;
    QLabel *m_lblSzerokopasmowa = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnAnuluj = nullptr;
};
