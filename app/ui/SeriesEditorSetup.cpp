#include "app/ui/SeriesEditorSetup.h"

#include "app/ui/FrmMain.h"
#include "chart/ui/FrmSerie.h"
#include "document/ui/FrmChild.h"

#include <QPointer>

#include <memory>

namespace {

TFrmChild *DocumentOf(const TFrmMain &main, const TPolarGraph *graph)
{
    for (TFrmChild *doc : main.Documents()) {
        if (&doc->Graph() == graph)
            return doc;
    }
    return nullptr;
}

} // namespace

TFrmSerie *InstallSeriesEditor(TFrmMain &main)
{
    auto *editor = new TFrmSerie();
    main.SetToolWindow(TFrmMain::EToolWindow::SeriesEditor, editor);
    // The main window may replace or drop the editor; the hooks must not outlive it. The
    // hooks share one guard (and one link that keeps the caption shown in step with the
    // bound document's window title, "~" when modified).
    struct TLink
    {
        QPointer<TFrmSerie> Editor;
        QMetaObject::Connection Caption;
    };
    auto link = std::make_shared<TLink>();
    link->Editor = editor;
    TSeriesEditorHooks hooks;
    hooks.Bind = [&main, link](TPolarGraph *graph) {
        QObject::disconnect(link->Caption);
        TFrmSerie *target = link->Editor.data();
        if (!target)
            return;
        TFrmChild *doc = DocumentOf(main, graph);
        target->Bind(graph, doc ? doc->Caption() : QString());
        if (doc)
            link->Caption = QObject::connect(doc, &QWidget::windowTitleChanged, target,
                                             &TFrmSerie::SetCaption);
    };
    hooks.CanCopyTo = [link](QObject *dragSource, TPolarGraph &target) {
        return link->Editor && link->Editor->CanCopyTo(dragSource, target);
    };
    hooks.CopyTo = [link](TPolarGraph &target) {
        if (link->Editor)
            link->Editor->CopyTo(target);
    };
    main.SetSeriesEditorHooks(std::move(hooks));
    // Queued: the document list settles once the failed window has gone.
    QObject::connect(
        editor, &TFrmSerie::BoundChartDestroyed, &main,
        [&main] {
            if (TFrmChild *doc = main.ActiveDocument())
                main.BindSeriesEditor(&doc->Graph());
        },
        Qt::QueuedConnection);
    return editor;
}
