// "Opcje": what the dialog shows for the settings, what "&Zastosuj" and "&OK" store, the
// refused and doubtful folders, the device lists and the port list.
#include "app/Settings.h"
#include "app/ui/FrmOpcje.h"
#include "app/ui/TurntableDriverGroup.h"
#include "audio/AudioBackend.h"
#include "audio/DeviceList.h"
#include "controls/VirtualClock.h"
#include "document_ui/helpers/PromptStub.h"
#include "turntable/DLPrinterPortIO.h"
#include "turntable/GrblEmulator.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Two ports found, no hardware behind them: the dialog only lists and selects.
class TTwoPorts final : public TPortBackend
{
public:
    TPortTable DetectPorts() override
    {
        TPortTable table;
        table.Base[1] = 0x378;
        table.Base[2] = 0x278;
        table.NumPorts = 2;
        return table;
    }
    bool Open() override { return false; }
    bool Close() override { return true; }
    bool IsOpen() const override { return false; }
    void SelectPort(int lptNumber, quint16) override { Selected = lptNumber; }
    bool ReadByte(quint16, quint8 &) override { return false; }
    bool WriteByte(quint16, quint8) override { return false; }
    QString LastError() const override { return {}; }
    QString OpenFailureMessage(int) const override { return {}; }
    int Selected = 0;
};

template<typename T>
T *Child(QWidget &dialog, const char *name)
{
    T *child = dialog.findChild<T *>(QLatin1String(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

} // namespace

class TestFrmOpcje : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    TSettings m_settings;
    std::unique_ptr<TPromptStub> m_prompts;
    std::unique_ptr<TDLPrinterPortIO> m_port;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
        TAudioBackend::SetDefault(EAudioBackend::Loopback);
    }

    void init()
    {
        m_settings = TSettings();
        m_settings.TempDir = m_dir.path();
        m_prompts = std::make_unique<TPromptStub>();
        m_port = std::make_unique<TDLPrinterPortIO>(std::make_unique<TTwoPorts>());
    }

    void cleanup() { m_prompts.reset(); }

    void showsAndStoresTheSettings()
    {
        m_settings.RecordBuffSize = 8192;
        m_settings.InSampleRate = 32000; // neither 44.1 nor 11 kHz: shown as 22 050
        m_settings.RMSBuffNumber = 65536;
        m_settings.MarkUnsensitivityTime = 700;
        TFrmOpcje dialog(m_settings, m_port.get());
        QCOMPARE(Child<QSlider>(dialog, "RecBufTrackBar")->value(), 4);
        const QString sep = QLocale().groupSeparator();
        QCOMPARE(Child<QLabel>(dialog, "lblRecBuf")->text(), "8" + sep + "192");
        QVERIFY(Child<QRadioButton>(dialog, "rbSR22IN")->isChecked());
        QCOMPARE(Child<QLabel>(dialog, "lblRMSBuf")->text(), "65" + sep + "536");
        QCOMPARE(Child<QLabel>(dialog, "lblCzasNieczu")->text(), QStringLiteral("700 ms"));
        for (const char *name : { "rbQ8IN", "rbQ8OUT" })
            QVERIFY2(!Child<QRadioButton>(dialog, name)->isEnabled(), name);

        // The points label follows every input rate and resolution button, not just the bar.
        QLabel *points = Child<QLabel>(dialog, "lblLPkt");
        const QString pointsText = QStringLiteral("Liczba punktów ch-ki przy pełnym obrocie: %1");
        QCOMPARE(points->text(), pointsText.arg(13)); // 22 050 Hz, 16 bits, 65 536 bytes
        Child<QRadioButton>(dialog, "rbSR11IN")->click();
        QCOMPARE(points->text(), pointsText.arg(6));
        Child<QRadioButton>(dialog, "rbSR48IN")->click();
        QCOMPARE(points->text(), pointsText.arg(29));
        Child<QSlider>(dialog, "RMSTrackBar")->setValue(0);
        QCOMPARE(points->text(), pointsText.arg(3750));

        // "&Zastosuj" writes without closing.
        dialog.show();
        Child<QRadioButton>(dialog, "rbSR22IN")->click();
        Child<QSlider>(dialog, "PlayBufTrackBar")->setValue(7);
        Child<QPushButton>(dialog, "ApplyBtn")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_settings.InSampleRate, 22050);
        QCOMPARE(m_settings.RMSBuffNumber, 512);
        QCOMPARE(m_settings.PlayBuffSize, 65536);
        QCOMPARE(m_settings.RecordBuffSize, 8192);
        QCOMPARE(m_settings.MarkUnsensitivityTime, 700);
        QVERIFY(m_prompts->Messages.isEmpty());
    }

    void folderAsTyped_data()
    {
        QTest::addColumn<QString>("typed"); // relative to the temporary folder; "" stays empty
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("warning");
        QTest::newRow("trailing separator") << "/" << true << ""
                                            << "";
        QTest::newRow("missing") << "/brak" << true << "/brak"
                                 << "nie istnieje";
        QTest::newRow("empty refused") << "" << false << ""
                                       << "nie może być pusty";
    }
    void folderAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(bool, closes);
        QFETCH(QString, stored);
        QFETCH(QString, warning);
        TFrmOpcje dialog(m_settings, m_port.get());
        dialog.show();
        QLineEdit *edit = Child<QLineEdit>(dialog, "TempFolderEdit");
        edit->setText(typed.isEmpty() ? QString() : m_dir.path() + typed);
        Child<QSlider>(dialog, "vbCzasNieczu")->setValue(300);
        Child<QPushButton>(dialog, "OKBtn")->click();
        QCOMPARE(dialog.isVisible(), !closes);
        QCOMPARE(m_settings.TempDir, m_dir.path() + stored);
        QCOMPARE(m_settings.MarkUnsensitivityTime, 300); // the rest is written in any case
        if (warning.isEmpty()) {
            QVERIFY(m_prompts->Messages.isEmpty());
        } else {
            QCOMPARE(m_prompts->Messages.size(), 1);
            QVERIFY(m_prompts->Messages.first().Text.contains(warning));
            QCOMPARE(m_prompts->Messages.first().Icon, QMessageBox::Warning);
        }
        if (!closes)
            QCOMPARE(edit->text(), m_dir.path()); // the kept folder is shown again
    }

    void systemTempFolderNote_data()
    {
        QTest::addColumn<QString>("stored"); // "{tmp}" stands for the system's temporary folder
        QTest::addColumn<QString>("typed"); // empty: nothing typed
        QTest::addColumn<bool>("shown");
        QTest::newRow("stored") << "{tmp}"
                                << "" << true;
        QTest::newRow("typed") << ""
                               << "{tmp}" << true;
        QTest::newRow("typed with a separator") << ""
                                                << "{tmp}/" << true;
        QTest::newRow("typed away from it") << "{tmp}"
                                            << "{tmp}/pomiary" << false;
        QTest::newRow("user's folder") << ""
                                       << "" << false;
    }
    void systemTempFolderNote()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, shown);
        if (!stored.isEmpty())
            m_settings.TempDir = stored.replace("{tmp}", QDir::tempPath());
        TFrmOpcje dialog(m_settings, m_port.get());
        dialog.show();
        if (!typed.isEmpty())
            Child<QLineEdit>(dialog, "TempFolderEdit")
                ->setText(typed.replace("{tmp}", QDir::tempPath()));
        QLabel *note = Child<QLabel>(dialog, "lblTempNote");
        QCOMPARE(!note->isHidden(), shown);
        if (shown)
            QVERIFY2(note->text().contains(QStringLiteral("nie przetrwają ponownego uruchomienia")),
                     qPrintable(note->text()));
    }

    void chosenDevicesAreStored()
    {
        // A number that is no longer listed shows the default, which is then stored.
        m_settings.WaveINDevID = 5;
        m_settings.WaveOUTDevID = -1;
        TFrmOpcje dialog(m_settings, m_port.get());
        for (const char *name : { "CBInDevs", "CBOutDevs" }) {
            QComboBox *list = Child<QComboBox>(dialog, name);
            QCOMPARE(list->count(), TDeviceList::InputDevices().size());
            QCOMPARE(list->currentIndex(), 0);
        }
        QVERIFY(dialog.ApplyBtnClick());
        QCOMPARE(m_settings.WaveINDevID, 0);
        QCOMPARE(m_settings.WaveOUTDevID, 0);
    }

    void portChangeTakesEffectAtOnceEvenWhenCancelled()
    {
        m_settings.LPTNumber = 1;
        m_port->SetLPTNumber(1);
        TFrmOpcje dialog(m_settings, m_port.get());
        QComboBox *list = Child<QComboBox>(dialog, "CBLPT");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(1), QStringLiteral("LPT2"));
        QLineEdit *address = Child<QLineEdit>(dialog, "LPTAdresEdit");
        QCOMPARE(address->text(), QStringLiteral("378"));
        QVERIFY(address->isReadOnly());
        dialog.show();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down); // a user's choice, not a filled-in one
        QCOMPARE(address->text(), QStringLiteral("278"));
        QCOMPARE(m_port->LPTNumber(), 2);
        Child<QPushButton>(dialog, "CancelBtn")->click();
        QCOMPARE(m_port->LPTNumber(), 2);
        QCOMPARE(m_settings.LPTNumber, 1); // the setting itself waits for "&OK"
    }

    void noPortNoList()
    {
        TFrmOpcje dialog(m_settings, nullptr);
        QCOMPARE(Child<QComboBox>(dialog, "CBLPT")->count(), 0);
        QVERIFY(Child<QLineEdit>(dialog, "LPTAdresEdit")->text().isEmpty());
        m_settings.LPTNumber = 3;
        QVERIFY(dialog.ApplyBtnClick());
        QCOMPARE(m_settings.LPTNumber, 3);
    }

    // A Grbl table: its port (a typed path here), the turn time and "Sprawdź", which shows
    // what the board says, or why it could not be reached; stored on Apply.
    void grblTableIsChosenAndChecked()
    {
        TVirtualClock clock;
        TGrblEmulator board(clock);
        QVERIFY(board.Open());
        TFrmOpcje dialog(m_settings, m_port.get());
        TTurntableDriverGroup &group = dialog.DriverGroup();
        dialog.show();
        QCOMPARE(group.cbDriver().currentIndex(), 0);
        QVERIFY(group.btnCheck().isHidden());
        group.cbDriver().setCurrentIndex(1);
        QVERIFY(!group.btnCheck().isHidden());
        QCOMPARE(group.edTurnTime().value(), 80);
        group.cbPort().setEditText(board.SlavePath() + QStringLiteral("-missing"));
        group.btnCheck().click();
        QVERIFY2(group.lblCheck().text().contains(QStringLiteral("Nie ma portu")),
                 qPrintable(group.lblCheck().text()));
        group.cbPort().setEditText(board.SlavePath());
        group.edTurnTime().setValue(120);
        group.btnCheck().click();
        QVERIFY2(group.lblCheck().text().startsWith(QStringLiteral("Grbl 1.1"))
                     && group.lblCheck().text().contains(QStringLiteral("$110 = 1800")),
                 qPrintable(group.lblCheck().text()));
        QVERIFY(dialog.ApplyBtnClick());
        QCOMPARE(m_settings.TurntableDriver, 1);
        QCOMPARE(m_settings.GrblPort, board.SlavePath());
        QCOMPARE(m_settings.GrblTurnTime, 120);
    }
};

QTEST_MAIN(TestFrmOpcje)
#include "tst_FrmOpcje.moc"
