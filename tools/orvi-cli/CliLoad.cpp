#include "CliLoad.h"

#include "CliCommand.h"
#include "document/InOutError.h"

#include "chart/PolarGraph.h"

#include <QFile>
#include <QFileInfo>

bool CliLoadDocument(const QString &path, TOvkFile &file)
{
    switch (CheckOvkFile(path)) {
    case EOvkValidity::Valid:
        break;
    case EOvkValidity::WrongMagic:
        CliError(InvalidFileMessage(path));
        return false;
    case EOvkValidity::Unreadable:
        if (!QFile::exists(path))
            CliError(QStringLiteral("Plik \"%1\" nie istnieje.").arg(path));
        else
            CliError(QStringLiteral("Nie można odczytać pliku \"%1\": nie da się go otworzyć "
                                    "albo ma mniej niż 16 bajtów.")
                         .arg(path));
        return false;
    }
    try {
        file.Untitled = false;
        file.Load();
    } catch (const EInOutError &e) {
        CliError(e.Message());
        return false;
    }
    return true;
}

bool CliStartDocument(const QString &into, TOvkFile &file)
{
    TPolarGraph &chart = *file.Graph();
    if (!into.isEmpty()) {
        TOvkFile existing(&chart, into);
        if (!CliLoadDocument(into, existing))
            return false;
        file.SetTitle(existing.Title);
        file.SetInfo(existing.Info);
    } else {
        file.SetTitle(QFileInfo(file.FileName).completeBaseName());
        chart.SetTitle(file.Title);
    }
    return true;
}
