// The program in English: every window and dialog, walked offscreen with the English
// translation installed, shows no Polish text in any widget, menu, tab, tooltip or status text;
// and the same windows in Polish still speak Polish. Texts that are data (document and series
// names) are not the program's and are left out.

#include "analysis/helpers/IsolatedCli.h"
#include "analysis/ui/FrmMapa.h"
#include "analysis/ui/FrmSpinorama.h"
#include "app/Language.h"
#include "app/Settings.h"
#include "app/ui/FrmAbout.h"
#include "app/ui/FrmKalibracja.h"
#include "app/ui/FrmMain.h"
#include "app/ui/FrmOpcje.h"
#include "app/ui/ToolWindows.h"
#include "audio/ui/FrmGenerator.h"
#include "audio/ui/FrmMeter.h"
#include "chart/PolarGraph.h"
#include "chart/ui/GraphSet.h"
#include "controls/FileWriter.h"
#include "controls/VirtualClock.h"
#include "document/ui/FrmChild.h"
#include "helpers/MainFixture.h"
#include "measurement/ui/FrmAnaliza.h"
#include "measurement/ui/FrmParametry.h"
#include "measurement/ui/FrmPomiar.h"
#include "measurement/ui/WindowRig.h"
#include "printing/ui/FrmPodglad.h"
#include "printing/ui/FrmPrint.h"
#include "turntable/ui/FrmStolikKontrol.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>

namespace {

using TMaker = std::function<std::unique_ptr<QWidget>(TFrmMain &main)>;

// Every text a user reads in window: captions, titles, tabs, combo items, the actions of its
// menus with their hints, the tooltips. Each with where it was found.
QStringList Texts(QWidget &window)
{
    QStringList texts;
    const auto add = [&texts](const QObject *where, const QString &text) {
        if (!text.trimmed().isEmpty())
            texts << QStringLiteral("%1: %2").arg(where->objectName(), text);
    };
    add(&window, window.windowTitle());
    QList<QWidget *> widgets = window.findChildren<QWidget *>();
    widgets << &window;
    for (QWidget *w : widgets) {
        add(w, w->toolTip());
        add(w, w->statusTip());
        if (auto *label = qobject_cast<QLabel *>(w))
            add(w, label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            add(w, button->text());
        if (auto *group = qobject_cast<QGroupBox *>(w))
            add(w, group->title());
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            add(w, edit->placeholderText());
        if (auto *combo = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < combo->count(); ++i)
                add(w, combo->itemText(i));
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(w, tabs->tabText(i));
        if (auto *menu = qobject_cast<QMenu *>(w))
            add(w, menu->title());
        for (QAction *a : w->actions()) {
            add(a, a->text());
            add(a, a->toolTip());
            add(a, a->statusTip());
        }
    }
    return texts;
}

// Polish letters, and Polish words of the program that have none.
const QRegularExpression &PolishText()
{
    static const QRegularExpression polish(QStringLiteral(
        "[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]|\\b(Pomiar|Plik|Wykres|Okno|Pomoc|Zapisz|Otworz|Nowy|Dodaj|"
        "Odswiez|Anuluj|Zastosuj|Opcje|Eksportuj|Drukuj|Brak|Rozmiar|Wstecz|Zakres|Seria|Kolor|"
        "Nazwa|Poziom|Sygnal|Katalog|Sterowanie|Zamknij|Ustawienia|Kaskada|Amplituda|Strona|"
        "Marginesy|Podglad|Czulosc|Kalibruj|Usun|Plaszczyzna|pozioma|pionowa|brak|Nagranie)\\b"));
    return polish;
}

QStringList PolishOf(const QStringList &texts)
{
    QStringList polish;
    for (const QString &t : texts)
        if (PolishText().match(t).hasMatch())
            polish << t;
    return polish;
}

template<class T>
T &Tool(TFrmMain &main, TFrmMain::EToolWindow which)
{
    return *qobject_cast<T *>(main.ToolWindow(which));
}

// The measurement window with the rig of the main window's tool windows, which it needs for
// as long as it lives.
class TMeasurementHost : public QWidget
{
public:
    explicit TMeasurementHost(TFrmMain &main)
        : m_rig(Tool<TFrmStolikKontrol>(main, TFrmMain::EToolWindow::Turntable),
                Tool<TFrmMeter>(main, TFrmMain::EToolWindow::Meter),
                Tool<TFrmGenerator>(main, TFrmMain::EToolWindow::Generator))
        , m_window(m_rig, m_clock, this)
    { }

private:
    TVirtualClock m_clock;
    TWindowRig m_rig;
    TFrmPomiar m_window;
};

// The print preview with the print dialog it belongs to.
class TPreviewHost : public QWidget
{
public:
    explicit TPreviewHost(TFrmMain &main)
        : m_print({ { QStringLiteral("A"), &main.ActiveDocument()->Graph() } }, this)
        , m_preview(m_print)
    {
        m_preview.setParent(this, m_preview.windowFlags());
    }

private:
    TFrmPrint m_print;
    TFrmPodglad m_preview;
};

} // namespace

Q_DECLARE_METATYPE(TMaker)

class TestEnglish : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup()
    {
        TLanguage::Install(TLanguage::Polish);
        m_fixture.Cleanup();
    }
    void noPolishInEnglish_data();
    void noPolishInEnglish();
    void cliPassesOnTheChosenLanguage_data();
    void cliPassesOnTheChosenLanguage();

private:
    TMainFixture m_fixture;
};

void TestEnglish::noPolishInEnglish_data()
{
    QTest::addColumn<TMaker>("make");
    QTest::addColumn<bool>("english");
    const auto tool = [](TFrmMain::EToolWindow which) {
        return TMaker([which](TFrmMain &main) {
            // Owned by the main window; handed back without being owned here.
            return std::unique_ptr<QWidget>(main.ToolWindow(which));
        });
    };
    const std::pair<const char *, TMaker> windows[] = {
        { "main window",
          [](TFrmMain &) {
              return std::unique_ptr<QWidget>();
          } },
        { "generator", tool(TFrmMain::EToolWindow::Generator) },
        { "level meter", tool(TFrmMain::EToolWindow::Meter) },
        { "turntable", tool(TFrmMain::EToolWindow::Turntable) },
        { "series editor", tool(TFrmMain::EToolWindow::SeriesEditor) },
        { "options",
          [](TFrmMain &main) {
              return std::make_unique<TFrmOpcje>(Settings(), nullptr, &main);
          } },
        { "about",
          [](TFrmMain &main) {
              return std::make_unique<TFrmAbout>(&main);
          } },
        { "calibrator",
          [](TFrmMain &main) {
              return std::make_unique<TFrmKalibracja>(Settings(), &main);
          } },
        { "chart settings",
          [](TFrmMain &main) {
              return std::make_unique<TFrmGraphSettings>(main.ActiveDocument()->Graph(), &main);
          } },
        { "measurement parameters",
          [](TFrmMain &main) {
              return std::make_unique<TFrmParametry>(
                  *qobject_cast<TFrmGenerator *>(main.ToolWindow(TFrmMain::EToolWindow::Generator)),
                  *qobject_cast<TFrmStolikKontrol *>(
                      main.ToolWindow(TFrmMain::EToolWindow::Turntable)),
                  &main);
          } },
        { "recording analysis",
          [](TFrmMain &main) {
              return std::make_unique<TFrmAnaliza>(QStringLiteral("a.wav"), TMarkerLog {}, &main);
          } },
        { "print",
          [](TFrmMain &main) {
              return std::make_unique<TFrmPrint>(
                  QList<TFrmPrint::TChartEntry> {
                      { QStringLiteral("A"), &main.ActiveDocument()->Graph() } },
                  &main);
          } },
        { "map",
          [](TFrmMain &main) {
              return std::make_unique<TFrmMapa>(&main);
          } },
        { "measurement",
          [](TFrmMain &main) {
              return std::make_unique<TMeasurementHost>(main);
          } },
        { "print preview",
          [](TFrmMain &main) {
              return std::make_unique<TPreviewHost>(main);
          } },
        { "document",
          [](TFrmMain &main) {
              // The document window's own texts; its title is the document's name (data).
              TFrmChild *doc = main.ActiveDocument();
              doc->setWindowTitle(QString());
              return std::unique_ptr<QWidget>(doc);
          } },
        { "spinorama",
          [](TFrmMain &main) {
              return std::make_unique<TFrmSpinorama>(&main);
          } },
    };
    for (const auto &[name, make] : windows) {
        QTest::addRow("%s, English", name) << make << true;
        QTest::addRow("%s, Polish", name) << make << false;
    }
}

void TestEnglish::noPolishInEnglish()
{
    QFETCH(TMaker, make);
    QFETCH(bool, english);
    TLanguage::Install(english ? TLanguage::English : TLanguage::Polish);
    auto main = m_fixture.MakeMain();
    CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock });
    main->CreateDocument(QStringLiteral("A"));
    std::unique_ptr<QWidget> made = make(*main);
    QWidget *window = made ? made.get() : main.get();
    window->show();
    QCoreApplication::processEvents();
    const QStringList texts = Texts(*window);
    const QStringList polish = PolishOf(texts);
    bool mains = false; // the main window deletes its own descendants
    for (QObject *o = made ? made->parent() : nullptr; o; o = o->parent())
        mains = mains || o == main.get();
    if (mains)
        (void)made.release();
    QVERIFY(!texts.isEmpty());
    if (english)
        QVERIFY2(polish.isEmpty(), qPrintable(polish.join(u'\n')));
    else
        QVERIFY2(!polish.isEmpty(), qPrintable(texts.join(u'\n')));
}

void TestEnglish::cliPassesOnTheChosenLanguage_data()
{
    QTest::addColumn<QStringList>("lang");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("words");
    QTest::newRow("English") << QStringList { "--lang", "en" } << 1
                             << QStringLiteral("line 2: “abc 1” is not a pair of numbers");
    QTest::newRow("Polish") << QStringList { "--lang", "pl" } << 1
                            << QStringLiteral("wiersz 2: „abc 1” nie jest parą liczb");
    QTest::newRow("stored Polish") << QStringList {} << 1 << QStringLiteral("wiersz 2");
    QTest::newRow("unknown") << QStringList { "--lang", "de" } << 2
                             << QStringLiteral("--lang needs one of: pl, en");
}

// A message from the program's core reaches orvi-cli's user in the language asked for.
void TestEnglish::cliPassesOnTheChosenLanguage()
{
    QFETCH(QStringList, lang);
    QFETCH(int, status);
    QFETCH(QString, words);
    QVERIFY(TFileWriter::WriteFile(m_fixture.Path("mic.txt"), "100 0\nabc 1\n"));
    const TRun run
        = RunIsolatedCli(lang
                             + QStringList { "measure", "--simulate", "--full", "--bands", "1000",
                                             "--mic-cal", "mic.txt", "m.OvK" },
                         m_fixture.Path("."));
    QCOMPARE(run.Status, status);
    QVERIFY2(!run.Err.isEmpty() && run.Err.front().contains(words),
             qPrintable(run.Err.join(u'\n')));
    QVERIFY(!QFile::exists(m_fixture.Path("m.OvK")));
}

QTEST_MAIN(TestEnglish)
#include "tst_english.moc"
