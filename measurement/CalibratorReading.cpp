#include "measurement/CalibratorReading.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double LevelOf(double sumSquares, qint64 count)
{
    if (count <= 0 || sumSquares <= 0.0)
        return -std::numeric_limits<double>::infinity();
    const double meanSquare = sumSquares / double(count);
    return 10.0
        * std::log10(meanSquare / (TCalibratorReading::FullScale * TCalibratorReading::FullScale));
}

} // namespace

TCalibratorReading::TCalibratorReading(int sampleRate, qint64 samplesExpected)
    : m_blockLength(std::max<qint64>(1, qint64(sampleRate) * BlockMs / 1000))
{
    if (samplesExpected > 0)
        m_blockLevels.reserve(size_t(samplesExpected / m_blockLength + 1));
}

void TCalibratorReading::Add(const qint16 *samples, qint64 count)
{
    for (qint64 i = 0; i < count; ++i) {
        const qint16 sample = samples[i];
        if (sample == std::numeric_limits<qint16>::max()
            || sample == std::numeric_limits<qint16>::min())
            m_clipped = true;
        const double square = double(sample) * double(sample);
        m_sumSquares += square;
        m_blockSquares += square;
        if (++m_blockCount == m_blockLength)
            CloseBlock();
    }
    m_count += std::max<qint64>(0, count);
}

void TCalibratorReading::CloseBlock()
{
    m_blockLevels.push_back(LevelOf(m_blockSquares, m_blockCount));
    m_blockSquares = 0.0;
    m_blockCount = 0;
}

double TCalibratorReading::LevelDbfs() const
{
    return LevelOf(m_sumSquares, m_count);
}

double TCalibratorReading::SpreadDb() const
{
    if (m_blockLevels.size() < 2)
        return 0.0;
    const auto [lowest, highest] = std::minmax_element(m_blockLevels.begin(), m_blockLevels.end());
    // A silent block among loud ones is an infinite spread, which is refused as it should be.
    if (std::isinf(*lowest) && std::isinf(*highest) && *lowest == *highest)
        return 0.0;
    return *highest - *lowest;
}

QString TCalibratorReading::Problem() const
{
    if (m_count == 0)
        return tr("Nie nagrano żadnej próbki.");
    if (m_clipped)
        return tr("Nagranie jest przesterowane (próbki osiągnęły pełną skalę): "
                  "zmniejsz wzmocnienie wejścia i powtórz pomiar.");
    if (!(LevelDbfs() >= LowestLevelDbfs))
        return tr("Poziom jest niższy niż %1 dBFS: sprawdź, czy kalibrator jest "
                  "włączony i nałożony na mikrofon.")
            .arg(DbText(LowestLevelDbfs));
    if (SpreadDb() > HighestSpreadDb)
        return tr("Poziom nie był stały (rozrzut %1 dB, dopuszczalne %2 dB): "
                  "trzymaj kalibrator nieruchomo i powtórz pomiar.")
            .arg(DbText(SpreadDb()), DbText(HighestSpreadDb));
    return {};
}

double TCalibratorReading::SensitivityDbfs(double calibratorDbSpl) const
{
    return LevelDbfs() - (calibratorDbSpl - ReferenceDbSpl);
}

QString TCalibratorReading::DbText(double db)
{
    if (std::isinf(db))
        return db < 0 ? QStringLiteral("−∞") : QStringLiteral("∞");
    return QString::number(db, 'f', 2).replace(QLatin1Char('-'), QChar(0x2212));
}
