#include "measurement/LevelComputation.h"

#include "chart/AutoRepaintRestorer.h"

#include "chart/PolarGraph.h"
#include "chart/Series.h"
#include "controls/Clock.h"
#include "document/InOutError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// About one screen frame: often enough for a responsive window, rare enough to cost nothing.
constexpr qint64 ReportIntervalMs = 16;
// Bytes read at a time (rounded to whole blocks).
constexpr qint64 TargetChunkBytes = qint64(1) << 20;
// Room reserved for levels up front; more simply grows the buffer.
constexpr qint64 MaxReservedLevels = qint64(1) << 24;

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Round(sum / count) with halves to even, exact in integers.
qint64 RoundedMean(qint64 sum, qint64 count)
{
    qint64 q = sum / count;
    qint64 r = sum % count;
    if (r < 0) {
        r += count;
        --q;
    }
    const qint64 twice = 2 * r;
    if (twice > count || (twice == count && (q & 1) != 0))
        ++q;
    return q;
}

// Reads up to size bytes; fewer only at the end of the file. -1 on a read error.
qint64 ReadFully(QFile &file, char *data, qint64 size)
{
    qint64 total = 0;
    while (total < size) {
        const qint64 got = file.read(data + total, size - total);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

} // namespace

TLevelComputation::TLevelComputation()
    : m_clock(&TClock::System())
{ }

double TLevelComputation::BlockLevel(const qint16 *samples, int count)
{
    // One pass: sum (x - m)^2 = sum x^2 - 2 m sum x + N m^2 holds exactly in integers, and no
    // term overflows 64 bits for any int count. Groups of a fixed size let the compiler use
    // vector instructions; a group's sum fits in 32 bits.
    constexpr int Group = 16;
    qint64 sum = 0;
    qint64 squares = 0;
    int i = 0;
    for (; i + Group <= count; i += Group) {
        qint32 groupSum = 0;
        qint64 groupSquares = 0;
        for (int k = 0; k < Group; ++k) {
            const qint32 x = samples[i + k];
            groupSum += x;
            groupSquares += qint64(x * x);
        }
        sum += groupSum;
        squares += groupSquares;
    }
    for (; i < count; ++i) {
        const qint32 x = samples[i];
        sum += x;
        squares += x * x;
    }
    const qint64 n = count;
    const qint64 m = RoundedMean(sum, n);
    const qint64 s = squares - 2 * m * sum + n * m * m;
    const double rms = std::sqrt(double(s) / double(n));
    const double ref = double(std::llabs(32768 - m / 2));
    return 20.0 * std::log10(std::max(0.000001, rms / ref));
}

void TLevelComputation::SetProgress(std::function<void(int)> progress)
{
    m_progress = std::move(progress);
}

void TLevelComputation::SetAbortCheck(std::function<bool()> aborted)
{
    m_abortCheck = std::move(aborted);
}

qint64 TLevelComputation::ChunkBytes(int blockBytes)
{
    qint64 blocks = std::max<qint64>(1, TargetChunkBytes / blockBytes);
    if (blockBytes % 2 != 0)
        blocks = std::max<qint64>(2, blocks & ~qint64(1));
    return blocks * blockBytes;
}

int TLevelComputation::ProgressPercent(qint64 n, qint64 fileBytes, int blockBytes)
{
    if (fileBytes <= 0)
        return 0;
    const double blocks = double(fileBytes) / double(blockBytes);
    return int(std::nearbyint(double(n) * 100.0 / blocks));
}

std::vector<double> TLevelComputation::Compute(const QString &rawPath, int blockBytes)
{
    m_aborted = false;
    if (blockBytes < 2)
        throw EInOutError(tr("Nie można odczytać pliku \"%1\": rozmiar bloku %2 B "
                             "jest mniejszy niż jedna próbka (2 B).")
                              .arg(Native(rawPath))
                              .arg(blockBytes));
    // A FIFO would block the open and a device never end: only a regular file is a recording.
    const QFileInfo info(rawPath);
    if (info.exists() && !info.isFile())
        throw EInOutError(tr("Nie można odczytać pliku \"%1\" (to nie jest zwykły "
                             "plik).")
                              .arg(Native(rawPath)));
    QFile file(rawPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EInOutError(
            tr("Nie można otworzyć pliku \"%1\" (%2).").arg(Native(rawPath), file.errorString()));
    std::vector<double> levels;
    if (!ComputeFile(file, rawPath, blockBytes, levels)) {
        m_aborted = true;
        return {};
    }
    return levels;
}

std::vector<double> TLevelComputation::LevelsOfBytes(const char *bytes, qint64 size, int blockBytes)
{
    std::vector<double> levels;
    if (blockBytes < 2 || size < blockBytes)
        return levels;
    // qint16 storage keeps every sample aligned; the spare one covers an odd size.
    std::vector<qint16> samples(size_t(size / 2 + 1));
    std::memcpy(samples.data(), bytes, size_t(size));
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    qFromLittleEndian<qint16>(samples.data(), qsizetype((size + 1) / 2), samples.data());
#endif
    levels.reserve(size_t(size / blockBytes));
    ChunkLevels(samples.data(), size / blockBytes, blockBytes, levels);
    return levels;
}

std::vector<double> TLevelComputation::LevelsOfSamples(const std::vector<qint16> &samples,
                                                       int blockBytes)
{
    std::vector<double> levels;
    const qint64 size = qint64(samples.size()) * 2;
    if (blockBytes < 2 || size < blockBytes)
        return levels;
    levels.reserve(size_t(size / blockBytes));
    ChunkLevels(samples.data(), size / blockBytes, blockBytes, levels);
    return levels;
}

QString TLevelComputation::MeasurementRefusal(const std::vector<double> &levels)
{
    if (levels.size() < 2)
        return tr("Nie dodano charakterystyki: pełnych bloków w nagraniu jest %1, a "
                  "potrzeba co najmniej dwóch (zmniejsz rozmiar bloku albo wydłuż "
                  "nagranie).")
            .arg(levels.size());
    const double loudest = *std::max_element(levels.begin(), levels.end());
    if (loudest < SilenceDbFs)
        return tr("Nie dodano charakterystyki: brak sygnału w nagraniu (najgłośniejszy "
                  "blok %1 dB FS, poniżej %2 dB FS).")
            .arg(loudest, 0, 'f', 1)
            .arg(SilenceDbFs, 0, 'f', 0);
    return {};
}

QString TLevelComputation::EarlyEndWarning(int endDeg, int stopDeg)
{
    return tr("Nagranie skończyło się wcześniej niż zakres: obejmuje kąty do %1° "
              "zamiast do %2°; charakterystykę poziomu rozłożono na kąty, które "
              "nagranie obejmuje.")
        .arg(endDeg)
        .arg(stopDeg);
}

bool TLevelComputation::ComputeFile(QFile &file, const QString &path, int blockBytes,
                                    std::vector<double> &levels)
{
    const qint64 fileBytes = file.size();
    levels.reserve(size_t(std::min(fileBytes / blockBytes, MaxReservedLevels)));
    const qint64 chunkBytes = ChunkBytes(blockBytes);
    // qint16 storage keeps every sample of the chunk aligned.
    std::vector<qint16> chunk(size_t(chunkBytes / 2 + 1));
    qint64 lastReport = m_clock->NowMs();
    for (;;) {
        const qint64 got = ReadFully(file, reinterpret_cast<char *>(chunk.data()), chunkBytes);
        if (got < 0)
            throw EInOutError(
                tr("Nie można odczytać pliku \"%1\" (%2).").arg(Native(path), file.errorString()));
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
        qFromLittleEndian<qint16>(chunk.data(), qsizetype((got + 1) / 2), chunk.data());
#endif
        ChunkLevels(chunk.data(), got / blockBytes, blockBytes, levels);
        if (got < chunkBytes)
            break;
        const qint64 now = m_clock->NowMs();
        if (now - lastReport >= ReportIntervalMs) {
            lastReport = now;
            if (Report(qint64(levels.size()), fileBytes, blockBytes))
                return false;
        }
    }
    return !Report(qint64(levels.size()), fileBytes, blockBytes);
}

void TLevelComputation::ChunkLevels(const qint16 *chunk, qint64 count, int blockBytes,
                                    std::vector<double> &levels)
{
    const int n = blockBytes / 2;
    if (blockBytes % 2 == 0) {
        for (qint64 j = 0; j < count; ++j)
            levels.push_back(BlockLevel(chunk + j * n, n));
        return;
    }
    // Block j starts at byte j * blockBytes; its first whole sample starts at the next even
    // byte, and n whole samples always fit before its end.
    for (qint64 j = 0; j < count; ++j)
        levels.push_back(BlockLevel(chunk + (j * blockBytes + (j & 1)) / 2, n));
}

bool TLevelComputation::Report(qint64 levels, qint64 fileBytes, int blockBytes)
{
    if (m_progress)
        m_progress(ProgressPercent(levels, fileBytes, blockBytes));
    return m_abortCheck && m_abortCheck();
}

double TLevelComputation::SpreadAngle(qint64 i, qint64 n, int startDeg, int stopDeg)
{
    const qint64 product = i * (qint64(stopDeg) - startDeg);
    return startDeg + double(product) / double(n);
}

qint64 TLevelComputation::ReferenceIndex(const std::vector<double> &levels, int startDeg,
                                         int stopDeg)
{
    const qint64 n = qint64(levels.size());
    double smallest = 180.0;
    qint64 reference = -1;
    for (qint64 i = 0; i < n; ++i) {
        const double distance = std::fabs(SpreadAngle(i, n, startDeg, stopDeg));
        if (distance < smallest) {
            smallest = distance;
            reference = i;
        }
    }
    return reference;
}

std::vector<TPolarSample> TLevelComputation::MeasuredPoints(const std::vector<double> &levels,
                                                            int startDeg, int stopDeg)
{
    const qint64 n = qint64(levels.size());
    const qint64 reference = ReferenceIndex(levels, startDeg, stopDeg);
    const double l0 = reference < 0 ? 0.0 : levels[size_t(reference)];
    std::vector<TPolarSample> points(levels.size());
    for (qint64 i = 0; i < n; ++i) {
        TPolarSample &p = points[size_t(i)];
        p.Angle = SpreadAngle(i, n, startDeg, stopDeg);
        // The same operation as TPolarData::AddLevelOffset, so the numbers are identical.
        p.Level = levels[size_t(i)];
        if (l0 != 0.0)
            p.Level += -l0;
    }
    return points;
}

TSeries *TLevelComputation::AddMeasuredSeries(TPolarGraph &chart, const QString &name,
                                              quint32 color, const std::vector<double> &levels,
                                              int startDeg, int stopDeg)
{
    const TAutoRepaintRestorer restorer(chart);
    TSeries *series = chart.GetSeries(chart.MaxSeriesNumber() + 1);
    series->Name = name;
    series->SetColor(color);
    const qint64 n = qint64(levels.size());
    for (qint64 i = 0; i < n; ++i)
        series->Add(SpreadAngle(i, n, startDeg, stopDeg), levels[size_t(i)]);
    const qint64 reference = ReferenceIndex(levels, startDeg, stopDeg);
    if (reference >= 0 && levels[size_t(reference)] != 0.0)
        series->AddLevelOffset(-levels[size_t(reference)]);
    return series;
}
