#include "audio/DeviceList.h"

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
