#include "platform/ProcessLauncher.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <QFile>

#include <gtest/gtest.h>

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
