#pragma once

#include "analysis/BroadbandOptions.h"
#include "analysis/DirectivityResult.h"
#include "analysis/KeptMeasurement.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The measurements orvi-cli keeps beside the documents it writes (the folder
// TMeasurementFolder::FolderFor(OUT) with the recordings, their marker logs and the index),
// and reading them back from beside a saved document. Each line it prints starts with the
// prefix that names the command ("orvi-cli measure: "). Main thread.
class TCliKept
{
public:
    explicit TCliKept(const QString &prefix);

    // Before the document out is saved: writes beside it the measurements of into (when
    // given; what cannot be read there is printed to stderr as warnings) and then added.
    // Nothing is written when there are none. The outcome is printed by Report().
    void WriteBeside(const QString &out, const QString &into,
                     const std::vector<TKeptMeasurement> &added);
    // After the document's save: the line "measurements: N in FOLDER" (none when nothing was
    // written), or one line on stderr saying they were not saved beside the document and
    // why, and false then.
    bool Report() const;

    struct TNewest
    {
        TDirectivityResult Result; // named after the measurement
        TBroadbandOptions Options; // as it was analysed
    };
    // The newest measurement beside the saved document documentPath that analyses again (of
    // one plane only when vertical is given). Entries that cannot be read or analysed are
    // printed as warnings and passed over; when none is left (or there is no folder), one line
    // on stderr and std::nullopt. The document itself is not read.
    std::optional<TNewest> Newest(const QString &documentPath,
                                  std::optional<bool> vertical = std::nullopt) const;

    // What "info" lists of the measurements beside documentPath, one line each (without the
    // newline): each measurement, then each problem; nothing when there is no folder.
    static QStringList Describe(const QString &documentPath);

private:
    QString m_prefix;
    QString m_folder; // where WriteBeside wrote, empty when it wrote nothing
    int m_count = 0;
    QString m_error; // why WriteBeside failed
};
