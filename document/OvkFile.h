#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

class TPolarGraph;

// The characteristic file ".OvK": one chart (title, and per series its name, colour and
// points) in a fixed little-endian binary layout that is identical on every platform.
//
// Header, 332 bytes: magic "ORVI SYSTEM V1.0" (16), save date (double, 8), title (256),
// info (50), series count (unsigned 16-bit, 2). Then one record per series in ascending
// Number order: name (50), colour 0x00BBGGRR (32-bit, 4), point count N (signed 32-bit, 4),
// N x (Angle, Level) doubles (16 x N). Texts are Windows-1250, blank-padded or cut to their
// field; characters that code page lacks are stored as "?".
//
// A document window owns one TOvkFile; the chart it reads into and writes from is not
// owned. GUI thread only; every call is synchronous and shows the busy cursor while it runs
// (when a GUI application exists).
class TOvkFile
{
    Q_DECLARE_TR_FUNCTIONS(TOvkFile)

public:
    // Splits fullPath into Path (directory with its trailing separator) and FileName.
    // The file is not touched; Untitled starts true.
    TOvkFile(TPolarGraph *Graph, const QString &fullPath);
    ~TOvkFile();

    TOvkFile(const TOvkFile &) = delete;
    TOvkFile &operator=(const TOvkFile &) = delete;

    QString Path; // directory, with its trailing separator ("/" or "\")
    QString FileName; // file name without directory
    double Date = 0.0; // days since 1899-12-30 00:00 local time, time of day as fraction
    QString Title; // chart title as last read, or copied from the chart before saving
    QString Info; // info text ("Nieznany" after Save as); shown nowhere
    int SeriesCount = 0; // series count read from the last loaded header
    bool Untitled = true; // the document has no file of its own yet

    // Path + FileName.
    QString FullPath() const;
    // Sets Path and FileName from a full path (as the constructor does).
    void SetFullPath(const QString &fullPath);

    void SetTitle(const QString &value);
    void SetInfo(const QString &value);
    void SetDate(double value);

    TPolarGraph *Graph() const { return m_graph; }

    // Reads the file into the chart: Date, Title, Info, the chart title, and the series,
    // which are renumbered 0..K-1 in file order. The file is opened read-only, so read-only
    // files load. The whole file is checked before the chart is touched: on any error
    // (missing or unreadable file, file shorter than its counts declare, negative point
    // count) EInOutError is thrown and the chart is left as it was. Returns true.
    bool Load();
    // Load of a file's bytes already in memory (everything after the file is opened and
    // read): the same checks, messages naming FullPath() and effects on the chart.
    void LoadBytes(QByteArrayView bytes);

    // Writes the chart to Path + FileName: the current local time as the date, Title, Info
    // and every series in ascending Number order. Written to a temporary file in the same
    // folder and then renamed over the target, so a failed save throws EInOutError and
    // leaves the previous file intact.
    void Save();

    // The field text as stored: Windows-1250 bytes, cut to width bytes or padded with
    // blanks (32) to width bytes.
    static QByteArray PadText(const QString &text, int width);
    // The text of a field: up to the first zero byte, then without leading and trailing
    // characters of code 32 or less.
    static QString DecodeText(const char *field, int width);

    // Days since 1899-12-30 00:00 (fraction = time of day) of the current local time, and
    // conversions between that count and a local QDateTime (millisecond precision).
    static double NowAsDate();
    static double DateFromDateTime(const QDateTime &local);
    static QDateTime DateTimeFromDate(double days);

private:
    TPolarGraph *m_graph; // not owned
};

// Result of the silent check of a file's first 16 bytes.
enum class EOvkValidity {
    Valid, // begins with the magic
    Unreadable, // missing, cannot be opened or shorter than 16 bytes
    WrongMagic // readable, but the first 16 bytes are not the magic
};

// Checks whether path is a characteristic file (reads its first 16 bytes, read-only).
// Shows nothing; the caller reports WrongMagic with InvalidFileMessage(path).
EOvkValidity CheckOvkFile(const QString &path);

// The text shown when a file does not start with the magic:
// "<path>" nie jest prawidłowym plikiem programu Orvi.
QString InvalidFileMessage(const QString &path);

// The text shown when a file that was asked for cannot be opened at all (CheckOvkFile finds
// it Unreadable): "Nie można otworzyć pliku „<path>”: <reason>", the reason being that it does
// not exist, is a folder, is shorter than the 16-byte magic or cannot be read. Looks at the
// file again (read-only); path is shown as given.
QString UnreadableFileMessage(const QString &path);
