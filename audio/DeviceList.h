#pragma once

#include "audio/AudioBackend.h"

#include <QStringList>

// The device lists the options dialog offers: names of at most 32 characters, index =
// device number (the number WaveINDevID / WaveOUTDevID store). GUI thread only.
class TDeviceList
{
public:
    static constexpr int MaxNameLength = 32;

    static QStringList InputDevices()
    {
        return Names(TAudioBackend::Default(), EAudioDirection::Input);
    }
    static QStringList OutputDevices()
    {
        return Names(TAudioBackend::Default(), EAudioDirection::Output);
    }
    static QStringList Names(EAudioBackend backend, EAudioDirection direction);

    // Cuts a name to MaxNameLength characters without splitting a surrogate pair.
    static QString ShortName(const QString &name);
};
