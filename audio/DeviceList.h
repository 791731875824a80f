#pragma once

#include "audio/AudioBackend.h"

#include <QCoreApplication>
#include <QStringList>

#include <vector>

// The device lists the options dialog and the command line offer: names of at most 32
// characters, index = device number (the number WaveINDevID / WaveOUTDevID store). Number 0
// is the system's default device of that direction. GUI thread only.
class TDeviceList
{
    Q_DECLARE_TR_FUNCTIONS(TDeviceList)

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

    // The numbering of one direction: `devices` are the backend's own indexes of the
    // devices of that direction in the backend's order, `defaultDevice` the backend's
    // default (or any value not in `devices` when there is none). The result holds the
    // backend index of every device number: the default first, then the others in their
    // order, the default not repeated. Without a default the backend's order is kept.
    static std::vector<int> Numbering(const std::vector<int> &devices, int defaultDevice);

    // How the default device is listed: "Domyślne urządzenie (<its own name>)".
    static QString DefaultDeviceName(const QString &deviceName);
};
