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

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  const QString text = Cp1252::decode(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(Cp1252::encode(text), all);
}

TEST(Cp1252, MapsTheSystemsSpecialCharacters) {
  struct Case {
    unsigned char byte;
    char16_t unicode;
  };
  const Case cases[] = {{0x80, 0x20AC}, {0xB7, 0x00B7}, {0xFF, 0x00FF}, {0xF1, 0x00F1},
                        {0x93, 0x201C}, {0x81, 0x0081}, {0x9F, 0x0178}, {'A', 'A'}};
  for (const Case& c : cases) {
    const QString text = Cp1252::decode(QByteArray(1, static_cast<char>(c.byte)));
    EXPECT_EQ(text.at(0).unicode(), c.unicode) << int(c.byte);
  }
}

TEST(Cp1252, CharactersOutsideThePageBecomeQuestionMarks) {
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
  EXPECT_TRUE(Paths::HasSeparator(QStringLiteral("D:\\CFG\\OTRO.INI")));
  EXPECT_TRUE(Paths::HasSeparator(QStringLiteral("/etc/zem/OTRO.INI")));
  EXPECT_FALSE(Paths::HasSeparator(QStringLiteral("OTRO.INI")));
  EXPECT_EQ(Paths::Internal(QStringLiteral("D:\\CFG\\OTRO.INI")), QStringLiteral("D:/CFG/OTRO.INI"));
  EXPECT_EQ(Paths::Join(QStringLiteral("C:\\ZEM\\"), QStringLiteral("ZEMWIN.INI")), QStringLiteral("C:/ZEM/ZEMWIN.INI"));
  EXPECT_EQ(Paths::Join(QStringLiteral("/zem"), QStringLiteral("ZEMWIN.INI")), QStringLiteral("/zem/ZEMWIN.INI"));
}

TEST(Paths, FixedNamesAreFoundWithoutRegardToCase) {
  TemporaryFolder folder;
  TextFile::Write(folder.File("zemwin.ini"), QString());
  EXPECT_EQ(Paths::FindFile(folder.Path(), QStringLiteral("ZEMWIN.INI")), folder.File("zemwin.ini"));
  EXPECT_EQ(Paths::FindFile(folder.Path(), QStringLiteral("ZEMWIN.MAP")), folder.File("ZEMWIN.MAP"));
}

TEST(SystemLauncher, StartsOrWaitsForTheProgramGivingItsExitCode) {
  ProcessLauncher& launcher = ProcessLauncher::Default();
  EXPECT_EQ(launcher.Run(QStringLiteral("/bin/true"), {}, {}), 0);
  EXPECT_EQ(launcher.Run(QStringLiteral("/bin/sh"), {u"-c"_qs, u"exit 3"_qs}, {}), 3);
  EXPECT_EQ(launcher.Run(QStringLiteral("/nonexistent/PROGRAMA.EXE"), {}, {}), std::nullopt);
  EXPECT_TRUE(launcher.Start(QStringLiteral("/bin/true"), {}, {}));
  EXPECT_FALSE(launcher.Start(QStringLiteral("/nonexistent/PROGRAMA.EXE"), {}, {}));
}

TEST(SystemLauncher, PassesArgumentsAsTheyAreAndRunsInTheWorkingFolder) {
  TemporaryFolder folder;
  // A quote or a semicolon in an argument reaches the program unchanged.
  const QString argument = QStringLiteral("L=C:\\A B\\X.TXT'; rm -rf x");
  EXPECT_EQ(ProcessLauncher::Default().Run(QStringLiteral("/bin/sh"),
                                           {u"-c"_qs, u"printf '%s' \"$1\" > salida.txt"_qs, u"sh"_qs, argument},
                                           folder.Path()),
            0);
  QFile output(folder.File("salida.txt"));
  ASSERT_TRUE(output.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(output.readAll()), argument);
}
