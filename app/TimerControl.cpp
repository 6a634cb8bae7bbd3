#include "TimerControl.h"

void TimerControl::setPeriod(int32_t milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (milliseconds == period_) return;
    period_ = milliseconds;
    if (period_ == 0)
        driver_.stop();
    else
        driver_.start(period_);
}
