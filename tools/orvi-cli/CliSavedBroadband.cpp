// orvi-cli frd and map: the broadband results of a saved document, analysed again from the
// measurements kept beside it, as the program has them after opening the document.

#include "CliBroadband.h"
#include "CliCommand.h"
#include "CliKept.h"
#include "CliLoad.h"

#include "chart/PolarGraph.h"
#include "document/OvkFile.h"

#include <QFileInfo>

#include <optional>

namespace {

constexpr char FrdSyntax[] = "frd DOC.OvK DIR [--frd-step DEG]";
constexpr char MapSyntax[] = "map DOC.OvK OUT.png|.svg|.pdf";
// As "help" lists them.
constexpr char FrdUsage[] = "frd DOC.OvK DIR [--frd-step DEG]  the FRD files of a saved "
                            "document's newest broadband measurement, analysed again";
constexpr char MapUsage[] = "map DOC.OvK OUT.png|.svg|.pdf  the directivity map of a saved "
                            "document's newest broadband measurement, analysed again";

// The newest kept measurement of the document at path, analysed again; std::nullopt after
// one line on stderr.
std::optional<TCliKept::TNewest> NewestOf(const QString &path, const QString &prefix)
{
    TPolarGraph chart;
    TOvkFile file(&chart, path);
    if (!CliLoadDocument(prefix, path, file))
        return std::nullopt;
    return TCliKept(prefix).Newest(path);
}

int RunFrd(const QStringList &args)
{
    const QString prefix = QStringLiteral("orvi-cli frd: ");
    const auto fail = [&prefix](const QString &text) {
        CliError(prefix + text);
        return 1;
    };
    TCliBroadband options; // only --frd-step, checked as measure checks it
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a != QLatin1String("--frd-step")) {
            if (a.startsWith(QLatin1String("--")))
                return fail(QStringLiteral("unknown option %1; usage: orvi-cli %2")
                                .arg(a, QLatin1String(FrdSyntax)));
            files << a;
            continue;
        }
        QString error;
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value").arg(a));
        options.Parse(a, args.at(++i), &error);
        if (!error.isEmpty())
            return fail(error);
    }
    if (files.size() != 2)
        return fail(QStringLiteral("name the document and the folder; usage: orvi-cli %1")
                        .arg(QLatin1String(FrdSyntax)));
    if (!QFileInfo(files.at(1)).isDir())
        return fail(QStringLiteral("\"%1\" is not a folder").arg(files.at(1)));
    const std::optional<TCliKept::TNewest> newest = NewestOf(files.at(0), prefix);
    if (!newest)
        return 1;
    return TCliBroadband::WriteFrd(newest->Result, files.at(1),
                                   options.FrdStep.value_or(TCliBroadband::DefaultFrdStep),
                                   newest->Options.Smoothing, prefix)
        ? 0
        : 1;
}

int RunMap(const QStringList &args)
{
    const QString prefix = QStringLiteral("orvi-cli map: ");
    if (args.size() != 2) {
        CliError(prefix + QStringLiteral("usage: orvi-cli ") + QLatin1String(MapSyntax));
        return 1;
    }
    if (!TCliBroadband::IsMapPath(args.at(1))) {
        CliError(prefix + QStringLiteral("the map file must end in .png, .svg or .pdf"));
        return 1;
    }
    const std::optional<TCliKept::TNewest> newest = NewestOf(args.at(0), prefix);
    if (!newest)
        return 1;
    return TCliBroadband::WriteMap(newest->Result, args.at(1), prefix) ? 0 : 1;
}

} // namespace

ORVI_CLI_COMMAND("frd", FrdUsage, &RunFrd);
ORVI_CLI_COMMAND("map", MapUsage, &RunMap);
