#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

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
