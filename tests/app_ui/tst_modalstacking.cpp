// Under a real window manager the program's modal dialogs open above every tool window, and
// the five tool windows' frames (title bars included) keep off the menu and tool bars, apart
// from each other, and where they were in the run before. Offscreen has no stacking and no
// frames, so the test starts a private X server (Xvfb) with openbox before the application
// object is made; it skips when they are not installed, unless ORVI_REQUIRE_REAL_X=1. The
// stacking order is the window manager's own (_NET_CLIENT_LIST_STACKING, read with xprop).
#include "analysis/ui/FrmMapa.h"
#include "app/ui/BroadbandActions.h"
#include "app/ui/FrmMain.h"
#include "app/ui/MainActions.h"
#include "app/ui/ToolWindows.h"
#include "chart/PolarGraph.h"
#include "helpers/MainFixture.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMdiArea>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using EToolWindow = TFrmMain::EToolWindow;

// How long the X server, the window manager and a window may take to appear, ms.
constexpr int StartMs = 10000;

// An Xvfb on a free display with openbox on it; both end with this object (or with the test
// process, should it die).
class TPrivateX
{
public:
    ~TPrivateX()
    {
        for (pid_t pid : { m_openbox, m_xvfb }) {
            if (pid > 0) {
                ::kill(pid, SIGTERM);
                ::waitpid(pid, nullptr, 0);
            }
        }
    }

    // Empty when the display is up with its window manager; otherwise why not.
    QString Start()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (xvfb.isEmpty() || openbox.isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
            return QStringLiteral("Xvfb, openbox or xprop is not installed");
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            return QStringLiteral("no pipe");
        // Xvfb picks a free display itself and writes its number to the pipe.
        const QByteArray fd = QByteArray::number(pipeFds[1]);
        m_xvfb = Spawn({ xvfb.toLocal8Bit(), "-displayfd", fd, "-screen", "0", "1280x1024x24",
                         "-nolisten", "tcp" },
                       pipeFds[0]);
        ::close(pipeFds[1]);
        const QByteArray number = ReadLine(pipeFds[0]);
        ::close(pipeFds[0]);
        if (m_xvfb <= 0 || number.isEmpty())
            return QStringLiteral("Xvfb did not start");
        m_display = ':' + number;
        ::setenv("DISPLAY", m_display.constData(), 1);
        m_openbox = Spawn({ openbox.toLocal8Bit() }, -1);
        return WaitForWindowManager() ? QString() : QStringLiteral("openbox did not start");
    }

private:
    static pid_t Spawn(const QList<QByteArray> &argv, int closeInChild)
    {
        const pid_t pid = ::fork();
        if (pid != 0)
            return pid;
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (closeInChild >= 0)
            ::close(closeInChild);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        std::vector<char *> args;
        for (const QByteArray &arg : argv)
            args.push_back(const_cast<char *>(arg.constData()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }

    static QByteArray ReadLine(int fd)
    {
        QByteArray line;
        QDeadlineTimer deadline(StartMs);
        pollfd p { fd, POLLIN, 0 };
        char c = 0;
        while (!deadline.hasExpired() && ::poll(&p, 1, int(deadline.remainingTime())) > 0
               && ::read(fd, &c, 1) == 1 && c != '\n')
            line += c;
        return c == '\n' ? line : QByteArray();
    }

    // No Qt event loop exists yet: xprop is run the plain way until the root window names
    // its window manager.
    static bool WaitForWindowManager()
    {
        QDeadlineTimer deadline(StartMs);
        while (!deadline.hasExpired()) {
            if (FILE *out = ::popen("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null", "r")) {
                char buffer[256] = {};
                const bool found = std::fgets(buffer, sizeof buffer, out)
                    && std::strstr(buffer, "window id") != nullptr;
                ::pclose(out);
                if (found)
                    return true;
            }
            ::usleep(50000);
        }
        return false;
    }

    pid_t m_xvfb = -1;
    pid_t m_openbox = -1;
    QByteArray m_display;
};

// The managed top-level windows, bottom first, as the window manager stacks them.
QList<WId> Stacking()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                { QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING") });
    xprop.waitForFinished(5000);
    const QString text = QString::fromLatin1(xprop.readAllStandardOutput());
    QList<WId> ids;
    static const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
    for (const QRegularExpressionMatch &m : id.globalMatch(text))
        ids << WId(m.captured().toULongLong(nullptr, 16));
    return ids;
}

// Waits until every window is managed and the order holds still for a moment.
QList<WId> SettledStacking(const QList<const QWidget *> &windows)
{
    QDeadlineTimer deadline(StartMs);
    QList<WId> last;
    while (!deadline.hasExpired()) {
        QTest::qWait(50);
        const QList<WId> now = Stacking();
        bool all = true;
        for (const QWidget *w : windows)
            all = all && now.contains(w->winId());
        if (all && now == last)
            return now;
        last = now;
    }
    return last;
}

QRect GlobalRect(const QWidget &widget)
{
    return { widget.mapToGlobal(QPoint(0, 0)), widget.size() };
}

} // namespace

class TestModalStacking : public QObject
{
    Q_OBJECT

public:
    explicit TestModalStacking(QString noDisplay)
        : m_noDisplay(std::move(noDisplay))
    { }

private slots:
    void initTestCase()
    {
        if (m_noDisplay.isEmpty())
            return;
        if (qEnvironmentVariableIntValue("ORVI_REQUIRE_REAL_X") == 1)
            QFAIL(qPrintable(m_noDisplay));
        QSKIP(qPrintable(m_noDisplay));
    }

    void init()
    {
        m_fixture.Init();
        ShowScene();
    }

    void cleanup()
    {
        m_tools.clear();
        m_main.reset();
        m_fixture.Cleanup();
    }

    void modalDialogOpensAboveToolWindows_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Nowy pomiar") << "Nowy pomiar";
        QTest::newRow("Opcje") << "Opcje";
        QTest::newRow("Ustawienia wykresu") << "Ustawienia wykresu";
        QTest::newRow("Drukuj") << "Drukuj";
        QTest::newRow("file dialog") << "file";
        QTest::newRow("message box") << "message";
    }

    void modalDialogOpensAboveToolWindows()
    {
        QFETCH(QString, dialog);
        const QList<const QWidget *> tools(m_tools.cbegin(), m_tools.cend());
        const QList<WId> before = SettledStacking(tools);
        for (const QWidget *tool : tools)
            QVERIFY2(before.contains(tool->winId()), qPrintable(tool->windowTitle()));

        // Looked at from inside the dialog's modal loop, then the dialog is cancelled.
        QString title;
        QList<WId> stacking;
        WId shown = 0;
        QTimer::singleShot(0, this, [&] {
            QDeadlineTimer deadline(StartMs);
            QPointer<QWidget> modal;
            while (!(modal = QApplication::activeModalWidget()) && !deadline.hasExpired())
                QTest::qWait(20);
            if (!modal)
                return;
            title = modal->windowTitle();
            shown = modal->winId();
            stacking = SettledStacking(tools + QList<const QWidget *> { modal.data() });
            if (auto *box = qobject_cast<QDialog *>(modal.data()))
                box->reject();
        });
        Open(dialog);

        QVERIFY2(shown != 0, "no modal dialog opened");
        if (dialog != QLatin1String("message") && dialog != QLatin1String("file"))
            QCOMPARE(title, dialog);
        const qsizetype at = stacking.indexOf(shown);
        QVERIFY(at >= 0);
        for (const QWidget *tool : tools)
            QVERIFY2(stacking.indexOf(tool->winId()) < at, qPrintable(tool->windowTitle()));
    }

    void toolWindowsKeepOffTheBarsAndApart()
    {
        const QList<QRect> frames = SettledFrames();
        QRect bars = GlobalRect(*m_main->menuBar());
        for (const QToolBar *bar : m_main->findChildren<QToolBar *>())
            if (bar->isVisible() && m_main->toolBarArea(bar) == Qt::TopToolBarArea)
                bars |= GlobalRect(*bar);
        const QRect area = GlobalRect(*m_main->MdiArea());
        for (qsizetype i = 0; i < frames.size(); ++i) {
            // The window manager's frame, title bar included.
            const QString title = m_tools.at(i)->windowTitle();
            QVERIFY2(!frames[i].intersects(bars), qPrintable(title));
            QVERIFY2(area.contains(frames[i]), qPrintable(title));
            for (qsizetype j = 0; j < i; ++j)
                QVERIFY2(!frames[i].intersects(frames[j]), qPrintable(title));
        }
    }

    void framesKeepTheirPlacesAcrossRuns()
    {
        const QList<QRect> first = SettledFrames();
        m_main->close(); // writes the places
        m_tools.clear();
        m_main.reset();
        ShowScene();
        const QList<QRect> next = SettledFrames();
        for (qsizetype i = 0; i < first.size(); ++i)
            QCOMPARE(next[i].topLeft(), first[i].topLeft());
    }

private:
    // A maximised main window with its document and all five tool windows shown.
    void ShowScene()
    {
        m_main = m_fixture.MakeMain();
        m_main->CreateDocument(QStringLiteral("Seria_1"));
        CreateToolWindows(*m_main, TStartOptions { true, &m_fixture.Clock });
        m_main->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        // The tool windows' first places follow the document area: the frame must have
        // reached its maximised size first.
        const QRect screen = m_main->screen()->availableGeometry();
        QTRY_VERIFY_WITH_TIMEOUT(m_main->frameGeometry().width() >= screen.width(), StartMs);
        const TMainActions &a = m_main->Actions();
        for (QAction *action : { a.acGenerator, a.acdBMeter, a.acStolikKontrol, a.acSerie })
            action->trigger();
        TBroadbandActions::Of(*m_main)->ShowMap();
        m_tools
            = { m_main->ToolWindow(EToolWindow::Generator), m_main->ToolWindow(EToolWindow::Meter),
                m_main->ToolWindow(EToolWindow::Turntable),
                m_main->ToolWindow(EToolWindow::SeriesEditor),
                TBroadbandActions::Of(*m_main)->MapWindow() };
        for (const QWidget *tool : m_tools)
            QVERIFY(tool && tool->isVisible());
    }

    // The tool windows' frames once the window manager has framed and placed them all.
    QList<QRect> SettledFrames() const
    {
        SettledStacking(QList<const QWidget *>(m_tools.cbegin(), m_tools.cend()));
        QDeadlineTimer deadline(StartMs);
        QList<QRect> last;
        while (!deadline.hasExpired()) {
            QTest::qWait(50);
            QList<QRect> now;
            for (const QWidget *tool : m_tools)
                now << tool->frameGeometry();
            if (now == last)
                break;
            last = now;
        }
        return last;
    }

    // Opens the named dialog the way the user does.
    void Open(const QString &dialog)
    {
        const TMainActions &a = m_main->Actions();
        TPrompts::Instance().Reset(); // the real message boxes and file dialogs
        if (dialog == QLatin1String("Nowy pomiar"))
            a.acDodaj->trigger();
        else if (dialog == QLatin1String("Opcje"))
            a.acUstawieniaG->trigger();
        else if (dialog == QLatin1String("Ustawienia wykresu"))
            a.acUstawienia->trigger();
        else if (dialog == QLatin1String("Drukuj"))
            a.acDrukuj->trigger();
        else if (dialog == QLatin1String("file"))
            a.acOtworz->trigger();
        else
            ShowMessage(m_main.get(), QMessageBox::Information, QStringLiteral("Gotowe."));
    }

    QString m_noDisplay;
    TMainFixture m_fixture;
    std::unique_ptr<TFrmMain> m_main;
    QList<QWidget *> m_tools;
};

int main(int argc, char *argv[])
{
    // Declared first so that it outlives the application's connection to the display.
    TPrivateX x;
    const QString noDisplay = x.Start();
    if (noDisplay.isEmpty())
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestModalStacking test(noDisplay);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_modalstacking.moc"
