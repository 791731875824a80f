#pragma once

#include "chart/PolarSample.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

class QFile;
class TClock;
class TPolarGraph;
class TSeries;

// Turns a recording into a characteristic: the recording file is cut into equal blocks, each
// block gives one RMS level in dB, and the levels are spread evenly over the turned range
// and shifted so that the level nearest 0° is 0 dB.
//
// The computation only reads a file and returns levels, so that another analysis of the same
// recording can sit beside it. The recording is headerless signed 16-bit little-endian mono
// ("temp.raw").
//
// One block of blockBytes bytes gives one level, computed from its N = blockBytes div 2
// samples:
//   m     = the mean of the samples rounded to an integer, halves to even
//   S     = sum of (x - m)^2, exact in 64-bit integers
//   rms   = sqrt(S / N)
//   ref   = |32768 - m div 2|, the division truncating toward zero
//   level = 20 log10(max(0.000001, rms / ref)) dB, so the lowest level is -120 dB.
// A trailing part block gives no level. An odd blockBytes still moves on by blockBytes bytes
// per block (so the count of levels, the progress and the angles are as for any size), and the
// level of a block comes from the N whole samples that lie inside it on the file's 2-byte
// sample grid: a block that starts at an odd file offset skips its first byte, one that starts
// at an even offset leaves its last byte. The one sample cut by the boundary between two such
// blocks belongs to neither, so no level is ever computed from bytes of two different samples.
//
// GUI thread (or any one thread); the callbacks run on the thread that calls Compute.
class TLevelComputation
{
    Q_DECLARE_TR_FUNCTIONS(TLevelComputation)

public:
    // Reads time from the program's clock; see SetClock.
    TLevelComputation();

    // The level of one block of count samples (count >= 1), in dB. The same definition as
    // Compute uses.
    static double BlockLevel(const qint16 *samples, int count);

    // Called with the progress in percent, Round(n * 100 / (file size / blockBytes)) for n
    // levels done (floating point, halves to even), after about every 16 ms of work and once
    // at the end; never once per block. A caller that wants to stay responsive handles
    // pending events here.
    void SetProgress(std::function<void(int percent)> progress);
    // Asked right after each progress call (so a cancel handled there is seen at once); when
    // it returns true the computation stops, returns no levels and Aborted() is true.
    void SetAbortCheck(std::function<bool()> aborted);
    // The clock that paces the progress calls. Not owned; it must outlive this object.
    // Default: TClock::System().
    void SetClock(TClock &clock) { m_clock = &clock; }

    // The levels (dB) of every whole block of rawPath, in file order; no upper limit on their
    // number. Empty when the file is shorter than one block or when the computation was
    // aborted. Throws EInOutError with a Polish message naming the file when it cannot be
    // opened or read, is no regular file (a folder, a FIFO, a device: refused before it is
    // opened), or when blockBytes is below 2.
    std::vector<double> Compute(const QString &rawPath, int blockBytes);
    // The levels of a recording already in memory (size bytes of a raw file), exactly as
    // Compute gives them for a file of these bytes; empty when blockBytes is below 2. No
    // progress, no abort check.
    static std::vector<double> LevelsOfBytes(const char *bytes, qint64 size, int blockBytes);
    // The levels of recorded samples, exactly as LevelsOfBytes gives them for their bytes,
    // without a copy of the recording.
    static std::vector<double> LevelsOfSamples(const std::vector<qint16> &samples, int blockBytes);
    // Why levels make no measurement (a Polish sentence for the user), or an empty string: fewer
    // than two levels draw no polar, and a recording whose loudest block lies below
    // SilenceDbFs holds nothing but noise (a silent block would read -120 dB and, shifted, a
    // flat 0 dB curve). The levels themselves stay as computed.
    static QString MeasurementRefusal(const std::vector<double> &levels);
    static constexpr double SilenceDbFs = -80.0;
    // The warning when a recording ends at endDeg, before the range's stopDeg (degrees): the
    // levels are then spread over the angles it covers.
    static QString EarlyEndWarning(int endDeg, int stopDeg);

    // True when the last Compute stopped because the abort check said so.
    bool Aborted() const { return m_aborted; }

    // Size of one read, bytes: a whole number of blocks (an even number for an odd block
    // size, so that every read starts on the sample grid), at least one or two blocks.
    static qint64 ChunkBytes(int blockBytes);
    // Round(n * 100 / (fileBytes / blockBytes)), floating point, halves to even; 0 for an
    // empty file.
    static int ProgressPercent(qint64 n, qint64 fileBytes, int blockBytes);

    // Angle of level i of n spread over startDeg..stopDeg, in degrees:
    // start + (i * (stop - start)) / n, the product in 64-bit integers, the division in
    // floating point.
    static double SpreadAngle(qint64 i, qint64 n, int startDeg, int stopDeg);
    // Index of the reference level: the first point whose |angle| is smaller than every
    // earlier one and than 180°; -1 when there is none (no levels).
    static qint64 ReferenceIndex(const std::vector<double> &levels, int startDeg, int stopDeg);
    // The points a measurement adds, after the shift: (SpreadAngle, level - L0) where L0 is
    // the reference level; unshifted when L0 is 0 or there is no reference.
    static std::vector<TPolarSample> MeasuredPoints(const std::vector<double> &levels, int startDeg,
                                                    int stopDeg);

    // Adds the levels to chart as its next series (number MaxSeriesNumber() + 1) named name
    // with colour color (0x00BBGGRR): one point per level at its SpreadAngle, then the whole
    // series shifted by -L0 when the reference level L0 is not 0. AutoRepaint is off while
    // points go in and gets its former value back on every path; the chart is refreshed when
    // it was on. Returns the new series, owned by chart. Fires the chart's OnChange per point.
    static TSeries *AddMeasuredSeries(TPolarGraph &chart, const QString &name, quint32 color,
                                      const std::vector<double> &levels, int startDeg, int stopDeg);

private:
    // Reads and computes the whole file; returns false when aborted.
    bool ComputeFile(QFile &file, const QString &path, int blockBytes, std::vector<double> &levels);
    // Appends the levels of the count whole blocks at the start of chunk, which starts on the
    // file's sample grid (an even file offset) and, for an odd block size, at an even block.
    static void ChunkLevels(const qint16 *chunk, qint64 count, int blockBytes,
                            std::vector<double> &levels);
    // Progress and abort check; true when aborted.
    bool Report(qint64 levels, qint64 fileBytes, int blockBytes);

    std::function<void(int)> m_progress;
    std::function<bool()> m_abortCheck;
    TClock *m_clock;
    bool m_aborted = false;
};
