#include "app/Settings.h"
#include "chart/PolarGraph.h"
#include "chart/ui/PolarGraphView.h"
#include "document/OvkFile.h"
#include "document/ui/DocumentHost.h"
#include "document/ui/FrmChild.h"
#include "helpers/IsolatedSettings.h"
#include "helpers/PromptStub.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QtMath>
#include <QtTest>

// A frame that records what the document window tells it.
class TFakeHost : public TDocumentHost
{
public:
    int DocumentCount() const override { return Count; }
    TFrmChild *ActiveDocument() const override { return Active; }
    void ShowZoom(int zoom) override { ShownZoom = zoom; }
    void BindSeriesEditor(TPolarGraph *graph) override { Bound = graph; }
    void ShowCursorReadout(const QString &text) override
    {
        Readout = text;
        ++ReadoutCalls;
    }
    ESaveResult SaveDocument(TFrmChild &) override
    {
        ++SaveCalls;
        return SaveResult;
    }
    void DocumentClosed(TFrmChild &document) override { Closed.append(&document); }
    bool ShuttingDown() const override { return Shutdown; }
    QList<QAction *> ChartContextActions() const override { return {}; }
    bool CanDropSeries(QObject *, TPolarGraph &) const override { return false; }
    void DropSeries(TPolarGraph &) override { }

    int Count = 0;
    TFrmChild *Active = nullptr;
    int ShownZoom = -1;
    TPolarGraph *Bound = nullptr;
    QString Readout;
    int ReadoutCalls = 0;
    int SaveCalls = 0;
    ESaveResult SaveResult = ESaveResult::Saved;
    QList<TFrmChild *> Closed;
    bool Shutdown = false;
};

class TestFrmChild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void modifiedMark_data();
    void modifiedMark();
    void graphChangeMarksModified();

    void pageFollowsZoom_data();
    void pageFollowsZoom();
    void sameZoomStoresNothing();
    void outOfRangeStoredSizeIsBounded();
    void chartFillsPageInsideMargin();
    void syncMainWindow();

    void closeAsksAboutModified_data();
    void closeAsksAboutModified();
    void failedSaveKeepsWindowOpen();
    void closeRemembersWindowState();

    void cursorReadout_data();
    void cursorReadout();
    void readoutOnlyWhenActive();
    void reversedScaleReadout();

private:
    std::unique_ptr<TFrmChild> MakeChild(const QString &caption = QStringLiteral("Seria_1"));
    TFakeHost m_host;
};

void TestFrmChild::initTestCase()
{
    IsolateUserFolders();
}

void TestFrmChild::init()
{
    m_host = TFakeHost();
    Settings().DocumentSize = 100;
    Settings().DocWindowState = 2;
}

std::unique_ptr<TFrmChild> TestFrmChild::MakeChild(const QString &caption)
{
    auto child = std::make_unique<TFrmChild>(m_host, QStringLiteral("/tmp/") + caption);
    child->SetCaption(caption);
    child->Graph().SetTitle(caption);
    child->SetModified(false);
    return child;
}

void TestFrmChild::modifiedMark_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QList<bool>>("steps");
    QTest::addColumn<QString>("expected");

    QTest::newRow("set") << "Seria_1" << QList<bool> { true } << "Seria_1~";
    QTest::newRow("set twice, one mark") << "Seria_1" << QList<bool> { true, true } << "Seria_1~";
    QTest::newRow("set then cleared") << "Seria_1" << QList<bool> { true, false } << "Seria_1";
    QTest::newRow("cleared when clear") << "Seria_1" << QList<bool> { false } << "Seria_1";
    QTest::newRow("empty caption") << "" << QList<bool> { true, false } << "";
    QTest::newRow("path") << "/data/a b.OvK" << QList<bool> { true, true, false, true }
                          << "/data/a b.OvK~";
}

void TestFrmChild::modifiedMark()
{
    QFETCH(QString, caption);
    QFETCH(QList<bool>, steps);
    QFETCH(QString, expected);

    auto child = MakeChild(QStringLiteral("x"));
    child->SetCaption(caption);
    for (bool step : steps)
        child->SetModified(step);
    QCOMPARE(child->Caption(), expected);
    QCOMPARE(child->Modified(), steps.last());
}

void TestFrmChild::graphChangeMarksModified()
{
    auto child = MakeChild();
    QVERIFY(!child->Modified());
    TSeries *series = child->Graph().GetSeries(0);
    series->Add(0, -3);
    QVERIFY(child->Modified());
    QCOMPARE(child->Caption(), QStringLiteral("Seria_1~"));
}

void TestFrmChild::pageFollowsZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("clientWidth");

    QTest::newRow("150 in 1400") << 150 << 1400;
    QTest::newRow("100 in 1001 (odd spare)") << 100 << 1001;
    QTest::newRow("200 in 900 (wider than area)") << 200 << 900;
    QTest::newRow("50 in 400 (same width)") << 50 << 400;
}

void TestFrmChild::pageFollowsZoom()
{
    QFETCH(int, zoom);
    QFETCH(int, clientWidth);

    Settings().DocumentSize = zoom;
    auto child = MakeChild();
    child->resize(clientWidth, 700);
    child->show();
    QVERIFY(QTest::qWaitForWindowExposed(child.get()));
    const int client = child->ScrollBox()->viewport()->width();
    QCOMPARE(child->Page()->size(), QSize(8 * zoom, 6 * zoom));
    const int expectedLeft = 8 * zoom < client ? (client - 8 * zoom) / 2 : 0;
    QCOMPARE(child->Page()->x(), expectedLeft);
    QCOMPARE(child->Page()->y(), 0);
    if (zoom == 150 && child->ScrollBox()->viewport()->width() == 1400)
        QCOMPARE(child->Page()->x(), 100);
    // A page wider than the area can be scrolled to its right edge.
    if (8 * zoom > client)
        QVERIFY(child->ScrollBox()->horizontalScrollBar()->maximum() > 0);
}

void TestFrmChild::sameZoomStoresNothing()
{
    Settings().DocumentSize = 125;
    auto child = MakeChild();
    QCOMPARE(child->Zoom(), 125);
    Settings().DocumentSize = 77;
    child->SetZoom(125);
    QCOMPARE(Settings().DocumentSize, 77);
    child->SetZoom(60);
    QCOMPARE(Settings().DocumentSize, 60);
    QCOMPARE(child->Page()->size(), QSize(480, 360));
}

void TestFrmChild::outOfRangeStoredSizeIsBounded()
{
    Settings().DocumentSize = 100000;
    auto big = MakeChild();
    QCOMPARE(big->Zoom(), TFrmChild::MaxZoom);
    Settings().DocumentSize = 0;
    auto small = MakeChild();
    QCOMPARE(small->Zoom(), TFrmChild::MinZoom);
}

void TestFrmChild::chartFillsPageInsideMargin()
{
    auto child = MakeChild();
    QCOMPARE(child->GraphView().geometry(), QRect(10, 10, 780, 580));
    QWidget *shadow = child->Page()->findChild<QWidget *>(QStringLiteral("Shape1"));
    QVERIFY(shadow);
    QCOMPARE(shadow->geometry(), QRect(12, 12, 780, 580));
    child->SetZoom(150);
    QCOMPARE(child->GraphView().geometry(), QRect(10, 10, 1180, 880));
    QCOMPARE(shadow->geometry(), QRect(12, 12, 1180, 880));
}

void TestFrmChild::syncMainWindow()
{
    Settings().DocumentSize = 75;
    auto child = MakeChild();
    child->SyncMainWindow();
    QCOMPARE(m_host.ShownZoom, 75);
    QCOMPARE(m_host.Bound, &child->Graph());
}

void TestFrmChild::closeAsksAboutModified_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("saves");

    QTest::newRow("not modified: no question") << false << int(QMessageBox::Yes) << 0;
    QTest::newRow("modified, No: closes unsaved") << true << int(QMessageBox::No) << 0;
    QTest::newRow("modified, Yes: saves") << true << int(QMessageBox::Yes) << 1;
}

void TestFrmChild::closeAsksAboutModified()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(int, saves);

    TPromptStub prompts;
    prompts.MessageAnswers.push_back(QMessageBox::StandardButton(answer));
    auto child = MakeChild();
    child->SetModified(modified);
    child->show();
    QVERIFY(child->close());

    QCOMPARE(prompts.Messages.size(), modified ? 1 : 0);
    if (modified) {
        const TAskedMessage &asked = prompts.Messages.first();
        QCOMPARE(asked.Text, QStringLiteral("Zapisać zmiany w Seria_1~?"));
        QCOMPARE(asked.Icon, QMessageBox::Warning);
        QCOMPARE(asked.Buttons, QMessageBox::Yes | QMessageBox::No);
    }
    QCOMPARE(m_host.SaveCalls, saves);
    QCOMPARE(m_host.Closed, QList<TFrmChild *> { child.get() });
}

void TestFrmChild::failedSaveKeepsWindowOpen()
{
    TPromptStub prompts;
    prompts.MessageAnswers = { QMessageBox::Yes, QMessageBox::Yes };
    m_host.SaveResult = TDocumentHost::ESaveResult::Failed;
    auto child = MakeChild();
    child->SetModified(true);
    child->show();
    QVERIFY(!child->close());
    QVERIFY(m_host.Closed.isEmpty());
    QVERIFY(child->Modified());

    // At shut-down nothing can stop the close.
    m_host.Shutdown = true;
    QVERIFY(child->close());
    QCOMPARE(m_host.Closed.size(), 1);
}

void TestFrmChild::closeRemembersWindowState()
{
    Settings().DocWindowState = 2;
    auto child = MakeChild();
    child->showNormal();
    QVERIFY(child->close());
    QCOMPARE(Settings().DocWindowState, 0);
}

void TestFrmChild::cursorReadout_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("fraction"); // distance from the centre / radius
    QTest::addColumn<bool>("shown");

    QTest::newRow("45 degrees, half way") << 45.0 << 0.5 << true;
    QTest::newRow("-100 degrees, near centre") << -100.0 << 0.15 << true;
    QTest::newRow("180 degrees") << 180.0 << 0.7 << true;
    QTest::newRow("just inside") << 30.0 << 0.97 << true;
    QTest::newRow("outside the outer circle") << 120.0 << 1.1 << false;
}

void TestFrmChild::cursorReadout()
{
    QFETCH(double, angle);
    QFETCH(double, fraction);
    QFETCH(bool, shown);

    auto child = MakeChild();
    m_host.Active = child.get();
    child->GraphView().grab(); // renders the screen picture: centre and radius are known
    const TPolarGraph &graph = child->Graph();
    QVERIFY(graph.Radius() > 0);
    const double r = fraction * graph.Radius();
    const double a = qDegreesToRadians(angle);
    const int x = qRound(graph.Center().x() + r * std::sin(a));
    const int y = qRound(graph.Center().y() - r * std::cos(a));

    QMouseEvent move(QEvent::MouseMove, QPointF(x, y),
                     child->GraphView().mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&child->GraphView(), &move);

    QCOMPARE(m_host.ReadoutCalls, 1);
    if (!shown) {
        QCOMPARE(m_host.Readout, QString());
        return;
    }
    // The read-out is what the chart reports for that pixel, in the program's format.
    const TPolarPosition p = graph.PointToPolar(x, y);
    QVERIFY(qAbs(p.Angle - angle) < 2.0 || qAbs(qAbs(p.Angle - angle) - 360) < 2.0);
    QCOMPARE(m_host.Readout,
             QStringLiteral("%1° %2 dB ").arg(p.Angle, 0, 'f', 1).arg(p.Level, 0, 'f', 1));
    const QRegularExpression format(QStringLiteral("^-?\\d+\\.\\d° -?\\d+\\.\\d dB $"));
    QVERIFY2(format.match(m_host.Readout).hasMatch(), qPrintable(m_host.Readout));
}

void TestFrmChild::readoutOnlyWhenActive()
{
    auto child = MakeChild();
    auto other = MakeChild(QStringLiteral("Seria_2"));
    m_host.Active = other.get();
    child->GraphView().grab();
    const QPoint c = child->Graph().Center();
    QMouseEvent move(QEvent::MouseMove, QPointF(c.x() + 5, c.y() - 20), QPointF(), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&child->GraphView(), &move);
    QCOMPARE(m_host.ReadoutCalls, 0);
}

void TestFrmChild::reversedScaleReadout()
{
    // With the scale running downwards (max below min) the read-out still shows inside the
    // outer circle and clears beyond it.
    auto child = MakeChild();
    m_host.Active = child.get();
    child->Graph().Grid().SetRadiusMin(40);
    child->Graph().Grid().SetRadiusMax(0);
    child->GraphView().grab();
    const TPolarGraph &graph = child->Graph();
    const QPoint c = graph.Center();
    QCOMPARE(child->CursorReadout(c.x(), c.y() - graph.Radius() / 2).isEmpty(), false);
    QCOMPARE(child->CursorReadout(c.x(), c.y() - graph.Radius() - 5), QString());
}

QTEST_MAIN(TestFrmChild)
#include "tst_FrmChild.moc"
