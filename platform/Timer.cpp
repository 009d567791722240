#include "platform/Timer.h"

#include "platform/Clock.h"

Timer::~Timer() { SetEnabled(false); }

void Timer::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  if (enabled) {
    clock_ = &ClockSeam::Get();
    clock_->Schedule(*this);
  } else {
    Clock* clock = clock_;
    clock_ = nullptr;
    clock->Unschedule(*this);
  }
}

void Timer::SetInterval(int interval) {
  interval_ = interval;
  if (Enabled()) {  // restart, as a changed interval does
    SetEnabled(false);
    SetEnabled(true);
  }
}

void Timer::Fire() {
  if (Enabled() && OnTimer) OnTimer();
}
