#include "CliCommand.h"

#include "app/Language.h"
#include "app/Settings.h"

#include <QGuiApplication>
#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

bool TCliRegistry::Add(const TCliCommand &command)
{
    auto &all = const_cast<std::vector<TCliCommand> &>(All());
    all.push_back(command);
    return true;
}

const std::vector<TCliCommand> &TCliRegistry::All()
{
    static std::vector<TCliCommand> commands;
    return commands;
}

const TCliCommand *TCliRegistry::Find(const QString &name)
{
    const auto &all = All();
    const auto it = std::find_if(all.begin(), all.end(), [&](const TCliCommand &c) {
        return name == QLatin1String(c.Name);
    });
    return it == all.end() ? nullptr : &*it;
}

void CliOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void CliError(const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

static QString UsageText()
{
    QString text = QStringLiteral("usage: orvi-cli <command> [arguments]\n"
                                  "       orvi-cli --version | --help\n"
                                  "       orvi-cli --lang pl|en COMMAND ... (the language of the "
                                  "texts it passes on)\ncommands:\n");
    for (const TCliCommand &c : TCliRegistry::All())
        text += QStringLiteral("  %1\n").arg(QLatin1String(c.Usage));
    return text;
}

// The usage after a mistake goes to stderr; asked for, it goes to stdout.
static void PrintUsage()
{
    CliError(UsageText().trimmed());
}

// Qt complains on stderr when it has no runtime folder, which would break the tool's promise
// of a single error line; a private one under /tmp does.
static void EnsureRuntimeDir()
{
#ifdef Q_OS_UNIX
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const std::string dir = "/tmp/orvi-cli-runtime-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    struct stat info
    {
    };
    if (stat(dir.c_str(), &info) == 0 && info.st_uid == getuid()) {
        chmod(dir.c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
    }
#endif
}

int main(int argc, char *argv[])
{
    // Answered before any platform is loaded. A missing command is a usage error (status 2).
    if (argc < 2) {
        PrintUsage();
        return 2;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        CliOut(QStringLiteral("orvi-cli %1\n").arg(QLatin1String(ORVI_VERSION)));
        std::fflush(stdout);
        return 0;
    }
    if (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
        CliOut(UsageText());
        std::fflush(stdout);
        return 0;
    }
    EnsureRuntimeDir();
    // Rendering and fonts need a GUI application, but the tool never opens a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("Selvane"));
    QGuiApplication::setApplicationName(QStringLiteral("Orvix"));
    // The working folder is the program's, so that both keep their recordings in one place;
    // every other option of the tool is its own, and the store is only read.
    Settings().TempDir = TSettings::StoredTempDir(*OpenSettingsStore());

    QStringList args = QGuiApplication::arguments().mid(1);
    // Texts the tool passes on from the program (device and error messages) follow --lang,
    // or the program's stored language.
    QString error;
    const QString language
        = TLanguage::FromArguments(args, TSettings::StoredLanguage(*OpenSettingsStore()), &error);
    if (language.isEmpty() || args.isEmpty()) {
        CliError(QStringLiteral("orvi-cli: %1")
                     .arg(language.isEmpty() ? error : QStringLiteral("no command")));
        PrintUsage();
        return 2;
    }
    // Polish needs nothing: the tool's own messages are English, the program's Polish.
    if (language != TLanguage::Polish)
        TLanguage::Install(language);
    const QString name = args.takeFirst();
    const TCliCommand *command = TCliRegistry::Find(name);
    if (!command) {
        CliError(QStringLiteral("orvi-cli: unknown command \"%1\"").arg(name));
        PrintUsage();
        return 1;
    }
    const int status = command->Run(args);
    std::fflush(stdout);
    return status;
}
