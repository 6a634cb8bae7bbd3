#pragma once
#include <cstdint>

// The platform side of a timer: start (or restart) with a period, or stop.
class TimerDriver {
public:
    virtual void start(int32_t milliseconds) = 0;
    virtual void stop() = 0;
protected:
    ~TimerDriver() = default;
};

// A timer's `period` property.  Writing the current period changes nothing,
// so a running timer keeps its phase: the suppression window rests on that.
class TimerControl {
public:
    explicit TimerControl(TimerDriver& driver) : driver_(driver) {}
    int32_t period() const { return period_; }
    void setPeriod(int32_t milliseconds);

private:
    TimerDriver& driver_;
    int32_t period_ = 0;  // 0: stopped
};
