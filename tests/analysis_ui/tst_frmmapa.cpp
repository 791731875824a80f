#include "analysis/BroadbandStore.h"
#include "analysis/ui/FrmMapa.h"
#include "app/ui/BroadbandActions.h"
#include "app/ui/MainActions.h"
#include "app_ui/helpers/MainFixture.h"
#include "chart/PolarGraph.h"
#include "document/ui/FrmChild.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <numbers>

namespace {

constexpr double MeasuredToDeg = 150.0; // frames from -150° to 150°, the rear is not measured

// A recording of a 10 cm piston in a baffle, every 2°: each frame's gated response is the
// zero-phase impulse whose spectrum is 2 J1(x) / x at its angle.
std::shared_ptr<const TDirectivityResult> PistonResult()
{
    auto result = std::make_shared<TDirectivityResult>();
    result->Name = QStringLiteral("Tłok");
    result->SampleRate = 48000;
    result->GateLength = 960; // 20 ms
    result->GateFirstTap = -480;
    result->GateOpenMs = -10.0;
    result->GateCloseMs = 10.0;
    const int n = result->GateLength;
    for (double angle = -MeasuredToDeg; angle <= MeasuredToDeg; angle += 2)
        result->FrameAnglesDeg.push_back(angle);
    for (const double angle : result->FrameAnglesDeg) {
        std::vector<double> magnitude(size_t(n / 2 + 1));
        for (int k = 0; k <= n / 2; ++k) {
            const double hz = double(k) * result->SampleRate / n;
            const double x = 2 * std::numbers::pi * hz * 0.1
                * std::abs(std::sin(angle * std::numbers::pi / 180)) / 343.0;
            magnitude[size_t(k)] = x < 1e-9 ? 1.0 : 2 * std::cyl_bessel_j(1.0, x) / x;
        }
        for (int j = 0; j < n; ++j) {
            const double t = j + result->GateFirstTap;
            double sum = magnitude[0];
            for (int k = 1; k < n / 2; ++k)
                sum += 2 * magnitude[size_t(k)] * std::cos(2 * std::numbers::pi * k * t / n);
            // A Hann window keeps the response's ripple between bins small.
            const double window = 0.5 + 0.5 * std::cos(2 * std::numbers::pi * t / n);
            result->Responses.push_back(float(sum / n * window));
        }
    }
    return result;
}

void SaveShot(QWidget &window, const char *name)
{
    const QString prefix = qEnvironmentVariable("ORVI_SCREENSHOT");
    if (!prefix.isEmpty())
        window.grab().save(prefix + QLatin1Char('-') + QLatin1String(name) + ".png");
}

QWidget *MapView(const TFrmMapa &window)
{
    return window.findChild<QWidget *>(QStringLiteral("MapView"));
}

QLabel *EmptyText(const TFrmMapa &window)
{
    return window.findChild<QLabel *>(QStringLiteral("lbBrak"));
}

} // namespace

class TestFrmMapa : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_piston = PistonResult(); }
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }

    void showsTheMapOrTheText();
    void exportWritesTheChosenFormat();
    void actionsFollowTheStoreAndTheActiveDocument();

private:
    TMainFixture m_fixture;
    std::shared_ptr<const TDirectivityResult> m_piston;
};

void TestFrmMapa::showsTheMapOrTheText()
{
    auto graph = std::make_unique<TPolarGraph>();
    TPolarGraph other;
    TFrmMapa window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Mapa kierunkowości"));
    QVERIFY(window.windowFlags().testFlag(Qt::Tool));
    window.SetChart(graph.get());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(EmptyText(window)->isVisible());
    QCOMPARE(EmptyText(window)->text(),
             QStringLiteral("Brak pomiaru szerokopasmowego w aktywnym dokumencie."));
    QVERIFY(!MapView(window)->isVisible());
    SaveShot(window, "brak");
    auto *exportButton = window.findChild<QPushButton *>(QStringLiteral("btEksportuj"));
    QVERIFY(!exportButton->isEnabled());

    TBroadbandStore::Instance().Set(&other, m_piston, {});
    QVERIFY(!window.HasMap()); // another chart's result
    TBroadbandStore::Instance().Set(graph.get(), m_piston, {});
    QVERIFY(window.HasMap());
    QVERIFY(MapView(window)->isVisible());
    QVERIFY(!EmptyText(window)->isVisible());
    QVERIFY(exportButton->isEnabled());
    QCOMPARE(window.Map().Title(), QStringLiteral("Tłok"));

    // The map is the result's: -6 dB near the piston's analytic 6.9° at 10 kHz.
    const TDirectivityGrid &grid = window.Map().Grid();
    QVERIFY(!grid.Empty());
    size_t row = 0;
    while (row + 1 < grid.FrequenciesHz.size() && grid.FrequenciesHz[row] < 10000)
        ++row;
    const auto edges = TDirectivityMap::BeamwidthEdges(grid);
    QVERIFY2(std::abs(edges[row].RightDeg - 6.9) < 1.0,
             qPrintable(QString::number(edges[row].RightDeg)));
    window.resize(760, 500);
    QTest::qWait(50);
    SaveShot(window, "mapa");

    graph.reset(); // the chart goes, and with it its result
    QVERIFY(!window.HasMap());
    QVERIFY(EmptyText(window)->isVisible());
}

void TestFrmMapa::exportWritesTheChosenFormat()
{
    TPolarGraph graph;
    TBroadbandStore::Instance().Set(&graph, m_piston, {});
    TFrmMapa window;
    window.SetChart(&graph);
    // The filter decides the extension: "mapa" with the PDF filter is mapa.pdf.
    m_fixture.Prompts->DialogAnswers.push_back({ true, m_fixture.Path("mapa"), 2 });
    QVERIFY(window.ExportMap());
    QFile pdf(m_fixture.Path("mapa.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(4) == "%PDF");
    QVERIFY(m_fixture.Prompts->Messages.isEmpty());

    // A folder that is not there: the user is told, no file appears.
    const QString bad = m_fixture.Path("brak/mapa.png");
    m_fixture.Prompts->DialogAnswers.push_back({ true, bad, 0 });
    QVERIFY(!window.ExportMap());
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    QCOMPARE(m_fixture.Prompts->Messages.first().Icon, QMessageBox::Critical);
    QVERIFY(m_fixture.Prompts->Messages.first().Text.contains(QStringLiteral("Nie można")));
    QVERIFY(!QFile::exists(bad));
}

void TestFrmMapa::actionsFollowTheStoreAndTheActiveDocument()
{
    auto main = m_fixture.MakeMain();
    TBroadbandActions *actions = TBroadbandActions::Of(*main);
    QVERIFY(actions);
    TFrmChild *first = main->CreateDocument(QStringLiteral("A"));
    QCoreApplication::processEvents();
    QVERIFY(!actions->FrdAction()->isEnabled());
    QVERIFY(!actions->MapAction()->isEnabled());
    // In the menu of the chart's own export.
    const QMenu *menu = nullptr;
    for (QObject *holder : main->Actions().acZapiszWykres->associatedObjects())
        if (auto *m = qobject_cast<QMenu *>(holder);
            m && m->actions().contains(actions->FrdAction()))
            menu = m;
    QVERIFY(menu && menu->actions().contains(actions->MapAction()));

    TBroadbandStore::Instance().Set(&first->Graph(), m_piston, {});
    QTRY_VERIFY(actions->FrdAction()->isEnabled());
    QVERIFY(actions->MapAction()->isEnabled());
    actions->MapAction()->trigger();
    QVERIFY(actions->MapWindow() && actions->MapWindow()->isVisible());
    QVERIFY(actions->MapWindow()->HasMap());

    TFrmChild *second = main->CreateDocument(QStringLiteral("B"));
    QCOMPARE(main->ActiveDocument(), second);
    QTRY_VERIFY(!actions->FrdAction()->isEnabled());
    QVERIFY(!actions->MapWindow()->HasMap()); // it follows the active document

    main->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
    QTRY_VERIFY(actions->FrdAction()->isEnabled());
    QVERIFY(actions->MapWindow()->HasMap());

    // "Eksportuj FRD…" into the chosen folder: one file per 10° that was measured.
    const QString folder = m_fixture.Path("frd");
    QVERIFY(QDir().mkpath(folder));
    QString asked;
    TBroadbandActions::AskFolder() = [&](QWidget *, const QString &start) {
        asked = start;
        return folder;
    };
    QVERIFY(actions->ExportFrd());
    TBroadbandActions::AskFolder() = [](QWidget *, const QString &) {
        return QString();
    };
    QVERIFY(!asked.isEmpty());
    const QStringList files = QDir(folder).entryList({ QStringLiteral("*.frd") }, QDir::Files);
    QCOMPARE(files.size(), 31); // -150 .. 150
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    QCOMPARE(m_fixture.Prompts->Messages.first().Icon, QMessageBox::Information);
    QVERIFY(m_fixture.Prompts->Messages.first().Text.startsWith(
        QStringLiteral("Zapisano 31 plików FRD w folderze")));
    QVERIFY(!actions->ExportFrd()); // cancelled: nothing written, nothing said
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
}

QTEST_MAIN(TestFrmMapa)
#include "tst_frmmapa.moc"
