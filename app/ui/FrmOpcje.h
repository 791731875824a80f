#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QWidget;
class TMicCalibrationGroup;
class TTurntableDriverGroup;
class TDLPrinterPortIO;
class TSettings;
class TVolumeBar;

// "Opcje": the modal options dialog. It is filled from the settings when created, writes
// them back only through "&OK" and "&Zastosuj" (ApplyBtnClick) and keeps no state beyond
// its controls; only a port chosen in CBLPT reaches the turntable's port at once, whether
// the dialog is then applied or not. Created for one showing and destroyed after it.
class TFrmOpcje : public QDialog
{
    Q_OBJECT

public:
    // settings must outlive the dialog; port is the turntable window's port component
    // (nullptr: no port, the list stays empty).
    TFrmOpcje(TSettings &settings, TDLPrinterPortIO *port, QWidget *parent = nullptr);

    // Writes every control into the settings. An empty working folder is refused: the old
    // one stays (and is shown again), the user is told, the other values are written and
    // false comes back. A folder that is missing or not writable is stored with a warning.
    bool ApplyBtnClick();
    TTurntableDriverGroup &DriverGroup() const { return *m_driverGroup; }

private:
    struct TSignalPage
    {
        QWidget *Page = nullptr;
        QComboBox *Devices = nullptr;
        QButtonGroup *Rates = nullptr;
        QRadioButton *Q16 = nullptr;
        QRadioButton *Q8 = nullptr;
        TVolumeBar *BufferBar = nullptr;
        QLabel *BufferLabel = nullptr;
    };

    QWidget *CreateDirectoriesPage();
    TSignalPage CreateSignalPage(const char *pageName, bool input);
    QWidget *CreateLptPage();
    // A labelled slider row: bold caption, the bar and its value label.
    TVolumeBar *AddBar(QGridLayout *grid, int row, const QString &caption, const char *name,
                       int maximum, int tick, QLabel *&valueLabel, const char *labelName);

    void FormCreate();
    void FillSignalPage(TSignalPage &page, int rate, int quant, int bufferBytes);
    void FillDevices(QComboBox *list, const QStringList &names, int current);
    void FillPorts();
    void BrowseFolder();
    // Hz of the page's checked rate button.
    static int SelectedRate(const TSignalPage &page);
    void RMSTrackBarChange();
    void ShowBufferSize(TVolumeBar *bar, QLabel *label);
    void vbCzasNieczuChange();
    void CBLPTChange(int index);
    void OKBtnClick();

    TSettings &m_settings;
    TDLPrinterPortIO *m_port;

    QTabWidget *m_pages = nullptr;
    QLineEdit *TempFolderEdit = nullptr;
    QLabel *lblTempNote = nullptr; // shown while TempFolderEdit names the system's temporary folder
    QComboBox *cbJezyk = nullptr; // the program's language from the next start (TLanguage codes)
    TSignalPage m_in;
    TSignalPage m_out;
    TVolumeBar *RMSTrackBar = nullptr;
    QLabel *lblRMSBuf = nullptr;
    QLabel *lblLPkt = nullptr;
    QComboBox *CBLPT = nullptr;
    TTurntableDriverGroup *m_driverGroup = nullptr;
    TMicCalibrationGroup *m_micGroup = nullptr; // on the input page
    QLineEdit *LPTAdresEdit = nullptr;
    TVolumeBar *vbCzasNieczu = nullptr;
    QLabel *lblCzasNieczu = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *ApplyBtn = nullptr;
};
