// The window's timer on Qt: a single-shot timer armed afresh at every tick for the next one, just
// after the wall clock's second turns for a whole-second interval, so that a clock label shows
// every second once however busy the machine is. It keeps the interval the window's model gave.
#pragma once

#include "platform/TickSchedule.h"

#include <QDateTime>
#include <QTimer>

namespace zanthera::qt {

class SteppedTimer : public QTimer {
  public:
    explicit SteppedTimer(QObject* parent) : QTimer(parent) {
        setSingleShot(true);
        setTimerType(Qt::PreciseTimer);
        // Connected first, so the next tick is armed before the tick's own work runs.
        connect(this, &QTimer::timeout, this, [this] {
            if (modelInterval_ > 0)
                start(nextDelay());
        });
    }

    // 0 stops the timer.
    void run(int milliseconds) {
        modelInterval_ = milliseconds;
        if (milliseconds == 0)
            stop();
        else
            start(nextDelay());
    }
    int modelInterval() const { return modelInterval_; }

  private:
    int nextDelay() const {
        return tickDelayMs(modelInterval_, QDateTime::currentMSecsSinceEpoch());
    }

    int modelInterval_ = 0;
};

} // namespace zanthera::qt
