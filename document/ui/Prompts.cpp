#include "document/ui/Prompts.h"

#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

namespace {

// A filter as the dialog lists it with HideNameFilterDetails: without its final
// "(patterns)".
QString ShownFilter(const QString &filter)
{
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    return filter.endsWith(QLatin1Char(')')) && open > 0 ? filter.left(open).trimmed() : filter;
}

// Which of filters the dialog's selected one is, whole or as listed; 0 when none.
int FilterIndexOf(const QStringList &filters, const QString &selected)
{
    qsizetype index = filters.indexOf(selected);
    for (qsizetype i = 0; index < 0 && i < filters.size(); ++i)
        if (ShownFilter(filters.at(i)) == selected)
            index = i;
    return int(std::max<qsizetype>(index, 0));
}

} // namespace

TPrompts &TPrompts::Instance()
{
    static TPrompts prompts = [] {
        TPrompts p;
        p.Reset();
        return p;
    }();
    return prompts;
}

void TPrompts::Reset()
{
    Message = &TPrompts::RealMessage;
    FileDialog = &TPrompts::RealFileDialog;
}

QMessageBox::StandardButton TPrompts::RealMessage(QWidget *owner, QMessageBox::Icon icon,
                                                  const QString &text,
                                                  QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, QStringLiteral("Orvi"), text, buttons, owner);
    return QMessageBox::StandardButton(box.exec());
}

bool TPrompts::RealFileDialog(QWidget *owner, TFileDialogRequest &request)
{
    QFileDialog dialog(owner);
    const bool save = request.Kind == TFileDialogRequest::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Before the filters: each filter's text is shown once, without its "(*.ext)" again
    // ("*.emf", not "*.emf (*.emf)"); selectedNameFilter still gives the whole filter.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(request.Filters);
    if (request.FilterIndex >= 0 && request.FilterIndex < request.Filters.size())
        dialog.selectNameFilter(request.Filters.at(request.FilterIndex));
    dialog.setDefaultSuffix(request.DefaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    if (!request.FileName.isEmpty()) {
        const QFileInfo preset(request.FileName);
        if (request.FileName.contains(QLatin1Char('/'))
            || request.FileName.contains(QLatin1Char('\\')))
            dialog.setDirectory(preset.absolutePath());
        dialog.selectFile(preset.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    request.FileName = dialog.selectedFiles().constFirst();
    // Qt gives the listed text here, not the filter it was made from.
    request.FilterIndex = FilterIndexOf(request.Filters, dialog.selectedNameFilter());
    return true;
}

QMessageBox::StandardButton ShowMessage(QWidget *owner, QMessageBox::Icon icon, const QString &text,
                                        QMessageBox::StandardButtons buttons)
{
    return TPrompts::Instance().Message(owner, icon, text, buttons);
}

bool AskFileName(QWidget *owner, TFileDialogRequest &request)
{
    return TPrompts::Instance().FileDialog(owner, request);
}

void ShowMessageLater(QWidget *owner, QMessageBox::Icon icon, const QString &text)
{
    QMetaObject::invokeMethod(
        owner, [owner, icon, text] { ShowMessage(owner, icon, text); }, Qt::QueuedConnection);
}
