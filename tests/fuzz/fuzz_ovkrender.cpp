// The characteristic-file reader from bytes to a drawn chart: whatever loads (NaN,
// infinities, huge numbers, any title) is drawn without a crash or a hang.
#include "chart/PolarGraph.h"
#include "document/InOutError.h"
#include "document/OvkFile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>

// The system's font configuration keeps its caches until the process ends.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives until the process ends: destroying it in the exit handlers would run after Qt's
    // own statics are gone.
    static QGuiApplication *application = new QGuiApplication(*argc, *argv);
    Q_UNUSED(application);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TPolarGraph graph;
    graph.ApplyDocumentDefaults();
    TOvkFile file(&graph, QStringLiteral("/fuzz/input.OvK"));
    try {
        file.LoadBytes(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const EInOutError &) {
        return 0;
    }
    graph.SetDrawLegend(true);
    QImage image(48, 48, QImage::Format_RGB32);
    QPainter painter(&image);
    graph.Render(painter, image.rect());
    return 0;
}
