#include "analysis/BroadbandStore.h"
#include "analysis/ui/FrmSpinorama.h"
#include "app_ui/helpers/MainFixture.h"
#include "chart/PolarGraph.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cmath>

namespace {

// A full turn, a frame every 3°, each a single tap whose level falls 0.1 dB per degree off
// the axis (gate 50 ms, so all is measured from 20 Hz).
std::shared_ptr<const TDirectivityResult> Turn(const QString &name, int rate = 44100)
{
    auto result = std::make_shared<TDirectivityResult>();
    result->Name = name;
    result->SampleRate = rate;
    result->GateOpenMs = -1.0;
    result->GateCloseMs = 49.0;
    result->GateLength = 16;
    for (int a = -180; a <= 180; a += 3) {
        result->FrameAnglesDeg.push_back(a);
        std::vector<float> taps(size_t(result->GateLength), 0.0f);
        taps[0] = float(std::pow(10.0, -0.1 * std::abs(a) / 20.0));
        result->Responses.insert(result->Responses.end(), taps.begin(), taps.end());
    }
    return result;
}

TBroadbandOptions Plane(bool vertical, int smoothing = 0)
{
    TBroadbandOptions options;
    options.Vertical = vertical;
    options.Smoothing = smoothing;
    return options;
}

QLabel *EmptyText(const TFrmSpinorama &window)
{
    return window.findChild<QLabel *>(QStringLiteral("lbBrak"));
}

} // namespace

class TestFrmSpinorama : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup() { m_fixture.Cleanup(); }

    void showsTheSpinOrWhyNot();
    void exportWritesTheChosenFormat();

private:
    TMainFixture m_fixture;
};

void TestFrmSpinorama::showsTheSpinOrWhyNot()
{
    auto graph = std::make_unique<TPolarGraph>();
    TBroadbandStore &store = TBroadbandStore::Instance();
    TFrmSpinorama window;
    QVERIFY(window.windowTitle() == "Spinorama" && window.windowFlags().testFlag(Qt::Tool));
    window.SetChart(graph.get());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString none = QStringLiteral("Brak pomiarów szerokopasmowych w obu płaszczyznach "
                                        "(poziomej i pionowej) w aktywnym dokumencie.");
    auto *exportButton = window.findChild<QPushButton *>(QStringLiteral("btEksportuj"));

    const auto horizontal = Turn(QStringLiteral("Poziomo"));
    store.Set(graph.get(), horizontal, Plane(false));
    QVERIFY(!window.HasSpin()); // one plane only
    QVERIFY(EmptyText(window)->isVisible() && !exportButton->isEnabled());
    QCOMPARE(EmptyText(window)->text(), none);

    store.Set(graph.get(), Turn(QStringLiteral("Pionowo")), Plane(true));
    QVERIFY(window.HasSpin() && !EmptyText(window)->isVisible() && exportButton->isEnabled());
    QCOMPARE(window.Picture().Title(), QStringLiteral("Poziomo"));
    // The curves are the two turns': on axis the frame's own 0 dB.
    const auto first = window.Picture().Spin();
    QVERIFY(std::abs(first->CurvesDb[TSpinorama::OnAxis][100]) < 0.01);

    store.Set(graph.get(), horizontal, Plane(false)); // the same result again: kept
    QCOMPARE(window.Picture().Spin(), first);
    store.Set(graph.get(), horizontal, Plane(false, 3)); // another smoothing: made anew
    QVERIFY(window.HasSpin() && window.Picture().Spin() != first);

    // Turns that make no spin: the reason instead of the picture.
    store.Set(graph.get(), Turn(QStringLiteral("Poziomo"), 48000), Plane(false));
    QVERIFY(!window.HasSpin() && EmptyText(window)->isVisible());
    QVERIFY(EmptyText(window)->text() != none && !EmptyText(window)->text().isEmpty());

    store.Set(graph.get(), horizontal, Plane(false));
    QVERIFY(window.HasSpin());
    graph.reset(); // the chart goes, and with it its results
    QVERIFY(!window.HasSpin());
    QCOMPARE(EmptyText(window)->text(), none);
}

void TestFrmSpinorama::exportWritesTheChosenFormat()
{
    TPolarGraph graph;
    TBroadbandStore::Instance().Set(&graph, Turn(QString()), Plane(false));
    TBroadbandStore::Instance().Set(&graph, Turn(QString()), Plane(true));
    TFrmSpinorama window;
    window.SetChart(&graph);
    QVERIFY(window.HasSpin());
    QCOMPARE(window.Picture().Title(), graph.Title()); // an unnamed result takes the chart's
    // The filter decides the extension: "spin" with the SVG filter is spin.svg.
    m_fixture.Prompts->DialogAnswers.push_back({ true, m_fixture.Path("spin"), 1 });
    QVERIFY(window.ExportPicture());
    QFile svg(m_fixture.Path("spin.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("Sound Power DI"));
    QVERIFY(m_fixture.Prompts->Messages.isEmpty());
}

QTEST_MAIN(TestFrmSpinorama)
#include "tst_frmspinorama.moc"
