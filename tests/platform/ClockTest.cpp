#include "platform/Clock.h"
#include "platform/Timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

TEST(SystemClock, RunsTimersOnTheEventLoop) {
  ASSERT_EQ(&ClockSeam::Get(), &Clock::Default());
  Timer timer(5);
  int count = 0;
  timer.OnTimer = [&] { ++count; };
  timer.SetEnabled(true);
  QElapsedTimer waited;
  waited.start();
  while (count < 2 && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  timer.SetEnabled(false);
  EXPECT_GE(count, 2);
}
