#include "app/ui/PrintAction.h"

#include "app/ui/FrmMain.h"
#include "document/ui/FrmChild.h"
#include "printing/ui/FrmPrint.h"

namespace {

TFrmPrint::TChartEntry EntryOf(const TFrmChild &document)
{
    return { document.Caption(), &document.Graph() };
}

} // namespace

std::function<int(TFrmPrint &)> &TPrintAction::Exec()
{
    static std::function<int(TFrmPrint &)> exec = [](TFrmPrint &dialog) {
        return dialog.exec();
    };
    return exec;
}

void TPrintAction::RunSingle(TFrmMain &main)
{
    const TFrmChild *active = main.ActiveDocument();
    if (!active)
        return;
    TFrmPrint dialog({}, &main);
    dialog.SetSingle(EntryOf(*active));
    Exec()(dialog);
}

void TPrintAction::RunExtra(TFrmMain &main)
{
    QList<TFrmPrint::TChartEntry> charts;
    for (const TFrmChild *document : main.Documents())
        charts << EntryOf(*document);
    if (charts.isEmpty())
        return;
    TFrmPrint dialog(charts, &main);
    Exec()(dialog);
}
