#pragma once

#include <QString>

#include <optional>

// The kinds of test signal the generator computes, in their stored order (the order is
// part of the program's interface: the measurement parameters keep the index).
enum class TSignalType {
    Sinus,
    Cosinus,
    Square1, // counter-based square wave, period quantised to an even number of samples
    Square2, // square wave from the sign of a sine, follows the phase chain
    Triangle,
    Chirp,
    WhiteNoise,
    PinkNoise,
    MLS,
    Impuls
};

inline constexpr int SignalTypeCount = 10;

// The type's name as written in code ("Sinus", "Square1", ...); used by orvi-cli.
QString SignalTypeName(TSignalType type);

// Case-sensitive inverse of SignalTypeName; no value for an unknown name.
std::optional<TSignalType> SignalTypeFromName(const QString &name);
