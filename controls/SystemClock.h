#pragma once

#include "controls/Clock.h"

#include <QElapsedTimer>

// Real time: QElapsedTimer for the tick count, a nested event loop for waits and QTimer
// for the timers.
class TSystemClock final : public TClock
{
public:
    TSystemClock();

    qint64 NowMs() const override;
    void WaitProcessing(int ms) override;
    std::unique_ptr<TClockTimer> CreateTimer() override;

private:
    QElapsedTimer m_elapsed;
};
