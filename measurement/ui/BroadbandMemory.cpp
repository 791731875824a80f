#include "measurement/ui/BroadbandMemory.h"

TBroadbandMemory::TBroadbandMemory(QObject *owner)
    : QObject(owner)
{ }

TBroadbandMemory &TBroadbandMemory::Of(QObject &owner)
{
    if (auto *memory = owner.findChild<TBroadbandMemory *>(QString(), Qt::FindDirectChildrenOnly))
        return *memory;
    return *new TBroadbandMemory(&owner); // owned by owner from here
}
