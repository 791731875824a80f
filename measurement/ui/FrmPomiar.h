#pragma once

#include "analysis/BroadbandOptions.h"

#include <QDialog>

#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class TClock;
class TMeasurementRig;
class TMeasurementRun;
class TPolarGraph;

// The measurement window "Pomiar": a fixed dialog that shows the run's phase, status and
// progress, starts the run ("Start"), cancels or closes it ("Zamknij") and, after the
// service word "kapsel", offers "+" (a series from the recording file as it is). A thin
// view over TMeasurementRun, which it owns. Esc and the close box act as "Zamknij"; a close
// asked for during a run takes effect when the run has ended. GUI thread only; the rig and
// the clock must outlive the window.
class TFrmPomiar : public QDialog
{
    Q_OBJECT

public:
    TFrmPomiar(TMeasurementRig &rig, TClock &clock, QWidget *parent = nullptr);
    ~TFrmPomiar() override;

    // What the main window hands over before showing the window.
    void SetChart(TPolarGraph *chart);
    void SetSeriesName(const QString &name);
    void SetSeriesColor(quint32 color); // 0x00BBGGRR
    void SetInternalGenerator(bool internal);
    void SetBlockBytes(int bytes); // RMSBuffNumber
    // Set: the run also computes the band polars of a broadband analysis with these options.
    void SetBroadband(std::optional<TBroadbandOptions> options);

    TMeasurementRun &Run() const { return *m_run; }

    QGroupBox &GroupBox1() const { return *m_GroupBox1; }
    QLabel &lblStatus() const { return *m_lblStatus; }
    QProgressBar &ProgressBar1() const { return *m_ProgressBar1; }
    QPushButton &BitBtn1() const { return *m_BitBtn1; }
    QPushButton &BitBtn2() const { return *m_BitBtn2; }
    QPushButton &btnExtra() const { return *m_btnExtra; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void BitBtn1Click();
    void BitBtn2Click();
    void btnExtraClick();
    void ShowRun();
    void CloseIfAsked();

    std::unique_ptr<TMeasurementRun> m_run;
    QGroupBox *m_GroupBox1 = nullptr;
    QLabel *m_lblStatusTyp = nullptr;
    QLabel *m_lblStatus = nullptr;
    QProgressBar *m_ProgressBar1 = nullptr;
    QPushButton *m_BitBtn1 = nullptr;
    QPushButton *m_BitBtn2 = nullptr;
    QPushButton *m_btnExtra = nullptr;
    bool m_closing = false;
};
