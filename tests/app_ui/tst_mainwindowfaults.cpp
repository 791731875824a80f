// Faults of the main window found by trying the program: the export's overwrite question and
// its starting folder, status panels too narrow for their text, a shortcut held twice, and
// a failed open that changed the other documents' window state.

#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/StatusPanels.h"
#include "app/ui/ToolWindows.h"
#include "audio/LoopbackBus.h"
#include "chart/PolarGraph.h"
#include "chart/ui/PolarGraphView.h"
#include "document/OvkFile.h"
#include "document/ui/DocumentFiles.h"
#include "document/ui/FrmChild.h"
#include "document_ui/helpers/TestFiles.h"
#include "helpers/MainFixture.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QtMath>
#include <QtTest>

#include <map>
#include <set>

namespace {

// Pictures for a person to look at: ORVI_SCREENSHOT_DIR names the folder they go to.
void SaveShot(QWidget &widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("ORVI_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(widget.grab().save(QDir(dir).filePath(name)));
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The top-level windows in which action's shortcut can fire: those of the widgets it was
// added to, a menu's through the item that opens it.
void WindowsOf(const QAction *action, std::set<const QWidget *> &windows, int depth = 0)
{
    for (const QObject *object : action->associatedObjects()) {
        if (const auto *menu = qobject_cast<const QMenu *>(object)) {
            if (depth < 8)
                WindowsOf(menu->menuAction(), windows, depth + 1);
        } else if (const auto *widget = qobject_cast<const QWidget *>(object)) {
            windows.insert(widget->window());
        }
    }
}

} // namespace

class TestMainWindowFaults : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture.Init(); }
    void cleanup()
    {
        TLoopbackBus::Instance().SetClock(nullptr);
        m_fixture.Cleanup();
    }

    void exportAsksAboutTheFileWritten_data();
    void exportAsksAboutTheFileWritten();
    void exportStartsInTheDocumentFolder_data();
    void exportStartsInTheDocumentFolder();
    void statusPanelsFitTheirLongestText_data();
    void statusPanelsFitTheirLongestText();
    void readoutAtMinus147IsShownWhole();
    void eachShortcutHasOneAction();
    void failedOpenKeepsOtherDocumentsMaximised();
    void maximisedOpenedDocumentLendsTheFrameItsPath();

private:
    QString Path(const QString &name) const { return m_fixture.Path(name); }

    TMainFixture m_fixture;
};

void TestMainWindowFaults::exportAsksAboutTheFileWritten_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("answer"); // the button pressed; NoButton: no question expected

    const int none = QMessageBox::NoButton, yes = QMessageBox::Yes, no = QMessageBox::No;
    QTest::newRow("four.emf exists, wmf written") << "four.emf"
                                                  << "four" << 1 << "four.wmf" << none;
    QTest::newRow("plot.wmf exists, No") << "plot.wmf"
                                         << "plot" << 1 << "plot.wmf" << no;
    QTest::newRow("plot.wmf exists, Yes") << "plot.wmf"
                                          << "plot.emf" << 1 << "plot.wmf" << yes;
    QTest::newRow("plot.emf exists, No") << "plot.emf"
                                         << "plot" << 0 << "plot.emf" << no;
    QTest::newRow("one.png exists, No") << "one.png"
                                        << "one" << 4 << "one.png" << no;
    QTest::newRow("one.png exists, Yes") << "one.png"
                                         << "one.svg" << 4 << "one.png" << yes;
    QTest::newRow("one.svg exists, Yes") << "one.svg"
                                         << "one" << 2 << "one.svg" << yes;
}

void TestMainWindowFaults::exportAsksAboutTheFileWritten()
{
    QFETCH(QString, existing);
    QFETCH(QString, typed);
    QFETCH(int, filter);
    QFETCH(QString, written);
    QFETCH(int, answer);

    QTemporaryDir out;
    const QByteArray old("an earlier picture the user keeps");
    QFile before(out.filePath(existing));
    QVERIFY(before.open(QIODevice::WriteOnly));
    before.write(old);
    before.close();

    auto main = m_fixture.MakeMain();
    main->Actions().acNowy->trigger();
    m_fixture.Prompts->DialogAnswers.push_back({ true, out.filePath(typed), filter });
    if (answer != QMessageBox::NoButton)
        m_fixture.Prompts->MessageAnswers.push_back(QMessageBox::StandardButton(answer));
    const bool exported = main->ExportActive();

    const QList<TAskedMessage> &asked = m_fixture.Prompts->Messages;
    QCOMPARE(m_fixture.Prompts->Dialogs.size(), 1);
    QVERIFY(!m_fixture.Prompts->Dialogs.first().ConfirmOverwrite);
    if (answer == QMessageBox::NoButton) {
        QCOMPARE(asked.size(), 0);
    } else {
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().Icon, QMessageBox::Question);
        QCOMPARE(asked.first().Buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY2(asked.first().Text.contains(QDir::toNativeSeparators(out.filePath(written))),
                 qPrintable(asked.first().Text));
    }
    const bool replaced = answer != QMessageBox::No;
    QCOMPARE(exported, replaced);
    const QByteArray now = ReadAll(out.filePath(written));
    if (replaced) {
        QVERIFY(now.size() > 100);
        QVERIFY(now != old);
    } else {
        QCOMPARE(now, old);
    }
    if (existing != written)
        QCOMPARE(ReadAll(out.filePath(existing)), old);

    if (answer != QMessageBox::NoButton && ReadAll(out.filePath(written)) == old) {
        // The question as the real message box shows it.
        QMessageBox box(QMessageBox::Question, QStringLiteral("Orvi"), asked.first().Text,
                        asked.first().Buttons, main.get());
        SaveShot(box, QStringLiteral("overwrite-%1.png").arg(written));
    }
}

void TestMainWindowFaults::exportStartsInTheDocumentFolder_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("inFolder");

    QTest::newRow("opened") << "open" << true;
    QTest::newRow("saved as") << "saveas" << true;
    QTest::newRow("untitled") << "new" << false;
}

void TestMainWindowFaults::exportStartsInTheDocumentFolder()
{
    QFETCH(QString, how);
    QFETCH(bool, inFolder);

    QTemporaryDir docs;
    const QString docPath = docs.filePath(QStringLiteral("kolumna.OvK"));
    auto main = m_fixture.MakeMain();
    if (how == QLatin1String("open")) {
        WriteTestDocument(docPath, "Kolumna");
        QVERIFY(main->OpenDocument(docPath));
    } else {
        main->Actions().acNowy->trigger();
        if (how == QLatin1String("saveas")) {
            m_fixture.Prompts->DialogAnswers.push_back({ true, docPath, 0 });
            QVERIFY(main->SaveActiveAs());
        }
    }
    m_fixture.Prompts->Dialogs.clear();
    QVERIFY(!main->ExportActive()); // the stub cancels the dialog

    QCOMPARE(m_fixture.Prompts->Dialogs.size(), 1);
    const QString preset = m_fixture.Prompts->Dialogs.first().FileName;
    if (inFolder) {
        QCOMPARE(QFileInfo(preset).absolutePath(), QFileInfo(docPath).absolutePath());
        QCOMPARE(QFileInfo(preset).fileName(), QStringLiteral("kolumna"));
    } else {
        QCOMPARE(preset, QStringLiteral("Seria_1"));
    }
}

void TestMainWindowFaults::statusPanelsFitTheirLongestText_data()
{
    QTest::addColumn<int>("pointSize"); // 0: the platform's font

    QTest::newRow("platform font") << 0;
    QTest::newRow("large font") << 24;
}

void TestMainWindowFaults::statusPanelsFitTheirLongestText()
{
    QFETCH(int, pointSize);

    auto main = m_fixture.MakeMain();
    QStatusBar *bar = main->statusBar();
    if (pointSize > 0) {
        QFont font = bar->font();
        font.setPointSize(pointSize);
        bar->setFont(font);
    }
    const QFontMetrics metrics(bar->font());
    for (int i = 1; i <= 2; ++i) {
        auto *panel = bar->findChild<QLabel *>(QStringLiteral("Panel%1").arg(i));
        QVERIFY(panel);
        const QString longest = TStatusPanels::LongestText(i);
        QVERIFY(panel->width() >= TStatusPanels::BaseWidths[size_t(i)]);
        QVERIFY(panel->width()
                >= metrics.horizontalAdvance(longest) + TStatusPanels::TextMargins(*panel));
        // The label itself, laid out with the text, must not need more than it has.
        panel->setText(longest);
        QVERIFY2(panel->sizeHint().width() <= panel->width(),
                 qPrintable(QStringLiteral("panel %1: %2 > %3")
                                .arg(i)
                                .arg(panel->sizeHint().width())
                                .arg(panel->width())));
    }
    auto *hint = bar->findChild<QLabel *>(QStringLiteral("Panel0"));
    QCOMPARE(hint->width(), TStatusPanels::BaseWidths[0]);
}

void TestMainWindowFaults::readoutAtMinus147IsShownWhole()
{
    auto main = m_fixture.MakeMain();
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    main->Actions().acNowy->trigger();
    TFrmChild *doc = main->ActiveDocument();
    TPolarGraphView &view = doc->GraphView();
    view.grab(); // lays the chart out
    const QPoint c = doc->Graph().Center();
    const double r = doc->Graph().Radius() * 0.6, a = qDegreesToRadians(-147.3);
    const QPoint around(c.x() + qRound(r * std::sin(a)), c.y() - qRound(r * std::cos(a)));
    QPoint hit(-1, -1);
    for (int dy = -3; dy <= 3 && hit.x() < 0; ++dy)
        for (int dx = -3; dx <= 3 && hit.x() < 0; ++dx)
            if (doc->CursorReadout(around.x() + dx, around.y() + dy)
                    .startsWith(QStringLiteral("-147.3° ")))
                hit = around + QPoint(dx, dy);
    QVERIFY(hit.x() >= 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(hit), view.mapToGlobal(QPointF(hit)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &move);

    auto *panel = main->statusBar()->findChild<QLabel *>(QStringLiteral("Panel2"));
    QVERIFY(panel->text().startsWith(QStringLiteral("-147.3° ")));
    QVERIFY(panel->sizeHint().width() <= panel->width());
    SaveShot(*main->statusBar(), QStringLiteral("readout.png"));
}

void TestMainWindowFaults::eachShortcutHasOneAction()
{
    auto main = m_fixture.MakeMain();
    CreateToolWindows(*main, TStartOptions { true, &m_fixture.Clock });
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    for (int which = 0; which < TFrmMain::ToolWindowCount; ++which)
        if (QWidget *window = main->ToolWindow(TFrmMain::EToolWindow(which)))
            window->show();

    // Key sequence -> windows it fires in -> the actions holding it there.
    std::map<QString, std::map<const QWidget *, QStringList>> holders;
    QList<QAction *> actions = main->findChildren<QAction *>();
    for (int which = 0; which < TFrmMain::ToolWindowCount; ++which)
        if (QWidget *window = main->ToolWindow(TFrmMain::EToolWindow(which)))
            for (QAction *action : window->findChildren<QAction *>())
                if (!actions.contains(action))
                    actions.append(action);
    for (QAction *action : std::as_const(actions)) {
        std::set<const QWidget *> windows;
        WindowsOf(action, windows);
        for (const QKeySequence &keys : action->shortcuts())
            for (const QWidget *window : windows)
                holders[keys.toString()][window].append(action->objectName() + ' '
                                                        + action->text());
    }
    QVERIFY(!holders.empty());
    for (const auto &[keys, byWindow] : holders)
        for (const auto &[window, names] : byWindow)
            QVERIFY2(names.size() == 1,
                     qPrintable(keys + QStringLiteral(" in ") + window->objectName() + ": "
                                + names.join(QStringLiteral(", "))));

    // The menu item keeps its own caption and shows the key it stands for.
    auto *item = main->findChild<QAction *>(QStringLiteral("miStolikKontrol"));
    QVERIFY(item);
    QCOMPARE(item->text().section(QLatin1Char('\t'), 0, 0), QStringLiteral("&Kontrola stolika"));
    QCOMPARE(item->text().section(QLatin1Char('\t'), 1),
             main->Actions().acStolikKontrol->shortcut().toString(QKeySequence::NativeText));

    // With the menu bar holding the focus, as after a menu was opened and closed, the key
    // still reaches the turntable window.
    QWidget *turntable = main->ToolWindow(TFrmMain::EToolWindow::Turntable);
    turntable->hide();
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    main->menuBar()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), main->menuBar());
    QTest::keyClick(main->menuBar(), Qt::Key_K, Qt::ControlModifier);
    QVERIFY(turntable->isVisible());
}

void TestMainWindowFaults::failedOpenKeepsOtherDocumentsMaximised()
{
    WriteTestDocument(Path("cut.OvK"), "Cut", 2);
    QVERIFY(QFile(Path("cut.OvK")).resize(400)); // declares two series, holds none

    auto main = m_fixture.MakeMain();
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    QTest::qWait(20); // the first showing opens Seria_1
    main->Actions().acNowy->trigger();
    const QList<TFrmChild *> docs = main->Documents();
    QCOMPARE(docs.size(), 2);
    for (TFrmChild *doc : docs)
        doc->parentWidget()->showMaximized();
    main->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(docs.last()->parentWidget()));
    QTest::qWait(20);
    QList<Qt::WindowStates> before;
    for (TFrmChild *doc : docs)
        before.append(doc->parentWidget()->windowState());
    QVERIFY(before.last().testFlag(Qt::WindowMaximized));

    QVERIFY(!main->OpenDocument(Path("cut.OvK")));
    QTest::qWait(20);

    QCOMPARE(m_fixture.Prompts->Messages.size(), 1); // the read error
    QCOMPARE(main->Documents(), docs);
    QCOMPARE(main->MdiArea()->subWindowList().size(), 2);
    for (int i = 0; i < docs.size(); ++i)
        QCOMPARE(docs.at(i)->parentWidget()->windowState(), before.at(i));
    QCOMPARE(main->ActiveDocument(), docs.last());
}

void TestMainWindowFaults::maximisedOpenedDocumentLendsTheFrameItsPath()
{
    WriteTestDocument(Path("shown.OvK"), "Shown", 1);
    Settings().DocWindowState = 2; // the first document opens maximised
    auto main = m_fixture.MakeMain();
    QVERIFY(main->OpenDocument(Path("shown.OvK")));
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    QTest::qWait(20);
    const QString path = QDir::toNativeSeparators(Path("shown.OvK"));
    QCOMPARE(main->ActiveDocument()->windowTitle(), path);
    // Not "Orvi - [~]", the caption the window had while it loaded.
    QCOMPARE(main->windowTitle(), QStringLiteral("Orvi - [%1]").arg(path));
}

QTEST_MAIN(TestMainWindowFaults)
#include "tst_mainwindowfaults.moc"
