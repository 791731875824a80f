#include "app/ui/FrmOpcje.h"

#include "app/Language.h"
#include "app/OptionsFields.h"
#include "app/Settings.h"
#include "app/ui/MicCalibrationGroup.h"
#include "app/ui/TurntableDriverGroup.h"
#include "audio/AudioBackend.h"
#include "audio/DeviceList.h"
#include "controls/ui/VolumeBar.h"
#include "document/ui/Prompts.h"
#include "turntable/DLPrinterPortIO.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel *BoldLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// A port's base address as the address field shows it: three hexadecimal digits.
QString AddressText(quint16 base)
{
    return QStringLiteral("%1").arg(base, 3, 16, QLatin1Char('0')).toUpper();
}

QRadioButton *Radio(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QRadioButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TFrmOpcje::TFrmOpcje(TSettings &settings, TDLPrinterPortIO *port, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_port(port)
{
    setObjectName(QStringLiteral("FrmOpcje"));
    setWindowTitle(tr("Opcje"));
    setModal(true);

    m_pages = new QTabWidget(this);
    // All four tabs in sight: the dialog grows to their width rather than scroll them.
    m_pages->setUsesScrollButtons(false);
    m_pages->addTab(CreateDirectoriesPage(), tr("Katalogi"));
    m_in = CreateSignalPage("InputSignalPage", true);
    m_pages->addTab(m_in.Page, tr("Sygnał wejściowy"));
    m_out = CreateSignalPage("OutputSignal", false);
    m_pages->addTab(m_out.Page, tr("Sygnal wyjściowy"));
    m_pages->addTab(CreateLptPage(), tr("Sterowanie"));

    OKBtn = new QPushButton(tr("&OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(tr("&Anuluj"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    ApplyBtn = new QPushButton(tr("&Zastosuj"), this);
    ApplyBtn->setObjectName(QStringLiteral("ApplyBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &TFrmOpcje::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ApplyBtn, &QPushButton::clicked, this, &TFrmOpcje::ApplyBtnClick);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addWidget(ApplyBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);

    FormCreate();
    // A fixed border, at least the classic 344 x 368, larger where the fonts need it.
    setFixedSize(sizeHint().expandedTo(QSize(344, 368)));
}

QWidget *TFrmOpcje::CreateDirectoriesPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("DirectoriesPage"));
    auto *caption = BoldLabel(tr("&Katalog roboczy  "), page);
    TempFolderEdit = new QLineEdit(page);
    TempFolderEdit->setObjectName(QStringLiteral("TempFolderEdit"));
    caption->setBuddy(TempFolderEdit);
    auto *browse = new QToolButton(page);
    browse->setObjectName(QStringLiteral("TempFolderBrowse"));
    browse->setText(QStringLiteral("..."));
    connect(browse, &QToolButton::clicked, this, &TFrmOpcje::BrowseFolder);
    lblTempNote = new QLabel(page);
    lblTempNote->setObjectName(QStringLiteral("lblTempNote"));
    lblTempNote->setWordWrap(true);
    lblTempNote->hide();
    // Follows the typing (and FormCreate's stored folder).
    connect(TempFolderEdit, &QLineEdit::textChanged, this, [this](const QString &text) {
        const QString note = TOptionsFields::TempFolderNote(text);
        lblTempNote->setText(note);
        lblTempNote->setVisible(!note.isEmpty());
    });

    auto *languageCaption = BoldLabel(tr("&Język programu  "), page);
    cbJezyk = new QComboBox(page);
    cbJezyk->setObjectName(QStringLiteral("cbJezyk"));
    for (const QString &code : TLanguage::Codes())
        cbJezyk->addItem(TLanguage::Name(code), code);
    languageCaption->setBuddy(cbJezyk);
    auto *languageNote
        = new QLabel(tr("Zmiana języka obowiązuje od następnego uruchomienia programu."), page);
    languageNote->setObjectName(QStringLiteral("lblJezykNote"));
    languageNote->setWordWrap(true);

    auto *grid = new QGridLayout(page);
    grid->addWidget(caption, 0, 0, 1, 2);
    grid->addWidget(TempFolderEdit, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(lblTempNote, 2, 0, 1, 2);
    grid->addWidget(languageCaption, 3, 0, 1, 2);
    grid->addWidget(cbJezyk, 4, 0);
    grid->addWidget(languageNote, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
    return page;
}

TFrmOpcje::TSignalPage TFrmOpcje::CreateSignalPage(const char *pageName, bool input)
{
    const QString suffix = input ? QStringLiteral("IN") : QStringLiteral("OUT");
    TSignalPage p;
    p.Page = new QWidget;
    p.Page->setObjectName(QLatin1String(pageName));
    auto *grid = new QGridLayout(p.Page);

    auto *deviceCaption = BoldLabel(
        input ? tr("&Urządzenie wejściowe   ") : tr("&Urządzenie wyjściowe   "), p.Page);
    p.Devices = new QComboBox(p.Page);
    p.Devices->setObjectName(input ? QStringLiteral("CBInDevs") : QStringLiteral("CBOutDevs"));
    deviceCaption->setBuddy(p.Devices);
    grid->addWidget(deviceCaption, 0, 0, 1, 3);
    grid->addWidget(p.Devices, 1, 0, 1, 3);

    grid->addWidget(BoldLabel(tr("Parametry sygnału  "), p.Page), 2, 0, 1, 3);
    auto *rateBox = new QGroupBox(tr("&Częstotliwość próbkowania "), p.Page);
    auto *rateLayout = new QVBoxLayout(rateBox);
    p.Rates = new QButtonGroup(p.Page);
    const std::pair<const char *, QString> rates[] = { { "48", tr("48 000 Hz") },
                                                       { "44", tr("44 100 Hz") },
                                                       { "22", tr("22 050 Hz") },
                                                       { "11", tr("11 025 Hz") } };
    for (int i = 0; i < 4; ++i) {
        auto *button
            = Radio(rates[i].second,
                    QStringLiteral("rbSR%1%2").arg(QLatin1String(rates[i].first), suffix), rateBox);
        p.Rates->addButton(button, i);
        rateLayout->addWidget(button);
    }
    auto *quantBox = new QGroupBox(tr("&Rozdzielczość"), p.Page);
    auto *quantLayout = new QVBoxLayout(quantBox);
    p.Q16 = Radio(tr("16 bitów"), QStringLiteral("rbQ16") + suffix, quantBox);
    p.Q8 = Radio(tr("8 bitów"), QStringLiteral("rbQ8") + suffix, quantBox);
    // The streams play and record 16 bits only from here on.
    p.Q8->setEnabled(false);
    quantLayout->addWidget(p.Q16);
    quantLayout->addWidget(p.Q8);
    quantLayout->addStretch();
    grid->addWidget(rateBox, 3, 0, 1, 2);
    grid->addWidget(quantBox, 3, 2);

    const QByteArray bar = input ? "RecBufTrackBar" : "PlayBufTrackBar";
    const QByteArray label = input ? "lblRecBuf" : "lblPlayBuf";
    p.BufferBar = AddBar(grid, 4, tr("Rozmiar &bufora w bajtach  "), bar.constData(),
                         TOptionsFields::MaxBufferPosition, 1, p.BufferLabel, label.constData());
    TVolumeBar *bufferBar = p.BufferBar;
    QLabel *bufferLabel = p.BufferLabel;
    connect(bufferBar, &QSlider::valueChanged, this,
            [this, bufferBar, bufferLabel] { ShowBufferSize(bufferBar, bufferLabel); });

    if (input) {
        RMSTrackBar
            = AddBar(grid, 6, tr("Rozmiar bufora do wyznaczenia punktu ch-ki "), "RMSTrackBar",
                     TOptionsFields::MaxBufferPosition, 1, lblRMSBuf, "lblRMSBuf");
        lblLPkt = new QLabel(p.Page);
        lblLPkt->setObjectName(QStringLiteral("lblLPkt"));
        grid->addWidget(lblLPkt, 8, 0, 1, 3);
        connect(RMSTrackBar, &QSlider::valueChanged, this, &TFrmOpcje::RMSTrackBarChange);
        // The points of a turn follow the input format as well (rbSR48INClick).
        for (QAbstractButton *button : p.Rates->buttons())
            connect(button, &QAbstractButton::clicked, this, &TFrmOpcje::RMSTrackBarChange);
        for (QRadioButton *button : { p.Q16, p.Q8 })
            connect(button, &QAbstractButton::clicked, this, &TFrmOpcje::RMSTrackBarChange);
        m_micGroup = new TMicCalibrationGroup(p.Page);
        grid->addWidget(m_micGroup, 9, 0, 1, 3);
    }
    grid->setRowStretch(10, 1);
    return p;
}

TVolumeBar *TFrmOpcje::AddBar(QGridLayout *grid, int row, const QString &caption, const char *name,
                              int maximum, int tick, QLabel *&valueLabel, const char *labelName)
{
    QWidget *page = grid->parentWidget();
    auto *title = BoldLabel(caption, page);
    auto *bar = new TVolumeBar(page);
    bar->setObjectName(QLatin1String(name));
    bar->setOrientation(Qt::Horizontal);
    bar->setRange(0, maximum);
    bar->setTickInterval(tick);
    bar->setPageStep(tick);
    title->setBuddy(bar);
    valueLabel = new QLabel(page);
    valueLabel->setObjectName(QLatin1String(labelName));
    valueLabel->setMinimumWidth(
        valueLabel->fontMetrics().horizontalAdvance(QStringLiteral("00 000 ms")));
    grid->addWidget(title, row, 0, 1, 3);
    grid->addWidget(bar, row + 1, 0, 1, 2);
    grid->addWidget(valueLabel, row + 1, 2);
    return bar;
}

QWidget *TFrmOpcje::CreateLptPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("LptPage"));
    auto *grid = new QGridLayout(page);
    grid->addWidget(BoldLabel(tr("Port LPT "), page), 0, 0, 1, 3);
    auto *numberCaption = new QLabel(tr("&Numer portu"), page);
    CBLPT = new QComboBox(page);
    CBLPT->setObjectName(QStringLiteral("CBLPT"));
    numberCaption->setBuddy(CBLPT);
    auto *addressCaption = new QLabel(tr("Adres"), page);
    LPTAdresEdit = new QLineEdit(page);
    LPTAdresEdit->setObjectName(QStringLiteral("LPTAdresEdit"));
    LPTAdresEdit->setReadOnly(true);
    grid->addWidget(numberCaption, 1, 0);
    grid->addWidget(CBLPT, 1, 1);
    grid->addWidget(addressCaption, 2, 0);
    grid->addWidget(LPTAdresEdit, 2, 1);
    vbCzasNieczu = AddBar(grid, 3, tr("&Czas nieczułości na sygnał markujący "), "vbCzasNieczu",
                          2000, 100, lblCzasNieczu, "lblCzasNieczu");
    connect(vbCzasNieczu, &QSlider::valueChanged, this, &TFrmOpcje::vbCzasNieczuChange);
    m_driverGroup = new TTurntableDriverGroup(page);
    grid->addWidget(m_driverGroup, 5, 0, 1, 3);
    grid->setRowStretch(6, 1);
    return page;
}

void TFrmOpcje::FormCreate()
{
    TempFolderEdit->setText(m_settings.TempDir);
    cbJezyk->setCurrentIndex(
        std::max(0, int(TLanguage::Codes().indexOf(TLanguage::Known(m_settings.Language)))));
    FillSignalPage(m_in, m_settings.InSampleRate, m_settings.InQuant, m_settings.RecordBuffSize);
    FillSignalPage(m_out, m_settings.OutSampleRate, m_settings.OutQuant, m_settings.PlayBuffSize);
    const int rmsPosition = TOptionsFields::BufferPosition(m_settings.RMSBuffNumber);
    RMSTrackBar->setValue(rmsPosition);
    RMSTrackBarChange(); // also when the position did not move
    FillDevices(m_out.Devices, TDeviceList::OutputDevices(), m_settings.WaveOUTDevID);
    FillDevices(m_in.Devices, TDeviceList::InputDevices(), m_settings.WaveINDevID);
    // Empty lists alone would look like a machine without sound devices.
    const QString probeError = TAudioBackend::ProbeError(TAudioBackend::Default());
    if (!probeError.isEmpty())
        ShowMessageLater(this, QMessageBox::Warning, probeError);
    FillPorts();
    vbCzasNieczu->setValue(m_settings.MarkUnsensitivityTime);
    vbCzasNieczuChange();
    m_driverGroup->Load(m_settings);
    m_micGroup->Load(m_settings);
}

void TFrmOpcje::FillSignalPage(TSignalPage &page, int rate, int quant, int bufferBytes)
{
    page.Rates->button(TOptionsFields::RateButton(rate))->setChecked(true);
    (quant == 16 ? page.Q16 : page.Q8)->setChecked(true);
    page.BufferBar->setValue(TOptionsFields::BufferPosition(bufferBytes));
    ShowBufferSize(page.BufferBar, page.BufferLabel);
}

void TFrmOpcje::FillDevices(QComboBox *list, const QStringList &names, int current)
{
    list->addItems(names);
    // A number no longer listed (or the "default" of all bits set) shows the default, which
    // is what the next stream start would use.
    list->setCurrentIndex(names.isEmpty() ? -1
                                          : (current >= 0 && current < names.size() ? current : 0));
}

void TFrmOpcje::FillPorts()
{
    if (!m_port)
        return;
    for (int n = 1; n <= m_port->LPTNumPorts(); ++n)
        CBLPT->addItem(tr("LPT%1").arg(n));
    CBLPT->setCurrentIndex(m_settings.LPTNumber - 1 < CBLPT->count() ? m_settings.LPTNumber - 1
                                                                     : -1);
    if (CBLPT->count() > 0)
        LPTAdresEdit->setText(AddressText(m_port->LPTBasePort()));
    // Connected only now: filling the list is no port change.
    connect(CBLPT, &QComboBox::activated, this, &TFrmOpcje::CBLPTChange);
}

void TFrmOpcje::BrowseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Wybierz folder tymczasowy"),
                                                             TempFolderEdit->text());
    if (!folder.isEmpty())
        TempFolderEdit->setText(folder);
}

int TFrmOpcje::SelectedRate(const TSignalPage &page)
{
    return TOptionsFields::RateOfButton(
        TOptionsFields::ERateButton(std::max(0, page.Rates->checkedId())));
}

void TFrmOpcje::RMSTrackBarChange()
{
    const int rate = SelectedRate(m_in);
    const int bits = m_in.Q16->isChecked() ? 16 : 8;
    const int size = TOptionsFields::BufferSize(RMSTrackBar->value());
    lblRMSBuf->setText(TOptionsFields::FormatBytes(size));
    lblLPkt->setText(tr("Liczba punktów ch-ki przy pełnym obrocie: %1")
                         .arg(TOptionsFields::PointsPerTurn(rate, bits, size)));
}

void TFrmOpcje::ShowBufferSize(TVolumeBar *bar, QLabel *label)
{
    label->setText(TOptionsFields::FormatBytes(TOptionsFields::BufferSize(bar->value())));
}

void TFrmOpcje::vbCzasNieczuChange()
{
    lblCzasNieczu->setText(tr("%1 ms").arg(vbCzasNieczu->value()));
}

void TFrmOpcje::CBLPTChange(int index)
{
    if (!m_port || index < 0)
        return;
    m_port->SetLPTNumber(index + 1);
    LPTAdresEdit->setText(AddressText(m_port->LPTBasePort()));
}

bool TFrmOpcje::ApplyBtnClick()
{
    bool folderTaken = true;
    const QString folder = TOptionsFields::TempDirFromEdit(TempFolderEdit->text());
    if (folder.trimmed().isEmpty()) {
        folderTaken = false;
        TempFolderEdit->setText(m_settings.TempDir);
        ShowMessage(
            this, QMessageBox::Warning,
            tr("Folder roboczy nie może być pusty; pozostaje \"%1\".").arg(m_settings.TempDir));
    } else {
        m_settings.TempDir = folder;
    }

    m_settings.InSampleRate = SelectedRate(m_in);
    m_settings.OutSampleRate = SelectedRate(m_out);
    m_settings.InQuant = m_in.Q16->isChecked() ? 16 : 8;
    m_settings.OutQuant = m_out.Q16->isChecked() ? 16 : 8;
    m_settings.RecordBuffSize = TOptionsFields::BufferSize(m_in.BufferBar->value());
    m_settings.PlayBuffSize = TOptionsFields::BufferSize(m_out.BufferBar->value());
    m_settings.RMSBuffNumber = TOptionsFields::BufferSize(RMSTrackBar->value());
    if (CBLPT->currentIndex() >= 0)
        m_settings.LPTNumber = CBLPT->currentIndex() + 1;
    m_settings.MarkUnsensitivityTime = vbCzasNieczu->value();
    m_settings.Language = cbJezyk->currentData().toString();
    m_driverGroup->Store(m_settings);
    m_micGroup->Store(m_settings);
    // The device a user picks is the one the streams open from their next start.
    if (m_in.Devices->currentIndex() >= 0)
        m_settings.WaveINDevID = m_in.Devices->currentIndex();
    if (m_out.Devices->currentIndex() >= 0)
        m_settings.WaveOUTDevID = m_out.Devices->currentIndex();

    if (folderTaken) {
        // Told now rather than at the next measurement, which could not record there.
        if (const QString problem = TOptionsFields::FolderProblem(folder); !problem.isEmpty())
            ShowMessage(this, QMessageBox::Warning, problem);
    }
    return folderTaken;
}

void TFrmOpcje::OKBtnClick()
{
    if (ApplyBtnClick())
        accept();
}
