#pragma once

#include "platform/Seam.h"

#include <QDateTime>

class Timer;

// The time of day and the driver of the program's timers. The system clock
// runs timers on the event loop; tests replace it with one they move by hand.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime Now() const = 0;
  // The same instant in milliseconds: cheap enough to ask at every record.
  virtual qint64 Milliseconds() const { return Now().toMSecsSinceEpoch(); }
  virtual void Schedule(Timer& timer) = 0;
  virtual void Unschedule(Timer& timer) = 0;

  static Clock& Default();
};

using ClockSeam = Seam<Clock>;
