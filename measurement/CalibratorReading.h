#pragma once

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <vector>

// The reading of a sound calibrator held on the measurement microphone: the RMS level of a
// mono 16-bit recording re full scale (20·log10(rms / 32768), so a full-scale sine reads
// −3.01 dB FS), how steady it was and whether it can be taken as the input's sensitivity.
// Fed the recording in any number of pieces; the steadiness is the spread (max − min, dB) of
// the levels of consecutive 100 ms blocks, a last incomplete block left out.
//
// A value type without widgets; not thread-safe (one thread feeds and reads it).
class TCalibratorReading
{
    Q_DECLARE_TR_FUNCTIONS(TCalibratorReading)

public:
    static constexpr double FullScale = 32768.0;
    static constexpr int BlockMs = 100;
    static constexpr double LowestLevelDbfs = -60.0; // quieter: no calibrator on the microphone
    static constexpr double HighestSpreadDb = 0.5; // a wider spread: not held steadily
    static constexpr double ReferenceDbSpl = 94.0; // the sensitivity is the level of 94 dB SPL

    // sampleRate in Hz (> 0) sets the length of the 100 ms blocks. samplesExpected only
    // reserves room for the block levels, so that Add need not allocate.
    explicit TCalibratorReading(int sampleRate, qint64 samplesExpected = 0);

    void Add(const qint16 *samples, qint64 count);

    qint64 SampleCount() const { return m_count; }
    // dB FS RMS of everything added; −infinity for silence or nothing added.
    double LevelDbfs() const;
    // dB, max − min of the complete 100 ms blocks' levels; 0 with fewer than two blocks.
    double SpreadDb() const;
    // A sample reached full scale (32767 or −32768): the input clipped.
    bool Clipped() const { return m_clipped; }
    // Why the reading cannot be taken, in Polish; empty when it can.
    QString Problem() const;
    // The input's sensitivity, dB FS of 94 dB SPL, from a calibrator of calibratorDbSpl.
    double SensitivityDbfs(double calibratorDbSpl) const;

    // A dB value as the calibration controls show it: two decimals, '.' and a true minus
    // sign ("−23.45").
    static QString DbText(double db);

private:
    void CloseBlock();

    qint64 m_blockLength;
    qint64 m_count = 0;
    double m_sumSquares = 0.0;
    qint64 m_blockCount = 0; // samples in the open block
    double m_blockSquares = 0.0;
    std::vector<double> m_blockLevels; // dB FS of every complete block
    bool m_clipped = false;
};
