// orvi-cli spin: the CTA-2034 curves of a saved document from its newest horizontal and
// newest vertical broadband turns, analysed again from the measurements kept beside it.

#include "CliBroadband.h"
#include "CliCommand.h"
#include "CliKept.h"
#include "CliLoad.h"
#include "CliPaths.h"

#include "analysis/Spinorama.h"
#include "analysis/SpinoramaChart.h"
#include "analysis/SpinoramaFolder.h"
#include "chart/PolarGraph.h"
#include "controls/FileWriter.h"
#include "document/OvkFile.h"

#include <QDir>

#include <memory>
#include <optional>

namespace {

constexpr char Syntax[]
    = "spin DOC.OvK [--csv OUT.csv] [--image OUT.png|.svg|.pdf] [--spinorama DIR] [--frd DIR]";
constexpr char Usage[] = "spin DOC.OvK [--csv OUT.csv] [--image OUT.png|.svg|.pdf] [--spinorama "
                         "DIR] [--frd DIR]  the CTA-2034 curves of a saved document's horizontal "
                         "and vertical turns";
// The picture --image writes, pixels.
constexpr QSize ImageSize { 1200, 800 };

struct TSpinArgs
{
    QString Document;
    QString Csv;
    QString Image;
    QString SpinFolder;
    QString FrdFolder;
};

// The option's value in out, or nullptr when a is not an option of spin.
QString *ValueOf(const QString &a, TSpinArgs &out)
{
    if (a == QLatin1String("--csv"))
        return &out.Csv;
    if (a == QLatin1String("--image"))
        return &out.Image;
    if (a == QLatin1String("--spinorama"))
        return &out.SpinFolder;
    if (a == QLatin1String("--frd"))
        return &out.FrdFolder;
    return nullptr;
}

// Empty, or the reason the arguments cannot be taken.
QString ParseArgs(const QStringList &args, TSpinArgs &out)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (QString *value = ValueOf(a, out)) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1 needs a value").arg(a);
            *value = args.at(++i);
        } else if (a.startsWith(QLatin1String("--")) || !out.Document.isEmpty()) {
            return QStringLiteral("unexpected argument %1; usage: orvi-cli %2")
                .arg(a, QLatin1String(Syntax));
        } else {
            out.Document = a;
        }
    }
    if (out.Document.isEmpty())
        return QStringLiteral("name the document; usage: orvi-cli %1").arg(QLatin1String(Syntax));
    TCliPaths paths;
    paths.AddInput(out.Document);
    if (!out.Csv.isEmpty())
        paths.AddFile(out.Csv, QStringLiteral("--csv"));
    if (!out.Image.isEmpty()) {
        if (!TCliBroadband::IsMapPath(out.Image))
            return QStringLiteral("--image must end in .png, .svg or .pdf");
        paths.AddFile(out.Image, QStringLiteral("--image"));
    }
    if (!out.SpinFolder.isEmpty())
        paths.AddFolder(out.SpinFolder, QStringLiteral("--spinorama"));
    if (!out.FrdFolder.isEmpty())
        paths.AddFolder(out.FrdFolder, QStringLiteral("--frd"));
    return paths.Problem();
}

int RunSpin(const QStringList &args)
{
    const QString prefix = QStringLiteral("orvi-cli spin: ");
    TSpinArgs a;
    if (const QString problem = ParseArgs(args, a); !problem.isEmpty()) {
        CliError(prefix + problem);
        return 1;
    }
    TPolarGraph chart;
    TOvkFile file(&chart, a.Document);
    if (!CliLoadDocument(prefix, a.Document, file))
        return 1;
    const TCliKept kept(prefix);
    const std::optional<TCliKept::TNewest> horizontal = kept.Newest(a.Document, false);
    if (!horizontal)
        return 1;
    const std::optional<TCliKept::TNewest> vertical = kept.Newest(a.Document, true);
    if (!vertical)
        return 1;
    QString error;
    const std::optional<TSpinorama> spin = TSpinorama::Compute(
        horizontal->Result, vertical->Result, horizontal->Options.Smoothing, &error);
    if (!spin) {
        CliError(prefix + error);
        return 1;
    }
    CliOut(QStringLiteral("spin: %1 frequencies, measured from %2 Hz\n")
               .arg(spin->FrequenciesHz.size())
               .arg(spin->LowestMeasuredHz, 0, 'f', 1));
    // Everything that can be refused is checked before the first file is written.
    const QString &name = horizontal->Result.Name;
    if (!a.SpinFolder.isEmpty()) {
        if (const QString problem = TSpinoramaFolder::NameProblem(name); !problem.isEmpty()) {
            CliError(prefix + problem);
            return 1;
        }
    }
    if (!a.Csv.isEmpty()) {
        if (!TFileWriter::WriteFile(a.Csv, TSpinorama::CsvText(*spin).toUtf8(), &error)) {
            CliError(prefix + error);
            return 1;
        }
        CliOut(QStringLiteral("csv: %1\n").arg(QDir::toNativeSeparators(a.Csv)));
    }
    if (!a.Image.isEmpty()) {
        TSpinoramaChart picture;
        picture.SetSpin(std::make_shared<const TSpinorama>(*spin));
        picture.SetTitle(name);
        if (!TSpinoramaChart::Export(picture, a.Image, ImageSize, &error)) {
            CliError(prefix + error);
            return 1;
        }
        CliOut(QStringLiteral("image: %1\n").arg(QDir::toNativeSeparators(a.Image)));
    }
    if (!a.SpinFolder.isEmpty()) {
        int written = 0;
        if (!TSpinoramaFolder::Write(*spin, horizontal->Result, vertical->Result,
                                     horizontal->Options.Smoothing, a.SpinFolder, name, &error,
                                     &written)) {
            CliError(prefix + error);
            return 1;
        }
        CliOut(QStringLiteral("spinorama: %1 files in %2\n")
                   .arg(written)
                   .arg(QDir::toNativeSeparators(a.SpinFolder)));
    }
    if (!a.FrdFolder.isEmpty()) {
        for (const TCliKept::TNewest *turn : { &*horizontal, &*vertical })
            if (!TCliBroadband::WriteFrd(turn->Result, a.FrdFolder, TCliBroadband::DefaultFrdStep,
                                         turn->Options.Smoothing, prefix))
                return 1;
    }
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("spin", Usage, &RunSpin);
