#pragma once

#include "analysis/KeptMeasurement.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The measurements of a saved document, kept beside it so that the document can be opened
// again elsewhere with its broadband results: for "X.OvK" the folder "X.pomiary" with a
// copy of each measurement's recording (a hard link where the file system allows it), the
// marker log it was analysed with beside the copy ("<recording>.markers.txt", or
// "<recording>.markers-<n>.txt" when one recording was analysed with different logs), and
// the index "pomiary.json" (format version; per measurement its plane, files, analysis
// settings and series names). The document file itself is not touched. GUI thread or any
// one thread.
class TMeasurementFolder
{
    Q_DECLARE_TR_FUNCTIONS(TMeasurementFolder)

public:
    static constexpr int FormatVersion = 1;
    static const QString IndexName; // "pomiary.json"

    // "<folder of the document>/<its name without the extension>.pomiary".
    static QString FolderFor(const QString &documentPath);

    // Writes the measurements beside the document: the recordings not yet in the folder
    // first (under a free name when another file has theirs), then their logs, then the
    // index, each through the checked writer. Returns the measurements with Recording
    // naming the files in the folder. On failure std::nullopt with the user's message in
    // *error; the files this call made are removed again and the old index stays as it was.
    static std::optional<std::vector<TKeptMeasurement>>
    Write(const QString &documentPath, const std::vector<TKeptMeasurement> &measurements,
          QString *error = nullptr);

    struct TContents
    {
        bool Exists = false; // the folder is there
        std::vector<TKeptMeasurement> Measurements; // those whose files could be read
        QStringList Problems; // one sentence (Polish) per thing not found or unreadable
    };
    // Reads the index beside the document. No folder is no problem (a document without
    // measurements); a damaged index or a missing file is one problem each.
    static TContents Read(const QString &documentPath);

    // For tests: recordings are always copied, as onto another file system.
    static void RefuseHardLinksForTesting(bool refuse);
};
