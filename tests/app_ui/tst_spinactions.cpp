// The spin's actions in the main window: enabled only while the active document has both
// planes, and the three exports (both FRD sets, the spinorama folder, the CTA-2034 curves) of
// its newest horizontal and vertical turns.

#include "analysis/BroadbandStore.h"
#include "analysis/MeasurementFolder.h"
#include "analysis/helpers/IsolatedCli.h"
#include "analysis/ui/FrmSpinorama.h"
#include "app/ui/BroadbandActions.h"
#include "app/ui/SpinActions.h"
#include "app_ui/helpers/MainFixture.h"
#include "chart/PolarGraph.h"
#include "controls/FileWriter.h"
#include "document/ui/FrmChild.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

#include <cmath>

namespace {

// A whole turn with frames every 2°, each a single tap whose gain falls with the angle.
std::shared_ptr<const TDirectivityResult> Turn(const QString &name, bool vertical)
{
    auto result = std::make_shared<TDirectivityResult>();
    result->Name = name;
    result->Vertical = vertical;
    result->SampleRate = 48000;
    result->GateLength = 96; // 2 ms
    result->GateFirstTap = -8;
    result->GateOpenMs = -1.0 / 6;
    result->GateCloseMs = 2.0 - 1.0 / 6;
    for (int angle = -180; angle < 180; angle += 2) {
        result->FrameAnglesDeg.push_back(angle);
        std::vector<float> taps(size_t(result->GateLength), 0.0f);
        taps[8] = float(std::pow(10.0, -std::abs(angle) / (vertical ? 20.0 : 40.0) / 20.0));
        result->Responses.insert(result->Responses.end(), taps.begin(), taps.end());
    }
    return result;
}

TBroadbandOptions Plane(bool vertical)
{
    TBroadbandOptions options;
    options.Vertical = vertical;
    return options;
}

} // namespace

class TestSpinActions : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }

    void enabledWithBothPlanes();
    void exportsOfBothPlanes();
    void bothPlanesComeBackOnReopen();

private:
    TMainFixture m_fixture;
};

void TestSpinActions::enabledWithBothPlanes()
{
    auto main = m_fixture.MakeMain();
    TSpinActions *actions = TSpinActions::Of(*main);
    QVERIFY(actions);
    // In the chart menu, beside the map and the FRD export.
    const QMenu *menu = nullptr;
    for (QObject *holder : actions->SpinAction()->associatedObjects())
        if (auto *m = qobject_cast<QMenu *>(holder))
            menu = m;
    QVERIFY(menu && menu->actions().contains(TBroadbandActions::Of(*main)->MapAction()));
    QVERIFY(menu->actions().contains(actions->FolderAction()));

    TFrmChild *doc = main->CreateDocument(QStringLiteral("A"));
    TBroadbandStore &store = TBroadbandStore::Instance();
    store.Set(&doc->Graph(), Turn("Kolumna", false), Plane(false));
    QTRY_VERIFY(TBroadbandActions::Of(*main)->FrdAction()->isEnabled());
    QVERIFY(!actions->SpinAction()->isEnabled() && !actions->CurvesAction()->isEnabled());
    store.Set(&doc->Graph(), Turn("Kolumna pion", true), Plane(true));
    QTRY_VERIFY(actions->SpinAction()->isEnabled());
    QVERIFY(actions->FolderAction()->isEnabled() && actions->CurvesAction()->isEnabled());
    actions->SpinAction()->trigger();
    QVERIFY(actions->Window() && actions->Window()->isVisible() && actions->Window()->HasSpin());

    // A newer horizontal turn replaces the older one for the spin; the vertical one stays.
    const auto newer = Turn("Kolumna 2", false);
    store.Set(&doc->Graph(), newer, Plane(false));
    QCOMPARE(store.Get(&doc->Graph()).Result, newer);
    QCOMPARE(store.Get(&doc->Graph(), false).Result, newer);
    QCOMPARE(store.Get(&doc->Graph(), true).Result->Name, QStringLiteral("Kolumna pion"));
    QTRY_COMPARE(actions->Window()->Picture().Title(), QStringLiteral("Kolumna 2"));
}

void TestSpinActions::exportsOfBothPlanes()
{
    auto main = m_fixture.MakeMain();
    TSpinActions *actions = TSpinActions::Of(*main);
    TFrmChild *doc = main->CreateDocument(QStringLiteral("A"));
    TBroadbandStore &store = TBroadbandStore::Instance();
    store.Set(&doc->Graph(), Turn("Kolumna_H", false), Plane(false));
    store.Set(&doc->Graph(), Turn("Kolumna pion", true), Plane(true));
    const QString folder = m_fixture.Path("out");
    QVERIFY(QDir().mkpath(folder));
    int asked = 0;
    const auto ask = [&](QWidget *, const QString &) {
        ++asked;
        return folder;
    };
    TSpinActions::AskFolder() = ask;
    TBroadbandActions::AskFolder() = ask;

    // A name the spinorama tools would misread is refused before the folder is asked for.
    QVERIFY(!actions->ExportFolder());
    QCOMPARE(asked, 0);
    QCOMPARE(m_fixture.Prompts->Messages.size(), 1);
    QVERIFY(m_fixture.Prompts->Messages.first().Text.contains("_H"));
    QVERIFY(QDir(folder).isEmpty());

    store.Set(&doc->Graph(), Turn("Kolumna", false), Plane(false));
    QVERIFY(TBroadbandActions::Of(*main)->ExportFrd());
    QVERIFY(actions->ExportFolder());
    const QDir out(folder);
    QCOMPARE(out.entryList({ "Kolumna hor *.frd" }, QDir::Files).size(), 36);
    QCOMPARE(out.entryList({ "Kolumna pion ver *.frd" }, QDir::Files).size(), 36);
    QCOMPARE(out.entryList({ "Kolumna _H *.txt" }, QDir::Files).size(), 36);
    QCOMPARE(out.entryList({ "Kolumna _V *.txt" }, QDir::Files).size(), 36);
    QVERIFY(m_fixture.Prompts->Messages.last().Text.startsWith("Zapisano 72 pliki dla spinoramy"));

    const QString csv = m_fixture.Path("out/krzywe.csv");
    m_fixture.Prompts->DialogAnswers.push_back({ true, csv, 0 });
    QVERIFY(actions->ExportCurves());
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readLine().startsWith("Freq[Hz],On Axis,Listening Window,"));
    TSpinActions::AskFolder() = [](QWidget *, const QString &) {
        return QString();
    };
    TBroadbandActions::AskFolder() = TSpinActions::AskFolder();
}

// A document with a horizontal turn, a vertical one and a newer horizontal one, opened again:
// the newest of each plane is back for the spin. The first was calibrated with a microphone
// file that is gone by then: the status bar says its numbers are uncorrected.
void TestSpinActions::bothPlanesComeBackOnReopen()
{
    QStringList measure { "measure", "--simulate",    "--range", "-30",     "30",  "--signal",
                          "MLS",     "--play-buffer", "16384",   "--bands", "2000" };
    QVERIFY(TFileWriter::WriteFile(m_fixture.Path("mic.txt"), "100 0\n1000 1\n"));
    for (const QStringList &extra : { QStringList { "--mic-cal", "mic.txt", "d.OvK" },
                                      QStringList { "--plane", "ver", "--into", "d.OvK", "d.OvK" },
                                      QStringList { "--into", "d.OvK", "d.OvK" } }) {
        const TRun run = RunIsolatedCli(measure + extra, m_fixture.Path("."));
        QVERIFY2(run.Status == 0, qPrintable(run.Err.join(u'\n')));
    }
    QVERIFY(QFile::remove(m_fixture.Path("mic.txt")));
    auto main = m_fixture.MakeMain();
    main->OpenCommandLineFiles({ m_fixture.Path("d.OvK") });
    QCoreApplication::processEvents();
    TFrmChild *doc = main->ActiveDocument();
    QVERIFY(doc);
    const std::vector<TKeptMeasurement> kept
        = TMeasurementFolder::Read(m_fixture.Path("d.OvK")).Measurements;
    QCOMPARE(kept.size(), size_t(3));
    const TBroadbandStore &store = TBroadbandStore::Instance();
    QVERIFY(store.Get(&doc->Graph(), false).Result && store.Get(&doc->Graph(), true).Result);
    QCOMPARE(store.Get(&doc->Graph(), false).Result->Name, kept[2].Name);
    QCOMPARE(store.Get(&doc->Graph(), true).Result->Name, kept[1].Name);
    QCOMPARE(store.Get(&doc->Graph()).Result->Name, kept[2].Name);
    QTRY_VERIFY(TSpinActions::Of(*main)->SpinAction()->isEnabled());
    const QString status = main->statusBar()->currentMessage();
    QVERIFY2(status.contains("mic.txt") && status.contains("bez korekcji mikrofonu"),
             qPrintable(status));
}

QTEST_MAIN(TestSpinActions)
#include "tst_spinactions.moc"
