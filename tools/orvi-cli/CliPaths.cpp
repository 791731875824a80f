#include "CliPaths.h"

#include "analysis/MarkerLog.h"
#include "analysis/MeasurementFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Deep enough for any sensible chain of links, short enough to stop a loop.
constexpr int MaxLinkDepth = 16;

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString ResolvedAt(const QString &path, int depth)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A link to nothing yet: writing it makes its target.
    if (info.isSymLink() && depth < MaxLinkDepth)
        return ResolvedAt(info.symLinkTarget(), depth + 1);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return QDir::cleanPath(info.absoluteFilePath());
    return QDir::cleanPath(folder + u'/' + info.fileName());
}

} // namespace

QString TCliPaths::Resolved(const QString &path)
{
    return ResolvedAt(path, 0);
}

bool TCliPaths::Same(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

TCliPaths::TPlace TCliPaths::Place(const QString &path, const QString &what, EKind kind)
{
    return { path, Resolved(path), what, kind };
}

void TCliPaths::AddInput(const QString &path)
{
    const QString what = QStringLiteral("the input \"%1\"").arg(Native(path));
    m_inputs.push_back(Place(path, what));
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("wav"), Qt::CaseInsensitive) == 0)
        m_inputs.push_back(Place(TMarkerLog::PathFor(path),
                                 QStringLiteral("the marker log of \"%1\"").arg(Native(path))));
    else if (suffix.compare(QLatin1String("ovk"), Qt::CaseInsensitive) == 0)
        m_inputs.push_back(
            Place(TMeasurementFolder::FolderFor(path),
                  QStringLiteral("the measurement folder of \"%1\"").arg(Native(path))));
}

void TCliPaths::AddDocument(const QString &path, bool withFolder, const QString &updated)
{
    const TPlace document = Place(path, QStringLiteral("the output \"%1\"").arg(Native(path)));
    const QString folder = TMeasurementFolder::FolderFor(path);
    if (!updated.isEmpty() && Same(document.Key, Resolved(updated))) {
        // Replaced in place: the input and its folder are the outputs themselves.
        std::erase_if(m_inputs, [&](const TPlace &input) {
            return Same(input.Key, document.Key) || Same(input.Key, Resolved(folder));
        });
    }
    m_outputs.push_back(document);
    if (withFolder)
        m_outputs.push_back(
            Place(folder, QStringLiteral("the measurement folder \"%1\"").arg(Native(folder)),
                  EKind::MadeFolder));
}

void TCliPaths::AddFile(const QString &path, const QString &what)
{
    m_outputs.push_back(Place(path, QStringLiteral("%1 \"%2\"").arg(what, Native(path))));
}

void TCliPaths::AddFolder(const QString &path, const QString &what, bool mustExist)
{
    m_outputs.push_back(Place(path, QStringLiteral("%1 \"%2\"").arg(what, Native(path)),
                              mustExist ? EKind::Folder : EKind::MadeFolder));
}

QString TCliPaths::PlaceProblem(const TPlace &output)
{
    const QFileInfo info(output.Path);
    const bool folderKind = output.Kind != EKind::File;
    if (info.exists() && info.isDir() != folderKind)
        return folderKind ? QStringLiteral("%1 is a file, not a folder").arg(output.What)
                          : QStringLiteral("%1 is a folder").arg(output.What);
    if (folderKind && info.exists()) {
        if (!info.isWritable())
            return QStringLiteral("%1 cannot be written into").arg(output.What);
        return {};
    }
    if (output.Kind == EKind::Folder)
        return QStringLiteral("%1 does not exist").arg(output.What);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("the folder of %1 does not exist").arg(output.What);
    // A file that exists and may be written is replaced in place even in a read-only folder.
    const bool replaceable = info.exists() && info.isWritable();
    if (!folder.isWritable() && !replaceable)
        return QStringLiteral("%1 cannot be written: its folder is read-only").arg(output.What);
    return {};
}

QString TCliPaths::Problem() const
{
    for (auto output = m_outputs.begin(); output != m_outputs.end(); ++output) {
        for (const TPlace &input : m_inputs)
            if (Same(output->Key, input.Key))
                return QStringLiteral("%1 would replace %2").arg(output->What, input.What);
        for (auto other = m_outputs.begin(); other != output; ++other)
            if (Same(output->Key, other->Key))
                return QStringLiteral("%1 is also %2").arg(output->What, other->What);
        const QString problem = PlaceProblem(*output);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}
