#include "app/Language.h"
#include "app/Settings.h"
#include "app/ui/FrmMain.h"
#include "app/ui/FrmSplash.h"
#include "app/ui/ProgramPicture.h"
#include "app/ui/ToolWindows.h"
#include "controls/Clock.h"

#include <QApplication>
#include <QSettings>
#include <QIcon>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

namespace {

const char *const HelpText
    = "usage: orvi [--simulate | --simulate-grbl] [--lang pl|en] [FILE.OvK ...]\n"
      "Measures and edits polar characteristics of loudspeakers.\n"
      "\n"
      "  FILE.OvK     characteristic files to open at start\n"
      "  --simulate   simulated turntable and sound card (no hardware needed)\n"
      "  --simulate-grbl\n"
      "               the same with an emulated Grbl turntable on a pseudo-terminal\n"
      "  --lang pl|en the program's language for this run (the options keep the usual one)\n"
      "  --version    print the program's version and exit\n"
      "  --help       print this text and exit\n";

// --version and --help are answered before the application object exists, so they work
// without a display. Returns the exit status when one of them was given.
std::optional<int> AnswerInformationOption(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("orvi %s\n", ORVI_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(HelpText, stdout);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = AnswerInformationOption(argc, argv))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvi"));
    QApplication::setApplicationVersion(QStringLiteral(ORVI_VERSION));
    QApplication::setWindowIcon(QIcon(ProgramPicture(QSize(32, 32), false)));
    QStringList arguments = QApplication::arguments();
    QString error;
    const QString language = TLanguage::FromArguments(
        arguments, TSettings::StoredLanguage(*OpenSettingsStore()), &error);
    if (language.isEmpty()) {
        std::fprintf(stderr, "orvi: %s\n", qPrintable(error));
        return 2;
    }
    TLanguage::Install(language);

    auto splash = std::make_unique<TFrmSplash>();
    splash->ShowNow();
    QApplication::processEvents();

    // Every argument is a characteristic file to open, except the program's own options.
    TStartOptions options;
    QStringList files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--simulate"))
            options.Simulate = true;
        else if (arguments.at(i) == QLatin1String("--simulate-grbl"))
            options.Simulate = options.SimulateGrbl = true;
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
