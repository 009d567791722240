#include "platform/Clock.h"
#include "platform/Timer.h"
#include "tests/fixtures/ManualClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

TEST(ManualClock, FiresDueTimersInTimeOrderAsItMoves) {
  ManualClock clock;
  const QDateTime start = clock.Now();
  QStringList fired;
  Timer slow(15000), fast(1000);
  slow.OnTimer = [&] { fired << QStringLiteral("slow@%1").arg(start.msecsTo(clock.Now())); };
  fast.OnTimer = [&] { fired << QStringLiteral("fast@%1").arg(start.msecsTo(clock.Now())); };
  slow.SetEnabled(true);
  fast.SetEnabled(true);

  clock.Advance(14999);
  EXPECT_EQ(fired.size(), 14);
  fired.clear();
  clock.Advance(1);
  EXPECT_EQ(fired, QStringList({u"slow@15000"_qs, u"fast@15000"_qs}));  // enabled first, fires first
  EXPECT_EQ(start.msecsTo(clock.Now()), 15000);
}

TEST(ManualClock, ADisabledTimerNeverFiresAndMayStopItselfWhileFiring) {
  ManualClock clock;
  int count = 0;
  Timer timer(100);
  timer.OnTimer = [&] {
    if (++count == 2) timer.SetEnabled(false);
  };
  clock.Advance(1000);
  EXPECT_EQ(count, 0);
  timer.SetEnabled(true);
  clock.Advance(1000);
  EXPECT_EQ(count, 2);
  EXPECT_FALSE(timer.Enabled());
}

TEST(ManualClock, ADestroyedTimerLeavesTheClock) {
  ManualClock clock;
  int count = 0;
  {
    Timer timer(10);
    timer.OnTimer = [&] { ++count; };
    timer.SetEnabled(true);
    clock.Advance(10);
  }
  clock.Advance(1000);
  EXPECT_EQ(count, 1);
}

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
