#pragma once

#include <QEvent>

// The program's window messages as Qt event types. Synchronous messages are delivered with
// QCoreApplication::sendEvent (BroadcastToForms for the ones every window gets); the level
// meter's update is posted with QCoreApplication::postEvent.
namespace OrviMessage {
constexpr int UserBase = QEvent::User; // plays the role of WM_USER
constexpr QEvent::Type TurntableMark = QEvent::Type(UserBase + 101); // marker counted / angle reset
constexpr QEvent::Type MeterUpdate
    = QEvent::Type(UserBase + 102); // posted: buffer ready for needle
constexpr QEvent::Type RecordAppend
    = QEvent::Type(UserBase + 103); // start appending to the raw file
constexpr QEvent::Type RecordStop = QEvent::Type(UserBase + 104); // stop recording, close the file
constexpr QEvent::Type RecordStart = QEvent::Type(UserBase + 105); // open raw file, start recording
constexpr QEvent::Type RangeProgress = QEvent::Type(UserBase + 106); // progress 0..100
constexpr QEvent::Type ProgramClosing = QEvent::Type(UserBase + 107); // turntable stops any move
} // namespace OrviMessage

// A window message with its one parameter (the progress value of RangeProgress).
class TOrviEvent : public QEvent
{
public:
    explicit TOrviEvent(QEvent::Type type, qintptr wParam = 0)
        : QEvent(type)
        , WParam(wParam)
    { }
    qintptr WParam;
};
