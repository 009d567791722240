#pragma once

#include <functional>

class Clock;

// A repeating timer with an interval in milliseconds, driven by the clock in
// use when it is enabled. It is off until enabled and stops when destroyed.
class Timer {
 public:
  explicit Timer(int interval = 1000) : interval_(interval) {}
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  int Interval() const { return interval_; }
  void SetInterval(int interval);
  bool Enabled() const { return clock_ != nullptr; }
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

  // Called by the clock when the interval has passed.
  void Fire();

 private:
  int interval_;
  Clock* clock_ = nullptr;
};
