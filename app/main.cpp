#include "app/ui/FrmMain.h"
#include "app/ui/FrmSplash.h"
#include "app/ui/ProgramPicture.h"
#include "app/ui/ToolWindows.h"
#include "controls/Clock.h"

#include <QApplication>
#include <QIcon>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvi"));
    QApplication::setWindowIcon(QIcon(ProgramPicture(QSize(32, 32), false)));

    auto splash = std::make_unique<TFrmSplash>();
    splash->ShowNow();
    QApplication::processEvents();

    // Every argument is a characteristic file to open, except the program's own options.
    TStartOptions options;
    QStringList files;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--simulate"))
            options.Simulate = true;
        else
            files.append(arguments.at(i));
    }

    TFrmMain main(TClock::System());
    main.SetSplash(std::move(splash));
    CreateToolWindows(main, options);
    main.OpenCommandLineFiles(files);
    main.showMaximized();
    return QApplication::exec();
}
