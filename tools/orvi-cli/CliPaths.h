#pragma once

#include <QString>

#include <vector>

// The files and folders one orvi-cli command reads and writes, checked before anything runs:
// an output must not be (or resolve to, through links) an input or an input's companion — a
// recording's marker log ("<name>.markers.txt"), a document's measurement folder
// ("<name>.pomiary") — nor another output, and every output needs a place it can be written
// to. Only looks at the file system; main thread.
class TCliPaths
{
public:
    // An input, with the companions read beside it (by its extension: .wav, .OvK).
    void AddInput(const QString &path);
    // A document the command saves, with its measurement folder beside it when withFolder.
    // When it is the same file as the document `updated` (measure --into X X), replacing that
    // input and its folder is allowed: the document is replaced whole, and its folder only
    // gains files.
    void AddDocument(const QString &path, bool withFolder, const QString &updated = {});
    // An output file (a picture, a PDF, a document without a folder); what names it in the
    // message ("--map").
    void AddFile(const QString &path, const QString &what);
    // A folder written into: one that must exist already (--frd), or one made when missing
    // (the kept recordings' folder).
    void AddFolder(const QString &path, const QString &what, bool mustExist = true);

    // Empty when every output may be written; otherwise the first reason, one sentence.
    QString Problem() const;

    // The path with links, "." and ".." resolved, also for a file not yet made (through its
    // folder); the comparison key of two paths.
    static QString Resolved(const QString &path);

private:
    enum class EKind {
        File, // written whole
        Folder, // an existing folder written into
        MadeFolder // a folder written into, made when missing
    };
    struct TPlace
    {
        QString Path; // as given
        QString Key; // Resolved(Path)
        QString What; // how the message names it
        EKind Kind = EKind::File;
    };
    static TPlace Place(const QString &path, const QString &what, EKind kind = EKind::File);
    static bool Same(const QString &a, const QString &b);
    static QString PlaceProblem(const TPlace &output);

    std::vector<TPlace> m_inputs;
    std::vector<TPlace> m_outputs;
};
