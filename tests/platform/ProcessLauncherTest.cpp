#include "platform/ProcessLauncher.h"

#include <QDir>

#include <gtest/gtest.h>

// The input reaches the program; what it writes, on either channel, comes back.
TEST(ProcessLauncherPiped, TheProgramReadsTheInputAndItsOutputAndExitCodeComeBack) {
  const struct {
    const char* program;
    QStringList arguments;
    QByteArray input;
    std::optional<int> exitCode;
    QByteArray output;
  } cases[] = {
      {"cat", {}, "0 1 * * * tarea\n", 0, "0 1 * * * tarea\n"},
      {"sh", {"-c", "cat >/dev/null; echo no crontab for ana >&2; exit 1"}, "x", 1, "no crontab for ana\n"},
      {"no-such-program-here", {}, "x", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    QByteArray output;
    EXPECT_EQ(ProcessLauncher::Default().RunPiped(QLatin1String(c.program), c.arguments, QDir::tempPath(), c.input, output),
              c.exitCode)
        << c.program;
    EXPECT_EQ(output, c.output) << c.program;
  }
}
