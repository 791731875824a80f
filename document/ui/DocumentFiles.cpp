#include "document/ui/DocumentFiles.h"

#include "chart/PolarGraph.h"
#include "document/InOutError.h"
#include "document/OvkFile.h"
#include "document/ui/FrmChild.h"
#include "document/ui/Prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QSize>

QString TDocumentFiles::OvkFilter()
{
    return QStringLiteral("*.OvK (Ch-ki Kierunkowości) (*.OvK)");
}

QString TDocumentFiles::AskOpenPath(QWidget *owner)
{
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Open;
    request.Filters = { OvkFilter() };
    request.DefaultSuffix = QStringLiteral("OvK");
    if (!AskFileName(owner, request))
        return QString();
    return request.FileName;
}

TDocumentFiles::ESaveResult TDocumentFiles::Save(QWidget *owner, TFrmChild &document)
{
    TOvkFile &file = document.DocFile();
    if (file.Untitled)
        return SaveAs(owner, document);
    file.SetTitle(document.Graph().Title());
    try {
        file.Save();
    } catch (const EInOutError &error) {
        ShowMessage(&document, QMessageBox::Critical, error.Message());
        return ESaveResult::Failed;
    }
    document.SetModified(false);
    document.SetCaption(file.FullPath());
    return ESaveResult::Saved;
}

TDocumentFiles::ESaveResult TDocumentFiles::SaveAs(QWidget *owner, TFrmChild &document)
{
    TOvkFile &file = document.DocFile();
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Save;
    request.FileName = file.FullPath();
    request.Filters = { OvkFilter() };
    request.DefaultSuffix = QStringLiteral("OvK");
    request.ConfirmOverwrite = true;
    if (!AskFileName(owner, request))
        return ESaveResult::Cancelled;

    file.SetFullPath(QDir::toNativeSeparators(request.FileName));
    file.SetInfo(QStringLiteral("Nieznany"));
    file.SetTitle(document.Graph().Title());
    file.SetDate(TOvkFile::NowAsDate());
    try {
        file.Save();
    } catch (const EInOutError &error) {
        ShowMessage(&document, QMessageBox::Critical, error.Message());
        return ESaveResult::Failed;
    }
    document.SetModified(false);
    document.SetCaption(file.FullPath());
    file.Untitled = false;
    return ESaveResult::Saved;
}

bool TDocumentFiles::Export(QWidget *owner, TFrmChild &document)
{
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Save;
    request.FileName = QFileInfo(document.DocFile().FileName).completeBaseName();
    // Metafiles first, as the program always offered; then the formats for reports.
    static const QStringList extensions
        = { QStringLiteral(".emf"), QStringLiteral(".wmf"), QStringLiteral(".svg"),
            QStringLiteral(".pdf"), QStringLiteral(".png") };
    for (const QString &ext : extensions)
        request.Filters.append(QStringLiteral("*%1 (*%1)").arg(ext));
    request.DefaultSuffix = QStringLiteral("emf");
    request.ConfirmOverwrite = true;
    if (!AskFileName(owner, request))
        return false;

    const int filter = qBound(0, request.FilterIndex, int(extensions.size()) - 1);
    const QString fileName = ChangeFileExt(request.FileName, extensions.at(filter));
    QString error;
    TPolarGraph &graph = document.Graph();
    const bool ok = filter < 2 ? graph.ExportMetafile(fileName, filter == 0, &error)
                               : graph.ExportFile(fileName, QSize(800, 600), &error);
    if (!ok)
        ShowMessage(owner, QMessageBox::Critical, error);
    return ok;
}

QString TDocumentFiles::ChangeFileExt(const QString &fileName, const QString &ext)
{
    const qsizetype slash
        = qMax(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        return fileName.left(dot) + ext;
    return fileName + ext;
}
