#pragma once

#include "audio/GeneratorError.h"
#include "audio/SignalType.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <functional>

// Computes one block of a test signal at a time: NumSamples() signed 16-bit values of
// Signal() at SignalFrequency() Hz for a sample rate of SamplingFrequency() Hz, scaled by
// VolumeInPercents(). It keeps no sample buffer: every value goes to OnGenerate with its
// index (0 .. NumSamples() - 1, rising), and the owner stores it. With AutoPhase() on,
// consecutive blocks of the periodic signals join without a step.
//
// Not thread-safe; the owner calls it from one thread (the GUI thread in the program).
// Every value is rounded to the nearest integer, halves to even.
class TGenerator
{
    Q_DECLARE_TR_FUNCTIONS(TGenerator)

public:
    // (index, value) for each sample of a block.
    using TOnGenerateEvent = std::function<void(int index, qint16 Value)>;
    // Seed for the noise signals' random generator, taken at the start of every block.
    using TSeedSource = std::function<quint32()>;

    TGenerator();
    TGenerator(const TGenerator &) = delete;
    TGenerator &operator=(const TGenerator &) = delete;

    TOnGenerateEvent OnGenerate;

    // Samples per block. Pink noise and MLS need a power of two; for other counts the
    // sequence is built for the largest power of two below and repeated to fill the block.
    int NumSamples() const { return m_NumSamples; }
    void SetNumSamples(int value);

    // Hz; must be > 0 (and finite), otherwise EGeneratorError and the old value stays.
    double SignalFrequency() const { return m_SignalFrequency; }
    void SetSignalFrequency(double value);

    TSignalType Signal() const { return m_Signal; }
    void SetSignal(TSignalType value) { m_Signal = value; }

    // 0..100; values outside are ignored without a message.
    double VolumeInPercents() const { return m_VolumeInPercents; }
    void SetVolumeInPercents(double value);
    // VolumeInPercents() x 32767 / 100, in sample units.
    double Amplitude() const { return m_Amplitude; }

    // Hz. Any rate of at least 1 Hz is taken (48000 and 96000 included); 0 is ignored.
    int SamplingFrequency() const { return m_SamplingFrequency; }
    void SetSamplingFrequency(int value);

    // Radians subtracted from the argument of the periodic signals. Values of 2π and more
    // are brought below 2π; negative values are kept as they are. Not-finite values are
    // ignored.
    double Phase() const { return m_Phase; }
    void SetPhase(double value);
    // The Phase() the previous block was computed with.
    double PreviousPhase() const { return m_PreviousPhase; }

    // Carry the phase from one block to the next: block b+1 begins with the phase at which
    // block b ended (computed with the frequency, rate and length block b was made with, so
    // a new frequency changes the pitch without a step). Setting it (to any value) makes
    // the next block start again at phase 0.
    bool AutoPhase() const { return m_AutoPhase; }
    void SetAutoPhase(bool value);
    bool RestartPhase() const { return m_RestartPhase; }

    // Fractional part of NumSamples() x SignalFrequency() / SamplingFrequency(), in
    // extended precision: how far into a period the next block begins.
    long double CycleFraction() const { return m_CycleFraction; }

    // Percent of the block the impulse lasts; only 0 < value < 100 is taken.
    double ImpulsLength() const { return m_ImpulsLength; }
    void SetImpulsLength(double value);

    // Replaces the noise seed source (tests); an empty function restores the default,
    // milliseconds since midnight UTC.
    void SetSeedSource(TSeedSource source);

    // Produces one block through OnGenerate. Throws EGeneratorError when OnGenerate is not
    // set or pink-noise memory cannot be had. A block of 0 or fewer samples hands out nothing.
    void Generate();

    // The generator's messages (Polish ones as the program shows them).
    static QString NoHandlerText();
    static QString BadFrequencyText();
    static QString NoMemoryText();

private:
    void UpdateCycleFraction();
    quint32 Random(quint32 below); // next value of the 32-bit LCG, 0 .. below - 1
    qint16 NoiseValue(); // uniform in -32768 .. 32766

    void GenerateSinus(bool cosinus);
    void GenerateSquare1();
    void GenerateSquare2();
    void GenerateTriangle();
    void GenerateChirp();
    void GenerateWhiteNoise();
    void GeneratePinkNoise();
    void GenerateMLS();
    void GenerateImpuls();

    bool m_RestartPhase = true;
    int m_NumSamples = 8192;
    double m_SignalFrequency = 1000.0;
    TSignalType m_Signal = TSignalType::Sinus;
    double m_VolumeInPercents = 100.0;
    double m_Amplitude = 32767.0;
    int m_SamplingFrequency = 44100;
    double m_Phase = 0.0;
    double m_PreviousPhase = 0.0;
    bool m_AutoPhase = false;
    long double m_CycleFraction = 0.0L;
    // CycleFraction() of the block last produced. The next block continues from where
    // that block ended, so a frequency change between blocks leaves no phase step.
    long double m_BlockCycleFraction = 0.0L;
    double m_ImpulsLength = 50.0;

    TSeedSource m_SeedSource;
    quint32 m_Seed = 0;
};
