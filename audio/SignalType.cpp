#include "audio/SignalType.h"

#include <array>

namespace {
constexpr std::array<const char *, SignalTypeCount> Names
    = { "Sinus", "Cosinus",    "Square1",   "Square2", "Triangle",
        "Chirp", "WhiteNoise", "PinkNoise", "MLS",     "Impuls" };
}

QString SignalTypeName(TSignalType type)
{
    const int index = int(type);
    if (index < 0 || index >= SignalTypeCount)
        return QString();
    return QString::fromLatin1(Names[size_t(index)]);
}

std::optional<TSignalType> SignalTypeFromName(const QString &name)
{
    for (int i = 0; i < SignalTypeCount; ++i) {
        if (name == QLatin1String(Names[size_t(i)]))
            return TSignalType(i);
    }
    return std::nullopt;
}
