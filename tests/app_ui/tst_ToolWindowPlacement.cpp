// The tool windows of the main window: their frame, where they first appear, and that they
// keep the place the user gave them across hide/show and across runs.
#include "analysis/ui/FrmMapa.h"
#include "app/ToolWindowLayout.h"
#include "app/ui/BroadbandActions.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/ToolWindows.h"
#include "audio/LoopbackBus.h"
#include "chart/PolarGraph.h"
#include "helpers/MainFixture.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <QToolBar>
#include <QtTest>

namespace {

using EToolWindow = TFrmMain::EToolWindow;

// The generator, level meter and turntable windows of a main window.
struct TToolWindows
{
    QWidget *Generator;
    QWidget *Meter;
    QWidget *Turntable;
    QList<QWidget *> All() const { return { Generator, Meter, Turntable }; }
};

// The program's own tool windows on the simulated rig, as at start-up.
TToolWindows AddToolWindows(TFrmMain &main, TClock &clock)
{
    CreateToolWindows(main, TStartOptions { true, &clock });
    return { main.ToolWindow(EToolWindow::Generator), main.ToolWindow(EToolWindow::Meter),
             main.ToolWindow(EToolWindow::Turntable) };
}

QRect GlobalRect(const QWidget &widget)
{
    return { widget.mapToGlobal(QPoint(0, 0)), widget.size() };
}

// The larger tool windows, which are shown only while a document is open.
enum class ELargeTool { SeriesEditor, Map };

// Shows the window as its menu item does and returns it.
QWidget *ShowLargeTool(TFrmMain &main, ELargeTool tool)
{
    if (tool == ELargeTool::SeriesEditor) {
        main.Actions().acSerie->trigger();
        return main.ToolWindow(EToolWindow::SeriesEditor);
    }
    TBroadbandActions::Of(main)->ShowMap();
    return TBroadbandActions::Of(main)->MapWindow();
}

} // namespace

class TestToolWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup()
    {
        TLoopbackBus::Instance().SetClock(nullptr);
        m_fixture.Cleanup();
    }

    void smallWindowsHaveNoMinMaxBoxes()
    {
        auto main = m_fixture.MakeMain();
        const TToolWindows windows = AddToolWindows(*main, m_fixture.Clock);
        QVERIFY(main->PortAvailable());
        const QWidget *editor = main->ToolWindow(EToolWindow::SeriesEditor);
        for (QWidget *window : windows.All()) {
            const Qt::WindowFlags flags = window->windowFlags();
            QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
            QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        }
        QVERIFY(editor->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        // Above the main window as its tool windows, but never above its modal dialogs: a
        // window that asks to stay on top covers them under a window manager.
        QList<QWidget *> all = windows.All();
        all << main->ToolWindow(EToolWindow::SeriesEditor);
        for (const QWidget *window : all) {
            QCOMPARE(window->parentWidget(), main.get());
            QCOMPARE(window->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
            QVERIFY2(!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                     qPrintable(window->objectName()));
        }
    }

    void firstPlacedInDocumentAreaApart()
    {
        auto main = m_fixture.MakeMain();
        main->resize(1280, 1000); // room for all five side by side
        main->CreateDocument(QStringLiteral("Seria_1"));
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        const TToolWindows windows = AddToolWindows(*main, m_fixture.Clock);
        const TMainActions &a = main->Actions();
        // Shown in another order than they were made: each still takes its own slot.
        for (QAction *action : { a.acStolikKontrol, a.acGenerator, a.acdBMeter })
            action->trigger();
        QList<QWidget *> all = windows.All();
        all << ShowLargeTool(*main, ELargeTool::Map)
            << ShowLargeTool(*main, ELargeTool::SeriesEditor);

        const QRect area = GlobalRect(*main->MdiArea());
        int barsBottom = GlobalRect(*main->menuBar()).bottom();
        for (const QToolBar *bar : main->findChildren<QToolBar *>())
            if (bar->isVisible() && main->toolBarArea(bar) == Qt::TopToolBarArea)
                barsBottom = std::max(barsBottom, GlobalRect(*bar).bottom());
        for (const QWidget *window : all) {
            QVERIFY(window->isVisible());
            QVERIFY2(area.contains(window->frameGeometry()), qPrintable(window->objectName()));
            QVERIFY(window->frameGeometry().top() > barsBottom);
        }
        for (qsizetype i = 0; i < all.size(); ++i)
            for (qsizetype j = i + 1; j < all.size(); ++j)
                QVERIFY(!all[i]->frameGeometry().intersects(all[j]->frameGeometry()));
    }

    void narrowAreaWrapsWithoutOverlap()
    {
        const QRect area(100, 50, 300, 600);
        const QList<QSize> frames { { 208, 165 }, { 185, 196 }, { 268, 210 } };
        const QList<QPoint> places = TToolWindowLayout::FirstPlaces(area, frames);
        QCOMPARE(places.size(), frames.size());
        for (qsizetype i = 0; i < places.size(); ++i) {
            const QRect rect(places[i], frames[i]);
            QVERIFY(area.contains(rect));
            for (qsizetype j = 0; j < i; ++j)
                QVERIFY(!rect.intersects(QRect(places[j], frames[j])));
        }
    }

    void movedWindowKeepsPlaceAcrossHideAndShow()
    {
        auto main = m_fixture.MakeMain();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        const TToolWindows windows = AddToolWindows(*main, m_fixture.Clock);
        QAction *toggle = main->Actions().acStolikKontrol;
        toggle->trigger();
        const QPoint userPlace = GlobalRect(*main->MdiArea()).center();
        windows.Turntable->move(userPlace);
        toggle->trigger();
        QVERIFY(!windows.Turntable->isVisible());
        toggle->trigger();
        QVERIFY(windows.Turntable->isVisible());
        QCOMPARE(windows.Turntable->pos(), userPlace);
    }

    void storedPlaceRestoredByNextRun_data()
    {
        QTest::addColumn<int>("tool"); // -1: the level meter, else an ELargeTool
        QTest::addColumn<QString>("key");
        QTest::newRow("level meter") << -1 << "MeterPos";
        QTest::newRow("series editor") << int(ELargeTool::SeriesEditor) << "SeriesEditorPos";
        QTest::newRow("directivity map") << int(ELargeTool::Map) << "MapPos";
    }

    void storedPlaceRestoredByNextRun()
    {
        QFETCH(int, tool);
        QFETCH(QString, key);
        auto show = [tool](TFrmMain &main) {
            if (tool < 0) {
                main.Actions().acdBMeter->trigger();
                return main.ToolWindow(EToolWindow::Meter);
            }
            return ShowLargeTool(main, ELargeTool(tool));
        };
        QPoint left;
        {
            auto main = m_fixture.MakeMain();
            main->CreateDocument(QStringLiteral("Seria_1"));
            main->show();
            QVERIFY(QTest::qWaitForWindowExposed(main.get()));
            AddToolWindows(*main, m_fixture.Clock);
            QWidget *window = show(*main);
            window->move(333, 222);
            left = window->pos();
            main->close();
        }
        std::unique_ptr<QSettings> store = OpenSettingsStore();
        QCOMPARE(store->value(QStringLiteral("1.0/Windows/") + key).toPoint(), left);
        QVERIFY(store->contains(QStringLiteral("1.0/Options/TempDir")));

        auto main = m_fixture.MakeMain();
        main->CreateDocument(QStringLiteral("Seria_1"));
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        AddToolWindows(*main, m_fixture.Clock);
        QCOMPARE(show(*main)->pos(), left);
    }

    void storedPlaceOffEveryScreenIsNotUsed()
    {
        // A screen that is gone would hide the window: it starts in its own slot instead.
        OpenSettingsStore()->setValue(QStringLiteral("1.0/Windows/MeterPos"),
                                      QPoint(-20000, -20000));
        auto main = m_fixture.MakeMain();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        const TToolWindows windows = AddToolWindows(*main, m_fixture.Clock);
        main->Actions().acdBMeter->trigger();
        QVERIFY(GlobalRect(*main->MdiArea()).contains(windows.Meter->frameGeometry()));
    }

    void screenshot()
    {
        // For a person to look at: ORVI_SCREENSHOT_TOOLS names the file of a picture of the
        // main window with the three tool windows drawn where they are placed.
        auto main = m_fixture.MakeMain();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        const TToolWindows windows = AddToolWindows(*main, m_fixture.Clock);
        const TMainActions &a = main->Actions();
        for (QAction *action : { a.acGenerator, a.acdBMeter, a.acStolikKontrol })
            action->trigger();
        QImage image = main->grab().toImage();
        QPainter painter(&image);
        for (QWidget *window : windows.All())
            painter.drawPixmap(main->mapFromGlobal(window->mapToGlobal(QPoint(0, 0))),
                               window->grab());
        painter.end();
        const QByteArray target = qgetenv("ORVI_SCREENSHOT_TOOLS");
        if (!target.isEmpty())
            QVERIFY(image.save(QString::fromLocal8Bit(target)));
    }

private:
    TMainFixture m_fixture;
};

QTEST_MAIN(TestToolWindowPlacement)
#include "tst_ToolWindowPlacement.moc"
