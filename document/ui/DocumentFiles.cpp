#include "document/ui/DocumentFiles.h"

#include "chart/ChartExporter.h"
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
    return tr("*.OvK (Ch-ki Kierunkowości) (*.OvK)");
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

void TDocumentFiles::ReportBesideError(TFrmChild &document, const QString &error)
{
    if (!error.isEmpty())
        ShowMessage(&document, QMessageBox::Warning,
                    tr("Pomiarów nie zapisano obok dokumentu %1.\n\n%2")
                        .arg(document.DocFile().FullPath(), error));
}

TDocumentFiles::ESaveResult TDocumentFiles::Save(QWidget *owner, TFrmChild &document)
{
    TOvkFile &file = document.DocFile();
    if (file.Untitled)
        return SaveAs(owner, document);
    file.SetTitle(document.Graph().Title());
    const QString besideError = document.Host().SaveBeside(document, file.FullPath());
    try {
        file.Save();
    } catch (const EInOutError &error) {
        ShowMessage(&document, QMessageBox::Critical, error.Message());
        ReportBesideError(document, besideError);
        return ESaveResult::Failed;
    }
    ReportBesideError(document, besideError);
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
    const QString besideError = document.Host().SaveBeside(document, file.FullPath());
    try {
        file.Save();
    } catch (const EInOutError &error) {
        // The document no longer names a file it was written to: the next Save must ask
        // again instead of writing silently to the name that just failed.
        file.Untitled = true;
        ShowMessage(&document, QMessageBox::Critical, error.Message());
        ReportBesideError(document, besideError);
        return ESaveResult::Failed;
    }
    ReportBesideError(document, besideError);
    document.SetModified(false);
    document.SetCaption(file.FullPath());
    file.Untitled = false;
    return ESaveResult::Saved;
}

bool TDocumentFiles::Export(QWidget *owner, TFrmChild &document)
{
    const TOvkFile &file = document.DocFile();
    TFileDialogRequest request;
    request.Kind = TFileDialogRequest::Save;
    request.FileName = TChartExporter::SuggestedFileName(file.FileName);
    // A document with a file of its own is usually exported beside it.
    if (!file.Untitled && !file.Path.isEmpty())
        request.FileName.prepend(file.Path);
    // Metafiles first, as the program always offered; then the formats for reports.
    request.Filters = TChartExporter::DialogFilters();
    request.DefaultSuffix = QStringLiteral("emf");
    // The dialog would check the name as typed, but the filter may still change its
    // extension: the question is asked below about the file really written.
    request.ConfirmOverwrite = false;
    if (!AskFileName(owner, request))
        return false;

    const TChartExporter::Format format
        = TChartExporter::FormatOfFilter(request.FilterIndex).value_or(TChartExporter::Format::Emf);
    const QString fileName = TChartExporter::ApplyExtension(request.FileName, format);
    if (QFileInfo::exists(fileName) && !ConfirmOverwrite(owner, fileName))
        return false;
    QString error;
    TPolarGraph &graph = document.Graph();
    const bool ok = format == TChartExporter::Format::Emf || format == TChartExporter::Format::Wmf
        ? graph.ExportMetafile(fileName, format == TChartExporter::Format::Emf, &error)
        : graph.ExportFile(fileName, TChartExporter::MetafileSize, &error);
    if (!ok)
        ShowMessage(owner, QMessageBox::Critical, error);
    return ok;
}

QString TDocumentFiles::OverwriteQuestion(const QString &fileName)
{
    return tr("Plik %1 już istnieje.\nCzy chcesz go zastąpić?")
        .arg(QDir::toNativeSeparators(fileName));
}

bool TDocumentFiles::ConfirmOverwrite(QWidget *owner, const QString &fileName)
{
    return ShowMessage(owner, QMessageBox::Question, OverwriteQuestion(fileName),
                       QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}
