#pragma once

#include "audio/SignalType.h"

#include <QCoreApplication>
#include <QString>

#include <optional>
#include <vector>

// What the user asks of a broadband analysis: the frequencies of the band polars, the
// smoothing of each band's level and the gate of the impulse responses.
struct TBroadbandOptions
{
    Q_DECLARE_TR_FUNCTIONS(TBroadbandOptions)

public:
    std::vector<double> BandsHz { 500, 1000, 2000, 4000, 8000, 16000 }; // rising, Hz
    int Smoothing = 0; // 0: none; N: 1/N octave (3, 6, 12 or 24)
    double GateMs = 0.0; // 0: automatic; otherwise the gate's length after the direct sound, ms
    // The plane the turn sweeps: horizontal, or vertical, where the table's +θ puts the
    // microphone θ above the loudspeaker's axis (the loudspeaker lies on its side for it).
    bool Vertical = false;
    // The microphone's calibration file (absolute path; empty: none), whose response is taken
    // off every broadband response, and the input's sensitivity: the RMS level in dB FS a
    // 94 dB SPL tone gives (none: responses stay relative to full scale).
    QString MicCalFile;
    std::optional<double> SensitivityDbfs;
    // The sensitivities taken, dB FS at 94 dB SPL (beyond them lies a typing error).
    static constexpr double LowestSensitivityDbfs = -150.0;
    static constexpr double HighestSensitivityDbfs = 20.0;

    // "500, 1000 2000;4000" (commas, semicolons or spaces between, "." as the decimal mark):
    // rising, distinct, each 1 .. 96000 Hz. std::nullopt with the reason in *error.
    static std::optional<std::vector<double>> ParseBands(const QString &text,
                                                         QString *error = nullptr);
    // "500, 1000, 2000" as the dialog shows the list.
    static QString BandsText(const std::vector<double> &bands);
    // "none", "1/3", "1/6", "1/12", "1/24" -> 0, 3, 6, 12, 24.
    static std::optional<int> ParseSmoothing(const QString &text);
    static QString SmoothingName(int smoothing);
    static const std::vector<int> &SmoothingChoices(); // 0, 3, 6, 12, 24

    // Why a signal cannot drive a broadband analysis of these bands (a Polish sentence for
    // the user), or an empty string when it can: MLS, or Chirp whose end frequency is at
    // least the highest band. The other signals do not repeat every block or, as "Impuls",
    // leave every second frequency without energy.
    static QString SignalRefusal(TSignalType signal, double frequencyHz,
                                 const std::vector<double> &bands);
    // Why a recording at sampleRate Hz cannot give these bands (a Polish sentence naming the
    // first band at or above half the rate, where the recording holds nothing but aliases),
    // or an empty string when it can.
    static QString BandRefusal(const std::vector<double> &bands, int sampleRate);
};
