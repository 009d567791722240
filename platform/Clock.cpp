#include "platform/Clock.h"

#include "platform/Timer.h"

#include <QTimer>

#include <map>
#include <memory>

namespace {

class SystemClock : public Clock {
 public:
  QDateTime Now() const override { return QDateTime::currentDateTime(); }
  qint64 Milliseconds() const override { return QDateTime::currentMSecsSinceEpoch(); }

  void Schedule(Timer& timer) override {
    auto driver = std::make_unique<QTimer>();
    driver->setInterval(timer.Interval());
    QObject::connect(driver.get(), &QTimer::timeout, [&timer] { timer.Fire(); });
    driver->start();
    drivers_[&timer] = std::move(driver);
  }

  void Unschedule(Timer& timer) override { drivers_.erase(&timer); }

 private:
  std::map<Timer*, std::unique_ptr<QTimer>> drivers_;
};

}  // namespace

Clock& Clock::Default() {
  static SystemClock clock;
  return clock;
}
