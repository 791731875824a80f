#include "audio/DeviceList.h"

#include <algorithm>

QStringList TDeviceList::Names(EAudioBackend backend, EAudioDirection direction)
{
    QStringList names = TAudioBackend::DeviceNames(backend, direction);
    for (QString &name : names)
        name = ShortName(name);
    return names;
}

QString TDeviceList::ShortName(const QString &name)
{
    if (name.size() <= MaxNameLength)
        return name;
    int length = MaxNameLength;
    if (name.at(length - 1).isHighSurrogate())
        --length;
    return name.left(length);
}

std::vector<int> TDeviceList::Numbering(const std::vector<int> &devices, int defaultDevice)
{
    std::vector<int> numbered;
    numbered.reserve(devices.size());
    if (std::find(devices.begin(), devices.end(), defaultDevice) != devices.end())
        numbered.push_back(defaultDevice);
    for (int device : devices)
        if (device != defaultDevice)
            numbered.push_back(device);
    return numbered;
}

QString TDeviceList::DefaultDeviceName(const QString &deviceName)
{
    return tr("Domyślne urządzenie (%1)").arg(deviceName);
}
