#pragma once

#include <QStringList>

#include <vector>

// One subcommand of orvi-cli. Each Cli<Subsystem>.cpp registers its commands with
// ORVI_CLI_COMMAND at static-initialisation time; main() looks them up by name.
struct TCliCommand
{
    const char *Name;
    const char *Usage; // one line, shown by "orvi-cli help"
    // Arguments after the subcommand name. Returns the process exit status:
    // 0 success, 1 bad input or failure (after one line on stderr).
    int (*Run)(const QStringList &args);
};

class TCliRegistry
{
public:
    static bool Add(const TCliCommand &command);
    static const std::vector<TCliCommand> &All();
    static const TCliCommand *Find(const QString &name);
};

// Helpers shared by the subcommands: UTF-8 output without a trailing flush race.
void CliOut(const QString &text); // writes text to stdout as is
void CliError(const QString &text); // writes text and a newline to stderr

#define ORVI_CLI_CONCAT2(a, b) a##b
#define ORVI_CLI_CONCAT(a, b) ORVI_CLI_CONCAT2(a, b)
#define ORVI_CLI_COMMAND(name, usage, function)                                                    \
    static const bool ORVI_CLI_CONCAT(orviCliRegistered_, __LINE__)                                \
        = TCliRegistry::Add(TCliCommand { name, usage, function })
