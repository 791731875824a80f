#pragma once

#include "audio/SignalType.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

// What is kept beside a recording so that it can be analysed again: the excitation the
// generator played (enough to make it again), the turned range, and for each counted
// turntable marker the recording's sample position at the moment it was counted. The
// table reaches a marker every 10 degrees: marker k (1-based) is at StartDeg + 10·k.
//
// Angles of any sample come from the markers: linear between two markers, and before the
// first / after the last by the mean speed between the first and the last (with only one
// marker, the speed of the whole recording over the range). A table that reports its own
// position (a Grbl table) adds a position for every report; with two or more of them the
// angles come from those instead, in the same way. Stored as a small UTF-8 text file (key =
// value lines, then one "marker <k> <sample>" line per marker and one "position <sample>
// <degrees>" line per report).
class TMarkerLog
{
    Q_DECLARE_TR_FUNCTIONS(TMarkerLog)

public:
    TSignalType Signal = TSignalType::MLS;
    double FrequencyHz = 1000.0;
    double AmplitudePercent = 100.0;
    int PlayBufferBytes = 16384; // the generator block is PlayBufferBytes / 2 samples
    int SampleRate = 44100; // Hz
    int StartDeg = 0;
    int StopDeg = 360;
    // How long the excitation had been playing before the first recorded sample, ms
    // (the rig is in steady state from then on); negative: not known.
    double LeadMs = -1.0;
    qint64 RecordedSamples = 0; // samples in the recording
    // Sample position (fractional) of each counted marker, in counting order, rising.
    std::vector<double> MarkerSamples;
    // The text line (1-based) each marker was read from; empty for a log not read from text.
    // Not written by ToText.
    std::vector<int> MarkerLines;
    // The table's reported angle (degrees, as the range counts them) at a sample position
    // (fractional), samples rising.
    struct TPosition
    {
        double Sample = 0.0;
        double Degrees = 0.0;
    };
    std::vector<TPosition> Positions;
    std::vector<int> PositionLines; // as MarkerLines

    // The table's angle in degrees at sample position `sample` (fractional); without any
    // marker, StartDeg at sample 0 turning evenly at MeanSpeed().
    double AngleAt(double sample) const;
    // Degrees per sample from the positions or else the markers (mean speed), or from the range
    // over the whole
    // recording when there are fewer than two markers (or they lie less than a sample apart);
    // 0 for an empty recording without markers.
    double MeanSpeed() const;

    // Why the markers cannot belong to a recording of recordedSamples samples (a Polish
    // sentence naming the first marker that lies more than a second of samples beyond its
    // end, with its line when known), or an empty string when they all lie inside it.
    QString MarkerRefusal(qint64 recordedSamples) const;
    // The whole angle in degrees where the recording of RecordedSamples samples ends, when the
    // markers show that it ended more than half a marker step before StopDeg; std::nullopt
    // when it covers the range (or nothing tells: no markers).
    std::optional<int> EarlyEndDeg() const;

    QByteArray ToText() const;
    // The log of text; std::nullopt with a reason (Polish, for the user) in *error for
    // anything malformed (unknown key values, non-finite or out-of-range numbers, markers not
    // rising, sample positions beyond 2^48). Whether the markers lie inside the recording is
    // checked against the recording (MarkerRefusal). Unknown keys are ignored; "signal" and "rate"
    // are required, other missing keys keep their defaults.
    static std::optional<TMarkerLog> FromText(const QByteArray &text, QString *error = nullptr);

    // The log's file beside a recording: "<recording without .wav>.markers.txt".
    static QString PathFor(const QString &recordingPath);

private:
    // AngleAt from two or more positions; speed beyond their ends.
    double PositionAngleAt(double sample, double speed) const;
};
