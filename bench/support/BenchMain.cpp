#include "bench/support/FreshProcess.h"
#include "platform/Application.h"

#include <benchmark/benchmark.h>

// The benchmarks run inside the program's application object, off screen.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Application application(argc, argv);
  const QStringList arguments = application.arguments();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const int result = FreshProcess::IsOne(arguments) ? FreshProcess::RunOne() : FreshProcess::RunEach(arguments);
  benchmark::Shutdown();
  return result;
}
