#include "document/OvkFile.h"

#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "controls/BusyCursor.h"
#include "controls/CodePage1250.h"
#include "controls/FileWriter.h"
#include "document/InOutError.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <new>
#include <vector>

namespace {

// Layout of the file: (offset, size) of every field, in bytes.
constexpr char Magic[] = "ORVI SYSTEM V1.0";
constexpr int MagicSize = 16;
constexpr int DateOffset = 16, DateSize = 8;
constexpr int TitleOffset = 24, TitleSize = 256;
constexpr int InfoOffset = 280, InfoSize = 50;
constexpr int CountOffset = 330, CountSize = 2;
constexpr int HeaderSize = 332;
constexpr int NameOffset = 0, NameSize = 50;
constexpr int ColorOffset = 50, ColorSize = 4;
constexpr int PointCountOffset = 54, PointCountSize = 4;
constexpr int RecordHeaderSize = 58;
constexpr int SampleSize = int(sizeof(TPolarSample));
constexpr int MaxSeriesInFile = 0xFFFF; // the header holds the count in 16 bits

static_assert(sizeof(Magic) - 1 == MagicSize);
static_assert(CountOffset + CountSize == HeaderSize);
static_assert(PointCountOffset + PointCountSize == RecordHeaderSize);
static_assert(SampleSize == 16);

// ---- little-endian fields ----------------------------------------------------------------

template<typename T>
T ReadLE(const char *p)
{
    return qFromLittleEndian<T>(p);
}

double ReadDouble(const char *p)
{
    const quint64 bits = qFromLittleEndian<quint64>(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void WriteDouble(char *p, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian<quint64>(bits, p);
}

// Converts n samples between the file's little-endian order and this machine's, in place.
void SwapSamplesIfNeeded(TPolarSample *samples, qsizetype n)
{
    if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
        auto *words = reinterpret_cast<quint64 *>(samples);
        for (qsizetype i = 0; i < 2 * n; ++i)
            words[i] = qbswap(words[i]);
    } else {
        Q_UNUSED(samples);
        Q_UNUSED(n);
    }
}

// ---- helpers ---------------------------------------------------------------------------

// Chart repainting is held off while many series change, and restored on every path.
class TRepaintHold
{
public:
    explicit TRepaintHold(TPolarGraph &graph)
        : m_graph(graph)
        , m_was(graph.AutoRepaint())
    {
        m_graph.SetAutoRepaint(false);
    }
    // The loaded content is shown with one refresh instead of one per series.
    ~TRepaintHold()
    {
        m_graph.SetAutoRepaint(m_was);
        m_graph.SetNeedsRender();
        if (m_was)
            m_graph.Refresh();
    }
    TRepaintHold(const TRepaintHold &) = delete;
    TRepaintHold &operator=(const TRepaintHold &) = delete;

private:
    TPolarGraph &m_graph;
    bool m_was;
};

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void ThrowCorrupt(const QString &path, const QString &reason)
{
    throw EInOutError(QCoreApplication::translate("TOvkFile", "Plik \"%1\" jest uszkodzony: %2.")
                          .arg(Native(path), reason));
}

// One series record as read, before it goes into the chart.
struct TSeriesRecord
{
    QString Name;
    quint32 Color = 0;
    std::vector<TPolarSample> Points;
};

// Reads the whole file in one go: one allocation of the file's own size, justified by it.
QByteArray ReadWholeFile(QFile &file, const QString &path)
{
    const auto readFailed = [&] {
        return EInOutError(
            QCoreApplication::translate("TOvkFile", "Błąd odczytu pliku \"%1\" (%2).")
                .arg(Native(path), file.errorString()));
    };
    QByteArray bytes;
    const qint64 size = file.size();
    if (size <= 0)
        return file.readAll();
    try {
        bytes.resize(qsizetype(size));
    } catch (const std::bad_alloc &) {
        throw EInOutError(
            QCoreApplication::translate("TOvkFile", "Za mało pamięci, by wczytać plik \"%1\".")
                .arg(Native(path)));
    }
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(bytes.data() + done, size - done);
        if (got < 0)
            throw readFailed();
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(qsizetype(done));
    return bytes;
}

// The bytes of a file, taken field by field from the front.
struct TByteReader
{
    const char *Pos;
    const char *End;
    const QString &Path;

    qint64 Left() const { return End - Pos; }
    // The next size bytes; a file that ends before them is damaged.
    const char *Take(qint64 size, const QString &what)
    {
        if (size > Left())
            ThrowCorrupt(Path,
                         QCoreApplication::translate("TOvkFile", "plik kończy się przed końcem %1")
                             .arg(what));
        const char *at = Pos;
        Pos += size;
        return at;
    }
};

// Walks 16-byte samples stored without alignment, as the file holds them.
struct TSampleIterator
{
    using iterator_category = std::forward_iterator_tag;
    using value_type = TPolarSample;
    using difference_type = std::ptrdiff_t;
    using pointer = const TPolarSample *;
    using reference = TPolarSample;

    const char *At;

    TPolarSample operator*() const
    {
        TPolarSample sample;
        std::memcpy(&sample, At, sizeof sample);
        return sample;
    }
    TSampleIterator &operator++()
    {
        At += SampleSize;
        return *this;
    }
    TSampleIterator operator++(int)
    {
        TSampleIterator before = *this;
        At += SampleSize;
        return before;
    }
    bool operator==(const TSampleIterator &other) const { return At == other.At; }
    bool operator!=(const TSampleIterator &other) const { return At != other.At; }
};

} // namespace

// ---- TOvkFile ------------------------------------------------------------------------------

TOvkFile::TOvkFile(TPolarGraph *Graph, const QString &fullPath)
    : m_graph(Graph)
{
    SetFullPath(fullPath);
}

TOvkFile::~TOvkFile() = default;

QString TOvkFile::FullPath() const
{
    return Path + FileName;
}

void TOvkFile::SetFullPath(const QString &fullPath)
{
    qsizetype cut = fullPath.lastIndexOf(u'/');
#ifdef Q_OS_WIN
    cut = std::max(cut, fullPath.lastIndexOf(u'\\'));
#endif
    Path = fullPath.left(cut + 1);
    FileName = fullPath.mid(cut + 1);
}

void TOvkFile::SetTitle(const QString &value)
{
    if (Title != value)
        Title = value;
}

void TOvkFile::SetInfo(const QString &value)
{
    if (Info != value)
        Info = value;
}

void TOvkFile::SetDate(double value)
{
    if (Date != value)
        Date = value;
}

QByteArray TOvkFile::PadText(const QString &text, int width)
{
    QByteArray bytes = TCodePage1250::Encode(text);
    if (bytes.size() > width)
        bytes.truncate(width);
    else if (bytes.size() < width)
        bytes.append(width - bytes.size(), ' ');
    return bytes;
}

QString TOvkFile::DecodeText(const char *field, int width)
{
    int length = 0;
    while (length < width && field[length] != '\0')
        ++length;
    int begin = 0;
    while (begin < length && quint8(field[begin]) <= 32)
        ++begin;
    while (length > begin && quint8(field[length - 1]) <= 32)
        --length;
    QString text;
    text.reserve(length - begin);
    for (int i = begin; i < length; ++i)
        text.append(TCodePage1250::Decode(quint8(field[i])));
    return text;
}

double TOvkFile::DateFromDateTime(const QDateTime &local)
{
    static const QDate epoch(1899, 12, 30);
    const QDateTime t = local.toLocalTime();
    const double day = double(epoch.daysTo(t.date()));
    const double fraction = t.time().msecsSinceStartOfDay() / 86400000.0;
    // Before day 0 the time of day still counts away from zero (-1.25 is 1899-12-29 06:00).
    return day < 0 ? day - fraction : day + fraction;
}

QDateTime TOvkFile::DateTimeFromDate(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return {};
    // Before the epoch the whole days count down while the fraction still counts the time
    // of day forward (-1.25 is 1899-12-29 06:00).
    const double whole = std::trunc(days);
    qint64 ms = qRound64(std::fabs(days - whole) * 86400000.0);
    qint64 dayCount = qint64(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        dayCount += days < 0 ? -1 : 1;
    }
    static const QDate epoch(1899, 12, 30);
    return QDateTime(epoch.addDays(dayCount), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

double TOvkFile::NowAsDate()
{
    return DateFromDateTime(QDateTime::currentDateTime());
}

bool TOvkFile::Load()
{
    const TBusyCursor busy;
    const QString path = FullPath();
    QFile file(path);
    if (!file.exists())
        throw EInOutError(tr("Plik \"%1\" nie istnieje.").arg(Native(path)));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EInOutError(
            tr("Nie można otworzyć pliku \"%1\" (%2).").arg(Native(path), file.errorString()));
    const QByteArray bytes = ReadWholeFile(file, path);
    file.close();
    LoadBytes(bytes);
    return true;
}

void TOvkFile::LoadBytes(QByteArrayView bytes)
{
    const QString path = FullPath();
    TByteReader in { bytes.data(), bytes.data() + bytes.size(), path };

    // The magic was checked before opening (CheckOvkFile); the header is read whole.
    const char *header = in.Take(HeaderSize, tr("nagłówka"));
    const double date = ReadDouble(header + DateOffset);
    const QString title = DecodeText(header + TitleOffset, TitleSize);
    const QString info = DecodeText(header + InfoOffset, InfoSize);
    const int count = ReadLE<quint16>(header + CountOffset);

    // Every record is read and checked before the chart changes, so a damaged file leaves
    // the chart as it was. Counts are checked against the bytes the file still has before
    // any memory is reserved for them.
    std::vector<TSeriesRecord> records;
    records.reserve(size_t(std::min<qint64>(count, in.Left() / RecordHeaderSize)));
    for (int i = 0; i < count; ++i) {
        const QString what = tr("serii %1 z %2").arg(i + 1).arg(count);
        const char *head = in.Take(RecordHeaderSize, what);
        TSeriesRecord record;
        record.Name = DecodeText(head + NameOffset, NameSize);
        record.Color = ReadLE<quint32>(head + ColorOffset);
        const qint32 points = ReadLE<qint32>(head + PointCountOffset);
        if (points < 0)
            ThrowCorrupt(path, tr("seria %1 ma ujemną liczbę punktów (%2)").arg(i + 1).arg(points));
        if (qint64(points) * SampleSize > in.Left())
            ThrowCorrupt(path,
                         tr("seria %1 zapowiada %2 punktów, a plik "
                            "kończy się wcześniej")
                             .arg(i + 1)
                             .arg(points));
        const char *samples = in.Take(qint64(points) * SampleSize, what);
        try {
            // Copied sample by sample: the file's samples are not aligned for doubles.
            record.Points.assign(TSampleIterator { samples },
                                 TSampleIterator { samples + qint64(points) * SampleSize });
        } catch (const std::bad_alloc &) {
            throw EInOutError(tr("Za mało pamięci, by wczytać plik \"%1\".").arg(Native(path)));
        }
        SwapSamplesIfNeeded(record.Points.data(), points);
        records.push_back(std::move(record));
    }

    Date = date;
    Title = title;
    Info = info;
    SeriesCount = count;
    if (m_graph) {
        const TRepaintHold hold(*m_graph);
        m_graph->SetTitle(Title);
        for (int i = 0; i < count; ++i) {
            TSeriesRecord &record = records[size_t(i)];
            TSeries *series = m_graph->GetSeries(i);
            series->Name = record.Name;
            series->SetColor(record.Color);
            // One notice per series instead of one per point; the end state is the same.
            series->LoadPoints(std::move(record.Points));
        }
    }
}

void TOvkFile::Save()
{
    const TBusyCursor busy;
    const QString path = FullPath();
    const QList<TSeries *> series = m_graph ? m_graph->SeriesList() : QList<TSeries *>();
    if (series.size() > MaxSeriesInFile)
        throw EInOutError(tr("Nie można zapisać pliku \"%1\": dokument ma %2 serii, "
                             "a plik mieści najwyżej %3.")
                              .arg(Native(path))
                              .arg(series.size())
                              .arg(MaxSeriesInFile));
    const QFileInfo target(path);
    // A file marked read-only is not replaced, even where the user could (root, or a
    // writable folder that would let the rename through).
    if (target.exists()
        && (!target.isWritable() || !target.permissions().testFlag(QFileDevice::WriteOwner)))
        throw EInOutError(tr("Nie można zapisać pliku \"%1\": plik jest tylko do "
                             "odczytu.")
                              .arg(Native(path)));

    // Written beside the target and renamed over it only when every byte is on disk: the
    // old file stays intact on any failure, a full disk included.
    TFileWriter file(path);
    const auto fail = [&] {
        file.Cancel();
        throw EInOutError(file.ErrorMessage());
    };
    if (!file.Open())
        fail();

    char header[HeaderSize];
    std::memcpy(header, Magic, MagicSize);
    WriteDouble(header + DateOffset, NowAsDate());
    std::memcpy(header + TitleOffset, PadText(Title, TitleSize).constData(), TitleSize);
    std::memcpy(header + InfoOffset, PadText(Info, InfoSize).constData(), InfoSize);
    qToLittleEndian<quint16>(quint16(series.size()), header + CountOffset);
    if (!file.Write(header, HeaderSize))
        fail();

    // SeriesList is in ascending Number order; gaps left by deleted series are skipped.
    std::vector<TPolarSample> points;
    for (const TSeries *s : series) {
        char head[RecordHeaderSize];
        std::memcpy(head + NameOffset, PadText(s->Name, NameSize).constData(), NameSize);
        qToLittleEndian<quint32>(s->Color(), head + ColorOffset);
        const int n = s->Count();
        qToLittleEndian<qint32>(n, head + PointCountOffset);
        if (!file.Write(head, RecordHeaderSize))
            fail();
        if (n <= 0)
            continue;
        // The series' own samples are already in the file's order on little-endian machines.
        const TPolarSample *data = s->Points().data();
        if constexpr (QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
            points.resize(size_t(n));
            s->GetPoints(points.data());
            SwapSamplesIfNeeded(points.data(), n);
            data = points.data();
        }
        if (!file.Write(reinterpret_cast<const char *>(data), qint64(n) * SampleSize))
            fail();
    }
    if (!file.Commit())
        fail();
}

// ---- validity check --------------------------------------------------------------------

EOvkValidity CheckOvkFile(const QString &path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return EOvkValidity::Unreadable;
    const QByteArray start = file.read(MagicSize);
    if (start.size() != MagicSize)
        return EOvkValidity::Unreadable;
    return start == QByteArrayView(Magic, MagicSize) ? EOvkValidity::Valid
                                                     : EOvkValidity::WrongMagic;
}

QString InvalidFileMessage(const QString &path)
{
    return QCoreApplication::translate("TOvkFile",
                                       "\"%1\" nie jest prawidłowym plikiem programu Orvi.")
        .arg(path);
}

QString UnreadableFileMessage(const QString &path)
{
    const QFileInfo info(path);
    QString reason;
    if (!info.exists())
        reason = QCoreApplication::translate("TOvkFile", "plik nie istnieje.");
    else if (info.isDir())
        reason = QCoreApplication::translate("TOvkFile", "to jest folder.");
    else if (info.size() < MagicSize)
        reason = QCoreApplication::translate("TOvkFile",
                                             "plik jest za krótki jak na plik charakterystyki.");
    else
        reason = QCoreApplication::translate("TOvkFile", "nie da się odczytać pliku.");
    return QCoreApplication::translate("TOvkFile", "Nie można otworzyć pliku „%1”: %2")
        .arg(path, reason);
}
