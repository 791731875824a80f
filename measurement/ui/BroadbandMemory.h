#pragma once

#include "measurement/ui/BroadbandGroup.h"

#include <QObject>

// The "Analiza szerokopasmowa" group as "Nowy pomiar" last left it, for the next "Nowy
// pomiar". It is kept as a child of the generator window, like the signal fields, which act
// on that window: for as long as the window lives (the program run), and changes made before
// a Cancel stay. GUI thread only; owned by its owner object.
class TBroadbandMemory : public QObject
{
    Q_OBJECT

public:
    // owner's memory, made (with the defaults of a new group) on first use.
    static TBroadbandMemory &Of(QObject &owner);

    TBroadbandGroup::TFields Fields;

private:
    explicit TBroadbandMemory(QObject *owner);
};
