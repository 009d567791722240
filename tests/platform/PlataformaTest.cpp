#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/Paths.h"
#include "platform/ProcessLauncher.h"
#include "platform/TextFile.h"
#include "platform/Timer.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

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

TEST(Cp1252, EveryByteRoundTripsTheSystemsSpecialOnesMapAndOthersBecomeQuestionMarks) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  const QString text = Cp1252::decode(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(Cp1252::encode(text), all);
  for (const auto& [byte, unicode] : {std::pair{0x80, 0x20AC}, {0xB7, 0x00B7}, {0xFF, 0x00FF}, {0xF1, 0x00F1},
                                      {0x93, 0x201C}, {0x81, 0x0081}, {0x9F, 0x0178}, {'A', 'A'}})
    EXPECT_EQ(text.at(byte).unicode(), unicode) << byte;
  EXPECT_EQ(Cp1252::encode(u"a\u4E2Db\u0394"), QByteArray("a?b?"));
}

TEST(Paths, ExecutableNameIsTheUpperCasedBaseNameWithAnExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"/opt/zem/zemwin", "ZEMWIN.EXE"},       {"./maspwin", "MASPWIN.EXE"},
      {"C:\\ZEM\\ZemWin.exe", "ZEMWIN.EXE"},   {"tuvawin.bin", "TUVAWIN.BIN"}, {"ZEMWIN", "ZEMWIN.EXE"},
  };
  for (const auto& [startedAs, expected] : cases)
    EXPECT_EQ(Paths::ExecutableName(QString::fromUtf8(startedAs)), QString::fromUtf8(expected)) << startedAs;
}

TEST(Paths, BothSeparatorsCount) {
  for (const auto& [path, separated] :
       {std::pair{u"D:\\CFG\\OTRO.INI", true}, {u"/etc/zem/OTRO.INI", true}, {u"OTRO.INI", false}})
    EXPECT_EQ(Paths::HasSeparator(QString::fromUtf16(path)), separated) << QString::fromUtf16(path).toStdString();
  EXPECT_EQ(QStringList({Paths::Internal(u"D:\\CFG\\OTRO.INI"_qs), Paths::Join(u"C:\\ZEM\\"_qs, u"ZEMWIN.INI"_qs),
                         Paths::Join(u"/zem"_qs, u"ZEMWIN.INI"_qs)}),
            QStringList({"D:/CFG/OTRO.INI", "C:/ZEM/ZEMWIN.INI", "/zem/ZEMWIN.INI"}));
}

TEST(Paths, FixedNamesAreFoundWithoutRegardToCase) {
  TemporaryFolder folder;
  TextFile::Write(folder.File("zemwin.ini"), QString());
  EXPECT_EQ(Paths::FindFile(folder.Path(), u"ZEMWIN.INI"_qs), folder.File("zemwin.ini"));
  EXPECT_EQ(Paths::FindFile(folder.Path(), u"ZEMWIN.MAP"_qs), folder.File("ZEMWIN.MAP"));
}

TEST(SystemLauncher, StartsOrWaitsForTheProgramGivingItsExitCode) {
  ProcessLauncher& launcher = ProcessLauncher::Default();
  EXPECT_EQ(launcher.Run(u"/bin/true"_qs, {}, {}), 0);
  EXPECT_EQ(launcher.Run(u"/bin/sh"_qs, {u"-c"_qs, u"exit 3"_qs}, {}), 3);
  EXPECT_EQ(launcher.Run(u"/nonexistent/PROGRAMA.EXE"_qs, {}, {}), std::nullopt);
  EXPECT_TRUE(launcher.Start(u"/bin/true"_qs, {}, {}));
  EXPECT_FALSE(launcher.Start(u"/nonexistent/PROGRAMA.EXE"_qs, {}, {}));
}

// An application told to end outside its main loop (a modal window's, as the
// idle limit or a failed start do) ends every event loop from then on: the
// program run meanwhile is still waited for, not killed halfway.
TEST(SystemLauncher, WaitsForTheProgramAlsoWhenTheApplicationIsToldToEnd) {
  TemporaryFolder folder;
  QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
  const std::optional<int> code =
      ProcessLauncher::Default().Run(u"/bin/sh"_qs, {u"-c"_qs, u"sleep 0.3; echo > hecho.txt; exit 4"_qs}, folder.Path());
  // The main loop run once more starts the application's loops afresh.
  QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
  QCoreApplication::exec();
  EXPECT_EQ(code, 4);
  EXPECT_TRUE(QFile::exists(folder.File("hecho.txt")));
}

TEST(SystemLauncher, PassesArgumentsAsTheyAreAndRunsInTheWorkingFolder) {
  TemporaryFolder folder;
  // A quote or a semicolon in an argument reaches the program unchanged.
  const QString argument = u"L=C:\\A B\\X.TXT'; rm -rf x"_qs;
  EXPECT_EQ(ProcessLauncher::Default().Run(
                u"/bin/sh"_qs, {u"-c"_qs, u"printf '%s' \"$1\" > salida.txt"_qs, u"sh"_qs, argument}, folder.Path()),
            0);
  QFile output(folder.File("salida.txt"));
  ASSERT_TRUE(output.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(output.readAll()), argument);
}
