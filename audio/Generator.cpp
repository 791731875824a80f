#include "audio/Generator.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <new>
#include <vector>

namespace {

constexpr long double PiL = 3.141592653589793238462643383279502884L;
constexpr long double TwoPiL = 2.0L * PiL;
constexpr double Pi = 3.14159265358979323846;

// Maps a uniform index 0..65535 onto the sample range -32768..32767.
struct TNoiseTable
{
    std::array<qint16, 65536> Values;
    constexpr TNoiseTable()
        : Values {}
    {
        for (int i = 0; i < 65536; ++i)
            Values[size_t(i)] = qint16(i - 32768);
    }
};
constexpr TNoiseTable NoiseTable;

// Feedback taps of the MLS shift register by register length n (3..14); t2 = t3 = 0 where
// the register uses two taps only.
struct TMlsTaps
{
    int T1, T2, T3;
};
constexpr std::array<TMlsTaps, 15> MlsTaps = { {
    { 0, 0, 0 },
    { 0, 0, 0 },
    { 0, 0, 0 },
    { 2, 0, 0 },
    { 3, 0, 0 },
    { 3, 0, 0 },
    { 5, 0, 0 },
    { 6, 0, 0 },
    { 5, 2, 3 },
    { 5, 0, 0 },
    { 7, 0, 0 },
    { 9, 0, 0 },
    { 11, 6, 8 },
    { 12, 9, 10 },
    { 13, 4, 8 },
} };

constexpr qint16 MlsHigh = 32767;
constexpr qint16 MlsLow = -32767;

// Nearest integer, halves to even, limited to the 16-bit range.
qint16 Nearest(double x)
{
    if (std::isnan(x))
        return 0;
    const double r = std::nearbyint(x);
    if (r >= 32767.0)
        return 32767;
    if (r <= -32768.0)
        return -32768;
    return qint16(r);
}

quint32 MillisecondsSinceMidnightUtc()
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return quint32(ms % 86400000);
}

// Largest power of two <= n (n >= 1).
int PowerOfTwoBelow(int n)
{
    int p = 1;
    while (p <= n / 2)
        p *= 2;
    return p;
}

int Log2(int powerOfTwo)
{
    int r = 0;
    while ((1 << r) < powerOfTwo)
        ++r;
    return r;
}

} // namespace

TGenerator::TGenerator()
{
    UpdateCycleFraction();
}

QString TGenerator::NoHandlerText()
{
    return QStringLiteral("You must specify an OnGenerate handler");
}

QString TGenerator::BadFrequencyText()
{
    return tr("No co ty, chcesz to usłyczeć ???");
}

QString TGenerator::NoMemoryText()
{
    return tr("Brakuje pamięci do zaalokowania teblicy !");
}

void TGenerator::SetNumSamples(int value)
{
    m_NumSamples = value;
    UpdateCycleFraction();
}

void TGenerator::SetSignalFrequency(double value)
{
    if (!(value > 0.0) || !std::isfinite(value))
        throw EGeneratorError(BadFrequencyText());
    m_SignalFrequency = value;
    UpdateCycleFraction();
}

void TGenerator::SetVolumeInPercents(double value)
{
    if (value >= 0.0 && value <= 100.0) {
        m_VolumeInPercents = value;
        m_Amplitude = value * 32767.0 / 100.0;
    }
}

void TGenerator::SetSamplingFrequency(int value)
{
    // A rate of 0 would make every period infinite (NaN samples); it is not taken.
    if (value < 1)
        return;
    m_SamplingFrequency = value;
    UpdateCycleFraction();
}

void TGenerator::SetPhase(double value)
{
    if (!std::isfinite(value))
        return;
    // A huge value would take practically for ever to bring down by single periods.
    if (value >= 1.0e6)
        value = double(std::fmod((long double)value, TwoPiL));
    while ((long double)value >= TwoPiL)
        value = double((long double)value - TwoPiL);
    m_Phase = value;
}

void TGenerator::SetAutoPhase(bool value)
{
    m_AutoPhase = value;
    m_RestartPhase = true;
}

void TGenerator::SetImpulsLength(double value)
{
    if (value > 0.0 && value < 100.0)
        m_ImpulsLength = value;
}

void TGenerator::SetSeedSource(TSeedSource source)
{
    m_SeedSource = std::move(source);
}

void TGenerator::UpdateCycleFraction()
{
    const long double x = (long double)m_NumSamples * (long double)m_SignalFrequency
        / (long double)m_SamplingFrequency;
    m_CycleFraction = x - std::trunc(x);
}

quint32 TGenerator::Random(quint32 below)
{
    m_Seed = m_Seed * 134775813u + 1u;
    return quint32((quint64(m_Seed) * below) >> 32);
}

qint16 TGenerator::NoiseValue()
{
    return NoiseTable.Values[Random(65535)];
}

void TGenerator::Generate()
{
    if (!OnGenerate)
        throw EGeneratorError(NoHandlerText());

    if (m_AutoPhase) {
        if (m_RestartPhase)
            SetPhase(0.0);
        else
            SetPhase(double((1.0L - m_BlockCycleFraction) * TwoPiL + (long double)m_PreviousPhase));
    }

    switch (m_Signal) {
    case TSignalType::Sinus:
        GenerateSinus(false);
        break;
    case TSignalType::Cosinus:
        GenerateSinus(true);
        break;
    case TSignalType::Square1:
        GenerateSquare1();
        break;
    case TSignalType::Square2:
        GenerateSquare2();
        break;
    case TSignalType::Triangle:
        GenerateTriangle();
        break;
    case TSignalType::Chirp:
        GenerateChirp();
        break;
    case TSignalType::WhiteNoise:
        GenerateWhiteNoise();
        break;
    case TSignalType::PinkNoise:
        GeneratePinkNoise();
        break;
    case TSignalType::MLS:
        GenerateMLS();
        break;
    case TSignalType::Impuls:
        GenerateImpuls();
        break;
    }

    m_PreviousPhase = m_Phase;
    m_BlockCycleFraction = m_CycleFraction;
    m_RestartPhase = false;
}

void TGenerator::GenerateSinus(bool cosinus)
{
    const double omega = double(TwoPiL * m_SignalFrequency / m_SamplingFrequency);
    const double a = m_Amplitude;
    const double phase = m_Phase;
    for (int k = 0; k < m_NumSamples; ++k) {
        const double x = omega * k - phase;
        OnGenerate(k, Nearest(a * (cosinus ? std::cos(x) : std::sin(x))));
    }
}

void TGenerator::GenerateSquare1()
{
    // Periods longer than any block behave alike; the limit keeps the count in int.
    int period = int(
        std::min(std::nearbyint(double(m_SamplingFrequency) / m_SignalFrequency), double(1 << 30)));
    if (period % 2 != 0)
        period -= 1;
    if (period == 0)
        return;
    const int half = period / 2;
    const qint16 high = Nearest(m_Amplitude);
    const qint16 low = Nearest(-m_Amplitude);
    int counter = 0;
    for (int k = 0; k < m_NumSamples; ++k) {
        ++counter;
        OnGenerate(k, counter <= half ? high : low);
        if (counter == period)
            counter = 0;
    }
}

void TGenerator::GenerateSquare2()
{
    const double omega = double(TwoPiL * m_SignalFrequency / m_SamplingFrequency);
    const double high = m_Amplitude;
    for (int k = 0; k < m_NumSamples; ++k) {
        const double x = omega * (k + 1) - m_Phase;
        const double s = std::sin(x);
        double sign;
        if (s > 0.0)
            sign = 1.0;
        else if (s < 0.0)
            sign = -1.0;
        else
            sign = x < Pi ? 1.0 : -1.0;
        OnGenerate(k, Nearest(high * sign));
    }
}

void TGenerator::GenerateTriangle()
{
    const double omega = double(TwoPiL * m_SignalFrequency / m_SamplingFrequency);
    for (int k = 0; k < m_NumSamples; ++k) {
        const double x = omega * k - m_Phase;
        const double t
            = std::abs(std::sin(x / 2.0 + Pi / 4.0)) - std::abs(std::cos(x / 2.0 + Pi / 4.0));
        OnGenerate(k, Nearest(m_Amplitude * t));
    }
}

void TGenerator::GenerateChirp()
{
    const double c = double(PiL / m_SamplingFrequency) * (m_SignalFrequency / m_NumSamples);
    for (int k = 0; k < m_NumSamples; ++k) {
        // 64-bit square: k² leaves the 32-bit range from k = 46341 on.
        const qint64 k2 = qint64(k) * qint64(k);
        OnGenerate(k, Nearest(m_Amplitude * std::sin(c * double(k2))));
    }
}

void TGenerator::GenerateWhiteNoise()
{
    m_Seed = m_SeedSource ? m_SeedSource() : MillisecondsSinceMidnightUtc();
    for (int k = 0; k < m_NumSamples; ++k)
        OnGenerate(k, Nearest(NoiseValue() * m_VolumeInPercents / 100.0));
}

void TGenerator::GeneratePinkNoise()
{
    if (m_NumSamples <= 0)
        return;
    m_Seed = m_SeedSource ? m_SeedSource() : MillisecondsSinceMidnightUtc();
    const int length = PowerOfTwoBelow(m_NumSamples);
    const int rows = std::max(1, Log2(length));

    // Only the sum of the rows is needed; the values are drawn row by row, each row's
    // blocks in rising order, exactly as if every row were kept.
    std::vector<qint32> sum;
    try {
        sum.assign(size_t(length), 0);
    } catch (const std::bad_alloc &) {
        throw EGeneratorError(NoMemoryText());
    }
    for (int row = 0; row < rows; ++row) {
        const int hold = 1 << row;
        for (int start = 0; start < length; start += hold) {
            const qint32 r = NoiseValue();
            const int end = std::min(length, start + hold);
            for (int i = start; i < end; ++i)
                sum[size_t(i)] += r;
        }
    }
    for (int k = 0; k < m_NumSamples; ++k) {
        const double value = double(sum[size_t(k % length)]) / rows * m_VolumeInPercents / 100.0;
        OnGenerate(k, Nearest(value));
    }
}

void TGenerator::GenerateMLS()
{
    if (m_NumSamples <= 0)
        return;
    // Shortest register is 3 bits (8 entries); a shorter block gets the start of that one.
    const int length = std::min(std::max(PowerOfTwoBelow(m_NumSamples), 8), 16384);
    const int n = Log2(length);
    const TMlsTaps taps = MlsTaps[size_t(n)];
    const bool fourTaps = taps.T2 != 0;

    std::vector<qint16> work;
    try {
        work.assign(size_t(length), 0);
    } catch (const std::bad_alloc &) {
        throw EGeneratorError(NoMemoryText());
    }
    for (int i = length - n; i < length; ++i)
        work[size_t(i)] = MlsHigh;
    auto bit = [&](int i) {
        return work[size_t(i)] == MlsHigh ? 1 : 0;
    };
    for (int i = length - n - 1; i >= 0; --i) {
        int b = bit(i + taps.T1) ^ bit(i + n);
        if (fourTaps)
            b ^= bit(i + taps.T2) ^ bit(i + taps.T3);
        work[size_t(i)] = b ? MlsHigh : MlsLow;
    }
    for (int k = 0; k < m_NumSamples; ++k)
        OnGenerate(k, work[size_t(k % length)]);
}

void TGenerator::GenerateImpuls()
{
    const double m = std::nearbyint(m_NumSamples * m_ImpulsLength / 100.0);
    const qint16 high = Nearest(m_Amplitude);
    for (int k = 0; k < m_NumSamples; ++k)
        OnGenerate(k, k < m ? high : 0);
}
