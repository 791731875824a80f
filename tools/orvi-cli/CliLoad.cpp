#include "CliLoad.h"

#include "CliCommand.h"
#include "document/InOutError.h"

#include "chart/PolarGraph.h"

#include <QFileInfo>

bool CliLoadDocument(const QString &prefix, const QString &path, TOvkFile &file)
{
    switch (CheckOvkFile(path)) {
    case EOvkValidity::Valid:
        break;
    case EOvkValidity::WrongMagic:
        CliError(prefix + InvalidFileMessage(path));
        return false;
    case EOvkValidity::Unreadable:
        CliError(prefix + UnreadableFileMessage(path));
        return false;
    }
    try {
        file.Untitled = false;
        file.Load();
    } catch (const EInOutError &e) {
        CliError(prefix + e.Message());
        return false;
    }
    return true;
}

bool CliStartDocument(const QString &prefix, const QString &into, TOvkFile &file)
{
    TPolarGraph &chart = *file.Graph();
    if (!into.isEmpty()) {
        TOvkFile existing(&chart, into);
        if (!CliLoadDocument(prefix, into, existing))
            return false;
        file.SetTitle(existing.Title);
        file.SetInfo(existing.Info);
    } else {
        file.SetTitle(QFileInfo(file.FileName).completeBaseName());
        chart.SetTitle(file.Title);
    }
    return true;
}
