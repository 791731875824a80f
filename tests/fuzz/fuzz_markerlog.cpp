// The marker log reader on any text. A log that reads gives finite angles that never run
// backwards, puts each marker at its 10° step, and its own text reads back to the same log.
#include "analysis/MarkerLog.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckAngles(const TMarkerLog &log)
{
    const std::vector<double> &markers = log.MarkerSamples;
    std::vector<double> positions { 0.0, double(log.RecordedSamples),
                                    double(log.RecordedSamples) / 2.0 };
    if (!markers.empty()) {
        positions.push_back(markers.front() - 1.0);
        positions.push_back(markers.back() + 1.0);
        positions.push_back(markers[markers.size() / 2]);
        positions.push_back((markers.front() + markers.back()) / 2.0);
    }
    for (std::size_t i = 0; i < log.Positions.size() && i < 64; ++i)
        positions.push_back(log.Positions[i].Sample + 0.5);
    std::sort(positions.begin(), positions.end());
    Check(std::isfinite(log.MeanSpeed()) && log.MeanSpeed() >= 0.0);
    double previous = -INFINITY;
    for (const double position : positions) {
        const double angle = log.AngleAt(position);
        Check(std::isfinite(angle) && angle >= previous);
        previous = angle;
    }
    // A marker not shared with its neighbour lies exactly at its step.
    for (std::size_t i = 0; i < markers.size() && i < 64 && log.Positions.size() < 2; ++i) {
        const bool alone = (i == 0 || markers[i - 1] < markers[i])
            && (i + 1 == markers.size() || markers[i + 1] > markers[i]);
        const double step = log.StartDeg + 10.0 * double(i + 1);
        Check(!alone || std::fabs(log.AngleAt(markers[i]) - step) < 1e-6);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray text
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const std::optional<TMarkerLog> log = TMarkerLog::FromText(text, &error);
    if (!log) {
        Check(!error.isEmpty());
        return 0;
    }
    Check(log->StartDeg < log->StopDeg);
    CheckAngles(*log);

    const std::optional<TMarkerLog> back = TMarkerLog::FromText(log->ToText(), &error);
    Check(back.has_value());
    Check(back->Signal == log->Signal && back->FrequencyHz == log->FrequencyHz
          && back->AmplitudePercent == log->AmplitudePercent
          && back->PlayBufferBytes == log->PlayBufferBytes && back->SampleRate == log->SampleRate
          && back->StartDeg == log->StartDeg && back->StopDeg == log->StopDeg
          && back->LeadMs == log->LeadMs && back->RecordedSamples == log->RecordedSamples
          && back->MarkerSamples == log->MarkerSamples
          && back->Positions.size() == log->Positions.size());
    for (std::size_t i = 0; i < log->Positions.size(); ++i)
        Check(back->Positions[i].Sample == log->Positions[i].Sample
              && back->Positions[i].Degrees == log->Positions[i].Degrees);
    return 0;
}
